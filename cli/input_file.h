#pragma once
// Reads a scenario file before it is parsed, and refuses what is no scenario:
// a directory or a device (unread), a FIFO that no one writes into, a file
// that cannot be read, text that is not UTF-8 (a binary file), a file too
// large to be one, and a file without a single step (empty, or only
// comments and blank lines). A byte-order mark at the start is left out.

#include <string>

// A name as it may be shown (on a terminal, in a report): bytes that are no
// UTF-8, and control characters, written as \xHH ("\xff\xfe.scn").
std::string printable_name(const std::string& name);

class CInputFile {
public:
    // The largest scenario read; anything longer is refused unread.
    static constexpr size_t MAX_BYTES = 4 * 1024 * 1024;

    // False with the reason (and the line, where one is at fault).
    bool Read(const std::string& path);
    // The same checks on text already read.
    bool Check(const std::string& text);

    const std::string& Text() const { return m_text; }
    int ErrorLine() const { return m_errorLine; }
    const std::string& ErrorReason() const { return m_errorReason; }
    // "FILE:LINE: reason", or "FILE: reason" when no line is at fault.
    std::string ErrorMessage(const std::string& path) const;

private:
    bool Fail(int line, std::string reason);
    bool ReadAll(int fd);

    std::string m_text;
    int m_errorLine = 0;
    std::string m_errorReason;
};
