#pragma once

#include "platform/GxWindowMessage.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

struct SDL_Window;
class PfEventTranslator;
class PfWindow;

// The window procedure: receives every message dispatched to or sent to the window.
using PfWindowProc = intptr_t (*)(PfWindow* window, uint32_t message, uintptr_t wParam, intptr_t lParam, void* user);

enum class PfWindowStyle
{
    Framed,    // title bar with close and minimise buttons
    Borderless // a plain pop-up of exactly the requested size
};

// The program's one top-level window, an SDL window made with SDL_WINDOW_OPENGL so that the graphics
// device can create its GL context on it. It keeps the Windows message model the engine is written
// against: a queue of posted messages in front of the translated SDL events, a procedure to which
// messages are dispatched or sent, a default procedure, and mouse capture.
class PfWindow
{
public:
    PfWindow();
    ~PfWindow();

    PfWindow(const PfWindow&) = delete;
    PfWindow& operator=(const PfWindow&) = delete;

    // Opens the video subsystem and creates the window with a client area of the given size, limited
    // to the desktop and centred on it (a framed window with its frame counted, PfWindowPlacement), shown. False (with
    // an SDL error kept for GetLastError) when either fails.
    bool Create(const std::string& titleUtf8, int width, int height, PfWindowStyle style, PfWindowProc proc,
                void* user);
    void Destroy();
    bool Exists() const { return m_Window != nullptr; }

    SDL_Window* GetSDLWindow() const { return m_Window; }
    // The client area in window coordinates, the coordinates of mouse messages; 0 x 0 when minimised
    // or absent.
    void GetClientSize(int& width, int& height) const;
    void SetClientSize(int width, int height);
    void SetTitle(const std::string& titleUtf8);
    const std::string& GetLastError() const { return m_LastError; }

    // Messages.
    void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void PostQuitMessage(int exitCode);
    // Takes the next message without waiting: posted messages first, then translated SDL events.
    bool PeekMessage(GxWindowMessage& message);
    intptr_t DispatchMessage(const GxWindowMessage& message);
    intptr_t SendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    // What the system does with a message the procedure leaves alone: Alt+F4 becomes a close request.
    intptr_t DefWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam);

    // Mouse capture: while held, the mouse keeps reporting to this window outside its client area.
    void SetCapture();
    void ReleaseCapture();
    bool HasCapture() const { return m_Captured; }

    void SetCursorVisible(bool visible);
    // The cursor in client coordinates (false when the window does not exist): where the last mouse
    // event taken off the queue put it, outside the client area included while the mouse is captured, and
    // (kPointerOutside, kPointerOutside) once it has left the window uncaptured.
    bool GetCursorPos(int& x, int& y) const;
    static constexpr int kPointerOutside = -1;
    // Whether the pointer is over the client area, or held by this window's capture wherever it is. False
    // until a mouse event has placed it, once it has left the window uncaptured, and once a capture is let
    // go with the pointer outside (no leave follows then). A recorded input script always has its pointer.
    bool IsPointerOver() const;
    // Where the desktop has the pointer now, in client coordinates, so wherever it is off the window too.
    // False, with x and y left alone, where there is no desktop pointer to ask: the offscreen and dummy
    // drivers, window systems that keep it from programs (Wayland), the pointer on another X screen, or
    // no window. On X the server is asked each time (when built with its client library): SDL's own copy
    // of the desktop pointer is refreshed on raw device input only, so a pointer placed by a program
    // (XWarpPointer, xdotool) would leave it stale. Where the server is slow each ask waits on it, so
    // callers ask sparingly (GxCore asks at most once a frame).
    bool GetDesktopPointer(int& x, int& y);
    // How many times the window system has been asked for the desktop pointer, over this object's life.
    uint64_t GetDesktopPointerQueries() const { return m_DesktopPointerQueries; }

private:
    SDL_Window* m_Window = nullptr;
    bool m_VideoStarted = false;
    bool m_Captured = false;
    int m_EventPointerX = 0;
    int m_EventPointerY = 0;
    bool m_PointerOver = false;
    uint64_t m_DesktopPointerQueries = 0;
    PfWindowProc m_Proc = nullptr;
    void* m_User = nullptr;
    std::deque<GxWindowMessage> m_Posted;
    std::vector<GxWindowMessage> m_Translated;
    size_t m_TranslatedNext = 0;
    std::unique_ptr<PfEventTranslator> m_Translator;
    std::string m_LastError;
};
