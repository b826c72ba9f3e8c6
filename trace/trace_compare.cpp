#include "trace/trace_compare.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

#include "trace/divergence_rule.h"

namespace {

using CVariable = CVcdReader::CVariable;
using CDivergence = CTraceCompare::CDivergence;

constexpr uint64_t NEVER = std::numeric_limits<uint64_t>::max();

uint64_t distance(uint64_t x, uint64_t y) { return x > y ? x - y : y - x; }

// A variable's edges one by one: its first change, when the variable joins
// the trace, and then the changes that alter its value. A dump may repeat a
// value (at $dumpvars, say): no edge.
class CEdges {
public:
    explicit CEdges(const std::vector<std::pair<uint64_t, uint64_t>>& changes) : m_changes(changes) {}
    bool Done() const { return m_next >= m_changes.size(); }
    bool Joining() const { return m_next == 0; }
    uint64_t Time() const { return m_changes[m_next].first; }
    uint64_t From() const { return m_value; }
    uint64_t To() const { return m_changes[m_next].second; }
    // When the variable joins the trace; NEVER when it has no value at all.
    uint64_t Joined() const { return m_changes.empty() ? NEVER : m_changes.front().first; }
    void Take()
    {
        m_value = To();
        ++m_next;
        while (!Done() && m_changes[m_next].second == m_value)
            ++m_next;
    }

private:
    const std::vector<std::pair<uint64_t, uint64_t>>& m_changes;
    size_t m_next = 0;
    uint64_t m_value = 0;
};

struct CNamed {
    std::string key, full;
    const CVariable* var;
};

// Each variable with the names it is matched by.
std::vector<CNamed> named(const CVcdReader& dump)
{
    std::vector<std::pair<std::string, std::string>> scoped;
    for (const CVariable& var : dump.Variables())
        scoped.emplace_back(var.scope, var.name);
    const std::vector<CMatchName> names = match_names(scoped);
    std::vector<CNamed> result;
    for (size_t i = 0; i < names.size(); ++i)
        result.push_back({names[i].key, names[i].full, &dump.Variables()[i]});
    return result;
}

struct CVariableResult {
    std::vector<CDivergence> kept;  // the first, in time order
    uint64_t count = 0;
    uint64_t moved = 0, largest = 0;
};

// One variable of A against its namesake in B, edge by edge. An edge of each
// is taken in time order; a pair of like edges within the slack is taken at
// A's time, as one. Nothing is compared before both have joined their traces.
CVariableResult compare_variable(const std::string& name, const CVariable& a, const CVariable& b, uint64_t slack,
                                 size_t keep, const CTolerance& tolerance)
{
    CVariableResult result;
    const CValueMatch match(a, b, tolerance);
    CEdges edgesA(match.A()), edgesB(match.B());
    CValuePair values;
    uint64_t now = 0, lastB = 0, laterB = NEVER, valueB = 0;
    const uint64_t joined = std::max(edgesA.Joined(), edgesB.Joined());
    const auto record = [&](uint64_t divergedMs) {
        if (divergedMs == CValuePair::NONE || divergedMs < joined)
            return;
        result.count++;
        if (result.kept.size() < keep)
            result.kept.push_back({divergedMs, name, values.a, valueB, lastB, a.real || b.real, match.Text(values.a),
                                   match.Text(valueB)});
    };
    while (!edgesA.Done() || !edgesB.Done()) {
        const bool bothLeft = !edgesA.Done() && !edgesB.Done();
        const bool pair = bothLeft && !edgesA.Joining() && !edgesB.Joining() && edgesA.From() == edgesB.From() &&
                          edgesA.To() == edgesB.To() && distance(edgesA.Time(), edgesB.Time()) <= slack;
        const bool takeA = pair || (!edgesA.Done() && (edgesB.Done() || edgesA.Time() <= edgesB.Time()));
        // An edge of B after one of its edges taken early is held to that time, keeping the order.
        const uint64_t time = std::max(takeA ? edgesA.Time() : edgesB.Time(), now);
        record(values.Edge(time));
        now = time;
        if (laterB <= now) {
            lastB = laterB;
            laterB = NEVER;
        }
        if (pair && edgesA.Time() != edgesB.Time()) {
            result.moved++;
            result.largest = std::max(result.largest, distance(edgesA.Time(), edgesB.Time()));
        }
        if (pair || !takeA) {
            (edgesB.Time() <= now ? lastB : laterB) = edgesB.Time();
            edgesB.Take();
            valueB = edgesB.From();
        }
        if (takeA) {
            edgesA.Take();
            values.a = edgesA.From();
        }
        values.b = match.Seen(values.a, valueB);
    }
    record(values.Settle());
    return result;
}

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

CTraceCompare::CResult CTraceCompare::Compare(const CVcdReader& a, const CVcdReader& b, const COptions& options)
{
    CResult result;
    const std::vector<CNamed> namesA = named(a), namesB = named(b);
    std::unordered_map<std::string, const CNamed*> byKeyB, byNameB;  // by key; by key and full name
    for (const CNamed& n : namesB) {
        byKeyB.emplace(n.key, &n);
        byNameB.emplace(n.key, &n);
        byNameB.emplace(n.full, &n);
    }
    std::unordered_map<std::string, bool> inA;
    // A's order, kept through the stable sorts below, breaks ties in time.
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
            result.onlyA.push_back(n.key);
            continue;
        }
        CVariableResult one = compare_variable(n.key, *n.var, *other->second->var, slack_of(n, options),
                                               std::max<size_t>(options.keep, 1), options.tolerance);
        if (one.moved > 0)
            result.moved.push_back({n.key, one.moved, one.largest});
        if (one.count == 0)
            continue;
        result.divergenceCount += one.count;
        result.firstByName.push_back(one.kept.front());
        const size_t take = std::min(one.kept.size(), options.keep);
        result.divergences.insert(result.divergences.end(), one.kept.begin(), one.kept.begin() + take);
    }
    for (const CNamed& n : namesB)
        if (!inA.count(n.key) && chosen(n, options.only))
            result.onlyB.push_back(n.key);
    std::stable_sort(result.divergences.begin(), result.divergences.end(), earlier);
    if (result.divergences.size() > options.keep)
        result.divergences.resize(options.keep);
    std::stable_sort(result.firstByName.begin(), result.firstByName.end(), earlier);
    result.endA = a.EndTime();
    result.endB = b.EndTime();
    result.endsDiffer = distance(result.endA, result.endB) > options.slack;
    return result;
}

std::vector<std::string> CTraceCompare::Names(const CVcdReader& dump)
{
    std::vector<std::string> names;
    for (const CNamed& n : named(dump))
        names.push_back(n.key);
    return names;
}

bool CTraceCompare::Has(const CVcdReader& dump, const std::string& name)
{
    for (const CNamed& n : named(dump))
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
