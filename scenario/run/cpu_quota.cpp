#include "scenario/run/cpu_quota.h"

#include <fstream>
#include <sstream>

namespace {

// Quota over period, rounded up; 0 for none ("max", -1) or what does not read.
unsigned cpus_of(long long quota, long long period)
{
    if (quota <= 0 || period <= 0)
        return 0;
    return static_cast<unsigned>((quota + period - 1) / period);
}

unsigned v2_limit(const std::string& folder)
{
    std::ifstream in(folder + "/cpu.max");
    std::string quota;
    long long period = 0;
    if (!(in >> quota >> period) || quota == "max")
        return 0;
    try {
        return cpus_of(std::stoll(quota), period);
    } catch (const std::exception&) {
        return 0;
    }
}

unsigned v1_limit(const std::string& folder)
{
    std::ifstream quotaIn(folder + "/cpu.cfs_quota_us");
    std::ifstream periodIn(folder + "/cpu.cfs_period_us");
    long long quota = 0, period = 0;
    if (!(quotaIn >> quota) || !(periodIn >> period))
        return 0;
    return cpus_of(quota, period);
}

// The tightest limit from `group` up to the root of its hierarchy, the root included.
template <typename Limit>
unsigned up_the_hierarchy(const std::string& mount, std::string group, Limit limit)
{
    unsigned tightest = 0;
    for (;;) {
        while (!group.empty() && group.back() == '/')
            group.pop_back();
        const unsigned here = limit(mount + group);
        if (here > 0 && (tightest == 0 || here < tightest))
            tightest = here;
        if (group.empty())
            return tightest;
        group.resize(group.rfind('/') == std::string::npos ? 0 : group.rfind('/'));
    }
}

bool has_cpu_controller(const std::string& controllers)
{
    std::istringstream list(controllers);
    std::string name;
    while (std::getline(list, name, ','))
        if (name == "cpu")
            return true;
    return false;
}

}  // namespace

unsigned cgroup_cpu_limit(const std::string& root, const std::string& membership)
{
    // Lines "ID:CONTROLLERS:PATH": "0::/ci/job" for v2, "4:cpu,cpuacct:/ci/job" for v1.
    std::istringstream lines(membership);
    std::string line;
    unsigned tightest = 0;
    while (std::getline(lines, line)) {
        const size_t first = line.find(':');
        const size_t second = first == std::string::npos ? first : line.find(':', first + 1);
        if (second == std::string::npos)
            continue;
        const std::string controllers = line.substr(first + 1, second - first - 1);
        const std::string group = line.substr(second + 1);
        unsigned limit = 0;
        if (controllers.empty() && line.compare(0, first, "0") == 0)
            limit = up_the_hierarchy(root, group, v2_limit);
        else if (has_cpu_controller(controllers)) {
            limit = up_the_hierarchy(root + "/" + controllers, group, v1_limit);
            if (limit == 0 && controllers != "cpu")
                limit = up_the_hierarchy(root + "/cpu", group, v1_limit);
        }
        if (limit > 0 && (tightest == 0 || limit < tightest))
            tightest = limit;
    }
    return tightest;
}

unsigned cgroup_cpu_limit()
{
    std::ifstream in("/proc/self/cgroup");
    std::ostringstream membership;
    membership << in.rdbuf();
    return cgroup_cpu_limit("/sys/fs/cgroup", membership.str());
}
