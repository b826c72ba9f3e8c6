#pragma once
// Names that differ between two traces, paired: "A=B" holds the variable A of
// the first trace against the variable B of the second, each by its name or
// full name. Given one by one, or as a file of such lines, where blank lines
// and lines that begin with '#' are skipped. Standard C++ only.

#include <string>
#include <utility>
#include <vector>

class CNameMap {
public:
    // "A=B"; false with the reason.
    bool Add(const std::string& pair, std::string& error);
    // A file of pairs; false with "FILE:LINE: reason" or "FILE: reason".
    bool ReadFile(const std::string& path, std::string& error);

    const std::vector<std::pair<std::string, std::string>>& Pairs() const { return m_pairs; }
    bool Empty() const { return m_pairs.empty(); }
    // The second trace's name for a variable of the first, by its name or full name; null when unpaired.
    const std::string* Partner(const std::string& key, const std::string& full) const;

private:
    std::vector<std::pair<std::string, std::string>> m_pairs;
};
