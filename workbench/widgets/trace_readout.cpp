#include "workbench/widgets/trace_readout.h"

#include <QStringList>

#include "trace/trace_buffer.h"
#include "trace/trace_edges.h"
#include "workbench/model/time_axis.h"
#include "workbench/widgets/trace_view.h"

namespace {
QString moment(uint64_t ms) { return QString::fromStdString(CTimeAxis::Label(ms, 1)); }
QString duration(uint64_t ms) { return QString::fromStdString(CTimeAxis::Duration(ms)); }

QString pulse_text(const CTraceView& view, const CTraceBuffer& buffer)
{
    const int channel = view.SelectedChannel();
    const QString name = QString::fromStdString(buffer.Name(channel));
    const CTraceEdges::CPulse pulse = CTraceEdges(buffer, channel).PulseAt(view.CursorMs());
    const QString width = pulse.widthMs ? duration(*pulse.widthMs) : QStringLiteral("–");
    const QString period = pulse.periodMs ? duration(*pulse.periodMs) : QStringLiteral("–");
    return QString::fromUtf8("%1 폭 %2 · 주기 %3").arg(name, width, period);
}
}  // namespace

QString trace_readout(const CTraceView& view, const CTraceBuffer& buffer)
{
    QStringList parts;
    if (view.HasCursor())
        parts << QStringLiteral("A ") + moment(view.CursorMs());
    if (view.HasCursorB())
        parts << QStringLiteral("B ") + moment(view.CursorBMs());
    if (view.HasCursor() && view.HasCursorB()) {
        const uint64_t a = view.CursorMs();
        const uint64_t b = view.CursorBMs();
        parts << QString::fromUtf8("Δt ") + duration(b < a ? a - b : b - a);
    }
    if (view.HasCursor() && view.SelectedChannel() >= 0)
        parts << pulse_text(view, buffer);
    if (view.HasDivergence())
        parts << QString::fromUtf8("첫 차이 %1 %2 (D)").arg(moment(view.DivergenceMs()), view.DivergenceName());
    if (parts.isEmpty())
        return QString::fromUtf8("클릭: 커서 A · Shift+클릭: 커서 B · 축을 끌어 확대");
    return parts.join(QStringLiteral(" · "));
}
