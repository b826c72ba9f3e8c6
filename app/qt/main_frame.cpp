#include "app/qt/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QStatusTipEvent>

#include "app/qt/about_dialog.h"
#include "app/qt/picture_loader.h"
#include "app/qt/status_indicators.h"

namespace {
const char* const CAPTION = "Trelvik - 음식물처리기 Simulator";
const char* const IDLE_MESSAGE = "준비";
}  // namespace

// The frame's creation: the view first (it lays the panel out and starts the
// firmware), then the tool bar and the status bar, then the caption.
CMainFrame::CMainFrame()
{
    // A caption, a system menu, minimise and close; no maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Trelvik"));  // the title string, until creation is done
    setWindowIcon(application_icon());
    setCentralWidget(&m_view);
    setFocusProxy(&m_view);                   // focus given to the frame goes to the view
    setContextMenuPolicy(Qt::NoContextMenu);  // the tool bar stays where it is
    m_view.Create();
    CreateMenu();
    CreateToolBar();
    CreateStatusBar();
    setWindowTitle(QString::fromUtf8(CAPTION));
    // 500 x 500 is the frame's whole area as Qt lays it out: menu bar, tool
    // bar, view and status bar. The window manager's caption and borders come
    // on top of that and are not Qt's to size. Neither dragging the border nor
    // maximising changes it.
    setFixedSize(FRAME_SIZE, FRAME_SIZE);
}

CMainFrame::~CMainFrame() { m_view.Destroy(); }

void CMainFrame::CreateMenu()
{
    QMenu* file = menuBar()->addMenu(QString::fromUtf8("파일(&F)"));
    QAction* exit = file->addAction(QString::fromUtf8("종료(&X)"), this, &QWidget::close);
    exit->setStatusTip(QString::fromUtf8("응용 프로그램을 종료하기 위해 문서를 저장할 것인지 묻습니다"));

    QMenu* cpu = menuBar()->addMenu(QStringLiteral("CPU"));
    m_resetCpu = cpu->addAction(QStringLiteral("Reset CPU"));
    // Queued, so that the menu has closed before the stop blocks this thread.
    connect(m_resetCpu, &QAction::triggered, this, &CMainFrame::OnResetCpu, Qt::QueuedConnection);
    m_resetCpu->setStatusTip(QStringLiteral("Reset CPU"));
    m_resetCpu->setToolTip(QStringLiteral("Reset CPU"));
    m_resetCpu->setIcon(toolbar_icon());

    QMenu* view = menuBar()->addMenu(QString::fromUtf8("보기(&V)"));
    m_toolBarToggle = view->addAction(QString::fromUtf8("도구 모음(&T)"));
    m_toolBarToggle->setCheckable(true);
    m_toolBarToggle->setChecked(true);
    m_toolBarToggle->setStatusTip(QString::fromUtf8("도구 모음을 보이거나 감춥니다"));
    connect(m_toolBarToggle, &QAction::toggled, &m_toolBar, &QWidget::setVisible);
    m_statusBarToggle = view->addAction(QString::fromUtf8("상태 표시줄(&S)"));
    m_statusBarToggle->setCheckable(true);
    m_statusBarToggle->setChecked(true);
    m_statusBarToggle->setStatusTip(QString::fromUtf8("상태 표시줄을 표시하거나 감춥니다"));
    connect(m_statusBarToggle, &QAction::toggled, &m_statusBar, &QWidget::setVisible);

    QMenu* help = menuBar()->addMenu(QString::fromUtf8("도움말(&H)"));
    QAction* about = help->addAction(QString::fromUtf8("Trelvik 정보(&A)..."), this, &CMainFrame::OnAbout);
    about->setStatusTip(QString::fromUtf8("프로그램 정보와 버전 정보, 저작권 정보를 표시합니다"));
}

void CMainFrame::CreateToolBar()
{
    m_toolBar.setObjectName(QStringLiteral("toolBar"));
    m_toolBar.setMovable(false);
    m_toolBar.setFloatable(false);
    m_toolBar.setIconSize(QSize(16, 15));
    m_toolBar.setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar.toggleViewAction()->setEnabled(false);
    m_toolBar.addAction(m_resetCpu);
    addToolBar(Qt::TopToolBarArea, &m_toolBar);
}

void CMainFrame::CreateStatusBar()
{
    m_message.setText(QString::fromUtf8(IDLE_MESSAGE));
    m_statusBar.setSizeGripEnabled(false);  // the frame's size is fixed
    m_statusBar.addWidget(&m_message, 1);
    m_indicators = new CStatusIndicators(&m_statusBar);
    setStatusBar(&m_statusBar);
}

// A highlighted menu item or button shows its prompt; otherwise "준비".
bool CMainFrame::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        m_message.setText(tip.isEmpty() ? QString::fromUtf8(IDLE_MESSAGE) : tip);
        return true;
    }
    return QMainWindow::event(event);
}

// The window goes at once; the firmware is stopped before the widgets die.
void CMainFrame::closeEvent(QCloseEvent* event)
{
    hide();
    m_closed = true;
    m_view.Destroy();
    event->accept();
}

// A maximise request from outside (a window manager's menu, a double click
// on the caption) is turned down: the frame keeps its size.
void CMainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
}

void CMainFrame::OnAbout()
{
    CAboutDialog dialog(this);
    dialog.exec();
}

// The view's stop blocks this thread for up to about 5 s while the old
// firmware runs on: the window is drawn whole (no menu left over it) and shows
// the wait cursor before the block, and the cursor is put back after it.
void CMainFrame::OnResetCpu()
{
    if (m_closed)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    repaint();
    m_view.OnResetCpu();
    QApplication::restoreOverrideCursor();
}
