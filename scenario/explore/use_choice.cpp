#include "scenario/explore/use_choice.h"

#include <algorithm>
#include <cstring>

#include "scenario/explore/random_use.h"
#include "sim/plant_fault.h"

std::vector<std::string> CUseChoice::Make(uint64_t seed, const std::vector<CKeptUse>& kept, const bool* reached,
                                          bool directed)
{
    CPicker pick(seed ^ 0x9e3779b97f4a7c15ULL);  // apart from the fresh use's own draws
    if (kept.empty() || pick(0, 3) == 0)
        return CRandomUse::Lines(seed);
    std::vector<std::string> lines;
    size_t which = 0;
    if (directed) {
        if (pick(0, 2) != 0) {
            const bool outcomeFirst = pick(0, 1) == 0;
            if (outcomeFirst && TowardOutcome(pick, kept, reached, lines))
                return lines;
            if (TowardTransition(pick, kept, reached, lines))
                return Continue(pick, std::move(lines));
            if (!outcomeFirst && TowardOutcome(pick, kept, reached, lines))
                return lines;
        }
        which = RareOne(pick, kept);
    } else {  // the later kept uses reach deeper: the larger of two draws leans toward them
        which = std::max(pick(0, kept.size() - 1), pick(0, kept.size() - 1));
    }
    lines = kept[which].lines;
    // Half the time from a step on the way, so that what a state leads to is
    // tried before the kept use has gone on to the next one.
    if (pick(0, 1) == 0)
        lines.resize(pick(1, lines.size()));
    return Continue(pick, std::move(lines));
}

// New random steps after the lines; now and then a plant fault, then long
// enough for a travel's time-outs and, most of the time, its give-up; or
// the machine left alone, so that a cycle runs on to its next state.
std::vector<std::string> CUseChoice::Continue(CPicker& pick, std::vector<std::string> lines)
{
    const std::vector<std::string> more = CRandomUse::More(pick, pick(2000, 60000));
    lines.insert(lines.end(), more.begin(), more.end());
    const uint64_t played = VirtualMs(lines);
    if (pick(0, 5) == 0 && played + 700000 < LONGEST_USE_MS) {
        const std::vector<CPlantFault> faults = CPlantFault::All();
        lines.push_back("fault " + faults[pick(0, faults.size() - 1)].Describe());
        const uint64_t rest = LONGEST_USE_MS - played;
        lines.push_back("wait " + std::to_string(pick(0, 3) == 0 ? pick(600000, rest) : rest));
    } else if (pick(0, 3) == 0) {
        lines.push_back("wait " + std::to_string(pick(10000, 90000)));
    }
    return lines;
}

// A kept use cut just after it entered the state of a transition not yet
// taken; false when no kept use entered any such state.
bool CUseChoice::TowardTransition(CPicker& pick, const std::vector<CKeptUse>& kept, const bool* reached,
                                  std::vector<std::string>& lines)
{
    std::vector<std::vector<size_t>> from;  // per aim, the kept uses in its state
    std::vector<int> aims;
    for (int t = 0; t < CScenarioCoverage::TRANSITION_COUNT; ++t) {
        if (reached[STATE_COUNT + t])
            continue;
        std::vector<size_t> uses;
        for (size_t k = 0; k < kept.size(); ++k)
            if (kept[k].outcome.firstStep[CScenarioCoverage::TRANSITIONS[t].from] != CUseOutcome::NOT_REACHED)
                uses.push_back(k);
        if (!uses.empty()) {
            aims.push_back(t);
            from.push_back(std::move(uses));
        }
    }
    if (aims.empty())
        return false;
    // A transition out of a state few kept uses entered weighs more.
    std::vector<uint64_t> weights;
    for (const std::vector<size_t>& uses : from)
        weights.push_back(SHARE / uses.size() + 1);
    const size_t aim = Weighed(pick, weights);
    const CKeptUse& use = kept[from[aim][pick(0, from[aim].size() - 1)]];
    CutAt(pick, use, CScenarioCoverage::TRANSITIONS[aims[aim]].from, 3000, lines);
    const std::string trigger = Trigger(aims[aim]);
    if (!trigger.empty() && pick(0, 1) == 0) {
        lines.push_back("click " + trigger + " hold " + std::to_string(pick(30, 300)));
        lines.push_back("wait " + std::to_string(pick(50, 3000)));
    }
    return true;
}

