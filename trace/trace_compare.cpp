#include "trace/trace_compare.h"

#include <algorithm>
#include <deque>
#include <limits>
#include <unordered_map>

#include "trace/divergence_rule.h"

namespace {

using CVariable = CVcdReader::CVariable;
using CDivergence = CTraceCompare::CDivergence;

constexpr uint64_t NEVER = std::numeric_limits<uint64_t>::max();

uint64_t distance(uint64_t x, uint64_t y) { return x > y ? x - y : y - x; }

struct CNamed {
    std::string key, full;
    size_t index;  // in its dump
};

// Each variable with the names it is matched by.
std::vector<CNamed> named(const std::vector<CVariable>& vars)
{
    std::vector<std::pair<std::string, std::string>> scoped;
    for (const CVariable& var : vars)
        scoped.emplace_back(var.scope, var.name);
    const std::vector<CMatchName> names = match_names(scoped);
    std::vector<CNamed> result;
    for (size_t i = 0; i < names.size(); ++i)
        result.push_back({names[i].key, names[i].full, i});
    return result;
}

// One variable's edges as its dump is read: its first change, when the
// variable joins the trace, and then the changes that alter its value (a
// dump may repeat a value, at $dumpvars say: no edge). Before it joins, the
// variable is not traced, and nothing of it is compared.
class CEdges {
public:
    void Add(uint64_t time, uint64_t value)
    {
        if (m_joined == NEVER)
            m_joined = time;
        else if (value == m_last)
            return;
        m_last = value;
        m_queue.emplace_back(time, value);
    }
    bool Empty() const { return m_queue.empty(); }
    bool Joining() const { return !m_taken; }
    uint64_t Time() const { return m_queue.front().first; }
    uint64_t From() const { return m_value; }
    uint64_t To() const { return m_queue.front().second; }
    // When the variable joined the trace; NEVER while it has no value.
    uint64_t Joined() const { return m_joined; }
    void Take()
    {
        m_value = To();
        m_taken = true;
        m_queue.pop_front();
    }

private:
    std::deque<std::pair<uint64_t, uint64_t>> m_queue;  // the edges read and not yet taken
    uint64_t m_value = 0, m_last = 0, m_joined = NEVER;
    bool m_taken = false;
};

// Where a dump is read up to: every change before `now` is in, all when it ended.
struct CHorizon {
    uint64_t now = 0;
    bool ended = false;
    // Whether no edge is still to come at or before `time`.
    bool Past(uint64_t time) const { return ended || (time != NEVER && now > time); }
};

uint64_t plus(uint64_t x, uint64_t y) { return x > NEVER - y ? NEVER : x + y; }

}  // namespace

// One variable of A against its namesake in B, edge by edge as the dumps are
// read. An edge of each is taken in time order; a pair of like edges within
// the slack is taken at A's time, as one. An edge is taken once it is sure
// that no edge of the other dump comes first or pairs with it. Nothing is
// compared before both have joined their traces.
class CTraceCompare::CPair {
public:
    CPair(std::string name, const CVariable& a, const CVariable& b, uint64_t slack, size_t keep,
          const CTolerance& tolerance)
        : m_name(std::move(name)), m_slack(slack), m_keep(keep), m_real(a.real || b.real), m_space(a, b, tolerance)
    {
    }

    void Add(bool ofA, const CVariable& var, uint64_t time, uint64_t value)
    {
        (ofA ? m_a : m_b).Add(time, m_space.Of(var, value));
    }

    // Takes the edges that can be taken, the dumps read as far as given.
    void Advance(const CHorizon& readA, const CHorizon& readB)
    {
        for (;;) {
            const bool hasA = !m_a.Empty(), hasB = !m_b.Empty();
            bool pair = false, takeA = false;
            if (hasA && hasB) {
                pair = !m_a.Joining() && !m_b.Joining() && m_a.From() == m_b.From() && m_a.To() == m_b.To() &&
                       distance(m_a.Time(), m_b.Time()) <= m_slack;
                takeA = pair || m_a.Time() <= m_b.Time();
            } else if (hasA && readB.Past(plus(m_a.Time(), m_slack))) {
                takeA = true;
            } else if (!(hasB && readA.Past(plus(m_b.Time(), m_slack)))) {
                break;  // not yet sure
            }
            Take(pair, takeA);
        }
        if (readA.ended && readB.ended && m_a.Empty() && m_b.Empty())
            Record(m_values.Settle());
    }

