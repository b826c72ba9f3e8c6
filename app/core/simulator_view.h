#pragma once
// The appliance's front panel: the owner of the whole simulation. It holds the
// board (with the firmware thread) and the 25 panel widgets, lays them out,
// paints them, routes the mouse to them and ticks the animated ones every
// 100 ms. The window it is shown in forwards its events here.

#include <vector>

#include "app/core/view_window.h"
#include "board/sim_board.h"
#include "panel/body_widget.h"
#include "panel/buzzer_widget.h"
#include "panel/cover_widget.h"
#include "panel/drawer_widget.h"
#include "panel/fan_widget.h"
#include "panel/gauge_widget.h"
#include "panel/indicator_widget.h"
#include "panel/key_widget.h"
#include "panel/lamp_widget.h"
#include "panel/motor_widget.h"
#include "panel/picture_widget.h"
#include "panel/readout_widget.h"
#include "panel/relay_widget.h"
#include "panel/valve_widget.h"

class CSimulatorView {
public:
    static constexpr int REFRESH_TIMER_ID = 1;
    static constexpr int REFRESH_PERIOD_MS = 100;

    CSimulatorView();  // sets g_pView
    ~CSimulatorView();

    // Window events.
    int OnCreate();  // layout, Attach, StartFirmware; the window then starts the refresh timer
    void OnPaint(CDrawSurface& offscreen, const CRect& client);
    void OnLButtonDown(CViewWindow& window, CPoint point);
    void OnLButtonUp(CViewWindow& window);
    void OnMouseMove(CViewWindow& window);
    void OnTimer(CViewWindow& window, int timerId);
    void OnResetCpu();
    void OnDestroy();

    // The layout: places the 25 widgets and fills the two lists (panel_layout.cpp).
    void Layout();

    CSimBoard m_board;
    std::vector<CPanelWidget*> m_widgets;
    std::vector<CPanelWidget*> m_tickWidgets;
    CPanelWidget* m_captured;

    CKeyWidget m_keyPower;
    CKeyWidget m_keyManualWash;
    CMotorWidget m_motorDisk;
    CMotorWidget m_motorExit;
    CMotorWidget m_motorMain;
    CIndicatorWidget m_diskStopLeft;
    CIndicatorWidget m_diskStopRight;
    CIndicatorWidget m_exitStopRight;
    CIndicatorWidget m_exitStopLeft;
    CRelayWidget m_relayMain;
    CFanWidget m_fanMain;
    CFanWidget m_fanHeater;
    CFanWidget m_fanCooling;
    CCoverWidget m_cover;
    CBodyWidget m_body;
    CDrawerWidget m_drawer;
    CLampWidget m_lampRed;
    CLampWidget m_lampGreen;
    CLampWidget m_lampBlue;
    CValveWidget m_valveWater;
    CGaugeWidget m_gaugeHeater;
    CBuzzerWidget m_buzzer;
    CPictureWidget m_guide;
    CReadoutWidget m_readoutState;
    CReadoutWidget m_readoutRunSec;

    CSimulatorView(const CSimulatorView&) = delete;
    CSimulatorView& operator=(const CSimulatorView&) = delete;

private:
    void Add(CPanelWidget& widget, bool ticked);
};

// The one view; the board reaches the panel's widgets through it.
extern CSimulatorView* g_pView;