// A kept use cut just after it started a travel, early enough for four
// time-outs of 600 s before the use ends; then an end switch stuck open, so
// that a travel toward it fails, is retried and, in time, given up. False
// when no kept use started one early enough.
bool CUseChoice::TowardOutcome(CPicker& pick, const std::vector<CKeptUse>& kept, const bool* reached,
                               std::vector<std::string>& lines)
{
    constexpr int OUTCOMES = STATE_COUNT + CScenarioCoverage::TRANSITION_COUNT + CScenarioCoverage::TIMER_COUNT;
    if (reached[OUTCOMES + CScenarioCoverage::RETRIED] && reached[OUTCOMES + CScenarioCoverage::GIVEN_UP])
        return false;
    const uint64_t latest = reached[OUTCOMES + CScenarioCoverage::GIVEN_UP] ? 1800000 : 90000;
    std::vector<std::pair<size_t, int>> starts;  // kept use, travel timer's item
    for (int timer = 0; timer < FW_TIMER_COUNT && timer < CScenarioCoverage::TIMER_COUNT; ++timer) {
        if (std::strcmp(fw_timers[timer].name, "disk_timer") != 0 &&
            std::strcmp(fw_timers[timer].name, "exit_timer") != 0)
            continue;
        const int item = STATE_COUNT + CScenarioCoverage::TRANSITION_COUNT + timer;
        for (size_t k = 0; k < kept.size(); ++k) {
            const int32_t step = kept[k].outcome.firstStep[item];
            if (step == CUseOutcome::NOT_REACHED)
                continue;
            const std::vector<std::string> before(kept[k].lines.begin(), kept[k].lines.begin() + step);
            if (VirtualMs(before) + kept[k].outcome.intoStepMs[item] <= latest)
                starts.emplace_back(k, item);
        }
    }
    if (starts.empty())
        return false;
    const auto [k, item] = starts[pick(0, starts.size() - 1)];
    CutAt(pick, kept[k], item, 300, lines);
    lines.push_back("fault " + std::string(CPlantFault::SWITCH_NAMES[pick(0, CPlantFault::SWITCH_COUNT - 1)]) +
                    " stuck 1");
    lines.push_back("wait " + std::to_string(LONGEST_USE_MS - VirtualMs(lines)));
    return true;
}

// The kept use's steps up to the one that reached the item, a wait there shortened to when it did, and a little.
void CUseChoice::CutAt(CPicker& pick, const CKeptUse& use, int item, uint64_t slackMs, std::vector<std::string>& lines)
{
    const size_t step = static_cast<size_t>(use.outcome.firstStep[item]);
    lines.assign(use.lines.begin(), use.lines.begin() + static_cast<std::ptrdiff_t>(step));
    const std::string& reaching = use.lines[step];
    if (reaching.rfind("wait ", 0) == 0)
        lines.push_back("wait " + std::to_string(std::min<uint64_t>(std::stoull(reaching.substr(5)),
                                                                    use.outcome.intoStepMs[item] + pick(1, slackMs))));
    else
        lines.push_back(reaching);
}

// A kept use, each weighing the sum over its items of one over the number of kept uses that reached the item.
size_t CUseChoice::RareOne(CPicker& pick, const std::vector<CKeptUse>& kept)
{
    uint64_t by[CScenarioCoverage::ITEM_COUNT] = {};
    for (const CKeptUse& use : kept)
        for (int item = 0; item < CScenarioCoverage::ITEM_COUNT; ++item)
            by[item] += use.outcome.firstStep[item] != CUseOutcome::NOT_REACHED;
    std::vector<uint64_t> weights;
    for (const CKeptUse& use : kept) {
        uint64_t weight = 1;
        for (int item = 0; item < CScenarioCoverage::ITEM_COUNT; ++item)
            if (use.outcome.firstStep[item] != CUseOutcome::NOT_REACHED)
                weight += SHARE / by[item];
        weights.push_back(weight);
    }
    return Weighed(pick, weights);
}

// An index drawn with the chance of its weight; every weight at least 1.
size_t CUseChoice::Weighed(CPicker& pick, const std::vector<uint64_t>& weights)
{
    uint64_t total = 0;
    for (uint64_t weight : weights)
        total += weight;
    uint64_t at = pick(0, total - 1);
    for (size_t i = 0; i < weights.size(); ++i) {
        if (at < weights[i])
            return i;
        at -= weights[i];
    }
    return weights.size() - 1;
}

uint64_t CUseChoice::VirtualMs(const std::vector<std::string>& lines)
{
    uint64_t ms = 0;
    for (const std::string& line : lines) {
        const size_t hold = line.rfind(" hold ");
        if (line.rfind("wait ", 0) == 0)
            ms += std::stoull(line.substr(5));
        else if (hold != std::string::npos)
            ms += std::stoull(line.substr(hold + 6));
        else if (line == "reset-cpu")
            ms += 5100;
    }
    return ms;
}

// The input named first in the transition's cause; none for the ones that come in time ("30 s of washing").
std::string CUseChoice::Trigger(int transition)
{
    const std::string what = CScenarioCoverage::TRANSITIONS[transition].what;
    if (what.rfind("30 s", 0) == 0 || what.rfind("dry", 0) == 0 || what.rfind("start-up", 0) == 0)
        return "";
    std::string first;
    size_t firstAt = std::string::npos;
    for (const char* input : {"drawer", "cover", "power", "wash"}) {
        const size_t at = what.find(input);
        if (at < firstAt)
            first = input, firstAt = at;
    }
    return first;
}
