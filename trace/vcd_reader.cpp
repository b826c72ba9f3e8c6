#include "trace/vcd_reader.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/utf8.h"

// The words of the text one by one, with the line each starts on. A byte
// that is no UTF-8 text stops the words, so that a binary file is refused at
// its first such byte rather than read as words of garbage.
class CVcdReader::CWords {
public:
    explicit CWords(std::string_view text) : m_text(text) {}

    bool Next(std::string_view& word)
    {
        for (; m_pos < m_text.size() && Blank(m_text[m_pos]); m_pos++)
            m_line += m_text[m_pos] == '\n';
        m_wordLine = m_line;
        const size_t start = m_pos;
        while (m_pos < m_text.size() && !Blank(m_text[m_pos])) {
            const auto c = static_cast<unsigned char>(m_text[m_pos]);
            const size_t length = utf8_length(m_text, m_pos);
            if (c < 0x20 || c == 0x7F || length == 0) {
                constexpr char HEX[] = "0123456789abcdef";
                m_bad = std::string(length ? "not text (control byte 0x" : "not UTF-8 text (byte 0x") + HEX[c >> 4] +
                        HEX[c & 15] + ")";
                m_wordLine = m_line;
                return false;
            }
            m_pos += length;
        }
        word = m_text.substr(start, m_pos - start);
        return !word.empty();
    }
    // "LINE: reason" for the word last read, or for the line given.
    std::string At(const std::string& reason, uint64_t line = 0) const
    {
        return std::to_string(line ? line : m_wordLine) + ": " + reason;
    }
    uint64_t Line() const { return m_wordLine; }
    const std::string& Bad() const { return m_bad; }

private:
    static bool Blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

    std::string_view m_text;
    size_t m_pos = 0;
    uint64_t m_line = 1;
    uint64_t m_wordLine = 1;
    std::string m_bad;
};

namespace {

bool whole_number(std::string_view text, uint64_t& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

// Bits, most significant first; x, z and the like read as 0.
uint64_t binary_value(std::string_view bits)
{
    uint64_t value = 0;
    for (char c : bits)
        value = (value << 1) | (c == '1' ? 1u : 0u);
    return value;
}

// A real's whole part, a negative one as its two's complement.
bool real_value(std::string_view text, uint64_t& value)
{
    double real = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), real);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(real) || std::fabs(real) >= 0x1p63)
        return false;
    value = static_cast<uint64_t>(static_cast<int64_t>(real));
    return true;
}

std::string joined(const std::vector<std::string>& scopes)
{
    std::string path;
    for (const std::string& scope : scopes)
        path += (path.empty() ? "" : ".") + scope;
    return path;
}

// The whole of a regular file, or false with the reason.
bool read_regular_file(const std::string& path, std::string& text, std::string& error)
{
    // Not blocking: a FIFO with no writer would otherwise hang the open.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = S_ISDIR(st.st_mode) ? "is a directory, not a trace" : "not a regular file, not a trace";
        close(fd);
        return false;
    }
    if (static_cast<uint64_t>(st.st_size) > CVcdReader::MAX_BYTES) {
        error = "larger than " + std::to_string(CVcdReader::MAX_BYTES >> 30) + " GiB, too large a trace";
        close(fd);
        return false;
    }
    text.resize(static_cast<size_t>(st.st_size));
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = read(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {  // an error, or a file that shrank while read
            error = n < 0 ? std::strerror(errno) : "changed while read";
            close(fd);
            return false;
        }
        done += static_cast<size_t>(n);
    }
    close(fd);
    return true;
}

}  // namespace

bool CVcdReader::ParseFile(const std::string& path, std::string& error)
{
    bool read = false;
    try {
        std::string text;
        read = read_regular_file(path, text, error) && Parse(text, error);
    } catch (const std::bad_alloc&) {
        error = "too large to hold in memory";
        m_vars.clear();
        m_byId.clear();
    }
    if (!read)  // "FILE:LINE: reason", or "FILE: reason"
        error = path + ":" + (error[0] >= '0' && error[0] <= '9' ? "" : " ") + error;
    return read;
}

