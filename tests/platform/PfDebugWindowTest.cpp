#include "platform/PfDebugWindow.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace
{

SDL_Window* FindDebugWindow()
{
    for (Uint32 id = 1; id < 64; ++id)
    {
        SDL_Window* window = SDL_GetWindowFromID(id);
        if (window != nullptr && SDL_strcmp(SDL_GetWindowTitle(window), "DebugWindow") == 0)
            return window;
    }
    return nullptr;
}

SDL_Event KeyEvent(SDL_Window* window, SDL_Keycode key, Uint16 mod)
{
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_KEYDOWN;
    event.key.windowID = SDL_GetWindowID(window);
    event.key.keysym.sym = key;
    event.key.keysym.mod = mod;
    return event;
}

} // namespace

TEST(PfDebugWindow, StartsHiddenAndAltF11Toggles)
{
    PfDebugWindow debug;
    ASSERT_TRUE(debug.Create());
    SDL_Window* window = FindDebugWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(debug.IsVisible());
    EXPECT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_HIDDEN, 0u);
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    EXPECT_EQ(w, 240);
    EXPECT_EQ(h, 320);

    // F11 without Alt does nothing.
    EXPECT_TRUE(PfDebugWindow::DispatchEvent(KeyEvent(window, SDLK_F11, KMOD_NONE)));
    EXPECT_FALSE(debug.IsVisible());
    EXPECT_TRUE(PfDebugWindow::DispatchEvent(KeyEvent(window, SDLK_F11, KMOD_LALT)));
    EXPECT_TRUE(debug.IsVisible());
    EXPECT_TRUE(PfDebugWindow::DispatchEvent(KeyEvent(window, SDLK_F11, KMOD_RALT)));
    EXPECT_FALSE(debug.IsVisible());
}

TEST(PfDebugWindow, CloseOnlyHides)
{
    PfDebugWindow debug;
    ASSERT_TRUE(debug.Create());
    SDL_Window* window = FindDebugWindow();
    ASSERT_NE(window, nullptr);
    debug.Toggle();
    ASSERT_TRUE(debug.IsVisible());
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = SDL_GetWindowID(window);
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    EXPECT_TRUE(PfDebugWindow::DispatchEvent(event));
    EXPECT_FALSE(debug.IsVisible());
    EXPECT_TRUE(debug.Exists());
}

TEST(PfDebugWindow, EventsOfOtherWindowsAreNotTaken)
{
    PfDebugWindow debug;
    ASSERT_TRUE(debug.Create());
    SDL_Window* window = FindDebugWindow();
    ASSERT_NE(window, nullptr);
    SDL_Event event = KeyEvent(window, SDLK_F11, KMOD_LALT);
    event.key.windowID += 1000;
    EXPECT_FALSE(PfDebugWindow::DispatchEvent(event));
    EXPECT_FALSE(debug.IsVisible());
    debug.Destroy();
    EXPECT_FALSE(PfDebugWindow::DispatchEvent(KeyEvent(window, SDLK_F11, KMOD_LALT)));
}

TEST(PfDebugWindow, PaintDrawsDarkTextOnWhite)
{
    PfDebugWindow debug;
    ASSERT_TRUE(debug.Create());
    SDL_Window* window = FindDebugWindow();
    ASSERT_NE(window, nullptr);
    debug.Paint("Error/\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88 WWWW\n");
    EXPECT_FALSE(debug.NeedsPaint());
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    ASSERT_NE(surface, nullptr);
    ASSERT_EQ(SDL_LockSurface(surface), 0);
    int dark = 0, white = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < surface->w; ++x)
        {
            Uint32 pixel = 0;
            SDL_memcpy(&pixel,
                       static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * surface->format->BytesPerPixel,
                       surface->format->BytesPerPixel);
            Uint8 r, g, b;
            SDL_GetRGB(pixel, surface->format, &r, &g, &b);
            if (r < 96)
                ++dark;
            else if (r == 255)
                ++white;
        }
    SDL_UnlockSurface(surface);
    EXPECT_GT(dark, 20);
    EXPECT_GT(white, 2000);
}
