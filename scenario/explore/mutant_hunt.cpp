#include "scenario/explore/mutant_hunt.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "cli/cleanup_signals.h"
#include "cli/output_file.h"
#include "scenario/explore/mutant_build.h"
#include "scenario/explore/mutant_equivalents.h"
#include "scenario/explore/use_choice.h"
#include "scenario/explore/use_lines.h"
#include "scenario/run/worker_pool.h"

namespace {

constexpr double ALARM_FACTOR = 20.0;  // a mutant's play may take this many times the use's as written
constexpr unsigned MIN_ALARM_S = 10;

std::string file_name(int number)
{
    char name[32];
    std::snprintf(name, sizeof name, "mutant-%03d.scn", number);
    return name;
}

const CMutant& mutant_of(int id)
{
    const CMutantBuild::CSwitch& mutants = *CMutantBuild::Switch();
    return *std::lower_bound(mutants.mutants, mutants.mutants + mutants.count, id,
                             [](const CMutant& m, int wanted) { return m.id < wanted; });
}

}  // namespace

CMutantHunt::CMutantHunt(CWorkerPool& pool, std::string suiteDir, std::ostream& out, std::ostream& err)
    : m_pool(pool), m_suiteDir(std::move(suiteDir)), m_out(out), m_err(err)
{
    // Nothing has played in this process yet: a mutant whose code ran did so
    // before main.
    if (const CMutantBuild::CSwitch* mutants = CMutantBuild::Switch())
        for (int i = 0; i < mutants->count; ++i)
            m_targets.push_back({mutants->mutants[i].id, mutants->reached(mutants->mutants[i].id)});
}

bool CMutantHunt::Only(const std::vector<std::string>& places, std::string& error)
{
    if (places.empty())
        return true;
    std::vector<CTarget> chosen;
    for (const std::string& place : places) {
        const size_t before = chosen.size();
        for (const CTarget& target : m_targets) {
            const CMutant& mutant = mutant_of(target.id);
            if (place == mutant.file || place == std::string(mutant.file) + ":" + std::to_string(mutant.line))
                chosen.push_back(target);
        }
        if (chosen.size() == before) {
            error = "--mutants-of " + place + ": no mutant there (FILE or FILE:LINE, as firmware/fw_disk.cpp:88)";
            return false;
        }
    }
    std::sort(chosen.begin(), chosen.end(), [](const CTarget& a, const CTarget& b) { return a.id < b.id; });
    chosen.erase(
        std::unique(chosen.begin(), chosen.end(), [](const CTarget& a, const CTarget& b) { return a.id == b.id; }),
        chosen.end());
    m_targets = chosen;
    return true;
}

bool CMutantHunt::LeaveOut(const std::string& equivalentsPath, std::string& error)
{
    if (equivalentsPath.empty())
        return true;
    std::set<int> equivalent;
    if (!CMutantEquivalents::Read(equivalentsPath, *CMutantBuild::Switch(), equivalent, error))
        return false;
    const size_t before = m_targets.size();
    m_targets.erase(std::remove_if(m_targets.begin(), m_targets.end(),
                                   [&](const CTarget& target) { return equivalent.count(target.id) > 0; }),
                    m_targets.end());
    m_equivalent = before - m_targets.size();
    return true;
}

bool CMutantHunt::Restart()
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(m_suiteDir, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("mutant-", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == ".scn" &&
            !std::filesystem::remove(entry.path(), ec)) {
            m_err << entry.path().string() << ": cannot remove: " << ec.message() << "\n";
            return false;
        }
    }
    return true;
}

