#include "scenario/run/scenario_batch.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include <sys/wait.h>

#include "cli/cleanup_signals.h"
#include "cli/input_file.h"
#include "cli/output_file.h"
#include "scenario/language/scenario_parser.h"
#include "scenario/reports/coverage_json.h"
#include "scenario/reports/github_annotation.h"
#include "scenario/reports/junit_report.h"
#include "scenario/reports/scenario_coverage.h"
#include "scenario/run/baseline_check.h"
#include "scenario/run/firmware_coverage.h"
#include "scenario/run/instrumented_run.h"
#include "scenario/run/result_codec.h"
#include "scenario/run/run_watch.h"
#include "scenario/run/worker_pool.h"
#include "sim/trace_recorder.h"

namespace {

// "dir/power_on_off.scn" -> "power_on_off".
std::string stem_of(const std::string& path)
{
    const size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name;
}

}  // namespace

CScenarioBatch::CScenarioBatch(const CCommandLine& command, std::ostream& out, std::ostream& err)
    : m_command(command), m_out(out), m_err(err)
{
    if (command.coverage || !command.coverageJsonPath.empty() || command.failUnderTransitions > 0)
        m_coverage = std::make_unique<CScenarioCoverage>();
}

CScenarioBatch::~CScenarioBatch() = default;

void CScenarioBatch::Refuse(size_t file, const std::string& message)
{
    m_results[file].ran = false;
    m_results[file].code = CFileResult::NOT_RUN;
    m_results[file].error = printable_name(message);
    m_err << m_results[file].error << "\n";
}

// Reads and parses every file; a file that is no scenario is refused alone.
void CScenarioBatch::Load()
{
    const std::vector<std::string>& files = m_command.files;
    m_loaded.assign(files.size(), CLoaded{});
    m_results.assign(files.size(), CFileResult{});
    for (size_t i = 0; i < files.size(); ++i) {
        m_results[i].file = printable_name(files[i]);  // as the lines and the report show it
        m_results[i].ran = true;                       // until refused
        CScenarioParser parser;
        if (!parser.ParseFile(files[i])) {
            Refuse(i, parser.ErrorMessage(files[i]));
            continue;
        }
        if (parser.Steps().empty())
            Refuse(i, files[i] + ": no step to run");
        else if (!CheckExpectations(i, parser.Steps()))
            continue;
        m_loaded[i].steps = parser.Steps();
        std::ifstream in(files[i], std::ios::binary);
        m_loaded[i].record = CBaselineCheck::Record(files[i], std::string(std::istreambuf_iterator<char>(in), {}));
    }
}

// A file that expects nothing checks nothing: a warning, or with --strict a refusal.
bool CScenarioBatch::CheckExpectations(size_t file, const std::vector<CScenarioStep>& steps)
{
    for (const CScenarioStep& step : steps)
        if (step.kind == CScenarioStep::EXPECT || step.kind == CScenarioStep::EXPECT_FOR ||
            step.kind == CScenarioStep::RUN_UNTIL)
            return true;
    const std::string why = ": no expectation (expect, expect-for or run-until), so nothing is checked";
    if (m_command.strict) {
        Refuse(file, m_command.files[file] + why + " (--strict)");
        return false;
    }
    m_err << m_results[file].file << ": warning" << why << std::endl;
    return true;
}

// The call's own outputs: one that may not be written stops the call before anything runs.
bool CScenarioBatch::CheckOutputs()
{
    std::string error;
    auto check = [&](const std::string& target) { return CheckNamedOnce(target, error) && CheckTarget(target, error); };
    bool ok = true;
    for (const std::string& name : m_command.vcdVariables)
        if (ok && !(error = CTraceRecorder::CheckVariable(name)).empty())
            ok = false;
    ok = ok && (m_command.junitPath.empty() || check(m_command.junitPath));
    ok = ok && (m_command.coverageJsonPath.empty() || check(m_command.coverageJsonPath));
    if (ok && !m_command.vcdPath.empty()) {
        ok = check(m_command.vcdPath);
        m_loaded[0].vcdPath = m_command.vcdPath;
    }
    if (ok && !m_command.vcdDir.empty()) {
        ok = CheckFolder(m_command.vcdDir, error);
        for (size_t i = 0; ok && i < m_loaded.size(); ++i) {
            m_loaded[i].vcdPath = m_command.vcdDir + "/" + stem_of(m_command.files[i]) + ".vcd";
            ok = check(m_loaded[i].vcdPath);
        }
    }
    ok = ok && CheckBaselines(error);
    if (ok && !m_command.snapshotDir.empty())
        ok = CheckFolder(m_command.snapshotDir, error);
    if (ok) {
        PlaceSnapshots();
        for (size_t i = 0; i < m_loaded.size(); ++i)
            if (m_results[i].ran)
                CheckSnapshots(i);
        ok = MakeFolders(error);
    }
    if (!ok) {
        m_err << printable_name(error) << "\n";
        return false;
    }
    return true;
}

