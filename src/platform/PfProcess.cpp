#include "platform/PfProcess.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <malloc.h>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace
{

// A program started without waiting. With a process descriptor (Linux 5.3 and later) the reaper thread
// waits on it and collects the exit the moment it comes; without one, ReapFinished collects it.
struct Child
{
    pid_t m_Pid;
    int m_PidFd; // -1: none
};

// The reaper: one thread, started with the first program, that sleeps in poll() on the started
// programs' process descriptors and a wake-up descriptor. It is stopped and joined when the process
// ends normally; nothing is left running detached.
class Reaper
{
public:
    ~Reaper()
    {
        if (!m_Thread.joinable())
            return;
        m_Stop = true;
        Wake();
        m_Thread.join();
        std::lock_guard<std::mutex> guard(m_Lock);
        for (const Child& child : m_Children)
            if (child.m_PidFd >= 0)
                close(child.m_PidFd);
        if (m_WakeFd >= 0)
            close(m_WakeFd);
    }

    void Add(pid_t pid)
    {
        const int pidFd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
        std::lock_guard<std::mutex> guard(m_Lock);
        m_Children.push_back({pid, pidFd});
        if (pidFd < 0)
            return;
        if (m_WakeFd < 0)
            m_WakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (m_WakeFd >= 0 && !m_Thread.joinable())
            m_Thread = std::thread([this] { Run(); });
        Wake();
    }

    // Collects the ended programs the thread does not watch (those without a process descriptor).
    void ReapUnwatched()
    {
        std::lock_guard<std::mutex> guard(m_Lock);
        const bool watched = m_Thread.joinable();
        auto ended = [watched](const Child& child)
        {
            if (watched && child.m_PidFd >= 0)
                return false;
            if (!Collect(child.m_Pid))
                return false;
            if (child.m_PidFd >= 0)
                close(child.m_PidFd);
            return true;
        };
        m_Children.erase(std::remove_if(m_Children.begin(), m_Children.end(), ended), m_Children.end());
    }

    size_t Count()
    {
        std::lock_guard<std::mutex> guard(m_Lock);
        return m_Children.size();
    }

private:
    // Collects one program's exit if it has ended; true when it is gone (collected now, or no longer a
    // child of this process).
    static bool Collect(pid_t pid)
    {
        const int savedErrno = errno;
        int status = 0;
        pid_t r;
        do
            r = waitpid(pid, &status, WNOHANG);
        while (r < 0 && errno == EINTR);
        errno = savedErrno;
        return r == pid || r < 0;
    }

    void Wake()
    {
        if (m_WakeFd < 0)
            return;
        const uint64_t one = 1;
        ssize_t n;
        do
            n = write(m_WakeFd, &one, sizeof one);
        while (n < 0 && errno == EINTR);
    }

    void Run()
    {
        std::vector<pollfd> fds;
        while (!m_Stop)
        {
            fds.clear();
            {
                std::lock_guard<std::mutex> guard(m_Lock);
                fds.push_back({m_WakeFd, POLLIN, 0});
                for (const Child& child : m_Children)
                    if (child.m_PidFd >= 0)
                        fds.push_back({child.m_PidFd, POLLIN, 0});
            }
            if (poll(fds.data(), fds.size(), -1) < 0)
                continue; // interrupted
            if (fds[0].revents & POLLIN)
            {
                uint64_t count;
                while (read(m_WakeFd, &count, sizeof count) > 0)
                {
                }
            }
            std::lock_guard<std::mutex> guard(m_Lock);
            for (size_t i = 1; i < fds.size(); ++i)
            {
                if (fds[i].revents == 0)
                    continue;
                auto it = std::find_if(m_Children.begin(), m_Children.end(),
                                       [fd = fds[i].fd](const Child& child) { return child.m_PidFd == fd; });
                if (it == m_Children.end() || !Collect(it->m_Pid))
                    continue;
                close(it->m_PidFd);
                m_Children.erase(it);
            }
        }
    }

    std::mutex m_Lock;
    std::vector<Child> m_Children; // not yet collected
    int m_WakeFd = -1;
    std::atomic<bool> m_Stop{false};
    std::thread m_Thread;
};

Reaper& GetReaper()
{
    static Reaper s_Reaper;
    return s_Reaper;
}

std::vector<char*> MakeArgv(std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    return argv;
}

} // namespace

bool PfProcess::Start(const std::vector<std::string>& arguments)
{
    ReapFinished();
    if (arguments.empty() || arguments[0].empty())
        return false;
    std::vector<std::string> copy = arguments;
    std::vector<char*> argv = MakeArgv(copy);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    GetReaper().Add(pid);
    return true;
}

bool PfProcess::Run(const std::vector<std::string>& arguments, int& exitCode)
{
    exitCode = -1;
    if (arguments.empty() || arguments[0].empty())
        return false;
    std::vector<std::string> copy = arguments;
    std::vector<char*> argv = MakeArgv(copy);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    pid_t waited;
    do
        waited = waitpid(pid, &status, 0);
    while (waited < 0 && errno == EINTR);
    if (waited == pid && WIFEXITED(status))
        exitCode = WEXITSTATUS(status);
    return true;
}

void PfProcess::ReapFinished()
{
    GetReaper().ReapUnwatched();
}

size_t PfProcess::GetUnreapedCount()
{
    return GetReaper().Count();
}

long PfProcess::GetCurrentId()
{
    return static_cast<long>(getpid());
}

void PfProcess::SetLargeBlockThreshold(size_t bytes)
{
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(bytes));
}
