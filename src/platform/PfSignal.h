#pragma once

// SIGTERM, SIGINT and SIGHUP as an orderly quit request: the handlers only raise a flag, which start-up
// reads between its steps and the main loop once per pass, and either answers with the normal shut-down
// (settings and progress are saved).
class PfSignal
{
public:
    // Installs the handlers (idempotent); a hang-up ignored when the process started (nohup) stays
    // ignored. SDL's own signal handlers must be kept out (SDL_Init with the hint
    // SDL_HINT_NO_SIGNAL_HANDLERS), or SDL would turn the signals into a close request that a listener
    // could veto.
    static void Install();
    static bool IsQuitRequested();
    // Clears the flag; for tests.
    static void ClearQuitRequest();
    // While on, a termination, interrupt or hang-up signal ends the process at once with status 0 instead of
    // raising the flag. For a box shown at start-up before anything needs saving (the "already running"
    // notice): it waits in the box's own loop, where no main loop reads the flag.
    static void SetExitOnSignal(bool on);
};
