#pragma once
// The conditions last run until, newest first, without repeats, kept in the
// workbench's settings so that they come back with the next window.

#include <QSettings>
#include <QStringList>

#include <memory>

class CConditionHistory {
public:
    static constexpr int KEPT = 10;

    // The user's settings, or (tests, a throw-away home) those in `file`.
    explicit CConditionHistory(const QString& file = QString());

    const QStringList& Items() const { return m_items; }
    // Puts `condition` first (moving it there if it was kept) and keeps the list.
    void Add(const QString& condition);

private:
    std::unique_ptr<QSettings> m_settings;
    QStringList m_items;
};
