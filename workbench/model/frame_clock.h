#pragma once
// How far virtual time goes in each frame of the workbench. At a fixed speed
// virtual time follows the wall clock from an anchor: the frame at wall time
// w runs to anchor + speed x (w - the anchor's wall time), so the timer's
// jitter never adds up. "As fast as possible" has no target: each frame runs
// the firmware for a slice of wall time instead. The speed achieved is
// measured over the last second of frames.

#include <cstdint>

class CFrameClock {
public:
    static constexpr int SPEED_COUNT = 6;
    static constexpr int SPEED_ONE = 1;
    static constexpr int SPEED_MAX = 5;  // as fast as possible
    static constexpr double SPEEDS[SPEED_COUNT] = {0.1, 1, 10, 100, 1000, 0};
    static const char* const SPEED_LABELS[SPEED_COUNT];  // "×0.1" .. "최대"

    // Frames at x1 and slower come every 100 ms, as the panel's own refresh
    // step does at x1 (the lamps, readouts and animations change no oftener);
    // faster ones 60 times a second; as fast as possible, the firmware runs
    // MAX_SLICE_MS of each frame.
    static constexpr int SLOW_FRAME_MS = 100;
    static constexpr int FAST_FRAME_MS = 16;
    static constexpr int MAX_SLICE_MS = 40;
    // A simulation further behind the wall clock than this is let off the
    // rest instead of catching up in one long frame.
    static constexpr int64_t MAX_LAG_US = 250'000;

    void SetSpeed(int index);
    int SpeedIndex() const { return m_speed; }
    bool AsFastAsPossible() const { return m_speed == SPEED_MAX; }
    int FrameIntervalMs() const;

    // From here on virtual time follows the wall clock from these two instants.
    void Anchor(uint64_t virtualMs, int64_t wallUs);
    // The virtual time the frame at wallUs runs to (fixed speeds only).
    uint64_t Target(uint64_t virtualMs, int64_t wallUs);

    // A frame has ended; for the speed achieved.
    void FrameDone(uint64_t virtualMs, int64_t wallUs);
    // Virtual ms per wall ms over the last second of frames; 0 without two frames.
    double Achieved() const;
    void ForgetFrames() { m_frames = 0; }

private:
    struct CFrameMark {
        int64_t wallUs;
        uint64_t virtualMs;
    };
    static constexpr int MARKS = 128;

    int m_speed = SPEED_ONE;
    uint64_t m_anchorVirtualMs = 0;
    int64_t m_anchorWallUs = 0;
    CFrameMark m_marks[MARKS] = {};
    int m_next = 0;    // where the next mark goes
    int m_frames = 0;  // marks held, at most MARKS
};
