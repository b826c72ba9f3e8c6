// The simulator's schematic: which signal sits on which bit, with which
// polarity, and which panel widget shows or drives it. Pins are appended to
// the board's list in this order and every exchange walks them in it. The
// end-stop inputs have no widget: the board writes them from the motors.

#include "app/simulator_view.h"
#include "board/port_bytes.h"
#include "board/port_pin.h"
#include "board/sim_board.h"
#include "board/word_binding.h"
#include "firmware/fw_board_vars.h"

namespace {

constexpr int32_t NORMAL = 0;
constexpr int32_t INVERTED = 1;

struct CWiring {
    const char* name;
    port_signal signal;
    int32_t polarity;
    CPanelWidget* widget;  // null: bound without a widget
};

CPortPin& pin_of(port_signal signal) { return g_pins[signal.port * 8 + signal.bit]; }

}  // namespace

void CSimBoard::Attach(CSimulatorView& view)
{
    // clang-format off
    const CWiring wiring[] = {
        {"RED_LED",         RED_LED,         NORMAL,   &view.m_lampRed},
        {"DISK_MOT_RS",     DISK_MOT_RS,     NORMAL,   nullptr},
        {"DISK_MOT_LS",     DISK_MOT_LS,     NORMAL,   nullptr},
        {"WATER_SOL",       WATER_SOL,       NORMAL,   &view.m_valveWater},
        {"HEATER",          HEATER,          NORMAL,   &view.m_gaugeHeater},
        {"DISK_MOT_A",      DISK_MOT_A,      NORMAL,   nullptr},
        {"DISK_MOT_B",      DISK_MOT_B,      NORMAL,   nullptr},
        {"EXIT_MOT_A",      EXIT_MOT_A,      NORMAL,   nullptr},
        {"EXIT_MOT_B",      EXIT_MOT_B,      NORMAL,   nullptr},
        {"RUN_KEY",         RUN_KEY,         NORMAL,   &view.m_cover},
        {"MAIN_MOTOR",      MAIN_MOTOR,      NORMAL,   &view.m_motorMain},
        {"BUZZER",          BUZZER,          NORMAL,   nullptr},
        {"RELAY",           RELAY,           NORMAL,   &view.m_relayMain},
        {"OVER_SENSOR_CCW", OVER_SENSOR_CCW, INVERTED, nullptr},
        {"OVER_SENSOR_CW",  OVER_SENSOR_CW,  INVERTED, nullptr},
        {"SOL_VALVE",       SOL_VALVE,       INVERTED, &view.m_keyManualWash},
        {"DRAWER",          DRAWER,          NORMAL,   &view.m_drawer},
        {"FAN_ENCODER",     FAN_ENCODER,     NORMAL,   nullptr},
        {"SDA",             SDA,             NORMAL,   nullptr},
        {"SCL",             SCL,             NORMAL,   nullptr},
        {"MAIN_FAN",        MAIN_FAN,        NORMAL,   &view.m_fanMain},
        {"GREEN_LED",       GREEN_LED,       NORMAL,   &view.m_lampGreen},
        {"BLUE_LED",        BLUE_LED,        NORMAL,   &view.m_lampBlue},
        {"HEATER_FAN",      HEATER_FAN,      NORMAL,   &view.m_fanHeater},
        {"TEMP_HEATER",     TEMP_HEATER,     NORMAL,   nullptr},
        {"POWER_ON_OFF",    POWER_ON_OFF,    INVERTED, &view.m_keyPower},
        {"COOLING_FAN",     COOLING_FAN,     NORMAL,   &view.m_fanCooling},
    };
    // clang-format on

    for (const CWiring& row : wiring) {
        CPortPin& pin = pin_of(row.signal);
        m_pins.push_back(&pin);
        pin.Bind(port_bytes[row.signal.port], row.signal.bit, row.polarity, row.name, row.widget);
    }

    m_words.push_back(&g_stateBinding);
    g_stateBinding.Bind(&state_number, &view.m_readoutState);
    m_words.push_back(&g_runSecBinding);
    g_runSecBinding.Bind(&run_sec, &view.m_readoutRunSec);
}
