#pragma once
// PLACEHOLDER: the firmware helper replaces this file.
void fw_startup();
int fw_dispatch();
