#pragma once

#include "core/GxGameHooks.h"

// The program's composition root: the one place that knows both games. Its start-up hook loads every
// data table, the fonts, the common image sets and effects, the player's settings and progress and the
// script program, creates the strategy game's core and every screen of both games, and hands the first
// screen to the task manager; its shut-down hook empties the pools it filled.
class GxGameRoot final : public GxGameHooks
{
public:
    // The one instance, made on first use and never destroyed (it holds no state of its own).
    static GxGameRoot& Get();
    // Installs the instance as the core's game hooks and the strategy game as the front end's.
    static void Install();

    bool OnGameInit(GxCore& core) override;
    bool OnGameTerm(GxCore& core) override;
};
