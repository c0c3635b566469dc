#include "platform/PfWindowPlacement.h"

#include <SDL2/SDL.h>

#include <algorithm>

PfWindowPlacement::Rect PfWindowPlacement::ComputeClient(int width, int height, const Borders& borders,
                                                         const Rect& display)
{
    int outerW = width + borders.left + borders.right;
    int outerH = height + borders.top + borders.bottom;
    if (display.w > 0)
        outerW = std::min(outerW, display.w);
    if (display.h > 0)
        outerH = std::min(outerH, display.h);
    // Halves truncated toward zero.
    const int x = std::max(0, display.w / 2 - outerW / 2);
    const int y = std::max(0, display.h / 2 - outerH / 2);
    Rect client;
    client.x = display.x + x + borders.left;
    client.y = display.y + y + borders.top;
    client.w = std::max(1, outerW - borders.left - borders.right);
    client.h = std::max(1, outerH - borders.top - borders.bottom);
    return client;
}

void PfWindowPlacement::Apply(SDL_Window* window, int width, int height)
{
    if (!window)
        return;
    Borders borders;
    // Known only where the window system tells (X11 once the window is mapped); otherwise no frame.
    if (SDL_GetWindowBordersSize(window, &borders.top, &borders.left, &borders.bottom, &borders.right) != 0)
        borders = Borders();
    const int index = SDL_GetWindowDisplayIndex(window);
    SDL_Rect bounds = {0, 0, 0, 0};
    if (SDL_GetDisplayBounds(index < 0 ? 0 : index, &bounds) != 0)
        bounds = {0, 0, 0, 0};
    const Rect client = ComputeClient(width, height, borders, {bounds.x, bounds.y, bounds.w, bounds.h});
    // SDL places and sizes the client area; the frame goes around it.
    SDL_SetWindowSize(window, client.w, client.h);
    SDL_SetWindowPosition(window, client.x, client.y);
}
