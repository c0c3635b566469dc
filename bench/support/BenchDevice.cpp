#include "support/BenchDevice.h"

#include "graphics/GxDisplaySettings.h"
#include "graphics/GxGraphics.h"

#include <cstdlib>

bool BenchDevice::Open(const char* title, uint32_t swapEffect)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    GxDisplaySettings& ds = GxDisplaySettings::Get();
    ds.m_WindowWidth = ds.m_BackBufferWidth = 1024;
    ds.m_WindowHeight = ds.m_BackBufferHeight = 768;
    if (swapEffect != kSwapKeep)
        ds.m_SwapEffect = swapEffect;
    ds.m_VSyncInterval = 0;
    auto proc = [](PfWindow* w, uint32_t m, uintptr_t wp, intptr_t lp, void*) -> intptr_t
    { return w->DefWindowProc(m, wp, lp); };
    if (!m_Window.Create(title, 1024, 768, PfWindowStyle::Framed, proc, nullptr))
        return false;
    m_Open = true;
    return GxGraphics::Initialize(m_Window.GetSDLWindow(), nullptr, nullptr, nullptr);
}

void BenchDevice::Close()
{
    if (!m_Open)
        return;
    GxGraphics::Finalize();
    m_Window.Destroy();
    m_Open = false;
}
