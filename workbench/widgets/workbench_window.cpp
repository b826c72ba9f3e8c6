#include "workbench/widgets/workbench_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QVBoxLayout>

#include <algorithm>

#include "app/qt/picture_loader.h"
#include "trelvik_version.h"
#include "workbench/model/frame_driver.h"
#include "workbench/model/marker_list.h"
#include "workbench/model/scenario_replay.h"
#include "workbench/widgets/baseline_control.h"
#include "workbench/widgets/controller_dock.h"
#include "workbench/widgets/fault_menu.h"
#include "workbench/widgets/log_dock.h"
#include "workbench/widgets/marker_dock.h"
#include "workbench/widgets/panel_view.h"
#include "workbench/widgets/session_files.h"
#include "workbench/widgets/time_bar.h"
#include "workbench/widgets/trace_dock.h"
#include "workbench/widgets/trace_view.h"
#include "workbench/widgets/trace_views_menu.h"
#include "workbench/widgets/until_run.h"
#include "workbench/widgets/workbench_actions.h"

CWorkbenchWindow::CWorkbenchWindow(const QString& settingsFile)
    : m_actions(new CWorkbenchActions(this)),
      m_driver(new CFrameDriver(m_session, this)),
      m_panel(new CPanelView(m_session)),
      m_timeBar(new CTimeBar(*m_actions, this)),
      m_markers(new CMarkerList(this)),
      m_files(new CSessionFiles(m_session, *m_panel, *m_markers, this)),
      m_replay(new CScenarioReplay(m_session, this)),
      m_until(new CUntilRun(m_session, *m_driver, m_timeBar->ConditionBox(), settingsFile, this)),
      m_layout(settingsFile)
{
    setWindowTitle(QString::fromUtf8("Trelvik 워크벤치"));
    setWindowIcon(application_icon());
    m_actions->FillMenus(*menuBar());
    m_faults = new CFaultMenu(*m_actions->FaultMenu(), m_session);
    addActions(m_actions->findChildren<QAction*>());
    m_driver->m_advance = [this](uint64_t limitMs, const std::function<bool()>& stop) {
        return m_replay->Advance(limitMs, stop);
    };
    m_session.m_beforeInput = [this] { m_driver->CatchUp(); };
    addToolBar(Qt::TopToolBarArea, m_timeBar);

    // The panel keeps its size; the docks take what the window has over,
    // also when it grows again after being made small.
    QWidget* centre = new QWidget;
    QVBoxLayout* layout = new QVBoxLayout(centre);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_panel, 0, Qt::AlignHCenter | Qt::AlignTop);
    centre->setMaximumWidth(CPanelView::WIDTH + 8);
    setCentralWidget(centre);
    setFocusProxy(m_panel);
    m_panel->setFocus();

    CreateDocks();
    m_traceViews = new CTraceViewsMenu(*m_actions, *m_traceDock, m_layout.Settings(), this);
    statusBar()->addWidget(&m_status, 1);
    statusBar()->setSizeGripEnabled(true);
    Connect();
    ConnectMarkers();
    OnModeChanged();
    FitScreen();
    RestoreLayout();
}

void CWorkbenchWindow::RestoreLayout()
{
    for (const QString& name : m_layout.Restore(*this))
        m_traceDock->AddVariable(name);
}

// As much of the screen as the three columns want.
void CWorkbenchWindow::FitScreen()
{
    QSize size(1560, 960);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize());
    resize(size);
    const int controller = std::max(470, m_controllerDock->NaturalWidth());
    const int trace =
        std::max(m_traceDock->minimumSizeHint().width(), size.width() - controller - CPanelView::WIDTH - 20);
    resizeDocks({m_controllerDock, m_traceDock}, {controller, trace}, Qt::Horizontal);
}

CWorkbenchWindow::~CWorkbenchWindow()
{
    m_session.m_beforeInput = nullptr;
    m_driver->Pause();
}

