// Where every widget of the front panel stands. The panel reads in columns:
// keys top left, lamps and valve in a row at y 77, the motor column at x 60
// with an end-stop marker either side of the disk and discharge motors, the
// appliance (cover over body over drawer) in the middle at x 166, the fan
// column at x 360, heater and buzzer at the right, readouts below the
// appliance and the hints picture across the top. In the motor and fan
// columns each widget's top is 30 pixels below the previous one's bottom.

#include "app/core/simulator_view.h"
#include "panel/picture_ids.h"

namespace {
int width(const CPanelWidget& w) { return w.m_rect.Width(); }
int height(const CPanelWidget& w) { return w.m_rect.Height(); }
}  // namespace

void CSimulatorView::Layout()
{
    m_keyPower.Place("전원", 40, 40);
    m_keyPower.SetLatching(0);
    Add(m_keyPower, false);
    m_keyManualWash.Place("수동세척", 90, 40);
    Add(m_keyManualWash, false);

    m_lampRed.Place("", 200, 77);
    m_lampRed.SetColour(CLampWidget::RED);
    Add(m_lampRed, false);
    m_lampGreen.Place("", width(m_lampRed) + 213, 77);
    m_lampGreen.SetColour(CLampWidget::GREEN);
    Add(m_lampGreen, false);
    m_lampBlue.Place("", m_lampGreen.m_rect.left + width(m_lampGreen) + 13, 77);
    m_lampBlue.SetColour(CLampWidget::BLUE);
    Add(m_lampBlue, false);

    m_motorDisk.Place("디스크 모터", 60, 145);
    Add(m_motorDisk, true);
    m_diskStopLeft.Place("", 50, 145);
    Add(m_diskStopLeft, false);
    m_diskStopRight.Place("", width(m_motorDisk) + 68, 145);
    Add(m_diskStopRight, false);
    m_motorMain.Place("메인 모터", 60, height(m_motorDisk) + 175);
    Add(m_motorMain, true);
    m_motorExit.Place("배출 모터", 60, m_motorMain.m_rect.top + height(m_motorMain) + 30);
    Add(m_motorExit, true);
    m_exitStopLeft.Place("", 50, m_motorExit.m_rect.top);
    Add(m_exitStopLeft, false);
    m_exitStopRight.Place("", width(m_motorExit) + 68, m_motorExit.m_rect.top);
    Add(m_exitStopRight, false);
    m_relayMain.Place("", 0, 0);
    m_relayMain.SetTarget(&m_motorMain);
    Add(m_relayMain, false);

    m_valveWater.Place("워터 솔레노이드", 380, 77);
    Add(m_valveWater, true);
    m_fanMain.Place("메인팬", 360, 145);
    Add(m_fanMain, true);
    m_fanHeater.Place("히터팬", 360, height(m_fanMain) + 175);
    Add(m_fanHeater, true);
    m_fanCooling.Place("쿨링팬", 360, m_fanHeater.m_rect.top + height(m_fanHeater) + 30);
    Add(m_fanCooling, true);
    m_gaugeHeater.Place("히터", 436, 153);
    Add(m_gaugeHeater, true);
    m_buzzer.Place("버저", 430, 277);
    Add(m_buzzer, true);

    m_cover.Place("커버(닫힘)", 166, 145);
    Add(m_cover, false);
    m_body.Place("음식물 쓰레기 처리기", 166, height(m_cover) + 145);
    Add(m_body, false);
    m_drawer.Place("서랍(닫힘)", 166, m_body.m_rect.top + height(m_body));
    Add(m_drawer, false);

    m_readoutState.Place("state", 244, 336);
    m_readoutState.m_showStateName = 1;
    Add(m_readoutState, false);
    m_readoutRunSec.Place("run_sec", 244, 351);
    Add(m_readoutRunSec, false);

    m_guide.Place("", 137, 8);
    m_guide.SetPicture(PICTURE_GUIDE, 218, 49);
    Add(m_guide, false);
}
