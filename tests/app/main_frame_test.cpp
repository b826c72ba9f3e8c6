// The main window on the offscreen platform: caption, menu, tool bar and
// status bar, the fixed size, focus, the About command, and the start-up and
// shut-down through the application.

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "app/qt/about_dialog.h"
#include "app/qt/main_frame.h"
#include "app/qt/simulator_app.h"
#include "board/platform_thread.h"
#include "firmware/fw_time.h"
#include "qt_app.h"
#include "sim/simulation_reset.h"

namespace {

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

// One frame for the suite: every frame's end costs the bounded stop of a
// firmware waiting in its state (about 5 s).
class MainFrameSlow : public CQtTest {
protected:
    static void SetUpTestSuite()
    {
        qt_app();
        reset_simulation_statics();
        m_frame = std::make_unique<CMainFrame>();
        m_frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_frame.get()));
    }
    static void TearDownTestSuite()
    {
        m_frame.reset();
        reset_simulation_statics();
    }

    CSimulatorView& View() { return m_frame->ViewWindow().View(); }
    QMenu* Menu(int index) { return m_frame->menuBar()->actions()[index]->menu(); }
    QToolBar* ToolBar() { return m_frame->findChild<QToolBar*>(); }

    static std::unique_ptr<CMainFrame> m_frame;
};

std::unique_ptr<CMainFrame> MainFrameSlow::m_frame;

TEST_F(MainFrameSlow, TheCaptionIconAndFixedSize)
{
    EXPECT_EQ(m_frame->windowTitle(), text("Trelvik - 음식물처리기 Simulator")) << "not the title string";
    const QList<QSize> sizes = m_frame->windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32))) << "icon 128 in 16 and 32";

    EXPECT_EQ(m_frame->size(), QSize(500, 500));
    m_frame->resize(700, 300);
    QTest::qWait(20);
    EXPECT_EQ(m_frame->size(), QSize(500, 500)) << "a resize request leaves 500 x 500";
    m_frame->showMaximized();
    QTest::qWait(20);
    EXPECT_EQ(m_frame->size(), QSize(500, 500)) << "maximising leaves 500 x 500";
    m_frame->showNormal();
    EXPECT_FALSE(m_frame->windowFlags() & Qt::WindowMaximizeButtonHint) << "no maximise box";

    EXPECT_GE(m_frame->ViewWindow().height(), 410) << "the view has room for the whole panel";
    EXPECT_EQ(m_frame->ViewWindow().width(), 500);
}

TEST_F(MainFrameSlow, TheMenuHasItsTitlesItemsAndOrder)
{
    const QList<QAction*> menus = m_frame->menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    const char* titles[] = {"파일(&F)", "CPU", "보기(&V)", "도움말(&H)"};
    const std::vector<std::vector<const char*>> items = {
        {"종료(&X)"}, {"Reset CPU"}, {"도구 모음(&T)", "상태 표시줄(&S)"}, {"Trelvik 정보(&A)..."}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(menus[i]->text(), text(titles[i]));
        const QList<QAction*> actions = Menu(i)->actions();
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(items[i].size())) << titles[i];
        for (size_t j = 0; j < items[i].size(); ++j)
            EXPECT_EQ(actions[static_cast<qsizetype>(j)]->text(), text(items[i][j]));
    }
    EXPECT_EQ(Menu(1)->actions()[0], m_frame->ResetCpuAction());
    EXPECT_EQ(Menu(2)->actions()[0], m_frame->ToolBarToggle());
    EXPECT_EQ(Menu(2)->actions()[1], m_frame->StatusBarToggle());
}

