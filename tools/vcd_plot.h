#pragma once
// Draws variables of a value-change dump as a waveform picture: one row per
// variable, bits as logic traces, state_number as a bus labelled with the
// state names, other numbers as step plots; a time axis in seconds below.

#include <QImage>
#include <string>
#include <vector>

#include "trace/vcd_reader.h"

class CVcdPlot {
public:
    static constexpr int LABEL_WIDTH = 130;
    static constexpr int BIT_ROW = 20;
    static constexpr int BUS_ROW = 26;
    static constexpr int NUMBER_ROW = 46;

    explicit CVcdPlot(const CVcdReader& dump) : m_dump(dump) {}

    // The named variables, or, with none named, every one that changes
    // (state_number first), across `width` pixels.
    QImage Render(const std::vector<std::string>& names, int width, const std::string& title) const;

    // The time axis: ticks a round step apart (1, 2 or 5 times a power of
    // ten in ms, s, min or h), at least MIN_TICK_PIXELS apart across `pixels`.
    static constexpr int MIN_TICK_PIXELS = 70;
    static uint64_t TickStep(uint64_t endMs, int pixels);
    // A tick's label in the unit of the step: "250 ms", "40 s", "15 min", "3 h".
    static std::string TickLabel(uint64_t ms, uint64_t stepMs);

private:
    std::vector<const CVcdReader::CVariable*> Rows(const std::vector<std::string>& names) const;
    static int RowHeight(const CVcdReader::CVariable& var);

    const CVcdReader& m_dump;
};
