#pragma once
// The buzzer's beep on Qt: handed to the window's thread, never waited for.

void qt_beep();
// Makes qt_beep the panel's beep.
void qt_install_beep();
