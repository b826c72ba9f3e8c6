#include "workbench/model/variables_model.h"

#include <cstring>

#include "firmware/fw_watch.h"
#include "panel/state_names.h"

namespace {

// The variables that hold a state index (from 0) or a state number (from 1);
// 0 for any other, and for a value that is no state (whatever its size).
int32_t state_number_of_variable(const char* name, int64_t value)
{
    int64_t number = 0;
    if (std::strcmp(name, "state_number") == 0)
        number = value;
    else if (std::strcmp(name, "state_index") == 0 || std::strcmp(name, "cover_return_state") == 0 ||
             std::strcmp(name, "drawer_return_state") == 0)
        number = value + 1;
    return number >= STATE_NUMBER_FIRST && number <= STATE_NUMBER_LAST ? static_cast<int32_t>(number) : 0;
}

}  // namespace

CVariablesModel::CVariablesModel(QObject* parent)
    : CWatchModel(FW_VARIABLE_COUNT, {QString::fromUtf8("변수"), QString::fromUtf8("형"), QString::fromUtf8("값")},
                  parent)
{
}

int64_t CVariablesModel::Value(int row, int column) const
{
    const fw_variable& variable = fw_variables[row];
    switch (column) {
    case VALUE:
        return fw_variable_value(&variable);
    case WIDTH:
        return variable.width * (variable.is_signed ? -1 : 1);
    default:
        return row;
    }
}

QString CVariablesModel::Text(int row, int column, int64_t value) const
{
    const fw_variable& variable = fw_variables[row];
    switch (column) {
    case NAME:
        return QString::fromUtf8(variable.name);
    case WIDTH:
        return QStringLiteral("%1%2").arg(variable.is_signed ? 'i' : 'u').arg(variable.width);
    default: {
        const char* state = state_name(state_number_of_variable(variable.name, value));
        return state[0] ? QStringLiteral("%1 %2").arg(value).arg(QString::fromUtf8(state)) : QString::number(value);
    }
    }
}

// The least and greatest value of the variable's type, and the small
// values that carry a state's name.
std::vector<int64_t> CVariablesModel::Extremes(int row, int column) const
{
    if (column != VALUE)
        return {};
    const fw_variable& variable = fw_variables[row];
    const int bits = variable.is_signed ? variable.width - 1 : variable.width;
    const int64_t greatest = (int64_t{1} << bits) - 1;
    std::vector<int64_t> values{variable.is_signed ? -greatest - 1 : 0, greatest};
    for (int32_t state = 0; state <= STATE_NUMBER_LAST; ++state)
        values.push_back(state);
    return values;
}
