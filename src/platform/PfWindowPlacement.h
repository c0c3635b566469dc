#pragma once

struct SDL_Window;

// Where a framed window goes: the frame and title bar are added to the client size, that outer size is
// clamped to the display and centred on it (never left of or above it), and the client area is what
// remains inside the frame. On a display no larger than the client size the title bar so stays on screen
// and the client area shrinks instead.
class PfWindowPlacement
{
public:
    struct Borders
    {
        int top = 0, left = 0, bottom = 0, right = 0;
    };
    struct Rect
    {
        int x = 0, y = 0, w = 0, h = 0;
    };

    // The client area for a client size, the frame's borders and the display's bounds.
    static Rect ComputeClient(int width, int height, const Borders& borders, const Rect& display);
    // Places a window by ComputeClient with its own borders (none known: no frame) and its display.
    static void Apply(SDL_Window* window, int width, int height);
};
