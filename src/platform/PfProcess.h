#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Other programs started from this one, always from an argument vector and never through a shell, and
// this process's own settings with the system.
//
// A program started without waiting (the developer's text editor) is a child until its exit status is
// collected. A reaper thread, started with the first such program and joined when the process ends,
// sleeps on the programs' process descriptors and collects each exit as it comes, so no ended child
// stays a zombie and no thread is left detached. Where the system has no process descriptors the main
// loop's ReapFinished collects them instead (every Start calls it too).
class PfProcess
{
public:
    // Starts a program without waiting for it; the first argument names it (searched in PATH when it
    // has no '/'). False when it cannot be started.
    static bool Start(const std::vector<std::string>& arguments);
    // Runs a program (the first argument is its path, not searched) and waits for it to end. False when
    // it cannot be started; otherwise exitCode is its exit status, or -1 when it did not exit by itself
    // (killed by a signal).
    static bool Run(const std::vector<std::string>& arguments, int& exitCode);
    // Collects the exit of every started program that has ended and that the reaper thread does not
    // watch; never waits.
    static void ReapFinished();
    // Started programs whose exit has not been collected yet.
    static size_t GetUnreapedCount();

    // This process's identifier.
    static long GetCurrentId();
    // Memory blocks of at least this many bytes come from the system and go back to it when freed, and
    // the allocator does not raise the threshold on its own.
    static void SetLargeBlockThreshold(size_t bytes);
};
