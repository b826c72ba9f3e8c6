// The text readouts: bare number, "caption: n" and "caption: n (state name)".

#include "panel/readout_widget.h"

#include "widget_fixture.h"

namespace {

class ReadoutWidget : public WidgetTest {
protected:
    std::string Shown(CReadoutWidget& readout, int value)
    {
        readout.SetState(value);
        const Calls calls = DrawnBy(readout);
        EXPECT_EQ(calls.size(), 1u);
        return calls.empty() ? "" : calls[0].text;
    }
};

TEST_F(ReadoutWidget, StateReadoutNamesTheState)
{
    CReadoutWidget state;
    state.Place("state", 244, 336);
    state.m_showStateName = 1;
    EXPECT_EQ(DrawnBy(state), (Calls{CSurfaceCall::Text("state: 0 ()", CRect{244, 336, 245, 337}, CENTRED)}))
        << "before the firmware's first state, centred on the 1 x 1 anchor";
    EXPECT_EQ(Shown(state, 1), "state: 1 (기동)");
    EXPECT_EQ(Shown(state, 3), "state: 3 (파워 온 대기)");
    EXPECT_EQ(Shown(state, 5), "state: 5 (워싱)");
    EXPECT_EQ(Shown(state, 10), "state: 10 (수동세척)");
}

TEST_F(ReadoutWidget, ANumberThatIsNoStateHasAnEmptyName)
{
    CReadoutWidget state;
    state.Place("state", 244, 336);
    state.m_showStateName = 1;
    EXPECT_EQ(Shown(state, 11), "state: 11 ()") << "one past the table";
    EXPECT_EQ(Shown(state, -1), "state: -1 ()");
    EXPECT_EQ(Shown(state, 65535), "state: 65535 ()");
}

TEST_F(ReadoutWidget, RunSecondsAndTheBareNumber)
{
    CReadoutWidget runSec;
    runSec.Place("run_sec", 244, 351);
    EXPECT_EQ(Shown(runSec, 12), "run_sec: 12");
    EXPECT_EQ(Shown(runSec, 65535), "run_sec: 65535");

    CReadoutWidget bare;
    EXPECT_EQ(Shown(bare, 42), "42") << "an empty caption shows the bare number";
    bare.m_showStateName = 1;
    EXPECT_EQ(Shown(bare, 5), "5") << "with state names too";
}

}  // namespace
