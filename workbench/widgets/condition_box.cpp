#include "workbench/widgets/condition_box.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {
const char* const TIP =
    "이 조건이 맞을 때까지 진행합니다 (Enter, Ctrl+U; Esc: 패널로).\n"
    "예: state 워싱 · signal DISK_MOT_B 1 · var disk_retry_ls 2 · timer exit_timer idle · not lamp red on";
}  // namespace

CConditionBox::CConditionBox(const QKeySequence& commandKey, QWidget* parent)
    : QComboBox(parent), m_commandKey(commandKey)
{
    setObjectName(QStringLiteral("conditionBox"));
    setEditable(true);
    // Enter runs what is written: nothing is completed or added behind the user's back.
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMinimumContentsLength(26);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lineEdit()->setPlaceholderText(QString::fromUtf8("조건까지 실행: state 워싱"));
    setToolTip(QString::fromUtf8(TIP));
    connect(lineEdit(), &QLineEdit::returnPressed, this, [this] { emit Submitted(Text()); });
    connect(lineEdit(), &QLineEdit::textEdited, this, &CConditionBox::ClearRefused);
    connect(this, &QComboBox::currentIndexChanged, this, &CConditionBox::ClearRefused);
}

void CConditionBox::SetHistory(const QStringList& items)
{
    const QString writing = currentText();
    const QSignalBlocker quiet(this);
    clear();
    addItems(items);
    setCurrentIndex(-1);
    setEditText(writing);
}

void CConditionBox::ShowRefused(const QString& reason)
{
    m_refused = true;
    QPalette refused = lineEdit()->palette();
    refused.setColor(QPalette::Base, QColor(255, 214, 214));
    lineEdit()->setPalette(refused);
    setToolTip(QString::fromUtf8("읽을 수 없는 조건: ") + reason);
}

void CConditionBox::ClearRefused()
{
    if (!m_refused)
        return;
    m_refused = false;
    lineEdit()->setPalette(palette());
    setToolTip(QString::fromUtf8(TIP));
}

void CConditionBox::FocusForWriting()
{
    lineEdit()->setFocus(Qt::ShortcutFocusReason);
    lineEdit()->selectAll();
}

// The box hands shortcut keys to its line edit, which keeps some for itself
// where the platform says so (Ctrl+U clears the line on X11): the command's
// key runs the command on every one.
bool CConditionBox::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride &&
        QKeySequence(static_cast<QKeyEvent*>(event)->keyCombination()) == m_commandKey) {
        event->ignore();
        return true;
    }
    return QComboBox::event(event);
}

void CConditionBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        window()->setFocus(Qt::ShortcutFocusReason);  // the window's focus goes to the panel
        return;
    }
    QComboBox::keyPressEvent(event);
}
