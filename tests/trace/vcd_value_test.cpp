#include <gtest/gtest.h>

#include "trace/vcd_reader.h"
#include "trace/vcd_timescale.h"

namespace {

// One variable's values as text, one change a tick: "b1 !" words in turn.
std::string texts(const std::string& declaration, const std::vector<std::string>& values, std::string& error)
{
    std::string text = "$scope module m $end\n" + declaration + "\n$upscope $end\n$enddefinitions $end\n";
    for (size_t i = 0; i < values.size(); ++i)
        text += "#" + std::to_string(i) + "\n" + values[i] + "\n";
    CVcdReader reader;
    if (!reader.Parse(text, error))
        return {};
    std::string result;
    const CVcdReader::CVariable& var = reader.Variables().front();
    for (size_t i = 0; i < values.size(); ++i)
        result += (i ? " " : "") + CVcdReader::Text(var, CVcdReader::ValueAt(var, i));
    return result;
}

// The value model: four states kept apart, digits extended on the left as the
// format says, wide vectors, reals as reals; a variable switches coding at
// its first value that needs it, and its earlier values read the same after.
TEST(VcdValue, ValuesAsRead)
{
    const struct {
        const char* declaration;
        std::vector<std::string> values;
        const char* expected;
    } cases[] = {
        {"$var wire 1 ! a $end", {"0!", "1!", "x!", "z!", "X!", "1!"}, "0 1 x z x 1"},
        {"$var reg 8 ! d [7:0] $end",
         {"b101 !", "bxz !", "bz !", "b0x1 !", "b1x !", "b11111111 !"},
         "5 xxxxxxxz zzzzzzzz 000000x1 0000001x 255"},
        {"$var reg 4 ! n $end", {"b1 !", "1!", "x!", "B0 !"}, "1 1 xxxx 0"},
        {"$var wire 65 ! w $end",
         {"b1 !", std::string("b") + std::string(65, '1') + " !"},
         "00000000000000000000000000000000000000000000000000000000000000001 "
         "11111111111111111111111111111111111111111111111111111111111111111"},
        {"$var real 64 ! r $end",
         {"r3 !", "r-2 !", "r0.25 !", "r1e+20 !", "rNaN !", "rinf !", "r-0 !", "r1e999 !"},
         "3 -2 0.25 1e+20 NaN inf 0 inf"},
        {"$var wire 1 ! a $end", {"h!", "l!", "u!", "-!", "w!"}, "1 0 x x x"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(texts(c.declaration, c.values, error), c.expected) << c.declaration << " " << error;
    }
}

TEST(VcdValue, RefusedWithTheLine)
{
    const struct {
        const char* declaration;
        const char* value;
        const char* error;
    } cases[] = {
        {"$var wire 4097 ! w $end", "0!", "2: bad width in $var (1 to 4096 bits)"},
        {"$var wire 4096 ! w $end", "b102 !", "6: bad value 'b102' for w: no bit '2'"},
        {"$var wire 2 ! w $end", "b101 !", "6: bad value 'b101' for w: 3 digits for 2 bits"},
        {"$var real 64 ! r $end", "r1.5.2 !", "6: bad real value 'r1.5.2'"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(texts(c.declaration, {c.value}, error), "");
        EXPECT_EQ(error, c.error);
    }
}

// Time units: every $timescale, the unit two scales share, and a person's
// durations in ticks, rounded down and saturated.
TEST(VcdTime, Conversion)
{
    const struct {
        const char* scale;
        int unit;        // its named unit
        uint64_t ticks;  // of that unit in one tick
    } scales[] = {{"1ms", -3, 1}, {"10 ps", -12, 10}, {"100s", 0, 100}, {"1 fs", -15, 1}, {"100us", -6, 100}};
    for (const auto& c : scales) {
        CTimescale scale;
        ASSERT_TRUE(CTimescale::Parse(c.scale, scale)) << c.scale;
        EXPECT_EQ(scale.UnitExponent(), c.unit) << c.scale;
        EXPECT_EQ(scale.TicksIn(c.unit), c.ticks) << c.scale;
    }
    for (const char* bad : {"2ms", "1 min", "ms", "1000ps", ""}) {
        CTimescale scale;
        EXPECT_FALSE(CTimescale::Parse(bad, scale)) << bad;
    }
    CTimescale ns, tenPs;
    CTimescale::Parse("1ns", ns);
    CTimescale::Parse("10ps", tenPs);
    EXPECT_EQ(CTimescale::CommonUnit(ns, tenPs), -12);
    EXPECT_EQ(ns.TicksIn(-12), 1000u);

    const struct {
        const char* duration;
        int unit;
        uint64_t ticks;
    } durations[] = {{"5us", -9, 5000},
                     {"5", -6, 5000},
                     {"2ms", -3, 2},
                     {"1500us", -3, 1},
                     {"3 s", -15, 3000000000000000},
                     {"18446744073709551615", -12, UINT64_MAX},
                     {"18446744073709551615fs", -15, UINT64_MAX}};
    for (const auto& c : durations) {
        CDuration duration;
        ASSERT_TRUE(CDuration::Parse(c.duration, duration)) << c.duration;
        EXPECT_EQ(duration.Ticks(c.unit), c.ticks) << c.duration;
    }
    for (const char* bad : {"5 min", "us", "-1", "1.5ms"}) {
        CDuration duration;
        EXPECT_FALSE(CDuration::Parse(bad, duration)) << bad;
    }
}

// A dump read in another unit: times multiplied exactly, or refused with the
// line where one overflows or falls between two ticks of a coarser unit.
TEST(VcdTime, ReaderConvertsOrRefusesWithTheLine)
{
    const struct {
        const char* scale;
        int unit;
        const char* body;
        const char* result;
    } cases[] = {
        {"100 s", -3, "#0\n1!\n#7\n0!\n", "700000"},
        {"100 s", -15, "#184\n#185\n", "5: time '#185' overflows 64 bits in fs"},
        {"1 us", -3, "#2000\n#2500\n", "5: time '#2500' falls between two ms"},
    };
    for (const auto& c : cases) {
        CVcdReader reader;
        reader.ConvertTo(c.unit);
        std::string error;
        const std::string head =
            std::string("$timescale ") + c.scale + " $end\n$var wire 1 ! a $end\n$enddefinitions $end\n";
        const bool read = reader.Parse(head + c.body, error);
        EXPECT_EQ(read ? std::to_string(reader.EndTime()) : error, c.result) << c.body;
    }
    CTimescale scale;
    EXPECT_TRUE(CVcdReader::TimescaleOf("META x\n$timescale\n\t10 ps\n$end\n$enddefinitions $end\n", scale));
    EXPECT_EQ(scale.Exponent(), -11);
}

}  // namespace
