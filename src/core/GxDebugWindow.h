#pragma once

#include <string>

// The developer's debug window: a ring of the last 32 error lines (261 characters each at most) shown
// in a small second window that Alt+F11 toggles while it has the focus. Where no window can be opened
// the ring is kept all the same, and its text can be read back.
//
// Every counted error line of GxLog enters the ring; the frame repaints the window when the ring has
// changed. Lines may come from any thread; the window is only touched from the main thread.
class GxDebugWindow
{
public:
    static constexpr int LineCount = 32;
    static constexpr int LineLength = 261; // characters, the terminator not counted

    // Empties the ring and clears the visible and dirty flags.
    static void Clear();
    // Opens the window, hidden; true when a window exists.
    static bool Create();
    static bool Exists();
    static bool IsVisible();
    static bool IsDirty();
    // Shows or hides the window, as Alt+F11 does.
    static void Toggle();
    // Hides it (the close message): the window stays, the visible flag is cleared.
    static void Hide();
    // Closes and forgets the window (shut-down).
    static void Destroy();

    // Adds one line (cut to LineLength characters) and marks the window dirty.
    static void AddLine(const std::wstring& text);
    // The ring's lines joined oldest first.
    static std::wstring GetText();
    // Draws the ring into the window and clears the dirty flag.
    static void Paint();
    // Once per frame: repaints when the window exists and the ring changed or the window was exposed.
    static void PaintIfDirty();
};
