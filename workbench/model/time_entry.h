#pragma once
// A moment typed by the user: "1:23.456" (minutes and seconds), "1:02:03"
// (hours too), "83.5" or "83.5 s" (seconds), "250 ms", "2 min", "1 h"; the
// units in capitals too ("20 S", "250 MS").

#include <QString>

#include <cstdint>
#include <optional>

std::optional<uint64_t> parse_time_entry(const QString& text);
