#include "support/KvXServer.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{

constexpr int kDefaultFirstDisplay = 90, kDisplays = 40;
// A server on a loaded machine may take many seconds to come up; one that has not by then never will.
constexpr int kStartTimeoutMs = 120000;

std::string FindOnPath(const char* name)
{
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':'))
    {
        const std::string file = (dir.empty() ? "." : dir) + "/" + name;
        if (access(file.c_str(), X_OK) == 0)
            return file;
    }
    return std::string();
}

// Waits up to ms for the process to end; true when it has (and was reaped).
bool Reap(pid_t pid, int ms)
{
    for (int waited = 0; waited <= ms; waited += 10)
    {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// The first display number to try: KV_X_DISPLAY_BASE when it names one, so two suites (or other servers)
// on one machine can keep to ranges of their own.
int FirstDisplay()
{
    const char* base = std::getenv("KV_X_DISPLAY_BASE");
    if (!base || !*base)
        return kDefaultFirstDisplay;
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(base, &end, 10);
    if (errno == 0 && *end == '\0' && number >= 0 && number <= 65535 - kDisplays)
        return static_cast<int>(number);
    std::fprintf(stderr, "KvXServer: KV_X_DISPLAY_BASE=\"%s\" is not a display number from 0 to %d; using :%d\n", base,
                 65535 - kDisplays, kDefaultFirstDisplay);
    return kDefaultFirstDisplay;
}

} // namespace

bool KvXServer::Start(int width, int height)
{
    Stop();
    if (!TryStart(width, height))
    {
        // Under CI a machine without a working Xvfb must not pass the window cases by skipping them all.
        const char* ci = std::getenv("CI");
        if (ci && std::string(ci) == "true")
            ADD_FAILURE() << "no X server under CI (CI=true): " << m_Why;
        return false;
    }
    return true;
}

bool KvXServer::TryStart(int width, int height)
{
    const std::string xvfb = FindOnPath("Xvfb");
    if (xvfb.empty())
    {
        m_Why = "Xvfb is not installed";
        return false;
    }
    const int first = FirstDisplay();
    for (int number = first; number < first + kDisplays; ++number)
    {
        if (!Launch(xvfb, number, width, height))
        {
            if (m_Why.empty())
                continue;
            return false;
        }
        m_Display = ":" + std::to_string(number);
        SetEnv("DISPLAY", m_Display.c_str());
        SetEnv("SDL_VIDEODRIVER", "x11");
        return true;
    }
    m_Why = "no free X display from :" + std::to_string(first) + " to :" + std::to_string(first + kDisplays - 1);
    return false;
}

bool KvXServer::Launch(const std::string& xvfb, int number, int width, int height)
{
    m_Why.clear();
    // The server writes its display number to this pipe once it accepts connections (-displayfd); a
    // server that finds the number taken exits without writing, which closes the pipe.
    int ready[2];
    if (pipe(ready) != 0)
    {
        m_Why = "pipe failed";
        return false;
    }
    fcntl(ready[0], F_SETFD, FD_CLOEXEC);
    const std::string display = ":" + std::to_string(number);
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const std::string fd = std::to_string(ready[1]);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0)
    {
        close(ready[0]);
        close(ready[1]);
        m_Why = "fork failed";
        return false;
    }
    if (pid == 0)
    {
        // Only async-signal-safe calls from here: the test process may already have threads.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(1);
        const int null = open("/dev/null", O_RDWR);
        if (null >= 0)
        {
            dup2(null, 0);
            dup2(null, 1);
            dup2(null, 2);
        }
        execl(xvfb.c_str(), "Xvfb", display.c_str(), "-nolisten", "tcp", "-screen", "0", screen.c_str(), "-br",
              "-displayfd", fd.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    std::string answer;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
    bool closed = false;
    while (answer.find('\n') == std::string::npos && !closed)
    {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now()).count();
        if (left <= 0)
            break;
        pollfd p = {ready[0], POLLIN, 0};
        const int n = poll(&p, 1, static_cast<int>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        char buffer[16];
        const ssize_t got = read(ready[0], buffer, sizeof buffer);
        if (got > 0)
            answer.append(buffer, static_cast<size_t>(got));
        else if (got == 0 || errno != EINTR)
            closed = true;
    }
    close(ready[0]);
    if (answer.find('\n') != std::string::npos && std::atoi(answer.c_str()) == number)
    {
        m_Pid = pid;
        return true;
    }
    kill(pid, SIGKILL);
    Reap(pid, 2000);
    // A server that exited at once found its number taken: the caller tries the next. One that hung
    // will not do better on another number.
    if (!closed)
        m_Why = "Xvfb did not come up on " + display + " within " + std::to_string(kStartTimeoutMs) + " ms";
    return false;
}

void KvXServer::SetEnv(const char* name, const char* value)
{
    const char* old = std::getenv(name);
    m_Saved[m_SavedCount++] = {name, old ? old : "", old != nullptr};
    setenv(name, value, 1);
}

void KvXServer::Stop()
{
    if (m_Pid <= 0)
        return;
    // SDL keeps its video subsystem (and with it a connection to this server) up once started; a
    // connection whose server is gone ends the process at its next use.
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    for (int i = m_SavedCount - 1; i >= 0; --i)
    {
        if (m_Saved[i].had)
            setenv(m_Saved[i].name.c_str(), m_Saved[i].value.c_str(), 1);
        else
            unsetenv(m_Saved[i].name.c_str());
    }
    m_SavedCount = 0;
    kill(m_Pid, SIGTERM);
    if (!Reap(m_Pid, 5000))
    {
        kill(m_Pid, SIGKILL);
        Reap(m_Pid, 2000);
    }
    m_Pid = -1;
    m_Display.clear();
}
