#pragma once
// The firmware's line and branch counters, in the build for coverage only
// (gcc's --coverage on firmware/, TRELVIK_FIRMWARE_COVERAGE, the `coverage`
// preset); in every other build these do nothing.
//
// The counters are process-wide and written as .gcda files when the process
// exits normally. A worker process of --jobs needs help twice: it begins with
// a copy of its parent's counts, and it ends by _Exit, which writes nothing.
// And to tell which scenario file reached a line, each file's counts must be
// written on their own: with TRELVIK_COVERAGE_DIR set, a file's counts go to
// DIR/NNNN/ (NNNN its place among the files, 0001 first) as gcc's GCOV_PREFIX
// would put them there; what a process counts outside the files' runs is
// written at its exit, where GCOV_PREFIX says.

#include <cstddef>

// In a worker, just after the fork: count from zero, as the parent's counts so far are the parent's to write.
void firmware_coverage_after_fork();

// In a worker, just before it ends by _Exit: write what it counted.
void firmware_coverage_before_exit();

// Around one scenario file's run, in whichever process runs it.
class CFirmwareCoverageWindow {
public:
    explicit CFirmwareCoverageWindow(size_t file);
    ~CFirmwareCoverageWindow();

    CFirmwareCoverageWindow(const CFirmwareCoverageWindow&) = delete;
    CFirmwareCoverageWindow& operator=(const CFirmwareCoverageWindow&) = delete;

private:
    size_t m_file;
    const char* m_dir;  // TRELVIK_COVERAGE_DIR, or null: the counts of the whole process go together
};
