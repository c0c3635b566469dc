#include "platform/PfWindowFullScreen.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#if KV_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

bool PfWindowFullScreen::HasWindowManager(SDL_Window* window)
{
    if (!window)
        return true;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return true;
#if KV_HAVE_X11
    // A compliant window manager names its check window in this root property.
    Display* display = info.info.x11.display;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None)
        return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type,
                                          &format, &count, &after, &data);
    const bool found = status == Success && type == XA_WINDOW && count == 1;
    if (data)
        XFree(data);
    return found;
#else
    return true;
#endif
}

void PfWindowFullScreen::Cover(SDL_Window* window)
{
    if (!window || HasWindowManager(window))
        return;
    const int index = SDL_GetWindowDisplayIndex(window);
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(index < 0 ? 0 : index, &bounds) != 0)
        return;
    // SDL's own full-screen state is dropped first: while it is set, SDL keeps size and place requests
    // for later instead of making them.
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowBordered(window, SDL_FALSE);
    SDL_SetWindowPosition(window, bounds.x, bounds.y);
    SDL_SetWindowSize(window, bounds.w, bounds.h);
    SDL_RaiseWindow(window);
}

void PfWindowFullScreen::NoteChange(SDL_Window* window)
{
    if (!window)
        return;
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_WINDOWEVENT;
    event.window.timestamp = SDL_GetTicks();
    event.window.windowID = SDL_GetWindowID(window);
    event.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
    SDL_GetWindowSize(window, &event.window.data1, &event.window.data2);
    SDL_PushEvent(&event);
}
