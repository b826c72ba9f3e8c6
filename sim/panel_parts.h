#pragma once
// The panel's lamps and motors by the names scenarios, faults and traces give
// them, in one order: lamps red, green, blue; motors disk, exit, main.

#include <cstdint>

class CLampWidget;
class CMotorWidget;
class CSimulatorView;

enum : int32_t { LAMP_RED, LAMP_GREEN, LAMP_BLUE };
enum : int32_t { MOTOR_DISK, MOTOR_EXIT, MOTOR_MAIN };
inline constexpr int LAMP_COUNT = 3;
inline constexpr int MOTOR_COUNT = 3;
extern const char* const LAMP_NAMES[LAMP_COUNT];    // "red", "green", "blue"
extern const char* const MOTOR_NAMES[MOTOR_COUNT];  // "disk", "exit", "main"

CLampWidget& panel_lamp(CSimulatorView& view, int32_t lamp);
CMotorWidget& panel_motor(CSimulatorView& view, int32_t motor);
