#include "panel/state_names.h"

#include <cstring>
#include <iterator>

namespace {

// Indexed by the shown state number: 0 before the first state.
const char* const STATE_NAMES[] = {
    "", "기동", "파워 오프", "파워 온 대기", "커버 열림", "워싱", "컷팅", "건조", "배출", "서랍열림", "수동세척",
};
static_assert(std::size(STATE_NAMES) == STATE_NUMBER_LAST + 1);

}  // namespace

const char* state_name(int32_t stateNumber)
{
    return stateNumber >= STATE_NUMBER_FIRST && stateNumber <= STATE_NUMBER_LAST ? STATE_NAMES[stateNumber] : "";
}

int32_t state_number_of(const char* name)
{
    for (int32_t n = STATE_NUMBER_FIRST; n <= STATE_NUMBER_LAST; ++n)
        if (std::strcmp(name, STATE_NAMES[n]) == 0)
            return n;
    return 0;
}
