#include "core/GxCore.h"

#include "appdata/GxSystemConfig.h"
#include "core/GxInput.h"
#include "core/GxString.h"
#include "appdata/GxUserConfig.h"
#include "graphics/GxDisplaySettings.h"
#include "graphics/GxGraphics.h"
#include "platform/GxWindowMessage.h"
#include "platform/PfPictureFit.h"
#include "platform/PfWindow.h"
#include "task/GxSeqBase.h"
#include "task/GxTaskManage.h"

#include <algorithm>

// The plain function registered as the window's procedure; forwards to the core that made the window.
static intptr_t GxCoreWindowProc(PfWindow*, uint32_t message, uintptr_t wParam, intptr_t lParam, void* user)
{
    return static_cast<GxCore*>(user)->WndProc(message, wParam, lParam);
}

bool GxCore::CreateMainWindow()
{
    // The requested size is the client area; the platform adds the frame and keeps the window on the
    // desktop. Only the plain windowed mode has a frame.
    const GxDisplaySettings& ds = GxDisplaySettings::Get();
    const PfWindowStyle style = ds.m_ScreenMode == SCRMODE_WINDOW ? PfWindowStyle::Framed : PfWindowStyle::Borderless;
    auto window = std::make_unique<PfWindow>();
    if (!window->Create(GxString::ToUtf8(m_Title), static_cast<int>(ds.m_WindowWidth),
                        static_cast<int>(ds.m_WindowHeight), style, GxCoreWindowProc, this))
        return false;
    m_MainWindow = window.release();
    OnSetCursor();
    m_WindowCreated = true;
    return true;
}

void GxCore::Quit()
{
    if (m_MainWindow && m_MainWindow->Exists())
        m_MainWindow->PostMessage(WM_DESTROY, 0, 0);
    else
        m_Quit = true;
}

bool GxCore::OnSetCursor()
{
    const GxDisplaySettings& ds = GxDisplaySettings::Get();
    int visible = -1; // left as it is
    bool result = true;
    switch (ds.m_CursorMode)
    {
    case 0:
    case 4:
        visible = 0;
        break;
    case 1:
        visible = 1;
        break;
    case 2:
        visible = ds.m_ScreenMode == SCRMODE_WINDOW || ds.m_ScreenMode == SCRMODE_WINDOWSIZE ? 1 : 0;
        break;
    case 3:
        break;
    default:
        result = false;
        break;
    }
    if (m_MainWindow && visible >= 0)
        m_MainWindow->SetCursorVisible(visible != 0);
    return result;
}

bool GxCore::ComputeMouseMapping(int clientWidth, int clientHeight, MouseMapping& mapping)
{
    if (clientWidth <= 0 || clientHeight <= 0)
        return false;
    const PfRect picture = PfPictureFit::Fit(kVirtualWidth, kVirtualHeight, clientWidth, clientHeight);
    mapping.m_Left = picture.left;
    mapping.m_Top = picture.top;
    mapping.m_Scale = static_cast<float>(picture.right - picture.left) / static_cast<float>(kVirtualWidth);
    mapping.m_ClientWidth = clientWidth;
    mapping.m_ClientHeight = clientHeight;
    return true;
}

void GxCore::MapMouse(const MouseMapping& mapping, int x, int y, float& vx, float& vy)
{
    vx = static_cast<float>(x - mapping.m_Left) / mapping.m_Scale;
    vy = static_cast<float>(y - mapping.m_Top) / mapping.m_Scale;
    const bool inClient = x >= 0 && y >= 0 && x < mapping.m_ClientWidth && y < mapping.m_ClientHeight;
    if (inClient)
    {
        vx = std::clamp(vx, 0.0f, static_cast<float>(kVirtualWidth - 1));
        vy = std::clamp(vy, 0.0f, static_cast<float>(kVirtualHeight - 1));
    }
}

bool GxCore::GetCursorPos(int& x, int& y)
{
    return MapCursor(false, x, y);
}

bool GxCore::GetCursorPosPastWindow(int& x, int& y)
{
    return MapCursor(true, x, y);
}

