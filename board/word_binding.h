#pragma once
// A 16-bit firmware variable bound to a text readout.

#include <cstdint>

class CPanelWidget;

class CWordBinding {
public:
    void Bind(uint16_t* pValue, CPanelWidget* pWidget);
    void Sample();
    void Refresh();

    uint16_t* m_pValue = nullptr;
    uint16_t m_nLast = 0;
    CPanelWidget* m_pWidget = nullptr;
};

// The shown state number and the run seconds.
extern CWordBinding g_stateBinding;
extern CWordBinding g_runSecBinding;
