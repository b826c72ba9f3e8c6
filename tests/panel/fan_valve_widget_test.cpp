// Fans and the water valve: two alternating pictures while running, and every
// start begins at frame 0.

#include "panel/fan_widget.h"
#include "panel/picture_ids.h"
#include "panel/valve_widget.h"
#include "widget_fixture.h"

namespace {

using FanValveWidget = WidgetTest;

TEST_F(FanValveWidget, FanAlternatesAndRestartsAtFrame0)
{
    CFanWidget fan;
    fan.Place("메인팬", 360, 145);
    const CRect rect{360, 145, 395, 180};
    EXPECT_EQ(fan.OnTick(), 0) << "a stopped fan does not animate";
    EXPECT_EQ(DrawnBy(fan), (Calls{CSurfaceCall::Picture(PICTURE_FAN_FRAME_0, rect),
                                   CSurfaceCall::Text("메인팬", raised(rect), ABOVE)}));

    fan.SetState(1);
    EXPECT_EQ(fan.OnTick(), 1);
    EXPECT_EQ(fan.m_frame.load(), 1);
    EXPECT_EQ(DrawnBy(fan)[0], CSurfaceCall::Picture(PICTURE_FAN_FRAME_1, rect));
    fan.SetState(1);
    EXPECT_EQ(fan.m_frame.load(), 0) << "a 1 on a running fan restarts its animation";
    fan.OnTick();
    fan.OnTick();
    EXPECT_EQ(fan.m_frame.load(), 0);

    fan.OnTick();
    fan.SetState(0);
    EXPECT_EQ(fan.OnTick(), 0);
    EXPECT_EQ(fan.m_frame.load(), 1) << "stopping leaves the frame";
    EXPECT_EQ(DrawnBy(fan)[0], CSurfaceCall::Picture(PICTURE_FAN_FRAME_0, rect)) << "at rest: 149";
}

TEST_F(FanValveWidget, ValveShowsAnEmptyPipeWhenClosed)
{
    CValveWidget valve;
    valve.Place("워터 솔레노이드", 380, 77);
    const CRect rect{380, 77, 428, 92};
    EXPECT_EQ(DrawnBy(valve), (Calls{CSurfaceCall::Picture(PICTURE_VALVE_IDLE, rect),
                                     CSurfaceCall::Text("워터 솔레노이드", raised(rect), ABOVE)}));
    valve.SetState(1);
    EXPECT_EQ(DrawnBy(valve)[0], CSurfaceCall::Picture(PICTURE_VALVE_FRAME_0, rect));
    EXPECT_EQ(valve.OnTick(), 1);
    EXPECT_EQ(DrawnBy(valve)[0], CSurfaceCall::Picture(PICTURE_VALVE_FRAME_1, rect));
    valve.SetState(1);
    EXPECT_EQ(valve.m_frame.load(), 0) << "reopening restarts at frame 0";
    valve.OnTick();
    valve.SetState(0);
    EXPECT_EQ(valve.OnTick(), 0);
    EXPECT_EQ(DrawnBy(valve)[0], CSurfaceCall::Picture(PICTURE_VALVE_IDLE, rect));
}

}  // namespace
