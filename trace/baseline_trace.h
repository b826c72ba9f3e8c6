#pragma once
// The baseline the live trace is held against: a value-change dump of an
// earlier run (a golden trace recorded by the runner, or a trace exported
// from the workbench), read whole into memory. A file the reader refuses
// leaves the baseline open before it as it was. Moved, not copied.

#include <memory>
#include <string>

#include "trace/vcd_reader.h"

class CBaselineTrace {
public:
    // False with the reader's reason ("FILE:LINE: reason"); the baseline held stays.
    bool Open(const std::string& path, std::string& error);
    void Close();

    // Null when none is open.
    const CVcdReader* Dump() const { return m_dump.get(); }
    // The file's name without its folder; empty when none is open.
    const std::string& FileName() const { return m_fileName; }

private:
    std::unique_ptr<CVcdReader> m_dump;
    std::string m_fileName;
};
