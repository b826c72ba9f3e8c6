#pragma once
// A workbench window on the offscreen platform, paused at its start, with
// helpers that act on its panel and move its virtual time by exact steps.
// Each test keeps the window's settings in a folder of its own, apart from
// the user's and from every other test's.

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "app/qt_app.h"
#include "workbench/model/frame_driver.h"
#include "workbench/widgets/panel_view.h"
#include "workbench/widgets/workbench_window.h"

class CWorkbenchTest : public CQtTest {
protected:
    void SetUp() override
    {
        CQtTest::SetUp();
        QStandardPaths::setTestModeEnabled(true);
        m_window = std::make_unique<CWorkbenchWindow>(SettingsFile());
        m_window->show();
    }
    void TearDown() override { m_window.reset(); }

    QString SettingsFile() const { return m_settings.filePath(QStringLiteral("workbench.conf")); }
    CWorkbenchSession& Session() { return m_window->Session(); }
    CFrameDriver& Driver() { return m_window->Driver(); }
    uint64_t Now() { return Session().Now(); }

    void Step(uint64_t ms) { Driver().Step(ms); }
    // Presses at a panel point, holds for holdMs of virtual time, releases there.
    void Click(CPoint point, uint64_t holdMs = 100)
    {
        QTest::mousePress(&m_window->Panel(), Qt::LeftButton, {}, QPoint(point.x, point.y));
        Step(holdMs);
        QTest::mouseRelease(&m_window->Panel(), Qt::LeftButton, {}, QPoint(point.x, point.y));
    }
    // Steps until the firmware shows `state` (a state number), at most limitMs.
    bool StepUntilState(int32_t state, uint64_t limitMs)
    {
        for (uint64_t waited = 0; waited < limitMs; waited += 100) {
            if (Session().StateNumber() == state)
                return true;
            Step(100);
        }
        return Session().StateNumber() == state;
    }

    QTemporaryDir m_settings;
    std::unique_ptr<CWorkbenchWindow> m_window;
};
