#include "scenario/explore/mutant_trial.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <sstream>

#include <unistd.h>

#include "firmware/fw_watch.h"
#include "scenario/explore/fresh_mutant.h"
#include "scenario/explore/mutant_build.h"
#include "scenario/explore/trace_divergence.h"
#include "scenario/explore/use_lines.h"
#include "scenario/language/scenario_parser.h"
#include "scenario/run/instrumented_run.h"
#include "scenario/run/machine_expectations.h"
#include "sim/virtual_simulator.h"

namespace {

constexpr size_t CHECKS_TRIED = 4;

class CChangeLog : public CTraceSink {
public:
    explicit CChangeLog(CTracedPlay& play) : m_play(play) {}
    void Join(const CTraceChannel& channel, int64_t value, uint64_t) override
    {
        m_play.channels.push_back(channel);
        m_play.initial.push_back(value);
    }
    void Change(int channel, uint64_t timeMs, int64_t value) override
    {
        m_play.changes.push_back({timeMs, channel, value});
    }

private:
    CTracedPlay& m_play;
};

// The software timers join the trace as channels of their own, running (1)
// or idle (0), sampled after each ms as the recorder samples the rest.
void sample_timers(CTracedPlay& played, std::vector<int64_t>& last, uint64_t timeMs)
{
    const auto running = [](uint8_t i) { return fw_timers[i].timer->status == TIMER_RUNNING ? 1 : 0; };
    const int first = static_cast<int>(played.channels.size()) - static_cast<int>(last.size());
    if (last.empty()) {
        for (uint8_t i = 0; i < FW_TIMER_COUNT; ++i) {
            played.channels.push_back({"timer", fw_timers[i].name});
            played.initial.push_back(running(i));
            last.push_back(running(i));
        }
        return;
    }
    for (uint8_t i = 0; i < FW_TIMER_COUNT; ++i)
        if (running(i) != last[i]) {
            last[i] = running(i);
            played.changes.push_back({timeMs, first + i, last[i]});
        }
}

}  // namespace

CTracedPlay CMutantTrial::Play(const std::vector<std::string>& lines, bool traced)
{
    CTracedPlay played;
    CScenarioParser parser;
    if (!parser.Parse(CUseLines::Join(lines))) {
        played.code = CFileResult::NOT_RUN;
        return played;
    }
    CChangeLog log(played);
    std::vector<std::string> variables;
    for (uint8_t i = 0; i < FW_VARIABLE_COUNT; ++i)
        variables.push_back(fw_variables[i].name);
    CInstrumentedRun run("use", parser.Steps());
    if (traced) {
        run.SetTraceSink(&log);
        run.SetSinkVariables(variables);
    }
    played.stepBegin.assign(parser.Steps().size(), CTracedPlay::NO_BEGIN);
    std::vector<int64_t> timers;  // each timer's last status, once they joined
    run.m_afterMs = [&](int line, uint64_t nowMs) {
        if (line > 0 && static_cast<size_t>(line) <= played.stepBegin.size() &&
            played.stepBegin[line - 1] == CTracedPlay::NO_BEGIN)
            played.stepBegin[line - 1] = nowMs - 1;
        if (traced)
            sample_timers(played, timers, nowMs - 1);
    };
    run.m_onEnd = [&](CVirtualSimulator& sim) { played.expectations = CMachineExpectations::Text(sim); };
    played.code = run.Run().code;
    return played;
}