// Which targets each use reaches, the alarm for its trials and its end as expectations.
std::vector<std::vector<size_t>> CMutantHunt::Reach(const std::vector<CUse>& uses, std::vector<unsigned>& alarms,
                                                    std::vector<std::string>& ends)
{
    std::map<int, size_t> index;
    for (size_t t = 0; t < m_targets.size(); ++t)
        index[m_targets[t].id] = t;
    std::vector<std::string> tasks;
    for (const CUse& use : uses)
        tasks.push_back("reach\n" + CUseLines::Join(use.lines));
    std::vector<bool> answered;
    const std::vector<std::string> answers = m_pool.Map(tasks, answered);
    std::vector<std::vector<size_t>> reached(uses.size());
    alarms.assign(uses.size(), MIN_ALARM_S);
    ends.assign(uses.size(), "");
    for (size_t u = 0; u < uses.size(); ++u) {
        if (!answered[u])
            continue;
        std::istringstream in(answers[u]);
        std::string head;
        std::getline(in, head);
        ends[u].assign(std::istreambuf_iterator<char>(in), {});
        std::istringstream words(head);
        std::string word;
        double seconds = 0;
        words >> word >> seconds;
        alarms[u] = std::max(MIN_ALARM_S, static_cast<unsigned>(std::ceil(ALARM_FACTOR * seconds)));
        for (int id = 0; words >> id;)
            if (index.count(id) && !m_targets[index[id]].beforeMain)
                reached[u].push_back(index[id]);
        for (size_t t = 0; t < m_targets.size(); ++t)  // no use tells whether it reads such a table: all may
            if (m_targets[t].beforeMain)
                reached[u].push_back(t);
        for (size_t t : reached[u])
            m_targets[t].reached = true;
    }
    return reached;
}

// Every live target tried on the uses that reach it, one use a pass and
// TRIES_A_ROUND at most, until a use kills it. False when a signal stopped
// the trials.
bool CMutantHunt::Trials(const std::vector<CUse>& uses, const std::vector<std::vector<size_t>>& reached,
                         const std::vector<unsigned>& alarms, const std::vector<std::string>& ends,
                         std::vector<std::vector<CKill>>& kills)
{
    std::vector<size_t> shortestFirst(uses.size());  // the cheapest plays, and the shortest files
    for (size_t u = 0; u < uses.size(); ++u)
        shortestFirst[u] = u;
    std::stable_sort(shortestFirst.begin(), shortestFirst.end(), [&](size_t a, size_t b) {
        return CUseChoice::VirtualMs(uses[a].lines) < CUseChoice::VirtualMs(uses[b].lines);
    });
    // A mutant set up before main (a table of steps) may lie in any use: the
    // longest come first, as they go furthest into the cycle.
    const std::vector<size_t> longestFirst(shortestFirst.rbegin(), shortestFirst.rend());
    std::vector<std::vector<size_t>> queue(m_targets.size());  // the uses still to try
    for (const bool beforeMain : {false, true})
        for (size_t u : beforeMain ? longestFirst : shortestFirst)
            for (size_t t : reached[u])
                if (m_targets[t].beforeMain == beforeMain)
                    queue[t].push_back(u);
    std::vector<size_t> next(m_targets.size(), 0);
    for (std::vector<size_t>& tried : queue)
        tried.resize(std::min<size_t>(tried.size(), TRIES_A_ROUND));
    for (;;) {
        std::vector<std::pair<size_t, size_t>> pairs;  // (use, target), by use
        for (size_t t = 0; t < m_targets.size(); ++t)
            if (!m_targets[t].killed && m_targets[t].tries < MAX_TRIES && next[t] < queue[t].size())
                pairs.push_back({queue[t][next[t]++], t});
        if (pairs.empty())
            return true;
        std::stable_sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<std::string> tasks;
        for (const auto& [u, t] : pairs)
            tasks.push_back("trial " + std::to_string(m_targets[t].id) + " " + std::to_string(alarms[u]) + " " +
                            (m_targets[t].beforeMain ? "1" : "0") + "\n" + CUseLines::Join(uses[u].lines));
        std::vector<CWorkerPool::CTaskEnd> taskEnds(tasks.size());
        std::vector<bool> answered;
        const std::vector<std::string> answers =
            m_pool.Map(tasks, answered, [&](size_t task, const std::string&, const CWorkerPool::CTaskEnd& end) {
                taskEnds[task] = end;
            });
        if (noted_fatal_signal())
            return false;
        for (size_t i = 0; i < pairs.size(); ++i) {
            const auto [u, t] = pairs[i];
            CCheckpoint check;
            if (answered[i] && answers[i].rfind("kill ", 0) == 0 && check.Parse(answers[i].substr(5))) {
                kills[u].push_back({t, check});
            } else if (!answered[i] && taskEnds[i].kind == CWorkerPool::CTaskEnd::WORKER_DIED) {
                check.condition = ends[u];  // the mutant stalled or crashed the firmware: the whole use ends it
                kills[u].push_back({t, check});
            } else {
                ++m_targets[t].tries;
                continue;
            }
            m_targets[t].killed = true;
        }
    }
}

