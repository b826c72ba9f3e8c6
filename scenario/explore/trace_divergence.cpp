#include "scenario/explore/trace_divergence.h"

#include <algorithm>
#include <sstream>

namespace {

// A condition sees at ms N what the trace holds at N - 1: a change the trace
// puts at ms T is first seen by a check at T + 1.
constexpr uint64_t SEEN_AFTER = 1;

// The length of a `wait` step, or 0 for any other step.
uint64_t wait_ms(const std::string& line)
{
    if (line.rfind("wait ", 0) != 0)
        return 0;
    return std::strtoull(line.c_str() + 5, nullptr, 10);
}

// The wait step whose ms T ran in, or -1.
int wait_step_at(const CTracedPlay& play, const std::vector<std::string>& lines, uint64_t t)
{
    for (size_t step = 0; step < lines.size() && step < play.stepBegin.size(); ++step) {
        const uint64_t begin = play.stepBegin[step];
        const uint64_t length = wait_ms(lines[step]);
        if (begin != CTracedPlay::NO_BEGIN && length > 0 && begin <= t && t < begin + length)
            return static_cast<int>(step);
    }
    return -1;
}

// The ms of the last change of `channel` before `t`, or 0.
uint64_t last_change_before(const CTracedPlay& play, int channel, uint64_t t)
{
    uint64_t last = 0;
    for (const CTracedPlay::CChange& change : play.changes) {
        if (change.ms >= t)
            break;
        if (change.channel == channel)
            last = change.ms;
    }
    return last;
}

// The check at ms T on `channel`: the firmware as written changed it there
// (a run-until that holds at that very ms), or held it (an expect-for
// through that ms).
CCheckpoint check_at(const CTracedPlay& plain, const std::vector<std::string>& lines, int step, uint64_t t, int channel,
                     int64_t before, int64_t value)
{
    const uint64_t stepBegin = plain.stepBegin[step];
    const uint64_t stepEnd = stepBegin + wait_ms(lines[step]);
    const uint64_t seenAt = t + SEEN_AFTER;  // the first ms a check sees ms T
    CCheckpoint check;
    check.step = step;
    check.earliestMs = std::max(stepBegin, last_change_before(plain, channel, t) + SEEN_AFTER) - stepBegin;
    check.startMs = check.earliestMs;
    check.condition = CTraceDivergence::Condition(plain.channels[channel], value);
    if (before != value) {
        check.kind = CCheckpoint::CHANGES;
        check.endMs = seenAt - stepBegin;
    } else if (seenAt + 1 <= stepEnd) {
        check.kind = CCheckpoint::HOLDS;
        check.endMs = seenAt + 1 - stepBegin;
    } else {  // the wait's last ms: the expect-for may not run past it
        check.kind = CCheckpoint::HOLDS_LAST;
        check.endMs = seenAt - stepBegin;
    }
    return check;
}

}  // namespace

std::string CCheckpoint::Text() const
{
    const std::string length = std::to_string(endMs - startMs);
    switch (kind) {
    case CHANGES:
        return "run-until " + condition + " within " + length + " after " + length + "\n";
    case HOLDS:
        return "expect-for " + length + " " + condition + "\n";
    case HOLDS_LAST:
        return "expect-for " + length + " " + condition + "\nexpect " + condition + "\n";
    case ENDS:
        break;
    }
    return condition;
}

std::string CCheckpoint::Serialize() const
{
    return std::to_string(step) + " " + std::to_string(earliestMs) + " " + std::to_string(startMs) + " " +
           std::to_string(endMs) + " " + static_cast<char>(kind) + "\n" + condition;
}

bool CCheckpoint::Parse(const std::string& bytes)
{
    std::istringstream in(bytes);
    char k = 0;
    if (!(in >> step >> earliestMs >> startMs >> endMs >> k) || in.get() != '\n')
        return false;
    kind = static_cast<Kind>(k);
    condition.assign(std::istreambuf_iterator<char>(in), {});
    return !condition.empty() && (kind == CHANGES || kind == HOLDS || kind == HOLDS_LAST || kind == ENDS);
}

std::string CTraceDivergence::Condition(const CTraceChannel& channel, int64_t value)
{
    const std::string number = std::to_string(value);
    if (channel.scope == "timer")
        return "timer " + channel.name + (value ? " running" : " idle");
    if (channel.scope == "ports")
        return "signal " + channel.name + " " + number;
    if (channel.scope == "firmware")
        return channel.name == "state_number" && value >= 1 && value <= 10 ? "state " + number
                                                                           : "var " + channel.name + " " + number;
    static const char* const MOTORS[][2] = {
        {"disk_position", "disk"}, {"exit_position", "exit"}, {"main_position", "main"}};
    for (const auto& motor : MOTORS)
        if (channel.name == motor[0])
            return std::string("motor ") + motor[1] + " " + number;
    if (channel.name == "beeps")
        return "beeps " + number;
    return {};
}

