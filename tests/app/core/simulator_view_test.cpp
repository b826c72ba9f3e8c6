// The view's core without a screen: the layout and its two lists, painting
// into a surface, mouse routing with capture, and the refresh step.

#include <gtest/gtest.h>

#include <vector>

#include "board/port_bytes.h"
#include "support/recording_surface.h"
#include "support/sim_fixture.h"

namespace {

// A window that remembers what the view asked of it.
class CRecordingWindow : public CViewWindow {
public:
    void InvalidateRect(const CRect* rect) override { m_invalidated.push_back(rect ? *rect : CRect{-1, -1, -1, -1}); }
    void UpdateWindow() override { ++m_updates; }
    void SetCapture() override { ++m_captures; }
    void ReleaseCapture() override { ++m_releases; }

    std::vector<CRect> m_invalidated;  // {-1,-1,-1,-1}: the whole client area
    int m_updates = 0;
    int m_captures = 0;
    int m_releases = 0;
};

constexpr CRect WHOLE{-1, -1, -1, -1};

class SimulatorView : public CSimFixture {
protected:
    CRecordingWindow m_window;
};

TEST_F(SimulatorView, TheLayoutPlacesTwentyFiveWidgetsAndTicksNine)
{
    CSimulatorView& v = View();
    ASSERT_EQ(v.m_widgets.size(), 25u);
    EXPECT_EQ(v.m_widgets.front(), &v.m_keyPower);
    EXPECT_EQ(v.m_widgets.back(), &v.m_guide);
    const std::vector<CPanelWidget*> ticked = {&v.m_motorDisk,  &v.m_motorMain,   &v.m_motorExit,
                                               &v.m_valveWater, &v.m_fanMain,     &v.m_fanHeater,
                                               &v.m_fanCooling, &v.m_gaugeHeater, &v.m_buzzer};
    EXPECT_EQ(v.m_tickWidgets, ticked);

    // The rules that read earlier widgets' sizes give these places.
    EXPECT_EQ(v.m_lampGreen.m_rect.left, 233);
    EXPECT_EQ(v.m_lampBlue.m_rect.left, 266);
    EXPECT_EQ(v.m_diskStopRight.m_rect.left, 103);
    EXPECT_EQ(v.m_motorMain.m_rect.top, 210);
    EXPECT_EQ(v.m_motorExit.m_rect.top, 275);
    EXPECT_EQ(v.m_exitStopLeft.m_rect, (CRect{50, 275, 55, 285}));
    EXPECT_EQ(v.m_fanCooling.m_rect.top, 275);
    EXPECT_EQ(v.m_body.m_rect, (CRect{166, 166, 327, 287}));
    EXPECT_EQ(v.m_drawer.m_rect, (CRect{166, 287, 327, 308}));
    EXPECT_EQ(v.m_guide.m_rect, (CRect{137, 8, 355, 57}));
    EXPECT_EQ(v.m_readoutState.m_showStateName.load(), 1);
    EXPECT_EQ(v.m_relayMain.m_target, &v.m_motorMain);
    EXPECT_TRUE(v.m_relayMain.m_rect.IsEmpty());
}

TEST_F(SimulatorView, PaintFillsWhiteThenDrawsEveryWidgetInListOrder)
{
    CRecordingSurface surface;
    View().OnPaint(surface, CRect{0, 0, 500, 400});
    ASSERT_FALSE(surface.m_calls.empty());
    EXPECT_EQ(surface.m_calls.front(), CSurfaceCall::Fill(CRect{0, 0, 500, 400}, CColour{255, 255, 255}));
    EXPECT_EQ(surface.m_calls[1], CSurfaceCall::Picture(131, View().m_keyPower.m_rect)) << "the power key first";
    EXPECT_EQ(surface.m_calls.back(), CSurfaceCall::Picture(156, View().m_guide.m_rect)) << "the hints last";
}

TEST_F(SimulatorView, AKeyTakesTheMouseUntilTheReleaseWhereverItComes)
{
    View().OnLButtonDown(m_window, CPoint{52, 51});
    EXPECT_EQ(View().m_captured, &View().m_keyPower);
    EXPECT_EQ(View().m_keyPower.m_pressed.load(), 1);
    EXPECT_EQ(port_bit_read(port0, 4), false) << "pressed: POWER_ON_OFF low";
    ASSERT_EQ(m_window.m_invalidated.size(), 1u);
    EXPECT_EQ(m_window.m_invalidated[0], View().m_keyPower.m_rect);
    EXPECT_EQ(m_window.m_updates, 1) << "the key repaints at once";
    EXPECT_EQ(m_window.m_captures, 1);

    View().OnMouseMove(m_window);  // no kind asks for a repaint on a move
    EXPECT_EQ(m_window.m_invalidated.size(), 1u);

    View().OnLButtonUp(m_window);  // the release may come from anywhere: it goes to the key
    EXPECT_EQ(View().m_keyPower.m_pressed.load(), 0);
    EXPECT_EQ(port_bit_read(port0, 4), true);
    EXPECT_EQ(View().m_captured, nullptr);
    EXPECT_EQ(m_window.m_releases, 1);
    EXPECT_EQ(m_window.m_updates, 2);

    View().OnLButtonUp(m_window);  // a release with nothing captured does nothing
    EXPECT_EQ(m_window.m_releases, 1);
}

TEST_F(SimulatorView, APressOnAWidgetThatDoesNotTakeTheMouseDoesNothing)
{
    const CPoint points[] = {{210, 87},  {77, 162},  {52, 150}, {377, 162}, {443, 170}, {445, 292},
                             {244, 336}, {246, 200}, {200, 30}, {5, 5},     {480, 380}};
    for (CPoint p : points) {
        View().OnLButtonDown(m_window, p);
        EXPECT_EQ(View().m_captured, nullptr) << "at " << p.x << "," << p.y;
    }
    EXPECT_TRUE(m_window.m_invalidated.empty());
    EXPECT_EQ(m_window.m_captures, 0);
    EXPECT_EQ(View().m_body.m_rect.top, 166) << "the body was not moved";
}

TEST_F(SimulatorView, TheCoverRepaintsItsWholeOpenAreaBothWays)
{
    View().OnLButtonDown(m_window, CPoint{246, 155});
    EXPECT_EQ(View().m_cover.m_open.load(), 1);
    EXPECT_EQ(m_window.m_invalidated.back(), (CRect{166, 105, 327, 166}));
    View().OnLButtonUp(m_window);
    // The open lid reaches 40 pixels higher: a click there closes it.
    View().OnLButtonDown(m_window, CPoint{246, 110});
    EXPECT_EQ(View().m_cover.m_open.load(), 0);
    EXPECT_EQ(m_window.m_invalidated.back(), (CRect{166, 105, 327, 166})) << "no trace of the open lid stays";
    View().OnLButtonUp(m_window);
}

TEST_F(SimulatorView, TheCoolingFanTakesPressesWhereTheOpenDrawerLiesUnderIt)
{
    View().OnLButtonDown(m_window, CPoint{246, 297});
    View().OnLButtonUp(m_window);
    ASSERT_EQ(View().m_drawer.m_open.load(), 1);
    EXPECT_EQ(View().m_drawer.m_rect.right, 427);
    View().OnLButtonDown(m_window, CPoint{370, 300});
    EXPECT_EQ(View().m_captured, nullptr) << "the fan, earlier in the list, takes the press and ignores it";
    EXPECT_EQ(View().m_drawer.m_open.load(), 1);
    View().OnLButtonDown(m_window, CPoint{410, 300});
    EXPECT_EQ(View().m_drawer.m_open.load(), 0) << "beyond the fan the open drawer is hit";
    View().OnLButtonUp(m_window);
}

TEST_F(SimulatorView, TheRefreshTicksTheAnimatedWidgetsAndRepaintsEverything)
{
    View().m_motorDisk.StartMotor(0);
    View().OnTimer(m_window, 2);
    EXPECT_EQ(View().m_motorDisk.m_position.load(), 50) << "another timer ticks nothing";
    EXPECT_TRUE(m_window.m_invalidated.empty()) << "and repaints nothing";
    View().OnTimer(m_window, CSimulatorView::REFRESH_TIMER_ID);
    EXPECT_EQ(View().m_motorDisk.m_position.load(), 52);
    ASSERT_EQ(m_window.m_invalidated.size(), 1u);
    EXPECT_EQ(m_window.m_invalidated[0], WHOLE);
    EXPECT_EQ(m_window.m_updates, 0) << "the repaint is left to the next paint event";
}

}  // namespace