TEST_F(MainFrameSlow, TheTogglesHideAndShowTheirBarsAndResetCpuStillWorks)
{
    QToolBar* bar = ToolBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->isMovable());
    EXPECT_FALSE(bar->isFloatable());
    ASSERT_EQ(bar->actions().size(), 1);
    EXPECT_EQ(bar->actions()[0], m_frame->ResetCpuAction()) << "the one button is Reset CPU";
    EXPECT_EQ(bar->widgetForAction(bar->actions()[0])->toolTip(), QStringLiteral("Reset CPU"));
    EXPECT_EQ(bar->iconSize(), QSize(16, 15));
    ASSERT_TRUE(bar->isVisible());
    ASSERT_TRUE(m_frame->ToolBarToggle()->isChecked());

    m_frame->ToolBarToggle()->trigger();
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(m_frame->ToolBarToggle()->isChecked());
    const uint32_t old = View().m_board.m_thread.m_dwThreadId;
    m_frame->ResetCpuAction()->trigger();  // the menu's Reset CPU without the bar
    ASSERT_TRUE(QTest::qWaitFor([&] { return View().m_board.m_thread.m_dwThreadId != old; }, 10000))
        << "the command runs from the event loop";
    EXPECT_EQ(View().m_board.m_thread.m_bRunning.load(), 1) << "a fresh firmware runs";
    EXPECT_NE(View().m_board.m_thread.m_dwThreadId, old) << "on a new thread";
    m_frame->ToolBarToggle()->trigger();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(m_frame->ToolBarToggle()->isChecked()) << "the check mark is back";

    EXPECT_EQ(m_frame->statusBar()->findChildren<QLabel*>().size(), 4) << "message, CAP, NUM and SCRL";
    EXPECT_FALSE(m_frame->statusBar()->isSizeGripEnabled()) << "nothing to size";
    m_frame->StatusBarToggle()->trigger();
    EXPECT_FALSE(m_frame->statusBar()->isVisible());
    EXPECT_FALSE(m_frame->StatusBarToggle()->isChecked());
    m_frame->StatusBarToggle()->trigger();
    EXPECT_TRUE(m_frame->statusBar()->isVisible());
    EXPECT_TRUE(m_frame->StatusBarToggle()->isChecked());
}

TEST_F(MainFrameSlow, TheStatusBarShowsThePromptWhileHighlightedAndReadyOtherwise)
{
    const QLabel& pane = m_frame->MessagePane();
    EXPECT_EQ(pane.text(), text("준비"));

    QWidget* button = ToolBar()->widgetForAction(m_frame->ResetCpuAction());
    ASSERT_NE(button, nullptr);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(button, &enter);
    EXPECT_EQ(pane.text(), QStringLiteral("Reset CPU")) << "the mouse rests on the button";
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button, &leave);
    EXPECT_EQ(pane.text(), text("준비"));

    // The menu items' prompts while highlighted.
    const std::vector<std::pair<int, const char*>> prompts = {
        {0, "응용 프로그램을 종료하기 위해 문서를 저장할 것인지 묻습니다"},
        {2, "도구 모음을 보이거나 감춥니다"},
        {3, "프로그램 정보와 버전 정보, 저작권 정보를 표시합니다"}};
    for (const auto& [index, prompt] : prompts) {
        QMenu* menu = Menu(index);
        m_frame->menuBar()->setActiveAction(menu->menuAction());
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
        menu->setActiveAction(menu->actions()[0]);
        EXPECT_EQ(pane.text(), text(prompt));
        menu->hide();
        m_frame->menuBar()->setActiveAction(nullptr);
        EXPECT_EQ(pane.text(), text("준비")) << "after " << prompt;
    }
}

TEST_F(MainFrameSlow, TheEditAcceleratorsDoNothingAndFocusGoesToTheView)
{
    int triggered = 0;
    auto counter = std::make_unique<QObject>();  // its connections go with it
    for (QAction* action : m_frame->findChildren<QAction*>())
        QObject::connect(action, &QAction::triggered, counter.get(), [&] { ++triggered; });
    const int state = View().m_readoutState.m_value.load();
    const std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys = {
        {Qt::Key_C, Qt::ControlModifier},    {Qt::Key_V, Qt::ControlModifier},      {Qt::Key_X, Qt::ControlModifier},
        {Qt::Key_Z, Qt::ControlModifier},    {Qt::Key_Insert, Qt::ControlModifier}, {Qt::Key_Insert, Qt::ShiftModifier},
        {Qt::Key_Delete, Qt::ShiftModifier}, {Qt::Key_Backspace, Qt::AltModifier},  {Qt::Key_F6, Qt::NoModifier},
        {Qt::Key_F6, Qt::ShiftModifier}};
    for (const auto& [key, modifiers] : keys)
        QTest::keyClick(m_frame.get(), key, modifiers);
    EXPECT_EQ(triggered, 0) << "no command is bound to the edit keys";
    EXPECT_TRUE(m_frame->isVisible());
    EXPECT_EQ(View().m_readoutState.m_value.load(), state);
    counter.reset();

    m_frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
    ToolBar()->setFocus();
    m_frame->setFocus();
    EXPECT_EQ(QApplication::focusWidget(), &m_frame->ViewWindow()) << "focus given to the frame goes to the view";
}

