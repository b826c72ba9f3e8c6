// The buzzer: one beep per request, the sounding picture for exactly 10 ticks,
// and requests ignored meanwhile.

#include "panel/buzzer_widget.h"

#include "panel/picture_ids.h"
#include "sim/counting_beep.h"
#include "widget_fixture.h"

namespace {

class BuzzerWidget : public WidgetTest {
protected:
    int ShownPicture() { return DrawnBy(m_buzzer)[0].pictureId; }

    CCountingBeep m_beep;
    CBuzzerWidget m_buzzer;
};

TEST_F(BuzzerWidget, BeepsOnceAndSoundsForTenTicks)
{
    m_buzzer.Place("버저", 430, 277);
    const CRect rect{430, 277, 460, 307};
    EXPECT_EQ(m_buzzer.OnTick(), 0) << "silent: nothing to animate";
    EXPECT_EQ(DrawnBy(m_buzzer), (Calls{CSurfaceCall::Picture(PICTURE_BUZZER_SILENT, rect),
                                        CSurfaceCall::Text("버저", raised(rect), ABOVE)}));

    m_buzzer.SetState(1);
    EXPECT_EQ(m_beep.Count(), 1);
    for (int tick = 1; tick <= 10; ++tick) {
        EXPECT_EQ(ShownPicture(), PICTURE_BUZZER_SOUNDING) << "before tick " << tick;
        m_buzzer.SetState(1);
        EXPECT_EQ(m_beep.Count(), 1) << "a request while sounding does not beep, before tick " << tick;
        EXPECT_EQ(m_buzzer.OnTick(), 1);
    }
    EXPECT_EQ(m_buzzer.m_countdown.load(), 0) << "the repeated requests did not restart the countdown";
    EXPECT_EQ(m_buzzer.m_sounding.load(), 0);
    EXPECT_EQ(ShownPicture(), PICTURE_BUZZER_SILENT) << "after exactly 10 ticks";
    EXPECT_EQ(m_buzzer.OnTick(), 0);

    m_buzzer.SetState(1);
    EXPECT_EQ(m_beep.Count(), 2) << "the next request after the window beeps again";
}

TEST_F(BuzzerWidget, ZeroNeitherBeepsNorSilences)
{
    m_buzzer.SetState(0);
    EXPECT_EQ(m_beep.Count(), 0);
    m_buzzer.SetState(1);
    m_buzzer.SetState(0);
    EXPECT_EQ(m_buzzer.m_sounding.load(), 1);
    EXPECT_EQ(m_buzzer.m_countdown.load(), 10);
}

}  // namespace
