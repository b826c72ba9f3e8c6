#pragma once
// The base of every panel widget: its rectangle and caption, its link to a pin
// or a word binding, and the operations the view, the board and the pins call.

#include <atomic>
#include <cstdint>
#include <string>

#include "panel/draw_surface.h"
#include "panel/geometry.h"

class CPortPin;
class CWordBinding;

class CPanelWidget {
public:
    CPanelWidget();

    // Virtual operations in slot order.
    virtual CRect GetRedrawRect();
    virtual int OnTick();
    virtual int OnMouseMove();
    virtual int OnMouseUp();
    virtual int OnMouseDown();
    virtual int GetValue();
    virtual void SetState(int value);
    virtual void Draw(CDrawSurface& surface);
    virtual void Place(const std::string& caption, int x, int y);
    virtual bool HitTest(CPoint point);
    virtual ~CPanelWidget();

    std::string m_caption;
    CRect m_rect;
    CPortPin* m_pin;
    CWordBinding* m_binding;
    int32_t m_pinDriven;

    CPanelWidget(const CPanelWidget&) = delete;
    CPanelWidget& operator=(const CPanelWidget&) = delete;

protected:
    // Sets the kind's size at construction: the rectangle at the origin.
    void SetSize(int32_t width, int32_t height);
    // The caption drawn 18 pixels above the widget, or centred on it.
    void DrawCaptionAbove(CDrawSurface& surface) const;
    void DrawCaptionCentred(CDrawSurface& surface) const;
    // A click on a part that opens and closes (cover, drawer): it takes the
    // other position, and its pin tells the firmware. Returns 1.
    int ToggleOnClick(bool isOpen);
};

// A widget state field: written by one thread, read by the other, whole.
using widget_state = std::atomic<int32_t>;
