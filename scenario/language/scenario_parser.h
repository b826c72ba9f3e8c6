#pragma once
// Reads a scenario: plain text, one step per line, '#' to the end of the line
// a comment. The whole text is read before anything runs; the first line
// that is not understood stops the reading with its line number and reason.

#include <string>
#include <vector>

#include "scenario/language/scenario_step.h"

class CScenarioParser {
public:
    // False, with the error, at the first line not understood.
    bool Parse(const std::string& text);
    // The same for a file. A file that is no scenario (a directory, a file that
    // cannot be read, not UTF-8 text, without a single step) is an error of
    // the file, at the line of its first bad byte or at line 0.
    bool ParseFile(const std::string& path);

    const std::vector<CScenarioStep>& Steps() const { return m_steps; }
    int ErrorLine() const { return m_errorLine; }
    const std::string& ErrorReason() const { return m_errorReason; }
    // "file:line: reason" ("file: reason" for an unreadable file).
    std::string ErrorMessage(const std::string& fileName) const;

private:
    std::vector<CScenarioStep> m_steps;
    int m_errorLine = 0;
    std::string m_errorReason;
};
