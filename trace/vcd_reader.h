#pragma once
// Reads back a value-change dump: the declared variables with their scopes
// and widths, and each variable's changes in time order, held as
// trace/vcd_value.h says (four-state bits, reals as reals). A bit- or
// part-select belongs to the name ("data[1]", "data[7:0]"). Text before
// $enddefinitions outside any section (a writer's own lines) is skipped
// with one warning. Times are held in the dump's ticks, or converted to a
// unit asked for, exactly: a time that would overflow, or that falls
// between two ticks of a coarser unit, is refused with its line.
// Standard C++ only.
//
// A file is read safely: anything but a regular file (a directory, a FIFO,
// a device) is refused unread, and so is one over MAX_BYTES; a byte that is
// no text (a binary file) or a line that does not read is refused with its
// line, as "LINE: reason".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "trace/vcd_timescale.h"
#include "trace/vcd_value.h"

class CVcdReader {
public:
    // The largest dump read; its changes are held in memory, 16 bytes each.
    static constexpr uint64_t MAX_BYTES = uint64_t{2} << 30;

    struct CVariable {
        std::string scope;  // "trelvik.ports"
        std::string name;   // "RED_LED"
        int width = 1;
        bool real = false;  // a real variable
        std::string id;
        std::vector<std::pair<uint64_t, uint64_t>> changes;  // (time, value), the first at time 0
        CVcdValues values;                                   // how the values are held
    };

    // Times are then held in this named unit (-3 ms, -12 ps), not in the dump's ticks.
    void ConvertTo(int unitExponent) { m_convertTo = unitExponent; }
    // The $timescale of a dump's text, read ahead of Parse; ms when it has none.
    static bool TimescaleOf(std::string_view text, CTimescale& scale);

    // False with the reason: "LINE: reason" for a line at fault, else the
    // reason alone (the system's, for a file that cannot be read).
    bool Parse(std::string_view text, std::string& error);
    // The same for a file, the reason as "FILE:LINE: reason" or "FILE: reason".
    bool ParseFile(const std::string& path, std::string& error);
    // A file's whole text, read as safely; the reason as "FILE: reason".
    static bool ReadFile(const std::string& path, std::string& text, std::string& error);

    const std::vector<CVariable>& Variables() const { return m_vars; }
    // By its name ("RED_LED") or its full name ("trelvik.ports.RED_LED"); null when none.
    const CVariable* Find(const std::string& name) const;
    // The value the variable holds at that time (0 before its first change).
    static uint64_t ValueAt(const CVariable& var, uint64_t timeMs);
    // A value as text: a real's with its sign ("-3", "0.25"), bits as unsigned numbers or their digits ("1x0z").
    static std::string Text(const CVariable& var, uint64_t value);
    const std::string& Timescale() const { return m_timescale; }
    const CTimescale& Scale() const { return m_scale; }
    // What was skipped, as "LINE: reason".
    const std::vector<std::string>& Warnings() const { return m_warnings; }
    uint64_t EndTime() const { return m_endTime; }  // the last time stamp

private:
    class CWords;

    bool Declaration(CWords& words, std::string_view keyword, std::vector<std::string>& scopes, std::string& error);
    bool Change(CWords& words, std::string_view word, uint64_t now, std::string& error);
    bool Time(CWords& words, std::string_view word, std::string& error);
    bool StartChanges(CWords& words, std::string& error);

    std::vector<CVariable> m_vars;
    std::unordered_map<std::string, std::vector<size_t>> m_byId;  // an identifier may stand for several variables
    std::string m_timescale;
    CTimescale m_scale;
    std::optional<int> m_convertTo;
    uint64_t m_multiplier = 1, m_divisor = 1;  // a tick of the dump in the unit converted to
    uint64_t m_endTime = 0;
    std::vector<std::string> m_warnings;
};
