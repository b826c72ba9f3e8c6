#include "firmware/fw_events.h"

#include "firmware/fw_clock.h"
#include "firmware/fw_main.h"
#include "firmware/fw_timers.h"
#include "support/firmware_fixture.h"

namespace {

class Events : public CFirmwareFixture {
protected:
    void SetUp() override { InputsAtRest(); }
};

constexpr uint8_t ALL = 0x3F;

TEST_F(Events, TheFirstConditionInOrderDecides)
{
    state_index = ST_STANDBY;
    EXPECT_EQ(wait_event(ALL & ~MASK_COVER_CLOSED & ~MASK_DRAWER_CLOSED), EV_NONE) << "all at rest";
    EXPECT_EQ(wait_event(ALL), EV_COVER_CLOSED) << "the closed cover is a level";

    sig_on(RUN_KEY);
    sig_on(DRAWER);
    sig_off(POWER_ON_OFF);  // held down; not reached while cover or drawer is reported
    EXPECT_EQ(wait_event(ALL), EV_COVER_OPENED) << "an open cover wins over the drawer and the keys";
    EXPECT_EQ(cover_return_state, ST_STANDBY) << "the state it was opened in";
    EXPECT_EQ(wait_event(ALL & ~MASK_COVER_OPENED), EV_DRAWER_OPENED) << "the drawer next; the cover is open";
    EXPECT_EQ(drawer_return_state, ST_STANDBY);
    EXPECT_EQ(wait_event(MASK_DRAWER_CLOSED | MASK_WASH_KEY), EV_NONE) << "outside the mask nothing counts";

    sig_off(RUN_KEY);
    sig_off(DRAWER);
    EXPECT_EQ(wait_event(MASK_DRAWER_CLOSED | MASK_POWER_KEY), EV_DRAWER_CLOSED);
    sig_off(SOL_VALVE);
    m_harness.At(40, [] { sig_on(POWER_ON_OFF); });
    EXPECT_EQ(wait_event(MASK_POWER_KEY | MASK_WASH_KEY), EV_POWER_KEY) << "the power key before the wash key";
    m_harness.At(80, [] { sig_on(SOL_VALVE); });
    EXPECT_EQ(wait_event(MASK_POWER_KEY | MASK_WASH_KEY), EV_WASH_KEY);
    EXPECT_EQ(m_harness.Now(), 80u) << "a key is reported once released";
}

TEST_F(Events, PollStoresEveryResult)
{
    sig_on(RUN_KEY);
    EXPECT_TRUE(poll_event(MASK_COVER_OPENED));
    EXPECT_EQ(last_event, EV_COVER_OPENED);
    EXPECT_FALSE(poll_event(MASK_POWER_KEY));
    EXPECT_EQ(last_event, EV_NONE) << "EV_NONE is stored too";
}

TEST_F(Events, AHeldKeyStallsTheFirmwareUntilItsRelease)
{
    StartToStandby();
    const uint64_t t0 = m_harness.Now();
    m_harness.At(t0 + 100, [] { sig_off(POWER_ON_OFF); });
    m_harness.At(t0 + 5100, [] { sig_on(POWER_ON_OFF); });
    uint32_t stalledClock = 0;
    uint16_t stalledSec = 0;
    m_harness.At(t0 + 200, [&] {
        stalledClock = now_ms;
        stalledSec = run_sec;
    });
    m_harness.RunUntil(t0 + 5000);
    EXPECT_EQ(now_ms, stalledClock) << "no clock update while the key is held";
    EXPECT_EQ(run_sec, stalledSec);
    EXPECT_EQ(state_index, ST_STANDBY) << "the key is not reported while held";
    EXPECT_TRUE(m_log.Changes("state_number", t0).empty());
    m_harness.RunUntil(t0 + 5200);
    EXPECT_EQ(state_number, ST_POWER_OFF + 1) << "power-off after the release";
}

}  // namespace
