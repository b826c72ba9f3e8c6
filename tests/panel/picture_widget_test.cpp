// The fixed pictures: the operating hints and the appliance's body.

#include "panel/picture_widget.h"

#include "panel/body_widget.h"
#include "panel/picture_ids.h"
#include "widget_fixture.h"

namespace {

using PictureWidget = WidgetTest;

TEST_F(PictureWidget, TakesItsSizeFromSetPictureAndDrawsNoCaption)
{
    CPictureWidget guide;
    guide.Place("무시됨", 137, 8);
    guide.SetPicture(PICTURE_GUIDE, 218, 49);
    const CRect rect{137, 8, 355, 57};
    EXPECT_EQ(guide.m_rect, rect);
    EXPECT_EQ(guide.m_pinDriven, 1);
    EXPECT_EQ(DrawnBy(guide), (Calls{CSurfaceCall::Picture(PICTURE_GUIDE, rect)}));

    guide.SetPicture(0x10000 + PICTURE_GUIDE, 218, 49);
    EXPECT_EQ(DrawnBy(guide)[0].pictureId, PICTURE_GUIDE) << "only the low 16 bits name the picture";
}

TEST_F(PictureWidget, BodyDrawsItsPictureWithTheCaptionOnIt)
{
    CBodyWidget body;
    EXPECT_EQ(body.m_pinDriven, 0);
    body.Place("음식물 쓰레기 처리기", 166, 166);
    const CRect rect{166, 166, 327, 287};
    EXPECT_EQ(DrawnBy(body), (Calls{CSurfaceCall::Picture(PICTURE_BODY, rect),
                                    CSurfaceCall::Text("음식물 쓰레기 처리기", rect, CENTRED)}));
}

}  // namespace
