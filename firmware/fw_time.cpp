#include "firmware/fw_time.h"

#include <atomic>
#include <chrono>

#include "board/platform_thread.h"

namespace {

cal_time monotonic_now()
{
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return cal_time{static_cast<uint32_t>(ms / 1000), static_cast<uint16_t>(ms % 1000)};
}

void platform_sleep(uint32_t ms) { PlatformSleep(ms); }

const time_seam monotonic_seam{monotonic_now, platform_sleep};

std::atomic<const time_seam*> installed{&monotonic_seam};

}  // namespace

void time_seam_install(const time_seam* seam)
{
    installed.store(seam ? seam : &monotonic_seam, std::memory_order_release);
}

cal_time time_now() { return installed.load(std::memory_order_acquire)->now(); }

void time_sleep_ms(uint32_t ms) { installed.load(std::memory_order_acquire)->sleep_ms(ms); }
