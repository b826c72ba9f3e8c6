// The firmware's timing on the real 1 ms firmware thread, against the
// monotonic clock: the green lamp's 300/300 ms blink with the cover open, and
// the drawer alarm's beep every 1.8 s, each over 20 periods. The window's
// thread is played by this program's main thread ticking the panel every
// 100 ms. Prints the intervals (for a plot) and the error over 20 periods.
// Target: within 2 %.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "app/core/simulator_view.h"
#include "board/port_bytes.h"
#include "panel/beep.h"
#include "panel/draw_surface.h"

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<int> s_beeps{0};
Clock::time_point s_beepTimes[256];

void timed_beep()
{
    const int n = s_beeps.load();
    if (n < 256) {
        s_beepTimes[n] = Clock::now();
        s_beeps.store(n + 1);
    }
}

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The window's thread: the 100 ms refresh while `until` has not passed.
void run_window(CSimulatorView& view, Clock::time_point until)
{
    CQuietWindow window;
    for (auto next = Clock::now(); next < until;) {
        next += std::chrono::milliseconds(CSimulatorView::REFRESH_PERIOD_MS);
        std::this_thread::sleep_until(next);
        view.OnTimer(window, CSimulatorView::REFRESH_TIMER_ID);
    }
}

void click(CSimulatorView& view, CPanelWidget& widget)
{
    widget.OnMouseDown();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    widget.OnMouseUp();
    (void)view;
}

void report(const char* what, const std::vector<double>& intervals, double expectedMs, int periods)
{
    double total = 0;
    for (int i = 0; i < periods && i < static_cast<int>(intervals.size()); ++i)
        total += intervals[static_cast<size_t>(i)];
    std::printf("%s: %d periods in %.1f ms, expected %.1f ms, error %.3f %%\n", what, periods, total,
                expectedMs * periods, (total - expectedMs * periods) * 100.0 / (expectedMs * periods));
    std::printf("%s intervals (ms):", what);
    for (double v : intervals)
        std::printf(" %.1f", v);
    std::printf("\n");
}

}  // namespace

int main()
{
    panel_install_beep(&timed_beep);
    CSimulatorView view;
    view.OnCreate();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    click(view, view.m_keyPower);  // power-off to standby
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    // The green lamp blinks while the cover is open: sample its bit every 0.1 ms.
    view.m_cover.OnMouseDown();
    std::vector<Clock::time_point> edges;
    std::atomic<bool> sampling{true};
    std::thread sampler([&] {
        uint8_t last = sig_read(GREEN_LED);
        while (sampling.load() && edges.size() < 42) {
            const uint8_t now = sig_read(GREEN_LED);
            if (now != last)
                edges.push_back(Clock::now());
            last = now;
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    });
    run_window(view, Clock::now() + std::chrono::milliseconds(13500));
    sampling.store(false);
    sampler.join();
    std::vector<double> blink;  // full periods: lit plus dark
    for (size_t i = 2; i < edges.size(); i += 2)
        blink.push_back(ms(edges[i] - edges[i - 2]));
    report("green lamp blink period", blink, 600.0, 20);
    view.m_cover.OnMouseDown();  // close it: washing begins
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    click(view, view.m_keyPower);  // and end it: power-off
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    click(view, view.m_keyPower);  // standby
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    // The drawer alarm: a beep every 1.8 s.
    const int first = s_beeps.load();
    view.m_drawer.OnMouseDown();
    run_window(view, Clock::now() + std::chrono::milliseconds(1800 * 21 + 500));
    std::vector<double> alarm;
    for (int i = first + 1; i < s_beeps.load(); ++i)
        alarm.push_back(ms(s_beepTimes[i] - s_beepTimes[i - 1]));
    report("drawer alarm beep period", alarm, 1800.0, 20);
    view.m_drawer.OnMouseDown();
    view.OnDestroy();
    panel_install_beep(nullptr);
    return 0;
}
