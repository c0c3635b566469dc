#include "platform/PfWindow.h"

#include "platform/PfDebugWindow.h"

#include "platform/PfEventTranslator.h"
#include "platform/PfGLDriverOptions.h"
#include "platform/PfInputScript.h"
#include "platform/PfWindowPlacement.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include <algorithm>

#if KV_HAVE_X11
#include <X11/Xlib.h>
#endif

PfWindow::PfWindow() : m_Translator(std::make_unique<PfEventTranslator>()) {}

PfWindow::~PfWindow()
{
    Destroy();
}

bool PfWindow::Create(const std::string& titleUtf8, int width, int height, PfWindowStyle style, PfWindowProc proc,
                      void* user)
{
    Destroy();
    // SIGINT, SIGTERM and SIGHUP are the program's own (an orderly quit that no listener may veto); SDL would
    // otherwise turn them into a close request.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    PfGLDriverOptions::Apply();
    // The video subsystem stays up until the process ends: shutting it down unloads the GL driver
    // libraries, whose allocations then could no longer be told apart from the program's own.
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        m_LastError = SDL_GetError();
        return false;
    }
    m_VideoStarted = true;

    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 && desktop.h > 0)
    {
        width = std::min(width, desktop.w);
        height = std::min(height, desktop.h);
    }
    // The window is only ever sent finished pictures (the device draws into a back buffer of its own and
    // copies it over): it needs no depth or stencil buffer, which a software rasteriser would keep in the
    // process's memory. The buffers' sizes are taken when the window is made.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN;
    if (style == PfWindowStyle::Borderless)
        flags |= SDL_WINDOW_BORDERLESS;
    m_Window =
        SDL_CreateWindow(titleUtf8.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (!m_Window)
    {
        m_LastError = SDL_GetError();
        return false;
    }
    // With its frame known, a framed window keeps its title bar on the display (the frame is counted in
    // the clamp, not only the client area).
    if (style == PfWindowStyle::Framed)
        PfWindowPlacement::Apply(m_Window, width, height);
    m_Proc = proc;
    m_User = user;
    m_EventPointerX = m_EventPointerY = 0;
    // The program takes no text input (no IME composition), and keeps the screen saver off while it runs.
    SDL_StopTextInput();
    SDL_DisableScreenSaver();
    return true;
}

void PfWindow::Destroy()
{
    if (m_Window)
    {
        SDL_DestroyWindow(m_Window);
        m_Window = nullptr;
    }
    m_Captured = false;
    m_Posted.clear();
    m_Translated.clear();
    m_TranslatedNext = 0;
}

void PfWindow::GetClientSize(int& width, int& height) const
{
    width = 0;
    height = 0;
    if (!m_Window)
        return;
    if (SDL_GetWindowFlags(m_Window) & SDL_WINDOW_MINIMIZED)
        return;
    SDL_GetWindowSize(m_Window, &width, &height);
}

void PfWindow::SetClientSize(int width, int height)
{
    if (m_Window)
        SDL_SetWindowSize(m_Window, width, height);
}

void PfWindow::SetTitle(const std::string& titleUtf8)
{
    if (m_Window)
        SDL_SetWindowTitle(m_Window, titleUtf8.c_str());
}

void PfWindow::PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    m_Posted.push_back({message, wParam, lParam});
}

void PfWindow::PostQuitMessage(int exitCode)
{
    m_Posted.push_back({WM_QUIT, static_cast<uintptr_t>(exitCode), 0});
}

