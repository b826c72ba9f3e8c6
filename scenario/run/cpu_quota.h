#pragma once
// How many CPUs the process's cgroup lets it use, from its CPU quota, so
// that the default number of jobs fits a CI container limited to fewer
// CPUs than the machine has: cgroup v2's cpu.max, looked up the hierarchy
// from the process's own group (the tightest wins), or v1's
// cpu.cfs_quota_us over cpu.cfs_period_us. A quota of 1.5 CPUs is 2.

#include <string>

// 0 when no quota limits the process. `root` is where the cgroup file
// systems are mounted ("/sys/fs/cgroup"); `membership` is the text of
// /proc/self/cgroup.
unsigned cgroup_cpu_limit(const std::string& root, const std::string& membership);

// The same for this process.
unsigned cgroup_cpu_limit();
