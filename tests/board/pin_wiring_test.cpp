// The wiring applied by Attach: the pins in their order, each widget's link,
// and the input widgets writing their bits through the polarity.

#include <gtest/gtest.h>

#include "board/port_bytes.h"
#include "board/port_pin.h"
#include "board/word_binding.h"
#include "support/sim_fixture.h"

namespace {

class PinWiring : public CSimFixture {};

TEST_F(PinWiring, AttachBindsTheWiredSignalsInTableOrder)
{
    const auto& pins = Board().m_pins;
    ASSERT_EQ(pins.size(), 27u);
    const char* names[27] = {
        "RED_LED",        "DISK_MOT_RS", "DISK_MOT_LS", "WATER_SOL",   "HEATER",       "DISK_MOT_A", "DISK_MOT_B",
        "EXIT_MOT_A",     "EXIT_MOT_B",  "RUN_KEY",     "MAIN_MOTOR",  "BUZZER",       "RELAY",      "OVER_SENSOR_CCW",
        "OVER_SENSOR_CW", "SOL_VALVE",   "DRAWER",      "FAN_ENCODER", "SDA",          "SCL",        "MAIN_FAN",
        "GREEN_LED",      "BLUE_LED",    "HEATER_FAN",  "TEMP_HEATER", "POWER_ON_OFF", "COOLING_FAN"};
    for (size_t i = 0; i < pins.size(); ++i)
        EXPECT_EQ(pins[i]->m_strName, names[i]) << "pin " << i + 1;
    EXPECT_EQ(pins[13]->m_bInverted, 1);
    EXPECT_EQ(pins[15]->m_bInverted, 1);
    EXPECT_EQ(pins[25]->m_bInverted, 1);
    EXPECT_EQ(pins[0]->m_pPort, &port5);
    EXPECT_EQ(pins[0]->m_nBit, 0);

    ASSERT_EQ(Board().m_words.size(), 2u);
    EXPECT_EQ(Board().m_words[0], &g_stateBinding);
    EXPECT_EQ(Board().m_words[1], &g_runSecBinding);
}

TEST_F(PinWiring, EachWidgetLinksBackToItsPinOrBinding)
{
    CSimulatorView& v = View();
    auto pin_named = [&](const char* name) -> CPortPin* {
        for (CPortPin* pin : Board().m_pins)
            if (pin->m_strName == name)
                return pin;
        return nullptr;
    };
    EXPECT_EQ(v.m_lampRed.m_pin, pin_named("RED_LED"));
    EXPECT_EQ(v.m_valveWater.m_pin, pin_named("WATER_SOL"));
    EXPECT_EQ(v.m_gaugeHeater.m_pin, pin_named("HEATER"));
    EXPECT_EQ(v.m_cover.m_pin, pin_named("RUN_KEY"));
    EXPECT_EQ(v.m_motorMain.m_pin, pin_named("MAIN_MOTOR"));
    EXPECT_EQ(v.m_relayMain.m_pin, pin_named("RELAY"));
    EXPECT_EQ(v.m_keyManualWash.m_pin, pin_named("SOL_VALVE"));
    EXPECT_EQ(v.m_drawer.m_pin, pin_named("DRAWER"));
    EXPECT_EQ(v.m_fanMain.m_pin, pin_named("MAIN_FAN"));
    EXPECT_EQ(v.m_lampGreen.m_pin, pin_named("GREEN_LED"));
    EXPECT_EQ(v.m_lampBlue.m_pin, pin_named("BLUE_LED"));
    EXPECT_EQ(v.m_fanHeater.m_pin, pin_named("HEATER_FAN"));
    EXPECT_EQ(v.m_keyPower.m_pin, pin_named("POWER_ON_OFF"));
    EXPECT_EQ(v.m_fanCooling.m_pin, pin_named("COOLING_FAN"));
    EXPECT_EQ(v.m_readoutState.m_binding, &g_stateBinding);
    EXPECT_EQ(v.m_readoutRunSec.m_binding, &g_runSecBinding);
    for (CPanelWidget* driven :
         {static_cast<CPanelWidget*>(&v.m_motorDisk), static_cast<CPanelWidget*>(&v.m_motorExit),
          static_cast<CPanelWidget*>(&v.m_diskStopLeft), static_cast<CPanelWidget*>(&v.m_diskStopRight),
          static_cast<CPanelWidget*>(&v.m_exitStopLeft), static_cast<CPanelWidget*>(&v.m_exitStopRight),
          static_cast<CPanelWidget*>(&v.m_buzzer)})
        EXPECT_EQ(driven->m_pin, nullptr) << driven->m_caption << " is driven by the board alone";
}

TEST_F(PinWiring, TheInputWidgetsWriteTheirBitsThroughThePolarity)
{
    Board().StartExchange();
    View().m_keyPower.OnMouseDown();
    EXPECT_EQ(port_bit_read(port0, 4), false) << "the power key pressed pulls POWER_ON_OFF low";
    View().m_keyPower.OnMouseUp();
    EXPECT_EQ(port_bit_read(port0, 4), true);

    View().m_cover.OnMouseDown();
    EXPECT_EQ(port_bit_read(port4, 5), true) << "the cover open sets RUN_KEY";
    View().m_drawer.OnMouseDown();
    EXPECT_EQ(port_bit_read(port2, 1), true) << "the drawer open sets DRAWER";

    // "Reset CPU" puts the bits at rest while the widgets keep showing the user's state.
    Board().StartExchange();
    EXPECT_EQ(View().m_cover.m_open.load(), 1);
    EXPECT_EQ(port_bit_read(port4, 5), false);
    View().m_cover.OnMouseDown();
    EXPECT_EQ(View().m_cover.m_open.load(), 0);
    EXPECT_EQ(port_bit_read(port4, 5), false) << "the next click closes it and writes 0 again";
}

}  // namespace
