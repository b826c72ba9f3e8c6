#include "board/port_pin.h"

#include <utility>

#include "board/port_bytes.h"
#include "panel/panel_widget.h"

// Constructed at program start with empty names; the wiring binds 27 of them.
CPortPin g_pins[48];

void CPortPin::Bind(std::atomic<uint8_t>* pPort, int32_t nBit, int32_t bInverted, std::string strName,
                    CPanelWidget* pWidget)
{
    m_pPort = pPort;
    m_nBit = nBit;
    m_bInverted = bInverted;
    m_pWidget = pWidget;
    if (pWidget)
        pWidget->m_pin = this;
    m_bLevel.store(port_bit_read(*m_pPort, m_nBit) ? 1 : 0);
    m_strName = std::move(strName);
}

// The writer is the widget itself, so it is not called back: the next Refresh
// finds the level it already knows.
void CPortPin::Write(uint8_t state)
{
    const bool active = state != 0;
    const uint8_t level = active != (m_bInverted != 0) ? 1 : 0;
    m_bLevel.store(level);
    port_bit_write(*m_pPort, m_nBit, level != 0);
}

void CPortPin::Sample() { m_bLevel.store(port_bit_read(*m_pPort, m_nBit) ? 1 : 0); }

// A widget always sees 1 for an active signal, whatever the pin's polarity.
void CPortPin::Refresh()
{
    const uint8_t level = port_bit_read(*m_pPort, m_nBit) ? 1 : 0;
    if (m_bLevel.exchange(level) == level)
        return;
    if (m_pWidget && m_pWidget->m_pinDriven)
        m_pWidget->SetState(m_bInverted ? 1 - level : level);
}
