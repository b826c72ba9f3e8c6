#pragma once
// The six 8-bit port registers of the controller and the signal map.
//
// The bytes are the whole electrical interface between the firmware and the
// simulated world around it. They are 0 at program start and nothing ever
// clears them: only the writers of single bits change them. Both threads write
// bits of port0, port2 and port4, so every bit change is one atomic
// read-modify-write of one byte and a write from the other thread is never lost.

#include <atomic>
#include <cstdint>

extern std::atomic<uint8_t> port0;
extern std::atomic<uint8_t> port1;
extern std::atomic<uint8_t> port2;
extern std::atomic<uint8_t> port3;
extern std::atomic<uint8_t> port4;
extern std::atomic<uint8_t> port5;

// One named signal: a bit of one port byte.
struct port_signal {
    uint8_t port;  // 0..5
    uint8_t bit;   // 0..7

    constexpr bool operator==(const port_signal&) const = default;
};

// port_bytes[n] is portn.
extern std::atomic<uint8_t>* const port_bytes[6];

// Outputs driven by the firmware.
inline constexpr port_signal HEATER_FAN{0, 2};
inline constexpr port_signal COOLING_FAN{0, 5};
inline constexpr port_signal GREEN_LED{1, 6};
inline constexpr port_signal BLUE_LED{1, 7};
inline constexpr port_signal MAIN_FAN{2, 6};
inline constexpr port_signal MAIN_MOTOR{3, 2};
inline constexpr port_signal RELAY{3, 4};
inline constexpr port_signal DISK_MOT_A{4, 0};  // toward RS, position 0
inline constexpr port_signal DISK_MOT_B{4, 2};  // toward LS, position 100
inline constexpr port_signal EXIT_MOT_A{4, 3};  // toward CCW, position 0
inline constexpr port_signal EXIT_MOT_B{4, 4};  // toward CW, position 100
inline constexpr port_signal RED_LED{5, 0};
inline constexpr port_signal WATER_SOL{5, 6};
inline constexpr port_signal HEATER{5, 7};

// Inputs read by the firmware.
inline constexpr port_signal POWER_ON_OFF{0, 4};     // 0 = power key pressed
inline constexpr port_signal SOL_VALVE{2, 0};        // 0 = manual-wash key pressed
inline constexpr port_signal DRAWER{2, 1};           // 1 = drawer open
inline constexpr port_signal RUN_KEY{4, 5};          // 1 = cover open
inline constexpr port_signal OVER_SENSOR_CCW{3, 5};  // 0 = exit mechanism at CCW
inline constexpr port_signal OVER_SENSOR_CW{3, 6};   // 0 = exit mechanism at CW
inline constexpr port_signal DISK_MOT_RS{5, 4};      // 0 = disk at RS
inline constexpr port_signal DISK_MOT_LS{5, 5};      // 0 = disk at LS

// Wired, but neither the firmware nor the board uses them.
inline constexpr port_signal TEMP_HEATER{0, 3};
inline constexpr port_signal FAN_ENCODER{2, 2};
inline constexpr port_signal SDA{2, 4};
inline constexpr port_signal SCL{2, 5};
inline constexpr port_signal BUZZER{3, 3};

// Bit operations on one byte; each is a single atomic operation.
inline void port_bit_write(std::atomic<uint8_t>& port, int bit, bool level)
{
    const uint8_t mask = static_cast<uint8_t>(1u << bit);
    if (level)
        port.fetch_or(mask, std::memory_order_relaxed);
    else
        port.fetch_and(static_cast<uint8_t>(~mask), std::memory_order_relaxed);
}

inline bool port_bit_read(const std::atomic<uint8_t>& port, int bit)
{
    return (port.load(std::memory_order_relaxed) >> bit) & 1u;
}

// All six bytes read at once, port0 in the high byte: one number to compare
// with the last, to see at a glance whether any bit moved.
inline uint64_t port_bytes_snapshot()
{
    uint64_t bytes = 0;
    for (std::atomic<uint8_t>* port : port_bytes)
        bytes = bytes << 8 | port->load(std::memory_order_relaxed);
    return bytes;
}

// A signal's level in such a snapshot.
inline uint8_t snapshot_bit(uint64_t bytes, port_signal s)
{
    return static_cast<uint8_t>((bytes >> (8 * (5 - s.port) + s.bit)) & 1u);
}

// The same by signal name.
inline void sig_write(port_signal s, bool level) { port_bit_write(*port_bytes[s.port], s.bit, level); }
inline void sig_on(port_signal s) { sig_write(s, true); }
inline void sig_off(port_signal s) { sig_write(s, false); }
inline uint8_t sig_read(port_signal s) { return port_bit_read(*port_bytes[s.port], s.bit) ? 1 : 0; }
