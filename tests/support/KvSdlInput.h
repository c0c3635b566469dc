#pragma once

#include <SDL2/SDL.h>

#include <cstdint>

// Input for one SDL window pushed into SDL's event queue as the desktop would send it, so that it takes
// the program's own path: the core's message pump, the event translator, the window procedure and the
// task manager's walks. Nothing is delivered until the core next pumps its messages.
//
// Positions are client-area pixels; outside the client area is allowed (a pointer held past the edge).
// Under the offscreen and dummy drivers the window's cursor follows these events (there is no desktop
// pointer to ask), so a screen that polls the cursor sees the last motion or button position.
//
// The wheel: SDL counts whole notches in `y` (fractions build up until they make one) and the exact
// amount in `preciseY`; the core turns the whole notches into a delta of 120 each, so a half notch
// (y 0, preciseY 0.5) reaches nobody and three notches arrive as one event of 360.
class KvSdlInput
{
public:
    explicit KvSdlInput(SDL_Window* window = nullptr) : m_Window(window) {}

    void SetWindow(SDL_Window* window) { m_Window = window; }
    // The window gains (or loses) the keyboard focus: the core's active flag follows.
    void Focus(bool gained = true);
    // The pointer comes over the window (entered) or goes off it.
    void Hover(bool entered);
    // A motion to (x, y) carrying the buttons held.
    void MouseTo(int x, int y);
    // A button goes down or up at (x, y) (no motion first: call MouseTo for a pointer that travels).
    void Press(int x, int y, uint8_t button = SDL_BUTTON_LEFT);
    void Release(int x, int y, uint8_t button = SDL_BUTTON_LEFT);
    // Motion, press and release at one place.
    void Click(int x, int y, uint8_t button = SDL_BUTTON_LEFT);
    // A wheel turn of `notches` (negative towards the user); see above for fractions.
    void Wheel(float notches);
    // A key by its SDL keycode, with the scancode of the default keymap.
    void Key(SDL_Keycode key, bool down);
    void Tap(SDL_Keycode key) { Key(key, true), Key(key, false); }

private:
    void Button(int x, int y, uint8_t button, bool down);
    void WindowEvent(uint8_t event);
    void Push(SDL_Event& event);
    uint32_t WindowID() const { return m_Window ? SDL_GetWindowID(m_Window) : 0; }

    SDL_Window* m_Window = nullptr;
    uint32_t m_Held = 0;
};
