#include "platform/PfSignal.h"

#include <csignal>

static volatile std::sig_atomic_t s_QuitRequested = 0;

static void OnQuitSignal(int)
{
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
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
}

bool PfSignal::IsQuitRequested()
{
    return s_QuitRequested != 0;
}

void PfSignal::ClearQuitRequest()
{
    s_QuitRequested = 0;
}
