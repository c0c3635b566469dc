#pragma once

// A window with a started device (llvmpipe under the offscreen driver) and an icon set of solid pictures
// made for the test, for checks of what a screen's draw leaves on the frame.

#include "../../tools/gncwriter/GisPacker.h"
#include "animation/GxNcIconPool.h"
#include "animation/GxNcImageSetPool.h"
#include "core/GxCore.h"
#include "graphics/GraphicsTestSupport.h"
#include "graphics/GxTextureFactory.h"

#include <functional>
#include <initializer_list>

namespace zortest
{

class ZorDevice
{
public:
    struct Solid
    {
        const wchar_t* m_Name; // the icon's short name
        uint32_t m_Width, m_Height, m_Argb;
    };

    // Opens the window and device and pools the icons, written as a set into the folder (ending in "/").
    bool Open(const std::wstring& folder, std::initializer_list<Solid> icons)
    {
        GxDisplaySettings& ds = GxDisplaySettings::Get() = GxDisplaySettings();
        ds.m_WindowWidth = ds.m_BackBufferWidth = 1024;
        ds.m_WindowHeight = ds.m_BackBufferHeight = 768;
        ds.m_LockableBackBuffer = false;
        ds.m_VSyncInterval = 0;
        m_Core.m_Title = L"ZorDevice";
        if (!m_Core.CreateMainWindow() ||
            !GxGraphics::Initialize(m_Core.m_MainWindow->GetSDLWindow(), nullptr, nullptr, nullptr))
            return false;
        std::vector<GisPicture> pictures;
        for (const Solid& s : icons)
            pictures.push_back(
                GisPicture{std::wstring(s.m_Name) + L".png", s.m_Width, s.m_Height,
                           std::vector<uint32_t>(static_cast<size_t>(s.m_Width) * s.m_Height, s.m_Argb)});
        GxNcCrammedImageSet set;
        m_IconSet = folder + L"zoricons.gis";
        if (!GisPacker::Build(GxString::ToUtf8(folder), L"zoricons.gis", pictures, GncForm::Binary, set, 512) ||
            !GxNcImageSetPool::Add(m_IconSet))
            return false;
        GxNcIconPool::Build(GxNcImageSetPool::Find(m_IconSet));
        return true;
    }
    ~ZorDevice()
    {
        GxNcIconPool::Clear();
        GxNcImageSetPool::ReleaseAll();
        GxTextureFactory::GetInstance().Clear();
        GxGraphics::Finalize();
        if (m_Core.m_MainWindow)
            m_Core.m_MainWindow->Destroy();
        delete m_Core.m_MainWindow;
        m_Core.m_MainWindow = nullptr;
    }

    // Clears to black, runs the draw and reads the frame back.
    const PfGLTexture* Frame(const std::function<void()>& draw)
    {
        GxGraphics::Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
        GxGraphics::BeginScene();
        draw();
        if (GxGraphics::GetSceneCount() > 0) // views open and close a scene of their own
            GxGraphics::EndScene();
        GxGraphics::FlushDraws();
        PfGLTexture* target = GxGraphics::GetDevice()->GetRenderTarget(0);
        m_Frame = target && target->ReadBack() == D3D_OK ? target : nullptr;
        return m_Frame;
    }
    // The last frame's colour (opaque) at a screen point; 0 off the frame or without one.
    uint32_t At(float x, float y) const
    {
        const int px = static_cast<int>(x), py = static_cast<int>(y);
        if (!m_Frame || px < 0 || py < 0 || px >= 1024 || py >= 768)
            return 0;
        return KvTexel(m_Frame, static_cast<uint32_t>(px), static_cast<uint32_t>(py)) | 0xFF000000u;
    }

private:
    GxCore m_Core;
    std::wstring m_IconSet;
    const PfGLTexture* m_Frame = nullptr;
};

} // namespace zortest
