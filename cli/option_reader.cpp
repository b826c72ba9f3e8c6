#include "cli/option_reader.h"

#include <charconv>
#include <set>

bool COptionReader::ToNumber(const std::string& text, uint64_t& value)
{
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end;
}

const COptionSpec* COptionReader::Find(const std::string& word) const
{
    for (const COptionSpec& spec : m_specs)
        if (word == spec.name || (spec.alias && word == spec.alias))
            return &spec;
    return nullptr;
}

bool COptionReader::Fail(std::string reason)
{
    m_error = std::move(reason);
    return false;
}

std::string COptionReader::Valid() const
{
    std::string names;
    for (const COptionSpec& spec : m_specs)
        names += (names.empty() ? "" : ", ") + std::string(spec.name);
    return names;
}

std::string COptionReader::Repeatable() const
{
    std::string names;
    for (const COptionSpec& spec : m_specs)
        if (spec.repeatable)
            names += (names.empty() ? "" : ", ") + std::string(spec.name);
    return names.empty() ? "no option may be repeated" : "only " + names + " may be repeated";
}

bool COptionReader::Read(int argc, const char* const* argv)
{
    bool operandsOnly = false;
    std::set<std::string> seen;
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (operandsOnly || word.size() < 2 || word[0] != '-') {
            m_operands.push_back(word);
            continue;
        }
        if (word == "--") {
            operandsOnly = true;
            continue;
        }
        std::string value;
        const size_t equals = word.rfind("--", 0) == 0 ? word.find('=') : std::string::npos;
        bool joined = equals != std::string::npos;
        if (joined) {
            value = word.substr(equals + 1);
            word.resize(equals);
        }
        // "-j2": a short name with its value joined.
        const COptionSpec* shortSpec = word[1] != '-' && word.size() > 2 ? Find(word.substr(0, 2)) : nullptr;
        if (shortSpec && shortSpec->takesValue) {
            value = word.substr(2);
            word.resize(2);
            joined = true;
        }
        const COptionSpec* spec = Find(word);
        if (!spec)
            return Fail("unknown option '" + word + "' (valid: " + Valid() + ")");
        if (joined && !spec->takesValue)
            return Fail("option " + word + " takes no value");
        if (!joined && spec->takesValue) {
            if (i + 1 >= argc)
                return Fail("option " + word + " needs a value");
            value = argv[++i];
        }
        // "--vcd --quiet" forgot the name: "./--quiet" names such a file.
        if (spec->takesValue && (value.empty() || value.rfind("--", 0) == 0))
            return Fail("option " + word + " needs a value");
        // "--junit a.xml --junit b.xml" would silently keep the last.
        if (!spec->repeatable && !seen.insert(spec->name).second)
            return Fail("option " + std::string(spec->name) + " given twice (" + Repeatable() + ")");
        m_options.push_back(COption{spec->name, value});
    }
    return true;
}
