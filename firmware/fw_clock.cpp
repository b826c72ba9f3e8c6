#include "firmware/fw_clock.h"

#include "board/board_link.h"

uint32_t now_ms;
static cal_time clock_base;  // instant from which now_ms counts
uint16_t run_sec;
uint16_t run_sec_started;
static cal_time run_sec_base;  // instant from which run_sec counts

void clock_rebase() { clock_base = time_now(); }

void clock_rebase_to(uint32_t reading)
{
    const cal_time now = time_now();
    const uint16_t back_ms = static_cast<uint16_t>(reading % 1000u);
    cal_time base{now.sec - reading / 1000u, now.ms};
    // A millisecond field below the part to take off borrows a second.
    if (base.ms < back_ms) {
        base.sec -= 1u;
        base.ms = static_cast<uint16_t>(base.ms + 1000u);
    }
    base.ms = static_cast<uint16_t>(base.ms - back_ms);
    clock_base = base;
    now_ms = reading;
}

uint32_t clock_read_ms()
{
    const cal_time now = time_now();
    // Unsigned arithmetic: a millisecond field below the base's borrows from the seconds.
    return (now.sec - clock_base.sec) * 1000u + (static_cast<uint32_t>(now.ms) - clock_base.ms);
}

void clock_update()
{
    now_ms = clock_read_ms();
    const cal_time now = time_now();
    if (run_sec_started == 0) {
        run_sec_started = 1;
        run_sec_base = now;
    }
    // Only the seconds fields count, so the first second may be short.
    run_sec = static_cast<uint16_t>(now.sec - run_sec_base.sec);
}

void delay_ms(uint32_t) {}

void fw_yield()
{
    time_sleep_ms(1);
    clock_update();
    board_periodic_exchange();
}

void clock_reset_state()
{
    now_ms = 0;
    clock_base = cal_time{};
    run_sec = 0;
    run_sec_started = 0;
    run_sec_base = cal_time{};
}
