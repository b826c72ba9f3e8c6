#pragma once
// "Run until a condition": the condition written in the time bar's box is
// read by the runner's parser (refused with its reason, nothing run), kept
// in the box's history, and handed to the frame driver, which runs at the
// chosen speed and pauses on the first ms it holds. One that holds already
// pauses without running a ms, as a scenario's run-until passes at once.

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

#include "workbench/model/condition_history.h"

class CConditionBox;
class CConditionWatch;
class CFrameDriver;
class CWorkbenchSession;

class CUntilRun : public QObject {
    Q_OBJECT
public:
    // `settingsFile`: where the history is kept; empty: the user's settings.
    CUntilRun(CWorkbenchSession& session, CFrameDriver& driver, CConditionBox& box, const QString& settingsFile,
              QObject* parent = nullptr);
    ~CUntilRun() override;

    // 시간 › 조건까지 실행: in the box, runs what it holds; elsewhere, puts the cursor there.
    void Command();
    // Reads `text` and runs until it holds; false (refused, nothing run) if it does not read.
    bool Start(const QString& text);
    // While the driver runs until the condition: what it waits for.
    QString WaitingText() const;

signals:
    void Message(const QString& text);  // for the status line

private:
    void OnHeld();
    void OnGaveUp();

    CWorkbenchSession& m_session;
    CFrameDriver& m_driver;
    CConditionBox& m_box;
    CConditionHistory m_history;
    std::unique_ptr<CConditionWatch> m_watch;
    QString m_text;  // the condition as written
    uint64_t m_startMs = 0;
};
