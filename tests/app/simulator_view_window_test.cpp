// The panel's Qt window on the offscreen platform: clicks reaching the
// firmware thread, the capture, the double click, the paint and the refresh.

#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QTimerEvent>

#include <memory>

#include "app/qt/offscreen_dc.h"
#include "app/qt/picture_loader.h"
#include "app/qt/simulator_view_window.h"
#include "panel/picture_ids.h"
#include "qt_app.h"
#include "sim/simulation_reset.h"

namespace {

constexpr int STATE_POWER_OFF = 2;
constexpr int STATE_STANDBY = 3;
const QPoint POWER_KEY(52, 51);
const QPoint COVER(246, 155);
const QPoint RED_LAMP(210, 87);

// Whether `shown` holds `picture` pixel for pixel with its top-left at `at`.
bool shows_at(const QImage& shown, QPoint at, const QImage& picture)
{
    return shown.copy(QRect(at, picture.size())).convertToFormat(QImage::Format_RGB32) ==
           picture.convertToFormat(QImage::Format_RGB32);
}

// Counts the window's paint events.
class CPaintCounter : public QObject {
public:
    int m_paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++m_paints;
        return false;
    }
};

// One running window for the suite: every window's end costs the bounded stop
// of a firmware waiting in its state (about 5 s).
class SimulatorViewWindowSlow : public CQtTest {
protected:
    static void SetUpTestSuite()
    {
        qt_app();
        reset_simulation_statics();
        m_window = std::make_unique<CSimulatorViewWindow>();
        m_window->resize(500, 430);
        m_window->Create();
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }
    static void TearDownTestSuite()
    {
        m_window.reset();
        reset_simulation_statics();
    }

    CSimulatorView& View() { return m_window->View(); }
    int State() { return View().m_readoutState.m_value.load(); }
    bool StateBecomes(int state)
    {
        return QTest::qWaitFor([&] { return State() == state; }, 2000);
    }

    static std::unique_ptr<CSimulatorViewWindow> m_window;
};

std::unique_ptr<CSimulatorViewWindow> SimulatorViewWindowSlow::m_window;

TEST_F(SimulatorViewWindowSlow, ThePowerKeyReachesTheFirmwareAlsoWhenReleasedOutside)
{
    ASSERT_TRUE(StateBecomes(STATE_POWER_OFF)) << "the firmware starts in power-off";

    // Each press is held a tenth of a second, as a finger does: the firmware
    // looks at the key only between its other duties.
    QTest::mousePress(m_window.get(), Qt::LeftButton, {}, POWER_KEY);
    EXPECT_EQ(View().m_keyPower.m_pressed.load(), CKeyWidget::HELD) << "the key goes down on the press";
    EXPECT_EQ(View().m_captured, &View().m_keyPower);
    QTest::qWait(100);
    QTest::mouseRelease(m_window.get(), Qt::LeftButton, {}, POWER_KEY);
    EXPECT_EQ(View().m_keyPower.m_pressed.load(), CKeyWidget::RELEASED);
    EXPECT_TRUE(StateBecomes(STATE_STANDBY)) << "the first press turns the appliance on: state: 3 (파워 온 대기)";

    // Released far outside the window: the captured key still gets it.
    QTest::mousePress(m_window.get(), Qt::LeftButton, {}, POWER_KEY);
    QTest::qWait(100);
    QTest::mouseMove(m_window.get(), QPoint(700, 600));
    QTest::mouseRelease(m_window.get(), Qt::LeftButton, {}, QPoint(700, 600));
    EXPECT_EQ(View().m_keyPower.m_pressed.load(), CKeyWidget::RELEASED);
    EXPECT_EQ(View().m_captured, nullptr);
    EXPECT_TRUE(StateBecomes(STATE_POWER_OFF)) << "the second press turns it off again";
}

TEST_F(SimulatorViewWindowSlow, OnlyTheLeftButtonAndOnlyTheKeysCoverAndDrawerTakeTheMouse)
{
    QTest::mousePress(m_window.get(), Qt::RightButton, {}, POWER_KEY);
    EXPECT_EQ(View().m_keyPower.m_pressed.load(), CKeyWidget::RELEASED) << "the right button presses nothing";
    EXPECT_EQ(View().m_captured, nullptr);
    QTest::mouseRelease(m_window.get(), Qt::RightButton, {}, POWER_KEY);

    QTest::mousePress(m_window.get(), Qt::LeftButton, {}, RED_LAMP);
    EXPECT_EQ(View().m_captured, nullptr) << "a lamp takes no mouse";
    QTest::mouseRelease(m_window.get(), Qt::LeftButton, {}, RED_LAMP);
    EXPECT_EQ(View().m_captured, nullptr);
}

