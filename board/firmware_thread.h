#pragma once
// The thread that runs the controller firmware every millisecond.

#include "board/worker_thread.h"

class CFirmwareThread : public CWorkerThread {
public:
    // The thread layer's sleep into the time seam, firmware start-up, then the
    // board's start exchange; on the starting thread.
    void OnStart() override;
    // Clock update, one state dispatch, then the board's cycle exchange.
    void OnPeriod() override;
    virtual ~CFirmwareThread();
};
