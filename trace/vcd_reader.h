#pragma once
// Reads back a value-change dump: the declared variables with their scopes
// and widths, and each variable's changes in time order. Enough for the
// dumps this project writes and for drawing and comparing them; x and z
// read as 0, reals as their whole part (a negative one as its two's
// complement, see Text). Standard C++ only.
//
// A file is read safely: anything but a regular file (a directory, a FIFO,
// a device) is refused unread, and so is one over MAX_BYTES; a byte that is
// no text (a binary file) or a line that does not read is refused with its
// line, as "LINE: reason".

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class CVcdReader {
public:
    // The largest dump read; its changes are held in memory, 16 bytes each.
    static constexpr uint64_t MAX_BYTES = uint64_t{2} << 30;

    struct CVariable {
        std::string scope;  // "trelvik.ports"
        std::string name;   // "RED_LED"
        int width = 1;
        bool real = false;  // a real variable; its values are kept as whole numbers
        std::string id;
        std::vector<std::pair<uint64_t, uint64_t>> changes;  // (time, value), the first at time 0
    };

    // False with the reason: "LINE: reason" for a line at fault, else the
    // reason alone (the system's, for a file that cannot be read).
    bool Parse(std::string_view text, std::string& error);
    // The same for a file, the reason as "FILE:LINE: reason" or "FILE: reason".
    bool ParseFile(const std::string& path, std::string& error);

    const std::vector<CVariable>& Variables() const { return m_vars; }
    // By its name ("RED_LED") or its full name ("trelvik.ports.RED_LED"); null when none.
    const CVariable* Find(const std::string& name) const;
    // The value the variable holds at that time (0 before its first change).
    static uint64_t ValueAt(const CVariable& var, uint64_t timeMs);
    // A value as the dump wrote it: a real's with its sign ("-3"), others as unsigned numbers.
    static std::string Text(const CVariable& var, uint64_t value);
    const std::string& Timescale() const { return m_timescale; }
    uint64_t EndTime() const { return m_endTime; }  // the last time stamp

private:
    class CWords;

    bool Declaration(CWords& words, std::string_view keyword, std::vector<std::string>& scopes, std::string& error);
    bool Change(CWords& words, std::string_view word, uint64_t now, std::string& error);

    std::vector<CVariable> m_vars;
    std::unordered_map<std::string, std::vector<size_t>> m_byId;  // an identifier may stand for several variables
    std::string m_timescale;
    uint64_t m_endTime = 0;
};
