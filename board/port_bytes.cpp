#include "board/port_bytes.h"

std::atomic<uint8_t> port0{0};
std::atomic<uint8_t> port1{0};
std::atomic<uint8_t> port2{0};
std::atomic<uint8_t> port3{0};
std::atomic<uint8_t> port4{0};
std::atomic<uint8_t> port5{0};

std::atomic<uint8_t>* const port_bytes[6] = {&port0, &port1, &port2, &port3, &port4, &port5};
