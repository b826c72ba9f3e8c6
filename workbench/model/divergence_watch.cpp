#include "workbench/model/divergence_watch.h"

#include <algorithm>
#include <unordered_map>

#include "workbench/model/trace_buffer.h"

namespace {

// The module an exported trace declares every scope in.
const std::string TOP_SCOPE = "trelvik";

std::string full_name(const std::string& scope, const std::string& name)
{
    return scope.empty() ? name : scope + "." + name;
}

}  // namespace

void CDivergenceWatch::SetBaseline(const CVcdReader* dump)
{
    m_dump = dump;
    Reset();
}

void CDivergenceWatch::Reset()
{
    m_live = nullptr;
    m_channels = -1;
    m_pairs.clear();
    m_pairOf.clear();
    m_next = 0;
    m_doneMs = 0;
    m_found = false;
    m_divergence = {};
    m_bestMs = NONE;
    m_bestChannel = -1;
}

void CDivergenceWatch::Update(const CTraceBuffer& live, uint64_t nowMs)
{
    if (m_dump && (&live != m_live || nowMs < m_doneMs)) {
        Reset();
        m_live = &live;
    }
    if (m_found || !m_dump)
        return;
    if (live.ChannelCount() != m_channels)
        Match(live);
    else if (m_next < live.First())
        CatchUpDropped(live);
    for (; m_next < live.End(); ++m_next) {
        const CTraceBuffer::CChange& change = live.At(m_next);
        if (change.timeMs >= nowMs)
            break;
        if (const int pair = m_pairOf[change.channel]; pair >= 0)
            LiveChange(m_pairs[pair], std::max(change.timeMs, m_doneMs), AsDumped(live, change.channel, change.value));
    }
    for (CPair& pair : m_pairs)
        BaseUpTo(pair, nowMs);
    m_doneMs = nowMs;
    m_found = m_bestMs != NONE;
}

// Each live channel with its namesake in the baseline, matched as
// CTraceCompare matches two dumps; then the ring is read from its oldest
// change, the values before it standing from time 0 as in an exported trace
// (or, once the ring has dropped the run's start, from that change's time).
void CDivergenceWatch::Match(const CTraceBuffer& live)
{
    m_channels = live.ChannelCount();
    std::unordered_map<std::string, int> liveCount, baseCount;
    for (int channel = 0; channel < m_channels; ++channel)
        liveCount[live.Name(channel)]++;
    for (const CVcdReader::CVariable& var : m_dump->Variables())
        baseCount[var.name]++;
    std::unordered_map<std::string, const CVcdReader::CVariable*> byKey;
    for (const CVcdReader::CVariable& var : m_dump->Variables())
        byKey.emplace(baseCount[var.name] > 1 ? full_name(var.scope, var.name) : var.name, &var);

    m_pairs.clear();
    m_pairOf.assign(static_cast<size_t>(m_channels), -1);
    for (int channel = 0; channel < m_channels; ++channel) {
        const std::string& name = live.Name(channel);
        const std::string key = liveCount[name] > 1 ? full_name(full_name(TOP_SCOPE, live.Scope(channel)), name) : name;
        const auto found = byKey.find(key);
        if (found == byKey.end())
            continue;
        m_pairOf[static_cast<size_t>(channel)] = static_cast<int>(m_pairs.size());
        m_pairs.push_back(CPair{channel, key, found->second});
    }
    m_next = live.First();
    m_doneMs = live.KnownFromMs();
    m_bestMs = NONE;
    m_bestChannel = -1;
    for (CPair& pair : m_pairs) {
        const uint64_t value = AsDumped(live, pair.channel, live.Base(pair.channel));
        if (m_doneMs == 0) {
            LiveChange(pair, 0, value);
            continue;
        }
        // The ring no longer holds the run's start: the two are held
        // against each other from the oldest change it keeps.
        pair.liveValue = value;
        const auto& changes = pair.base->changes;
        for (; pair.baseNext < changes.size() && changes[pair.baseNext].first < m_doneMs; ++pair.baseNext)
            pair.baseValue = changes[pair.baseNext].second;
        pair.pendingMs = m_doneMs;
    }
}

// Each channel's last change the ring let go unread, at its own time.
void CDivergenceWatch::CatchUpDropped(const CTraceBuffer& live)
{
    const uint64_t oldestMs = live.At(live.First()).timeMs;
    for (CPair& pair : m_pairs) {
        const uint64_t since = oldestMs > 0 ? live.ValueSince(pair.channel, oldestMs - 1).sinceMs : 0;
        LiveChange(pair, std::max(since, m_doneMs), AsDumped(live, pair.channel, live.Base(pair.channel)));
    }
    m_next = live.First();
}

void CDivergenceWatch::LiveChange(CPair& pair, uint64_t timeMs, uint64_t value)
{
    BaseUpTo(pair, timeMs);
    if (value == pair.liveValue)
        return;
    Edge(pair, timeMs);
    pair.liveValue = value;
}

// The baseline's changes before beforeMs; a repeated value is no edge.
void CDivergenceWatch::BaseUpTo(CPair& pair, uint64_t beforeMs)
{
    const auto& changes = pair.base->changes;
    for (; pair.baseNext < changes.size() && changes[pair.baseNext].first < beforeMs; ++pair.baseNext) {
        const auto& [timeMs, value] = changes[pair.baseNext];
        if (value == pair.baseValue)
            continue;
        Edge(pair, std::max(timeMs, pair.pendingMs == NONE ? 0 : pair.pendingMs));
        pair.baseValue = value;
    }
    if (pair.pendingMs != NONE && pair.pendingMs < beforeMs)
        Settle(pair);
}

// The values are compared once every edge of a time is in.
void CDivergenceWatch::Edge(CPair& pair, uint64_t timeMs)
{
    if (pair.pendingMs != NONE && pair.pendingMs < timeMs)
        Settle(pair);
    pair.pendingMs = timeMs;
}

void CDivergenceWatch::Settle(CPair& pair)
{
    const uint64_t timeMs = pair.pendingMs;
    pair.pendingMs = NONE;
    if (pair.liveValue == pair.baseValue)
        return;
    if (timeMs > m_bestMs || (timeMs == m_bestMs && pair.channel > m_bestChannel))
        return;
    m_bestMs = timeMs;
    m_bestChannel = pair.channel;
    m_divergence = {timeMs, pair.name, CVcdReader::Text(*pair.base, pair.liveValue),
                    CVcdReader::Text(*pair.base, pair.baseValue), pair.channel};
}

// As an exported trace writes it: a bit as 0 or 1, a number as its 64-bit two's complement.
uint64_t CDivergenceWatch::AsDumped(const CTraceBuffer& live, int channel, int32_t value)
{
    if (live.IsBit(channel))
        return static_cast<uint64_t>(value) & 1;
    return static_cast<uint64_t>(static_cast<int64_t>(value));
}
