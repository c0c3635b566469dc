#include "support/KvSdlInput.h"

#include <gtest/gtest.h>

#include <cmath>

void KvSdlInput::Push(SDL_Event& event)
{
    event.common.timestamp = SDL_GetTicks();
    EXPECT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

void KvSdlInput::WindowEvent(uint8_t event)
{
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = WindowID();
    e.window.event = event;
    Push(e);
}

void KvSdlInput::Focus(bool gained)
{
    WindowEvent(gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST);
}

void KvSdlInput::Hover(bool entered)
{
    WindowEvent(entered ? SDL_WINDOWEVENT_ENTER : SDL_WINDOWEVENT_LEAVE);
}

void KvSdlInput::MouseTo(int x, int y)
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = WindowID();
    e.motion.x = x;
    e.motion.y = y;
    e.motion.state = m_Held;
    Push(e);
}

void KvSdlInput::Press(int x, int y, uint8_t button)
{
    Button(x, y, button, true);
}

void KvSdlInput::Release(int x, int y, uint8_t button)
{
    Button(x, y, button, false);
}

void KvSdlInput::Button(int x, int y, uint8_t button, bool down)
{
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = WindowID();
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    if (down)
        m_Held |= SDL_BUTTON(button);
    else
        m_Held &= ~SDL_BUTTON(button);
    Push(e);
}

void KvSdlInput::Click(int x, int y, uint8_t button)
{
    MouseTo(x, y);
    Press(x, y, button);
    Release(x, y, button);
}

void KvSdlInput::Wheel(float notches)
{
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = WindowID();
    e.wheel.y = static_cast<Sint32>(std::trunc(notches));
    e.wheel.preciseY = notches;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    Push(e);
}

void KvSdlInput::Key(SDL_Keycode key, bool down)
{
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = WindowID();
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    Push(e);
}
