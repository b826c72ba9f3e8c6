// The trace reader under libFuzzer: any bytes, and whatever it accepts must
// hold what the plotter relies on: every change in time order and within the
// trace's end, each variable found by its names, and ValueAt giving back
// each change at its time.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "trace/vcd_reader.h"

namespace {

void fail(const CVcdReader::CVariable& var, const char* what)
{
    std::fprintf(stderr, "accepted trace, variable '%s': %s\n", var.name.c_str(), what);
    std::abort();
}

void check_variable(const CVcdReader& reader, const CVcdReader::CVariable& var)
{
    if (!reader.Find(var.name) || !reader.Find(var.scope + "." + var.name))
        fail(var, "not found by its name");
    for (size_t i = 0; i < var.changes.size(); ++i) {
        const auto [time, value] = var.changes[i];
        if (i > 0 && time <= var.changes[i - 1].first)
            fail(var, "changes out of time order");
        if (time > reader.EndTime())
            fail(var, "a change after the end time");
        if (CVcdReader::ValueAt(var, time) != value)
            fail(var, "ValueAt differs from the change");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CVcdReader reader;
    std::string error;
    if (reader.Parse(text, error))
        for (const CVcdReader::CVariable& var : reader.Variables())
            check_variable(reader, var);
    return 0;
}
