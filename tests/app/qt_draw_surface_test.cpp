// The QPainter surface on an image: the pixels that matter for each operation
// and for the widgets drawn through it.

#include <QImage>
#include <QPainter>

#include "app/qt/qt_draw_surface.h"
#include "panel/gauge_widget.h"
#include "panel/indicator_widget.h"
#include "panel/lamp_widget.h"
#include "panel/motor_widget.h"
#include "qt_app.h"

namespace {

class QtDrawSurface : public CQtTest {
protected:
    void SetUp() override
    {
        CQtTest::SetUp();
        m_image = QImage(120, 100, QImage::Format_RGB32);
        m_image.fill(Qt::white);
    }

    // Draws with a fresh painter in the panel font, as the view's paint does.
    template <typename Body>
    void Draw(Body body)
    {
        QPainter painter(&m_image);
        painter.setFont(panel_font());
        CQtDrawSurface surface(painter);
        body(surface);
    }

    QRgb At(int x, int y) const { return m_image.pixel(x, y) & 0xFFFFFF; }
    int DarkPixels(const QRect& area) const
    {
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (qGray(m_image.pixel(x, y)) < 128)
                    ++dark;
        return dark;
    }

    QImage m_image;
};

TEST_F(QtDrawSurface, APictureIsCopiedUnscaledFromItsTopLeftIntoASmallerRectangle)
{
    // The red lamp (20 x 20) into a 10 x 10 rectangle: only its top-left quarter.
    Draw([](CDrawSurface& s) { s.DrawPicture(148, CRect{30, 40, 40, 50}); });
    const QImage lamp(QStringLiteral(":/pictures/picture_148.bmp"));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(At(30 + x, 40 + y), lamp.pixel(x, y) & 0xFFFFFF) << x << "," << y;
    EXPECT_EQ(At(40, 45), 0xFFFFFFu) << "nothing beyond the rectangle";
    EXPECT_EQ(At(35, 50), 0xFFFFFFu);
}

TEST_F(QtDrawSurface, FillAndOutlineCoverExactlyTheRectangle)
{
    Draw([](CDrawSurface& s) {
        s.FillRect(CRect{10, 10, 20, 15}, CColour{255, 0, 0});
        s.OutlineRect(CRect{40, 10, 54, 60});
    });
    EXPECT_EQ(At(10, 10), 0xFF0000u);
    EXPECT_EQ(At(19, 14), 0xFF0000u);
    EXPECT_EQ(At(20, 14), 0xFFFFFFu) << "right is exclusive";
    EXPECT_EQ(At(19, 15), 0xFFFFFFu) << "bottom is exclusive";
    EXPECT_EQ(At(40, 10), 0x000000u);
    EXPECT_EQ(At(53, 59), 0x000000u) << "the frame sits on the last column and row";
    EXPECT_EQ(At(54, 30), 0xFFFFFFu);
    EXPECT_EQ(At(47, 30), 0xFFFFFFu) << "white inside";
}

TEST_F(QtDrawSurface, TextIsCentredOnAPointOrDrawnBelowTheRectanglesTop)
{
    Draw([](CDrawSurface& s) { s.DrawText("state: 3", CRect{60, 50, 61, 51}, CDrawSurface::TEXT_CENTRED); });
    EXPECT_GT(DarkPixels(QRect(30, 43, 60, 14)), 10) << "centred on the anchor point";
    EXPECT_EQ(DarkPixels(QRect(0, 0, 120, 38)), 0);
    EXPECT_EQ(DarkPixels(QRect(0, 62, 120, 38)), 0);

    m_image.fill(Qt::white);
    Draw([](CDrawSurface& s) { s.DrawText("히터", CRect{50, 20, 64, 70}, CDrawSurface::TEXT_ABOVE); });
    EXPECT_GT(DarkPixels(QRect(40, 20, 34, 16)), 5) << "top-aligned";
    EXPECT_EQ(DarkPixels(QRect(0, 40, 120, 60)), 0);
}

TEST_F(QtDrawSurface, TheWidgetsDrawThePixelsThatMatter)
{
    CLampWidget lamp;
    lamp.Place("", 5, 5);
    lamp.SetState(1);
    CIndicatorWidget indicator;
    indicator.Place("", 40, 5);
    indicator.SetState(1);
    CGaugeWidget gauge;
    gauge.Place("", 80, 40);
    gauge.SetState(1);
    gauge.m_level.store(20);
    Draw([&](CDrawSurface& s) {
        lamp.Draw(s);
        indicator.Draw(s);
        gauge.Draw(s);
    });
    EXPECT_EQ(At(15, 15), 0xFF0000u) << "a lit red lamp's centre";
    EXPECT_EQ(At(42, 10), 0xFF0000u) << "a lit indicator";
    EXPECT_EQ(At(85, 89), 0xFF0000u) << "the gauge's fill at the bottom";
    EXPECT_EQ(At(85, 70), 0xFF0000u) << "20 pixels high";
    EXPECT_EQ(At(85, 69), 0xFFFFFFu) << "white above the fill";
    EXPECT_EQ(At(80, 40), 0x000000u) << "the gauge's frame";

    CMotorWidget motor;
    motor.Place("메인 모터", 40, 50);
    m_image.fill(Qt::white);
    Draw([&](CDrawSurface& s) { motor.Draw(s); });
    EXPECT_GT(DarkPixels(QRect(20, 32, 75, 14)), 5) << "the caption above the motor";
}

}  // namespace
