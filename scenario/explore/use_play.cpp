#include "scenario/explore/use_play.h"

#include <sstream>

#include "scenario/language/scenario_parser.h"
#include "scenario/run/instrumented_run.h"
#include "scenario/run/machine_expectations.h"
#include "sim/virtual_simulator.h"
#include "trace/trace_sink.h"

namespace {

// FNV-1a over every change: channel, time and value.
class CDigestSink : public CTraceSink {
public:
    void Join(const CTraceChannel&, int64_t value, uint64_t timeMs) override { Fold(m_channels++, timeMs, value); }
    void Change(int channel, uint64_t timeMs, int64_t value) override { Fold(channel, timeMs, value); }
    uint64_t Digest() const { return m_digest; }

private:
    void Fold(int channel, uint64_t timeMs, int64_t value)
    {
        const uint64_t words[3] = {static_cast<uint64_t>(channel), timeMs, static_cast<uint64_t>(value)};
        for (uint64_t word : words)
            for (int byte = 0; byte < 8; ++byte) {
                m_digest ^= (word >> (8 * byte)) & 0xff;
                m_digest *= 0x100000001b3ULL;
            }
    }

    uint64_t m_digest = 0xcbf29ce484222325ULL;
    int m_channels = 0;
};

}  // namespace

CUseOutcome::CUseOutcome()
{
    for (int32_t& step : firstStep)
        step = NOT_REACHED;
}

// "broken 0\nend 1234\ndigest 99\nsteps -1 0 3 ...\ninto 0 0 250 ...\nwhat ...\n" then the expectations.
std::string CUseOutcome::Serialize() const
{
    std::ostringstream out;
    out << "broken " << broken << "\nend " << endMs << "\ndigest " << digest << "\nsteps";
    for (int32_t step : firstStep)
        out << " " << step;
    out << "\ninto";
    for (uint32_t ms : intoStepMs)
        out << " " << ms;
    out << "\nwhat " << what << "\n" << expectations;
    return out.str();
}

bool CUseOutcome::Parse(const std::string& bytes)
{
    std::istringstream in(bytes);
    std::string word;
    in >> word >> broken >> word >> endMs >> word >> digest >> word;
    for (int32_t& step : firstStep)
        in >> step;
    in >> word;
    for (uint32_t& ms : intoStepMs)
        in >> ms;
    in.ignore(1);
    if (!in || !std::getline(in, what) || what.rfind("what ", 0) != 0)
        return false;
    what.erase(0, 5);
    expectations.assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

CUseOutcome CUsePlay::Play(const std::vector<std::string>& lines)
{
    CUseOutcome outcome;
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    CScenarioParser parser;
    if (!parser.Parse(text)) {
        outcome.broken = true;
        outcome.what = parser.ErrorMessage("use");
        return outcome;
    }
    CScenarioCoverage coverage;
    CDigestSink digest;
    uint64_t events = 0;
    int stepLine = 0;
    uint64_t stepBeganMs = 0;
    CInstrumentedRun run("use", parser.Steps());
    run.SetCoverage(&coverage);
    run.SetTraceSink(&digest);
    run.m_afterMs = [&](int line, uint64_t nowMs) {
        if (line != stepLine) {
            stepLine = line;
            stepBeganMs = nowMs > 0 ? nowMs - 1 : 0;
        }
        if (coverage.Events() == events)
            return;
        events = coverage.Events();
        for (int item = 0; item < CScenarioCoverage::ITEM_COUNT; ++item)
            if (outcome.firstStep[item] == CUseOutcome::NOT_REACHED && coverage.Count(item) > 0) {
                outcome.firstStep[item] = line > 0 ? line - 1 : 0;  // start-up comes before the first step
                outcome.intoStepMs[item] = static_cast<uint32_t>(line > 0 ? nowMs - stepBeganMs : 0);
            }
    };
    run.m_onResult = [&](const CFileResult&, const CScenarioResult& r) {
        if (outcome.broken || (r.held && !r.error))
            return;
        outcome.broken = true;
        outcome.what = r.what + (r.seen.empty() ? "" : "; seen " + r.seen);
    };
    run.m_onEnd = [&](CVirtualSimulator& sim) {
        outcome.endMs = sim.Now();
        outcome.expectations = CMachineExpectations::Text(sim);
    };
    run.Run();
    outcome.digest = digest.Digest();
    return outcome;
}
