#pragma once
// Puts every static of the simulation back to program load: the port bytes,
// the firmware's globals and the gauges' shared tick count.
void reset_simulation_statics();
