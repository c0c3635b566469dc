// Readings of whole processes for the cost benchmarks: the machine's load beside each figure, and a
// process's processor time from /proc.
#pragma once

#include <sys/types.h>

// The one-minute load average, 0 when it cannot be read.
double BenchLoadAverage();
// User and system time of a process, all its threads, in seconds; -1 when it cannot be read.
double BenchProcessCpuSeconds(pid_t pid);
