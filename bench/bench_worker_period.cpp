// The 1 ms worker period on a real thread: the interval between the starts of
// two OnPeriod calls with an empty hook, as median and 99th percentile.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "board/worker_thread.h"

namespace {

using Clock = std::chrono::steady_clock;

class CStampingWorker : public CWorkerThread {
public:
    explicit CStampingWorker(size_t count) : m_stamps(count) {}
    ~CStampingWorker() { Stop(); }
    void OnPeriod() override
    {
        const size_t n = m_count.load(std::memory_order_relaxed);
        if (n < m_stamps.size()) {
            m_stamps[n] = Clock::now();
            m_count.store(n + 1, std::memory_order_release);
        }
    }
    std::vector<Clock::time_point> m_stamps;
    std::atomic<size_t> m_count{0};
};

void BM_WorkerPeriodInterval(benchmark::State& state)
{
    constexpr size_t PERIODS = 3000;
    std::vector<double> intervals;
    for (auto _ : state) {
        CStampingWorker worker(PERIODS);
        worker.Start(1);
        while (worker.m_count.load(std::memory_order_acquire) < PERIODS)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        worker.Stop();
        for (size_t i = 1; i < PERIODS; ++i)
            intervals.push_back(
                std::chrono::duration<double, std::milli>(worker.m_stamps[i] - worker.m_stamps[i - 1]).count());
    }
    std::sort(intervals.begin(), intervals.end());
    state.counters["median_ms"] = intervals[intervals.size() / 2];
    state.counters["p99_ms"] = intervals[intervals.size() * 99 / 100];
    state.counters["max_ms"] = intervals.back();
}

BENCHMARK(BM_WorkerPeriodInterval)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
