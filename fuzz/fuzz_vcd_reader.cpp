// The trace reader under libFuzzer: any bytes, and whatever it accepts must
// hold what the plotter relies on: every change in time order and within the
// trace's end, each variable found by its names, and ValueAt giving back
// each change at its time. A trace compared with itself is the same (where
// no two of its variables share a full name). Bytes
// with a form feed are two traces, cut there, read in their common unit and
// compared with a slack and a tolerance: the divergences come in time order.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "trace/trace_compare.h"
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

void compare_two(const std::string& textA, const std::string& textB)
{
    CTimescale scaleA, scaleB;
    CVcdReader::TimescaleOf(textA, scaleA);
    CVcdReader::TimescaleOf(textB, scaleB);
    CVcdReader a, b;
    a.ConvertTo(CTimescale::CommonUnit(scaleA, scaleB));
    b.ConvertTo(CTimescale::CommonUnit(scaleA, scaleB));
    std::string error;
    if (!a.Parse(textA, error) || !b.Parse(textB, error))
        return;
    CTraceCompare::COptions options;
    options.slack = textA.size() % 5;
    options.tolerance.relative = textB.size() % 2 ? 0.01 : 0;
    const CTraceCompare::CResult result = CTraceCompare::Compare(a, b, options);
    for (size_t i = 1; i < result.divergences.size(); ++i)
        if (result.divergences[i].timeMs < result.divergences[i - 1].timeMs) {
            std::fprintf(stderr, "divergences out of time order\n");
            std::abort();
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CVcdReader reader;
    std::string error;
    if (const size_t cut = text.find('\f'); cut != std::string::npos) {
        compare_two(text.substr(0, cut), text.substr(cut + 1));
        return 0;
    }
    if (!reader.Parse(text, error))
        return 0;
    for (const CVcdReader::CVariable& var : reader.Variables())
        check_variable(reader, var);
    std::vector<std::string> names = CTraceCompare::Names(reader);
    std::sort(names.begin(), names.end());
    const bool unique = std::adjacent_find(names.begin(), names.end()) == names.end();  // else paired by the first
    if (unique && !CTraceCompare::Compare(reader, reader, {}).Same()) {
        std::fprintf(stderr, "a trace differs from itself\n");
        std::abort();
    }
    return 0;
}
