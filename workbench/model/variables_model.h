#pragma once
// Every watched firmware variable by its firmware name: its value (the
// state variables with the state's name) and its width.

#include "workbench/model/watch_model.h"

class CVariablesModel : public CWatchModel {
    Q_OBJECT
public:
    enum Column { NAME, WIDTH, VALUE };

    explicit CVariablesModel(QObject* parent = nullptr);

protected:
    int64_t Value(int row, int column) const override;
    QString Text(int row, int column, int64_t value) const override;
    std::vector<int64_t> Extremes(int row, int column) const override;
};
