#include "mutant_switch.h"

#include <cstdio>
#include <cstdlib>

int mutant_read_selection()
{
    const char* text = std::getenv("TRELVIK_MUTANT");
    if (text == nullptr || *text == '\0')
        return 0;
    char* end = nullptr;
    const long id = std::strtol(text, &end, 10);
    if (*end != '\0' || id < 0) {
        std::fprintf(stderr, "TRELVIK_MUTANT: '%s' is no mutant id (a number, 0 for none)\n", text);
        std::exit(2);
    }
    return static_cast<int>(id);
}
