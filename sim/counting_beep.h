#pragma once
// A beep that only counts. While a CCountingBeep exists it is the installed
// beep; its destructor puts the silent beep back.

#include <atomic>

class CCountingBeep {
public:
    CCountingBeep();  // installs the counter and zeroes it
    ~CCountingBeep();

    int Count() const { return s_count.load(); }

    CCountingBeep(const CCountingBeep&) = delete;
    CCountingBeep& operator=(const CCountingBeep&) = delete;

    // Any thread may beep.
    static std::atomic<int> s_count;
};
