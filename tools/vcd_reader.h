#pragma once
// Reads back a value-change dump: the declared variables with their scopes
// and widths, and each variable's changes in time order. Enough for the
// dumps this project writes and for drawing them; x and z read as 0, reals
// as their whole part.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CVcdReader {
public:
    struct CVariable {
        std::string scope;  // "trelvik.ports"
        std::string name;   // "RED_LED"
        int width = 1;
        bool real = false;  // a real variable; its values are kept as whole numbers
        std::string id;
        std::vector<std::pair<uint64_t, uint64_t>> changes;  // (time, value), the first at time 0
    };

    bool Parse(const std::string& text, std::string& error);
    bool ParseFile(const std::string& path, std::string& error);

    const std::vector<CVariable>& Variables() const { return m_vars; }
    // By its name ("RED_LED") or its full name ("trelvik.ports.RED_LED"); null when none.
    const CVariable* Find(const std::string& name) const;
    // The value the variable holds at that time (0 before its first change).
    static uint64_t ValueAt(const CVariable& var, uint64_t timeMs);
    const std::string& Timescale() const { return m_timescale; }
    uint64_t EndTime() const { return m_endTime; }  // the last time stamp

private:
    bool ParseWords(const std::string& text, std::string& error);
    bool Declaration(const std::vector<std::string>& words, size_t& i, std::vector<std::string>& scopes,
                     std::string& error);
    CVariable* ById(const std::string& id);

    std::vector<CVariable> m_vars;
    std::string m_timescale;
    uint64_t m_endTime = 0;
};
