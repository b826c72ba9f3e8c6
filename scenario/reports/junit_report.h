#pragma once
// The JUnit report of a call, as CI systems read it: one testsuite per
// scenario file with the time it began, one testcase per expectation named
// "FILE:LINE step" with its wall time, a failure with
// the printed line where an expectation failed, and an error for a file that
// did not run (or a snapshot that could not be written). Written with Qt's
// XML writer, so strict parsers accept it whatever the names hold.

#include <string>
#include <vector>

#include "scenario/run/file_result.h"

class CJunitReport {
public:
    static std::string Xml(const std::vector<CFileResult>& files);
    // Writes the report through a temporary file; false with the reason.
    static bool Write(const std::string& path, const std::vector<CFileResult>& files, std::string& error);
    // UTF-8 text with what XML 1.0 cannot carry (control characters but
    // tab, line feed and carriage return; U+FFFE, U+FFFF; bytes that are no
    // UTF-8) replaced by U+FFFD.
    static std::string XmlSafe(const std::string& text);
};
