#include "scenario/language/line_words.h"

#include <cctype>
#include <charconv>

std::vector<CToken> scenario_tokenize(const std::string& line)
{
    std::vector<CToken> tokens;
    size_t i = 0;
    for (;;) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size() || line[i] == '#')
            return tokens;
        if (line[i] == '"') {
            const size_t end = line.find('"', i + 1);
            if (end == std::string::npos)
                throw CLineError("unterminated quote");
            tokens.push_back({line.substr(i + 1, end - i - 1), true});
            i = end + 1;
            continue;
        }
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        // A quote inside a word is a text whose opening quote was forgotten,
        // and a text holding one could not be written back between quotes.
        const std::string word = line.substr(start, i - start);
        if (word.find('"') != std::string::npos)
            throw CLineError("stray quote in '" + word + "'");
        tokens.push_back({word, false});
    }
}

std::string scenario_known_names(const std::vector<std::string>& names)
{
    std::string known;
    for (size_t i = 0; i < names.size(); ++i)
        known += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
    return known;
}

std::vector<std::string> scenario_names(const char* const* names, int count)
{
    return std::vector<std::string>(names, names + count);
}

int32_t scenario_named(const std::vector<std::string>& names, const std::string& name, const char* what)
{
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return static_cast<int32_t>(i);
    throw CLineError(std::string("unknown ") + what + " '" + name + "' (" + scenario_known_names(names) + ")");
}

bool CLineWords::PeekIsWord(const char* word) const
{
    return !Empty() && !m_tokens[m_next].quoted && m_tokens[m_next].text == word;
}

bool CLineWords::HasWord(const char* word) const
{
    for (size_t i = m_next; i < m_tokens.size(); ++i)
        if (!m_tokens[i].quoted && m_tokens[i].text == word)
            return true;
    return false;
}

bool CLineWords::PeekIsNumber() const
{
    if (Empty() || m_tokens[m_next].quoted || m_tokens[m_next].text.empty())
        return false;
    const char first = m_tokens[m_next].text[0];
    return isdigit(static_cast<unsigned char>(first)) || first == '-';
}

std::string CLineWords::Word()
{
    if (Empty())
        throw CLineError("missing argument: " + m_usage);
    return m_tokens[m_next++].text;
}

std::string CLineWords::Text()
{
    if (Empty())
        throw CLineError("missing argument: " + m_usage);
    if (m_tokens[m_next].quoted)
        return Word();
    std::string text = Word();
    while (!Empty() && !m_tokens[m_next].quoted)
        text += " " + Word();
    return text;
}

int64_t CLineWords::Number(int64_t min, int64_t max)
{
    const std::string word = Word();
    int64_t value = 0;
    const char* end = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data(), end, value);
    if (ec != std::errc() || ptr != end)
        throw CLineError("bad number '" + word + "'");
    if (value < min || value > max)
        throw CLineError("number " + word + " out of range " + std::to_string(min) + ".." + std::to_string(max));
    return value;
}

void CLineWords::Range(int64_t min, int64_t max, int64_t& low, int64_t& high)
{
    const std::string word = Word();
    const size_t dots = word.find("..");
    CLineWords bounds({{word.substr(0, dots), false}}, "");
    if (dots != std::string::npos)
        bounds.m_tokens.push_back({word.substr(dots + 2), false});
    low = bounds.Number(min, max);
    high = bounds.Empty() ? low : bounds.Number(min, max);
    if (high < low)
        throw CLineError("empty range '" + word + "'");
}

void CLineWords::Expect(const char* word)
{
    const std::string got = Word();
    if (got != word)
        throw CLineError("expected '" + std::string(word) + "', not '" + got + "'");
}

void CLineWords::End()
{
    if (!Empty())
        throw CLineError("unexpected '" + m_tokens[m_next].text + "' (" + m_usage + ")");
}

uint64_t CLineWords::TakeTrailing(const char* word, uint64_t otherwise)
{
    for (size_t i = m_next; i < m_tokens.size(); ++i) {
        if (m_tokens[i].quoted || m_tokens[i].text != word)
            continue;
        if (i + 2 < m_tokens.size())
            continue;  // not at the end of the line
        std::vector<CToken> tail(m_tokens.begin() + static_cast<std::ptrdiff_t>(i) + 1, m_tokens.end());
        m_tokens.resize(i);
        CLineWords rest(std::move(tail), std::string(word) + " MS");
        const uint64_t value = static_cast<uint64_t>(rest.Number(0, MAX_MS));
        rest.End();
        return value;
    }
    return otherwise;
}
