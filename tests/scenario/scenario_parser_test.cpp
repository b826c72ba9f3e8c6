// The scenario reader: every step kind and condition as written, and each
// kind of line it must refuse, with that line's number.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>

#include "scenario/language/panel_names.h"
#include "scenario/language/scenario_parser.h"

namespace {

class ScenarioParser : public ::testing::Test {
protected:
    // The steps of a text that must parse.
    std::vector<CScenarioStep> Steps(const std::string& text)
    {
        EXPECT_TRUE(m_parser.Parse(text)) << "line " << m_parser.ErrorLine() << ": " << m_parser.ErrorReason();
        return m_parser.Steps();
    }
    // A one-step text that must parse.
    CScenarioStep Step(const std::string& line)
    {
        const std::vector<CScenarioStep> steps = Steps(line);
        EXPECT_EQ(steps.size(), 1u) << line;
        return steps.empty() ? CScenarioStep{} : steps.front();
    }
    // A text that must be refused at `line` with a reason containing `reason`.
    void Refused(const std::string& text, int line, const std::string& reason)
    {
        EXPECT_FALSE(m_parser.Parse(text)) << text;
        EXPECT_EQ(m_parser.ErrorLine(), line) << text;
        EXPECT_NE(m_parser.ErrorReason().find(reason), std::string::npos)
            << "for: " << text << "\nreason: " << m_parser.ErrorReason() << "\nexpected to contain: " << reason;
        EXPECT_TRUE(m_parser.Steps().empty()) << "nothing is kept from a refused file";
    }

