// Lamps of three colours and the end-stop markers.

#include "panel/indicator_widget.h"
#include "panel/lamp_widget.h"
#include "panel/picture_ids.h"
#include "widget_fixture.h"

namespace {

using LampIndicatorWidget = WidgetTest;

TEST_F(LampIndicatorWidget, LampPicturesByColourKindAndState)
{
    struct Case {
        int kind;
        int off;
        int on;
    };
    const Case cases[] = {
        {2, PICTURE_LAMP_RED_OFF, PICTURE_LAMP_RED_ON},    {3, PICTURE_LAMP_GREEN_OFF, PICTURE_LAMP_GREEN_ON},
        {4, PICTURE_LAMP_BLUE_OFF, PICTURE_LAMP_BLUE_ON},  {0, PICTURE_LAMP_BLUE_OFF, PICTURE_LAMP_BLUE_ON},
        {-7, PICTURE_LAMP_BLUE_OFF, PICTURE_LAMP_BLUE_ON},
    };
    for (const Case& c : cases) {
        CLampWidget lamp;
        lamp.Place("", 200, 77);
        const CRect rect{200, 77, 220, 97};
        lamp.SetColour(c.kind);
        EXPECT_EQ(DrawnBy(lamp), (Calls{CSurfaceCall::Picture(c.off, rect), CSurfaceCall::Text("", rect, CENTRED)}))
            << "colour kind " << c.kind << ", dark";
        lamp.SetState(5);
        EXPECT_EQ(lamp.m_on.load(), 1);
        EXPECT_EQ(DrawnBy(lamp)[0], CSurfaceCall::Picture(c.on, rect)) << "colour kind " << c.kind << ", lit";
        lamp.SetState(0);
        EXPECT_EQ(DrawnBy(lamp)[0], CSurfaceCall::Picture(c.off, rect)) << "colour kind " << c.kind;
    }
    EXPECT_EQ(CLampWidget().m_colour.load(), 2) << "a lamp is red until told otherwise";
}

TEST_F(LampIndicatorWidget, IndicatorIsRedWhenOnAndBlackWhenOff)
{
    CIndicatorWidget marker;
    marker.Place("", 50, 145);
    const CRect rect{50, 145, 55, 155};
    EXPECT_EQ(DrawnBy(marker), (Calls{CSurfaceCall::Fill(rect, CColour{0, 0, 0})}));
    marker.SetState(1);
    EXPECT_EQ(DrawnBy(marker), (Calls{CSurfaceCall::Fill(rect, CColour{255, 0, 0})})) << "no picture and no caption";
}

}  // namespace
