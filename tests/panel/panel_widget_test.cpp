// The widget base: construction, placing, hit-testing and the two caption styles.

#include "panel/panel_widget.h"

#include "panel/picture_widget.h"
#include "panel/relay_widget.h"
#include "widget_fixture.h"

namespace {

// A kind that only draws its caption, in either style.
class CCaptionWidget : public CPanelWidget {
public:
    explicit CCaptionWidget(bool above) : m_above(above) { SetSize(24, 23); }
    void Draw(CDrawSurface& surface) override
    {
        if (m_above)
            DrawCaptionAbove(surface);
        else
            DrawCaptionCentred(surface);
    }
    bool m_above;
};

using PanelWidget = WidgetTest;

TEST_F(PanelWidget, TakesPinChangesAndDoesNothingByDefault)
{
    CPanelWidget widget;
    EXPECT_EQ(widget.m_rect, (CRect{0, 0, 0, 0}));
    EXPECT_EQ(widget.m_pinDriven, 1) << "a widget takes pin changes unless its kind says not";
    EXPECT_EQ(widget.OnMouseDown(), 0) << "the base never takes the mouse";
    widget.SetState(1);
    EXPECT_EQ(DrawnBy(widget), Calls{}) << "the base draws nothing";
}

TEST_F(PanelWidget, PlaceMovesTheKindsSizeToThePoint)
{
    CCaptionWidget widget(true);
    widget.Place("전원", 40, 30);
    EXPECT_EQ(widget.m_caption, "전원");
    EXPECT_EQ(widget.m_rect, (CRect{40, 30, 64, 53})) << "24 x 23 with its top-left at (40, 30)";
    EXPECT_EQ(widget.GetRedrawRect(), widget.m_rect);
}

TEST_F(PanelWidget, HitTestExcludesTheRightAndBottomEdges)
{
    CCaptionWidget widget(true);
    widget.Place("", 40, 30);  // (40, 30) to (64, 53)
    EXPECT_TRUE(widget.HitTest({40, 30})) << "top-left corner is inside";
    EXPECT_TRUE(widget.HitTest({63, 52})) << "last pixel is inside";
    EXPECT_FALSE(widget.HitTest({64, 40})) << "x = right is outside";
    EXPECT_FALSE(widget.HitTest({50, 53})) << "y = bottom is outside";
    EXPECT_FALSE(widget.HitTest({39, 40}));
    EXPECT_FALSE(widget.HitTest({50, 29}));
}

TEST_F(PanelWidget, AnEmptyRectangleIsNeverHit)
{
    CRelayWidget relay;
    relay.Place("", 0, 0);
    EXPECT_FALSE(relay.HitTest({0, 0})) << "the relay is 0 x 0 at the origin";

    CPictureWidget picture;
    picture.Place("", 137, 8);
    EXPECT_FALSE(picture.HitTest({137, 8})) << "a picture before SetPicture has no area";
    picture.SetPicture(156, 218, 49);
    EXPECT_TRUE(picture.HitTest({137, 8}));
}

TEST_F(PanelWidget, CaptionsAreDrawnAboveOrCentredOverTheWidget)
{
    CCaptionWidget above(true);
    above.Place("워터 솔레노이드", 380, 77);
    EXPECT_EQ(DrawnBy(above), (Calls{CSurfaceCall::Text("워터 솔레노이드", CRect{380, 59, 404, 82}, ABOVE)}))
        << "the caption's rectangle is the widget's, 18 pixels higher, and wider text is not clipped";

    CCaptionWidget centred(false);
    centred.Place("음식물", 166, 166);
    EXPECT_EQ(DrawnBy(centred), (Calls{CSurfaceCall::Text("음식물", centred.m_rect, CENTRED)}));
}

}  // namespace