// With --record-baseline each file's trace is a baseline to write, never one
// already there unless --force; with --baseline each file's baseline is read
// now, and the run's trace goes beside it as NAME.new.vcd.
bool CScenarioBatch::CheckBaselines(std::string& error)
{
    for (CLoaded& loaded : m_loaded)
        loaded.variables = m_command.vcdVariables;
    const bool record = !m_command.recordBaselineDir.empty();
    const std::string& dir = record ? m_command.recordBaselineDir : m_command.baselineDir;
    if (dir.empty())
        return true;
    if (record && !CheckFolder(dir, error))
        return false;
    for (size_t i = 0; i < m_loaded.size(); ++i) {
        if (!m_results[i].ran)
            continue;
        if (const std::string name = stem_of(m_command.files[i]);
            name.size() > 4 && name.compare(name.size() - 4, 4, ".new") == 0) {
            error = m_command.files[i] + ": a scenario named NAME.new has no baseline: its " + name +
                    ".vcd would be taken for the pending trace of " + name.substr(0, name.size() - 4) +
                    "; rename the scenario";
            return false;
        }
        const std::string stem = dir + "/" + stem_of(m_command.files[i]);
        CLoaded& loaded = m_loaded[i];
        loaded.baselineTrace = stem + (record ? ".vcd" : ".new.vcd");
        if (!record) {
            loaded.baseline = std::make_shared<CBaselineCheck>();
            if (!loaded.baseline->Load(stem + ".vcd", error))
                return false;
            m_baselines.push_back(stem + ".vcd");
            for (const std::string& target : m_targets)
                if (COutputFile::SameTarget(target, m_baselines.back())) {
                    error = target + ": is the baseline " + m_baselines.back() + ", which a comparison never writes";
                    return false;
                }
            if (!(error = loaded.baseline->CheckVariables(m_command.vcdVariables)).empty())
                return false;
            for (const std::string& name : loaded.baseline->Variables())
                if (std::find(loaded.variables.begin(), loaded.variables.end(), name) == loaded.variables.end())
                    loaded.variables.push_back(name);
        }
        if (!CheckNamedOnce(loaded.baselineTrace, error) || !CheckTarget(loaded.baselineTrace, error))
            return false;
        std::FILE* existing = record && !m_command.force ? std::fopen(loaded.baselineTrace.c_str(), "r") : nullptr;
        if (existing) {
            std::fclose(existing);
            error = loaded.baselineTrace + ": a baseline is there already; --force records over it";
            return false;
        }
    }
    return record || CheckSlackNames(error);
}

// Every name of --baseline-slack NAME=MS is one a baseline holds; the valid ones are listed otherwise.
bool CScenarioBatch::CheckSlackNames(std::string& error) const
{
    std::vector<std::string> valid;
    for (const CLoaded& loaded : m_loaded)
        if (loaded.baseline)
            for (const std::string& name : CTraceCompare::Names(loaded.baseline->Trace()))
                if (std::find(valid.begin(), valid.end(), name) == valid.end())
                    valid.push_back(name);
    const auto known = [this](const std::string& name) {
        return std::any_of(m_loaded.begin(), m_loaded.end(), [&name](const CLoaded& loaded) {
            return loaded.baseline && CTraceCompare::Has(loaded.baseline->Trace(), name);
        });
    };
    for (const auto& [name, ms] : m_command.baselineSlackByName)
        if (!known(name)) {
            error = "--baseline-slack: unknown variable '" + name + "': no baseline has it (valid names:";
            for (const std::string& one : valid)
                error += " " + one;
            error += ")";
            return false;
        }
    return true;
}

