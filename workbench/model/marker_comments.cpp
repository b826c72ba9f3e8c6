#include "workbench/model/marker_comments.h"

#include <QRegularExpression>

#include "workbench/model/session_record.h"

namespace {

// Minutes go on past 59; the seconds and the milliseconds have their digits.
const QRegularExpression& marker_pattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^#[ \\t]*marker[ \\t]+(\\d{1,9}):([0-5]\\d)\\.(\\d{3})"
                       "(?:[ \\t]+(.*))?$"));
    return pattern;
}

}  // namespace

const char* const MARKERS_HEADER = "# Markers on the trace, with their notes:";

QString marker_comment(const CMarker& marker)
{
    QString line = QStringLiteral("# marker ") + QString::fromStdString(clock_text(marker.ms));
    const QString note = one_line_note(marker.note);
    if (!note.isEmpty())
        line += QLatin1Char(' ') + note;
    return line;
}

bool read_marker_comment(const QString& line, CMarker& marker)
{
    const QRegularExpressionMatch match = marker_pattern().match(line.trimmed());
    if (!match.hasMatch())
        return false;
    marker.ms = match.captured(1).toULongLong() * 60000 + match.captured(2).toULongLong() * 1000 +
                match.captured(3).toULongLong();
    marker.note = one_line_note(match.captured(4));
    return true;
}

QString one_line_note(const QString& note)
{
    QString line = note;
    for (QChar& c : line)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    return line.trimmed();
}

std::string without_marker_comments(const std::string& text)
{
    std::string kept;
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find('\n', from);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string line = text.substr(from, end - from);
        const QString read = QString::fromStdString(line);
        CMarker marker;
        if (read.trimmed() == QLatin1String(MARKERS_HEADER)) {
            if (kept.size() >= 2 && kept.compare(kept.size() - 2, 2, "\n\n") == 0)
                kept.pop_back();
        } else if (!read_marker_comment(read, marker)) {
            kept += line;
        }
        from = end;
    }
    return kept;
}
