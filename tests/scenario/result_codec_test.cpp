// A file's result crosses from a worker process to the runner unchanged,
// whatever its text holds; bytes cut short or spoiled are refused.

#include <gtest/gtest.h>

#include "scenario/reports/scenario_coverage.h"
#include "scenario/run/result_codec.h"

namespace {

TEST(ResultCodec, AResultAndItsCoverageComeBackWholeAndSpoiledBytesAreRefused)
{
    CFileResult sent;
    sent.file = "dir/a:b\n.scn";
    sent.code = CFileResult::SOME_FAILED;
    sent.error = "12:34: odd";
    sent.ran = true;
    sent.seconds = 0.125;
    sent.timestamp = "2026-12-08T12:00:00";
    sent.results = {{4, 153, false, false, "expect state 7 (건조)", "3 (파워 온 대기)", 0.5},
                    {9, 0, false, true, "interrupted (SIGTERM)", "", 1e-9}};
    sent.notes = {"    at 12 ms: RED_LED 1, baseline 0", ""};
    CScenarioCoverage coverage;
    coverage.SetCount(3, 2);
    coverage.SetCount(CScenarioCoverage::ITEM_COUNT - 1, 7);
    const std::string bytes = CResultCodec::Encode(sent, &coverage);

    CFileResult got;
    CScenarioCoverage summed;
    summed.SetCount(3, 1);
    ASSERT_TRUE(CResultCodec::Decode(bytes, got, &summed));
    EXPECT_EQ(got.file, sent.file);
    EXPECT_EQ(got.Line(got.results[0]), sent.Line(sent.results[0]));
    EXPECT_EQ(got.Line(got.results[1]), sent.Line(sent.results[1]));
    EXPECT_EQ(got.results[1].seconds, 1e-9);
    EXPECT_EQ(got.error, sent.error);
    EXPECT_EQ(got.timestamp, sent.timestamp);
    EXPECT_EQ(got.code, sent.code);
    EXPECT_EQ(got.notes, sent.notes);
    EXPECT_EQ(summed.Count(3), 3u) << "added to what was counted before";
    EXPECT_EQ(summed.Count(CScenarioCoverage::ITEM_COUNT - 1), 7u);

    for (const std::string& spoiled : {bytes.substr(0, bytes.size() - 1), bytes + "0", "x" + bytes, std::string()}) {
        CFileResult none;
        EXPECT_FALSE(CResultCodec::Decode(spoiled, none, nullptr)) << spoiled.size() << " bytes";
    }
}

}  // namespace
