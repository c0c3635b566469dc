#include "platform/PfProcess.h"

#include <algorithm>
#include <cerrno>
#include <malloc.h>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{

std::mutex s_Lock;
std::vector<pid_t> s_Started; // not yet reaped

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
    std::lock_guard<std::mutex> guard(s_Lock);
    s_Started.push_back(pid);
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
    std::lock_guard<std::mutex> guard(s_Lock);
    if (s_Started.empty())
        return;
    const int savedErrno = errno;
    auto ended = [](pid_t pid)
    {
        int status = 0;
        pid_t r;
        do
            r = waitpid(pid, &status, WNOHANG);
        while (r < 0 && errno == EINTR);
        // Collected now, or not a child of ours any more (collected elsewhere): either way it is gone.
        return r == pid || r < 0;
    };
    s_Started.erase(std::remove_if(s_Started.begin(), s_Started.end(), ended), s_Started.end());
    errno = savedErrno;
}

size_t PfProcess::GetUnreapedCount()
{
    std::lock_guard<std::mutex> guard(s_Lock);
    return s_Started.size();
}

long PfProcess::GetCurrentId()
{
    return static_cast<long>(getpid());
}

void PfProcess::SetLargeBlockThreshold(size_t bytes)
{
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(bytes));
}