namespace {

// The play of a use on the firmware as written; the last one is kept, as a
// worker is handed the same use for mutant after mutant.
const CTracedPlay& plain_play(const std::vector<std::string>& lines, double* seconds = nullptr)
{
    static std::vector<std::string> s_lines;
    static CTracedPlay s_play;
    if (s_lines != lines || seconds) {
        const auto start = std::chrono::steady_clock::now();
        s_play = CMutantTrial::Play(lines, true);
        s_lines = lines;
        if (seconds)
            *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    return s_play;
}

// Plays on one mutant: in this process, or for one set up before main in a
// process of its own. A fresh process that dies without an answer ends this
// worker too, as the mutant would have ended it here.
class CMutantPlayer {
public:
    CMutantPlayer(const CMutantBuild::CSwitch& mutants, int mutant, bool fresh) : m_mutants(mutants), m_mutant(mutant)
    {
        if (fresh)
            m_fresh = std::make_unique<CFreshMutant>(mutant);
    }
    CTracedPlay Play(const std::vector<std::string>& lines, bool traced)
    {
        CTracedPlay played;
        if (m_fresh) {
            if (!m_fresh->Play(lines, traced, played))
                _exit(3);
            return played;
        }
        m_mutants.select(m_mutant);
        played = CMutantTrial::Play(lines, traced);
        m_mutants.select(0);
        return played;
    }

private:
    const CMutantBuild::CSwitch& m_mutants;
    int m_mutant;
    std::unique_ptr<CFreshMutant> m_fresh;
};

// The use cut after the check passes as written and fails on the mutant.
bool kills(CMutantPlayer& mutant, const std::vector<std::string>& lines, const CCheckpoint& check)
{
    const std::vector<std::string> checked = CMutantTrial::WithChecks(lines, {check});
    return CMutantTrial::Play(checked, false).code == CFileResult::ALL_HELD &&
           mutant.Play(checked, false).code == CFileResult::SOME_FAILED;
}

}  // namespace

bool CMutantTrial::IsTask(const std::string& task)
{
    return task.rfind("reach\n", 0) == 0 || task.rfind("trial ", 0) == 0;
}

std::string CMutantTrial::Task(const std::string& task)
{
    const size_t body = task.find('\n');
    const std::vector<std::string> lines = CUseLines::Split(task.substr(body + 1));
    if (task.rfind("reach\n", 0) == 0)
        return ReachTask(lines);
    int mutant = 0, fresh = 0;
    unsigned alarmSeconds = 0;
    std::sscanf(task.c_str(), "trial %d %u %d", &mutant, &alarmSeconds, &fresh);
    return TrialTask(mutant, alarmSeconds, fresh != 0, lines);
}

std::string CMutantTrial::ReachTask(const std::vector<std::string>& lines)
{
    const CMutantBuild::CSwitch* mutants = CMutantBuild::Switch();
    if (!mutants)
        return "reach 0";
    mutants->select(0);
    mutants->forget();
    double seconds = 0;
    const CTracedPlay& plain = plain_play(lines, &seconds);
    std::string answer = "reach " + std::to_string(seconds);
    for (int i = 0; i < mutants->count; ++i)
        if (mutants->reached(mutants->mutants[i].id))
            answer += " " + std::to_string(mutants->mutants[i].id);
    return answer + "\n" + plain.expectations;
}

std::string CMutantTrial::TrialTask(int mutant, unsigned alarmSeconds, bool fresh,
                                    const std::vector<std::string>& lines)
{
    const CMutantBuild::CSwitch* mutants = CMutantBuild::Switch();
    if (!mutants || mutant <= 0)
        return "survived";
    mutants->select(0);
    const CTracedPlay& plain = plain_play(lines);
    alarm(alarmSeconds);  // a stalled firmware ends this worker
    CMutantPlayer player(*mutants, mutant, fresh);
    const CTracedPlay played = player.Play(lines, true);
    std::vector<CCheckpoint> checks = CTraceDivergence::Checks(plain, played, lines, CHECKS_TRIED);
    if (played.code != plain.code || played.expectations != plain.expectations) {
        CCheckpoint end;
        end.condition = plain.expectations;
        checks.push_back(end);
    }
    std::string answer = "survived";
    for (const CCheckpoint& check : checks)
        if (kills(player, lines, check)) {
            answer = "kill " + check.Serialize();
            break;
        }
    alarm(0);
    return answer;
}

std::vector<std::string> CMutantTrial::WithChecks(const std::vector<std::string>& lines,
                                                  std::vector<CCheckpoint> checks)
{
    std::stable_sort(checks.begin(), checks.end(), [](const CCheckpoint& a, const CCheckpoint& b) {
        const auto at = [](const CCheckpoint& c) { return c.step == CCheckpoint::END ? INT32_MAX : c.step; };
        return at(a) != at(b) ? at(a) < at(b) : a.startMs < b.startMs;
    });
    CTraceDivergence::CountBeepsFromRestarts(checks);
    std::vector<std::string> out;
    size_t next = 0;
    for (size_t step = 0; step < lines.size() && next < checks.size(); ++step) {
        if (checks[next].step != static_cast<int>(step)) {
            out.push_back(lines[step]);
            continue;
        }
        const uint64_t length = std::strtoull(lines[step].c_str() + 5, nullptr, 10);
        uint64_t at = 0;
        for (; next < checks.size() && checks[next].step == static_cast<int>(step); ++next) {
            if (checks[next].startMs > at)
                out.push_back("wait " + std::to_string(checks[next].startMs - at));
            for (const std::string& line : CUseLines::Split(checks[next].Text()))
                out.push_back(line);
            at = checks[next].endMs;
        }
        if (next < checks.size() && at < length)
            out.push_back("wait " + std::to_string(length - at));
    }
    for (; next < checks.size(); ++next)  // the end's expectations
        for (const std::string& line : CUseLines::Split(checks[next].Text()))
            out.push_back(line);
    return out;
}
