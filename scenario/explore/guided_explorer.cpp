#include "scenario/explore/guided_explorer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>

#include "cli/cleanup_signals.h"
#include "cli/output_file.h"
#include "scenario/explore/random_use.h"
#include "scenario/run/worker_pool.h"
#include "sim/plant_fault.h"

namespace {

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

std::vector<std::string> split(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string suite_name(size_t number)
{
    char name[32];
    std::snprintf(name, sizeof name, "cover-%03zu.scn", number);
    return name;
}

}  // namespace

CGuidedExplorer::CGuidedExplorer(uint64_t runs, uint64_t firstSeed, std::string suiteDir, unsigned jobs,
                                 std::ostream& out, std::ostream& err)
    : m_runs(runs),
      m_firstSeed(firstSeed),
      m_suiteDir(std::move(suiteDir)),
      m_out(out),
      m_err(err),
      m_pool(std::make_unique<CWorkerPool>(jobs, &CGuidedExplorer::PlayTask))
{
}

CGuidedExplorer::~CGuidedExplorer() = default;

std::string CGuidedExplorer::PlayTask(const std::string& task) { return CUsePlay::Play(split(task)).Serialize(); }

std::vector<std::string> CGuidedExplorer::MakeUse(uint64_t seed, const std::vector<std::vector<std::string>>& kept)
{
    CPicker pick(seed ^ 0x9e3779b97f4a7c15ULL);  // apart from the fresh use's own draws
    if (kept.empty() || pick(0, 3) == 0)
        return CRandomUse::Lines(seed);
    // The later kept uses reach deeper: the larger of two draws leans toward them.
    const uint64_t which = std::max(pick(0, kept.size() - 1), pick(0, kept.size() - 1));
    std::vector<std::string> lines = kept[which];
    // Half the time from a step on the way, so that what a state leads to is
    // tried before the kept use has gone on to the next one.
    if (pick(0, 1) == 0)
        lines.resize(pick(1, lines.size()));
    const std::vector<std::string> more = CRandomUse::More(pick, pick(2000, 60000));
    lines.insert(lines.end(), more.begin(), more.end());
    const uint64_t played = VirtualMs(lines);
    if (pick(0, 5) == 0 && played + 700000 < LONGEST_USE_MS) {
        // A plant fault, then long enough for a travel's time-outs and, most
        // of the time, its give-up.
        const std::vector<CPlantFault> faults = CPlantFault::All();
        lines.push_back("fault " + faults[pick(0, faults.size() - 1)].Describe());
        const uint64_t rest = LONGEST_USE_MS - played;
        lines.push_back("wait " + std::to_string(pick(0, 3) == 0 ? pick(600000, rest) : rest));
    } else if (pick(0, 3) == 0) {  // left alone: a cycle runs on to its next state
        lines.push_back("wait " + std::to_string(pick(10000, 90000)));
    }
    return lines;
}

// The virtual time the steps take at most: waits, holds and forced stops.
uint64_t CGuidedExplorer::VirtualMs(const std::vector<std::string>& lines)
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

// Refused before any use is played: a suite folder that holds an earlier
// suite would replay with that suite's coverage mixed in.
bool CGuidedExplorer::CheckSuite()
{
    std::string error;
    if (!COutputFile::EnsureFolder(m_suiteDir, error) ||
        !COutputFile::Check(m_suiteDir + "/" + suite_name(1), {}, error)) {
        m_err << error << "\n";
        return false;
    }
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(m_suiteDir, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("cover-", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == ".scn") {
            m_err << m_suiteDir << ": holds " << name << " of an earlier suite; remove it or choose another folder\n";
            return false;
        }
    }
    return true;
}

std::vector<CUseOutcome> CGuidedExplorer::PlayAll(const std::vector<std::vector<std::string>>& uses, bool& complete)
{
    std::vector<std::string> tasks;
    for (const std::vector<std::string>& use : uses)
        tasks.push_back(joined(use));
    std::vector<size_t> longestFirst(uses.size());
    for (size_t i = 0; i < uses.size(); ++i)
        longestFirst[i] = i;
    std::stable_sort(longestFirst.begin(), longestFirst.end(),
                     [&](size_t a, size_t b) { return VirtualMs(uses[a]) > VirtualMs(uses[b]); });
    std::vector<bool> answered;
    const std::vector<std::string> answers = m_pool->Map(tasks, answered, {}, longestFirst);
    std::vector<CUseOutcome> outcomes(uses.size());
    complete = true;
    for (size_t i = 0; i < uses.size(); ++i)
        if (!answered[i] || !outcomes[i].Parse(answers[i]))
            complete = false;
    return outcomes;
}

bool CGuidedExplorer::AllReached() const
{
    return std::all_of(std::begin(m_reached), std::end(m_reached), [](bool r) { return r; });
}

// A use that reached something new is cut after the step that reached the last new item.
void CGuidedExplorer::Judge(uint64_t seed, const std::vector<std::string>& lines, const CUseOutcome& played)
{
    if (played.broken) {
        m_out << "explore: seed " << seed << " breaks the machine, not kept: " << played.what << std::endl;
        return;
    }
    std::vector<int> items;
    int32_t cut = -1;
    for (int item = 0; item < CScenarioCoverage::ITEM_COUNT; ++item)
        if (!m_reached[item] && played.firstStep[item] != CUseOutcome::NOT_REACHED) {
            items.push_back(item);
            cut = std::max(cut, played.firstStep[item]);
        }
    if (items.empty())
        return;
    Keep(seed, std::vector<std::string>(lines.begin(), lines.begin() + cut + 1), items);
}

// The cut use, played twice: both plays must see the same trace and reach what the whole use did.
bool CGuidedExplorer::Keep(uint64_t seed, std::vector<std::string> lines, const std::vector<int>& items)
{
    bool complete = false;
    const std::vector<CUseOutcome> plays = PlayAll({lines, lines}, complete);
    if (!complete)
        return false;
    bool same =
        !plays[0].broken && plays[0].digest == plays[1].digest && plays[0].expectations == plays[1].expectations;
    for (int item : items)
        same = same && plays[0].firstStep[item] != CUseOutcome::NOT_REACHED;
    if (!same) {
        m_out << "explore: seed " << seed << " is nondeterministic: its replay differs, not kept" << std::endl;
        return false;
    }
    if (!Write(seed, lines, items, plays[0]))
        return false;
    for (int item = 0; item < CScenarioCoverage::ITEM_COUNT; ++item)
        if (plays[0].firstStep[item] != CUseOutcome::NOT_REACHED) {
            m_reached[item] = true;
            m_coverage.SetCount(item, m_coverage.Count(item) + 1);
        }
    m_kept.push_back(std::move(lines));
    return true;
}

bool CGuidedExplorer::Write(uint64_t seed, const std::vector<std::string>& lines, const std::vector<int>& items,
                            const CUseOutcome& end)
{
    const std::string name = suite_name(m_kept.size() + 1);
    std::string text = "# A use of the panel found by trelvik-scenario --explore --guided --seed " +
                       std::to_string(m_firstSeed) + " (use " + std::to_string(seed) + "),\n" +
                       "# kept for what it reached first:\n";
    for (int item : items)
        text += "#   " + CScenarioCoverage::ItemText(item) + "\n";
    text += "\n" + joined(lines) + "\n# As it stood at " + std::to_string(end.endMs) + " ms.\n" + end.expectations;
    std::string error;
    if (!COutputFile::WriteWhole(m_suiteDir + "/" + name, text.data(), text.size(), error)) {
        m_err << error << "\n";
        m_writeFailed = true;
        return false;
    }
    m_out << "explore: " << name << " from seed " << seed << ", " << lines.size() << " steps: ";
    for (size_t i = 0; i < items.size(); ++i)
        m_out << (i ? ", " : "") << CScenarioCoverage::ItemText(items[i]);
    m_out << std::endl;
    return true;
}

void CGuidedExplorer::Summary(uint64_t played, double seconds)
{
    m_out << "explore: " << played << " uses from seed " << m_firstSeed << ", " << m_kept.size() << " kept in "
          << m_suiteDir << "\n";
    m_out << "coverage: states " << m_coverage.States() << "/" << STATE_COUNT << ", transitions "
          << m_coverage.Transitions() << "/" << CScenarioCoverage::TRANSITION_COUNT << ", timers "
          << m_coverage.Timers() << "/" << CScenarioCoverage::TIMER_COUNT << ", travel outcomes "
          << m_coverage.Outcomes() << "/" << CScenarioCoverage::OUTCOME_COUNT << "\n";
    for (int item = 0; item < CScenarioCoverage::ITEM_COUNT; ++item)
        if (!m_reached[item])
            m_out << "  - never reached: " << CScenarioCoverage::ItemText(item) << "\n";
    m_out.flush();
    char took[64];
    std::snprintf(took, sizeof took, "explore: %.1f s with %u %s\n", seconds, m_pool->Jobs(),
                  m_pool->Jobs() == 1 ? "job" : "jobs");
    m_err << took;  // not on stdout: the output is the same for every number of jobs
}

int CGuidedExplorer::Run()
{
    if (!CheckSuite())
        return 2;
    defer_fatal_signals();
    const auto start = std::chrono::steady_clock::now();
    uint64_t played = 0;
    for (uint64_t round = 0; round < m_runs && !AllReached() && !m_writeFailed; round += ROUND) {
        std::vector<std::vector<std::string>> uses;
        for (uint64_t i = round; i < std::min(m_runs, round + ROUND); ++i)
            uses.push_back(MakeUse(m_firstSeed + i, m_kept));
        bool complete = false;
        const std::vector<CUseOutcome> outcomes = PlayAll(uses, complete);
        if (noted_fatal_signal())
            break;
        if (!complete) {
            m_err << "explore: a worker ended without answering (uses from seed " << m_firstSeed + round << ")\n";
            return 2;
        }
        for (size_t i = 0; i < uses.size() && !AllReached() && !m_writeFailed && !noted_fatal_signal(); ++i) {
            played = round + i + 1;
            Judge(m_firstSeed + round + i, uses[i], outcomes[i]);
        }
    }
    if (noted_fatal_signal())
        return 2;  // the caller ends by the signal
    Summary(played, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (m_writeFailed)
        return 2;
    return AllReached() ? 0 : 1;
}
