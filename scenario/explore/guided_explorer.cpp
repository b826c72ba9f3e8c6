#include "scenario/explore/guided_explorer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>

#include "cli/cleanup_signals.h"
#include "cli/output_file.h"
#include "scenario/explore/mutant_build.h"
#include "scenario/explore/mutant_hunt.h"
#include "scenario/explore/mutant_trial.h"
#include "scenario/explore/random_use.h"
#include "scenario/explore/scenario_explorer.h"
#include "scenario/explore/use_lines.h"
#include "scenario/run/worker_pool.h"

std::string CGuidedExplorer::SuiteFile(uint64_t number)
{
    char name[32];
    std::snprintf(name, sizeof name, "cover-%03llu.scn", static_cast<unsigned long long>(number));
    return name;
}

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

std::string CGuidedExplorer::PlayTask(const std::string& task)
{
    if (CMutantTrial::IsTask(task))
        return CMutantTrial::Task(task);
    return CUsePlay::Play(CUseLines::Split(task)).Serialize();
}

void CGuidedExplorer::SetMutants(std::vector<std::string> only, std::string equivalentsPath)
{
    m_mutants = true;
    m_mutantsOnly = std::move(only);
    m_equivalentsPath = std::move(equivalentsPath);
    m_pool->SetForkAlone();  // a mutant that stalls the firmware ends a worker, not the run
}

