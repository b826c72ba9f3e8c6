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
//
// Or a dump is read forward (Open, then ReadOn): a file or a pipe ("-" for
// stdin), of any size, its declarations first, then its changes a stretch
// at a time; the reader of the changes takes them out of the variables as
// it goes (CVariable::changes), so that only a stretch is held.

#include <array>
#include <cstdint>
#include <memory>
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

    // Times are then held in this named unit (-3 ms, -12 ps), not in the dump's ticks;
    // for a stream, asked before its changes are read.
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

    // A file or a pipe ("-": stdin) opened and its declarations read; false
    // with the reason as "FILE:LINE: reason" or "FILE: reason".
    // `buffer`: the bytes read from it at a time.
    bool Open(const std::string& path, std::string& error, size_t buffer = size_t{1} << 20);
    // About `bytes` more of an opened dump's changes read, added to its
    // variables' changes; a change at Now() may still be replaced until
    // Ended(). False with the reason, as Open says.
    bool ReadOn(uint64_t bytes, std::string& error);
    bool Ended() const { return m_ended; }
    uint64_t Now() const { return m_endTime; }  // the last time stamp read

    const std::vector<CVariable>& Variables() const { return m_vars; }
    std::vector<CVariable>& Variables() { return m_vars; }
    // By its name ("RED_LED") or its full name ("trelvik.ports.RED_LED"); null when none.
    const CVariable* Find(const std::string& name) const;
    // The value the variable holds at that time (0 before its first change).
    static uint64_t ValueAt(const CVariable& var, uint64_t timeMs);
    // Whether the variable is traced at that time: from its first change on,
    // which is its join time (not x before it: not traced).
    static bool Traced(const CVariable& var, uint64_t time)
    {
        return !var.changes.empty() && var.changes.front().first <= time;
    }
    // A value as text: a real's with its sign ("-3", "0.25"), bits as unsigned numbers or their digits ("1x0z").
    static std::string Text(const CVariable& var, uint64_t value);
    const std::string& Timescale() const { return m_timescale; }
    const CTimescale& Scale() const { return m_scale; }
    // The header's $comment sections, each's words joined by one space.
    const std::vector<std::string>& Comments() const { return m_comments; }
    // What was skipped, as "LINE: reason".
    const std::vector<std::string>& Warnings() const { return m_warnings; }
    uint64_t EndTime() const { return m_endTime; }  // the last time stamp

private:
    class CWords;
    struct CStream;

    void Clear();
    bool Header(CWords& words, std::string& error);
    void BeginChanges();
    bool Body(CWords& words, uint64_t bytes, std::string& error);
    bool Declaration(CWords& words, std::string_view keyword, std::vector<std::string>& scopes, std::string& error);
    bool Change(CWords& words, std::string_view word, uint64_t now, std::string& error);
    bool Time(CWords& words, std::string_view word, std::string& error);
    bool StartChanges(CWords& words, std::string& error);

    std::vector<CVariable> m_vars;
    std::unordered_map<std::string, std::vector<size_t>> m_byId;  // an identifier may stand for several variables
    std::array<std::vector<size_t>, 128> m_byChar;                // the same, for those of one character
    std::string m_timescale;
    CTimescale m_scale;
    std::optional<int> m_convertTo;
    uint64_t m_multiplier = 1, m_divisor = 1;  // a tick of the dump in the unit converted to
    uint64_t m_endTime = 0;
    std::vector<std::string> m_warnings;
    std::vector<std::string> m_comments;
    bool m_begun = false, m_ended = false;
    std::shared_ptr<CStream> m_stream;  // while read forward
    std::string m_path;
};
