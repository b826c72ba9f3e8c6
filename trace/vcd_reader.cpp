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

// "FILE:LINE: reason", or "FILE: reason".
std::string at_file(const std::string& path, const std::string& error)
{
    return path + ":" + (!error.empty() && error[0] >= '0' && error[0] <= '9' ? "" : " ") + error;
}

}  // namespace

bool CVcdReader::ReadFile(const std::string& path, std::string& text, std::string& error)
{
    bool read = false;
    try {
        read = read_regular_file(path, text, error);
    } catch (const std::bad_alloc&) {
        error = "too large to hold in memory";
    }
    if (!read)
        error = at_file(path, error);
    return read;
}

bool CVcdReader::ParseFile(const std::string& path, std::string& error)
{
    bool read = false;
    try {
        std::string text;
        read = ReadFile(path, text, error);
        if (read && !Parse(text, error)) {
            error = at_file(path, error);
            read = false;
        }
    } catch (const std::bad_alloc&) {
        error = at_file(path, "too large to hold in memory");
        m_vars.clear();
        m_byId.clear();
    }
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
        if (!CTimescale::Parse(m_timescale, m_scale)) {
            error = words.At("bad $timescale '" + m_timescale + "' (1, 10 or 100 of s, ms, us, ns, ps or fs)");
            return false;
        }
    } else if (keyword == "$var") {
        uint64_t width = 0;
        if (body.size() < 4 || !whole_number(body[1], width) || width < 1 || width > CVcdValues::MAX_WIDTH) {
            error = words.At(body.size() < 4
                                 ? "short $var"
                                 : "bad width in $var (1 to " + std::to_string(CVcdValues::MAX_WIDTH) + " bits)");
            return false;
        }
        CVariable var;
        var.real = body[0] == "real" || body[0] == "realtime";
        var.width = static_cast<int>(width);
        var.id = body[2];
        for (size_t i = 3; i < body.size(); ++i)
            var.name += body[i];  // "data" "[7:0]": the select belongs to the name
        var.scope = joined(scopes);
        m_byId[var.id].push_back(m_vars.size());
        m_vars.push_back(std::move(var));
    }
    return true;
}

// One value change; word is its first word.
bool CVcdReader::Change(CWords& words, std::string_view word, uint64_t now, std::string& error)
{
    std::string_view id, digits;
    const char kind = static_cast<char>(word[0] | 0x20);  // 'b', 'r' in either case
    const uint64_t line = words.Line();
    if (kind == 'b' || kind == 'r') {
        if (!words.Next(id)) {
            error = words.Bad().empty() ? words.At("value without identifier", line) : words.At(words.Bad());
            return false;
        }
        digits = word.substr(1);
    } else if (std::string_view("01xXzZuUwWlLhH-").find(word[0]) != std::string_view::npos && word.size() > 1) {
        digits = word.substr(0, 1);
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
        CVariable& var = m_vars[index];
        uint64_t value = 0;
        std::string reason;
        if (var.real != (kind == 'r'))
            reason = var.real ? "bits for the real " + var.name : "a real for the bits of " + var.name;
        else if (var.real ? !var.values.Real(digits, var.changes, value, reason)
                          : !var.values.Bits(digits, var.width, var.changes, value, reason))
            reason = var.real ? reason : "bad value '" + std::string(word) + "' for " + var.name + ": " + reason;
        if (!reason.empty()) {
            error = words.At(reason, line);
            return false;
        }
        auto& changes = var.changes;
        if (!changes.empty() && changes.back().first == now)
            changes.back().second = value;
        else
            changes.emplace_back(now, value);
    }
    return true;
}

// A time stamp, "#1234", converted as asked.
bool CVcdReader::Time(CWords& words, std::string_view word, std::string& error)
{
    uint64_t ticks = 0;
    if (!whole_number(word.substr(1), ticks)) {
        error = words.At("bad time '" + std::string(word) + "'");
        return false;
    }
    const std::string unit = CTimescale::UnitName(m_convertTo.value_or(0));
    if (ticks > UINT64_MAX / m_multiplier) {
        error = words.At("time '" + std::string(word) + "' overflows 64 bits in " + unit);
        return false;
    }
    if (ticks % m_divisor != 0) {
        error = words.At("time '" + std::string(word) + "' falls between two " + unit);
        return false;
    }
    const uint64_t now = ticks * m_multiplier / m_divisor;
    if (now < m_endTime) {
        error = words.At("time goes back from " + std::to_string(m_endTime) + " to " + std::to_string(now));
        return false;
    }
    m_endTime = now;
    return true;
}

// "$enddefinitions $end" is read: the changes begin, in the unit asked for.
bool CVcdReader::StartChanges(CWords& words, std::string& error)
{
    std::string_view word;
    if (!words.Next(word) || word != "$end") {
        error = words.At(words.Bad().empty() ? "$enddefinitions without $end" : words.Bad());
        return false;
    }
    if (m_convertTo) {
        const int own = m_scale.Exponent();
        m_multiplier = own >= *m_convertTo ? m_scale.TicksIn(*m_convertTo) : 1;
        m_divisor = own < *m_convertTo ? CTimescale::PowerOfTen(*m_convertTo - own) : 1;
    }
    return true;
}

bool CVcdReader::Parse(std::string_view text, std::string& error)
{
    m_vars.clear();
    m_byId.clear();
    m_timescale.clear();
    m_scale = {};
    m_multiplier = m_divisor = 1;
    m_endTime = 0;
    m_warnings.clear();
    CWords words(text);
    std::vector<std::string> scopes;
    bool definitions = true, skipping = false;
    std::string_view word;
    while (words.Next(word)) {
        if (definitions && word == "$enddefinitions") {
            definitions = false;
            if (!StartChanges(words, error))
                return false;
        } else if (definitions && word[0] == '$') {
            if (!Declaration(words, word, scopes, error))
                return false;
        } else if (definitions) {
            if (!skipping)  // one warning for all of it
                m_warnings.push_back(words.At("skipped text outside the sections, from '" + std::string(word) + "'"));
            skipping = true;
            continue;
        } else if (word == "$comment") {
            while (words.Next(word) && word != "$end") {
            }
        } else if (word[0] == '$') {
            continue;  // $dumpvars, $end and the like frame changes
        } else if (word[0] == '#') {
            if (!Time(words, word, error))
                return false;
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
    return var.values.Text(value, var.width, var.real);
}

bool CVcdReader::TimescaleOf(std::string_view text, CTimescale& scale)
{
    scale = {};
    const size_t end = text.find("$enddefinitions");
    const size_t at = text.substr(0, end).find("$timescale");
    if (at == std::string_view::npos)
        return true;
    const size_t from = at + std::string_view("$timescale").size();
    const size_t to = text.find("$end", from);
    std::string joined;
    for (char c : text.substr(from, to == std::string_view::npos ? 0 : to - from))
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            joined += c;
    return CTimescale::Parse(joined, scale);
}
