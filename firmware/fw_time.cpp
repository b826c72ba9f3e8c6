#include "firmware/fw_time.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using sleep_proc = void (*)(uint32_t ms);

cal_time monotonic_now()
{
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return cal_time{static_cast<uint32_t>(ms / 1000), static_cast<uint16_t>(ms % 1000)};
}

void plain_sleep(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// The firmware lies below the board's thread layer, so the layer's sleep,
// which ends a thread asked to terminate, is handed down from above.
std::atomic<sleep_proc> default_sleep{plain_sleep};

void monotonic_sleep(uint32_t ms) { default_sleep.load(std::memory_order_acquire)(ms); }

const time_seam monotonic_seam{monotonic_now, monotonic_sleep};

std::atomic<const time_seam*> installed{&monotonic_seam};

}  // namespace

void time_seam_install(const time_seam* seam)
{
    installed.store(seam ? seam : &monotonic_seam, std::memory_order_release);
}

void time_default_sleep_install(void (*sleep_ms)(uint32_t ms))
{
    default_sleep.store(sleep_ms ? sleep_ms : plain_sleep, std::memory_order_release);
}

cal_time time_now() { return installed.load(std::memory_order_acquire)->now(); }

void time_sleep_ms(uint32_t ms) { installed.load(std::memory_order_acquire)->sleep_ms(ms); }
