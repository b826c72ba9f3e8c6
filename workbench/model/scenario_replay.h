#pragma once
// A scenario replayed in the window, from a fresh controller, at the speed
// the clock runs: the frame driver hands each frame's virtual time to the
// executor. Input from the user waits until the replay has ended. At the
// first failed verdict the replay pauses on the very ms of the verdict: a
// slice that ran past it is played again from the start up to that ms,
// which the simulation's determinism makes exact. Running on plays the
// rest. A pause the window asks for through m_pauseAt (the first divergence
// from a baseline) lands on its ms the same way. At its end the replay pauses too; from there the session goes on
// as any other, and a scenario saved then begins with the replayed file.

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "scenario/run/scenario_executor.h"

class CWorkbenchSession;

class CScenarioReplay : public QObject {
    Q_OBJECT
public:
    explicit CScenarioReplay(CWorkbenchSession& session, QObject* parent = nullptr);
    ~CScenarioReplay() override;

    // Reads and checks the whole file; false with "FILE:LINE: reason".
    bool Open(const QString& path, QString& error);
    // Restarts the session and begins the steps.
    void Start();
    bool Active() const { return m_executor && !m_executor->Finished(); }
    // Gives the replay up where it stands; the session goes on from there.
    void Cancel();

    // Time for one frame: runs to limitMs, or until `stop` holds, or to the
    // first failed verdict, or to the scenario's end (true: pause there).
    // After the end, the session runs on.
    bool Advance(uint64_t limitMs, const std::function<bool()>& stop);

    // Asked after each slice: the ms to stand paused on for a reason of the
    // window's own, or UINT64_MAX. One inside the slice just run pauses the
    // replay there; one passed before is not asked for again.
    std::function<uint64_t()> m_pauseAt;

    const QString& FileName() const { return m_fileName; }
    // A line of the file as written (from 1).
    QString LineText(int line) const;
    const QStringList& Lines() const { return m_lines; }
    const std::vector<CScenarioResult>& Results() const { return m_results; }
    int CurrentLine() const { return m_executor ? m_executor->CurrentLine() : 0; }
    // The line of the failed verdict the replay stands on; else the step under way.
    int ShownLine() const { return m_stoppedLine ? m_stoppedLine : CurrentLine(); }

signals:
    void Restarted();       // the session began afresh (a new simulator)
    void ResultsChanged();  // verdicts came, or those after a failure were taken back
    void Failed(const CScenarioResult& result);
    void Ended();
    void PausedAt(uint64_t ms);  // stands on the ms m_pauseAt gave

private:
    bool RunSlice(uint64_t limitMs, const std::function<bool()>& stop);
    void Begin();
    void OnResult(const CScenarioResult& result);
    void LandOnFailure(size_t failure);
    void LandAt(uint64_t ms);
    void Finish();

    CWorkbenchSession& m_session;
    QString m_fileName;
    QStringList m_lines;
    QByteArray m_text;
    std::vector<CScenarioStep> m_steps;
    std::unique_ptr<CScenarioExecutor> m_executor;
    std::vector<CScenarioResult> m_results;
    size_t m_replayed = 0;        // while playing again up to a failure: verdicts already shown
    size_t m_failure = SIZE_MAX;  // the first failed verdict of the present slice
    bool m_ended = false;
    int m_stoppedLine = 0;  // paused on a failed verdict of this line; 0: not
};
