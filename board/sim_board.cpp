#include "board/sim_board.h"

#include "board/board_link.h"

// Placeholder until the widgets land (the real board is in wip/).
CSimBoard::CSimBoard() { g_pBoard = this; }
CSimBoard::~CSimBoard() { m_thread.Stop(); }
void CSimBoard::Attach(CSimulatorView&) {}
void CSimBoard::StartExchange() {}
void CSimBoard::PeriodicExchange() {}
void CSimBoard::StartFirmware() { StopFirmware(); m_thread.Start(1); }
void CSimBoard::StopFirmware() { if (m_thread.m_bRunning.load()) m_thread.Stop(); }
void CSimBoard::Shutdown() { StopFirmware(); m_pins.clear(); m_pins.shrink_to_fit(); }
