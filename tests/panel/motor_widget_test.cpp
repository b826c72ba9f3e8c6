// Motors travelling between their end stops, and the relay that steers one.

#include "panel/motor_widget.h"

#include <vector>

#include "panel/picture_ids.h"
#include "panel/relay_widget.h"
#include "widget_fixture.h"

namespace {

using MotorWidget = WidgetTest;

std::vector<int> frames_over(CMotorWidget& motor, int ticks)
{
    std::vector<int> frames;
    for (int i = 0; i < ticks; ++i) {
        EXPECT_EQ(motor.OnTick(), 1) << "a running motor animates";
        frames.push_back(motor.m_frame.load());
    }
    return frames;
}

TEST_F(MotorWidget, ForwardStopsAtTheHighEndAndKeepsTurning)
{
    CMotorWidget motor;
    motor.m_position.store(98);
    motor.StartMotor(CMotorWidget::FORWARD);
    EXPECT_EQ(frames_over(motor, 5), (std::vector<int>{1, 2, 3, 0, 1})) << "3 is followed by 0";
    EXPECT_EQ(motor.m_position.load(), 100) << "capped at the end stop";
}

TEST_F(MotorWidget, BackwardStopsAtTheLowEndAndKeepsTurning)
{
    CMotorWidget motor;
    motor.m_position.store(0);
    motor.StartMotor(CMotorWidget::BACKWARD);
    EXPECT_EQ(frames_over(motor, 5), (std::vector<int>{3, 2, 1, 0, 3})) << "0 is followed by 3";
    EXPECT_EQ(motor.m_position.load(), 0) << "never below 0";
}

TEST_F(MotorWidget, TravelsFromTheMiddleToAnEndIn25TicksAndEndToEndIn50)
{
    CMotorWidget motor;
    motor.StartMotor(CMotorWidget::FORWARD);
    frames_over(motor, 24);
    EXPECT_EQ(motor.m_position.load(), 98);
    frames_over(motor, 1);
    EXPECT_EQ(motor.m_position.load(), 100);
    motor.SetDirection(1);
    frames_over(motor, 49);
    EXPECT_EQ(motor.m_position.load(), 2);
    frames_over(motor, 1);
    EXPECT_EQ(motor.m_position.load(), 0);
}

TEST_F(MotorWidget, StartingARunningMotorOnlyChangesItsDirection)
{
    CMotorWidget motor;
    motor.StartMotor(CMotorWidget::FORWARD);
    frames_over(motor, 2);
    motor.StartMotor(CMotorWidget::BACKWARD);
    EXPECT_EQ(motor.m_frame.load(), 2) << "the frame is not reset";
    EXPECT_EQ(motor.m_direction.load(), CMotorWidget::BACKWARD);
    frames_over(motor, 1);
    EXPECT_EQ(motor.m_frame.load(), 1);
    EXPECT_EQ(motor.m_position.load(), 52) << "two steps up, one back";

    motor.StopMotor();
    motor.StartMotor(CMotorWidget::FORWARD);
    EXPECT_EQ(motor.m_frame.load(), 0) << "a fresh start begins at frame 0";
}

TEST_F(MotorWidget, SetStateStartsInTheCurrentDirectionAndStops)
{
    CMotorWidget motor;
    motor.SetDirection(1);
    motor.SetState(1);
    EXPECT_EQ(motor.m_running.load(), 1);
    EXPECT_EQ(motor.m_direction.load(), CMotorWidget::BACKWARD);
    motor.SetState(0);
    EXPECT_EQ(motor.m_running.load(), 0);
}

TEST_F(MotorWidget, OnlyTheLow8BitsOfADirectionCount)
{
    CMotorWidget motor;
    motor.SetDirection(256);
    EXPECT_EQ(motor.m_direction.load(), CMotorWidget::FORWARD) << "256 has no low bits";
    motor.SetDirection(0x101);
    EXPECT_EQ(motor.m_direction.load(), CMotorWidget::BACKWARD);
}

TEST_F(MotorWidget, DrawsItsFrameWhileRunningAndTheRestPictureWhenStopped)
{
    CMotorWidget motor;
    motor.Place("디스크 모터", 60, 145);
    const CRect rect{60, 145, 95, 180};
    motor.StartMotor(CMotorWidget::FORWARD);
    frames_over(motor, 3);
    EXPECT_EQ(DrawnBy(motor), (Calls{CSurfaceCall::Picture(PICTURE_MOTOR_FRAME_3, rect),
                                     CSurfaceCall::Text("디스크 모터", raised(rect), ABOVE)}));
    motor.StopMotor();
    EXPECT_EQ(DrawnBy(motor)[0], CSurfaceCall::Picture(PICTURE_MOTOR_STOPPED, rect))
        << "stopped draws 132 whatever its frame";
    EXPECT_EQ(motor.m_position.load(), 56) << "and keeps its position";
}

TEST_F(MotorWidget, TheRelaySteersItsTargetOnly)
{
    CMotorWidget motor;
    CRelayWidget relay;
    relay.SetState(1);  // no target yet: ignored
    relay.SetTarget(&motor);
    EXPECT_EQ(relay.m_rect, (CRect{0, 0, 0, 0}));
    relay.SetState(1);
    EXPECT_EQ(motor.m_direction.load(), CMotorWidget::BACKWARD) << "relay on turns the motor backward";
    EXPECT_EQ(motor.m_running.load(), 0) << "the relay does not start the motor";
    relay.SetState(0);
    EXPECT_EQ(motor.m_direction.load(), CMotorWidget::FORWARD);
    EXPECT_EQ(DrawnBy(relay), Calls{});
}

}  // namespace