bool CScenarioBatch::CheckNamedOnce(const std::string& target, std::string& error)
{
    for (const std::string& other : m_targets)
        if (COutputFile::SameTarget(target, other)) {
            error = target + ": named as two outputs";
            return false;
        }
    m_targets.push_back(target);
    return true;
}

// A folder to make is only noted: nothing is made before every check has passed.
bool CScenarioBatch::CheckFolder(const std::string& folder, std::string& error)
{
    for (const std::string& noted : m_foldersToMake)
        if (COutputFile::SameTarget(folder, noted))
            return true;  // traces and snapshots may share their folder
    bool exists = false;
    if (!COutputFile::CheckFolder(folder, exists, error) || (!exists && !CheckNamedOnce(folder, error)))
        return false;
    if (!exists)
        m_foldersToMake.push_back(folder);
    return true;
}

// A target in a folder still to be made has nothing in its way; its folder's parent was checked.
bool CScenarioBatch::CheckTarget(const std::string& target, std::string& error) const
{
    for (const std::string& baseline : m_baselines)
        if (COutputFile::SameTarget(target, baseline)) {
            error = target + ": is the baseline " + baseline + ", which a comparison never writes";
            return false;
        }
    for (const std::string& folder : m_foldersToMake)
        if (COutputFile::SameTarget(COutputFile::FolderOf(target), folder))
            return true;
    return COutputFile::Check(target, m_command.files, error);
}

bool CScenarioBatch::MakeFolders(std::string& error) const
{
    for (const std::string& folder : m_foldersToMake)
        if (!COutputFile::EnsureFolder(folder, error))
            return false;
    return true;
}

// With --snapshot-dir, a relative snapshot name is taken in that folder.
void CScenarioBatch::PlaceSnapshots()
{
    if (m_command.snapshotDir.empty())
        return;
    for (CLoaded& loaded : m_loaded)
        for (CScenarioStep& step : loaded.steps)
            if (step.kind == CScenarioStep::SNAPSHOT && step.path[0] != '/')
                step.path = m_command.snapshotDir + "/" + step.path;
}

// A snapshot that may not be written refuses its file before it runs; so
// does one whose target a snapshot before it names, in this file or another
// (which is refused too), as the second picture would silently replace the first.
bool CScenarioBatch::CheckSnapshots(size_t file)
{
    for (const CScenarioStep& step : m_loaded[file].steps) {
        if (step.kind != CScenarioStep::SNAPSHOT)
            continue;
        std::string error;
        bool ok = CheckTarget(step.path, error);
        for (const std::string& other : {m_command.junitPath, m_loaded[file].vcdPath})
            if (ok && !other.empty() && COutputFile::SameTarget(step.path, other)) {
                error = step.path + ": also the output " + other;
                ok = false;
            }
        for (const CSnapshotTarget& other : m_snapshots)
            if (ok && COutputFile::SameTarget(step.path, other.path)) {
                error = step.path + ": also the snapshot of " + m_command.files[other.file] + ":" +
                        std::to_string(other.line);
                ok = false;
                // Neither picture is taken: the other file is refused as well, before anything runs.
                if (other.file != file && m_results[other.file].ran)
                    Refuse(other.file, m_command.files[other.file] + ":" + std::to_string(other.line) + ": snapshot " +
                                           other.path + ": also the snapshot of " + m_command.files[file] + ":" +
                                           std::to_string(step.line));
            }
        m_snapshots.push_back({step.path, file, step.line});
        if (!ok) {
            Refuse(file, m_command.files[file] + ":" + std::to_string(step.line) + ": snapshot " + error);
            return false;
        }
    }
    return true;
}

// "FILE:LINE: TIME ms", over the line before it, with the rest of the line cleared.
void CScenarioBatch::ShowProgress(size_t file, int line, uint64_t nowMs)
{
    m_err << "\r" << m_results[file].file << ":" << line << ": " << nowMs << " ms\033[K" << std::flush;
    m_progressShown = true;
}

