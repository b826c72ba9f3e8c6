// The lid: a click toggles it, it grows 40 pixels upward when open, and the
// repaint after a click covers both of its positions.

#include "panel/cover_widget.h"

#include "board/port_pin.h"
#include "panel/picture_ids.h"
#include "widget_fixture.h"

namespace {

class CoverWidget : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        m_cover.Place("커버(닫힘)", 166, 145);
        m_pin.Bind(&port4, RUN_KEY.bit, 0, "RUN_KEY", &m_cover);
    }

    CCoverWidget m_cover;
    CPortPin m_pin;
};

const CRect CLOSED{166, 145, 327, 166};
const CRect OPEN{166, 105, 327, 166};

TEST_F(CoverWidget, OpeningGrowsUpwardWritesThePinAndRepaintsTheWholeLid)
{
    EXPECT_EQ(m_cover.m_pinDriven, 0) << "an input takes no pin changes";
    EXPECT_EQ(m_cover.OnMouseDown(), 1) << "the cover takes the mouse";
    EXPECT_EQ(m_cover.m_open.load(), 1);
    EXPECT_EQ(m_cover.m_caption, "커버(열림)");
    EXPECT_EQ(m_cover.m_rect, OPEN) << "161 x 61, bottom edge unmoved";
    EXPECT_EQ(sig_read(RUN_KEY), 1) << "open cover sets port4 bit 5";
    EXPECT_EQ(m_cover.GetRedrawRect(), OPEN);
    EXPECT_EQ(DrawnBy(m_cover), (Calls{CSurfaceCall::Picture(PICTURE_COVER_OPEN, OPEN),
                                       CSurfaceCall::Text("커버(열림)", OPEN, CENTRED)}));
    EXPECT_EQ(m_cover.OnMouseUp(), 0) << "the release changes nothing";
}

TEST_F(CoverWidget, ClosingShrinksBackAndRepaintsTheSameArea)
{
    m_cover.OnMouseDown();
    m_cover.OnMouseUp();
    m_cover.OnMouseDown();
    EXPECT_EQ(m_cover.m_open.load(), 0);
    EXPECT_EQ(m_cover.m_caption, "커버(닫힘)");
    EXPECT_EQ(m_cover.m_rect, CLOSED) << "two clicks leave the closed top where Place put it";
    EXPECT_EQ(m_cover.GetRedrawRect(), OPEN) << "the open lid's area is repainted, leaving no trace";
    EXPECT_EQ(sig_read(RUN_KEY), 0);
    EXPECT_EQ(DrawnBy(m_cover), (Calls{CSurfaceCall::Picture(PICTURE_COVER_CLOSED, CLOSED),
                                       CSurfaceCall::Text("커버(닫힘)", CLOSED, CENTRED)}));
}

TEST_F(CoverWidget, RepeatedClicksNeverDriftFromTheClosedTop)
{
    for (int click = 0; click < 7; ++click)
        m_cover.OnMouseDown();
    EXPECT_EQ(m_cover.m_rect, OPEN) << "after an odd number of clicks the lid is open, 40 px up";
    m_cover.SetState(1);
    EXPECT_EQ(m_cover.m_rect, OPEN) << "setting open again does not raise it further";
}

TEST_F(CoverWidget, AClickTogglesItsOwnStateWhateverTheBitSays)
{
    m_cover.OnMouseDown();
    sig_off(RUN_KEY);  // a firmware restart puts the input back to closed
    m_cover.OnMouseDown();
    EXPECT_EQ(m_cover.m_open.load(), 0) << "the widget toggles from what it shows";
    EXPECT_EQ(sig_read(RUN_KEY), 0);
}

TEST_F(CoverWidget, WithoutAPinItStillOpens)
{
    CCoverWidget cover;
    cover.Place("커버(닫힘)", 0, 50);
    EXPECT_EQ(cover.OnMouseDown(), 1);
    EXPECT_EQ(cover.m_rect, (CRect{0, 10, 161, 71}));
    EXPECT_EQ(port4.load(), 0);
}

}  // namespace
