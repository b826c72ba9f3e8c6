#pragma once
// The trace view's measures and colours.

#include <QColor>

namespace trace_view_style {
inline constexpr int AXIS_HEIGHT = 20;
inline constexpr int NAME_WIDTH = 140;
inline constexpr int VALUE_WIDTH = 92;
inline constexpr int MIN_WAVE_WIDTH = 160;  // the waveform never gets narrower
// The waves start right of the names and two value columns, A's and B's,
// whether cursor B is shown or not: cursor B never moves what is shown.
inline constexpr int WAVE_LEFT = NAME_WIDTH + 2 * VALUE_WIDTH;
inline constexpr int BIT_ROW = 16;
inline constexpr int WORD_ROW = 20;      // the lane of state names
inline constexpr int STEP_ROW = 34;      // a number drawn as steps of its value
inline constexpr int MIN_TICK_GAP = 90;  // px between labelled ticks at least
inline constexpr int LABEL_ROOM = 80;    // px a tick's label takes right of it
inline constexpr double MIN_SPAN_MS = 10;
inline constexpr const char* NOT_TRACED_TEXT = "추적 안 됨";  // a row's value before its variable joined
inline constexpr double MAX_SPAN_MS = 48 * 3'600'000.0;       // a fit shows two days whole
inline const QColor HEADER(236, 236, 236);
inline const QColor SHADE(244, 244, 244);
inline const QColor GRID(222, 222, 222);
inline const QColor LEVEL(0, 128, 0);
inline const QColor WORD_FILL(214, 230, 250);
inline const QColor WORD_EDGE(40, 80, 160);
inline const QColor VALUE_TEXT(0, 0, 140);
inline const QColor CURSOR(210, 0, 0);
inline const QColor CURSOR_B(0, 70, 220);
inline const QColor MARKER(150, 0, 150);
inline const QColor BASELINE(110, 110, 110, 120);  // under the live rows, faint
inline const QColor DIVERGENCE(240, 120, 0);
inline const QColor SELECTED(255, 244, 190);
inline const QColor SELECTION(0, 70, 220, 40);
inline const QColor STEP_TEXT(20, 60, 20);
inline const QColor NOT_TRACED(150, 150, 150);  // the hatch before a variable joined
}  // namespace trace_view_style
