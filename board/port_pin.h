#pragma once
// A named signal bound to one bit of one port byte, with a polarity, and to at
// most one panel widget.

#include <atomic>
#include <cstdint>
#include <string>

class CPanelWidget;

class CPortPin {
public:
    CPortPin() = default;

    void Bind(std::atomic<uint8_t>* pPort, int32_t nBit, int32_t bInverted, std::string strName, CPanelWidget* pWidget);
    // Writes a logical state (0 inactive, anything else active) through the polarity.
    void Write(uint8_t state);
    // Takes the bit's level without telling anybody.
    void Sample();
    // Tells the widget of a changed level, as a logical value.
    void Refresh();

    std::atomic<uint8_t>* m_pPort = nullptr;
    int32_t m_nBit = 0;
    std::atomic<uint8_t> m_bLevel{0};  // written by both threads
    int32_t m_bInverted = 0;
    std::string m_strName;
    CPanelWidget* m_pWidget = nullptr;

    CPortPin(const CPortPin&) = delete;
    CPortPin& operator=(const CPortPin&) = delete;
};

// One pin for every bit of every port byte: g_pins[port * 8 + bit].
extern CPortPin g_pins[48];
