#pragma once

#include "core/GxFrameTimer.h"
#include "task/GxTaskRenderManage.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class GxCoreScreenService;
class GxGameHooks;
class GxProfileEx;
class GxSystemConfig;
class GxTaskBase;
class GxTaskManage;
class GxThreadManage;
class GxTimeSource;
class GxUserConfig;
class GxUserData;
class GxUserDataPerman;
class PfSingleInstance;
class PfWindow;

// The process-wide core object: start-up and shut-down in a fixed order, the main window and its
// procedure, the main loop with the engine frame. Owns the managers, configurations and user data for
// the whole run, and holds the main window, the application title and the save-folder path.
//
//   GxCore.cpp        construction, start-up, shut-down, save folder, the calls into the game's hooks
//   GxCoreWindow.cpp  main window, window procedure, cursor
//   GxCoreLoop.cpp    main loop, engine frame, draw lists
//   GxCoreCapture.cpp capture of the scene into the global render texture
//   appdata/GxCoreDebugOverlay.cpp  the developer's overlay
class GxCore
{
public:
    static constexpr int kRenderLayers = 10;
    static constexpr int kRenderBanks = 2;
    static constexpr int kVirtualWidth = 1024;
    static constexpr int kVirtualHeight = 768;
    // The longest installation path (current directory with its trailing "/"), in UTF-16 units.
    static constexpr size_t kMaxInstallPath = 244;
    // The file in the save folder whose lock the running copy holds.
    static constexpr const wchar_t* kSaveFolderLockName = L"instance.lock";

    GxCore();
    virtual ~GxCore();

    GxCore(const GxCore&) = delete;
    GxCore& operator=(const GxCore&) = delete;

    // True when the program may run its main loop. A signal during start-up cuts it short at the next
    // step (IsStartUpCut) with the quit flag set and true all the same: the main loop then runs no pass
    // and Finalize is the normal shut-down over what was made so far.
    bool Initialize();
    void Run();
    void Finalize();
    // The shut-down's writes of the options ("userconf.dat") and the progress ("permanent.dat") to the
    // save folder; false when either failed. A failure is logged; after a quit the player chose it is
    // also told in one box naming the folder, after a termination signal the log alone says it. Either
    // is written only once start-up has read it: a start-up cut short leaves the player's file alone.
    bool SaveAtExit();

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
    // The cursor in virtual-screen pixels as everything that asks what lies under it takes it (widgets,
    // tips, the dragged unit): over the window, or held by its capture, where its mouse events put it.
    // Anywhere else it is over nothing: false, with x and y the window's outside mark mapped (near -1, -1,
    // no edge and no widget); also before any mouse event has placed it, and without a window. The
    // desktop is never asked: nothing under the cursor needs to know more than that it is not over it.
    bool GetCursorPos(int& x, int& y);
    // The same, except that off the window uncaptured the cursor is where the desktop has it (beyond
    // 0..1023 and 0..767 then), for the one reader that acts on a pointer just past the window: the defence
    // map's edge zones. False when its place is not known (no desktop pointer to ask). The desktop is asked
    // at most once a frame, on the first need, and its answer serves every step and caller of that frame:
    // on a slow X server each ask waits for a round trip.
    bool GetCursorPosPastWindow(int& x, int& y);

    // Asked between the steps of start-up, the core's own and the game's: true, with the quit flag set,
    // when a termination signal has come, and the caller then goes on to the shut-down at once.
    // nextStep names the step not taken, for the debug log.
    bool IsStartUpCut(const wchar_t* nextStep);

    // Before the task manager exists: the logs of this run and the display defaults.
    bool OnPreInit();
    // The game's start-up and shut-down, through the installed hooks; true without hooks (nothing to do).
    bool OnGameInit();
    bool OnGameTerm();
    // The game the core starts and ends (game/GxGameRoot); process-wide, installed by the entry function
    // before the core starts. Null leaves the core with an empty task tree.
    static void SetGameHooks(GxGameHooks* hooks);
    static GxGameHooks* GetGameHooks();
    // Seeds the runtime library's generator and GxRandom, each from the millisecond clock plus the
    // calendar time in seconds, so two runs started within one second still differ.
    void SeedRandomSources();
    // The developer's overlay (status, script call chain, console lines) with its top-left at (x, y).
    void DrawDebugOverlay(float x, float y);

