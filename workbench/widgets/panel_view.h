#pragma once
// The front panel at the workbench: the same 25 widgets drawn through the
// view core into an off-screen image, and clickable as in the simulator.
// Presses and releases go to the session at the present virtual time; Qt
// keeps the mouse for the pressed widget until the button comes up, also
// outside the window. The keys P, W, C and D press the power key, the
// manual-wash key, the cover and the drawer for as long as they are held.

#include <QWidget>

#include <cstdint>

class CWorkbenchSession;

class CPanelView : public QWidget {
    Q_OBJECT
public:
    static constexpr int WIDTH = 500;
    static constexpr int HEIGHT = 400;

    explicit CPanelView(CWorkbenchSession& session, QWidget* parent = nullptr);

    QSize sizeHint() const override { return QSize(WIDTH, HEIGHT); }
    // Repaints when the panel looks different: what the widgets would draw
    // is summed up first (CDrawSignature), which costs far less than a paint.
    void FrameDone();
    // The panel as it looks now.
    QImage Snapshot();

signals:
    void Input();  // a press or release reached the session

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool KeyPoint(int key, QPoint& point) const;

    CWorkbenchSession& m_session;
    uint64_t Signature();

    uint64_t m_painted = 0;  // the signature of what the window shows
    int m_heldKey = 0;       // the keyboard key holding a panel input
};
