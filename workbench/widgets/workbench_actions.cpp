#include "workbench/widgets/workbench_actions.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "workbench/model/frame_clock.h"

CWorkbenchActions::CWorkbenchActions(QObject* parent) : QObject(parent)
{
    openScenario = Make("시나리오 열기(&O)...", QKeySequence(Qt::CTRL | Qt::Key_O), "시나리오를 이 창에서 재생합니다");
    saveScenario =
        Make("시나리오 저장(&S)...", QKeySequence(Qt::CTRL | Qt::Key_S), "세션에서 한 일을 시나리오 파일로 저장합니다");
    snapshot = Make("패널 스냅샷(&P)...", QKeySequence(Qt::CTRL | Qt::Key_P), "패널을 PNG 그림으로 저장합니다");
    exportTrace =
        Make("추적 내보내기(&E)...", QKeySequence(Qt::CTRL | Qt::Key_E), "지금까지의 추적을 VCD 파일로 저장합니다");
    openBaseline = Make("기준 추적 열기(&B)...", QKeySequence(Qt::CTRL | Qt::Key_B),
                        "전에 기록한 추적(VCD)을 지금 추적 아래에 놓고 처음 다른 곳을 찾습니다");
    closeBaseline = Make("기준 추적 닫기(&C)", QKeySequence(), "기준 추적을 치웁니다");
    newSession = Make("새 세션(&N)", QKeySequence(Qt::CTRL | Qt::Key_N), "제어기를 처음부터 다시 시작합니다");
    quit = Make("종료(&X)", QKeySequence(Qt::CTRL | Qt::Key_Q), "워크벤치를 끝냅니다");

    run = Make("실행", QKeySequence(Qt::Key_Space), "가상 시간을 흘리거나 멈춥니다");
    step1 = Make("+1 ms", QKeySequence(Qt::Key_F10), "1 ms 진행합니다");
    step100 = Make("+100 ms", QKeySequence(Qt::SHIFT | Qt::Key_F10), "100 ms 진행합니다");
    stepState = Make("다음 상태", QKeySequence(Qt::Key_F11), "상태가 바뀔 때까지 진행합니다");
    runUntil = Make("조건까지 실행", QKeySequence(Qt::CTRL | Qt::Key_U),
                    "시간 막대의 조건 칸에 쓴 조건이 맞을 때까지 진행합니다 (조건 칸에서 Enter)");
    seekLimit = Make("다음 상태 한도(&L)...", QKeySequence(), "다음 상태를 찾다가 멈출 가상 시간을 정합니다");
    speedGroup = new QActionGroup(this);
    for (int i = 0; i < SPEEDS; ++i) {
        speed[i] = Make(CFrameClock::SPEED_LABELS[i], QKeySequence(Qt::CTRL | (Qt::Key_1 + i)),
                        i == CFrameClock::SPEED_MAX ? "가능한 한 빠르게 진행합니다" : "이 배속으로 진행합니다");
        speed[i]->setCheckable(true);
        speed[i]->setData(i);
        speedGroup->addAction(speed[i]);
    }
    speed[CFrameClock::SPEED_ONE]->setChecked(true);

    resetCpu = Make("Reset CPU", QKeySequence(Qt::CTRL | Qt::Key_R),
                    "펌웨어를 멈추고 처음부터 다시 시작합니다 (멈추는 데 가상 시간 최대 5050 ms)");

    zoomIn = Make("추적 확대(&I)", QKeySequence(Qt::CTRL | Qt::Key_Equal), "추적의 시간 축을 늘립니다");
    zoomOut = Make("추적 축소(&O)", QKeySequence(Qt::CTRL | Qt::Key_Minus), "추적의 시간 축을 줄입니다");
    zoomReset = Make("추적 10초(&R)", QKeySequence(Qt::CTRL | Qt::Key_0), "추적에 마지막 10초를 보입니다");

    zoomFit = Make("추적 전체 보기(&F)", QKeySequence(), "추적에 처음부터 지금까지를 보입니다");
    goToTime =
        Make("시간으로 가기(&G)...", QKeySequence(Qt::CTRL | Qt::Key_G), "추적의 커서 A를 적은 시간으로 옮깁니다");
    saveView = Make("보기 저장(&W)...", QKeySequence(), "추적의 행과 배율을 이름을 붙여 보기 파일에 저장합니다");
    openViews = Make("보기 파일 열기(&E)...", QKeySequence(), "이름 붙은 추적 보기를 담은 파일을 고릅니다");
    resetLayout = Make("배치 초기화(&L)", QKeySequence(), "창과 도킹 창의 배치를 처음 것으로 되돌립니다");

    shortcuts = Make("단축키(&K)", QKeySequence(Qt::Key_F1), "단축키 목록을 보입니다");
    about = Make("워크벤치 정보(&A)...", QKeySequence(), "프로그램 정보와 버전 정보를 표시합니다");
}

