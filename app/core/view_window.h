#pragma once
// What the simulator view needs of the window it lives in: invalidation
// without erase, an immediate update, and the mouse capture. The Qt window
// implements it; headless drivers (tests, benchmarks) pass a quiet one.

#include "panel/geometry.h"

class CViewWindow {
public:
    virtual ~CViewWindow() = default;
    // Marks a rectangle (null: the whole client area) for repainting, without erasing.
    virtual void InvalidateRect(const CRect* rect) = 0;
    // Runs the pending paint at once.
    virtual void UpdateWindow() = 0;
    virtual void SetCapture() = 0;
    virtual void ReleaseCapture() = 0;
};

// A window that ignores everything: the simulation driven without a screen.
class CQuietWindow : public CViewWindow {
public:
    void InvalidateRect(const CRect*) override {}
    void UpdateWindow() override {}
    void SetCapture() override {}
    void ReleaseCapture() override {}
};
