#include "trace/baseline_trace.h"

bool CBaselineTrace::Open(const std::string& path, std::string& error)
{
    // Read aside, so a refused file never replaces the one held.
    auto dump = std::make_unique<CVcdReader>();
    dump->ConvertTo(-3);  // the live trace's ms; a time between two ms is refused with its line
    if (!dump->ParseFile(path, error))
        return false;
    m_dump = std::move(dump);
    const size_t slash = path.find_last_of('/');
    m_fileName = slash == std::string::npos ? path : path.substr(slash + 1);
    return true;
}

void CBaselineTrace::Close()
{
    m_dump.reset();
    m_fileName.clear();
}