TEST_F(SimulatorViewWindowSlow, ADoubleClickTogglesTheCoverOnce)
{
    const int before = View().m_cover.m_open.load();
    // Press, release, then the second press as the platform reports it: a double click.
    const QPointF at(COVER);
    const QPointF global = m_window->mapToGlobal(at);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, global, Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(m_window.get(), &event);
    }
    EXPECT_NE(View().m_cover.m_open.load(), before) << "the first click toggles the cover";
    EXPECT_EQ(View().m_captured, nullptr) << "the double-click press reaches no widget";

    QTest::mouseClick(m_window.get(), Qt::LeftButton, {}, COVER);
    EXPECT_EQ(View().m_cover.m_open.load(), before) << "a plain click toggles it back";
}

TEST_F(SimulatorViewWindowSlow, ThePaintShowsThePanelAtTheClientOriginAndTheRefreshRepaints)
{
    const QImage shown = m_window->grab().toImage();
    ASSERT_EQ(shown.size(), m_window->size());
    EXPECT_EQ(QColor(shown.pixel(shown.width() - 1, shown.height() - 1)), QColor(Qt::white))
        << "the panel's background is white";
    EXPECT_NE(QColor(shown.pixel(POWER_KEY)), QColor(Qt::white)) << "the power key's picture at its place";

    CPaintCounter counter;
    m_window->installEventFilter(&counter);
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.m_paints >= 3; }, 2000))
        << "the 100 ms refresh repaints the panel; painted " << counter.m_paints << " times";
    m_window->removeEventFilter(&counter);
}

// A laid-out panel without a firmware or a refresh timer of its own.
TEST(SimulatorViewWindow, ATimerOtherThanTheRefreshTicksNothing)
{
    qt_app();
    reset_simulation_statics();
    {
        CSimulatorViewWindow window;
        window.View().Layout();
        CGaugeWidget& heater = window.View().m_gaugeHeater;
        heater.SetState(1);
        for (int id : {1, 2, 7}) {
            for (int i = 0; i < 2 * CGaugeWidget::TICKS_PER_STEP; ++i) {
                QTimerEvent event(id);
                QApplication::sendEvent(&window, &event);
            }
        }
        EXPECT_EQ(heater.m_level.load(), 0) << "a timer of Qt's identifier 1 is not the refresh either";
    }
    reset_simulation_statics();
}

// The panel painted for a screen of twice the pixel density, as a window on
// one is painted: the pictures' partners at their places in panel pixels, text
// at the full density, and a press hitting the widget drawn under it.
TEST(SimulatorViewWindow, AtTwiceThePixelDensityThePanelIsSharpAndEverythingStaysInPlace)
{
    qt_app();
    reset_simulation_statics();
    {
        CSimulatorViewWindow window;
        window.View().Layout();
        window.resize(500, 430);
        QImage dense(QSize(1000, 860), QImage::Format_RGB32);
        dense.setDevicePixelRatio(2);
        {
            QPainter screen(&dense);
            const QRect client = window.rect();
            EXPECT_EQ(COffscreenDC(screen, &client).Image().size(), QSize(1000, 860)) << "device pixels";
        }
        window.render(&dense);
        const CRect guide = window.View().m_guide.m_rect;
        EXPECT_TRUE(shows_at(dense, QPoint(guide.left, guide.top) * 2, load_picture(PICTURE_GUIDE, 2)));

        // Text at the full density is not drawn in 2 x 2 blocks of one colour.
        const CRect readout = window.View().m_readoutState.m_rect;
        int fine = 0;
        for (int y = 2 * readout.top - 32; y < 2 * readout.bottom + 32; y += 2)
            for (int x = 2 * readout.left - 80; x < 2 * readout.right + 80; x += 2)
                fine += dense.pixel(x + 1, y) != dense.pixel(x, y) || dense.pixel(x, y + 1) != dense.pixel(x, y);
        EXPECT_GT(fine, 20) << "the readout's text";

        const CRect key = window.View().m_keyPower.m_rect;
        QTest::mousePress(&window, Qt::LeftButton, {}, POWER_KEY);
        EXPECT_EQ(window.View().m_captured, &window.View().m_keyPower);
        window.render(&dense);
        EXPECT_TRUE(shows_at(dense, QPoint(key.left, key.top) * 2, load_picture(PICTURE_KEY_DOWN, 2)));
        QTest::mouseRelease(&window, Qt::LeftButton, {}, POWER_KEY);
    }
    reset_simulation_statics();
}

}  // namespace
