#pragma once
// The trace's time axis: ticks on a 1-2-5 ladder of whole virtual ms, as
// dense as labels allow, each label as precise as its tick step needs:
// "1:05" for seconds, "1:05.2" for tenths, "1:05.237" for single ms.

#include <cstdint>
#include <string>

class CTimeAxis {
public:
    // The tick step in ms for `spanMs` across `widthPx`, so ticks stand at
    // least `minGapPx` apart; at least 1 ms.
    static uint64_t TickStep(double spanMs, int widthPx, int minGapPx);
    // The label of a tick at timeMs when the ticks are stepMs apart.
    static std::string Label(uint64_t timeMs, uint64_t stepMs);
    // The same for a tick that may lie before 0:00 ("-0:05").
    static std::string SignedLabel(int64_t timeMs, uint64_t stepMs);
    // A span for a caption: "10 s", "500 ms", "2 min".
    static std::string SpanText(double spanMs);
    // A measured time, exact to the ms: "250 ms", "1.655 s", "2:03.100".
    static std::string Duration(uint64_t ms);
};
