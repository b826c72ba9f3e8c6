// Pins: a widget's logical state written through the polarity, and bit
// changes announced to the widget once, as logical values.

#include "board/port_pin.h"

#include <gtest/gtest.h>

#include <vector>

#include "board/port_bytes.h"
#include "panel/panel_widget.h"

namespace {

constexpr int32_t NORMAL = 0;
constexpr int32_t INVERTED = 1;

// Remembers every state it is given.
class CStateLog : public CPanelWidget {
public:
    void SetState(int value) override { m_states.push_back(value); }
    std::vector<int> m_states;
};

class PortPin : public ::testing::Test {
protected:
    void SetUp() override { ClearPorts(); }
    void TearDown() override { ClearPorts(); }
    static void ClearPorts()
    {
        for (auto* port : port_bytes)
            port->store(0);
    }

    CStateLog m_widget;
    CPortPin m_pin;
};

TEST_F(PortPin, BindLinksTheWidgetAndTakesThePhysicalLevel)
{
    port5.store(0x01);
    m_pin.Bind(&port5, 0, INVERTED, "RED_LED", &m_widget);
    EXPECT_EQ(m_widget.m_pin, &m_pin);
    EXPECT_EQ(m_pin.m_strName, "RED_LED");
    EXPECT_EQ(m_pin.m_bLevel.load(), 1) << "the level without polarity";
    m_pin.Refresh();
    EXPECT_TRUE(m_widget.m_states.empty()) << "binding announces nothing";
}

TEST_F(PortPin, WriteAppliesThePolarityToOneBitOnly)
{
    port0.store(0x24);  // both fans on
    m_pin.Bind(&port0, POWER_ON_OFF.bit, INVERTED, "POWER_ON_OFF", &m_widget);
    m_pin.Write(1);
    EXPECT_EQ(port0.load(), 0x24) << "inverted: active clears the bit";
    m_pin.Write(0);
    EXPECT_EQ(port0.load(), 0x34) << "inverted: inactive sets it";

    CPortPin normal;
    normal.Bind(&port4, RUN_KEY.bit, NORMAL, "RUN_KEY", nullptr);
    normal.Write(7);
    EXPECT_EQ(port4.load(), 0x20) << "any non-zero value is active";
    normal.Write(0);
    EXPECT_EQ(port4.load(), 0x00);
}

TEST_F(PortPin, AWritersOwnChangeIsNotAnnouncedBack)
{
    m_pin.Bind(&port2, MAIN_FAN.bit, NORMAL, "MAIN_FAN", &m_widget);
    m_pin.Write(1);
    m_pin.Refresh();
    EXPECT_TRUE(m_widget.m_states.empty());
}

TEST_F(PortPin, RefreshAnnouncesRealChangesAsLogicalValues)
{
    CStateLog inverted;
    CPortPin sensor;
    port3.store(0x20);
    sensor.Bind(&port3, OVER_SENSOR_CCW.bit, INVERTED, "OVER_SENSOR_CCW", &inverted);
    m_pin.Bind(&port3, MAIN_MOTOR.bit, NORMAL, "MAIN_MOTOR", &m_widget);

    port_bit_write(port3, MAIN_MOTOR.bit, true);
    port_bit_write(port3, OVER_SENSOR_CCW.bit, false);
    m_pin.Refresh();
    sensor.Refresh();
    EXPECT_EQ(m_widget.m_states, std::vector<int>{1});
    EXPECT_EQ(inverted.m_states, std::vector<int>{1}) << "an inverted bit falling to 0 is on";

    port_bit_write(port3, MAIN_MOTOR.bit, false);
    port_bit_write(port3, OVER_SENSOR_CCW.bit, true);
    m_pin.Refresh();
    sensor.Refresh();
    m_pin.Refresh();
    sensor.Refresh();
    EXPECT_EQ(m_widget.m_states, (std::vector<int>{1, 0})) << "a normal bit falling is off, once";
    EXPECT_EQ(inverted.m_states, (std::vector<int>{1, 0}));
}

TEST_F(PortPin, ABitBackAtItsOldLevelIsNotAnnounced)
{
    m_pin.Bind(&port1, GREEN_LED.bit, NORMAL, "GREEN_LED", &m_widget);
    sig_on(GREEN_LED);
    sig_off(GREEN_LED);
    m_pin.Refresh();
    EXPECT_TRUE(m_widget.m_states.empty()) << "two changes between refreshes cancel out";
}

TEST_F(PortPin, SampleTakesTheLevelSilently)
{
    m_pin.Bind(&port5, WATER_SOL.bit, NORMAL, "WATER_SOL", &m_widget);
    sig_on(WATER_SOL);
    m_pin.Sample();
    m_pin.Refresh();
    EXPECT_TRUE(m_widget.m_states.empty()) << "the sampled level is no change";
    sig_off(WATER_SOL);
    m_pin.Refresh();
    EXPECT_EQ(m_widget.m_states, std::vector<int>{0}) << "announced when it changes again";
}

TEST_F(PortPin, AWidgetThatTakesNoPinChangesOnlyMovesTheLevel)
{
    m_widget.m_pinDriven = 0;
    m_pin.Bind(&port2, DRAWER.bit, NORMAL, "DRAWER", &m_widget);
    sig_on(DRAWER);
    m_pin.Refresh();
    EXPECT_TRUE(m_widget.m_states.empty());
    EXPECT_EQ(m_pin.m_bLevel.load(), 1);

    CPortPin unwired;
    unwired.Bind(&port3, BUZZER.bit, NORMAL, "BUZZER", nullptr);
    sig_on(BUZZER);
    unwired.Refresh();
    EXPECT_EQ(unwired.m_bLevel.load(), 1) << "a pin without a widget still tracks its level";
}

}  // namespace
