#pragma once
// A file of named trace views, plain UTF-8 text meant to be read and edited
// by hand:
//
//     # comments and blank lines are skipped
//     view 팬 점검
//     span 10000        (ms across the view)
//     end follow        (or "end 21603.5": the right edge, in virtual ms)
//     row state_number  (the rows from the top, one a line)
//     row FAN
//
// It is read strictly: the first line that does not read refuses the whole
// file ("FILE:LINE: reason"). Only a regular file of at most MAX_BYTES is
// read; it is written through a temporary file renamed over it.

#include <QString>
#include <QStringList>

#include <vector>

struct CNamedView {
    QString name;
    QStringList rows;
    double spanMs = 10000;
    double endMs = 0;
    bool follow = true;
};

class CTraceViewsFile {
public:
    static constexpr qint64 MAX_BYTES = 1024 * 1024;

    // False with Error(); a file that does not exist reads as no view when
    // `missingIsEmpty`.
    bool Read(const QString& path, bool missingIsEmpty = false);
    // The same on text already read (`path` names it in errors).
    bool Parse(const QString& path, const QByteArray& text);
    bool Write(const QString& path, QString& error) const;
    // The whole file's text, as written.
    QByteArray Text() const;

    const std::vector<CNamedView>& Views() const { return m_views; }
    const CNamedView* Find(const QString& name) const;
    // In place of the view of that name, or after the others.
    void Put(const CNamedView& view);
    const QString& Error() const { return m_error; }

    // A name as it can stand on its line: no control characters, no blanks at
    // either end.
    static QString CleanName(const QString& name);

private:
    bool ReadLine(const QString& line, int number);
    bool EndView();
    bool Fail(int line, const QString& reason);

    std::vector<CNamedView> m_views;
    QString m_path;
    QString m_error;
    // While parsing: the line of the open view and what it has had.
    int m_viewLine = 0;
    bool m_hasSpan = false;
    bool m_hasEnd = false;
};