void CScenarioBatch::ClearProgress()
{
    if (m_progressShown)
        m_err << "\r\033[K" << std::flush;
    m_progressShown = false;
}

// Runs one file from a fresh controller; its verdicts are told to `onResult` as they come.
CFileResult CScenarioBatch::RunOne(size_t file, CScenarioCoverage* coverage,
                                   std::function<void(const CFileResult&, const CScenarioResult&)> onResult,
                                   const std::function<void(CFileResult&, const CInstrumentedRun&)>& afterRun)
{
    const CFirmwareCoverageWindow firmwareCoverage(file);  // outlives the run: its counts are written after it
    const CLoaded& loaded = m_loaded[file];
    CInstrumentedRun run(m_results[file].file, loaded.steps);
    if (!loaded.vcdPath.empty())
        run.SetTrace(loaded.vcdPath, loaded.variables);
    if (!loaded.baselineTrace.empty())
        run.SetTraceComment(loaded.record);
    if (!loaded.baselineTrace.empty() && loaded.vcdPath.empty())
        run.SetTrace(loaded.baselineTrace, loaded.variables);
    else if (!loaded.baselineTrace.empty())
        run.AddTraceFile(loaded.baselineTrace);
    run.SetTraceLimit(m_command.vcdLimitMb << 20);
    run.SetTimeout(m_command.timeoutSeconds, m_command.timeoutText);
    run.SetCoverage(coverage);
    if (m_showProgress && onResult)
        run.m_onProgress = [this, file](int line, uint64_t nowMs) { ShowProgress(file, line, nowMs); };
    run.m_onResult = std::move(onResult);
    CFileResult result = run.Run();
    result.error = printable_name(result.error);
    if (afterRun)
        afterRun(result, run);
    return result;
}

void CScenarioBatch::PrintResult(const CFileResult& result, const CScenarioResult& r)
{
    ClearProgress();
    if (r.error)
        m_err << result.Line(r) << std::endl;
    else if (!r.held || !m_command.quiet)
        m_out << result.Line(r) << std::endl;
    if (!r.error && !r.held && !m_command.annotations.empty())
        m_err << github_annotation(result, r) << std::endl;
}

void CScenarioBatch::RunFile(size_t file)
{
    // Each line flushed as it comes: a run killed by CI's time limit still leaves its verdicts in the log.
    const auto compare = Comparison(file);
    m_results[file] = RunOne(
        file, m_coverage.get(), [this](const CFileResult& result, const CScenarioResult& r) { PrintResult(result, r); },
        [this, file, &compare](CFileResult& result, const CInstrumentedRun& run) {
            ClearProgress();
            const size_t verdicts = result.results.size();
            if (compare)
                compare(result, run);
            for (size_t i = verdicts; i < result.results.size(); ++i)
                PrintResult(result, result.results[i]);
            for (const std::string& line : result.notes)
                m_out << line << "\n";
            m_out << std::flush;
            if (!result.error.empty())
                m_err << result.error << std::endl;
        });
}

// With --baseline, what follows a file's run: its trace compared with its baseline.
std::function<void(CFileResult&, const CInstrumentedRun&)> CScenarioBatch::Comparison(size_t file)
{
    if (!m_loaded[file].baseline)
        return {};
    return [this, file](CFileResult& result, const CInstrumentedRun& run) {
        if (result.error.empty())
            CompareWithBaseline(result, file, run);
    };
}

// The run's trace, written as NAME.new.vcd, against the baseline: kept for
// review when it differs, removed when it is the same. The verdict and the
// lines that explain it are added to the result.
void CScenarioBatch::CompareWithBaseline(CFileResult& result, size_t file, const CInstrumentedRun& run)
{
    const std::string& path = m_loaded[file].baselineTrace;
    CVcdReader trace;
    std::string error;
    if (!trace.ParseFile(path, error)) {
        result.error = printable_name(error);
        result.code = CFileResult::NOT_RUN;
        return;
    }
    CTraceCompare::COptions options;
    options.slack = m_command.baselineSlackMs;
    options.slackByName = m_command.baselineSlackByName;
    const CBaselineCheck::COutcome outcome = m_loaded[file].baseline->Compare(
        trace, [&run](uint64_t ms) { return run.LineAt(ms); }, options);
    result.results.push_back(outcome.verdict);
    if (const std::string note = m_loaded[file].baseline->RecordNote(m_loaded[file].record); !note.empty())
        result.notes.push_back(note);
    for (const std::string& line : outcome.more)
        result.notes.push_back("    " + line);
    if (!outcome.moved.empty())
        result.notes.push_back(result.file + ": " + outcome.moved);
    if (outcome.verdict.held)
        std::remove(path.c_str());
    else
        result.code = std::max(result.code, static_cast<int>(CFileResult::SOME_FAILED));
}

