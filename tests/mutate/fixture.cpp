// A small controller for the mutant generator's tests: each operator once,
// and the places where a mutant cannot be switched at run time.
#include <cstdint>

inline constexpr uint16_t LIMIT = 10;

struct step {
    uint8_t code;
};
const step table[] = {{7}};  // a braced uint8_t: a switched literal would narrow

int lamp;
void sig_on(int level) { lamp = level; }

int clamp(int value)
{
    if (value > LIMIT)
        return LIMIT;
    return value + 1;
}

bool both(bool a, bool b) { return a && !b; }

int kind(int code)
{
    switch (code) {
    case 3:
        return 30;
    }
    sig_on(5);
    return lamp;
}