QAction* CWorkbenchActions::Make(const char* text, const QKeySequence& key, const char* tip)
{
    QAction* action = new QAction(QString::fromUtf8(text), this);
    action->setShortcut(key);
    action->setStatusTip(QString::fromUtf8(tip));
    if (!key.isEmpty())
        action->setToolTip(QString::fromUtf8(tip) + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) +
                           QStringLiteral(")"));
    return action;
}

void CWorkbenchActions::FillMenus(QMenuBar& bar)
{
    QMenu* file = bar.addMenu(QString::fromUtf8("파일(&F)"));
    file->addActions({openScenario, saveScenario});
    file->addSeparator();
    file->addActions({snapshot, exportTrace});
    file->addSeparator();
    file->addActions({openBaseline, closeBaseline});
    file->addSeparator();
    file->addActions({newSession, quit});

    QMenu* time = bar.addMenu(QString::fromUtf8("시간(&T)"));
    time->addActions({run, step1, step100, stepState, runUntil, seekLimit});
    time->addSeparator();
    for (QAction* s : speed)
        time->addAction(s);

    QMenu* cpu = bar.addMenu(QStringLiteral("CPU"));
    cpu->addAction(resetCpu);

    m_faultMenu = bar.addMenu(QString::fromUtf8("고장(&U)"));

    m_viewMenu = bar.addMenu(QString::fromUtf8("보기(&V)"));
    m_viewMenu->addActions({zoomIn, zoomOut, zoomReset, zoomFit, goToTime});
    m_viewMenu->addSeparator();
    m_namedViews = m_viewMenu->addMenu(QString::fromUtf8("보기(&N)"));
    m_viewMenu->addActions({saveView, openViews});
    m_viewMenu->addSeparator();
    m_viewMenu->addAction(resetLayout);
    m_viewMenu->addSeparator();

    QMenu* help = bar.addMenu(QString::fromUtf8("도움말(&H)"));
    help->addActions({shortcuts, about});
}

QString CWorkbenchActions::ShortcutsTable() const
{
    QString rows;
    const auto row = [&rows](const QString& key, const QString& what) {
        rows += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>").arg(key.toHtmlEscaped(), what.toHtmlEscaped());
    };
    for (const QAction* action : findChildren<QAction*>())
        if (!action->shortcut().isEmpty())
            row(action->shortcut().toString(QKeySequence::NativeText),
                QString(action->text()).remove(QLatin1Char('&')));
    static const char* const OTHERS[][2] = {
        {"F2 / F3 / F4 / F5", "제어기 / 추적 / 기록 / 마커 창 보이기, 감추기"},
        {"P, W, C, D", "패널의 전원, 수동세척, 커버, 서랍을 누르고 있는 동안 누름"},
        {"Alt+F, T, U, V, H", "파일, 시간, 고장, 보기, 도움말 메뉴"},
        {"추적: 클릭 / Shift+클릭", "커서 A / 커서 B를 놓음"},
        {"추적: ← / →", "커서 A를 1 픽셀 (Shift: 10 픽셀) 옮김"},
        {"추적: Ctrl+← / Ctrl+→", "커서 A를 고른 행의 이전 / 다음 에지로"},
        {"추적: B", "커서 B를 커서 A 자리에"},
        {"추적: 축 끌기, Ctrl+끌기", "끈 구간으로 확대"},
        {"추적: F / + / −", "전체 보기 / 확대 / 축소"},
        {"추적: ↑ / ↓", "행 고르기"},
        {"추적: Alt+↑ / Alt+↓ / Delete", "고른 행을 위로 / 아래로 / 숨기기"},
        {"추적: M", "커서 A에 마커"},
        {"추적: D", "기준 추적과 처음 다른 곳으로"},
        {"추적: End / Esc", "시계 따라가기 / 커서 없애기"},
    };
    for (const auto& other : OTHERS)
        row(QString::fromUtf8(other[0]), QString::fromUtf8(other[1]));
    return QStringLiteral("<table cellspacing=4>") + rows + QStringLiteral("</table>");
}
