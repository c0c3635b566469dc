#pragma once

// The keyboard's modifier state as the window system reports it now (not from queued events).
class PfModifierKeys
{
public:
    // Either Ctrl key is held.
    static bool IsCtrlHeld();
};
