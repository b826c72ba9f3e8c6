#include "workbench/model/trace_views_file.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <cerrno>
#include <cmath>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/utf8.h"

namespace {

const char HEADER[] =
    "# Trace views of trelvik-workbench, one after another: \"view NAME\", then\n"
    "# \"span MS\" (the time across the view), \"end MS\" (its right edge in virtual\n"
    "# time) or \"end follow\" (following the clock), then \"row NAME\" for each row\n"
    "# shown, from the top. Lines starting with # are comments.\n";

// Whole milliseconds stay whole; parts of one keep three decimals.
QString number_text(double ms)
{
    QString text = QString::number(ms, 'f', 3);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

bool read_number(const QString& text, double least, double& value)
{
    bool ok = false;
    value = text.toDouble(&ok);
    return ok && std::isfinite(value) && value >= least && value <= 1e15;
}

QString quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

QString ko(const char* text) { return QString::fromUtf8(text); }

// The reasons a user meets most in the window's words; the system's for the rest.
QString system_reason(int error)
{
    switch (error) {
    case ENOENT:
        return ko("파일이 없습니다");
    case EACCES:
        return ko("읽을 권한이 없습니다");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

// The file's bytes, or false with the reason; never blocks on a FIFO.
bool read_regular(const QString& path, QByteArray& bytes, QString& reason, int& error)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = errno;
        reason = system_reason(error);
        return false;
    }
    error = 0;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > CTraceViewsFile::MAX_BYTES) {
        reason = S_ISDIR(st.st_mode)    ? ko("폴더이지 보기 파일이 아닙니다")
                 : !S_ISREG(st.st_mode) ? ko("일반 파일이 아니어서 보기 파일이 아닙니다")
                                        : ko("1 MB보다 커서 보기 파일이 아닙니다");
        close(fd);
        return false;
    }
    bytes.resize(static_cast<qsizetype>(st.st_size));
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = read(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            reason = n < 0 ? system_reason(errno) : ko("읽는 동안 바뀌었습니다");
            close(fd);
            return false;
        }
        done += n;
    }
    close(fd);
    return true;
}

}  // namespace

bool CTraceViewsFile::Read(const QString& path, bool missingIsEmpty)
{
    QByteArray bytes;
    QString reason;
    int error = 0;
    if (read_regular(path, bytes, reason, error))
        return Parse(path, bytes);
    m_views.clear();
    if (error == ENOENT && missingIsEmpty)
        return true;
    m_error = path + QStringLiteral(": ") + reason;
    return false;
}

bool CTraceViewsFile::Parse(const QString& path, const QByteArray& text)
{
    m_path = path;
    m_error.clear();
    m_views.clear();
    m_viewLine = 0;
    const std::string_view bytes(text.constData(), static_cast<size_t>(text.size()));
    size_t from = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    for (int number = 1; from < bytes.size(); ++number) {
        size_t end = bytes.find('\n', from);
        end = end == std::string_view::npos ? bytes.size() : end;
        std::string_view line = bytes.substr(from, end - from);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        for (size_t i = 0; i < line.size();) {
            const unsigned char c = static_cast<unsigned char>(line[i]);
            const size_t length = utf8_length(line, i);
            if (length == 0)
                return Fail(number, ko("UTF-8 글이 아닙니다 (바이트 0x%1)").arg(c, 2, 16, QLatin1Char('0')));
            if ((c < 0x20 && c != '\t') || c == 0x7F)
                return Fail(number, ko("글이 아닙니다 (제어 바이트 0x%1)").arg(c, 2, 16, QLatin1Char('0')));
            i += length;
        }
        if (!ReadLine(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())).trimmed(), number))
            return false;
        from = end + 1;
    }
    return EndView();
}

