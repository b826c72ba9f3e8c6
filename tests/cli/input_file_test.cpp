// The checks a scenario's text passes before it is parsed: UTF-8 text with
// at least one step, the line of the first fault named.

#include <gtest/gtest.h>

#include "cli/input_file.h"

namespace {

TEST(InputFile, RefusesWhatIsNoScenarioAndNamesTheLine)
{
    struct {
        const char* text;
        bool ok;
        int line;
        const char* reason;
    } const cases[] = {
        {"wait 10\n", true, 0, ""},
        {"\xEF\xBB\xBFwait 10", true, 0, ""},            // a byte-order mark
        {"# 전원 켜기\r\nclick 전원\r\n", true, 0, ""},  // Korean, CRLF
        {"\t  # x\n  wait 1 # y\n", true, 0, ""},
        {"", false, 0, "empty: no step to run"},
        {"# only\n\n  \t\n", false, 0, "no step to run (only comments and blank lines)"},
        {"wait 1\n\xC3(\n", false, 2, "not UTF-8 text (byte 0xc3)"},     // a lead byte without its follower
        {"wait 1\n\xC0\xAF\n", false, 2, "not UTF-8 text (byte 0xc0)"},  // an overlong '/'
        {"\xED\xA0\x80\n", false, 1, "not UTF-8 text (byte 0xed)"},      // a surrogate
        {"\xF4\x90\x80\x80\n", false, 1, "not UTF-8 text (byte 0xf4)"},  // above U+10FFFF
        {"wait 1\n\n\xE2\x82", false, 3, "not UTF-8 text (byte 0xe2)"},  // cut off at the end
        {"wait\0 1\n", false, 1, "not text (control byte 0x00)"},
        {"wait 1\n\x1b[0m\n", false, 2, "not text (control byte 0x1b)"},
        {"wait 1\nwait 10\rexpect state 2\r", false, 2,
         "a carriage return alone ends a line: the line endings must be LF or CR LF"},
    };
    for (const auto& c : cases) {
        // The NUL case carries its byte inside the text.
        const std::string text = std::string(c.text) == "wait" ? std::string("wait\0 1\n", 8) : std::string(c.text);
        CInputFile input;
        EXPECT_EQ(input.Check(text), c.ok) << c.text;
        EXPECT_EQ(input.ErrorLine(), c.line) << c.text;
        EXPECT_EQ(input.ErrorReason(), c.reason) << c.text;
    }
    CInputFile bom;
    ASSERT_TRUE(bom.Check("\xEF\xBB\xBFwait 10"));
    EXPECT_EQ(bom.Text(), "wait 10") << "the byte-order mark is left out";
    EXPECT_EQ(bom.ErrorMessage("a.scn"), "a.scn: ");
}

}  // namespace
