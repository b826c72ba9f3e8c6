#pragma once
// For bench/measure_workbench.sh only: with TRELVIK_WORKBENCH_MEASURE=SECONDS
// in the environment the workbench measures itself from the start of its
// first frame and,
// after that many seconds of wall time or when a replayed scenario ends,
// prints one line and quits:
//   measure: wall_ms=W virtual_ms=V frames=F cpu_ms=C speed=V/W fps=F/W
// Without the variable it does nothing.

#include <QElapsedTimer>
#include <QObject>

#include <cstdint>

class CWorkbenchWindow;

class CMeasureReport : public QObject {
    Q_OBJECT
public:
    explicit CMeasureReport(CWorkbenchWindow& window);

private:
    void OnFrame();
    void Report();
    static int64_t CpuMs();

    CWorkbenchWindow& m_window;
    QElapsedTimer m_wall;
    uint64_t m_startMs = 0;
    int64_t m_startCpuMs = 0;
    int64_t m_frames = -1;  // -1: not started
    bool m_done = false;
};
