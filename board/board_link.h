#pragma once
// The one narrow place where the firmware side reaches the board.
// The exchanges run through g_pBoard and are skipped while it is null.

class CSimBoard;

// The one simulated board; null until the board's constructor sets it.
extern CSimBoard* g_pBoard;

// The board's start-up exchange and cycle exchange, through g_pBoard.
void board_start_exchange();
void board_periodic_exchange();
