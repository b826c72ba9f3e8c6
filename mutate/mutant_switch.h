#pragma once
// Which mutant of the firmware this process runs, chosen once at start-up by
// TRELVIK_MUTANT (a mutant's id; none, 0, for the firmware as written). Every
// switched expression of the mutant build asks mutant_active(ID).

int mutant_read_selection();

inline bool mutant_active(int id)
{
    static const int selected = mutant_read_selection();
    return selected == id;
}