    // How client-area positions land on the 1024 x 768 virtual screen. The picture is shown scaled
    // uniformly and centred in the client area between black bars (PfPictureFit), so a position is taken
    // relative to the picture's rectangle and divided by its scale. A position in a bar clamps to the
    // picture's edge; one outside the client area (reported while the mouse is captured) is not clamped,
    // so a release there still reads as outside.
    struct MouseMapping
    {
        float m_Scale = 1.0f; // client pixels per virtual pixel
        int m_Left = 0;       // the picture's top-left corner in the client area
        int m_Top = 0;
        int m_ClientWidth = kVirtualWidth;
        int m_ClientHeight = kVirtualHeight;
    };
    // A 0 x 0 client area (minimised) has no mapping: false, and the mapping is left as it was.
    static bool ComputeMouseMapping(int clientWidth, int clientHeight, MouseMapping& mapping);
    static void MapMouse(const MouseMapping& mapping, int x, int y, float& vx, float& vy);
    // Whether an installation folder (current directory with its trailing "/") is too long to run from.
    static bool IsInstallPathTooLong(const std::wstring& currentDir);
    // Chooses and makes the save folder; the path with a trailing "/", or empty when it could not be made
    // (a box says so). A folder made now leaves in `made` the message that says so (with %s for its name),
    // for the caller to show once it holds the folder's lock; else `made` is null.
    std::wstring PrepareSaveFolder(const wchar_t*& made);

    GxCoreScreenService* GetScreenService() const { return m_ScreenService.get(); }

    // Factories of the subsystems above the core (animation projects, then image sets) take part in the
    // shut-down through these: after the user data goes, each registered factory reports every object
    // still held ("Object Not Released"), in the order registered, and then each is cleared in the same
    // order. A factory registers itself once, when its instance is made.
    using FactoryShutdownStep = void (*)();
    static void AddFactoryShutdown(FactoryShutdownStep report, FactoryShutdownStep clear);
    static void ReportAndClearFactories();

    GxTaskRenderManage* GetRenderList(int layer) { return &m_RenderManage[m_RenderBank * kRenderLayers + layer]; }

    PfWindow* m_MainWindow = nullptr;
    bool m_WindowCreated = false;
    bool m_Active = false;
    bool m_Running = false;
    bool m_Quit = false;
    // A frame has been presented since the start: until then a frame drawn while its sequence is being
    // left is not shown.
    bool m_PictureShown = false;
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
    // The millisecond clock the random seeds are taken from; null means the system's clock.
    GxTimeSource* m_SeedClock = nullptr;
    // Called by IsStartUpCut before it looks at the signal, with the step about to begin, and by
    // PrepareSaveFolder with "save folder" between its test for the folder and the make: lets a test
    // raise the signal at a chosen point of start-up, or act there as another copy would. Empty in the
    // program.
    std::function<void(const wchar_t* nextStep)> m_StartUpProbe;

    // The last good mouse mapping.
    MouseMapping m_MouseMapping;

private:
    intptr_t DefaultProc(uint32_t message, uintptr_t wParam, intptr_t lParam);
    bool DispatchMouse(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void NotifyRelease(int32_t (GxTaskManage::*listener)(const float*, uint32_t), const float* point, uint32_t keys);
    void HandleEngineKey(uint32_t key);
    // The cursor in client coordinates mapped to the virtual screen; off the window, from the desktop
    // when pastWindow asks for it.
    bool MapCursor(bool pastWindow, int& x, int& y);
    void PlaceLogs();
    // Deletes the configuration, the user data and the profile; safe to call again.
    void DeleteGameData();
    // The same without the profile.
    void DeleteConfiguration();

    // The title's lock in the session, and the save folder's: a copy from another session (another or no
    // runtime folder) on the same save folder meets the second.
    std::unique_ptr<PfSingleInstance> m_SingleInstance;
    std::unique_ptr<PfSingleInstance> m_SaveFolderLock;
    std::unique_ptr<GxCoreScreenService> m_ScreenService;
    // The desktop's answer for the current frame, in client coordinates; Frame forgets it.
    bool m_DesktopPointerAsked = false;
    bool m_DesktopPointerKnown = false;
    int m_DesktopPointerX = 0;
    int m_DesktopPointerY = 0;
};

// The core of the process, set by the entry function.
extern GxCore* g_Core;