// The files in worker processes, each from its own fresh controller; their
// results printed and counted in the order of the files, as they come in.
// Each file comes to its verdicts, to an interruption, or to the death of
// its worker; a file after one that failed is still heard.
void CScenarioBatch::RunInWorkers(unsigned jobs)
{
    std::vector<size_t> files;
    std::vector<std::string> tasks;
    for (size_t i = 0; i < m_results.size(); ++i)
        if (m_results[i].ran) {
            files.push_back(i);
            tasks.push_back(std::to_string(i));
        }
    const bool covered = m_coverage != nullptr;
    CWorkerPool pool(jobs, [this, covered](const std::string& task) {
        CScenarioCoverage coverage;
        const size_t file = std::stoul(task);
        return CResultCodec::Encode(RunOne(file, covered ? &coverage : nullptr, nullptr, Comparison(file)),
                                    covered ? &coverage : nullptr);
    });
    bool halted = false;  // by --fail-fast
    const auto take = [&](size_t task, const std::string& answer, const CWorkerPool::CTaskEnd& end) {
        const size_t file = files[task];
        if (end.kind == CWorkerPool::CTaskEnd::NOT_GIVEN)
            return NotBegun(file);
        if (end.kind != CWorkerPool::CTaskEnd::ANSWERED)
            return LoseFile(file, end);
        CFileResult& result = m_results[file];
        if (!CResultCodec::Decode(answer, result, m_coverage.get())) {
            result.ran = false;
            result.code = CFileResult::NOT_RUN;
            result.results.clear();
            result.error = result.file + ": its worker process sent no result it could read";
        }
        for (const CScenarioResult& r : result.results)
            PrintResult(result, r);
        for (const std::string& line : result.notes)
            m_out << line << "\n";
        m_out << std::flush;
        if (!result.error.empty())
            m_err << result.error << std::endl;
        if (halted)
            KeptFromFailFast(result);
        if (m_command.failFast && result.code != CFileResult::ALL_HELD && !halted) {
            halted = true;
            pool.Halt();
        }
    };
    std::vector<bool> answered;
    pool.Map(tasks, answered, take);
}

// A file whose worker died, or was stopped after a signal: an error of the
// file, and the temporary files its worker left in the file's folders removed.
void CScenarioBatch::LoseFile(size_t file, const CWorkerPool::CTaskEnd& end)
{
    CFileResult& result = m_results[file];
    result.ran = false;
    result.code = CFileResult::NOT_RUN;
    result.results.clear();
    if (end.kind == CWorkerPool::CTaskEnd::STOPPED)
        result.error = result.file + ": interrupted (" + CRunWatch::SignalName(noted_fatal_signal()) +
                       "); its worker did not answer in time";
    else if (WIFSIGNALED(end.status))
        result.error = result.file + ": worker died (signal " + std::to_string(WTERMSIG(end.status)) + ")";
    else
        result.error = result.file + ": worker died (exit " + std::to_string(WEXITSTATUS(end.status)) + ")";
    m_err << result.error << std::endl;
    const CLoaded& loaded = m_loaded[file];
    std::vector<std::string> folders = {loaded.vcdPath, loaded.baselineTrace};
    for (const CScenarioStep& step : loaded.steps)
        if (step.kind == CScenarioStep::SNAPSHOT)
            folders.push_back(step.path);
    for (const std::string& path : folders)
        if (!path.empty())
            COutputFile::RemoveTemporariesOf(end.worker, COutputFile::FolderOf(path));
}

