#include "trace/divergence_watch.h"

#include <algorithm>
#include <unordered_map>

#include "trace/trace_buffer.h"

namespace {

// The module an exported trace declares every scope in.
const std::string TOP_SCOPE = "trelvik";

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
    const std::vector<CPartner> partners = Partners(live, *m_dump);
    m_pairs.clear();
    m_pairOf.assign(static_cast<size_t>(m_channels), -1);
    for (int channel = 0; channel < m_channels; ++channel) {
        const CPartner& partner = partners[static_cast<size_t>(channel)];
        if (!partner.var)
            continue;
        m_pairOf[static_cast<size_t>(channel)] = static_cast<int>(m_pairs.size());
        m_pairs.push_back(CPair{channel, partner.name, partner.var});
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
        pair.values.a = value;
        const auto& changes = pair.base->changes;
        for (; pair.baseNext < changes.size() && changes[pair.baseNext].first < m_doneMs; ++pair.baseNext)
            pair.values.b = changes[pair.baseNext].second;
        pair.values.Edge(m_doneMs);
    }
}

std::vector<CDivergenceWatch::CPartner> CDivergenceWatch::Partners(const CTraceBuffer& live, const CVcdReader& dump)
{
    std::vector<std::pair<std::string, std::string>> liveScoped, baseScoped;
    for (int channel = 0; channel < live.ChannelCount(); ++channel) {
        const std::string& scope = live.Scope(channel);
        liveScoped.emplace_back(scope.empty() ? TOP_SCOPE : TOP_SCOPE + "." + scope, live.Name(channel));
    }
    for (const CVcdReader::CVariable& var : dump.Variables())
        baseScoped.emplace_back(var.scope, var.name);
    const std::vector<CMatchName> liveNames = match_names(liveScoped), baseNames = match_names(baseScoped);
    std::unordered_map<std::string, const CVcdReader::CVariable*> byKey;
    for (size_t i = 0; i < baseNames.size(); ++i)
        byKey.emplace(baseNames[i].key, &dump.Variables()[i]);
    std::vector<CPartner> partners(liveNames.size());
    for (size_t channel = 0; channel < liveNames.size(); ++channel)
        if (const auto found = byKey.find(liveNames[channel].key); found != byKey.end())
            partners[channel] = {found->second, liveNames[channel].key};
    return partners;
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
    if (value == pair.values.a)
        return;
    Diverged(pair, pair.values.Edge(timeMs));
    pair.values.a = value;
}

// The baseline's changes before beforeMs; a repeated value is no edge. One
// before an edge still pending is taken at that edge's time.
void CDivergenceWatch::BaseUpTo(CPair& pair, uint64_t beforeMs)
{
    const auto& changes = pair.base->changes;
    for (; pair.baseNext < changes.size() && changes[pair.baseNext].first < beforeMs; ++pair.baseNext) {
        const auto& [timeMs, value] = changes[pair.baseNext];
        if (value == pair.values.b && pair.baseNext > 0)
            continue;  // no edge; the first change is one, the variable joining
        const uint64_t pendingMs = pair.values.PendingMs();
        Diverged(pair, pair.values.Edge(std::max(timeMs, pendingMs == CValuePair::NONE ? 0 : pendingMs)));
        pair.values.b = value;
    }
    Diverged(pair, pair.values.SettleBefore(beforeMs));
}

// A divergence of this Update, kept if it is the first so far.
void CDivergenceWatch::Diverged(const CPair& pair, uint64_t timeMs)
{
    const uint64_t baseJoinedMs = pair.base->changes.empty() ? NONE : pair.base->changes.front().first;
    if (timeMs == CValuePair::NONE || !both_joined(timeMs, 0, baseJoinedMs) ||
        !diverges_first(timeMs, static_cast<size_t>(pair.channel), m_bestMs, static_cast<size_t>(m_bestChannel)))
        return;
    m_bestMs = timeMs;
    m_bestChannel = pair.channel;
    m_divergence = {timeMs, pair.name, CVcdReader::Text(*pair.base, pair.values.a),
                    CVcdReader::Text(*pair.base, pair.values.b), pair.channel};
}

// As an exported trace writes it: a bit as 0 or 1, a number as its 64-bit two's complement.
uint64_t CDivergenceWatch::AsDumped(const CTraceBuffer& live, int channel, int32_t value)
{
    if (live.IsBit(channel))
        return static_cast<uint64_t>(value) & 1;
    return static_cast<uint64_t>(static_cast<int64_t>(value));
}
