#include "cli/input_file.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/utf8.h"

namespace {

constexpr char HEX[] = "0123456789abcdef";

// What is never read as a scenario: "a directory", "a device"; null for the rest.
const char* unreadable_kind(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a directory";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return nullptr;
}

bool is_control(unsigned char c) { return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F; }

}  // namespace

std::string printable_name(const std::string& name)
{
    std::string shown;
    for (size_t i = 0; i < name.size();) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        const size_t length = utf8_length(name, i);
        if (length == 0 || c < 0x20 || c == 0x7F) {
            shown += std::string("\\x") + HEX[c >> 4] + HEX[c & 15];
            ++i;
            continue;
        }
        shown.append(name, i, length);
        i += length;
    }
    return shown;
}

bool CInputFile::Fail(int line, std::string reason)
{
    m_errorLine = line;
    m_errorReason = std::move(reason);
    return false;
}

// Directories and devices are refused unread. A FIFO is opened without
// blocking: one with no writer is refused rather than waited on for ever,
// and one with a writer (a pipe, "<(gen)", /dev/stdin) is then read whole.
bool CInputFile::Read(const std::string& path)
{
    m_text.clear();
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        return Fail(0, std::strerror(errno));
    if (const char* kind = unreadable_kind(st.st_mode))
        return Fail(0, std::string("is ") + kind + ", not a scenario file");
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return Fail(0, std::strerror(errno));
    const bool ok = ReadAll(fd);
    close(fd);
    return ok && Check(m_text);
}

bool CInputFile::ReadAll(int fd)
{
    struct stat st {};
    if (fstat(fd, &st) != 0)
        return Fail(0, std::strerror(errno));
    if (const char* kind = unreadable_kind(st.st_mode))  // changed since it was looked at
        return Fail(0, std::string("is ") + kind + ", not a scenario file");
    if (S_ISFIFO(st.st_mode)) {
        char first = 0;
        ssize_t n = read(fd, &first, 1);
        while (n < 0 && errno == EINTR)
            n = read(fd, &first, 1);
        if (n == 0)
            return Fail(0, "a FIFO with no writer, not read");
        if (n < 0 && errno != EAGAIN)
            return Fail(0, std::strerror(errno));
        m_text.assign(&first, n > 0 ? 1 : 0);
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);  // a writer is there: wait for its lines
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Fail(0, std::strerror(errno));
        if (n == 0)
            return true;
        m_text.append(buffer, static_cast<size_t>(n));
        if (m_text.size() > MAX_BYTES)
            return Fail(0, "larger than " + std::to_string(MAX_BYTES / (1024 * 1024)) + " MB, not a scenario file");
    }
}

bool CInputFile::Check(const std::string& text)
{
    if (&text != &m_text)
        m_text = text;
    m_errorLine = 0;
    m_errorReason.clear();
    if (m_text.rfind("\xEF\xBB\xBF", 0) == 0)
        m_text.erase(0, 3);
    int line = 1;
    bool step = false;      // a line with more than blanks and a comment
    bool lineOpen = false;  // something but blanks seen on this line
    for (size_t i = 0; i < m_text.size();) {
        const unsigned char c = static_cast<unsigned char>(m_text[i]);
        const size_t length = utf8_length(m_text, i);
        if (length == 0)
            return Fail(line, "not UTF-8 text (byte 0x" + std::string(1, HEX[c >> 4]) + HEX[c & 15] + ")");
        if (is_control(c))
            return Fail(line, "not text (control byte 0x" + std::string(1, HEX[c >> 4]) + HEX[c & 15] + ")");
        if (c == '\r' && i + 1 < m_text.size() && m_text[i + 1] != '\n')
            return Fail(line, "a carriage return alone ends a line: the line endings must be LF or CR LF");
        if (c == '\n') {
            ++line;
            lineOpen = false;
        } else if (c != ' ' && c != '\t' && c != '\r' && !lineOpen) {
            lineOpen = true;
            step |= c != '#';
        }
        i += length;
    }
    if (!step)
        return Fail(0, m_text.empty() ? "empty: no step to run" : "no step to run (only comments and blank lines)");
    return true;
}

std::string CInputFile::ErrorMessage(const std::string& path) const
{
    return m_errorLine > 0 ? path + ":" + std::to_string(m_errorLine) + ": " + m_errorReason
                           : path + ": " + m_errorReason;
}