// A file cut short by --fail-fast fails with the file that stopped the run:
// its interruption is no error of its own.
void CScenarioBatch::KeptFromFailFast(CFileResult& result)
{
    if (noted_fatal_signal() || result.code != CFileResult::NOT_RUN || !result.error.empty())
        return;
    for (const CScenarioResult& r : result.results)
        if (r.error && r.what != CInstrumentedRun::FAIL_FAST_STOP)
            return;
    result.code = CFileResult::SOME_FAILED;
}

// A file never begun: a signal came first, or --fail-fast stopped the run.
void CScenarioBatch::NotBegun(size_t file)
{
    CFileResult& result = m_results[file];
    result.ran = false;
    result.code = CFileResult::NOT_RUN;
    result.results.clear();
    if (const int sig = noted_fatal_signal()) {
        result.error = result.file + ": interrupted (" + CRunWatch::SignalName(sig) + ") before it began";
    } else if (m_command.failFast) {
        result.error = result.file + ": not run (--fail-fast)";
        result.code = CFileResult::SOME_FAILED;  // left out because another file failed
    } else {
        result.error = result.file + ": not run: no worker process could be started";
    }
    m_err << result.error << std::endl;
}

int CScenarioBatch::Run()
{
    defer_fatal_signals();  // a signal while the files are read leaves every file accounted for too
    Load();
    if (!CheckOutputs())
        return CFileResult::NOT_RUN;
    const unsigned jobs = m_command.jobs ? m_command.jobs : CWorkerPool::Cores();
    const auto runnable = std::count_if(m_results.begin(), m_results.end(), [](const CFileResult& r) { return r.ran; });
    if (jobs > 1 && runnable > 1) {
        RunInWorkers(std::min<unsigned>(jobs, static_cast<unsigned>(runnable)));
    } else {
        bool stopped = false;  // by a signal, or by a failed file with --fail-fast
        for (size_t i = 0; i < m_results.size(); ++i) {
            if (!m_results[i].ran)
                continue;
            stopped = stopped || noted_fatal_signal();
            if (stopped) {
                NotBegun(i);
                continue;
            }
            RunFile(i);
            stopped = m_command.failFast && m_results[i].code != CFileResult::ALL_HELD;
        }
    }
    int passed = 0, failed = 0, notRun = 0, snapshots = 0, code = CFileResult::ALL_HELD;
    for (const CFileResult& result : m_results) {
        notRun += !result.ran;
        for (const CScenarioResult& r : result.results)
            snapshots += r.error && r.what.rfind("snapshot ", 0) == 0;
        passed += result.Passed();
        failed += result.Failed();
        code = std::max(code, result.code);
    }
    m_out << passed << " passed, " << failed << " failed";
    if (notRun)
        m_out << " (" << notRun << (notRun == 1 ? " file" : " files") << " not run)";
    if (snapshots)
        m_out << " (" << snapshots << (snapshots == 1 ? " snapshot" : " snapshots") << " not written)";
    if (const int sig = noted_fatal_signal())
        m_out << " (interrupted by " << CRunWatch::SignalName(sig) << ")";
    m_out << std::endl;
    return WriteReports(code);
}

// The coverage and the JUnit report after the closing line; the exit code they leave.
int CScenarioBatch::WriteReports(int code)
{
    if (m_coverage && m_command.coverage)
        m_coverage->Report(m_out);
    const int taken = m_coverage ? m_coverage->Transitions() : 0;
    if (taken < m_command.failUnderTransitions) {
        m_err << "coverage: " << taken << " transitions taken, fewer than " << m_command.failUnderTransitions
              << " (--fail-under-transitions)" << std::endl;
        code = std::max(code, static_cast<int>(CFileResult::SOME_FAILED));
    }
    std::string error;
    if (!m_command.coverageJsonPath.empty() && !CCoverageJson::Write(m_command.coverageJsonPath, *m_coverage, error)) {
        m_err << printable_name(error) << "\n";
        code = CFileResult::NOT_RUN;
    }
    if (!m_command.junitPath.empty() && !CJunitReport::Write(m_command.junitPath, m_results, error)) {
        m_err << printable_name(error) << "\n";
        code = CFileResult::NOT_RUN;
    }
    return code;
}
