#include "workbench/measure_report.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>

#include "workbench/model/frame_driver.h"
#include "workbench/model/scenario_replay.h"
#include "workbench/widgets/workbench_window.h"

CMeasureReport::CMeasureReport(CWorkbenchWindow& window) : QObject(&window), m_window(window)
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("TRELVIK_WORKBENCH_MEASURE", &ok);
    if (!ok || seconds <= 0)
        return;
    connect(&window.Driver(), &CFrameDriver::FrameBegins, this, &CMeasureReport::OnFrame);
    connect(&window.Replay(), &CScenarioReplay::Ended, this, &CMeasureReport::Report);
    QTimer::singleShot(seconds * 1000, this, &CMeasureReport::Report);
}

int64_t CMeasureReport::CpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
}

// Counted as they begin: the report after the last one counts it whole.
void CMeasureReport::OnFrame()
{
    if (m_frames < 0) {
        m_wall.start();
        m_startMs = m_window.Session().Now();
        m_startCpuMs = CpuMs();
        m_frames = 0;
    }
    ++m_frames;
}

void CMeasureReport::Report()
{
    if (m_done || m_frames < 0)
        return;
    m_done = true;
    const double wall = static_cast<double>(m_wall.nsecsElapsed()) / 1e6;
    const double virtualMs = static_cast<double>(m_window.Session().Now() - m_startMs);
    std::printf("measure: wall_ms=%.0f virtual_ms=%.0f frames=%lld cpu_ms=%lld speed=%.1f fps=%.1f\n", wall, virtualMs,
                static_cast<long long>(m_frames), static_cast<long long>(CpuMs() - m_startCpuMs), virtualMs / wall,
                m_frames * 1000.0 / wall);
    std::fflush(stdout);
    QTimer::singleShot(0, qApp, &QApplication::quit);
}
