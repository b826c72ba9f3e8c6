#pragma once
// The JUnit report of a call, as CI systems read it: one testsuite per
// scenario file, one testcase per expectation named FILE:LINE, a failure with
// the printed line where an expectation failed, and an error for a file that
// did not run (or a snapshot that could not be written).

#include <string>
#include <vector>

#include "scenario/run/file_result.h"

class CJunitReport {
public:
    static std::string Xml(const std::vector<CFileResult>& files);
    // Writes the report through a temporary file; false with the reason.
    static bool Write(const std::string& path, const std::vector<CFileResult>& files, std::string& error);
    // Text as XML attribute or element content: & < > " ' escaped, and the
    // characters XML 1.0 cannot carry replaced.
    static std::string Escape(const std::string& text);
};
