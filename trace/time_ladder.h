#pragma once
// The round steps a time axis ticks at, in whole virtual ms: 1, 2, 5 up to
// seconds; then the steps a clock reads (10, 15, 20, 30 s; 1, 2, 5, 10, 15,
// 20, 30 min; 1, 2, 3, 6, 12 h), then whole days. The trace view and the
// plotter both take their ticks from here and label them each in its way.

#include <cstdint>

inline constexpr uint64_t TIME_LADDER[] = {1,       2,        5,        10,       20,      50,      100,     200,
                                           500,     1000,     2000,     5000,     10000,   15000,   20000,   30000,
                                           60000,   120000,   300000,   600000,   900000,  1200000, 1800000, 3600000,
                                           7200000, 10800000, 21600000, 43200000, 86400000};

// The smallest step of at least minMs (and at least 1 ms).
inline uint64_t time_ladder_step(double minMs)
{
    for (uint64_t step : TIME_LADDER)
        if (static_cast<double>(step) >= minMs)
            return step;
    constexpr uint64_t DAY = 86400000;
    const double days = minMs / static_cast<double>(DAY);
    const uint64_t whole = static_cast<uint64_t>(days);
    return (whole + (static_cast<double>(whole) < days ? 1 : 0)) * DAY;
}
