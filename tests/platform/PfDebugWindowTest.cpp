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

class PfDebugWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Debug.Create());
        m_Window = FindDebugWindow();
        ASSERT_NE(m_Window, nullptr);
    }
    PfDebugWindow m_Debug;
    SDL_Window* m_Window = nullptr;
};

} // namespace

TEST_F(PfDebugWindowTest, StartsHiddenAndAltF11Toggles)
{
    EXPECT_FALSE(m_Debug.IsVisible());
    EXPECT_NE(SDL_GetWindowFlags(m_Window) & SDL_WINDOW_HIDDEN, 0u);
    int w = 0, h = 0;
    SDL_GetWindowSize(m_Window, &w, &h);
    EXPECT_EQ(w, 240);
    EXPECT_EQ(h, 320);

    // F11 without Alt does nothing.
    EXPECT_TRUE(PfDebugWindow::DispatchEvent(KeyEvent(m_Window, SDLK_F11, KMOD_NONE)));
    EXPECT_FALSE(m_Debug.IsVisible());
    EXPECT_TRUE(PfDebugWindow::DispatchEvent(KeyEvent(m_Window, SDLK_F11, KMOD_LALT)));
    EXPECT_TRUE(m_Debug.IsVisible());
    EXPECT_TRUE(PfDebugWindow::DispatchEvent(KeyEvent(m_Window, SDLK_F11, KMOD_RALT)));
    EXPECT_FALSE(m_Debug.IsVisible());
}

TEST_F(PfDebugWindowTest, CloseOnlyHides)
{
    m_Debug.Toggle();
    ASSERT_TRUE(m_Debug.IsVisible());
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = SDL_GetWindowID(m_Window);
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    EXPECT_TRUE(PfDebugWindow::DispatchEvent(event));
    EXPECT_FALSE(m_Debug.IsVisible());
    EXPECT_TRUE(m_Debug.Exists());
}

TEST_F(PfDebugWindowTest, EventsOfOtherWindowsAreNotTaken)
{
    SDL_Event event = KeyEvent(m_Window, SDLK_F11, KMOD_LALT);
    event.key.windowID += 1000;
    EXPECT_FALSE(PfDebugWindow::DispatchEvent(event));
    EXPECT_FALSE(m_Debug.IsVisible());
    m_Debug.Destroy();
    EXPECT_FALSE(PfDebugWindow::DispatchEvent(KeyEvent(m_Window, SDLK_F11, KMOD_LALT)));
}

TEST_F(PfDebugWindowTest, PaintDrawsDarkTextOnWhite)
{
    m_Debug.Paint("Error/\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88 WWWW\n");
    EXPECT_FALSE(m_Debug.NeedsPaint());
    SDL_Surface* surface = SDL_GetWindowSurface(m_Window);
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
