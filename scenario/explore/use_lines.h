#pragma once
// A use of the panel is a list of step lines; as text, each ends in "\n".

#include <string>
#include <vector>

class CUseLines {
public:
    static std::string Join(const std::vector<std::string>& lines);
    static std::vector<std::string> Split(const std::string& text);
};
