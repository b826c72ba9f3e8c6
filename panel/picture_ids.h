#pragma once
// The pictures of the appliance's parts, by resource identifier. Each is a
// 24-bit colour image of exactly the size given; there is no picture 141.

#include <cstdint>

inline constexpr int PICTURE_KEY_DOWN = 130;       // 24 x 23, red push button pressed
inline constexpr int PICTURE_KEY_UP = 131;         // 24 x 23, red push button up
inline constexpr int PICTURE_MOTOR_STOPPED = 132;  // 35 x 35, rotor upright on white
inline constexpr int PICTURE_MOTOR_FRAME_0 = 133;  // 35 x 35, running frames 0..3 are 133..136
inline constexpr int PICTURE_MOTOR_FRAME_1 = 134;
inline constexpr int PICTURE_MOTOR_FRAME_2 = 135;
inline constexpr int PICTURE_MOTOR_FRAME_3 = 136;
inline constexpr int PICTURE_COVER_CLOSED = 137;   // 161 x 21, lid bar
inline constexpr int PICTURE_COVER_OPEN = 138;     // 161 x 61, lid raised
inline constexpr int PICTURE_BODY = 139;           // 161 x 121, appliance body
inline constexpr int PICTURE_DRAWER_CLOSED = 140;  // 161 x 21, drawer pushed in
inline constexpr int PICTURE_DRAWER_OPEN = 142;    // 261 x 21, drawer pulled out
inline constexpr int PICTURE_LAMP_BLUE_OFF = 143;  // 20 x 20 lamps, dark and lit
inline constexpr int PICTURE_LAMP_BLUE_ON = 144;
inline constexpr int PICTURE_LAMP_GREEN_OFF = 145;
inline constexpr int PICTURE_LAMP_GREEN_ON = 146;
inline constexpr int PICTURE_LAMP_RED_OFF = 147;
inline constexpr int PICTURE_LAMP_RED_ON = 148;
inline constexpr int PICTURE_FAN_FRAME_0 = 149;  // 35 x 35, also the fan at rest
inline constexpr int PICTURE_FAN_FRAME_1 = 150;
inline constexpr int PICTURE_VALVE_IDLE = 151;     // 48 x 15, empty pipe
inline constexpr int PICTURE_VALVE_FRAME_0 = 152;  // 48 x 15, water flowing, two phases
inline constexpr int PICTURE_VALVE_FRAME_1 = 153;
inline constexpr int PICTURE_BUZZER_SILENT = 154;    // 30 x 30, loudspeaker
inline constexpr int PICTURE_BUZZER_SOUNDING = 155;  // 30 x 30, loudspeaker with a red dot
inline constexpr int PICTURE_GUIDE = 156;            // 218 x 49, operating hints

// Every picture with its size, for whoever makes or loads them.
struct picture_size {
    int id;
    int32_t width;
    int32_t height;
};

inline constexpr picture_size PICTURE_SIZES[] = {
    {PICTURE_KEY_DOWN, 24, 23},        {PICTURE_KEY_UP, 24, 23},         {PICTURE_MOTOR_STOPPED, 35, 35},
    {PICTURE_MOTOR_FRAME_0, 35, 35},   {PICTURE_MOTOR_FRAME_1, 35, 35},  {PICTURE_MOTOR_FRAME_2, 35, 35},
    {PICTURE_MOTOR_FRAME_3, 35, 35},   {PICTURE_COVER_CLOSED, 161, 21},  {PICTURE_COVER_OPEN, 161, 61},
    {PICTURE_BODY, 161, 121},          {PICTURE_DRAWER_CLOSED, 161, 21}, {PICTURE_DRAWER_OPEN, 261, 21},
    {PICTURE_LAMP_BLUE_OFF, 20, 20},   {PICTURE_LAMP_BLUE_ON, 20, 20},   {PICTURE_LAMP_GREEN_OFF, 20, 20},
    {PICTURE_LAMP_GREEN_ON, 20, 20},   {PICTURE_LAMP_RED_OFF, 20, 20},   {PICTURE_LAMP_RED_ON, 20, 20},
    {PICTURE_FAN_FRAME_0, 35, 35},     {PICTURE_FAN_FRAME_1, 35, 35},    {PICTURE_VALVE_IDLE, 48, 15},
    {PICTURE_VALVE_FRAME_0, 48, 15},   {PICTURE_VALVE_FRAME_1, 48, 15},  {PICTURE_BUZZER_SILENT, 30, 30},
    {PICTURE_BUZZER_SOUNDING, 30, 30}, {PICTURE_GUIDE, 218, 49},
};