// The docks, each shown or hidden from 보기 with its own key: the controller
// at the left and the trace at the right, both over the window's whole
// height; the panel between them, the replay's log under it and the
// markers in a tab beside the log.
void CWorkbenchWindow::CreateDocks()
{
    setCorner(Qt::TopLeftCorner, Qt::LeftDockWidgetArea);
    setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
    setCorner(Qt::TopRightCorner, Qt::RightDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);
    m_controllerDock = new CControllerDock(this);
    addDockWidget(Qt::LeftDockWidgetArea, m_controllerDock);
    m_traceDock = new CTraceDock(m_session.Trace(), this);
    addDockWidget(Qt::RightDockWidgetArea, m_traceDock);
    m_logDock = new CLogDock(*m_replay, this);
    addDockWidget(Qt::BottomDockWidgetArea, m_logDock);
    m_markerDock = new CMarkerDock(*m_markers, this);
    tabifyDockWidget(m_logDock, m_markerDock);
    m_logDock->raise();
    const struct {
        QDockWidget* dock;
        Qt::Key key;
    } docks[] = {
        {m_controllerDock, Qt::Key_F2}, {m_traceDock, Qt::Key_F3}, {m_logDock, Qt::Key_F4}, {m_markerDock, Qt::Key_F5}};
    for (const auto& d : docks) {
        QAction* toggle = d.dock->toggleViewAction();
        toggle->setShortcut(QKeySequence(d.key));
        m_actions->ViewMenu()->addAction(toggle);
        addAction(toggle);
    }
}

void CWorkbenchWindow::Connect()
{
    CWorkbenchActions& a = *m_actions;
    connect(a.quit, &QAction::triggered, this, &QWidget::close);
    connect(a.newSession, &QAction::triggered, this, &CWorkbenchWindow::OnNewSession);
    connect(a.run, &QAction::triggered, m_driver, &CFrameDriver::ToggleRun);
    connect(a.step1, &QAction::triggered, m_driver, [this] { m_driver->Step(1); });
    connect(a.step100, &QAction::triggered, m_driver, [this] { m_driver->Step(100); });
    connect(a.stepState, &QAction::triggered, m_driver, &CFrameDriver::SeekNextState);
    connect(a.runUntil, &QAction::triggered, m_until, &CUntilRun::Command);
    connect(m_until, &CUntilRun::Message, this, [this](const QString& message) { statusBar()->showMessage(message); });
    connect(a.seekLimit, &QAction::triggered, this, &CWorkbenchWindow::AskSeekLimit);
    connect(m_driver, &CFrameDriver::SeekGaveUp, this, [this] {
        statusBar()->showMessage(QString::fromUtf8("다음 상태를 %1분 동안 찾지 못해 멈췄습니다 (시간 › 다음 상태 한도)")
                                     .arg(m_driver->SeekLimitMs() / 60000));
    });
    connect(a.speedGroup, &QActionGroup::triggered, m_driver,
            [this](QAction* speed) { m_driver->SetSpeed(speed->data().toInt()); });
    connect(a.resetCpu, &QAction::triggered, this, [this] {
        m_session.ResetCpu();
        ShowStatus();
    });
    connect(a.openScenario, &QAction::triggered, this, &CWorkbenchWindow::AskOpenScenario);
    connect(a.shortcuts, &QAction::triggered, this,
            [this] { QMessageBox::information(this, QString::fromUtf8("단축키"), m_actions->ShortcutsTable()); });
    connect(a.about, &QAction::triggered, this, [this] {
        QMessageBox::about(this, QString::fromUtf8("워크벤치 정보"),
                           QString::fromUtf8("<b>trelvik-workbench</b> %1<br>음식물처리기 제어기를 가상 시간에서 "
                                             "멈추고, 한 걸음씩 보고, 빠르게 돌립니다.")
                               .arg(QStringLiteral(TRELVIK_VERSION)));
    });
    connect(m_replay, &CScenarioReplay::Restarted, this, &CWorkbenchWindow::OnSessionRestarted);
    connect(m_replay, &CScenarioReplay::Failed, m_driver, &CFrameDriver::Pause);
    connect(m_replay, &CScenarioReplay::Ended, this, &CWorkbenchWindow::ShowStatus);
    connect(m_faults, &CFaultMenu::Changed, this, &CWorkbenchWindow::ShowStatus);
    connect(a.saveScenario, &QAction::triggered, m_files, &CSessionFiles::AskSaveScenario);
    connect(a.snapshot, &QAction::triggered, m_files, &CSessionFiles::AskSaveSnapshot);
    connect(a.exportTrace, &QAction::triggered, m_files, &CSessionFiles::AskExportTrace);
    connect(m_files, &CSessionFiles::Saved, this,
            [this](const QString& message) { statusBar()->showMessage(message, 5000); });
    connect(m_driver, &CFrameDriver::Frame, this, &CWorkbenchWindow::OnFrame);
    connect(m_driver, &CFrameDriver::ModeChanged, this, &CWorkbenchWindow::OnModeChanged);
    connect(m_panel, &CPanelView::Input, this, &CWorkbenchWindow::ShowStatus);
    // The baseline: its commands, each frame and each new simulator.
    m_baseline = new CBaselineControl(m_session, *m_replay, m_traceDock->View(), *m_logDock, this);
    connect(a.openBaseline, &QAction::triggered, m_baseline, &CBaselineControl::AskOpen);
    connect(a.closeBaseline, &QAction::triggered, m_baseline, &CBaselineControl::Close);
    connect(m_baseline, &CBaselineControl::Changed, this, &CWorkbenchWindow::ShowStatus);
    connect(m_replay, &CScenarioReplay::PausedAt, m_driver, &CFrameDriver::Pause);
    connect(a.zoomIn, &QAction::triggered, this, [this] { m_traceDock->View().Zoom(0.5); });
    connect(a.zoomOut, &QAction::triggered, this, [this] { m_traceDock->View().Zoom(2); });
    connect(a.zoomReset, &QAction::triggered, this, [this] { m_traceDock->View().ResetZoom(); });
    connect(a.zoomFit, &QAction::triggered, this, [this] { m_traceDock->View().ZoomToFit(); });
    connect(a.goToTime, &QAction::triggered, this, [this] {
        m_traceDock->show();
        m_traceDock->FrameDone(m_session.Now());  // a hidden dock's view missed the frames since
        m_traceDock->GoToBox().setFocus();
        m_traceDock->GoToBox().selectAll();
    });
    connect(a.resetLayout, &QAction::triggered, this, [this] { m_layout.ResetToDefault(*this); });
}

