#include "scenario/explore/scenario_explorer.h"

#include <cctype>
#include <chrono>
#include <cstdio>

#include "cli/cleanup_signals.h"
#include "cli/output_file.h"
#include "scenario/explore/random_use.h"
#include "scenario/explore/use_lines.h"
#include "scenario/language/scenario_parser.h"
#include "scenario/run/instrumented_run.h"
#include "scenario/run/worker_pool.h"

namespace {

// Which invariant broke, whatever its numbers: "disk end stops disagree with position #".
std::string kind_of(const std::string& what)
{
    std::string kind;
    for (char c : what)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            kind += c;
        else if (kind.empty() || kind.back() != '#')
            kind += '#';
    return kind;
}

}  // namespace

CScenarioExplorer::CScenarioExplorer(uint64_t runs, uint64_t firstSeed, std::string outDir, std::ostream& out,
                                     std::ostream& err, unsigned jobs)
    : m_jobs(jobs), m_runs(runs), m_firstSeed(firstSeed), m_outDir(std::move(outDir)), m_out(out), m_err(err)
{
}

// "1 STEP TIME\nWHAT", or "0" for a use that broke nothing.
std::string CScenarioExplorer::PlaySeed(const std::string& seed)
{
    const CBreak at = Play(CRandomUse::Lines(std::stoull(seed)));
    return at.broken ? "1 " + std::to_string(at.step) + " " + std::to_string(at.timeMs) + "\n" + at.what : "0";
}

CScenarioExplorer::CBreak CScenarioExplorer::Play(const std::vector<std::string>& lines)
{
    CBreak at;
    CScenarioParser parser;
    if (!parser.Parse(CUseLines::Join(lines))) {
        at.broken = true;  // never for the lines CRandomUse writes
        at.what = parser.ErrorMessage("explore");
        return at;
    }
    CInstrumentedRun run("explore", parser.Steps());
    run.m_onResult = [&at](const CFileResult&, const CScenarioResult& r) {
        if (at.broken || r.held)
            return;
        at.broken = true;
        at.step = static_cast<size_t>(r.line > 0 ? r.line - 1 : 0);
        at.timeMs = r.timeMs;
        at.what = r.what + "; seen " + r.seen;
    };
    run.Run();
    return at;
}

std::vector<std::string> CScenarioExplorer::Shorten(std::vector<std::string> lines, CBreak& at, int& replays)
{
    const std::string kind = kind_of(at.what);
    lines.resize(at.step + 1);  // nothing after the break matters
    // Drop runs of earlier steps, halving their length, while the same invariant still breaks.
    for (size_t chunk = lines.size() / 2; chunk >= 1; chunk /= 2) {
        for (size_t from = 0; from + chunk < lines.size();) {
            if (replays >= MAX_REPLAYS)
                return lines;
            std::vector<std::string> shorter(lines);
            shorter.erase(shorter.begin() + static_cast<std::ptrdiff_t>(from),
                          shorter.begin() + static_cast<std::ptrdiff_t>(from + chunk));
            ++replays;
            const CBreak again = Play(shorter);
            if (again.broken && kind_of(again.what) == kind) {
                shorter.resize(again.step + 1);
                lines = std::move(shorter);
                at = again;
            } else {
                from += chunk;
            }
        }
    }
    return lines;
}

int CScenarioExplorer::Write(uint64_t seed, const std::vector<std::string>& lines, size_t played)
{
    const std::string path = m_outDir + "/explore-" + std::to_string(seed) + ".scn";
    const std::vector<std::string>& steps = lines;
    const CBreak at = Play(steps);  // the written steps, played once more: this is the point the file shows
    if (!at.broken) {
        m_err << "explore: seed " << seed << ": the shortened run no longer breaks\n";
        return 2;
    }
    constexpr size_t HEADER_LINES = 4;
    const std::vector<std::string> header = {
        "# A random use of the panel that breaks the machine (trelvik-scenario --explore 1 --seed " +
            std::to_string(seed) + "),",
        "# shortened from " + std::to_string(played) + " steps to " + std::to_string(steps.size()) + ".",
        "# At line " + std::to_string(at.step + HEADER_LINES + 1) + ", " + std::to_string(at.timeMs) +
            " ms: " + at.what,
        "",
    };
    // The seed first: with it the break can be played again even when the file cannot be written.
    m_out << "explore: seed " << seed << " breaks the machine at " << at.timeMs << " ms: " << at.what << std::endl;
    const std::string text = CUseLines::Join(header) + CUseLines::Join(steps);
    std::string error;
    if (!COutputFile::WriteWhole(path, text.data(), text.size(), error)) {
        m_err << error << "\n";
        return 2;
    }
    m_out << "explore: written to " << path << " (line " << at.step + HEADER_LINES + 1 << ")" << std::endl;
    return 1;
}

int CScenarioExplorer::Run()
{
    std::string error;
    if (!COutputFile::EnsureFolder(m_outDir, error) ||
        !COutputFile::Check(m_outDir + "/explore-" + std::to_string(m_firstSeed) + ".scn", {}, error)) {
        m_err << error << "\n";
        return 2;
    }
    defer_fatal_signals();
    const auto start = std::chrono::steady_clock::now();
    CWorkerPool pool(m_jobs, &CScenarioExplorer::PlaySeed);
    for (uint64_t batch = 0; batch < m_runs; batch += BATCH) {
        std::vector<std::string> seeds;
        for (uint64_t i = batch; i < std::min(m_runs, batch + BATCH); ++i)
            seeds.push_back(std::to_string(m_firstSeed + i));
        std::vector<bool> answered;
        const std::vector<std::string> answers = pool.Map(seeds, answered);
        for (size_t i = 0; i <= seeds.size(); ++i) {
            if (noted_fatal_signal() && (i == seeds.size() || !answered[i] || answers[i] != "0")) {
                // What was played so far (a run the signal cut off reads as a break); the caller ends by the signal.
                m_out << "explore: " << batch + i << " runs from seed " << m_firstSeed
                      << ", no invariant broken (interrupted)" << std::endl;
                return 2;
            }
            if (i == seeds.size())
                break;
            if (!answered[i]) {
                m_err << "explore: seed " << seeds[i] << ": a worker ended without answering\n";
                return 2;
            }
            if (answers[i] == "0")
                continue;
            // The break is played again here: shortening replays it many times, one after another.
            const std::vector<std::string> lines = CRandomUse::Lines(m_firstSeed + batch + i);
            CBreak at = Play(lines);
            int replays = 0;
            return Write(m_firstSeed + batch + i, Shorten(lines, at, replays), lines.size());
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m_out << "explore: " << m_runs << " runs from seed " << m_firstSeed << ", no invariant broken" << std::endl;
    char took[64];  // on stderr: stdout is the same for every number of jobs
    std::snprintf(took, sizeof took, "explore: %.1f s with %u %s\n", seconds, pool.Jobs(),
                  pool.Jobs() == 1 ? "job" : "jobs");
    m_err << took;
    return 0;
}
