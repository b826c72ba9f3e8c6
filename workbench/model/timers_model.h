#pragma once
// The eleven software timers: running or idle, the step that runs next and
// of how many, the passes done and to play, the due time and the ms that
// remain until it (now_ms from the firmware's clock).

#include "workbench/model/watch_model.h"

struct fw_variable;

class CTimersModel : public CWatchModel {
    Q_OBJECT
public:
    enum Column { NAME, STATUS, STEP, REPEATS, DUE, REMAINING };

    explicit CTimersModel(QObject* parent = nullptr);

protected:
    int64_t Value(int row, int column) const override;
    QString Text(int row, int column, int64_t value) const override;
    std::vector<int64_t> Extremes(int row, int column) const override;

private:
    const fw_variable* m_nowMs;
};
