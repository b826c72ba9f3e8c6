#pragma once
// The firmware's mutants built into this program, for --guided --mutants.
// trelvik-scenario-mutants registers its switch as it starts; trelvik-scenario
// has none. The mutant chosen, and the record of which mutants' code ran, are
// process-wide, as the firmware is: a worker process chooses one per play.

#include <string>

struct CMutant {
    int id;
    const char* file;  // "firmware/fw_disk.cpp"
    int line;
    int column;
    const char* change;       // "`600` -> `601`"
    const char* replacement;  // "601", whole, on one line
};

class CMutantBuild {
public:
    struct CSwitch {
        const CMutant* mutants;  // the built ones, in id order
        int count;
        void (*select)(int id);   // 0: the firmware as written
        void (*forget)();         // forgets which mutants' code ran
        bool (*reached)(int id);  // whether mutant `id`'s code ran since the last forget
    };

    static bool Register(const CSwitch& mutantSwitch);
    // nullptr when this program has no mutants.
    static const CSwitch* Switch();
    // "firmware/fw_disk.cpp:88 `600` -> `601` (mutant 412)"
    static std::string Name(const CMutant& mutant);
};
