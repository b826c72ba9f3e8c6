// The default number of jobs fits the CPU quota of the process's cgroup,
// read from a fake cgroup root: v2's cpu.max up the hierarchy, v1's quota
// over its period, and no limit where there is no quota.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include <unistd.h>

#include "scenario/run/cpu_quota.h"

namespace {

namespace fs = std::filesystem;

TEST(CpuQuota, TheTightestQuotaUpTheHierarchyIsTheLimitRoundedUp)
{
    const fs::path root = fs::temp_directory_path() / ("cgroup-" + std::to_string(::getpid()));
    const struct {
        const char* membership;
        std::vector<std::pair<const char*, const char*>> files;  // path under the root, text
        unsigned limit;
    } cases[] = {
        {"0::/ci/job\n", {{"ci/job/cpu.max", "150000 100000\n"}}, 2},
        {"0::/ci/job\n", {{"ci/job/cpu.max", "max 100000\n"}, {"ci/cpu.max", "100000 100000\n"}}, 1},
        {"0::/ci/job\n", {{"ci/job/cpu.max", "400000 100000\n"}, {"ci/cpu.max", "300000 100000\n"}}, 3},
        {"0::/\n", {{"cpu.max", "200000 100000\n"}}, 2},  // a cgroup namespace: the group is the root
        {"0::/ci/job\n", {{"ci/job/cpu.max", "max 100000\n"}}, 0},
        {"0::/ci/job\n", {}, 0},
        {"4:cpu,cpuacct:/docker/c1\n0::/\n",
         {{"cpu,cpuacct/docker/c1/cpu.cfs_quota_us", "250000\n"},
          {"cpu,cpuacct/docker/c1/cpu.cfs_period_us", "100000\n"}},
         3},
        {"1:cpu:/x\n", {{"cpu/x/cpu.cfs_quota_us", "-1\n"}, {"cpu/x/cpu.cfs_period_us", "100000\n"}}, 0},
        {"2:cpuacct:/x\n", {{"cpuacct/x/cpu.cfs_quota_us", "100000\n"}, {"cpuacct/x/cpu.cfs_period_us", "100000\n"}}, 0},
        {"garbage\n0::/ci\n", {{"ci/cpu.max", "nonsense\n"}}, 0},
    };
    for (const auto& c : cases) {
        fs::remove_all(root);
        for (const auto& [path, text] : c.files) {
            fs::create_directories((root / path).parent_path());
            std::ofstream(root / path) << text;
        }
        EXPECT_EQ(cgroup_cpu_limit(root.string(), c.membership), c.limit) << c.membership;
    }
    fs::remove_all(root);
}

}  // namespace
