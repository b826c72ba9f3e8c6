#include "board/wired_signals.h"

// clang-format off
const CWiredSignal WIRED_SIGNALS[WIRED_SIGNAL_COUNT] = {
    {"RED_LED",         RED_LED,         LINE_NORMAL},
    {"DISK_MOT_RS",     DISK_MOT_RS,     LINE_NORMAL},
    {"DISK_MOT_LS",     DISK_MOT_LS,     LINE_NORMAL},
    {"WATER_SOL",       WATER_SOL,       LINE_NORMAL},
    {"HEATER",          HEATER,          LINE_NORMAL},
    {"DISK_MOT_A",      DISK_MOT_A,      LINE_NORMAL},
    {"DISK_MOT_B",      DISK_MOT_B,      LINE_NORMAL},
    {"EXIT_MOT_A",      EXIT_MOT_A,      LINE_NORMAL},
    {"EXIT_MOT_B",      EXIT_MOT_B,      LINE_NORMAL},
    {"RUN_KEY",         RUN_KEY,         LINE_NORMAL},
    {"MAIN_MOTOR",      MAIN_MOTOR,      LINE_NORMAL},
    {"BUZZER",          BUZZER,          LINE_NORMAL},
    {"RELAY",           RELAY,           LINE_NORMAL},
    {"OVER_SENSOR_CCW", OVER_SENSOR_CCW, LINE_INVERTED},
    {"OVER_SENSOR_CW",  OVER_SENSOR_CW,  LINE_INVERTED},
    {"SOL_VALVE",       SOL_VALVE,       LINE_INVERTED},
    {"DRAWER",          DRAWER,          LINE_NORMAL},
    {"FAN_ENCODER",     FAN_ENCODER,     LINE_NORMAL},
    {"SDA",             SDA,             LINE_NORMAL},
    {"SCL",             SCL,             LINE_NORMAL},
    {"MAIN_FAN",        MAIN_FAN,        LINE_NORMAL},
    {"GREEN_LED",       GREEN_LED,       LINE_NORMAL},
    {"BLUE_LED",        BLUE_LED,        LINE_NORMAL},
    {"HEATER_FAN",      HEATER_FAN,      LINE_NORMAL},
    {"TEMP_HEATER",     TEMP_HEATER,     LINE_NORMAL},
    {"POWER_ON_OFF",    POWER_ON_OFF,    LINE_INVERTED},
    {"COOLING_FAN",     COOLING_FAN,     LINE_NORMAL},
};
// clang-format on
