#pragma once
// The simulated controller board: it owns the firmware thread and the bound
// pins, and it is the only place where the port bytes meet the panel. Its
// periodic exchange is the plant model: motors travelling between their end
// switches, the heater's warming fed back, the buzzer sounded on request.

#include <atomic>
#include <vector>

#include "board/firmware_thread.h"

class CPortPin;
class CWordBinding;
class CSimulatorView;

class CSimBoard {
public:
    CSimBoard();  // sets g_pBoard
    virtual ~CSimBoard();

    // Binds the wired signals and the two readouts to the view's widgets
    // (the wiring table, in pin_wiring.cpp).
    void Attach(CSimulatorView& view);
    // Puts the inputs at rest and samples every pin and binding, telling nobody.
    void StartExchange();
    // Passes output changes to the widgets and plays the mechanics back.
    void PeriodicExchange();

    void StartFirmware();
    void StopFirmware();
    void Shutdown();

    CFirmwareThread m_thread;
    std::vector<CPortPin*> m_pins;
    std::vector<CWordBinding*> m_words;

    CSimBoard(const CSimBoard&) = delete;
    CSimBoard& operator=(const CSimBoard&) = delete;

private:
    // The port bytes at the last pin walk; stale after a start exchange.
    uint64_t m_lastPorts = 0;
    std::atomic<bool> m_pinsStale{true};
};