    const std::string& Name() const { return m_name; }
    const std::vector<CDivergence>& Kept() const { return m_kept; }
    uint64_t Count() const { return m_count; }
    uint64_t Moved() const { return m_moved; }
    uint64_t Largest() const { return m_largest; }

private:
    void Take(bool pair, bool takeA)
    {
        // An edge of B after one of its edges taken early is held to that time, keeping the order.
        const uint64_t time = std::max(takeA ? m_a.Time() : m_b.Time(), m_now);
        Record(m_values.Edge(time));
        m_now = time;
        if (m_laterB <= m_now) {
            m_lastB = m_laterB;
            m_laterB = NEVER;
        }
        if (pair && m_a.Time() != m_b.Time()) {
            m_moved++;
            m_largest = std::max(m_largest, distance(m_a.Time(), m_b.Time()));
        }
        if (pair || !takeA) {
            (m_b.Time() <= m_now ? m_lastB : m_laterB) = m_b.Time();
            m_b.Take();
            m_valueB = m_b.From();
        }
        if (takeA) {
            m_a.Take();
            m_values.a = m_a.From();
        }
        m_values.b = m_space.Seen(m_values.a, m_valueB);
    }

    void Record(uint64_t divergedMs)
    {
        if (divergedMs == CValuePair::NONE || !both_joined(divergedMs, m_a.Joined(), m_b.Joined()))
            return;
        m_count++;
        if (m_kept.size() < m_keep)
            m_kept.push_back({divergedMs, m_name, m_values.a, m_valueB, m_lastB, m_real, m_space.Text(m_values.a),
                              m_space.Text(m_valueB)});
    }

    std::string m_name;
    uint64_t m_slack;
    size_t m_keep;
    bool m_real;
    CValueSpace m_space;
    CEdges m_a, m_b;
    CValuePair m_values;
    uint64_t m_now = 0, m_lastB = 0, m_laterB = NEVER, m_valueB = 0;
    std::vector<CDivergence> m_kept;  // the first, in time order
    uint64_t m_count = 0, m_moved = 0, m_largest = 0;
};

namespace {

bool chosen(const CNamed& named, const std::vector<std::string>& only)
{
    return only.empty() || std::find(only.begin(), only.end(), named.key) != only.end() ||
           std::find(only.begin(), only.end(), named.full) != only.end();
}

uint64_t slack_of(const CNamed& named, const CTraceCompare::COptions& options)
{
    for (const std::string& name : {named.key, named.full})
        if (const auto found = options.slackByName.find(name); found != options.slackByName.end())
            return found->second;
    return options.slack;
}

// By time; the stable sorts keep A's order on equal times, as the rule asks.
bool earlier(const CDivergence& x, const CDivergence& y) { return x.timeMs < y.timeMs; }

}  // namespace

// The pairs of namesakes, in A's order, and the names one dump has and the other lacks.
struct CTraceCompare::CPairs {
    std::vector<CPair> pairs;
    std::vector<std::vector<size_t>> ofA, ofB;  // each variable's pairs
    std::vector<std::string> onlyA, onlyB;

    CPairs(const std::vector<CVariable>& a, const std::vector<CVariable>& b, const COptions& options)
        : ofA(a.size()), ofB(b.size())
    {
        const std::vector<CNamed> namesA = named(a), namesB = named(b);
        std::unordered_map<std::string, const CNamed*> byKeyB, byNameB;  // by key; by key and full name
        for (const CNamed& n : namesB) {
            byKeyB.emplace(n.key, &n);
            byNameB.emplace(n.key, &n);
            byNameB.emplace(n.full, &n);
        }
        std::unordered_map<std::string, bool> inA;
        // A's order, kept through the stable sorts of the result, breaks ties in time.
        for (const CNamed& n : namesA) {
            const std::string* partner = options.map.Partner(n.key, n.full);
            if (!partner)
                inA[n.key] = true;
            if (!chosen(n, options.only))
                continue;
            const auto other = partner ? byNameB.find(*partner) : byKeyB.find(n.key);
            if (partner && other != byNameB.end())
                inA[other->second->key] = true;
            if (other == (partner ? byNameB.end() : byKeyB.end())) {
                onlyA.push_back(n.key);
                continue;
            }
            ofA[n.index].push_back(pairs.size());
            ofB[other->second->index].push_back(pairs.size());
            pairs.emplace_back(n.key, a[n.index], b[other->second->index], slack_of(n, options),
                               std::max<size_t>(options.keep, 1), options.tolerance);
        }
        for (const CNamed& n : namesB)
            if (!inA.count(n.key) && chosen(n, options.only))
                onlyB.push_back(n.key);
    }

    // A variable's changes before `before` handed to its pairs.
    void Add(bool ofDumpA, const CVariable& var, size_t index, size_t count)
    {
        for (size_t p : (ofDumpA ? ofA : ofB)[index])
            for (size_t i = 0; i < count; ++i)
                pairs[p].Add(ofDumpA, var, var.changes[i].first, var.changes[i].second);
    }

    void Advance(const CHorizon& readA, const CHorizon& readB)
    {
        for (CPair& pair : pairs)
            pair.Advance(readA, readB);
    }

