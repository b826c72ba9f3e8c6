#include "board/firmware_thread.h"

#include "board/board_link.h"
#include "firmware/fw_clock.h"
#include "firmware/fw_main.h"

void CFirmwareThread::OnStart()
{
    fw_startup();
    board_start_exchange();
}

void CFirmwareThread::OnPeriod()
{
    clock_update();
    fw_dispatch();
    board_periodic_exchange();
}

CFirmwareThread::~CFirmwareThread()
{
    // Stop while this object is still whole: the worker calls its hooks.
    Stop();
}