// M in the trace drops a marker at cursor A; the trace draws them all and
// goes to the one picked in the dock.
void CWorkbenchWindow::ConnectMarkers()
{
    CTraceView& view = m_traceDock->View();
    connect(&view, &CTraceView::MarkerAsked, m_markerDock, &CMarkerDock::Drop);
    connect(m_markerDock, &CMarkerDock::GoToAsked, &view, &CTraceView::GoTo);
    connect(m_markers, &CMarkerList::Changed, &view, [this] { m_traceDock->View().SetMarkers(m_markers->Times()); });
    connect(m_traceViews, &CTraceViewsMenu::Message, this,
            [this](const QString& message) { statusBar()->showMessage(message, 10000); });
    connect(m_traceDock, &CTraceDock::Message, this,
            [this](const QString& message) { statusBar()->showMessage(message, 10000); });
}

// Once per frame: every view takes the new moment; Qt paints them together.
void CWorkbenchWindow::OnFrame()
{
    if (m_baseline)
        m_baseline->FrameDone();
    m_panel->FrameDone();
    m_traceDock->FrameDone(m_session.Now());
    m_controllerDock->FrameDone(m_session.Now(), m_driver->Running());
    m_timeBar->Show(m_session.Now(), m_driver->Achieved(), m_driver->Running());
    ShowStatus();
}

void CWorkbenchWindow::OnModeChanged()
{
    const bool running = m_driver->Running();
    if (running)
        statusBar()->clearMessage();  // the message said why the run before stopped
    m_actions->run->setText(QString::fromUtf8(running ? "일시정지" : "실행"));
    m_actions->speed[m_driver->Clock().SpeedIndex()]->setChecked(true);
    OnFrame();
}

void CWorkbenchWindow::OnNewSession()
{
    if (!m_files->MayDiscardSession(QString::fromUtf8("새 세션")))
        return;
    m_driver->Pause();
    m_replay->Cancel();
    m_session.Restart();
    OnSessionRestarted();  // first: nothing may look at the old simulator's trace
    m_logDock->Clear();
    m_markers->Clear();
    statusBar()->clearMessage();  // why the old session's run stopped (a limit, a condition)
}

