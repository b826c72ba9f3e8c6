// The simulator's schematic: each wired signal (board/wired_signals.cpp gives
// its bit and polarity) bound to the panel widget that shows or drives it.
// Pins are appended to the board's list in the signals' order and every
// exchange walks them in it. The end-stop inputs have no widget: the board
// writes them from the motors.

#include "app/core/simulator_view.h"
#include "board/port_bytes.h"
#include "board/port_pin.h"
#include "board/sim_board.h"
#include "board/wired_signals.h"
#include "board/word_binding.h"
#include "firmware/fw_board_vars.h"

namespace {

struct CWidgetOf {
    port_signal signal;
    CPanelWidget* widget;
};

CPortPin& pin_of(port_signal signal) { return g_pins[signal.port * 8 + signal.bit]; }

}  // namespace

void CSimBoard::Attach(CSimulatorView& view)
{
    // The widget that shows or drives a signal; the end-stop inputs, the motor
    // drives, the buzzer line and the unused lines have none.
    const CWidgetOf widgets[] = {
        {RED_LED, &view.m_lampRed},         {WATER_SOL, &view.m_valveWater},   {HEATER, &view.m_gaugeHeater},
        {RUN_KEY, &view.m_cover},           {MAIN_MOTOR, &view.m_motorMain},   {RELAY, &view.m_relayMain},
        {SOL_VALVE, &view.m_keyManualWash}, {DRAWER, &view.m_drawer},          {MAIN_FAN, &view.m_fanMain},
        {GREEN_LED, &view.m_lampGreen},     {BLUE_LED, &view.m_lampBlue},      {HEATER_FAN, &view.m_fanHeater},
        {POWER_ON_OFF, &view.m_keyPower},   {COOLING_FAN, &view.m_fanCooling},
    };

    for (const CWiredSignal& row : WIRED_SIGNALS) {
        CPanelWidget* widget = nullptr;
        for (const CWidgetOf& w : widgets)
            if (w.signal == row.signal)
                widget = w.widget;
        CPortPin& pin = pin_of(row.signal);
        m_pins.push_back(&pin);
        pin.Bind(port_bytes[row.signal.port], row.signal.bit, row.polarity, row.name, widget);
    }

    m_words.push_back(&g_stateBinding);
    g_stateBinding.Bind(&state_number, &view.m_readoutState);
    m_words.push_back(&g_runSecBinding);
    g_runSecBinding.Bind(&run_sec, &view.m_readoutRunSec);
}
