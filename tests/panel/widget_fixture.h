#pragma once
// The base of every panel test: port bytes at 0, the gauges' shared tick
// count at 0, the silent beep afterwards, and a surface that records what is drawn.

#include <gtest/gtest.h>

#include "board/port_bytes.h"
#include "panel/beep.h"
#include "panel/gauge_widget.h"
#include "support/recording_surface.h"

class WidgetTest : public ::testing::Test {
protected:
    void SetUp() override { ResetStatics(); }
    void TearDown() override
    {
        ResetStatics();
        panel_install_beep(nullptr);
    }

    static void ResetStatics()
    {
        for (auto* port : port_bytes)
            port->store(0);
        CGaugeWidget::s_tickCount.store(0);
    }

    // What the widget draws now.
    std::vector<CSurfaceCall> DrawnBy(CPanelWidget& widget)
    {
        m_surface.Clear();
        widget.Draw(m_surface);
        return m_surface.m_calls;
    }

    CRecordingSurface m_surface;
};

using Calls = std::vector<CSurfaceCall>;
inline constexpr auto ABOVE = CDrawSurface::TEXT_ABOVE;
inline constexpr auto CENTRED = CDrawSurface::TEXT_CENTRED;

// m_rect moved up by the caption's 18 pixels.
inline CRect raised(const CRect& r) { return CRect{r.left, r.top - 18, r.right, r.bottom - 18}; }
