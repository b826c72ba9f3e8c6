// A traced play as text: a mutant whose tables are set up before main is
// played in a process of its own (fresh_mutant.h), and its play comes back
// to the worker this way. Names have no spaces; the expectations come last.

#include <sstream>

#include "scenario/explore/trace_divergence.h"

std::string CTracedPlay::Serialize() const
{
    std::ostringstream out;
    out << code << " " << channels.size() << " " << stepBegin.size() << " " << changes.size() << "\n";
    for (size_t c = 0; c < channels.size(); ++c)
        out << channels[c].scope << " " << channels[c].name << " " << channels[c].isBit << " " << channels[c].isSigned
            << " " << initial[c] << "\n";
    for (uint64_t begin : stepBegin)
        out << begin << "\n";
    for (const CChange& change : changes)
        out << change.ms << " " << change.channel << " " << change.value << "\n";
    out << expectations;
    return out.str();
}

bool CTracedPlay::Parse(const std::string& bytes)
{
    std::istringstream in(bytes);
    size_t channelCount = 0, stepCount = 0, changeCount = 0;
    if (!(in >> code >> channelCount >> stepCount >> changeCount))
        return false;
    channels.assign(channelCount, {});
    initial.assign(channelCount, 0);
    for (size_t c = 0; c < channelCount; ++c)
        if (!(in >> channels[c].scope >> channels[c].name >> channels[c].isBit >> channels[c].isSigned >> initial[c]))
            return false;
    stepBegin.assign(stepCount, 0);
    for (uint64_t& begin : stepBegin)
        if (!(in >> begin))
            return false;
    changes.assign(changeCount, {});
    for (CChange& change : changes)
        if (!(in >> change.ms >> change.channel >> change.value) || change.channel < 0 ||
            static_cast<size_t>(change.channel) >= channelCount)
            return false;
    if (in.get() != '\n')
        return false;
    expectations.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}
