#include "platform/PfFontconfigStart.h"

#include <fontconfig/fontconfig.h>

#include <system_error>
#include <thread>

namespace
{

enum class State
{
    Idle,    // nothing loaded, no thread
    Loading, // the thread runs or has not been joined
    Done,    // joined; up tells how it went
};

struct Start
{
    State state = State::Idle;
    std::thread thread;
    // Written by the thread, read after the join.
    bool up = false;
    bool reported = false;
    PfFontconfigStart::Loader loader = nullptr;
    PfFontconfigStart::FailureLog log = nullptr;
};

Start& TheStart()
{
    // Never destroyed: the faces' clean-up at exit (Shutdown) may run after static destructors, and a
    // loading still under way when the program ends simply ends with it.
    static Start* s_Start = new Start();
    return *s_Start;
}

PfFontconfigStart::Loader LoaderOf(const Start& start)
{
    return start.loader ? start.loader : PfFontconfigStart::LoadConfiguration;
}

} // namespace

void PfFontconfigStart::Begin()
{
    Start& start = TheStart();
    if (start.state != State::Idle)
        return;
    const Loader loader = LoaderOf(start);
    start.up = false;
    start.reported = false;
    try
    {
        start.thread = std::thread([&start, loader] { start.up = loader(); });
        start.state = State::Loading;
    }
    catch (const std::system_error&)
    {
        // No thread to be had: the first lookup loads on its own thread, as without Begin.
    }
}

bool PfFontconfigStart::Wait()
{
    Start& start = TheStart();
    if (start.state == State::Idle)
    {
        start.up = LoaderOf(start)();
        start.reported = false;
    }
    else if (start.thread.joinable())
        start.thread.join();
    start.state = State::Done;
    if (!start.up && !start.reported)
    {
        start.reported = true;
        if (start.log)
            start.log("fontconfig could not load its configuration: no outline font can be found, text is not drawn");
    }
    return start.up;
}

void PfFontconfigStart::Shutdown()
{
    Start& start = TheStart();
    if (start.thread.joinable())
        start.thread.join();
    if (start.state != State::Idle && start.up)
        FcFini();
    start.state = State::Idle;
    start.up = false;
    start.reported = false;
}

bool PfFontconfigStart::IsPending()
{
    return TheStart().state == State::Loading;
}

void PfFontconfigStart::SetFailureLog(FailureLog log)
{
    TheStart().log = log;
}

void PfFontconfigStart::SetLoader(Loader loader)
{
    TheStart().loader = loader;
}

bool PfFontconfigStart::LoadConfiguration()
{
    return FcInit() != FcFalse;
}