bool CTraceViewsFile::ReadLine(const QString& line, int number)
{
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
        return true;
    const qsizetype blank = line.indexOf(QRegularExpression(QStringLiteral("[ \\t]")));
    const QString word = line.left(blank);
    const QString rest = blank < 0 ? QString() : line.mid(blank + 1).trimmed();
    if (word == QLatin1String("view")) {
        if (!EndView())
            return false;
        if (rest.isEmpty())
            return Fail(number, ko("보기에는 이름이 있어야 합니다: \"view 이름\""));
        if (Find(rest))
            return Fail(number, ko("이름이 %1인 보기가 또 있습니다").arg(quoted(rest)));
        m_views.push_back(CNamedView{rest, {}, 0, 0, true});
        m_viewLine = number;
        m_hasSpan = m_hasEnd = false;
        return true;
    }
    if (word != QLatin1String("span") && word != QLatin1String("end") && word != QLatin1String("row"))
        return Fail(
            number,
            ko("%1은(는) 보기 파일의 줄이 아닙니다: view, span, end, row 중 하나를 쓰십시오").arg(quoted(word)));
    if (m_viewLine == 0)
        return Fail(number, ko("%1 줄 앞에 \"view 이름\" 줄이 없습니다").arg(quoted(word)));
    CNamedView& view = m_views.back();
    if (word == QLatin1String("row")) {
        if (rest.isEmpty() || rest.contains(QRegularExpression(QStringLiteral("[ \\t]"))))
            return Fail(number, ko("행은 빈칸 없는 이름 하나입니다: \"row 이름\""));
        if (view.rows.contains(rest))
            return Fail(number, ko("보기 %1에 행 %2이(가) 두 번 있습니다").arg(quoted(view.name), quoted(rest)));
        view.rows << rest;
        return true;
    }
    bool& seen = word == QLatin1String("span") ? m_hasSpan : m_hasEnd;
    if (seen)
        return Fail(number, ko("보기 %1에 %2 줄이 두 번 있습니다").arg(quoted(view.name), word));
    seen = true;
    if (word == QLatin1String("span")) {
        if (!read_number(rest, 0, view.spanMs) || view.spanMs <= 0)
            return Fail(number, ko("span은 0보다 큰 ms 수여야 합니다: %1").arg(quoted(rest)));
        return true;
    }
    view.follow = rest == QLatin1String("follow");
    if (!view.follow && !read_number(rest, 0, view.endMs))
        return Fail(number, ko("end는 \"follow\"나 ms로 쓴 시간이어야 합니다: %1").arg(quoted(rest)));
    return true;
}

// A view is whole with its span and its end; it may have no rows (it shows them all).
bool CTraceViewsFile::EndView()
{
    if (m_viewLine == 0)
        return true;
    const QString name = quoted(m_views.back().name);
    if (!m_hasSpan)
        return Fail(m_viewLine, ko("보기 %1에 \"span MS\" 줄이 없습니다").arg(name));
    if (!m_hasEnd)
        return Fail(m_viewLine, ko("보기 %1에 \"end MS\"나 \"end follow\" 줄이 없습니다").arg(name));
    m_viewLine = 0;
    return true;
}

bool CTraceViewsFile::Fail(int line, const QString& reason)
{
    m_views.clear();
    m_viewLine = 0;
    m_error = QStringLiteral("%1:%2: %3").arg(m_path).arg(line).arg(reason);
    return false;
}

QByteArray CTraceViewsFile::Text() const
{
    QString text = QString::fromUtf8(HEADER);
    for (const CNamedView& view : m_views) {
        text += QStringLiteral("\nview %1\nspan %2\n").arg(CleanName(view.name), number_text(view.spanMs));
        text += view.follow ? QStringLiteral("end follow\n") : QStringLiteral("end %1\n").arg(number_text(view.endMs));
        for (const QString& row : view.rows)
            if (!row.isEmpty() && !row.contains(QRegularExpression(QStringLiteral("\\s"))))
                text += QStringLiteral("row %1\n").arg(row);
    }
    return text.toUtf8();
}

bool CTraceViewsFile::Write(const QString& path, QString& error) const
{
    const QFileInfo target(path);
    if (target.exists() && (!target.isFile() || target.isSymLink())) {
        error = path + ko(": 일반 파일이 아니어서 쓰지 않았습니다");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(Text()) < 0 || !file.commit()) {
        error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}

const CNamedView* CTraceViewsFile::Find(const QString& name) const
{
    for (const CNamedView& view : m_views)
        if (view.name == name)
            return &view;
    return nullptr;
}

void CTraceViewsFile::Put(const CNamedView& view)
{
    for (CNamedView& kept : m_views)
        if (kept.name == view.name) {
            kept = view;
            return;
        }
    m_views.push_back(view);
}

QString CTraceViewsFile::CleanName(const QString& name)
{
    QString line = name;
    for (QChar& c : line)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    return line.trimmed();
}
