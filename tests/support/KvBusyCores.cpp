#include "support/KvBusyCores.h"

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <ctime>

KvBusyCores::KvBusyCores(std::chrono::seconds bound)
{
    const long cores = std::clamp(sysconf(_SC_NPROCESSORS_ONLN), 1L, 16L);
    for (long i = 0; i < cores; ++i)
    {
        const pid_t child = fork();
        if (child == 0)
        {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            // Only async-signal-safe calls in the forked child of a threaded process.
            timespec start = {}, now = {};
            clock_gettime(CLOCK_MONOTONIC, &start);
            do
                clock_gettime(CLOCK_MONOTONIC, &now);
            while (now.tv_sec - start.tv_sec < bound.count());
            _exit(0);
        }
        if (child > 0)
            m_Children.push_back(child);
    }
}

KvBusyCores::~KvBusyCores()
{
    for (pid_t child : m_Children)
        kill(child, SIGKILL);
    for (pid_t child : m_Children)
        waitpid(child, nullptr, 0);
}