bool PfWindow::PeekMessage(GxWindowMessage& message)
{
    if (!m_Posted.empty())
    {
        message = m_Posted.front();
        m_Posted.pop_front();
        return true;
    }
    while (m_TranslatedNext >= m_Translated.size())
    {
        m_Translated.clear();
        m_TranslatedNext = 0;
        if (!m_VideoStarted)
            return false;
        SDL_Event event;
        if (!SDL_PollEvent(&event))
            return false;
        // The debug window takes its own events; they never reach the game window's procedure.
        if (PfDebugWindow::DispatchEvent(event))
            continue;
        if (event.type == SDL_MOUSEMOTION)
            m_EventPointerX = event.motion.x, m_EventPointerY = event.motion.y, m_PointerOver = true;
        else if (event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP)
            m_EventPointerX = event.button.x, m_EventPointerY = event.button.y, m_PointerOver = true;
        else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_LEAVE && !m_Captured)
        {
            // Gone from the window: over nothing of it until it comes back with a motion.
            m_EventPointerX = m_EventPointerY = kPointerOutside;
            m_PointerOver = false;
        }
        m_Translator->Translate(event, m_Translated);
    }
    message = m_Translated[m_TranslatedNext++];
    if (message.message == WM_ACTIVATE && message.wParam == WA_INACTIVE)
        ReleaseCapture();
    return true;
}

intptr_t PfWindow::DispatchMessage(const GxWindowMessage& message)
{
    return SendMessage(message.message, message.wParam, message.lParam);
}

intptr_t PfWindow::SendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (!m_Proc)
        return DefWindowProc(message, wParam, lParam);
    return m_Proc(this, message, wParam, lParam, m_User);
}

intptr_t PfWindow::DefWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_SYSKEYDOWN && wParam == VK_F4 && (lParam & KF_ALTDOWN_BIT))
        return SendMessage(WM_CLOSE, 0, 0);
    return 0;
}

void PfWindow::SetCapture()
{
    m_Captured = true;
    // Not every video driver can capture (offscreen cannot); the flag still decides which button-up
    // messages count.
    if (m_VideoStarted)
        SDL_CaptureMouse(SDL_TRUE);
}

void PfWindow::ReleaseCapture()
{
    if (!m_Captured)
        return;
    m_Captured = false;
    // A captured pointer let go outside the client area gets no leave event: it is gone from the window now.
    int w = 0, h = 0;
    GetClientSize(w, h);
    if (m_EventPointerX < 0 || m_EventPointerY < 0 || m_EventPointerX >= w || m_EventPointerY >= h)
    {
        m_EventPointerX = m_EventPointerY = kPointerOutside;
        m_PointerOver = false;
    }
    if (m_VideoStarted)
        SDL_CaptureMouse(SDL_FALSE);
}

void PfWindow::SetCursorVisible(bool visible)
{
    if (m_VideoStarted)
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

bool PfWindow::IsPointerOver() const
{
    if (!m_Window)
        return false;
    return PfInputScript::GetActive() || m_Captured || m_PointerOver;
}

bool PfWindow::GetCursorPos(int& x, int& y) const
{
    x = 0;
    y = 0;
    if (!m_Window)
        return false;
    if (const PfInputScript* script = PfInputScript::GetActive())
    {
        script->GetPointer(x, y);
        return true;
    }
    x = m_EventPointerX;
    y = m_EventPointerY;
    return true;
}

bool PfWindow::GetDesktopPointer(int& x, int& y)
{
    if (!m_Window)
        return false;
    ++m_DesktopPointerQueries;
    // Only an X desktop lets any program ask where its pointer is.
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(m_Window, &info) || info.subsystem != SDL_SYSWM_X11)
        return false;
#if KV_HAVE_X11
    ::Window root = 0, child = 0;
    int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
    unsigned int buttons = 0;
    // False when the pointer is on another screen of the server than the window.
    if (!XQueryPointer(info.info.x11.display, info.info.x11.window, &root, &child, &rootX, &rootY, &windowX, &windowY,
                       &buttons))
        return false;
    x = windowX;
    y = windowY;
#else
    // Built without the X client library: SDL's copy of the desktop pointer (it follows a pointing device,
    // not a program's warps), less the window's place.
    int globalX = 0, globalY = 0, left = 0, top = 0;
    SDL_GetGlobalMouseState(&globalX, &globalY);
    SDL_GetWindowPosition(m_Window, &left, &top);
    x = globalX - left;
    y = globalY - top;
#endif
    return true;
}
