#include "sim/counting_beep.h"

#include "panel/beep.h"

std::atomic<int> CCountingBeep::s_count{0};

namespace {
void count_beep() { CCountingBeep::s_count.fetch_add(1); }
}  // namespace

CCountingBeep::CCountingBeep()
{
    s_count.store(0);
    panel_install_beep(&count_beep);
}

CCountingBeep::~CCountingBeep() { panel_install_beep(nullptr); }
