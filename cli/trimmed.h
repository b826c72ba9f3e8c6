#pragma once
// A line of a text file as our readers take it: without the blanks and the
// carriage return around it.

#include <string>

inline std::string trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    const size_t last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}
