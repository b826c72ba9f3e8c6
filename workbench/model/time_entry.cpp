#include "workbench/model/time_entry.h"

#include <QRegularExpression>

#include <cmath>

namespace {
constexpr double MAX_MS = 1e15;  // far past any run, and exact in a double

std::optional<uint64_t> whole_ms(double ms)
{
    if (!std::isfinite(ms) || ms < 0 || ms > MAX_MS)
        return std::nullopt;
    return static_cast<uint64_t>(std::llround(ms));
}

std::optional<uint64_t> clock_entry(const QString& text)
{
    static const QRegularExpression clock(QStringLiteral("^(?:(\\d+):)?(\\d+):(\\d+(?:\\.\\d*)?)$"));
    const QRegularExpressionMatch match = clock.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const double seconds = match.captured(3).toDouble();
    if (seconds >= 60 || (match.hasCaptured(1) && match.captured(2).toDouble() >= 60))
        return std::nullopt;
    const double hours = match.hasCaptured(1) ? match.captured(1).toDouble() : 0;
    return whole_ms(((hours * 60 + match.captured(2).toDouble()) * 60 + seconds) * 1000);
}
}  // namespace

std::optional<uint64_t> parse_time_entry(const QString& typed)
{
    const QString text = typed.trimmed();
    if (const std::optional<uint64_t> ms = clock_entry(text))
        return ms;
    static const QRegularExpression amount(QStringLiteral("^(\\d+(?:\\.\\d*)?|\\.\\d+)\\s*(ms|s|min|h)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = amount.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QString unit = match.captured(2).toLower();
    const double scale = unit == "ms" ? 1 : unit == "min" ? 60'000 : unit == "h" ? 3'600'000 : 1000;
    return whole_ms(match.captured(1).toDouble() * scale);
}
