#pragma once
// The words of one scenario line, taken from the front by the readers of
// steps and conditions. A line that is not understood throws CLineError
// with the reason, which the parser reports with the line's number.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct CLineError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct CToken {
    std::string text;
    bool quoted;
};

// Splits a line into words and "quoted texts"; a '#' that starts a word starts a comment.
std::vector<CToken> scenario_tokenize(const std::string& line);
// "a, b or c": the valid names an error lists.
std::string scenario_known_names(const std::vector<std::string>& names);
std::vector<std::string> scenario_names(const char* const* names, int count);
// The row of `name` among `names`; an unknown name throws
// "unknown WHAT 'name' (the valid names)".
int32_t scenario_named(const std::vector<std::string>& names, const std::string& name, const char* what);

class CLineWords {
public:
    static constexpr int64_t MAX_MS = 1'000'000'000;

    // `usage` is named when an argument is missing.
    CLineWords(std::vector<CToken> tokens, std::string usage) : m_tokens(std::move(tokens)), m_usage(std::move(usage))
    {
    }

    bool Empty() const { return m_next >= m_tokens.size(); }
    size_t Left() const { return m_tokens.size() - m_next; }
    bool PeekIsWord(const char* word) const;
    bool PeekIsNumber() const;
    // Whether `word` stands, unquoted, among the words not taken yet.
    bool HasWord(const char* word) const;

    std::string Word();
    // A quoted text, or the rest of the line's words joined by single spaces.
    std::string Text();
    int64_t Number(int64_t min, int64_t max);
    // N or N..M, each from min to max.
    void Range(int64_t min, int64_t max, int64_t& low, int64_t& high);
    // The next word, which must be `word`.
    void Expect(const char* word);
    // Refuses whatever is left.
    void End();
    // Removes a trailing "WORD N" and returns N, or `otherwise` without it.
    uint64_t TakeTrailing(const char* word, uint64_t otherwise);

private:
    std::vector<CToken> m_tokens;
    std::string m_usage;
    size_t m_next = 0;
};
