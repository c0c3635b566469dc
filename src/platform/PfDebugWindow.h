#pragma once

#include <cstdint>
#include <string>

union SDL_Event;
struct SDL_Window;
struct FT_LibraryRec_;
struct FT_FaceRec_;

// The developer's small text window: a second SDL window of 240 x 320 pixels at (0, 0), titled
// "DebugWindow", created hidden. Alt+F11 while it has the keyboard focus shows or hides it; closing it
// only hides it. Its text is drawn with a Japanese-capable font found through fontconfig (looked up at the
// first paint), black on white, broken at the window's width.
class PfDebugWindow
{
public:
    PfDebugWindow();
    ~PfDebugWindow();
    PfDebugWindow(const PfDebugWindow&) = delete;
    PfDebugWindow& operator=(const PfDebugWindow&) = delete;

    // Opens the (hidden) window; false when no window can be opened here.
    bool Create();
    void Destroy();
    bool Exists() const { return m_Window != nullptr; }
    bool IsVisible() const { return m_Visible; }
    // Shows without taking the focus, or hides.
    void Toggle();
    void Hide();
    // True once the window needs painting again (it was exposed or resized).
    bool NeedsPaint() const { return m_NeedsPaint; }
    // Draws the UTF-8 text into the window.
    void Paint(const std::string& text);

    // Hands an event to the open debug window; true when the event was the debug window's own.
    static bool DispatchEvent(const SDL_Event& event);

private:
    bool HandleEvent(const SDL_Event& event);
    bool OpenFont();

    SDL_Window* m_Window = nullptr;
    uint32_t m_WindowId = 0;
    bool m_Visible = false;
    bool m_NeedsPaint = false;
    bool m_OwnsVideo = false;
    FT_LibraryRec_* m_FontLibrary = nullptr;
    FT_FaceRec_* m_Face = nullptr;
    // The font is looked up once, at the first paint.
    bool m_FontTried = false;
};
