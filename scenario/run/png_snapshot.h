#pragma once
// A picture of the panel as the window would show it now, saved as PNG.

#include <string>

class CVirtualSimulator;

class CPngSnapshot {
public:
    // The panel's client area.
    static constexpr int WIDTH = 500;
    static constexpr int HEIGHT = 400;

    // Paints the panel off screen and saves it through a temporary file
    // (COutputFile); false with `error`, the system's reason where the file
    // failed. Makes the Qt application (offscreen unless a platform is
    // chosen) on first use.
    static bool Save(CVirtualSimulator& sim, const std::string& path, std::string& error);
};
