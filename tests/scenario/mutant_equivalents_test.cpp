// The hunt's reading of the known equivalents: a line names one built mutant
// by place and whole replacement, a bar may stand in the replacement, and a
// line that names none, or no file, is refused with where it stands.

#include <fstream>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "scenario/explore/mutant_equivalents.h"

namespace {

const CMutant BUILT[] = {
    {7, "firmware/fw_a.cpp", 12, 9, "`1` -> `2`", "2"},
    {8, "firmware/fw_a.cpp", 30, 5, "`a && b` -> `a || b`", "a || b"},
};
const CMutantBuild::CSwitch SWITCH{BUILT, 2, nullptr, nullptr, nullptr};

TEST(MutantEquivalents, EachLineNamesABuiltMutantOrIsRefusedWithItsPlace)
{
    struct CCase {
        const char* text;
        std::set<int> ids;
        const char* error;  // after "FILE:"
    };
    const CCase cases[] = {
        {"# known\n\nfirmware/fw_a.cpp:12:9 | 2 | the count is ignored\r\n", {7}, ""},
        {"firmware/fw_a.cpp:30:5|a || b|one event in the mask\nfirmware/fw_a.cpp:12:9 | 2 | x\n", {7, 8}, ""},
        {"firmware/fw_a.cpp:12:9 | 2 |\n", {}, "1: not FILE:LINE:COLUMN | REPLACEMENT | REASON"},
        {"# a\nfirmware/fw_a.cpp:12:9 2 the count\n", {}, "2: not FILE:LINE:COLUMN | REPLACEMENT | REASON"},
        {"firmware/fw_a.cpp:12:9 | 3 | x\n", {}, "1: no built mutant '3' at firmware/fw_a.cpp:12:9"},
        {"firmware/fw_a.cpp:12:10 | 2 | x\n", {}, "1: no built mutant '2' at firmware/fw_a.cpp:12:10"},
    };
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string path = folder + "/equivalents.txt";
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.text);
        std::ofstream(path) << c.text;
        std::set<int> ids;
        std::string error;
        EXPECT_EQ(CMutantEquivalents::Read(path, SWITCH, ids, error), *c.error == '\0');
        EXPECT_EQ(ids, c.ids);
        EXPECT_EQ(error, *c.error ? path + ":" + c.error : "");
    }
    std::set<int> ids;
    std::string error;
    EXPECT_FALSE(CMutantEquivalents::Read(folder + "/none.txt", SWITCH, ids, error));
    EXPECT_EQ(error, folder + "/none.txt: No such file or directory");
}

}  // namespace
