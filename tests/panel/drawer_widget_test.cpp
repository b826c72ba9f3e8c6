// The drawer: a click pulls it out 100 pixels to the right or pushes it in.

#include "panel/drawer_widget.h"

#include "board/port_pin.h"
#include "panel/picture_ids.h"
#include "widget_fixture.h"

namespace {

class DrawerWidget : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        m_drawer.Place("서랍(닫힘)", 166, 287);
        m_pin.Bind(&port2, DRAWER.bit, 0, "DRAWER", &m_drawer);
    }

    CDrawerWidget m_drawer;
    CPortPin m_pin;
};

const CRect CLOSED{166, 287, 327, 308};
const CRect OPEN{166, 287, 427, 308};

TEST_F(DrawerWidget, OpensToTheRightAndClosesAgain)
{
    EXPECT_EQ(m_drawer.m_pinDriven, 0);
    const CPoint farRight{166 + 200, 295};
    EXPECT_FALSE(m_drawer.HitTest(farRight)) << "200 px right of the left edge is outside when closed";

    EXPECT_EQ(m_drawer.OnMouseDown(), 1);
    EXPECT_EQ(m_drawer.m_rect, OPEN) << "261 wide when open";
    EXPECT_EQ(m_drawer.m_caption, "서랍(열림)");
    EXPECT_EQ(sig_read(DRAWER), 1) << "open drawer sets port2 bit 1";
    EXPECT_TRUE(m_drawer.HitTest(farRight)) << "the pulled-out part is hit";
    EXPECT_EQ(DrawnBy(m_drawer), (Calls{CSurfaceCall::Picture(PICTURE_DRAWER_OPEN, OPEN),
                                        CSurfaceCall::Text("서랍(열림)", OPEN, CENTRED)}));

    EXPECT_EQ(m_drawer.OnMouseDown(), 1);
    EXPECT_EQ(m_drawer.m_rect, CLOSED) << "161 wide again";
    EXPECT_EQ(m_drawer.m_caption, "서랍(닫힘)");
    EXPECT_EQ(sig_read(DRAWER), 0);
    EXPECT_EQ(m_drawer.GetRedrawRect(), OPEN) << "the repaint covers the pulled-out length";
    EXPECT_EQ(DrawnBy(m_drawer), (Calls{CSurfaceCall::Picture(PICTURE_DRAWER_CLOSED, CLOSED),
                                        CSurfaceCall::Text("서랍(닫힘)", CLOSED, CENTRED)}));
}

TEST_F(DrawerWidget, OnlyTheDrawersOwnBitChanges)
{
    port2.store(0xC5);  // manual-wash key released, main fan on, bits 2 and 7 set
    m_drawer.OnMouseDown();
    EXPECT_EQ(port2.load(), 0xC7);
    m_drawer.OnMouseDown();
    EXPECT_EQ(port2.load(), 0xC5);
}

}  // namespace
