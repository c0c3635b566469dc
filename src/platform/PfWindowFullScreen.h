#pragma once

struct SDL_Window;

// Full screen on any desktop. SDL makes a window full screen by asking the window manager for it and from
// then on takes the window to cover the display. On an X server without a window manager nobody answers:
// the window keeps its old size and place while the picture is fitted to the display's size, so it shows
// enlarged and cut off. There the window is instead made borderless and laid over the display by hand.
class PfWindowFullScreen
{
public:
    // After the window was switched to full screen: makes sure it really covers its display.
    static void Cover(SDL_Window* window);
    // Whether something will act on a full-screen request: an X window manager announcing itself on the
    // root window, or any window system other than X (Wayland compositors, the offscreen driver).
    static bool HasWindowManager(SDL_Window* window);
    // After a screen-mode switch: the window reports its (new) size as a window event, which the program
    // takes like a resize by the user (the cursor rules run again, the frame timer restarts).
    static void NoteChange(SDL_Window* window);
};
