#pragma once
// The application: creates the main frame and shows it.

#include <QPointer>

class CMainFrame;

class CSimulatorApp {
public:
    // Names the program, installs the beep, creates the frame on the heap and
    // shows it with the plain show command, whatever state it was started in.
    bool InitInstance();
    CMainFrame* MainFrame() const;

private:
    QPointer<CMainFrame> m_frame;  // deleted by Qt when its window has closed
};
