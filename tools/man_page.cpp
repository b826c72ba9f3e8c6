#include "tools/man_page.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "tools/markdown_roff.h"

namespace {

const std::string OPEN = "<!-- man ";
const std::string CLOSE = "<!-- end man -->";

struct CSection {
    std::string name;
    std::vector<std::string> lines;
};

std::vector<std::string> split_lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// "trelvik-scenario trelvik-vcd-plot: EXIT STATUS" names the program?
bool marks(const std::string& marker, const std::string& program, std::string& section)
{
    const size_t colon = marker.find(':');
    const size_t end = marker.rfind(" -->");
    if (colon == std::string::npos || end == std::string::npos || end < colon)
        return false;
    std::istringstream programs(marker.substr(OPEN.size(), colon - OPEN.size()));
    for (std::string name; programs >> name;) {
        if (name == program) {
            section = marker.substr(colon + 1, end - colon - 1);
            section.erase(0, section.find_first_not_of(' '));
            return true;
        }
    }
    return false;
}

CSection& section_named(std::vector<CSection>& sections, const std::string& name)
{
    auto it = std::find_if(sections.begin(), sections.end(), [&](const CSection& s) { return s.name == name; });
    if (it != sections.end())
        return *it;
    sections.push_back({name, {}});
    return sections.back();
}

// The marked parts for the program, by section; false for an unclosed part.
bool collect(const std::vector<std::string>& lines, const std::string& program, std::vector<CSection>& sections)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string name;
        if (lines[i].rfind(OPEN, 0) != 0 || !marks(lines[i], program, name))
            continue;
        CSection& section = section_named(sections, name);
        for (++i; i < lines.size() && lines[i] != CLOSE; ++i)
            section.lines.push_back(lines[i]);
        if (i == lines.size())
            return false;
        section.lines.push_back("");
    }
    return true;
}

std::string upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The usual sections come first, in the usual order; the others follow in
// the README's order.
size_t rank(const std::string& section)
{
    static const std::vector<std::string> USUAL = {"SYNOPSIS", "DESCRIPTION", "OPTIONS", "EXIT STATUS"};
    return static_cast<size_t>(std::find(USUAL.begin(), USUAL.end(), section) - USUAL.begin());
}

}  // namespace

std::string CManPage::Make(const std::string& readme, const CManPageCall& call, std::string& error)
{
    std::vector<CSection> sections;
    if (!collect(split_lines(readme), call.program, sections)) {
        error = "a part marked for " + call.program + " is not closed by \"" + CLOSE + "\"";
        return {};
    }
    if (sections.empty()) {
        error = "no part of the README is marked for " + call.program;
        return {};
    }
    std::string page = ".TH " + CMarkdownRoff::Escape(upper(call.program)) + " 1 \"\" \"trelvik " + call.version +
                       "\" \"User Commands\"\n";
    page += ".SH NAME\n" + CMarkdownRoff::Escape(call.program) + " \\- " + call.summary + "\n";
    // A program without a synopsis in the README is called by its name alone.
    if (std::none_of(sections.begin(), sections.end(), [](const CSection& s) { return s.name == "SYNOPSIS"; }))
        sections.push_back({"SYNOPSIS", {"`" + call.program + "`"}});
    std::stable_sort(sections.begin(), sections.end(),
                     [](const CSection& a, const CSection& b) { return rank(a.name) < rank(b.name); });
    for (const CSection& section : sections)
        page += ".SH " + section.name + "\n" + CMarkdownRoff::Blocks(section.lines, call.program);
    return page;
}
