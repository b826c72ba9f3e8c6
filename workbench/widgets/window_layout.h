#pragma once
// What the workbench keeps between runs: the window's size and place, its
// docks, and the variables added to the trace. The speed is not kept: it is
// ×1 unless --speed says otherwise. The default layout is taken before the
// kept one is put in place, so "reset layout" can bring it back.

#include <QByteArray>
#include <QSettings>
#include <QStringList>

#include <memory>

class QMainWindow;

class CWindowLayout {
public:
    // The user's settings, or (tests, a throw-away home) those in `file`.
    explicit CWindowLayout(const QString& file = QString());

    // Takes the window's layout as it stands as the default, then puts the
    // kept one in place; returns the traced variables kept.
    QStringList Restore(QMainWindow& window);
    void Save(const QMainWindow& window, const QStringList& traced);
    void ResetToDefault(QMainWindow& window) const;
    // The same settings, for the other things the window keeps.
    QSettings& Settings() { return *m_settings; }

private:
    std::unique_ptr<QSettings> m_settings;
    QByteArray m_defaultState;
    QByteArray m_defaultGeometry;
};
