#pragma once
// The application: creates the main frame and shows it.

#include <memory>

class CMainFrame;

class CSimulatorApp {
public:
    // Creates the frame on the heap and shows it with the plain show command.
    bool InitInstance();
    CMainFrame* MainFrame() const { return m_frame; }

private:
    CMainFrame* m_frame = nullptr;  // deleted by Qt when its window closes
};
