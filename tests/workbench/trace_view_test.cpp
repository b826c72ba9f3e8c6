// The trace view: what a frame leaves on screen after scrolling and painting
// only the new strip is the same picture as a whole repaint; a zoom keeps
// the moment under the pointer in place; the cursor reads every value.

#include <QScreen>
#include <QTest>

#include "app/qt_app.h"
#include "counting_paint_device.h"
#include "trace/trace_buffer.h"
#include "workbench/widgets/trace_view.h"
#include "workbench/widgets/trace_view_style.h"

namespace {

class TraceView : public CQtTest {
protected:
    void SetUp() override
    {
        CQtTest::SetUp();
        m_level = m_trace.AddChannel("LEVEL", true, 0);
        m_state = m_trace.AddChannel("state_number", false, 2);
        m_count = m_trace.AddChannel("count", false, 0);
        m_view = std::make_unique<CTraceView>(m_trace);
        m_view->resize(700, 120);
        m_view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
    }
    // Virtual time runs on in frames of frameMs, the channels changing as it goes.
    void RunFrames(int frames, uint64_t frameMs)
    {
        for (int f = 0; f < frames; ++f) {
            for (uint64_t i = 0; i < frameMs; ++i, ++m_now) {
                m_trace.Set(m_level, m_now, m_now / 700 % 2);
                m_trace.Set(m_state, m_now, static_cast<int32_t>(2 + m_now / 4000 % 3));
                m_trace.Set(m_count, m_now, static_cast<int32_t>(m_now / 1000));
            }
            m_view->SetNow(m_now);
            QCoreApplication::processEvents();
        }
    }
    QImage OnScreen()
    {
        return m_view->screen()->grabWindow(m_view->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    }
    QImage Repainted() { return m_view->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    CTraceBuffer m_trace;
    int m_level = 0;
    int m_state = 0;
    int m_count = 0;
    uint64_t m_now = 0;
    std::unique_ptr<CTraceView> m_view;
};

// Frames of x1, of an odd size, and of x10 at 60 frames a second; then with
// a cursor, which scrolls with its moment.
TEST_F(TraceView, FramesThatScrollLeaveTheSamePictureAsAWholeRepaint)
{
    RunFrames(1, 100);
    QTest::qWait(50);
    const struct {
        int frames;
        uint64_t frameMs;
        bool cursor;
    } rounds[] = {{240, 100, false}, {90, 37, false}, {60, 160, true}};
    for (const auto& round : rounds) {
        if (round.cursor)
            m_view->SetCursorMs(m_now - 3000);
        QCoreApplication::processEvents();
        RunFrames(round.frames, round.frameMs);
        const QImage shown = OnScreen();
        const QImage whole = Repainted();
        ASSERT_EQ(shown.size(), whole.size());
        int differing = 0;
        for (int y = 0; y < whole.height(); ++y)
            for (int x = 0; x < whole.width(); ++x)
                differing += shown.pixel(x, y) != whole.pixel(x, y);
        EXPECT_EQ(differing, 0) << "pixels that scrolling left otherwise than a whole repaint, frames of "
                                << round.frameMs << " ms";
    }
}

TEST_F(TraceView, AZoomKeepsTheMomentUnderThePointerAndTheCursorReadsEveryRow)
{
    RunFrames(100, 100);  // 10 s
    m_view->SetCursorMs(4321);
    EXPECT_EQ(m_view->ValueText(0), QStringLiteral("3 파워 온 대기")) << "state_number with its state's name";
    EXPECT_EQ(m_view->ValueText(1), QStringLiteral("4"));
    EXPECT_EQ(m_view->ValueText(2), QStringLiteral("0")) << "low from 4200 to 4899";
    EXPECT_EQ(m_view->RowChannel(2), m_level) << "numbers first, then the levels";

    const double span = m_view->SpanMs();
    m_view->ZoomAt(0.5, 300);
    EXPECT_DOUBLE_EQ(m_view->SpanMs(), span / 2);
    EXPECT_FALSE(m_view->Following()) << "zoomed in around a moment in the past";
    m_view->Follow();
    EXPECT_TRUE(m_view->Following());
}

// At the start the view shows the 10 s before 0:00: its axis is labelled
// there too, counting down to 0:00.
TEST_F(TraceView, AViewBefore000HasItsAxisLabelled)
{
    RunFrames(1, 1);
    const QImage image = Repainted();
    const int left = trace_view_style::WAVE_LEFT + 2;
    int ink = 0;
    for (int y = 2; y < trace_view_style::AXIS_HEIGHT - 6; ++y)
        for (int x = left; x < image.width() - trace_view_style::LABEL_ROOM; ++x)
            ink += qGray(image.pixel(x, y)) < 100;
    EXPECT_GT(ink, 40) << "labels left of 0:00";
}

// Nothing ran before 0:00: a click, a Shift+click or a drag begun there places no cursor and leaves
// the cursors where they were; one inside the run places them.
TEST_F(TraceView, AClickBefore000LeavesTheCursorsAsTheyWere)
{
    RunFrames(1, 3000);  // ten seconds shown, up to 0:03: 0:00 at 70 % of the waves
    const int wave = m_view->width() - trace_view_style::WAVE_LEFT;
    const QPoint before(trace_view_style::WAVE_LEFT + wave / 5, 60),
        inside(trace_view_style::WAVE_LEFT + wave * 17 / 20, 60);
    const struct {
        QPoint at;
        Qt::KeyboardModifiers keys;
        QPoint dragTo;
        bool a, b;  // placed after it
    } clicks[] = {
        {before, Qt::NoModifier, before, false, false},  {before, Qt::ShiftModifier, before, false, false},
        {inside, Qt::NoModifier, inside, true, false},   {before, Qt::NoModifier, before, true, false},
        {before, Qt::NoModifier, inside, true, false},   {before, Qt::ShiftModifier, inside, true, false},
        {inside, Qt::ShiftModifier, inside, true, true}, {before, Qt::ShiftModifier, before, true, true},
    };
    uint64_t a = 0, b = 0;
    for (const auto& c : clicks) {
        QTest::mousePress(m_view.get(), Qt::LeftButton, c.keys, c.at);
        QTest::mouseMove(m_view.get(), c.dragTo);
        QTest::mouseRelease(m_view.get(), Qt::LeftButton, c.keys, c.dragTo);
        const std::string what =
            std::to_string(c.at.x()) + (c.keys ? " shift" : "") + " to " + std::to_string(c.dragTo.x());
        ASSERT_EQ(m_view->HasCursor(), c.a) << what;
        ASSERT_EQ(m_view->HasCursorB(), c.b) << what;
        if (c.at == inside) {
            (c.keys ? b : a) = c.keys ? m_view->CursorBMs() : m_view->CursorMs();
            EXPECT_NEAR(static_cast<double>(c.keys ? b : a), 1500, 50) << what;
        }
        EXPECT_TRUE(!c.a || m_view->CursorMs() == a) << what << ": cursor A where it was";
        EXPECT_TRUE(!c.b || m_view->CursorBMs() == b) << what << ": cursor B where it was";
    }
}

// The view is kept in time: a narrower window and cursor B's value column
// leave the same moments shown, and cursor B lands under the pointer.
TEST_F(TraceView, AResizeAndCursorBKeepTheMomentsShown)
{
    RunFrames(1, 20000);
    m_view->resize(1560, 120);
    m_view->ZoomTo(5000, 10000);
    for (const int width : {1400, 1560, 900}) {
        m_view->resize(width, 120);
        const double msPerPx = 5000.0 / (width - trace_view_style::WAVE_LEFT);
        EXPECT_DOUBLE_EQ(m_view->SpanMs(), 5000) << width;
        EXPECT_NEAR(m_view->Layout().endMs, 10000, msPerPx) << width;
        const int x = trace_view_style::WAVE_LEFT + (width - trace_view_style::WAVE_LEFT) / 3;
        QTest::mouseClick(m_view.get(), Qt::LeftButton, Qt::ShiftModifier, QPoint(x, 60));
        ASSERT_TRUE(m_view->HasCursorB());
        EXPECT_NEAR(static_cast<double>(m_view->CursorBMs()), 5000 + 5000.0 / 3, 1.5 * msPerPx) << width;
        EXPECT_NEAR(m_view->Layout().endMs, 10000, msPerPx) << "cursor B moved the view, " << width;
        m_view->RemoveCursor();
    }
}

// D takes cursor A to the first divergence and centres it when it lies
// outside the view or near one of its edges; one well inside stays put.
TEST_F(TraceView, DCentresTheDivergenceNearAnEdge)
{
    RunFrames(1, 30000);
    const struct {
        double divergenceMs;
        double endMs;  // the right edge after D
    } cases[] = {{19900, 24900}, {10050, 15050}, {2000, 7000}, {15000, 20000}};
    for (const auto& c : cases) {
        m_view->ZoomTo(10000, 20000);
        m_view->SetDivergence(true, static_cast<uint64_t>(c.divergenceMs), QStringLiteral("LEVEL"));
        QTest::keyClick(m_view.get(), Qt::Key_D);
        EXPECT_EQ(m_view->CursorMs(), static_cast<uint64_t>(c.divergenceMs));
        EXPECT_NEAR(m_view->Layout().endMs, c.endMs, 30) << c.divergenceMs;
    }
}

// A label at the right edge turns to the left of its line, and a marker's
// label close before it goes a lane down rather than cover it.
TEST_F(TraceView, LabelsTurnAtTheEdgeAndStackWhereTheyWouldOverlap)
{
    RunFrames(1, 20000);
    m_view->ZoomTo(10000, 20000);
    m_view->SetCursorMs(19950);
    m_view->SetMarkers({19850});
    const QImage image = Repainted();
    const double msPerPx = 10000.0 / (m_view->width() - trace_view_style::WAVE_LEFT);
    const int cursorX = m_view->width() - 1 - static_cast<int>(50 / msPerPx);
    const int markerX = m_view->width() - 1 - static_cast<int>(150 / msPerPx);
    const auto colourAt = [&](int x, int y) { return image.pixelColor(x, y); };
    EXPECT_EQ(colourAt(cursorX - 30, 3), trace_view_style::CURSOR) << "cursor A's label, left of its line";
    EXPECT_EQ(colourAt(markerX - 4, trace_view_style::AXIS_HEIGHT + 2), trace_view_style::MARKER)
        << "the marker's label, a lane down";
}

}  // namespace

namespace {

// A full ring (262,144 changes, most of them in two rows) shown whole: the
// points painted follow the pixels, at most four per column in any row's
// line, and the dense stretch still reads as both levels.
class TraceViewCost : public CQtTest {};

TEST_F(TraceViewCost, AFullRingAtFitPaintsAtMostFourPointsPerColumnInAnyLine)
{
    CTraceBuffer trace;
    const int level = trace.AddChannel("LEVEL", true, 0);
    const int count = trace.AddChannel("count", false, 0);
    const int state = trace.AddChannel("state_number", false, 2);
    uint64_t now = 0;
    while (trace.First() == 0) {
        ++now;
        trace.Set(level, now, static_cast<int32_t>(now / 3 % 2));
        trace.Set(count, now, static_cast<int32_t>(now % 97));
        trace.Set(state, now, static_cast<int32_t>(2 + now / 5000 % 3));
    }
    CTraceView view(trace);
    view.resize(900, 160);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.SetNow(now);
    view.ZoomToFit();
    CCountingPaintDevice device(view.width(), view.height());
    view.render(&device);
    const int waveWidth = view.width() - trace_view_style::WAVE_LEFT;
    EXPECT_LE(device.Engine().m_largest, 4 * waveWidth + 8) << "points in the largest line";
    EXPECT_LE(device.Engine().m_points, 3 * (4 * waveWidth + 8) * 2 + 20'000) << "points in all";

    const QImage image = view.grab().toImage();
    const int x = trace_view_style::WAVE_LEFT + waveWidth / 2;
    int row = 0;
    while (view.RowChannel(row) != level)
        ++row;
    const int top = view.RowTop(row);
    int inked = 0;
    for (int y = top; y < top + trace_view_style::BIT_ROW; ++y)
        inked += image.pixelColor(x, y) != Qt::white;
    EXPECT_GE(inked, trace_view_style::BIT_ROW - 6) << "a column of many edges is drawn from low to high";
}

}  // namespace
