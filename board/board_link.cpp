#include "board/board_link.h"

#include "board/sim_board.h"

CSimBoard* g_pBoard = nullptr;

void board_start_exchange()
{
    if (g_pBoard)
        g_pBoard->StartExchange();
}

void board_periodic_exchange()
{
    if (g_pBoard)
        g_pBoard->PeriodicExchange();
}