    CScenarioParser m_parser;
};

TEST_F(ScenarioParser, ReadsEveryStepKindWithItsLineNumber)
{
    const std::vector<CScenarioStep> steps = Steps(
        "# a comment line\n"
        "wait 500\n"
        "\n"
        "press 전원\n"
        "release\n"
        "release power   # a trailing comment\n"
        "click 커버\n"
        "click drawer hold 250\n"
        "click 120 60\n"
        "click 52 51 hold 30\n"
        "press 5 6\n"
        "run-until state 5\n"
        "run-until state 3 within 1000\n"
        "expect lamp red on\n"
        "reset-cpu\n"
        "snapshot out/panel.png\n");
    ASSERT_EQ(steps.size(), 14u);

    EXPECT_EQ(steps[0].kind, CScenarioStep::WAIT);
    EXPECT_EQ(steps[0].ms, 500u);
    EXPECT_EQ(steps[0].line, 2);

    EXPECT_EQ(steps[1].kind, CScenarioStep::PRESS);
    EXPECT_EQ(steps[1].line, 4) << "blank and comment lines count";
    EXPECT_EQ(steps[1].input, 0);
    EXPECT_EQ(steps[1].point.x, SCENARIO_INPUTS[0].point.x);

    EXPECT_EQ(steps[2].kind, CScenarioStep::RELEASE);
    EXPECT_EQ(steps[2].input, -1);
    EXPECT_EQ(steps[3].kind, CScenarioStep::RELEASE);
    EXPECT_EQ(steps[3].input, 0) << "the power key by its role";

    EXPECT_EQ(steps[4].kind, CScenarioStep::CLICK);
    EXPECT_EQ(steps[4].input, 2);
    EXPECT_EQ(steps[4].ms, CScenarioStep::DEFAULT_HOLD_MS);
    EXPECT_EQ(steps[5].input, 3);
    EXPECT_EQ(steps[5].ms, 250u);

    EXPECT_EQ(steps[6].input, -1) << "a click by coordinates";
    EXPECT_EQ(steps[6].point.x, 120);
    EXPECT_EQ(steps[6].point.y, 60);
    EXPECT_EQ(steps[7].ms, 30u);
    EXPECT_EQ(steps[8].kind, CScenarioStep::PRESS);
    EXPECT_EQ(steps[8].point.y, 6);

    EXPECT_EQ(steps[9].kind, CScenarioStep::RUN_UNTIL);
    EXPECT_EQ(steps[9].ms, CScenarioStep::DEFAULT_WITHIN_MS);
    EXPECT_EQ(steps[9].condition.kind, CScenarioCondition::STATE);
    EXPECT_EQ(steps[9].condition.low, 5);
    EXPECT_EQ(steps[10].ms, 1000u);
    EXPECT_EQ(steps[10].condition.low, 3);

    EXPECT_EQ(steps[11].kind, CScenarioStep::EXPECT);
    EXPECT_EQ(steps[12].kind, CScenarioStep::RESET_CPU);
    EXPECT_EQ(steps[13].kind, CScenarioStep::SNAPSHOT);
    EXPECT_EQ(steps[13].path, "out/panel.png");
    EXPECT_EQ(steps[13].line, 16);
}

TEST_F(ScenarioParser, ReadsEveryConditionKind)
{
    CScenarioCondition c = Step("expect state 파워 온 대기").condition;
    EXPECT_EQ(c.kind, CScenarioCondition::STATE);
    EXPECT_EQ(c.low, 3) << "a state name with spaces, unquoted";
    EXPECT_EQ(Step("expect state \"서랍열림\"").condition.low, 9);
    EXPECT_EQ(Step("expect state 10").condition.low, 10);

    c = Step("expect signal POWER_ON_OFF 0").condition;
    EXPECT_EQ(c.kind, CScenarioCondition::SIGNAL);
    EXPECT_STREQ(WIRED_SIGNALS[c.index].name, "POWER_ON_OFF");
    EXPECT_EQ(c.low, 0);
    EXPECT_EQ(Step("expect signal COOLING_FAN 1").condition.low, 1);

    c = Step("expect readout state \"state: 3 (파워 온 대기)\"").condition;
    EXPECT_EQ(c.kind, CScenarioCondition::READOUT);
    EXPECT_EQ(c.index, READOUT_STATE);
    EXPECT_EQ(c.text, "state: 3 (파워 온 대기)");
    c = Step("run-until readout run_sec run_sec: 12 within 20000").condition;
    EXPECT_EQ(c.index, READOUT_RUN_SEC);
    EXPECT_EQ(c.text, "run_sec: 12") << "unquoted text ends before \"within\"";

    c = Step("expect lamp green off").condition;
    EXPECT_EQ(c.kind, CScenarioCondition::LAMP);
    EXPECT_EQ(c.index, LAMP_GREEN);
    EXPECT_EQ(c.low, 0);
    EXPECT_EQ(Step("expect lamp blue on").condition.low, 1);

    c = Step("expect motor exit 100").condition;
    EXPECT_EQ(c.kind, CScenarioCondition::MOTOR);
    EXPECT_EQ(c.index, MOTOR_EXIT);
    EXPECT_TRUE(c.InRange(100));
    EXPECT_FALSE(c.InRange(98));
    c = Step("expect motor main 40..60").condition;
    EXPECT_EQ(c.index, MOTOR_MAIN);
    EXPECT_TRUE(c.InRange(40) && c.InRange(60));
    EXPECT_FALSE(c.InRange(39) || c.InRange(61));

    c = Step("expect beeps 10..11").condition;
    EXPECT_EQ(c.kind, CScenarioCondition::BEEPS);
    EXPECT_EQ(c.low, 10);
    EXPECT_EQ(c.high, 11);
    EXPECT_EQ(Step("run-until beeps 2 within 5000").condition.high, 2);
}

TEST_F(ScenarioParser, DescribesStepsAsTheyAreWritten)
{
    EXPECT_EQ(Step("expect state 5").condition.Describe(), "state 5 (워싱)");
    EXPECT_EQ(Step("expect readout run_sec \"run_sec: 3\"").Describe(), "expect readout run_sec \"run_sec: 3\"");
    EXPECT_EQ(Step("run-until motor disk 0 within 6000").Describe(), "run-until motor disk 0 within 6000");
    EXPECT_EQ(Step("click cover").Describe(), "click 커버 hold 100");
    EXPECT_EQ(Step("expect beeps 1..2").Describe(), "expect beeps 1..2");
    // A path that is more than one word keeps its quotes, so it reads back as itself.
    EXPECT_EQ(Step("snapshot \"out/a b.png\"").Describe(), "snapshot \"out/a b.png\"");
    EXPECT_EQ(Step("snapshot \"#1.png\"").Describe(), "snapshot \"#1.png\"");
    EXPECT_EQ(Step("snapshot out/a#1.png").Describe(), "snapshot out/a#1.png");
}

TEST_F(ScenarioParser, RefusesUnknownStepsWithTheirLine)
{
    Refused("wait 10\nfrobnicate 3\n", 2, "unknown step 'frobnicate'");
    Refused("wait 10\n\n# fine so far\nRun-Until state 3\n", 4, "unknown step 'Run-Until'");
    Refused("expect colour red\n", 1, "unknown condition 'colour'");
}

TEST_F(ScenarioParser, RefusesBadNumbersWithTheirLine)
{
    Refused("wait 1x\n", 1, "bad number '1x'");
    Refused("wait 10\nwait -5\n", 2, "out of range");
    Refused("wait 10\nwait 10\nclick 커버 hold soon\n", 3, "bad number 'soon'");
    Refused("run-until state 3 within 1.5\n", 1, "bad number '1.5'");
    Refused("expect state 11\n", 1, "out of range 1..10");
    Refused("expect motor disk 101\n", 1, "out of range");
    Refused("expect beeps 3..1\n", 1, "empty range");
    Refused("expect beeps 1..x\n", 1, "bad number 'x'");
    Refused("click 12 y\n", 1, "bad number 'y'");
}

TEST_F(ScenarioParser, RefusesUnknownCaptionsAndNamesWithTheirLine)
{
    Refused("wait 10\nclick 뚜껑\n", 2, "unknown input '뚜껑'");
    Refused("press lid\n", 1, "unknown input 'lid'");
    Refused("release 서랍열림\n", 1, "unknown input");
    Refused("expect signal RED_LAMP 1\n", 1, "unknown signal 'RED_LAMP'");
    Refused("expect signal port0.bit0 1\n", 1, "unknown signal");
    Refused("expect state 세척\n", 1, "unknown state '세척'");
    Refused("expect lamp yellow on\n", 1, "unknown lamp 'yellow'");
    Refused("expect motor fan 0\n", 1, "unknown motor 'fan'");
    Refused("expect readout clock \"12\"\n", 1, "unknown readout 'clock'");
    Refused("expect signal RED_LED high\n", 1, "bad level 'high'");
    Refused("expect lamp red lit\n", 1, "bad lamp state 'lit'");
}

TEST_F(ScenarioParser, RefusesMissingAndExtraArgumentsWithTheirLine)
{
    Refused("wait\n", 1, "missing argument: wait MS");
    Refused("wait 10\npress\n", 2, "missing argument");
    Refused("click 52\n", 1, "missing argument");
    Refused("run-until\n", 1, "missing argument");
    Refused("run-until state 3 within\n", 1, "missing argument: within MS");
    Refused("expect\n", 1, "missing argument");
    Refused("expect signal RED_LED\n", 1, "missing argument");
    Refused("expect readout state\n", 1, "missing argument");
    Refused("snapshot\n", 1, "missing argument");
    Refused("wait 10 20\n", 1, "unexpected '20'");
    Refused("reset-cpu now\n", 1, "unexpected 'now'");
    Refused("expect lamp red on please\n", 1, "unexpected 'please'");
    Refused("snapshot panel.jpg\n", 1, "does not end in .png");
    Refused("snapshot .png\n", 1, "snapshot file '.png' has no name before .png");
    Refused("snapshot shots/.png\n", 1, "snapshot file 'shots/.png' has no name before .png");
    Refused("run-until state 3 within 10 within 20\n", 1, "within given twice");
    Refused("run-until state 3 after 5 within 10 after 6\n", 1, "after given twice");
    Refused("expect readout state \"state: 3\n", 1, "unterminated quote");
    // A quote inside a word: the text's opening quote forgotten.
    Refused("wait 1\nexpect readout state state: 5\"\n", 2, "stray quote in '5\"'");
    Refused("snapshot a\"b\".png\n", 1, "stray quote in 'a\"b\".png'");
}

// Faults, clears, expect-for, run-until's "after", not, var and timer, each
// read back as it is written.
TEST_F(ScenarioParser, ReadsFaultsTimedExpectationsAndFirmwareConditions)
{
    struct Case {
        const char* line;
        const char* described;
    };
    // clang-format off
    const Case cases[] = {
        {"fault DISK_MOT_LS stuck 1",       "fault DISK_MOT_LS stuck 1"},
        {"fault OVER_SENSOR_CCW stuck 0",   "fault OVER_SENSOR_CCW stuck 0"},
        {"fault motor exit jammed",         "fault motor exit jammed"},
        {"fault heater dead",               "fault heater dead"},
        {"clear OVER_SENSOR_CW",            "clear OVER_SENSOR_CW"},
        {"clear motor main",                "clear motor main"},
        {"clear heater",                    "clear heater"},
        {"clear all",                       "clear all"},
        {"expect-for 20000 signal HEATER 1", "expect-for 20000 signal HEATER 1"},
        {"expect-for 5 not lamp red on",    "expect-for 5 not lamp red on"},
        {"run-until state 3 within 1000 after 500", "run-until state 3 (파워 온 대기) within 1000 after 500"},
        {"run-until state 3 after 500 within 1000", "run-until state 3 (파워 온 대기) within 1000 after 500"},
        {"run-until not state 3 after 500", "run-until not state 3 (파워 온 대기) within 600000 after 500"},
        {"run-until readout run_sec run_sec: 12 after 10 within 20000",
                                            "run-until readout run_sec \"run_sec: 12\" within 20000 after 10"},
        {"expect var disk_retry_ls 0",      "expect var disk_retry_ls 0"},
        {"expect var last_event -1..3",     "expect var last_event -1..3"},
        {"expect var now_ms 4294967295",    "expect var now_ms 4294967295"},
        {"expect timer disk_timer running", "expect timer disk_timer running"},
        {"expect not timer water_timer idle", "expect not timer water_timer idle"},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(Step(c.line).Describe(), c.described) << c.line;
        // And what is described reads back as itself (a state's name in brackets is for people).
        if (!std::strstr(c.described, " (")) {
            EXPECT_EQ(Step(c.described).Describe(), c.described);
        }
    }

    const CScenarioStep stuck = Step("fault DISK_MOT_LS stuck 1");
    EXPECT_EQ(stuck.kind, CScenarioStep::FAULT);
    EXPECT_EQ(stuck.fault.kind, CPlantFault::STUCK_SWITCH);
    EXPECT_EQ(stuck.fault.index, 1);
    EXPECT_EQ(stuck.fault.level, 1);
    EXPECT_TRUE(Step("clear all").allFaults);
    const CScenarioStep watch = Step("expect-for 300 not var heater_reading 1..800");
    EXPECT_EQ(watch.ms, 300u);
    EXPECT_TRUE(watch.condition.negated);
    EXPECT_EQ(watch.condition.low, 1);
    EXPECT_EQ(watch.condition.high, 800);
}

TEST_F(ScenarioParser, RefusesBadFaultsTimedExpectationsAndFirmwareConditions)
{
    struct Case {
        const char* text;
        const char* reason;
    };
    // clang-format off
    const Case cases[] = {
        {"fault DISK_MOT_A stuck 1",   "unknown part 'DISK_MOT_A' (DISK_MOT_RS, DISK_MOT_LS, OVER_SENSOR_CCW, "
                                       "OVER_SENSOR_CW, motor or heater)"},
        {"fault DISK_MOT_LS stuck 2",  "bad level '2' (0 or 1)"},
        {"fault DISK_MOT_LS stuck",    "missing argument: fault SIGNAL stuck 0|1"},
        {"fault DISK_MOT_LS jammed",   "expected 'stuck', not 'jammed'"},
        {"fault motor fan jammed",     "unknown motor 'fan' (disk, exit or main)"},
        {"fault motor disk stuck 1",   "expected 'jammed', not 'stuck'"},
        {"fault heater cold",          "expected 'dead', not 'cold'"},
        {"fault heater dead now",      "unexpected 'now'"},
        {"clear motor",                "missing argument: clear SIGNAL"},
        {"clear everything",           "unknown part 'everything'"},
        {"clear all now",              "unexpected 'now'"},
        {"expect-for 0 state 3",       "out of range 1..1000000000"},
        {"expect-for state 3",         "bad number 'state'"},
        {"expect-for 100",             "missing argument: expect-for MS CONDITION"},
        {"run-until state 3 within 100 after 500", "after 500 is beyond within 100"},
        {"run-until state 3 after",    "missing argument: after MS"},
        {"expect var retries 0",       "unknown variable 'retries' (state_index, state_number, "},
        {"expect var now_ms 1..x",     "bad number 'x'"},
        {"expect var disk_retry_ls 256", "number 256 out of range 0..255"},
        {"expect var last_event -2147483649", "out of range -2147483648..2147483647"},
        {"expect var run_sec",         "missing argument"},
        {"expect timer egg_timer idle", "unknown timer 'egg_timer' (tick_timer, beeper_timer, "},
        {"expect timer disk_timer stopped", "bad timer status 'stopped' (running or idle)"},
        {"expect not not state 3",     "'not not'"},
        {"expect not",                 "missing argument"},
        {"frobnicate",                 "unknown step 'frobnicate' (wait, press, release, click, run-until, expect, "
                                       "expect-for, fault, clear, reset-cpu or snapshot)"},
        {"expect colour red",          "(state, signal, readout, lamp, motor, beeps, var, timer or not)"},
        {"expect signal RED_LAMP 1",   "(RED_LED, DISK_MOT_RS, DISK_MOT_LS, WATER_SOL, "},
        {"expect state 세척",           "(기동, 파워 오프, 파워 온 대기, 커버 열림, 워싱, 컷팅, 건조, 배출, 서랍열림 or "
                                       "수동세척, or their numbers 1..10)"},
    };
    // clang-format on
    for (const Case& c : cases)
        Refused(std::string("wait 1\n") + c.text + "\n", 2, c.reason);
    Refused("expect var disk_retry_ls 0\nexpect var run_sec 1\nexpect signal X 1\n", 3, "POWER_ON_OFF or COOLING_FAN)");
    Refused("expect timer disk_timer idle\nexpect timer x running\n", 2, "main_motor_timer or water_timer)");
    Refused("expect var x 0\n", 1, "saved_run_sec or saved_now_ms)");
}

TEST_F(ScenarioParser, TakesCarriageReturnsByteOrderMarkAndQuotedHashes)
{
    const std::vector<CScenarioStep> steps =
        Steps("\xEF\xBB\xBFwait 5\r\nexpect readout run_sec \"a # b\"  # a comment\r\n");
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].ms, 5u);
    EXPECT_EQ(steps[1].condition.text, "a # b");
}

TEST_F(ScenarioParser, AFileThatCannotBeReadIsAnErrorOfTheFile)
{
    EXPECT_FALSE(m_parser.ParseFile("/nonexistent/dir/x.scn"));
    EXPECT_EQ(m_parser.ErrorLine(), 0);
    EXPECT_EQ(m_parser.ErrorMessage("x.scn"), "x.scn: No such file or directory");

    const std::string path = ::testing::TempDir() + "parser_test.scn";
    std::ofstream(path) << "wait 10\nclick 전원\nwait ten\n";
    EXPECT_FALSE(m_parser.ParseFile(path));
    EXPECT_EQ(m_parser.ErrorMessage("p.scn"), "p.scn:3: bad number 'ten'");
    std::remove(path.c_str());
}

}  // namespace
