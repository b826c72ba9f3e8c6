#include "tools/vcd_reader.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <sstream>

namespace {

std::string joined(const std::vector<std::string>& scopes)
{
    std::string path;
    for (const std::string& scope : scopes)
        path += (path.empty() ? "" : ".") + scope;
    return path;
}

// The whole word as a number: "3=" or "4\xFF" is no time stamp and no width.
bool whole_number(const std::string& word, uint64_t& value)
{
    const char* end = word.data() + word.size();
    const auto [stop, failure] = std::from_chars(word.data(), end, value);
    return failure == std::errc() && stop == end;
}

uint64_t binary_value(const std::string& bits)
{
    uint64_t value = 0;
    for (char c : bits)
        value = (value << 1) | (c == '1' ? 1u : 0u);
    return value;
}

// A real's whole part; below 0 (and NaN) reads as 0, beyond the largest
// whole number as that number, which a cast would leave undefined.
uint64_t real_value(double real)
{
    constexpr double LIMIT = 18446744073709551616.0;  // 2^64
    if (!(real > 0))
        return 0;
    return real >= LIMIT ? std::numeric_limits<uint64_t>::max() : static_cast<uint64_t>(real);
}

}  // namespace

bool CVcdReader::ParseFile(const std::string& path, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = std::string("cannot read: ") + std::strerror(errno);
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return Parse(text.str(), error);
}

CVcdReader::CVariable* CVcdReader::ById(const std::string& id)
{
    for (CVariable& var : m_vars)
        if (var.id == id)
            return &var;
    return nullptr;
}

// One "$keyword ... $end" of the header, starting at words[i].
bool CVcdReader::Declaration(const std::vector<std::string>& words, size_t& i, std::vector<std::string>& scopes,
                             std::string& error)
{
    const std::string keyword = words[i++];
    std::vector<std::string> body;
    while (i < words.size() && words[i] != "$end")
        body.push_back(words[i++]);
    if (i >= words.size()) {
        error = keyword + " without $end";
        return false;
    }
    ++i;
    if (keyword == "$scope" && body.size() >= 2) {
        scopes.push_back(body[1]);
    } else if (keyword == "$upscope") {
        if (!scopes.empty())
            scopes.pop_back();
    } else if (keyword == "$timescale") {
        for (const std::string& part : body)
            m_timescale += part;  // "1 ms" and "1ms" alike
    } else if (keyword == "$var") {
        if (body.size() < 4) {
            error = "short $var";
            return false;
        }
        CVariable var;
        var.real = body[0] == "real";
        uint64_t width = 0;
        if (!whole_number(body[1], width) || width == 0 || width > static_cast<uint64_t>(std::numeric_limits<int>::max())) {
            error = "bad width '" + body[1] + "'";
            return false;
        }
        var.width = static_cast<int>(width);
        var.id = body[2];
        var.name = body[3];
        var.scope = joined(scopes);
        m_vars.push_back(std::move(var));
    }
    return true;
}

bool CVcdReader::Parse(const std::string& text, std::string& error)
{
    try {
        return ParseWords(text, error);
    } catch (const std::exception&) {  // a number that does not read
        error = "bad number";
        return false;
    }
}

bool CVcdReader::ParseWords(const std::string& text, std::string& error)
{
    m_vars.clear();
    m_timescale.clear();
    m_endTime = 0;
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);

    std::vector<std::string> scopes;
    size_t i = 0;
    bool definitions = true;
    uint64_t now = 0;
    while (i < words.size()) {
        const std::string& word = words[i];
        if (definitions) {
            if (word == "$enddefinitions") {
                definitions = false;
                i += 2;
            } else if (word[0] == '$') {
                if (!Declaration(words, i, scopes, error))
                    return false;
            } else {
                error = "unexpected '" + word + "' among the declarations";
                return false;
            }
            continue;
        }
        ++i;
        if (word == "$dumpvars" || word == "$end" || word == "$dumpall" || word == "$dumpon" || word == "$dumpoff")
            continue;
        std::string id;
        uint64_t value = 0;
        if (word[0] == '#') {
            uint64_t time = 0;
            if (!whole_number(word.substr(1), time)) {
                error = "bad time stamp '" + word + "'";
                return false;
            }
            if (time < now) {  // ValueAt and the plot rely on changes in time order
                error = "time stamp '" + word + "' goes back from #" + std::to_string(now);
                return false;
            }
            now = m_endTime = time;
            continue;
        } else if (word[0] == 'b' || word[0] == 'B') {
            if (i >= words.size()) {
                error = "vector value without identifier";
                return false;
            }
            value = binary_value(word.substr(1));
            id = words[i++];
        } else if (word[0] == 'r' || word[0] == 'R') {
            if (i >= words.size()) {
                error = "real value without identifier";
                return false;
            }
            const double real = std::stod(word.substr(1));
            value = real_value(real);
            id = words[i++];
        } else {
            value = word[0] == '1' ? 1 : 0;
            id = word.substr(1);
        }
        CVariable* var = ById(id);
        if (!var) {
            error = "change of undeclared identifier '" + id + "'";
            return false;
        }
        if (!var->changes.empty() && var->changes.back().first == now)
            var->changes.back().second = value;
        else
            var->changes.emplace_back(now, value);
    }
    if (definitions) {
        error = "no $enddefinitions";
        return false;
    }
    return true;
}

const CVcdReader::CVariable* CVcdReader::Find(const std::string& name) const
{
    for (const CVariable& var : m_vars)
        if (var.name == name || var.scope + "." + var.name == name)
            return &var;
    return nullptr;
}

uint64_t CVcdReader::ValueAt(const CVariable& var, uint64_t timeMs)
{
    uint64_t value = 0;
    for (const auto& [time, changed] : var.changes) {
        if (time > timeMs)
            break;
        value = changed;
    }
    return value;
}
