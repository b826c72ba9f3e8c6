#pragma once
// PLACEHOLDER: the firmware helper replaces this file.
void clock_update();