bool GxCore::MapCursor(bool pastWindow, int& x, int& y)
{
    x = 0;
    y = 0;
    if (!m_MainWindow)
        return false;
    // Over the window, or held by its capture, the pointer is where its mouse events put it; away from it,
    // at the outside mark, or where the desktop has it, mapped as inside (far off the window that is far
    // off the virtual screen).
    int cx = PfWindow::kPointerOutside;
    int cy = PfWindow::kPointerOutside;
    bool known = m_MainWindow->IsPointerOver();
    if (known)
        m_MainWindow->GetCursorPos(cx, cy);
    else if (pastWindow)
    {
        if (!m_DesktopPointerAsked)
        {
            m_DesktopPointerAsked = true;
            m_DesktopPointerKnown = m_MainWindow->GetDesktopPointer(m_DesktopPointerX, m_DesktopPointerY);
        }
        known = m_DesktopPointerKnown;
        if (known)
        {
            cx = m_DesktopPointerX;
            cy = m_DesktopPointerY;
        }
    }
    int w = 0;
    int h = 0;
    m_MainWindow->GetClientSize(w, h);
    ComputeMouseMapping(w, h, m_MouseMapping);
    float vx = 0.0f;
    float vy = 0.0f;
    MapMouse(m_MouseMapping, cx, cy, vx, vy);
    x = static_cast<int>(vx);
    y = static_cast<int>(vy);
    return known;
}

// A release counts only while this window holds the capture, which it then gives back.
void GxCore::NotifyRelease(int32_t (GxTaskManage::*listener)(const float*, uint32_t), const float* point, uint32_t keys)
{
    if (!m_MainWindow->HasCapture())
        return;
    (m_TaskManage->*listener)(point, keys);
    m_MainWindow->ReleaseCapture();
}

bool GxCore::DispatchMouse(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    float point[2] = {};
    MapMouse(m_MouseMapping, GxPointParamX(lParam), GxPointParamY(lParam), point[0], point[1]);
    const uint32_t keys = static_cast<uint32_t>(wParam);

    switch (message)
    {
    case WM_MOUSEMOVE:
        m_TaskManage->OnMouseMove(point, keys);
        return true;
    case WM_LBUTTONDOWN:
        m_MainWindow->SetCapture();
        m_TaskManage->DispatchPress(&GxTaskManage::WalkMouseLeftDown, point, keys);
        return true;
    case WM_LBUTTONUP:
        NotifyRelease(&GxTaskManage::OnMouseLeftUp, point, keys);
        return true;
    case WM_LBUTTONDBLCLK:
        m_TaskManage->DispatchPress(&GxTaskManage::WalkMouseLeftDoubleClick, point, keys);
        return true;
    case WM_RBUTTONDOWN:
        m_MainWindow->SetCapture();
        m_TaskManage->DispatchPress(&GxTaskManage::WalkMouseRightDown, point, keys);
        return true;
    case WM_RBUTTONUP:
        NotifyRelease(&GxTaskManage::OnMouseRightUp, point, keys);
        return true;
    case WM_RBUTTONDBLCLK:
        m_TaskManage->DispatchPress(&GxTaskManage::WalkMouseRightDoubleClick, point, keys);
        return true;
    case WM_MBUTTONDOWN:
        m_MainWindow->SetCapture();
        m_TaskManage->DispatchPress(&GxTaskManage::WalkMouseMiddleDown, point, keys);
        return true;
    case WM_MBUTTONUP:
        NotifyRelease(&GxTaskManage::OnMouseMiddleUp, point, keys);
        return true;
    case WM_MBUTTONDBLCLK:
        m_TaskManage->DispatchPress(&GxTaskManage::WalkMouseMiddleDoubleClick, point, keys);
        return true;
    case WM_MOUSEWHEEL:
    {
        // The message's own position is in screen coordinates; the cursor's is used instead.
        int x = 0;
        int y = 0;
        GetCursorPos(x, y);
        float at[2] = {static_cast<float>(x), static_cast<float>(y)};
        const int32_t delta = static_cast<int16_t>((wParam >> 16) & 0xFFFF);
        m_TaskManage->OnMouseWheel(at, delta, static_cast<uint32_t>(wParam & 0xFFFF));
        return true;
    }
    default:
        return false;
    }
}