// The checks of one use's kills placed in its waits; a kill whose check
// finds no room is tried again on a later use.
bool CMutantHunt::Write(const CUse& use, const std::vector<CKill>& kills)
{
    std::vector<CCheckpoint> checks;
    for (const CKill& kill : kills)
        checks.push_back(kill.check);
    std::vector<bool> placed;
    const std::vector<CCheckpoint> written = CTraceDivergence::Place(checks, placed);
    std::string named;
    int count = 0;
    for (size_t k = 0; k < kills.size(); ++k) {
        CTarget& target = m_targets[kills[k].target];
        if (!placed[k]) {
            target.killed = false;
            ++target.tries;
            continue;
        }
        named += "#   " + CMutantBuild::Name(mutant_of(target.id)) + "\n";
        ++count;
    }
    if (count == 0)
        return true;
    const std::string text = "# A use of the panel found by " + m_command + " (" + use.from +
                             "),\n# kept for the mutants of the firmware it kills:\n" + named + "\n" +
                             CUseLines::Join(CMutantTrial::WithChecks(use.lines, written));
    const std::string name = file_name(++m_written);
    std::string error;
    if (!COutputFile::WriteWhole(m_suiteDir + "/" + name, text.data(), text.size(), error)) {
        m_err << error << "\n";
        return false;
    }
    m_out << "explore: " << name << " from " << use.from << ": kills " << count << (count == 1 ? " mutant" : " mutants")
          << std::endl;
    return true;
}

bool CMutantHunt::Round(const std::vector<CUse>& uses)
{
    std::vector<unsigned> alarms;
    std::vector<std::string> ends;
    const std::vector<std::vector<size_t>> reached = Reach(uses, alarms, ends);
    if (noted_fatal_signal())
        return false;
    const auto killedSoFar = [this] {
        return std::count_if(m_targets.begin(), m_targets.end(), [](const CTarget& t) { return t.killed; });
    };
    const auto before = killedSoFar();
    std::vector<std::vector<CKill>> kills(uses.size());
    if (!Trials(uses, reached, alarms, ends, kills))
        return false;
    for (size_t u = 0; u < uses.size(); ++u)
        if (!kills[u].empty() && !Write(uses[u], kills[u]))
            return false;
    m_idleRounds = killedSoFar() > before ? 0 : m_idleRounds + 1;
    m_hunted += uses.size();
    const auto alive = std::count_if(m_targets.begin(), m_targets.end(),
                                     [](const CTarget& t) { return !t.killed && t.tries < MAX_TRIES; });
    m_err << "explore: mutant hunt after " << m_hunted << " uses: " << killedSoFar() << " killed, " << alive
          << " still tried" << std::endl;  // progress, on stderr as the times are
    return true;
}

bool CMutantHunt::Over() const
{
    return m_idleRounds >= IDLE_ROUNDS || std::all_of(m_targets.begin(), m_targets.end(), [](const CTarget& t) {
               return t.killed || t.tries >= MAX_TRIES;
           });
}

void CMutantHunt::Summary(bool interrupted)
{
    int killed = 0, survived = 0, unreached = 0;
    for (const CTarget& target : m_targets)
        (target.killed ? killed : target.reached ? survived : unreached) += 1;
    m_out << "mutants: " << killed << " killed, " << survived << (interrupted ? " not yet killed, " : " survived, ")
          << unreached << (interrupted ? " not yet reached" : " never reached") << ", of " << m_targets.size()
          << " hunted";
    if (m_equivalent > 0)
        m_out << " (" << m_equivalent << " known equivalent left out)";
    m_out << "; " << m_written << " mutant " << (m_written == 1 ? "file" : "files") << "\n";
    for (const CTarget& target : m_targets)
        if (!target.killed && target.reached && !interrupted)
            m_out << "  - survived: " << CMutantBuild::Name(mutant_of(target.id)) << "\n";
}
