#pragma once

// Receiver of echoed log lines (the in-game debug console). kind: 0 minor error, 1 error, 2 debug.
// Called on whatever thread writes the log line.
class GxDebugListenerBase
{
public:
    virtual ~GxDebugListenerBase() = default;
    virtual void OnOutput(const wchar_t* text, int kind) = 0;
};