void CTraceDivergence::CountBeepsFromRestarts(std::vector<CCheckpoint>& checks)
{
    static const std::string BEEPS = "beeps ";
    int64_t restart = 0;
    for (CCheckpoint& check : checks) {
        if (check.condition.rfind(BEEPS, 0) != 0)
            continue;
        const int64_t total = std::stoll(check.condition.substr(BEEPS.size()));
        check.condition = BEEPS + std::to_string(total - restart);
        if (check.kind == CCheckpoint::HOLDS_LAST)  // its closing `expect` starts the count again
            restart = total;
    }
}

// The ms are walked in order: those where either trace changes, and the
// first ms of each wait, where a value that parted earlier (in a click, say)
// may still differ.
std::vector<CCheckpoint> CTraceDivergence::Checks(const CTracedPlay& plain, const CTracedPlay& mutant,
                                                  const std::vector<std::string>& lines, size_t count)
{
    std::vector<CCheckpoint> checks;
    if (plain.channels.size() != mutant.channels.size())
        return checks;
    // The values before the start are what the process's last play left;
    // the firmware's start sets them, so only the changes are compared.
    std::vector<uint64_t> waits;
    for (size_t step = 0; step < lines.size() && step < plain.stepBegin.size(); ++step)
        if (wait_ms(lines[step]) > 0 && plain.stepBegin[step] != CTracedPlay::NO_BEGIN)
            waits.push_back(plain.stepBegin[step]);
    std::vector<int64_t> a = plain.initial, b = mutant.initial;
    size_t i = 0, j = 0, w = 0;
    const auto at = [](const auto& list, size_t k) { return k < list.size() ? list[k].ms : UINT64_MAX; };
    while (checks.size() < count) {
        const uint64_t t =
            std::min({at(plain.changes, i), at(mutant.changes, j), w < waits.size() ? waits[w] : UINT64_MAX});
        if (t == UINT64_MAX)
            break;
        std::vector<std::pair<int, int64_t>> plainBefore;  // the plain values this ms changes, as they were
        std::vector<int> touched;
        for (; i < plain.changes.size() && plain.changes[i].ms == t; ++i) {
            const CTracedPlay::CChange& change = plain.changes[i];
            plainBefore.push_back({change.channel, a[change.channel]});
            touched.push_back(change.channel);
            a[change.channel] = change.value;
        }
        for (; j < mutant.changes.size() && mutant.changes[j].ms == t; ++j)
            touched.push_back(mutant.changes[j].channel), b[mutant.changes[j].channel] = mutant.changes[j].value;
        for (; w < waits.size() && waits[w] == t; ++w)
            for (size_t channel = 0; channel < a.size(); ++channel)
                touched.push_back(static_cast<int>(channel));
        std::sort(touched.begin(), touched.end());
        for (int channel : touched) {
            if (a[channel] == b[channel] || Condition(plain.channels[channel], 0).empty())
                continue;
            const int step = wait_step_at(plain, lines, t);  // looked up only where the traces differ
            if (step < 0)
                break;
            int64_t before = a[channel];
            for (const auto& [changed, value] : plainBefore)
                if (changed == channel) {
                    before = value;
                    break;
                }
            checks.push_back(check_at(plain, lines, step, t, channel, before, a[channel]));
            break;
        }
    }
    return checks;
}

std::vector<CCheckpoint> CTraceDivergence::Place(const std::vector<CCheckpoint>& checks, std::vector<bool>& placed)
{
    const auto step = [](const CCheckpoint& c) { return c.step == CCheckpoint::END ? INT32_MAX : c.step; };
    std::vector<size_t> order(checks.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return step(checks[a]) != step(checks[b]) ? step(checks[a]) < step(checks[b])
                                                  : checks[a].endMs < checks[b].endMs;
    });
    std::vector<CCheckpoint> written;
    placed.assign(checks.size(), false);
    for (size_t i : order) {
        CCheckpoint check = checks[i];
        const CCheckpoint* last = written.empty() ? nullptr : &written.back();
        const bool sameStep = last && last->step == check.step;
        if (sameStep && last->kind == check.kind && last->endMs == check.endMs && last->condition == check.condition) {
            placed[i] = true;  // one check tells both apart
            continue;
        }
        check.startMs = std::max(check.earliestMs, sameStep ? last->endMs : 0);
        if (check.step != CCheckpoint::END && check.startMs > check.Latest())
            continue;
        placed[i] = true;
        written.push_back(check);
    }
    return written;
}
