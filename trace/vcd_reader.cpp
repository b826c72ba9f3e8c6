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
// its first such byte rather than read as words of garbage. The text is
// either held whole, or read from a file descriptor a buffer at a time: the
// word last returned and the one before it stay valid (a value's digits and
// its identifier).
class CVcdReader::CWords {
public:
    explicit CWords(std::string_view text) : m_text(text) {}
    CWords(int fd, size_t buffer) : m_fd(fd), m_eof(false) { m_buffer.resize(std::max<size_t>(buffer, 8)); }

    bool Next(std::string_view& word)
    {
        m_before = m_previous;
        m_beforeLength = m_previousLength;
        for (;;) {
            const char* text = m_text.data();
            size_t pos = m_pos;
            const size_t size = m_text.size();
            uint64_t line = m_line;
            for (; pos < size && Blank(text[pos]); pos++)
                line += text[pos] == '\n';
            m_pos = pos;
            m_line = line;
            size_t none = m_pos;
            if (m_pos < size || !Refill(none))
                break;
        }
        m_wordLine = m_line;
        size_t start = m_pos;
        for (;;) {
            const char* text = m_text.data();
            const size_t size = m_text.size();
            size_t pos = m_pos;
            while (pos < size && Printable(text[pos]))
                pos++;
            m_pos = pos;
            if (pos < size && !Blank(text[pos])) {
                const auto c = static_cast<unsigned char>(text[pos]);
                if (c >= 0x80 && pos + 4 > size && !m_eof) {
                    Refill(start);  // a sequence the buffer may cut
                    continue;
                }
                const size_t length = utf8_length(m_text, pos);
                if (c < 0x20 || c == 0x7F || length == 0) {
                    constexpr char HEX[] = "0123456789abcdef";
                    m_bad = std::string(length ? "not text (control byte 0x" : "not UTF-8 text (byte 0x") +
                            HEX[c >> 4] + HEX[c & 15] + ")";
                    m_wordLine = m_line;
                    return false;
                }
                m_pos += length;
                continue;
            }
            if (pos < size || m_eof)
                break;
            Refill(start);  // at the end, the word is read again whole
        }
        m_previous = start;
        m_previousLength = m_pos - start;
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
    // The word before the last one, where it is now (a stream's buffer may have moved it).
    std::string_view Before() const { return m_text.substr(m_before, m_beforeLength); }
    // The bytes read so far.
    uint64_t Offset() const { return m_base + m_pos; }
    bool AtEnd() const { return m_eof && m_pos >= m_text.size(); }

private:
    static bool Blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
    static bool Printable(char c) { return static_cast<unsigned char>(c - 0x21) < 0x7F - 0x21; }

    // More text, dropping what comes before the word last returned; `start`
    // (a position in the buffer) moves with it. False at the end or on an error.
    bool Refill(size_t& start)
    {
        if (m_eof)
            return false;
        const size_t kept = std::min(start, m_previous);
        const size_t held = m_text.size() - kept;
        std::memmove(m_buffer.data(), m_buffer.data() + kept, held);
        m_base += kept;
        m_pos -= kept;
        m_previous -= kept;
        m_before -= kept;
        start -= kept;
        if (held == m_buffer.size())  // a word longer than the buffer
            m_buffer.resize(m_buffer.size() * 2);
        ssize_t n = 0;
        do
            n = read(m_fd, m_buffer.data() + held, m_buffer.size() - held);
        while (n < 0 && errno == EINTR);
        if (n < 0)
            m_bad = std::strerror(errno);
        m_eof = n <= 0;
        m_text = std::string_view(m_buffer.data(), held + static_cast<size_t>(std::max<ssize_t>(n, 0)));
        return n > 0;
    }

    std::string_view m_text;
    size_t m_pos = 0;
    size_t m_previous = 0, m_previousLength = 0;  // the word last returned
    size_t m_before = 0, m_beforeLength = 0;      // and the one before it
    uint64_t m_line = 1;
    uint64_t m_wordLine = 1;
    std::string m_bad;
    int m_fd = -1;
    bool m_eof = true;
    std::string m_buffer;
    uint64_t m_base = 0;  // the offset of the buffer's first byte
};

namespace {

bool whole_number(std::string_view text, uint64_t& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

// A digit a one-bit change may begin with: 0, 1, x, z and the strengths.
bool is_digit_of_bit(char c)
{
    switch (c) {
    case '0':
    case '1':
    case 'x':
    case 'X':
    case 'z':
    case 'Z':
    case 'u':
    case 'U':
    case 'w':
    case 'W':
    case 'l':
    case 'L':
    case 'h':
    case 'H':
    case '-':
        return true;
    default:
        return false;
    }
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

// A file or a pipe, read forward.
struct CVcdReader::CStream {
    CStream(int fd, bool owned, size_t buffer) : words(fd, buffer), m_fd(fd), m_owned(owned) {}
    ~CStream()
    {
        if (m_owned)
            close(m_fd);
    }
    CStream(const CStream&) = delete;
    CStream& operator=(const CStream&) = delete;

    CWords words;

private:
    int m_fd;
    bool m_owned;
};

namespace {

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
bool CVcdReader::Declaration(CWords& words, std::string_view keywordRead, std::vector<std::string>& scopes,
                             std::string& error)
{
    const std::string keyword(keywordRead);  // held: a stream's buffer moves on
    std::vector<std::string> body;
    std::string_view word;
    while (words.Next(word) && word != "$end")
        body.emplace_back(word);
    if (word != "$end") {
        error = words.Bad().empty() ? words.At(keyword + " without $end") : words.At(words.Bad());
        return false;
    }
    if (keyword == "$scope" && body.size() >= 2) {
        scopes.emplace_back(body[1]);
    } else if (keyword == "$upscope") {
        if (!scopes.empty())
            scopes.pop_back();
    } else if (keyword == "$timescale") {
        for (const std::string& part : body)
            m_timescale += part;  // "1 ms" and "1ms" alike
        if (!CTimescale::Parse(m_timescale, m_scale)) {
            error = words.At("bad $timescale '" + m_timescale + "' (1, 10 or 100 of s, ms, us, ns, ps or fs)");
            return false;
        }
    } else if (keyword == "$comment") {
        std::string comment;
        for (const std::string& part : body)
            comment += (comment.empty() ? "" : " ") + part;
        m_comments.push_back(comment);
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
        if (var.id.size() == 1)
            m_byChar[static_cast<unsigned char>(var.id[0]) & 127].push_back(m_vars.size());
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
        word = words.Before();  // where the reading of the identifier left it
        digits = word.substr(1);
    } else if (word.size() > 1 && is_digit_of_bit(word[0])) {
        digits = word.substr(0, 1);
        id = word.substr(1);
    } else {
        error = words.At("not a value change: '" + std::string(word) + "'");
        return false;
    }
    const std::vector<size_t>* indices = nullptr;
    if (id.size() == 1 && static_cast<unsigned char>(id[0]) < 128) {  // most identifiers: one character
        indices = &m_byChar[static_cast<unsigned char>(id[0])];
    } else if (const auto found = m_byId.find(std::string(id)); found != m_byId.end()) {
        indices = &found->second;
    }
    if (!indices || indices->empty()) {
        error = words.At("change of undeclared identifier '" + std::string(id) + "'");
        return false;
    }
    for (size_t index : *indices) {
        CVariable& var = m_vars[index];
        uint64_t value = 0;
        std::string reason;
        if (!var.real && kind != 'r' && digits.size() == 1 && (digits[0] == '0' || digits[0] == '1') &&
            var.values.Coding() == CVcdValues::ECoding::NUMBER)
            value = static_cast<uint64_t>(digits[0] - '0');  // most changes: one two-state bit
        else if (var.real != (kind == 'r'))
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
    if (ticks > UINT64_MAX / m_multiplier) {
        error = words.At("time '" + std::string(word) + "' overflows 64 bits in " +
                         CTimescale::UnitName(m_convertTo.value_or(0)));
        return false;
    }
    if (m_divisor != 1 && ticks % m_divisor != 0) {
        error = words.At("time '" + std::string(word) + "' falls between two " +
                         CTimescale::UnitName(m_convertTo.value_or(0)));
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

// "$enddefinitions $end" is read: the changes begin.
bool CVcdReader::StartChanges(CWords& words, std::string& error)
{
    std::string_view word;
    if (!words.Next(word) || word != "$end") {
        error = words.At(words.Bad().empty() ? "$enddefinitions without $end" : words.Bad());
        return false;
    }
    return true;
}

// Times from now on in the unit asked for.
void CVcdReader::BeginChanges()
{
    m_multiplier = m_divisor = 1;
    if (m_convertTo) {
        const int own = m_scale.Exponent();
        m_multiplier = own >= *m_convertTo ? m_scale.TicksIn(*m_convertTo) : 1;
        m_divisor = own < *m_convertTo ? CTimescale::PowerOfTen(*m_convertTo - own) : 1;
    }
    m_begun = true;
}

void CVcdReader::Clear()
{
    m_vars.clear();
    m_byId.clear();
    for (std::vector<size_t>& indices : m_byChar)
        indices.clear();
    m_timescale.clear();
    m_scale = {};
    m_multiplier = m_divisor = 1;
    m_endTime = 0;
    m_warnings.clear();
    m_comments.clear();
    m_begun = m_ended = false;
}

// The declarations, up to "$enddefinitions $end".
bool CVcdReader::Header(CWords& words, std::string& error)
{
    std::vector<std::string> scopes;
    bool skipping = false, any = false;
    std::string_view word;
    while (words.Next(word)) {
        any = true;
        if (word == "$enddefinitions")
            return StartChanges(words, error);
        if (word[0] == '$') {
            if (!Declaration(words, word, scopes, error))
                return false;
        } else {
            if (!skipping)  // one warning for all of it
                m_warnings.push_back(words.At("skipped text outside the sections, from '" + std::string(word) + "'"));
            skipping = true;
        }
    }
    error = !words.Bad().empty() ? words.At(words.Bad()) : any ? "no $enddefinitions" : "empty, not a trace";
    return false;
}

// The changes, until the end, or until `bytes` more of the text are read.
bool CVcdReader::Body(CWords& words, uint64_t bytes, std::string& error)
{
    if (!m_begun)
        BeginChanges();
    const uint64_t until = bytes == UINT64_MAX ? UINT64_MAX : words.Offset() + bytes;
    std::string_view word;
    while (words.Offset() < until) {
        if (!words.Next(word)) {
            if (!words.Bad().empty()) {
                error = words.At(words.Bad());
                return false;
            }
            m_ended = true;
            return true;
        }
        if (word == "$comment") {
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
    return true;
}

bool CVcdReader::Parse(std::string_view text, std::string& error)
{
    Clear();
    m_stream.reset();
    CWords words(text);
    return Header(words, error) && Body(words, UINT64_MAX, error);
}

bool CVcdReader::Open(const std::string& path, std::string& error, size_t buffer)
{
    Clear();
    m_stream.reset();
    int fd = STDIN_FILENO;
    if (path != "-") {
        struct stat st {};
        const bool found = stat(path.c_str(), &st) == 0;
        if (!found || (!S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode))) {
            error = at_file(path, !found                ? std::strerror(errno)
                                  : S_ISDIR(st.st_mode) ? "is a directory, not a trace"
                                                        : "not a regular file or a pipe, not a trace");
            return false;
        }
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);  // a pipe's open waits for its writer
        if (fd < 0) {
            error = at_file(path, std::strerror(errno));
            return false;
        }
    }
    m_stream = std::make_shared<CStream>(fd, fd != STDIN_FILENO, buffer);
    if (!Header(m_stream->words, error)) {
        error = at_file(path, error);
        m_path = path;
        return false;
    }
    m_path = path;
    return true;
}

bool CVcdReader::ReadOn(uint64_t bytes, std::string& error)
{
    if (!m_stream || m_ended)
        return true;
    if (!Body(m_stream->words, bytes, error)) {
        error = at_file(m_path, error);
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
