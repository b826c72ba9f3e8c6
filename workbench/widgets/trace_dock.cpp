#include "workbench/widgets/trace_dock.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "firmware/fw_watch.h"
#include "workbench/model/session_trace.h"
#include "workbench/model/time_axis.h"
#include "workbench/model/time_entry.h"
#include "workbench/widgets/trace_readout.h"
#include "workbench/widgets/trace_view.h"

CTraceDock::CTraceDock(CSessionTrace& recorder, QWidget* parent)
    : QDockWidget(QString::fromUtf8("추적"), parent), m_recorder(&recorder)
{
    setObjectName(QStringLiteral("traceDock"));
    QWidget* body = new QWidget(this);
    QVBoxLayout* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    QHBoxLayout* bar = new QHBoxLayout;
    m_span = new QLabel(body);
    m_follow = new QToolButton(body);
    m_follow->setText(QString::fromUtf8("시계 따라가기"));
    m_follow->setCheckable(true);
    m_follow->setToolTip(QString::fromUtf8("오른쪽 끝이 가상 시계를 따라갑니다 (End)"));
    m_fit = new QToolButton(body);
    m_fit->setText(QString::fromUtf8("전체 보기"));
    m_fit->setToolTip(QString::fromUtf8("처음부터 지금까지 한눈에 봅니다 (F)"));
    m_goTo = new QLineEdit(body);
    m_goTo->setPlaceholderText(QString::fromUtf8("시간으로 가기"));
    m_goTo->setToolTip(QString::fromUtf8("커서 A를 이 시간으로: 1:23.456, 83.5 s, 250 ms (Ctrl+G)"));
    m_goTo->setMaximumWidth(130);
    QToolButton* add = new QToolButton(body);
    add->setText(QString::fromUtf8("변수 추가"));
    add->setPopupMode(QToolButton::InstantPopup);
    m_variables = new QMenu(add);
    add->setMenu(m_variables);
    bar->addWidget(m_span);
    bar->addWidget(m_follow);
    bar->addWidget(m_fit);
    bar->addWidget(add);
    bar->addWidget(m_goTo);
    bar->addStretch(1);
    layout->addLayout(bar);
    m_readout = new QLabel(body);
    m_readout->setTextFormat(Qt::PlainText);
    layout->addWidget(m_readout);

    QScrollArea* scroll = new QScrollArea(body);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFrameShape(QFrame::NoFrame);
    layout->addWidget(scroll, 1);
    setWidget(body);

    m_view = new CTraceView(recorder.Buffer(), scroll);
    m_view->setToolTip(
        QString::fromUtf8("휠: 확대/축소 · Shift+휠, 오른쪽 끌기: 이동 · 클릭, ←/→: 커서 A · Shift+클릭, B: 커서 B · "
                          "Ctrl+←/→: 이전/다음 에지 · 축 끌기, Ctrl+끌기: 구간 확대 · F: 전체 보기 · ↑/↓: 행 선택 · "
                          "Alt+↑/↓: 행 옮기기 · Delete: 행 숨기기 · M: 마커 · D: 첫 차이 · +/-: 확대/축소 · "
                          "End: 시계 따라가기 · Esc: 커서 없애기"));
    scroll->setWidget(m_view);
    // Never narrower than the view: a view wider than the dock would lose its right end, the clock's "now".
    body->setMinimumWidth(m_view->minimumSizeHint().width() + scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                          layout->contentsMargins().left() + layout->contentsMargins().right() + 2);
    connect(m_view, &CTraceView::ViewChanged, this, &CTraceDock::ShowView);
    connect(m_follow, &QToolButton::clicked, this, [this] { m_view->Follow(); });
    connect(m_fit, &QToolButton::clicked, this, [this] { m_view->ZoomToFit(); });
    connect(m_goTo, &QLineEdit::returnPressed, this, &CTraceDock::GoToTyped);
    FillVariables();
    ShowView();
}

void CTraceDock::SetRecorder(CSessionTrace& recorder)
{
    m_recorder = &recorder;
    for (const QString& name : m_chosen)
        recorder.AddVariable(name.toStdString());
    m_view->SetBuffer(recorder.Buffer());
    ShowChosen();
    ShowView();
}

void CTraceDock::FrameDone(uint64_t nowMs)
{
    if (isVisible())
        m_view->SetNow(nowMs);
}

// A moment not yet reached stops at now, and says so; one that does not
// read is left in the box, marked, for the user to mend.
void CTraceDock::GoToTyped()
{
    const QString typed = m_goTo->text().trimmed();
    const std::optional<uint64_t> ms = parse_time_entry(typed);
    m_goTo->setStyleSheet(ms ? QString() : QStringLiteral("QLineEdit { background: #ffd8d8; }"));
    if (!ms) {
        emit Message(QString::fromUtf8("시간 «%1»을(를) 읽을 수 없어 옮기지 않았습니다 (예: 1:23.456, 83.5 s, "
                                       "250 ms, 2 min, 1 h)")
                         .arg(typed));
        return;
    }
    const uint64_t nowMs = m_view->NowMs();
    if (*ms > nowMs)
        emit Message(QString::fromUtf8("%1은(는) 아직 오지 않았습니다: 지금(%2)까지만 있어 커서 A를 지금에 두었습니다")
                         .arg(typed, QString::fromStdString(CTimeAxis::Label(nowMs, 1))));
    else
        emit Message(QString());
    m_view->GoTo(*ms);
    m_view->setFocus();
}

QString CTraceDock::Readout() const { return m_readout->text(); }

void CTraceDock::ShowView()
{
    m_readout->setText(trace_readout(*m_view, m_recorder->Buffer()));
    m_span->setText(QString::fromUtf8("보이는 구간 ") + QString::fromStdString(CTimeAxis::SpanText(m_view->SpanMs())));
    m_follow->setChecked(m_view->Following());
}

// The watched variables, each once; a chosen one is traced from now on. The
// menu is built once: a handler must never delete the action it runs from.
void CTraceDock::FillVariables()
{
    for (uint8_t i = 0; i < FW_VARIABLE_COUNT; ++i) {
        const QString name = QString::fromUtf8(fw_variables[i].name);
        QAction* action = m_variables->addAction(name);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, name] { AddVariable(name); });
    }
    ShowChosen();
}

void CTraceDock::ShowChosen()
{
    for (QAction* action : m_variables->actions()) {
        action->setChecked(m_recorder->Traces(action->text().toStdString()));
        action->setEnabled(!action->isChecked());
    }
}

bool CTraceDock::AddVariable(const QString& name)
{
    if (m_recorder->Traces(name.toStdString()))
        return true;
    if (!m_recorder->AddVariable(name.toStdString()))
        return false;
    m_chosen << name;
    m_view->ChannelsChanged();
    ShowChosen();
    return true;
}
