#pragma once

#include "core/GxDebugListenerBase.h"
#include "core/GxMutex.h"

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

// The in-game debug console: the log's echo listener, keeping the last kMaxLines log lines, oldest
// first, for the debug overlay. The game's start-up hook installs the one process-wide instance.
//
// Sound feeding threads and the movie threads write log lines too, so the line list has a lock of its
// own; the overlay draws from a copy taken under it and never holds the lock while drawing.
class GxDebugConsoleOutputEx : public GxDebugListenerBase
{
public:
    static constexpr size_t kMaxLines = 20;

    GxDebugConsoleOutputEx() = default;
    ~GxDebugConsoleOutputEx() override = default;

    // The instance of the process. It lives until the process ends, so a thread that logs during
    // shut-down never reaches a destroyed listener.
    static GxDebugConsoleOutputEx& GetInstance();

    // Appends a copy of the text; beyond kMaxLines lines the oldest is dropped. Any thread. A null text
    // is ignored.
    void OnOutput(const wchar_t* text, int kind) override;
    // The kept lines, oldest first.
    std::vector<std::wstring> GetLines() const;
    void Clear();

private:
    mutable GxMutex m_Mutex;
    std::deque<std::wstring> m_Lines;
};
