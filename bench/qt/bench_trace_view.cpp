// The trace view's frame over a long trace: a whole repaint, and a step of
// cursor A by a pixel (→) with the repaint it brings, at three zooms (the
// whole ring, 1 s, and 10 ms, the closest the view goes) over a full ring
// of the workbench's size (262,144 changes) and over one of 4,194,304. The
// trace has the workbench's rows: 27 signals, mostly quiet, a few toggling
// every few ms, and four numbers, one changing every ms. The window is
// 1560 × 700 px, the platform Qt's offscreen one, named in the context.
// Target: 16 ms or less each.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>

#include <memory>
#include <string>

#include "trace/trace_buffer.h"
#include "workbench/widgets/trace_view.h"

namespace {

std::unique_ptr<CTraceBuffer> FullRing(size_t capacity, uint64_t& now)
{
    auto trace = std::make_unique<CTraceBuffer>(capacity);
    for (int bit = 0; bit < 27; ++bit)
        trace->AddChannel("SIGNAL_" + std::to_string(bit), true, 0);
    const int state = trace->AddChannel("state_number", false, 2);
    const int position = trace->AddChannel("disk_position", false, 0);
    const int seconds = trace->AddChannel("run_sec", false, 0);
    while (trace->First() == 0) {
        ++now;
        for (int bit = 0; bit < 4; ++bit)
            trace->Set(bit, now, static_cast<int32_t>(now / (3 + bit) % 2));
        trace->Set(4 + static_cast<int>(now / 9000 % 23), now, static_cast<int32_t>(now / 700 % 2));
        trace->Set(state, now, static_cast<int32_t>(2 + now / 60'000 % 12));
        trace->Set(position, now, static_cast<int32_t>(now % 400));
        trace->Set(seconds, now, static_cast<int32_t>(now / 1000));
    }
    return trace;
}

// Arguments: the ring's size in changes, and the span shown in ms (0: the whole ring).
void Prepare(benchmark::State& state, std::unique_ptr<CTraceBuffer>& trace, std::unique_ptr<CTraceView>& view)
{
    uint64_t now = 0;
    trace = FullRing(static_cast<size_t>(state.range(0)), now);
    view = std::make_unique<CTraceView>(*trace);
    view->resize(1560, 700);
    view->show();
    QApplication::processEvents();
    view->SetNow(now);
    if (state.range(1) == 0)
        view->ZoomToFit();
    else
        view->ZoomTo(static_cast<double>(now) / 2, static_cast<double>(now) / 2 + static_cast<double>(state.range(1)));
    view->SetCursorMs(now / 2);
    view->repaint();
    state.counters["changes"] = static_cast<double>(trace->End() - trace->First());
}

void BM_TraceRedraw(benchmark::State& state)
{
    std::unique_ptr<CTraceBuffer> trace;
    std::unique_ptr<CTraceView> view;
    Prepare(state, trace, view);
    for (auto _ : state)
        view->repaint();
}

void BM_TraceCursorStep(benchmark::State& state)
{
    std::unique_ptr<CTraceBuffer> trace;
    std::unique_ptr<CTraceView> view;
    Prepare(state, trace, view);
    int direction = 0;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, ++direction / 50 % 2 ? Qt::Key_Left : Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(view.get(), &press);
        view->repaint();
    }
}

void Cases(benchmark::internal::Benchmark* bench)
{
    bench->ArgNames({"ring", "span_ms"});
    for (const int64_t ring : {262'144, 4'194'304})
        for (const int64_t span : {0, 1000, 10})
            bench->Args({ring, span});
    bench->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_TraceRedraw)->Apply(Cases);
BENCHMARK(BM_TraceCursorStep)->Apply(Cases);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::AddCustomContext("window", "1560 x 700 px");
    benchmark::AddCustomContext("platform", QGuiApplication::platformName().toStdString());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
