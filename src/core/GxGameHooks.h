#pragma once

class GxCore;

// What the game adds to the core's start-up and shut-down. The core knows the game only through this:
// the game's composition root (game/GxGameRoot) implements it, and the entry function installs it with
// GxCore::SetGameHooks before the core starts, as does every test or benchmark that starts a core the way
// the program does.
class GxGameHooks
{
public:
    virtual ~GxGameHooks() = default;

    // After every device exists: loads the tables, fonts, image sets, settings, progress and the script
    // program, builds every screen and switches to the first one.
    virtual bool OnGameInit(GxCore& core) = 0;
    // After the task manager, and with it every screen, has gone: gives back what start-up took.
    virtual bool OnGameTerm(GxCore& core) = 0;
};
