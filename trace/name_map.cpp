#include "trace/name_map.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "cli/trimmed.h"

bool CNameMap::Add(const std::string& pair, std::string& error)
{
    const size_t equals = pair.find('=');
    const std::string a = trimmed(pair.substr(0, equals));
    const std::string b = equals == std::string::npos ? "" : trimmed(pair.substr(equals + 1));
    if (a.empty() || b.empty() || b.find('=') != std::string::npos) {
        error = "not a pair of names, A=B: '" + pair + "'";
        return false;
    }
    for (const auto& [knownA, knownB] : m_pairs)
        if (knownA == a || knownB == b) {
            error = "'" + (knownA == a ? a : b) + "' is paired twice";
            return false;
        }
    m_pairs.emplace_back(a, b);
    return true;
}

bool CNameMap::ReadFile(const std::string& path, std::string& error)
{
    std::error_code code;
    if (std::filesystem::is_directory(path, code)) {
        error = path + ": is a directory, not a file of names";
        return false;
    }
    std::ifstream lines(path);
    if (!lines) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        line = trimmed(line);
        if (line.empty() || line[0] == '#')
            continue;
        if (!Add(line, error)) {
            error = path + ":" + std::to_string(number) + ": " + error;
            return false;
        }
    }
    return true;
}

const std::string* CNameMap::Partner(const std::string& key, const std::string& full) const
{
    const auto found = std::find_if(m_pairs.begin(), m_pairs.end(),
                                    [&](const auto& pair) { return pair.first == key || pair.first == full; });
    return found == m_pairs.end() ? nullptr : &found->second;
}