void GxCore::HandleEngineKey(uint32_t key)
{
    switch (key)
    {
    case VK_F4:
    {
        if (!GxGraphics::IsInitialized())
            break;
        const bool windowed = GxGraphics::GetPresentParameters(GxDisplaySettings::Get().m_ScreenMode).Windowed != 0;
        if (windowed)
        {
            if (GxGraphics::ChangeScreenMode(SCRMODE_FULLSCREEN))
            {
                if (m_UserConfig)
                    m_UserConfig->m_ScreenMode = 1;
                if (m_TaskManage)
                    m_TaskManage->OnScreenModeChange(SCRMODE_WINDOW, SCRMODE_FULLSCREEN);
            }
        }
        else if (GxGraphics::ChangeScreenMode(SCRMODE_WINDOW))
        {
            if (m_UserConfig)
                m_UserConfig->m_ScreenMode = 0;
            if (m_TaskManage)
                m_TaskManage->OnScreenModeChange(SCRMODE_FULLSCREEN, SCRMODE_WINDOW);
        }
        break;
    }
    case VK_F5:
        m_FrameTimer.m_TargetRate = 60;
        break;
    case VK_F6:
        m_FrameTimer.m_TargetRate = 30;
        break;
    case VK_F7:
        m_FrameTimer.m_TargetRate = 10;
        break;
    default:
        break;
    }
}

intptr_t GxCore::DefaultProc(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return m_MainWindow ? m_MainWindow->DefWindowProc(message, wParam, lParam) : 0;
}

intptr_t GxCore::WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    // The mouse mapping is taken afresh for every message; a minimised (0 x 0) client area keeps the
    // last one, and mouse messages are then not passed on at all.
    bool scaled = false;
    if (m_MainWindow)
    {
        int w = 0;
        int h = 0;
        m_MainWindow->GetClientSize(w, h);
        scaled = ComputeMouseMapping(w, h, m_MouseMapping);
    }

    switch (message)
    {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_SCREENSAVE || (wParam & 0xFFF0) == SC_MONITORPOWER)
            return 0;
        return DefaultProc(message, wParam, lParam);
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
        if (m_TaskManage && m_MainWindow)
        {
            if (scaled)
                DispatchMouse(message, wParam, lParam);
            else if (message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP)
                m_MainWindow->ReleaseCapture();
        }
        return DefaultProc(message, wParam, lParam);
    case WM_ACTIVATE:
        GxInput::OnActivate(wParam != 0);
        m_Active = wParam != 0;
        if (m_TaskManage)
        {
            if (wParam != 0)
                m_TaskManage->OnActivate();
            else
                m_TaskManage->OnDeactivate();
        }
        return DefaultProc(message, wParam, lParam);
    case WM_PAINT:
        // Everything is drawn by the frame.
        return 0;
    case WM_CLOSE:
        if (m_TaskManage && m_TaskManage->OnCloseRequest() != 0)
            return 0;
        Quit();
        return 0;
    case WM_DESTROY:
        if (m_MainWindow)
            m_MainWindow->PostQuitMessage(0);
        return 0;
    case WM_SETCURSOR:
        return OnSetCursor() ? 1 : 0;
    case WM_WINDOWPOSCHANGED:
        m_FrameTimer.Reset();
        return DefaultProc(message, wParam, lParam);
    case WM_KEYDOWN:
        if (!m_TaskManage || m_TaskManage->OnKeyDown(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam)) == 0)
            HandleEngineKey(static_cast<uint32_t>(wParam));
        return DefaultProc(message, wParam, lParam);
    case WM_KEYUP:
        if (m_TaskManage)
            m_TaskManage->OnKeyUp(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
        return DefaultProc(message, wParam, lParam);
    default:
        return DefaultProc(message, wParam, lParam);
    }
}
