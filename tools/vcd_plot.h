#pragma once
// Draws variables of a value-change dump as a waveform picture: one row per
// variable, bits as logic traces, state_number as a bus labelled with the
// state names, other numbers as step plots; a time axis in seconds below.

#include <QImage>
#include <string>
#include <vector>

#include "tools/vcd_reader.h"

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

private:
    std::vector<const CVcdReader::CVariable*> Rows(const std::vector<std::string>& names) const;
    static int RowHeight(const CVcdReader::CVariable& var);

    const CVcdReader& m_dump;
};
