#pragma once
// Markers travel inside a saved scenario as comments the runner skips, one
// a line: "# marker 00:21.603 팬이 늦게 켜짐" (virtual time, then the note,
// if any). A comment that starts the same way but does not read is left a
// plain comment.

#include <QString>

#include <cstdint>
#include <string>

struct CMarker {
    uint64_t ms = 0;
    QString note;  // one line, no control characters
};

// The comment line of a marker, without its newline.
QString marker_comment(const CMarker& marker);
// Reads a line of a scenario as a marker; false when it is none.
bool read_marker_comment(const QString& line, CMarker& marker);
// A note as it can stand on one line: control characters (a newline, a
// tab) become spaces, and the blanks at either end go.
QString one_line_note(const QString& note);
// The line a saved session puts above its markers, without its newline.
extern const char* const MARKERS_HEADER;
// The text with the lines that read as markers left out, and the markers'
// header with the blank line before it: a session saved again writes its own.
std::string without_marker_comments(const std::string& text);
