#pragma once
// A command line split the way our programs all read it: options by name,
// each given once unless it may be repeated, a value after the option or
// joined with '=' ("--vcd=cycle.vcd") or to a short name ("-j2"), "--" ending the options, and every
// other word an operand, in order. What is not understood is refused with
// one line of reason, before the program does anything.

#include <cstdint>
#include <string>
#include <vector>

struct COptionSpec {
    const char* name;  // "--junit"
    bool takesValue = false;
    bool repeatable = false;
    const char* alias = nullptr;  // "-h" for "--help"
};

class COptionReader {
public:
    struct COption {
        std::string name;  // the spec's name, also when given by its alias
        std::string value;
    };

    explicit COptionReader(std::vector<COptionSpec> specs) : m_specs(std::move(specs)) {}

    // False with Error() at the first word not understood.
    bool Read(int argc, const char* const* argv);

    const std::vector<COption>& Options() const { return m_options; }
    const std::vector<std::string>& Operands() const { return m_operands; }
    const std::string& Error() const { return m_error; }

    // A whole number written in full, such as a count or a seed.
    static bool ToNumber(const std::string& text, uint64_t& value);

private:
    const COptionSpec* Find(const std::string& word) const;
    bool Fail(std::string reason);
    std::string Valid() const;
    std::string Repeatable() const;

    std::vector<COptionSpec> m_specs;
    std::vector<COption> m_options;
    std::vector<std::string> m_operands;
    std::string m_error;
};
