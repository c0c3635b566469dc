#pragma once

#include "core/GxCore.h"

#include <memory>
#include <string>

// The engine's core started as the program starts it, on the generated sample game (made the working
// folder), with a scratch save folder of its own: settings, user data, the task manager with its render
// lists and screen service, then the game's initialisation. The core becomes g_Core. The device must be
// open first.
class BenchGameCore
{
public:
    BenchGameCore() = default;
    // Deletes the core, then removes the save folder.
    ~BenchGameCore();
    BenchGameCore(const BenchGameCore&) = delete;
    BenchGameCore& operator=(const BenchGameCore&) = delete;

    // False when the save folder cannot be made or the game's initialisation fails.
    bool Start();
    GxCore* Get() const { return m_Core.get(); }
    GxCore* operator->() const { return m_Core.get(); }

private:
    std::unique_ptr<GxCore> m_Core;
    std::string m_SaveFolder;
};
