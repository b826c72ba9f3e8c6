#include "panel/beep.h"

#include <atomic>

namespace {

void silent_beep() {}

std::atomic<beep_function> s_beep{&silent_beep};

}  // namespace

void panel_install_beep(beep_function beep) { s_beep.store(beep ? beep : &silent_beep); }

void panel_beep() { s_beep.load()(); }
