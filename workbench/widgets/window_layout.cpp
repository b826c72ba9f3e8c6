#include "workbench/widgets/window_layout.h"

#include <QMainWindow>

namespace {
// Bumped when the docks change, so a layout of other docks is not put back.
constexpr int LAYOUT_VERSION = 2;
}  // namespace

CWindowLayout::CWindowLayout(const QString& file)
    : m_settings(file.isEmpty()
                     ? std::make_unique<QSettings>(QStringLiteral("trelvik"), QStringLiteral("trelvik-workbench"))
                     : std::make_unique<QSettings>(file, QSettings::IniFormat))
{
}

QStringList CWindowLayout::Restore(QMainWindow& window)
{
    m_defaultState = window.saveState(LAYOUT_VERSION);
    m_defaultGeometry = window.saveGeometry();
    window.restoreGeometry(m_settings->value(QStringLiteral("window/geometry")).toByteArray());
    window.restoreState(m_settings->value(QStringLiteral("window/state")).toByteArray(), LAYOUT_VERSION);
    return m_settings->value(QStringLiteral("trace/variables")).toStringList();
}

void CWindowLayout::Save(const QMainWindow& window, const QStringList& traced)
{
    m_settings->setValue(QStringLiteral("window/geometry"), window.saveGeometry());
    m_settings->setValue(QStringLiteral("window/state"), window.saveState(LAYOUT_VERSION));
    m_settings->setValue(QStringLiteral("trace/variables"), traced);
    m_settings->sync();
}

void CWindowLayout::ResetToDefault(QMainWindow& window) const
{
    window.restoreGeometry(m_defaultGeometry);
    window.restoreState(m_defaultState, LAYOUT_VERSION);
}
