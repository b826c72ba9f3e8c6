// The port bytes: one atomic read-modify-write per bit change, so two threads
// writing different bits of one byte never lose each other's bit.

#include <gtest/gtest.h>

#include <thread>

#include "board/port_bytes.h"

namespace {

class PortBytes : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (auto* port : port_bytes)
            port->store(0);
    }
    void TearDown() override { SetUp(); }
};

TEST_F(PortBytes, ASignalChangesOnlyItsOwnBit)
{
    port5.store(0x30);  // both disk end-stop inputs high
    sig_on(RED_LED);
    EXPECT_EQ(port5.load(), 0x31);
    sig_off(RED_LED);
    EXPECT_EQ(port5.load(), 0x30) << "the end-stop bits beside the lamp keep their values";
    sig_write(HEATER, true);
    EXPECT_EQ(sig_read(HEATER), 1);
    EXPECT_EQ(port5.load(), 0xB0);
}

TEST_F(PortBytes, TwoThreadsHammeringBitsOfOneByteLoseNothing)
{
    // The window's thread works the power key, the firmware the cooling fan, in port0.
    constexpr int ROUNDS = 200000;
    std::thread window([] {
        for (int i = 0; i < ROUNDS; ++i)
            sig_write(POWER_ON_OFF, i % 2 == 0);
    });
    std::thread firmware([] {
        for (int i = 0; i < ROUNDS; ++i)
            sig_write(COOLING_FAN, i % 2 == 0);
    });
    window.join();
    firmware.join();
    // Each thread's last write was "off"; and each bit must still follow its own writer.
    EXPECT_EQ(port0.load(), 0) << "both final writes took effect";

    std::thread a([] {
        for (int i = 0; i < ROUNDS; ++i)
            sig_write(POWER_ON_OFF, true);
    });
    std::thread b([] {
        for (int i = 0; i < ROUNDS; ++i)
            sig_write(COOLING_FAN, i % 2 == 1);
    });
    a.join();
    b.join();
    EXPECT_EQ(port0.load(), 0x30) << "key bit set, fan bit's last write set";
}

}  // namespace
