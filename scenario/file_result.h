#pragma once
// What one scenario file came to: its expectations one by one, or the reason
// it did not run; what the closing line, the exit code and the JUnit report
// are made from.

#include <string>
#include <vector>

struct CFileResult {
    struct CExpectation {
        int line = 0;
        bool held = false;
        bool environment = false;  // failed for a reason outside the controller (a snapshot not written)
        std::string text;          // the printed line: "FILE:LINE: TIME ms: ok|FAILED: ..."
    };

    std::string file;
    int code = 0;       // the file's exit code: 0, 1 or 2
    std::string error;  // why the file did not run, or why its outputs failed
    bool ran = false;
    double seconds = 0;
    std::vector<CExpectation> expectations;

    int Passed() const
    {
        int n = 0;
        for (const CExpectation& e : expectations)
            n += e.held;
        return n;
    }
    int Failed() const { return static_cast<int>(expectations.size()) - Passed(); }
};
