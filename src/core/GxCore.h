#pragma once

#include "core/GxFrameTimer.h"
#include "task/GxTaskRenderManage.h"

#include <cstdint>
#include <memory>
#include <string>

class GxCoreScreenService;
class GxProfileEx;
class GxSystemConfig;
class GxTaskBase;
class GxTaskManage;
class GxThreadManage;
class GxUserConfig;
class GxUserData;
class GxUserDataPerman;
class PfSingleInstance;
class PfWindow;

// The process-wide core object: start-up and shut-down in a fixed order, the main window and its
// procedure, the main loop with the engine frame. Owns the managers, configurations and user data for
// the whole run, and holds the main window, the application title and the save-folder path.
//
//   GxCore.cpp        construction, start-up, shut-down, save folder
//   GxCoreWindow.cpp  main window, window procedure, cursor
//   GxCoreLoop.cpp    main loop, engine frame, draw lists
//   GxCoreHooks.cpp   pre-start, game start-up and game shut-down hooks
//   GxCoreCapture.cpp capture of the scene into the global render texture
class GxCore
{
public:
    static constexpr int kRenderLayers = 10;
    static constexpr int kRenderBanks = 2;
    static constexpr int kVirtualWidth = 1024;
    static constexpr int kVirtualHeight = 768;
    // The longest installation path (current directory with its trailing "/"), in UTF-16 units.
    static constexpr size_t kMaxInstallPath = 244;

    GxCore();
    virtual ~GxCore();

    GxCore(const GxCore&) = delete;
    GxCore& operator=(const GxCore&) = delete;

    // True when the program may run its main loop.
    bool Initialize();
    void Run();
    void Finalize();

    // One engine frame: wait for the slot, run the update steps, draw and present.
    void Frame();
    // Takes every waiting message off the queue and dispatches it; never waits.
    void PumpMessages();
    void ClearRenderLayers();
    void DrawRenderLayers();
    // Draws the current and the system sequence into the capture texture (render bank 1); the result of
    // restoring the render target.
    bool CaptureScreen();

    bool CreateMainWindow();
    intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam);
    // Asks the main window to go away; the loop ends at the following message pump. Without a main
    // window, the quit flag is set at once so the loop still ends.
    void Quit();
    bool OnSetCursor();
    // The cursor in virtual-screen pixels.
    void GetCursorPos(int& x, int& y);

    bool OnPreInit();
    bool OnGameInit();
    bool OnGameTerm();

    // Scale factors from the client area to the 1024 x 768 virtual screen. A 0 x 0 client area
    // (minimised) has none: false, and the factors are left as they were.
    static bool ComputeMouseScale(int clientWidth, int clientHeight, float& sx, float& sy);
    // Whether an installation folder (current directory with its trailing "/") is too long to run from.
    static bool IsInstallPathTooLong(const std::wstring& currentDir);
    // Chooses and makes the save folder; the path with a trailing "/", or empty when it could not be made.
    std::wstring PrepareSaveFolder();

    GxTaskRenderManage* GetRenderList(int layer) { return &m_RenderManage[m_RenderBank * kRenderLayers + layer]; }

    PfWindow* m_MainWindow = nullptr;
    bool m_WindowCreated = false;
    bool m_Active = false;
    bool m_Running = false;
    bool m_Quit = false;
    GxFrameTimer m_FrameTimer;
    GxTaskManage* m_TaskManage = nullptr;
    GxThreadManage* m_ThreadManage = nullptr;
    GxTaskRenderManage m_RenderManage[kRenderBanks * kRenderLayers];
    int32_t m_RenderBank = 0;
    GxSystemConfig* m_SystemConfig = nullptr;
    GxUserConfig* m_UserConfig = nullptr;
    GxUserData* m_UserData = nullptr;
    GxUserDataPerman* m_UserDataPerman = nullptr;
    GxProfileEx* m_Profile = nullptr;
    std::wstring m_Title;
    std::wstring m_SavePath;

    // Last good mouse scale factors.
    float m_MouseScaleX = 1.0f;
    float m_MouseScaleY = 1.0f;

private:
    intptr_t DefaultProc(uint32_t message, uintptr_t wParam, intptr_t lParam);
    bool DispatchMouse(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void WalkPress(GxTaskBase* (GxTaskManage::*walk)(GxTaskBase*, const float*, uint32_t), const float* point,
                   uint32_t keys);
    void NotifyRelease(int32_t (GxTaskManage::*listener)(const float*, uint32_t), const float* point, uint32_t keys);
    void HandleEngineKey(uint32_t key);
    void PlaceLogs();
    // Deletes the configuration, the user data and the profile; safe to call again.
    void DeleteGameData();

    std::unique_ptr<PfSingleInstance> m_SingleInstance;
    std::unique_ptr<GxCoreScreenService> m_ScreenService;
};

// The core of the process, set by the entry function.
extern GxCore* g_Core;
