#include "platform/PfSignal.h"

#include <atomic>
#include <csignal>
#include <initializer_list>
#include <unistd.h>

// The kernel gives a process's signal to any of its threads that does not block it (a sound feeder, a
// driver's worker), while the main loop reads the flag: a lock-free atomic is both safe in a handler and
// seen across threads, where a volatile sig_atomic_t is only the former.
static_assert(std::atomic<int>::is_always_lock_free);
static std::atomic<int> s_QuitRequested{0};
static std::atomic<int> s_ExitOnSignal{0};

static void OnQuitSignal(int)
{
    if (s_ExitOnSignal)
        _exit(0); // async-signal-safe; the box's window goes with the process
    s_QuitRequested = 1;
}

void PfSignal::Install()
{
    struct sigaction sa
    {
    };
    sa.sa_handler = OnQuitSignal;
    sigemptyset(&sa.sa_mask);
    // No SA_RESTART: a sleeping frame timer wakes up at once and the loop sees the request.
    sa.sa_flags = 0;
    // A hang-up (the terminal that started the game closed, the session ended) is answered like a
    // termination: left to its default it would end the process without the exit writes. One that
    // whoever started the game already ignores (nohup) stays ignored: the game is meant to outlive its
    // terminal then.
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
    {
        struct sigaction old
        {
        };
        if (sig == SIGHUP && sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN)
            continue;
        sigaction(sig, &sa, nullptr);
    }
}

bool PfSignal::IsQuitRequested()
{
    return s_QuitRequested != 0;
}

void PfSignal::ClearQuitRequest()
{
    s_QuitRequested = 0;
}

void PfSignal::SetExitOnSignal(bool on)
{
    s_ExitOnSignal = on ? 1 : 0;
    // A request that came in just before the box opened ends the program as well.
    if (on && s_QuitRequested)
        _exit(0);
}
