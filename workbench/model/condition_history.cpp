#include "workbench/model/condition_history.h"

namespace {
const QString KEY = QStringLiteral("until/conditions");
}  // namespace

CConditionHistory::CConditionHistory(const QString& file)
    : m_settings(file.isEmpty()
                     ? std::make_unique<QSettings>(QStringLiteral("trelvik"), QStringLiteral("trelvik-workbench"))
                     : std::make_unique<QSettings>(file, QSettings::IniFormat))
{
    for (const QString& item : m_settings->value(KEY).toStringList())
        if (!item.trimmed().isEmpty() && !m_items.contains(item) && m_items.size() < KEPT)
            m_items.append(item);
}

// Written at once: a run that ends without closing the window keeps it too.
void CConditionHistory::Add(const QString& condition)
{
    const QString item = condition.trimmed();
    if (item.isEmpty())
        return;
    m_items.removeAll(item);
    m_items.prepend(item);
    while (m_items.size() > KEPT)
        m_items.removeLast();
    m_settings->setValue(KEY, m_items);
    m_settings->sync();
}
