#pragma once
// The six operating states in which no waste is being processed. The cover
// and drawer handlers also serve as interruptions inside the processing
// states, so they set state_index and state_number themselves.

void state_startup();
void state_power_off();
void state_standby();
void state_cover_open();
void state_drawer_open();
void state_manual_wash();
