#pragma once
// Drives the session's virtual time by whole frames: a timer advances the
// firmware by speed x frame interval (as fast as possible: for a slice of
// wall time) and announces the frame, after which the window repaints once.
// Paused, the timer stops altogether. Steps run exactly their virtual ms;
// "to the next change of state" runs as fast as possible, frame by frame,
// and pauses at the ms the state changes, or after a limit of virtual time
// (an hour unless set), for a state that never changes on its own.
// "Until a condition" runs at the chosen speed, checks the condition at
// every virtual ms and pauses on the first ms it holds, or gives up after
// the same limit; any other time command (run, pause, a step, the next
// state) ends it, a change of speed does not.
//
// Input lands between frames; CatchUp first brings virtual time up to the
// moment the input was given, so a click held 30 ms at x1 reaches the
// firmware as 30 virtual ms, not as a press and release on one ms.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>

#include "workbench/model/frame_clock.h"

class CWorkbenchSession;

class CFrameDriver : public QObject {
    Q_OBJECT
public:
    enum Mode { PAUSED, RUNNING, SEEKING_STATE, RUNNING_UNTIL };

    explicit CFrameDriver(CWorkbenchSession& session, QObject* parent = nullptr);

    Mode GetMode() const { return m_mode; }
    bool Running() const { return m_mode != PAUSED; }
    CFrameClock& Clock() { return m_clock; }
    double Achieved() const { return Running() ? m_clock.Achieved() : 0; }
    static constexpr uint64_t SEEK_LIMIT_MS = 3'600'000;
    uint64_t SeekLimitMs() const { return m_seekLimitMs; }
    void SetSeekLimitMs(uint64_t ms) { m_seekLimitMs = ms > 0 ? ms : 1; }

    // While set, time advances through this instead of the session (a scenario
    // replayed): it runs to the limit or until `stop` holds, or stops early
    // of its own; true pauses.
    std::function<bool(uint64_t limitMs, const std::function<bool()>& stop)> m_advance;
    // The wall clock in us; tests set one of their own.
    std::function<int64_t()> m_wallClock;

    // At a fixed speed, runs the firmware up to the virtual ms that matches
    // the wall clock now.
    void CatchUp();

public slots:
    void Run();
    void Pause();
    void ToggleRun();
    void Step(uint64_t ms);
    void SeekNextState();
    // Runs until `holds` (asked at every virtual ms, first before any runs);
    // one that holds already pauses at once, as a scenario's run-until passes.
    void RunUntilCondition(std::function<bool()> holds);
    void SetSpeed(int index);

signals:
    void FrameBegins();  // a frame is about to advance virtual time
    void Frame();        // virtual time moved: repaint
    void ModeChanged();  // run, pause, seek or speed changed
    void SeekGaveUp();   // the search for the next state reached its limit
    void UntilHeld();    // the condition held: paused on its first ms
    void UntilGaveUp();  // the condition did not hold within the limit

private:
    void OnTimer();
    void FollowWallClock();
    void EndUntilIfDone();
    void RunSlice(const std::function<bool()>& stop, uint64_t limitMs = UINT64_MAX);
    bool Advance(uint64_t limitMs, const std::function<bool()>& stop);
    void SetMode(Mode mode);
    void StartTimer();
    int64_t WallUs() const { return m_wallClock ? m_wallClock() : m_wall.nsecsElapsed() / 1000; }

    CWorkbenchSession& m_session;
    CFrameClock m_clock;
    QTimer m_timer;
    QElapsedTimer m_wall;
    Mode m_mode = PAUSED;
    int32_t m_seekFrom = 0;         // SEEKING_STATE: the state being left
    uint64_t m_seekUntil = 0;       // SEEKING_STATE, RUNNING_UNTIL: where the search gives up
    std::function<bool()> m_until;  // RUNNING_UNTIL: the condition, noting in m_untilHeld that it held
    bool m_untilHeld = false;
    uint64_t m_seekLimitMs = SEEK_LIMIT_MS;
    uint64_t m_chunkMs = 1000;  // as fast as possible: virtual ms per run, kept near 2 ms of wall time
};