void CWorkbenchWindow::closeEvent(QCloseEvent* event)
{
    if (!m_files->MayDiscardSession(QString::fromUtf8("종료"))) {
        event->ignore();
        return;
    }
    m_driver->Pause();
    m_layout.Save(*this, m_traceDock->Chosen());
    QMainWindow::closeEvent(event);
}

// A new simulator: every view looks at it from now on.
void CWorkbenchWindow::OnSessionRestarted()
{
    m_traceDock->SetRecorder(m_session.Trace());
    m_traceDock->View().SetMarkers(m_markers->Times());
    m_controllerDock->SessionRestarted();
    m_baseline->SessionRestarted();
    m_panel->update();
    OnFrame();
}

bool CWorkbenchWindow::OpenScenario(const QString& path, QString& error)
{
    if (!m_replay->Open(path, error))
        return false;
    m_markers->ReadScenario(m_replay->Lines());
    m_replay->Start();
    m_logDock->show();
    m_driver->Run();
    return true;
}

bool CWorkbenchWindow::OpenBaseline(const QString& path, QString& error) { return m_baseline->Open(path, error); }

void CWorkbenchWindow::AskOpenScenario()
{
    if (!m_files->MayDiscardSession(QString::fromUtf8("시나리오 열기")))
        return;
    const QString path = QFileDialog::getOpenFileName(this, QString::fromUtf8("시나리오 열기"), QString(),
                                                      QString::fromUtf8("시나리오 (*.scn);;모든 파일 (*)"));
    QString error;
    if (!path.isEmpty() && !OpenScenario(path, error))
        QMessageBox::warning(this, QString::fromUtf8("시나리오 열기"), error);
}

void CWorkbenchWindow::AskSeekLimit()
{
    bool ok = false;
    const int minutes = QInputDialog::getInt(this, QString::fromUtf8("다음 상태 한도"),
                                             QString::fromUtf8("다음 상태를 찾을 가상 시간 (분):"),
                                             static_cast<int>(m_driver->SeekLimitMs() / 60000), 1, 24 * 60, 1, &ok);
    if (ok)
        m_driver->SetSeekLimitMs(static_cast<uint64_t>(minutes) * 60000);
}

void CWorkbenchWindow::ShowStatus()
{
    QString text;
    switch (m_driver->GetMode()) {
    case CFrameDriver::PAUSED:
        text = QString::fromUtf8("일시정지");
        break;
    case CFrameDriver::RUNNING:
        text = QString::fromUtf8("실행 중 ") + m_actions->speed[m_driver->Clock().SpeedIndex()]->text();
        break;
    case CFrameDriver::SEEKING_STATE:
        text = QString::fromUtf8("다음 상태를 찾는 중 (한도 %1분)").arg(m_driver->SeekLimitMs() / 60000);
        break;
    case CFrameDriver::RUNNING_UNTIL:
        text = m_until->WaitingText() + QStringLiteral(" ") + m_actions->speed[m_driver->Clock().SpeedIndex()]->text() +
               QString::fromUtf8(" (한도 %1분)").arg(m_driver->SeekLimitMs() / 60000);
        break;
    }
    if (m_session.ResettingCpu())
        text += QString::fromUtf8(" · CPU 리셋 중 (입력은 끝난 뒤에)");
    if (m_replay->Active())
        text += QString::fromUtf8(" · 시나리오 재생 중 %1:%2 (입력 막힘)")
                    .arg(m_replay->FileName())
                    .arg(m_replay->ShownLine());
    const std::string faults = m_session.ActiveFaults();
    if (!faults.empty())
        text += QString::fromUtf8(" · 고장: ") + QString::fromStdString(faults);
    if (const QString baseline = m_baseline ? m_baseline->StatusText() : QString(); !baseline.isEmpty())
        text += QStringLiteral(" · ") + baseline;
    if (!m_prompt.isEmpty())
        text = m_prompt;
    if (text != m_status.text())
        m_status.setText(text);
}

// A highlighted command shows its prompt on the status line while it is highlighted.
bool CWorkbenchWindow::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        m_prompt = static_cast<QStatusTipEvent*>(event)->tip();
        ShowStatus();
        return true;
    }
    return QMainWindow::event(event);
}
