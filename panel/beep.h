#pragma once
// The simple beep. The buzzer sounds it from the firmware thread, so whatever
// is installed must return at once and be callable from any thread.

using beep_function = void (*)();
void panel_install_beep(beep_function beep);  // nullptr installs a silent beep
void panel_beep();
