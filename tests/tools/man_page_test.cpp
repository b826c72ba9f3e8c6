#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tools/man_page.h"
#include "tools/markdown_roff.h"

namespace {

TEST(MarkdownRoff, InlineMarksBecomeFonts)
{
    const struct {
        const char* markdown;
        const char* roff;
    } cases[] = {
        {"plain text", "plain text"},
        {"`--vcd OUT.vcd` writes", "\\fB\\-\\-vcd OUT.vcd\\fR writes"},
        {"**전원** (power key)", "\\fB전원\\fR (power key)"},
        {"run *i* uses seed S + *i*", "run \\fIi\\fR uses seed S + \\fIi\\fR"},
        {"see [Plant faults](#plant-faults)", "see Plant faults"},
        {"`a\\b` and C:\\dir", "\\fBa\\eb\\fR and C:\\edir"},
        {"`state\\|run_sec`", "\\fBstate\\e|run_sec\\fR"},
        {"an unclosed ` stays", "an unclosed ` stays"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CMarkdownRoff::Inline(c.markdown), c.roff) << c.markdown;
}

TEST(MarkdownRoff, BlocksAndGuardedRequests)
{
    const std::string roff = CMarkdownRoff::Blocks({
        "### Steps",
        "A paragraph",
        ".starts with a dot on its second line",
        "",
        "![a picture](docs/window.png)",
        "- an item",
        "  going on",
        "- `next` item",
        "",
        "| code | `one` | `two` |",
        "|---|---|---|",
        "| 0 | held | — |",
        "| 1 | — | — |",
        "| 2 | usage `a\\|b` | refused |",
        "```",
        ".code -x",
        "```",
    });
    EXPECT_EQ(roff,
              ".SS Steps\n"
              ".PP\nA paragraph .starts with a dot on its second line\n"
              ".IP \\(bu 2\nan item going on\n"
              ".IP \\(bu 2\n\\fBnext\\fR item\n"
              ".TP\n0\n\\fI\\fBone\\fR:\\fR held\n"
              ".TP\n2\n\\fI\\fBone\\fR:\\fR usage \\fBa|b\\fR\n.br\n\\fI\\fBtwo\\fR:\\fR refused\n"
              ".PP\n.RS 4\n.nf\n\\&.code \\-x\n.fi\n.RE\n");
    // On the page of `two` only its own column stands beside the codes.
    EXPECT_EQ(CMarkdownRoff::Blocks(
                  {"| code | `one` | `two` |", "|---|---|---|", "| 0 | held | — |", "| 2 | x | refused |"}, "two"),
              ".TP\n2\nrefused\n");
}

TEST(ManPage, MarkedPartsJoinedBySectionInTheUsualOrder)
{
    const std::string readme =
        "# Title\n<!-- man tool other: DESCRIPTION -->\nFirst part.\n<!-- end man -->\nNot in the page.\n"
        "<!-- man tool: SYNOPSIS -->\n```\ntool FILE\n```\n<!-- end man -->\n"
        "<!-- man tool: EXIT STATUS -->\nCodes.\n<!-- end man -->\n"
        "<!-- man tool: DESCRIPTION -->\nSecond part.\n<!-- end man -->\n";
    std::string error;
    const std::string page = CManPage::Make(readme, {"tool", "does things", "1.2"}, error);
    EXPECT_EQ(page,
              ".TH TOOL 1 \"\" \"trelvik 1.2\" \"User Commands\"\n.SH NAME\ntool \\- does things\n"
              ".SH SYNOPSIS\n.PP\n.RS 4\n.nf\ntool FILE\n.fi\n.RE\n"
              ".SH DESCRIPTION\n.PP\nFirst part.\n.PP\nSecond part.\n.SH EXIT STATUS\n.PP\nCodes.\n");
    EXPECT_NE(CManPage::Make(readme, {"other", "x", "1"}, error).find(".SH SYNOPSIS\n.PP\n\\fBother\\fR\n"),
              std::string::npos);

    EXPECT_EQ(CManPage::Make(readme, {"absent", "x", "1"}, error), "");
    EXPECT_EQ(error, "no part of the README is marked for absent");
    EXPECT_EQ(CManPage::Make("<!-- man tool: A -->\ntext\n", {"tool", "x", "1"}, error), "");
    EXPECT_EQ(error, "a part marked for tool is not closed by \"<!-- end man -->\"");
}

// The pages describe every option the README's tables list.
TEST(ManPage, TheReadmeMakesEveryProgramsPage)
{
    std::ifstream in(TRELVIK_README);
    std::ostringstream readme;
    readme << in.rdbuf();
    const struct {
        const char* program;
        std::vector<const char*> words;
    } pages[] = {
        {"trelvik", {"USING THE PANEL", "Reset CPU", "Wayland"}},
        {"trelvik-scenario",
         {"OPTIONS", "\\-\\-explore N", "\\-\\-vcd\\-var NAME", "\\-\\-vcd\\-limit MB", "\\-\\-timeout S",
          "\\-\\-snapshot\\-dir DIR", "\\-\\-strict", "\\-\\-coverage\\-json OUT.json",
          "\\-\\-fail\\-under\\-transitions N", "EXIT STATUS", "SCENARIO FILES", "\\-\\-record\\-baseline DIR",
          "\\-\\-baseline DIR", "\\-\\-baseline\\-slack NAME=MS", "\\-\\-accept\\-baseline DIR", "BASELINES"}},
        {"trelvik-vcd-plot", {"\\-\\-width PIXELS", "EXIT STATUS"}},
        {"trelvik-vcd-diff", {"OPTIONS", "\\-\\-slack NAME=TIME", "\\-\\-only NAME", "\\-\\-max N", "EXIT STATUS"}},
        {"trelvik-workbench", {"\\-\\-speed S", "\\-\\-paused", "KEYS", "EXIT STATUS"}},
    };
    for (const auto& p : pages) {
        std::string error;
        const std::string page = CManPage::Make(readme.str(), {p.program, "summary", "1"}, error);
        ASSERT_FALSE(page.empty()) << error;
        EXPECT_LT(page.find(".SH SYNOPSIS"), page.find(".SH DESCRIPTION")) << p.program;
        for (const char* word : p.words)
            EXPECT_NE(page.find(word), std::string::npos) << p.program << " lacks " << word;
        EXPECT_EQ(page.find("<!--"), std::string::npos) << p.program;
    }
}

}  // namespace
