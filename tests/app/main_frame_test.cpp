// The main window on the offscreen platform: caption, menu, tool bar and
// status bar, the fixed size, the About box, and the panel reached by clicks.

#include <QAction>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <memory>

#include "app/qt/about_dialog.h"
#include "app/qt/main_frame.h"
#include "firmware/fw_main.h"
#include "qt_app.h"
#include "support/sim_reset.h"

namespace {

// One frame for the suite: every frame's end costs the bounded stop of a
// firmware waiting in its state (about 5 s).
class MainFrameSlow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        qt_app();
        reset_simulation_statics();
        m_frame = std::make_unique<CMainFrame>();
        m_frame->show();
        QTest::qWaitForWindowExposed(m_frame.get());
    }
    static void TearDownTestSuite()
    {
        m_frame.reset();
        reset_simulation_statics();
    }

    CSimulatorView& View() { return m_frame->ViewWindow().View(); }
    // Waits (bounded) until the state readout shows a state.
    bool ReadoutShows(int state)
    {
        return QTest::qWaitFor([&] { return View().m_readoutState.m_value.load() == state; }, 2000);
    }
    void ClickPanel(QPoint at)
    {
        QTest::mousePress(&m_frame->ViewWindow(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(&m_frame->ViewWindow(), Qt::LeftButton, {}, at, 50);
    }

    static std::unique_ptr<CMainFrame> m_frame;
};

std::unique_ptr<CMainFrame> MainFrameSlow::m_frame;

TEST_F(MainFrameSlow, AClickOnThePowerKeyReachesTheFirmwareThread)
{
    ASSERT_TRUE(QTest::qWaitFor([&] { return View().m_readoutState.m_value.load() >= 2; }, 2000));
    const int before = View().m_readoutState.m_value.load();
    ClickPanel(QPoint(52, 51));
    EXPECT_TRUE(ReadoutShows(before == 2 ? 3 : 2)) << "power-off and standby swap within a second or two";
    EXPECT_EQ(View().m_keyPower.m_pressed.load(), 0);
}

TEST_F(MainFrameSlow, ADoubleClickTogglesTheCoverOnce)
{
    const int before = View().m_cover.m_open.load();
    // Press, release, then the second press as the platform reports it: a double click.
    QWidget* view = &m_frame->ViewWindow();
    const QPointF at(246, 155);
    const QPointF global = view->mapToGlobal(at);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, global, Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }
    EXPECT_NE(View().m_cover.m_open.load(), before) << "the double-click press reaches no widget";
    EXPECT_EQ(View().m_captured, nullptr);
}


TEST_F(MainFrameSlow, TheCaptionIsSetAfterCreationAndTheSizeIsFixed)
{
    EXPECT_EQ(m_frame->windowTitle(), QString::fromUtf8("Trelvik - 음식물처리기 Simulator"));
    EXPECT_EQ(m_frame->size(), QSize(500, 500));
    m_frame->resize(700, 300);
    QTest::qWait(20);
    EXPECT_EQ(m_frame->size(), QSize(500, 500)) << "a resize request leaves 500 x 500";
    EXPECT_FALSE(m_frame->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(MainFrameSlow, TheMenuHasItsTitlesItemsAndCommandsInOrder)
{
    const QList<QAction*> menus = m_frame->menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    const char* titles[] = {"파일(&F)", "CPU", "보기(&V)", "도움말(&H)"};
    const std::vector<std::vector<const char*>> items = {
        {"종료(&X)"}, {"Reset CPU"}, {"도구 모음(&T)", "상태 표시줄(&S)"}, {"Trelvik 정보(&A)..."}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(menus[i]->text(), QString::fromUtf8(titles[i]));
        const QList<QAction*> actions = menus[i]->menu()->actions();
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(items[i].size())) << titles[i];
        for (size_t j = 0; j < items[i].size(); ++j)
            EXPECT_EQ(actions[static_cast<qsizetype>(j)]->text(), QString::fromUtf8(items[i][j]));
    }
    EXPECT_TRUE(m_frame->ToolBarToggle()->isCheckable());
    EXPECT_TRUE(m_frame->StatusBarToggle()->isCheckable());
}

TEST_F(MainFrameSlow, TheToolBarToggleHidesAndShowsTheBarAndResetCpuStillWorks)
{
    QToolBar* bar = m_frame->findChild<QToolBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->isMovable());
    EXPECT_FALSE(bar->isFloatable());
    ASSERT_EQ(bar->actions().size(), 1);
    EXPECT_EQ(bar->actions()[0]->toolTip(), QStringLiteral("Reset CPU"));
    EXPECT_TRUE(bar->isVisible());

    m_frame->ToolBarToggle()->trigger();
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(m_frame->ToolBarToggle()->isChecked());
    const uint32_t old = View().m_board.m_thread.m_dwThreadId;
    m_frame->ResetCpuAction()->trigger();  // the menu's Reset CPU without the bar
    EXPECT_EQ(View().m_board.m_thread.m_bRunning.load(), 1) << "a fresh firmware runs";
    EXPECT_NE(View().m_board.m_thread.m_dwThreadId, old) << "a new thread";
    m_frame->ToolBarToggle()->trigger();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(m_frame->ToolBarToggle()->isChecked());

    m_frame->StatusBarToggle()->trigger();
    EXPECT_FALSE(m_frame->statusBar()->isVisible());
    m_frame->StatusBarToggle()->trigger();
    EXPECT_TRUE(m_frame->statusBar()->isVisible());
}

TEST_F(MainFrameSlow, TheStatusBarShowsAPromptWhileHighlightedAndReadyOtherwise)
{
    EXPECT_EQ(m_frame->MessagePane().text(), QString::fromUtf8("준비"));
    QToolBar* bar = m_frame->findChild<QToolBar*>();
    QWidget* button = bar->widgetForAction(bar->actions()[0]);
    ASSERT_NE(button, nullptr);
    QStatusTipEvent enter(QStringLiteral("Reset CPU"));
    QCoreApplication::sendEvent(button, &enter);
    EXPECT_EQ(m_frame->MessagePane().text(), QStringLiteral("Reset CPU"));
    QStatusTipEvent leave{QString()};
    QCoreApplication::sendEvent(button, &leave);
    EXPECT_EQ(m_frame->MessagePane().text(), QString::fromUtf8("준비"));
}

TEST_F(MainFrameSlow, TheAboutBoxIsModalAndClosesWithOk)
{
    bool wasModal = false;
    QString caption;
    QTimer::singleShot(50, [&] {
        auto* dialog = qobject_cast<CAboutDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        wasModal = dialog->isModal();
        caption = dialog->windowTitle();
        dialog->OkButton()->click();
    });
    m_frame->menuBar()->actions()[3]->menu()->actions()[0]->trigger();
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(caption, QString::fromUtf8("Trelvik 정보"));
}



TEST(MainFrameCloseSlow, ClosingStopsTheFirmwareBeforeTheWidgetsGo)
{
    qt_app();
    reset_simulation_statics();
    auto frame = std::make_unique<CMainFrame>();
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    CSimulatorView& view = frame->ViewWindow().View();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.m_readoutState.m_value.load() == 2; }, 2000));
    frame->close();
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(view.m_board.m_thread.m_bRunning.load(), 0) << "no period runs after the close";
    EXPECT_EQ(view.m_board.m_thread.m_hThread, nullptr);
    EXPECT_TRUE(view.m_board.m_pins.empty());
    frame.reset();
    reset_simulation_statics();
}

}  // namespace
