#include "scenario/run/result_codec.h"

#include <cstring>

#include "scenario/reports/scenario_coverage.h"

namespace {

// Each field as "LENGTH:BYTES", so that any text travels unchanged.
class CWriter {
public:
    CWriter& operator<<(const std::string& text)
    {
        m_bytes += std::to_string(text.size()) + ":" + text;
        return *this;
    }
    CWriter& operator<<(uint64_t n) { return *this << std::to_string(n); }
    CWriter& operator<<(double x)
    {
        std::string bytes(sizeof x, '\0');
        std::memcpy(bytes.data(), &x, sizeof x);
        return *this << bytes;
    }
    const std::string& Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

class CReader {
public:
    explicit CReader(const std::string& bytes) : m_bytes(bytes) {}
    bool Text(std::string& text)
    {
        const size_t colon = m_bytes.find(':', m_at);
        if (colon == std::string::npos || colon == m_at || colon - m_at > 12 ||
            m_bytes.find_first_not_of("0123456789", m_at) != colon)
            return Fail();
        const uint64_t size = std::stoull(m_bytes.substr(m_at, colon - m_at));
        if (size > m_bytes.size() - colon - 1)
            return Fail();
        text = m_bytes.substr(colon + 1, size);
        m_at = colon + 1 + size;
        return m_ok;
    }
    template <typename T>
    bool Number(T& n)
    {
        std::string text;
        if (!Text(text) || text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
            return Fail();
        n = static_cast<T>(std::stoull(text));
        return m_ok;
    }
    bool Real(double& x)
    {
        std::string bytes;
        if (!Text(bytes) || bytes.size() != sizeof x)
            return Fail();
        std::memcpy(&x, bytes.data(), sizeof x);
        return m_ok;
    }
    bool AtEnd() const { return m_ok && m_at == m_bytes.size(); }

private:
    bool Fail() { return m_ok = false; }

    const std::string& m_bytes;
    size_t m_at = 0;
    bool m_ok = true;
};

}  // namespace

std::string CResultCodec::Encode(const CFileResult& result, const CScenarioCoverage* coverage)
{
    CWriter out;
    out << result.file << static_cast<uint64_t>(result.code) << result.error << static_cast<uint64_t>(result.ran)
        << result.seconds << result.timestamp << static_cast<uint64_t>(result.results.size());
    for (const CScenarioResult& r : result.results)
        out << static_cast<uint64_t>(r.line) << r.timeMs << static_cast<uint64_t>(r.held)
            << static_cast<uint64_t>(r.error) << r.what << r.seen << r.seconds;
    out << static_cast<uint64_t>(result.notes.size());
    for (const std::string& note : result.notes)
        out << note;
    out << static_cast<uint64_t>(coverage ? CScenarioCoverage::ITEM_COUNT : 0);
    for (int item = 0; coverage && item < CScenarioCoverage::ITEM_COUNT; ++item)
        out << static_cast<uint64_t>(coverage->Count(item));
    return out.Bytes();
}

bool CResultCodec::Decode(const std::string& bytes, CFileResult& result, CScenarioCoverage* coverage)
{
    CReader in(bytes);
    uint64_t ran = 0, count = 0;
    if (!in.Text(result.file) || !in.Number(result.code) || !in.Text(result.error) || !in.Number(ran) ||
        !in.Real(result.seconds) || !in.Text(result.timestamp) || !in.Number(count) || count > bytes.size())
        return false;
    result.ran = ran != 0;
    result.results.assign(count, CScenarioResult{});
    for (CScenarioResult& r : result.results) {
        uint64_t held = 0, error = 0;
        if (!in.Number(r.line) || !in.Number(r.timeMs) || !in.Number(held) || !in.Number(error) || !in.Text(r.what) ||
            !in.Text(r.seen) || !in.Real(r.seconds))
            return false;
        r.held = held != 0;
        r.error = error != 0;
    }
    if (!in.Number(count) || count > bytes.size())
        return false;
    result.notes.assign(count, std::string());
    for (std::string& note : result.notes)
        if (!in.Text(note))
            return false;
    uint64_t items = 0;
    if (!in.Number(items) || (items != 0 && items != CScenarioCoverage::ITEM_COUNT))
        return false;
    CScenarioCoverage reached;
    for (int item = 0; item < static_cast<int>(items); ++item) {
        uint32_t n = 0;
        if (!in.Number(n))
            return false;
        reached.SetCount(item, n);
    }
    if (!in.AtEnd())
        return false;
    if (coverage)
        coverage->Merge(reached);
    return true;
}