    CResult Result(const COptions& options) const
    {
        CResult result;
        result.onlyA = onlyA;
        result.onlyB = onlyB;
        for (const CPair& one : pairs) {
            if (one.Moved() > 0)
                result.moved.push_back({one.Name(), one.Moved(), one.Largest()});
            if (one.Count() == 0)
                continue;
            result.divergenceCount += one.Count();
            result.firstByName.push_back(one.Kept().front());
            const size_t take = std::min(one.Kept().size(), options.keep);
            result.divergences.insert(result.divergences.end(), one.Kept().begin(), one.Kept().begin() + take);
        }
        std::stable_sort(result.divergences.begin(), result.divergences.end(), earlier);
        if (result.divergences.size() > options.keep)
            result.divergences.resize(options.keep);
        std::stable_sort(result.firstByName.begin(), result.firstByName.end(), earlier);
        return result;
    }
};

CTraceCompare::CResult CTraceCompare::Compare(const CVcdReader& a, const CVcdReader& b, const COptions& options)
{
    CPairs pairs(a.Variables(), b.Variables(), options);
    for (const auto& [dump, ofA] : {std::pair{&a, true}, std::pair{&b, false}})
        for (size_t i = 0; i < dump->Variables().size(); ++i)
            pairs.Add(ofA, dump->Variables()[i], i, dump->Variables()[i].changes.size());
    const CHorizon ended{NEVER, true};
    pairs.Advance(ended, ended);
    CResult result = pairs.Result(options);
    result.endA = a.EndTime();
    result.endB = b.EndTime();
    result.endsDiffer = distance(result.endA, result.endB) > options.slack;
    return result;
}

bool CTraceCompare::CompareStreams(CVcdReader& a, CVcdReader& b, const COptions& options, CResult& result,
                                   std::string& error, uint64_t stretch)
{
    CPairs pairs(a.Variables(), b.Variables(), options);
    while (!a.Ended() || !b.Ended()) {
        // The dump behind in time is read on, so that the two stay together.
        const bool readA = !a.Ended() && (b.Ended() || a.Now() <= b.Now());
        if (!(readA ? a : b).ReadOn(stretch, error))
            return false;
        // The changes before each dump's time are all in: handed on, and dropped from the reader.
        for (auto [dump, ofA] : {std::pair{&a, true}, std::pair{&b, false}}) {
            for (size_t i = 0; i < dump->Variables().size(); ++i) {
                CVariable& var = dump->Variables()[i];
                auto& changes = var.changes;
                const size_t count =
                    changes.size() -
                    (!dump->Ended() && !changes.empty() && changes.back().first == dump->Now() ? 1 : 0);
                pairs.Add(ofA, var, i, count);
                changes.erase(changes.begin(), changes.begin() + static_cast<std::ptrdiff_t>(count));
            }
        }
        pairs.Advance({a.Now(), a.Ended()}, {b.Now(), b.Ended()});
    }
    result = pairs.Result(options);
    result.endA = a.EndTime();
    result.endB = b.EndTime();
    result.endsDiffer = distance(result.endA, result.endB) > options.slack;
    return true;
}

std::vector<std::string> CTraceCompare::Names(const CVcdReader& dump)
{
    std::vector<std::string> names;
    for (const CNamed& n : named(dump.Variables()))
        names.push_back(n.key);
    return names;
}

bool CTraceCompare::Has(const CVcdReader& dump, const std::string& name)
{
    for (const CNamed& n : named(dump.Variables()))
        if (n.key == name || n.full == name)
            return true;
    return false;
}

std::string CTraceCompare::CDivergence::Text(const std::string& unit) const
{
    const auto value = [&](uint64_t v) { return real ? std::to_string(static_cast<int64_t>(v)) : std::to_string(v); };
    return std::to_string(timeMs) + " " + unit + ": " + name + " A=" + (textA.empty() ? value(valueA) : textA) +
           " B=" + (textB.empty() ? value(valueB) : textB);
}

bool CTraceCompare::CResult::Same() const
{
    return divergenceCount == 0 && onlyA.empty() && onlyB.empty() && !endsDiffer;
}

std::vector<CTraceCompare::CDivergence> CTraceCompare::CResult::FirstAndOnePerName(size_t more) const
{
    const size_t count = std::min(firstByName.size(), more + 1);
    return {firstByName.begin(), firstByName.begin() + static_cast<std::ptrdiff_t>(count)};
}

uint64_t CTraceCompare::CResult::MovedEdges() const
{
    uint64_t edges = 0;
    for (const CMoved& m : moved)
        edges += m.edges;
    return edges;
}

uint64_t CTraceCompare::CResult::LargestMoveMs() const
{
    uint64_t largest = 0;
    for (const CMoved& m : moved)
        largest = std::max(largest, m.largestMs);
    return largest;
}
