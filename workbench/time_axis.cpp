#include "workbench/time_axis.h"

#include <cstdio>

// 1-2-5 up to seconds; from there on the steps a clock reads: 10, 20, 30 s, whole minutes.
uint64_t CTimeAxis::TickStep(double spanMs, int widthPx, int minGapPx)
{
    static const uint64_t STEPS[] = {1,     2,     5,     10,     20,     50,     100,     200,     500,
                                     1000,  2000,  5000,  10000,  20000,  30000,  60000,   120000,  300000,
                                     600000, 1200000, 1800000, 3600000};
    const double wanted = widthPx > 0 ? spanMs * minGapPx / widthPx : 1e18;
    for (uint64_t step : STEPS)
        if (static_cast<double>(step) >= wanted)
            return step;
    return STEPS[sizeof STEPS / sizeof STEPS[0] - 1];
}

std::string CTimeAxis::Label(uint64_t timeMs, uint64_t stepMs)
{
    const unsigned long long minutes = timeMs / 60000;
    const unsigned long long seconds = timeMs / 1000 % 60;
    const unsigned long long millis = timeMs % 1000;
    char text[32];
    if (stepMs % 1000 == 0)
        std::snprintf(text, sizeof text, "%llu:%02llu", minutes, seconds);
    else if (stepMs % 100 == 0)
        std::snprintf(text, sizeof text, "%llu:%02llu.%01llu", minutes, seconds, millis / 100);
    else if (stepMs % 10 == 0)
        std::snprintf(text, sizeof text, "%llu:%02llu.%02llu", minutes, seconds, millis / 10);
    else
        std::snprintf(text, sizeof text, "%llu:%02llu.%03llu", minutes, seconds, millis);
    return text;
}

std::string CTimeAxis::SignedLabel(int64_t timeMs, uint64_t stepMs)
{
    if (timeMs >= 0)
        return Label(static_cast<uint64_t>(timeMs), stepMs);
    return "-" + Label(static_cast<uint64_t>(-timeMs), stepMs);
}

std::string CTimeAxis::SpanText(double spanMs)
{
    char text[32];
    if (spanMs >= 120000)
        std::snprintf(text, sizeof text, "%.0f min", spanMs / 60000);
    else if (spanMs >= 1000)
        std::snprintf(text, sizeof text, "%.3g s", spanMs / 1000);
    else
        std::snprintf(text, sizeof text, "%.3g ms", spanMs);
    return text;
}
