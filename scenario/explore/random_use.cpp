#include "scenario/explore/random_use.h"

#include <iterator>
#include <random>

#include "sim/plant_fault.h"

const char* const CRandomUse::TARGETS[TARGET_COUNT] = {"power",   "wash",    "cover",   "drawer", "210 87",
                                                       "377 300", "246 110", "400 297", "5 380"};

// Random steps from virtual time t until playMs; the picker goes on from where it stands.
void CRandomUse::Play(CPicker& pick, std::vector<std::string>& lines, uint64_t t, uint64_t playMs)
{
    const std::vector<CPlantFault> faults = CPlantFault::All();
    const auto target = [&] { return std::string(TARGETS[pick(0, std::size(TARGETS) - 1)]); };
    const auto click = [&](const std::string& where, uint64_t hold) {
        lines.push_back("click " + where + " hold " + std::to_string(hold));
        return hold;
    };
    // One mouse: every action ends before the next begins.
    while (t < playMs) {
        switch (pick(0, 11)) {
        case 0:
            lines.push_back("reset-cpu");
            t += 5100;  // at most the forced stop
            break;
        case 1: {  // twice, quickly
            const std::string where = target();
            t += click(where, pick(30, 120));
            t += click(where, pick(30, 120));
            break;
        }
        case 2:
            t += click(target(), pick(500, 4000));  // press and hold
            break;
        case 3:
            lines.push_back("fault " + faults[pick(0, faults.size() - 1)].Describe());
            break;
        case 4: {
            const uint64_t which = pick(0, faults.size());
            lines.push_back(which == faults.size() ? "clear all" : "clear " + faults[which].Part());
            break;
        }
        default:
            t += click(target(), pick(30, 300));
        }
        const uint64_t gap = pick(50, 12000);
        lines.push_back("wait " + std::to_string(gap));
        t += gap;
    }
}

std::vector<std::string> CRandomUse::Lines(uint64_t seed)
{
    CPicker pick(seed);
    std::vector<std::string> lines;
    const uint64_t playMs = pick(60000, 180000);
    const uint64_t t = pick(10, 3000);
    lines.push_back("wait " + std::to_string(t));
    Play(pick, lines, t, playMs);
    lines.push_back("wait 6000");
    return lines;
}

std::vector<std::string> CRandomUse::More(CPicker& pick, uint64_t playMs)
{
    std::vector<std::string> lines;
    Play(pick, lines, 0, playMs);
    return lines;
}
