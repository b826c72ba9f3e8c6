#include "workbench/model/time_axis.h"

#include <cstdio>

#include "trace/time_ladder.h"

// Ticks as dense as the labels allow, on the shared ladder.
uint64_t CTimeAxis::TickStep(double spanMs, int widthPx, int minGapPx)
{
    return time_ladder_step(widthPx > 0 ? spanMs * minGapPx / widthPx : 1e18);
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

std::string CTimeAxis::Duration(uint64_t ms)
{
    if (ms < 1000)
        return std::to_string(ms) + " ms";
    if (ms < 60000) {
        char text[32];
        std::snprintf(text, sizeof text, "%llu.%03llu s", static_cast<unsigned long long>(ms / 1000),
                      static_cast<unsigned long long>(ms % 1000));
        return text;
    }
    return Label(ms, 1);
}
