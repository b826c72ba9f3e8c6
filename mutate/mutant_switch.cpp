#include "mutant_switch.h"

#include <cstdio>
#include <cstdlib>

#include "scenario/explore/mutant_build.h"

std::atomic<bool> mutant_ran[MUTANT_CAPACITY];

// The built mutants, written by generate.py into the build tree.
extern const CMutant MUTANT_TABLE[];
extern const int MUTANT_TABLE_SIZE;

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

namespace {

void select_mutant(int id) { mutant_selection().store(id, std::memory_order_relaxed); }

void forget_reached()
{
    for (std::atomic<bool>& ran : mutant_ran)
        ran.store(false, std::memory_order_relaxed);
}

bool reached(int id) { return id > 0 && id < MUTANT_CAPACITY && mutant_ran[id].load(std::memory_order_relaxed); }

// The scenario runner learns of the mutants as the program starts.
const bool registered =
    CMutantBuild::Register({MUTANT_TABLE, MUTANT_TABLE_SIZE, &select_mutant, &forget_reached, &reached});

}  // namespace
