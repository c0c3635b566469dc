// One swap chain of the OpenGL device: an off-screen colour target of the back-buffer size and the window it
// is shown in. Present shows the colour target in the window's drawable area, scaled uniformly and centred
// between black bars unless a destination is given (turning it upside down, since the engine's rows run top
// first), and swaps the window's buffers, or copies the changed part of the window's back buffer to the
// screen where the platform can and the window keeps no picture of its own.
#pragma once

#include "platform/PfD3DTypes.h"
#include "platform/PfGLTexture.h"

#include <functional>

class PfGLSwapChain
{
public:
    PfGLSwapChain() = default;
    ~PfGLSwapChain() = default;
    PfGLSwapChain(const PfGLSwapChain&) = delete;
    PfGLSwapChain& operator=(const PfGLSwapChain&) = delete;

    PfResult Create(const D3DPRESENT_PARAMETERS& params);
    void Destroy();
    bool IsCreated() const { return m_BackBuffer.IsCreated(); }

    // The one back buffer (index 0).
    PfGLTexture* GetBackBuffer() { return m_BackBuffer.IsCreated() ? &m_BackBuffer : nullptr; }
    const D3DPRESENT_PARAMETERS& GetPresentParameters() const { return m_Params; }

    // source and dest are rectangles of the back buffer and of the window (null: all of it); window null
    // means the chain's own window. damage, when given, is the part of the back buffer that changed since
    // the last present, which showed the rest in the same window the same way: where the window keeps its
    // picture between presents (WindowKeepsPicture) only that part is sent, and sentPart says so.
    PfResult Present(const PfRect* source, const PfRect* dest, PfWindowHandle window, const PfRect* damage = nullptr,
                     bool* sentPart = nullptr);
    // The window's drawable still holds the last presented picture when the next frame starts: the driver
    // says its buffer age is 1, or the surface keeps its contents across a swap (a pixel buffer, which a swap
    // leaves alone, or a surface whose swap preserves them). Asked of the current context's surface.
    static bool WindowKeepsPicture();
    // The platform copies a rectangle of the window's back buffer to the screen without a swap (GLX on X11
    // with GLX_MESA_copy_sub_buffer), for the current context's window.
    static bool CanCopySubBuffer();
    // The last present drew for the size the window system gave the window's drawable then. False while
    // the server has not yet applied a size SDL already reports (or has applied one SDL does not report
    // yet): the picture went through a buffer of another size and may show cut, squeezed or not at all.
    // Where no server can be asked (anything but GLX), true.
    bool WasShownAtDrawableSize() const { return m_ShownAtDrawableSize; }
    // Tests: the window system reports this size for the window's drawable, as a server that applies a
    // resize late does; 0 x 0 asks the server again.
    void InjectDrawableSize(int32_t width, int32_t height) { m_InjectedDrawable = {0, 0, width, height}; }
    // Presents that had the window's buffer take the window's size (software GL sizes it only then).
    uint64_t GetSizeNoticeCount() const { return m_SizeNotices; }
    // The steps of a present: the window's size looked at, the picture drawn into the window's back
    // buffer, the picture sent to the screen.
    enum class PresentStep
    {
        Looked,
        Drawn,
        Sent
    };
    // Tests: called at each step of every present, as a debugger stopped there would be, with whether only
    // the changed part is (to be) sent; null stops it.
    void WatchSteps(std::function<void(PresentStep step, bool part)> watch) { m_StepWatch = std::move(watch); }

private:
    static void CopySubBuffer(int32_t x, int32_t y, int32_t width, int32_t height);
    // The size the window system has for the window's drawable now: the current GLX drawable's on the X
    // server (one round trip), or the injected one. False where it cannot be told. SDL's size lags a resize
    // made from outside until its event is read, while software GLX sizes its buffer from the server's.
    bool DrawableSize(int32_t& width, int32_t& height) const;
    // The X server gave the current GLX drawable a size other than width x height, and its notice waits
    // unread in the queue: told after SDL last read the window's size, before any later answer.
    static bool ResizeQueued(int32_t width, int32_t height);

    D3DPRESENT_PARAMETERS m_Params = {};
    // The last present copied a part of the window's back buffer (no swap), which therefore still holds
    // the whole picture: the window, and its drawable size then.
    bool m_CopiedPart = false;
    PfWindowHandle m_CopiedWindow = nullptr;
    int32_t m_CopiedWidth = 0;
    int32_t m_CopiedHeight = 0;
    bool m_ShownAtDrawableSize = true;
    uint64_t m_SizeNotices = 0;
    PfRect m_InjectedDrawable = {};
    std::function<void(PresentStep, bool)> m_StepWatch;
    PfGLTexture m_BackBuffer;
};
