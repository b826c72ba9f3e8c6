#include "firmware/fw_outputs.h"

#include "board/port_bytes.h"
#include "firmware/fw_clock.h"

uint8_t buzzer_request;
uint8_t main_motor_on;

void buzzer(uint8_t pattern) { buzzer_request = pattern; }

void main_motor_start()
{
    main_motor_on = 1;
    sig_on(MAIN_MOTOR);
}

void main_motor_stop()
{
    main_motor_on = 0;
    sig_off(MAIN_MOTOR);
}

void keys_release()
{
    sig_on(POWER_ON_OFF);
    sig_on(SOL_VALVE);
}

void lamp_test()
{
    sig_on(RED_LED);
    sig_on(GREEN_LED);
    sig_on(BLUE_LED);
    delay_ms(500);
    sig_off(RED_LED);
    sig_off(GREEN_LED);
    sig_off(BLUE_LED);
}

void outputs_reset_state()
{
    buzzer_request = 0;
    main_motor_on = 0;
}
