#pragma once
// The small part of Markdown the README is written in, as man(7) source:
// paragraphs, "- " lists, tables, fenced code, "###" headings, and inline
// `code`, **bold**, *emphasis* and [links](...). Pictures are left out.
// A table with a column headed by the page's program in code (`trelvik-scenario`)
// keeps only that column beside its first, for that program's page.

#include <string>
#include <vector>

class CMarkdownRoff {
public:
    // The roff body for these Markdown lines (no .TH, no .SH), on the page of
    // `program`.
    static std::string Blocks(const std::vector<std::string>& lines, const std::string& program = "");
    // One line of running text: escaped, with its inline marks as fonts.
    static std::string Inline(const std::string& text);
    // Text as roff prints it literally: backslashes and minus signs escaped.
    static std::string Escape(const std::string& text);

private:
    CMarkdownRoff(const std::vector<std::string>& lines, const std::string& program)
        : m_lines(lines), m_program(program)
    {
    }
    std::string Convert();
    void Paragraph();
    void List();
    void Table();
    void Row(const std::vector<std::string>& heads, const std::vector<std::string>& row);
    void Code();
    bool AtEnd() const { return m_next >= m_lines.size(); }
    const std::string& Line() const { return m_lines[m_next]; }

    const std::vector<std::string>& m_lines;
    const std::string m_program;
    size_t m_next = 0;
    std::string m_out;
};
