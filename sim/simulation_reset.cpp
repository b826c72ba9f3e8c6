#include "sim/simulation_reset.h"

#include "board/port_bytes.h"
#include "firmware/fw_main.h"
#include "panel/gauge_widget.h"

void reset_simulation_statics()
{
    for (auto* port : port_bytes)
        port->store(0);
    fw_reset();
    CGaugeWidget::s_tickCount.store(0);
}