// Refused before any use is played: a suite folder that holds an earlier
// suite would replay with that suite's coverage mixed in.
bool CGuidedExplorer::CheckSuite()
{
    std::string error;
    if (!COutputFile::EnsureFolder(m_suiteDir, error) ||
        !COutputFile::Check(m_suiteDir + "/" + SuiteFile(1), {}, error)) {
        m_err << error << "\n";
        return false;
    }
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(m_suiteDir, ec)) {
        const std::string name = entry.path().filename().string();
        if ((name.rfind("cover-", 0) == 0 || name.rfind("mutant-", 0) == 0) && name.size() > 4 &&
            name.substr(name.size() - 4) == ".scn") {
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
        tasks.push_back(CUseLines::Join(use));
    std::vector<size_t> longestFirst(uses.size());
    for (size_t i = 0; i < uses.size(); ++i)
        longestFirst[i] = i;
    std::stable_sort(longestFirst.begin(), longestFirst.end(), [&](size_t a, size_t b) {
        return CUseChoice::VirtualMs(uses[a]) > CUseChoice::VirtualMs(uses[b]);
    });
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
        m_broke = Break(seed, lines);
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
    Reached(std::move(lines), plays[0]);
    return true;
}

void CGuidedExplorer::Reached(std::vector<std::string> lines, const CUseOutcome& played)
{
    for (int item = 0; item < CScenarioCoverage::ITEM_COUNT; ++item)
        if (played.firstStep[item] != CUseOutcome::NOT_REACHED) {
            m_reached[item] = true;
            m_coverage.SetCount(item, m_coverage.Count(item) + 1);
        }
    m_kept.push_back({std::move(lines), played});
}

// The break shortened and written beside the suite, as --explore writes one: 1, or 2 when it cannot be.
int CGuidedExplorer::Break(uint64_t seed, const std::vector<std::string>& lines)
{
    CScenarioExplorer explorer(1, seed, m_suiteDir, m_out, m_err);
    CScenarioExplorer::CBreak at = CScenarioExplorer::Play(lines);
    if (!at.broken) {
        m_err << "explore: seed " << seed << " broke the machine in a worker, but not when played again\n";
        return 2;
    }
    int replays = 0;
    return explorer.Write(seed, CScenarioExplorer::Shorten(lines, at, replays), lines.size());
}

bool CGuidedExplorer::Write(uint64_t seed, const std::vector<std::string>& lines, const std::vector<int>& items,
                            const CUseOutcome& end)
{
    const std::string name = SuiteFile(m_kept.size() + 1);
    std::string text = "# A use of the panel found by trelvik-scenario --explore --guided --seed " +
                       std::to_string(m_firstSeed) + " (use " + std::to_string(seed) + "),\n" +
                       "# kept for what it reached first:\n";
    for (int item : items)
        text += "#   " + CScenarioCoverage::ItemText(item) + "\n";
    text +=
        "\n" + CUseLines::Join(lines) + "\n# As it stood at " + std::to_string(end.endMs) + " ms.\n" + end.expectations;
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

void CGuidedExplorer::Summary(uint64_t played, double seconds, int signal)
{
    m_out << "explore: " << played << " uses from seed " << m_firstSeed << ", " << m_kept.size() << " kept in "
          << m_suiteDir;
    if (signal)
        m_out << " (interrupted; --resume " << m_suiteDir << " goes on)";
    m_out << "\n";
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

// The kept uses first, then new ones, up to N uses in all; false when a
// file could not be written or a signal came.
bool CGuidedExplorer::Hunt(uint64_t& played)
{
    std::vector<CMutantHunt::CUse> uses;
    for (size_t i = 0; i < m_kept.size(); ++i)
        uses.push_back({m_kept[i].lines, SuiteFile(i + 1)});
    if (!m_hunt->Round(uses))
        return false;
    while (played < m_runs && !m_hunt->Over()) {
        uses.clear();
        for (; played < m_runs && uses.size() < ROUND; ++played)
            uses.push_back({CUseChoice::Make(m_firstSeed + played, m_kept, m_reached, m_directed),
                            "seed " + std::to_string(m_firstSeed + played)});
        if (!m_hunt->Round(uses))
            return false;
    }
    return true;
}

int CGuidedExplorer::Run()
{
    uint64_t played = 0;
    if (m_mutants) {
        if (!CMutantBuild::Switch()) {
            m_err << "--mutants: this program has no mutants (build/default/mutate/trelvik-scenario-mutants has)\n";
            return 2;
        }
        m_hunt = std::make_unique<CMutantHunt>(*m_pool, m_suiteDir, m_out, m_err);
        std::string error;
        if (!m_hunt->Only(m_mutantsOnly, error) || !m_hunt->LeaveOut(m_equivalentsPath, error)) {
            m_err << error << "\n";
            return 2;
        }
    }
    if (m_resume ? !Resume(played) : !CheckSuite())
        return 2;
    if (m_hunt) {  // the seed is known now, a resumed suite's included
        m_hunt->SetCommand("trelvik-scenario-mutants --explore --guided --mutants --seed " +
                           std::to_string(m_firstSeed));
        if (m_resume && !m_hunt->Restart())
            return 2;
    }
    defer_fatal_signals();
    const auto start = std::chrono::steady_clock::now();
    for (uint64_t round = played; round < m_runs && !AllReached() && !m_writeFailed && !m_broke; round += ROUND) {
        std::vector<std::vector<std::string>> uses;
        for (uint64_t i = round; i < std::min(m_runs, round + ROUND); ++i)
            uses.push_back(m_maker ? m_maker(m_firstSeed + i, m_kept)
                                   : CUseChoice::Make(m_firstSeed + i, m_kept, m_reached, m_directed));
        bool complete = false;
        const std::vector<CUseOutcome> outcomes = PlayAll(uses, complete);
        if (noted_fatal_signal())
            break;
        if (!complete) {
            m_err << "explore: a worker ended without answering (uses from seed " << m_firstSeed + round << ")\n";
            return 2;
        }
        for (size_t i = 0; i < uses.size() && !AllReached() && !m_writeFailed && !m_broke && !noted_fatal_signal();
             ++i) {
            played = round + i + 1;
            Judge(m_firstSeed + round + i, uses[i], outcomes[i]);
        }
        if (noted_fatal_signal() || m_broke)
            break;
        if (!NoteProgress(played))
            return 2;
    }
    if (m_hunt && !m_broke && !m_writeFailed && !noted_fatal_signal() && !Hunt(played) && !noted_fatal_signal())
        m_writeFailed = true;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (m_broke)
        return m_broke;
    Summary(played, seconds, noted_fatal_signal());
    if (m_hunt)
        m_hunt->Summary(noted_fatal_signal() != 0);
    if (noted_fatal_signal())
        return 2;  // the caller ends by the signal
    if (m_writeFailed)
        return 2;
    return AllReached() ? 0 : 1;
}