// One "$keyword ... $end" of the header; the keyword is read.
bool CVcdReader::Declaration(CWords& words, std::string_view keyword, std::vector<std::string>& scopes,
                             std::string& error)
{
    std::vector<std::string_view> body;
    std::string_view word;
    while (words.Next(word) && word != "$end")
        body.push_back(word);
    if (word != "$end") {
        error = words.Bad().empty() ? words.At(std::string(keyword) + " without $end") : words.At(words.Bad());
        return false;
    }
    if (keyword == "$scope" && body.size() >= 2) {
        scopes.emplace_back(body[1]);
    } else if (keyword == "$upscope") {
        if (!scopes.empty())
            scopes.pop_back();
    } else if (keyword == "$timescale") {
        for (std::string_view part : body)
            m_timescale += part;  // "1 ms" and "1ms" alike
    } else if (keyword == "$var") {
        uint64_t width = 0;
        if (body.size() < 4 || !whole_number(body[1], width) || width < 1 || width > 64) {
            error = words.At(body.size() < 4 ? "short $var" : "bad width in $var (1 to 64 bits)");
            return false;
        }
        CVariable var;
        var.real = body[0] == "real";
        var.width = static_cast<int>(width);
        var.id = body[2];
        var.name = body[3];
        var.scope = joined(scopes);
        m_byId[var.id].push_back(m_vars.size());
        m_vars.push_back(std::move(var));
    }
    return true;
}

// One value change; word is its first word.
bool CVcdReader::Change(CWords& words, std::string_view word, uint64_t now, std::string& error)
{
    std::string_view id;
    uint64_t value = 0;
    const char kind = word[0];
    const uint64_t line = words.Line();
    if (kind == 'b' || kind == 'B' || kind == 'r' || kind == 'R') {
        if (!words.Next(id)) {
            error = words.Bad().empty() ? words.At("value without identifier", line) : words.At(words.Bad());
            return false;
        }
        if ((kind == 'r' || kind == 'R') && !real_value(word.substr(1), value)) {
            error = words.At("bad real value '" + std::string(word) + "'");
            return false;
        }
        if (kind == 'b' || kind == 'B')
            value = binary_value(word.substr(1));
    } else if (std::string_view("01xXzZuUwWlLhH-").find(kind) != std::string_view::npos && word.size() > 1) {
        value = kind == '1' || kind == 'h' || kind == 'H' ? 1 : 0;
        id = word.substr(1);
    } else {
        error = words.At("not a value change: '" + std::string(word) + "'");
        return false;
    }
    const auto found = m_byId.find(std::string(id));
    if (found == m_byId.end()) {
        error = words.At("change of undeclared identifier '" + std::string(id) + "'");
        return false;
    }
    for (size_t index : found->second) {
        auto& changes = m_vars[index].changes;
        if (!changes.empty() && changes.back().first == now)
            changes.back().second = value;
        else
            changes.emplace_back(now, value);
    }
    return true;
}

bool CVcdReader::Parse(std::string_view text, std::string& error)
{
    m_vars.clear();
    m_byId.clear();
    m_timescale.clear();
    m_endTime = 0;
    CWords words(text);
    std::vector<std::string> scopes;
    bool definitions = true;
    std::string_view word;
    while (words.Next(word)) {
        if (definitions && word == "$enddefinitions") {
            definitions = false;
            if (!words.Next(word) || word != "$end") {
                error = words.At(words.Bad().empty() ? "$enddefinitions without $end" : words.Bad());
                return false;
            }
        } else if (definitions && word[0] == '$') {
            if (!Declaration(words, word, scopes, error))
                return false;
        } else if (definitions) {
            error = words.At("unexpected '" + std::string(word) + "' among the declarations");
            return false;
        } else if (word == "$comment") {
            while (words.Next(word) && word != "$end") {
            }
        } else if (word[0] == '$') {
            continue;  // $dumpvars, $end and the like frame changes
        } else if (word[0] == '#') {
            uint64_t now = 0;
            if (!whole_number(word.substr(1), now)) {
                error = words.At("bad time '" + std::string(word) + "'");
                return false;
            }
            if (now < m_endTime) {
                error = words.At("time goes back from " + std::to_string(m_endTime) + " to " + std::to_string(now));
                return false;
            }
            m_endTime = now;
        } else if (!Change(words, word, m_endTime, error)) {
            return false;
        }
    }
    if (!words.Bad().empty()) {
        error = words.At(words.Bad());
        return false;
    }
    if (definitions) {
        error =
            text.find_first_not_of(" \t\r\n") == std::string_view::npos ? "empty, not a trace" : "no $enddefinitions";
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
    const auto after = std::upper_bound(var.changes.begin(), var.changes.end(), timeMs,
                                        [](uint64_t time, const auto& change) { return time < change.first; });
    return after == var.changes.begin() ? 0 : std::prev(after)->second;
}

std::string CVcdReader::Text(const CVariable& var, uint64_t value)
{
    return var.real ? std::to_string(static_cast<int64_t>(value)) : std::to_string(value);
}