TEST_F(MainFrameSlow, TheAboutCommandOpensTheAboutBoxModally)
{
    bool wasModal = false;
    QString caption;
    QObject guard;  // the check goes with this test, whatever happens
    QTimer::singleShot(50, &guard, [&] {
        auto* dialog = qobject_cast<CAboutDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "the About box is the active modal window";
        wasModal = dialog->isModal();
        caption = dialog->windowTitle();
        dialog->OkButton()->click();
    });
    Menu(3)->actions()[0]->trigger();
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(caption, text("Trelvik 정보"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "closed by 확인";
}

// A clock that notes whether the window's thread read it (the firmware's
// start-up does, inside "Reset CPU") while the wait cursor was shown.
std::thread::id s_windowThread;
std::atomic<bool> s_readUnderWaitCursor{false};

cal_time clock_noting_the_cursor()
{
    if (std::this_thread::get_id() == s_windowThread && QApplication::overrideCursor() &&
        QApplication::overrideCursor()->shape() == Qt::WaitCursor)
        s_readUnderWaitCursor.store(true);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    return cal_time{static_cast<uint32_t>(ms / 1000), static_cast<uint16_t>(ms % 1000)};
}

const time_seam CURSOR_NOTING_CLOCK{clock_noting_the_cursor, PlatformSleep};

// The bounded stop blocks the window's thread: chosen from the menu, it runs
// only once the event loop has the menu closed, with the wait cursor shown.
TEST_F(MainFrameSlow, ResetCpuFromTheMenuRunsFromTheEventLoopUnderTheWaitCursor)
{
    const uint32_t old = View().m_board.m_thread.m_dwThreadId;
    s_windowThread = std::this_thread::get_id();
    time_seam_install(&CURSOR_NOTING_CLOCK);
    Menu(1)->actions()[0]->trigger();
    EXPECT_EQ(View().m_board.m_thread.m_dwThreadId, old) << "nothing is stopped inside the menu's click";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return View().m_board.m_thread.m_dwThreadId != old; }, 10000));
    time_seam_install(nullptr);
    EXPECT_TRUE(s_readUnderWaitCursor.load()) << "the firmware restarted under the wait cursor";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the cursor is put back afterwards";
    EXPECT_EQ(View().m_board.m_thread.m_bRunning.load(), 1);
}

// Records whether the firmware still ran when the frame disappeared.
class CHideWatch : public QObject {
public:
    explicit CHideWatch(CSimulatorView& view) : m_view(view) {}
    int m_runningAtHide = -1;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && m_runningAtHide < 0)
            m_runningAtHide = m_view.m_board.m_thread.m_bRunning.load();
        return false;
    }

private:
    CSimulatorView& m_view;
};

class SimulatorAppSlow : public CQtTest {};

TEST_F(SimulatorAppSlow, StartsTheFrameAndExitStopsTheFirmwareBeforeTheWidgetsGo)
{
    reset_simulation_statics();
    CSimulatorApp app;
    ASSERT_TRUE(app.InitInstance());
    CMainFrame* frame = app.MainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("trelvik"));
    EXPECT_EQ(QCoreApplication::applicationVersion(), QStringLiteral("1.0.0.1"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    CSimulatorView& view = frame->ViewWindow().View();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.m_readoutState.m_value.load() == 2; }, 2000))
        << "the firmware runs its power-off state";

    CHideWatch watch(view);
    frame->installEventFilter(&watch);
    frame->menuBar()->actions()[0]->menu()->actions()[0]->trigger();  // 파일 > 종료
    EXPECT_EQ(watch.m_runningAtHide, 1) << "the window goes at once, before the bounded stop";
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(view.m_board.m_thread.m_bRunning.load(), 0) << "no period runs after the close";
    EXPECT_EQ(view.m_board.m_thread.m_hThread, nullptr);
    EXPECT_TRUE(view.m_board.m_pins.empty());
    EXPECT_EQ(g_pView, &view) << "the widgets still exist";

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app.MainFrame(), nullptr) << "Qt deletes the frame once its window is gone";
    EXPECT_EQ(g_pView, nullptr);
    reset_simulation_statics();
}

}  // namespace
