#include "scenario/run/firmware_coverage.h"

#ifdef TRELVIK_FIRMWARE_COVERAGE

#include <cstdio>
#include <cstdlib>
#include <string>

// From libgcov, linked into the build for coverage.
extern "C" void __gcov_reset(void);
extern "C" void __gcov_dump(void);

void firmware_coverage_after_fork() { __gcov_reset(); }

void firmware_coverage_before_exit() { __gcov_dump(); }

CFirmwareCoverageWindow::CFirmwareCoverageWindow(size_t file) : m_file(file), m_dir(std::getenv("TRELVIK_COVERAGE_DIR"))
{
    if (m_dir)
        __gcov_reset();  // whatever ran before (start-up, another file) is not this file's
}

// libgcov reads GCOV_PREFIX at every dump. A dump marks the counts written, so
// the exit writes nothing more unless another file resets them. The run's
// threads have ended when this runs, so nothing reads the environment meanwhile.
CFirmwareCoverageWindow::~CFirmwareCoverageWindow()
{
    if (!m_dir)
        return;
    char place[16];
    std::snprintf(place, sizeof place, "/%04zu", m_file + 1);
    const char* before = std::getenv("GCOV_PREFIX");
    const std::string kept = before ? before : "";
    setenv("GCOV_PREFIX", (std::string(m_dir) + place).c_str(), 1);
    __gcov_dump();
    if (before)
        setenv("GCOV_PREFIX", kept.c_str(), 1);
    else
        unsetenv("GCOV_PREFIX");
}

#else

void firmware_coverage_after_fork() {}

void firmware_coverage_before_exit() {}

CFirmwareCoverageWindow::CFirmwareCoverageWindow(size_t file) : m_file(file), m_dir(nullptr) {}

CFirmwareCoverageWindow::~CFirmwareCoverageWindow() {}

#endif
