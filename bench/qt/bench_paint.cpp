// One full paint of the panel into the off-screen image, as the view's paint
// event does it: a fresh image of the client size, white, every widget drawn
// through the QPainter surface with its picture loaded by identifier. The
// argument is the screen's pixel density: 1, or 2 for a screen of twice the
// density (four times the pixels, from the pictures of twice the size).
// Target: 1 ms or less at density 1. Run with QT_QPA_PLATFORM=offscreen.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "app/core/simulator_view.h"
#include "app/qt/offscreen_dc.h"
#include "app/qt/qt_draw_surface.h"
#include "sim/simulation_reset.h"

namespace {

void BM_FullPanelPaint(benchmark::State& state)
{
    reset_simulation_statics();
    CSimulatorView view;
    view.Layout();
    view.m_board.Attach(view);
    view.m_motorMain.StartMotor(0);
    view.m_gaugeHeater.SetState(1);
    const QRect client(0, 0, 500, 430);
    for (auto _ : state) {
        COffscreenDC offscreen(client, static_cast<qreal>(state.range(0)));
        QPainter painter(&offscreen.Image());
        painter.setFont(panel_font());
        CQtDrawSurface surface(painter);
        view.OnPaint(surface, CRect{0, 0, client.width(), client.height()});
        painter.end();
        benchmark::DoNotOptimize(offscreen.Image().constBits());
        for (CPanelWidget* widget : view.m_tickWidgets)  // the animation moves on between paints
            widget->OnTick();
    }
    view.m_board.Shutdown();
}

BENCHMARK(BM_FullPanelPaint)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
