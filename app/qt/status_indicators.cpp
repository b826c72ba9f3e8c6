#include "app/qt/status_indicators.h"

#include <QGuiApplication>
#include <QStatusBar>
#include <QTimerEvent>

#ifdef TRELVIK_HAVE_X11
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#endif

namespace {

constexpr int POLL_MS = 250;

// Bit 0 caps lock, bit 1 num lock, bit 2 scroll lock; -1 when unknown.
int lock_keys()
{
#ifdef TRELVIK_HAVE_X11
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return -1;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return -1;
    unsigned int state = 0;
    if (XkbGetIndicatorState(display, XkbUseCoreKbd, &state) != Success)
        return -1;
    return static_cast<int>(state & 0x7);
#else
    return -1;
#endif
}

QLabel* pane(QStatusBar* bar, const char* widest)
{
    auto* label = new QLabel(bar);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QString::fromLatin1(widest)) + 8);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->addPermanentWidget(label);
    return label;
}

}  // namespace

CStatusIndicators::CStatusIndicators(QStatusBar* bar) : QObject(bar)
{
    m_caps = pane(bar, "CAP");
    m_num = pane(bar, "NUM");
    m_scroll = pane(bar, "SCRL");
    Poll();
    m_poll.start(POLL_MS, this);
}

void CStatusIndicators::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_poll.timerId())
        Poll();
}

void CStatusIndicators::Poll()
{
    const int keys = lock_keys();
    const bool known = keys >= 0;
    m_caps->setText(known && (keys & 1) ? QStringLiteral("CAP") : QString());
    m_num->setText(known && (keys & 2) ? QStringLiteral("NUM") : QString());
    m_scroll->setText(known && (keys & 4) ? QStringLiteral("SCRL") : QString());
}
