#include "board/firmware_thread.h"

#include "board/board_link.h"
#include "board/platform_thread.h"
#include "firmware/fw_clock.h"
#include "firmware/fw_main.h"
#include "firmware/fw_time.h"

void CFirmwareThread::OnStart()
{
    // The firmware's waits sleep here, so a stop that comes to force ends the
    // thread at its next wait.
    time_default_sleep_install(PlatformSleep);
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
