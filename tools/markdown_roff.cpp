#include "tools/markdown_roff.h"

#include <algorithm>

namespace {

bool starts_with(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

bool blank(const std::string& s) { return s.find_first_not_of(" \t") == std::string::npos; }

bool is_fence(const std::string& s) { return starts_with(s, "```"); }
bool is_item(const std::string& s) { return starts_with(s, "- "); }
bool is_row(const std::string& s) { return starts_with(s, "|"); }
bool is_heading(const std::string& s) { return starts_with(s, "#"); }
bool is_picture(const std::string& s) { return starts_with(s, "!["); }

// A roff request must not be mistaken for text: a line starting with a dot or
// an apostrophe is guarded by the zero-width \&.
std::string guarded(const std::string& line)
{
    return !line.empty() && (line[0] == '.' || line[0] == '\'') ? "\\&" + line : line;
}

std::string trimmed(const std::string& s)
{
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The cells of "| a | b\|c |", with the escaped bar kept as a bar.
std::vector<std::string> cells(const std::string& row)
{
    std::vector<std::string> out;
    std::string cell;
    for (size_t i = 1; i < row.size(); ++i) {
        if (row[i] == '\\' && i + 1 < row.size() && row[i + 1] == '|') {
            cell += '|';
            ++i;
        } else if (row[i] == '|') {
            out.push_back(trimmed(cell));
            cell.clear();
        } else {
            cell += row[i];
        }
    }
    return out;
}

// Where the mark opened at `from` is closed; npos when it is not.
size_t closing(const std::string& text, size_t from, const std::string& mark)
{
    return text.find(mark, from + mark.size());
}

}  // namespace

std::string CMarkdownRoff::Escape(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

std::string CMarkdownRoff::Inline(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        size_t end = std::string::npos;
        if (c == '`' && (end = closing(text, i, "`")) != std::string::npos) {
            out += "\\fB" + Escape(text.substr(i + 1, end - i - 1)) + "\\fR";
            i = end;
        } else if (starts_with(text.substr(i, 2), "**") && (end = closing(text, i, "**")) != std::string::npos) {
            out += "\\fB" + Inline(text.substr(i + 2, end - i - 2)) + "\\fR";
            i = end + 1;
        } else if (c == '*' && (end = closing(text, i, "*")) != std::string::npos && end > i + 1) {
            out += "\\fI" + Inline(text.substr(i + 1, end - i - 1)) + "\\fR";
            i = end;
        } else if (c == '[' && (end = text.find("](", i)) != std::string::npos &&
                   text.find(')', end) != std::string::npos) {
            out += Inline(text.substr(i + 1, end - i - 1));  // the link's text; its address is for the web
            i = text.find(')', end);
        } else if (c == '\\' && i + 1 < text.size() &&
                   std::string("\\`*_[]|#").find(text[i + 1]) != std::string::npos) {
            out += text[i + 1] == '\\' ? "\\e" : std::string(1, text[i + 1]);
            ++i;
        } else {
            out += c == '\\' ? "\\e" : std::string(1, c);
        }
    }
    return out;
}

std::string CMarkdownRoff::Blocks(const std::vector<std::string>& lines, const std::string& program)
{
    return CMarkdownRoff(lines, program).Convert();
}

std::string CMarkdownRoff::Convert()
{
    while (!AtEnd()) {
        const std::string& line = Line();
        if (blank(line) || is_picture(line)) {
            ++m_next;
        } else if (is_heading(line)) {
            m_out += ".SS " + Inline(trimmed(line.substr(line.find_first_not_of('#')))) + "\n";
            ++m_next;
        } else if (is_fence(line)) {
            Code();
        } else if (is_item(line)) {
            List();
        } else if (is_row(line)) {
            Table();
        } else {
            Paragraph();
        }
    }
    return m_out;
}

// Lines up to a blank line or the start of another block, joined.
void CMarkdownRoff::Paragraph()
{
    std::string text;
    while (!AtEnd() && !blank(Line()) && !is_fence(Line()) && !is_item(Line()) && !is_row(Line()) &&
           !is_heading(Line())) {
        text += (text.empty() ? "" : " ") + trimmed(Line());
        ++m_next;
    }
    m_out += ".PP\n" + guarded(Inline(text)) + "\n";
}

// "- " items; an item goes on over the lines indented under it.
void CMarkdownRoff::List()
{
    while (!AtEnd() && is_item(Line())) {
        std::string text = Line().substr(2);
        for (++m_next; !AtEnd() && starts_with(Line(), "  ") && !blank(Line()); ++m_next)
            text += " " + trimmed(Line());
        m_out += ".IP \\(bu 2\n" + guarded(Inline(trimmed(text))) + "\n";
        while (!AtEnd() && blank(Line()) && m_next + 1 < m_lines.size() && is_item(m_lines[m_next + 1]))
            ++m_next;
    }
}

// A table becomes a tagged list: the first cell is the tag, and each other
// cell follows on its own line, after its column's heading when it has one.
// A column of the page's own program is the only one kept beside the first.
void CMarkdownRoff::Table()
{
    std::vector<std::string> heads = cells(Line());
    const auto own = std::find(heads.begin(), heads.end(), "`" + m_program + "`");
    const size_t keep = own == heads.end() ? 0 : static_cast<size_t>(own - heads.begin());
    if (keep)
        heads = {heads[0], ""};
    m_next += 2;  // the heading row and the |---| row under it
    for (; !AtEnd() && is_row(Line()); ++m_next) {
        std::vector<std::string> row = cells(Line());
        if (keep && row.size() > keep)
            row = {row[0], row[keep]};
        Row(heads, row);
    }
}

// A row without a cell of its own beside the tag ("—") is left out.
void CMarkdownRoff::Row(const std::vector<std::string>& heads, const std::vector<std::string>& row)
{
    std::string body;
    for (size_t c = 1; c < row.size(); ++c) {
        if (row[c].empty() || row[c] == "—")
            continue;
        const bool headed = c < heads.size() && row.size() > 2 && !heads[c].empty();
        const std::string head = headed ? "\\fI" + Inline(heads[c]) + ":\\fR " : "";
        body += (body.empty() ? "" : ".br\n") + guarded(head + Inline(row[c])) + "\n";
    }
    if (!body.empty())
        m_out += ".TP\n" + guarded(Inline(row[0])) + "\n" + body;
}

// Fenced code, indented, line by line as it stands.
void CMarkdownRoff::Code()
{
    m_out += ".PP\n.RS 4\n.nf\n";
    for (++m_next; !AtEnd() && !is_fence(Line()); ++m_next)
        m_out += guarded(Escape(Line())) + "\n";
    ++m_next;
    m_out += ".fi\n.RE\n";
}
