#include "board/word_binding.h"

#include "panel/panel_widget.h"

CWordBinding g_stateBinding;
CWordBinding g_runSecBinding;

// The last value is taken by Sample at each firmware start, not here.
void CWordBinding::Bind(uint16_t* pValue, CPanelWidget* pWidget)
{
    m_pValue = pValue;
    m_pWidget = pWidget;
    pWidget->m_binding = this;
}

void CWordBinding::Sample() { m_nLast = *m_pValue; }

// A readout shows a new number whether or not it takes pin changes.
void CWordBinding::Refresh()
{
    const uint16_t value = *m_pValue;
    if (value == m_nLast)
        return;
    m_nLast = value;
    m_pWidget->SetState(static_cast<int>(value));
}
