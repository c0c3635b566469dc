#include "core/GxCore.h"

#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxAtomicFile.h"
#include "core/GxCoreScreenService.h"
#include "core/GxCrtRandom.h"
#include "core/GxDebugWindow.h"
#include "core/GxGameHooks.h"
#include "core/GxInput.h"
#include "core/GxLog.h"
#include "core/GxMessageBox.h"
#include "core/GxPath.h"
#include "core/GxProfileEx.h"
#include "core/GxRandom.h"
#include "core/GxString.h"
#include "core/GxThreadManage.h"
#include "core/GxTimeSource.h"
#include "graphics/GxDisplaySettings.h"
#include "graphics/GxGraphics.h"
#include "media/GxMovie.h"
#include "media/GxSound.h"
#include "platform/PfFontconfigStart.h"
#include "platform/PfInputScript.h"
#include "platform/PfSignal.h"
#include "platform/PfSingleInstance.h"
#include "platform/PfWindow.h"
#include "task/GxTaskManage.h"

#include <cstring>
#include <ctime>
#include <utility>
#include <vector>

GxCore* g_Core = nullptr;

static GxGameHooks* s_GameHooks = nullptr;

// The device's before- and after-reset callbacks: the core has nothing to do around a reset.
static bool NoResetWork(uint32_t, uint32_t)
{
    return true;
}

// fontconfig's failure to load, from the first face lookup that waited for it.
static void LogFontconfigFailure(const std::string& text)
{
    GxLog::Error(L"%s\n", GxString::FromUtf8(text).c_str());
}

// The device's request for an orderly quit (a present that failed inside the driver).
static void QuitFromDevice()
{
    if (g_Core)
        g_Core->Quit();
}

GxCore::GxCore()
    : m_SingleInstance(std::make_unique<PfSingleInstance>()), m_SaveFolderLock(std::make_unique<PfSingleInstance>()),
      m_ScreenService(std::make_unique<GxCoreScreenService>(this))
{
}

GxCore::~GxCore()
{
    DeleteGameData();
    delete m_MainWindow;
    m_MainWindow = nullptr;
}

bool GxCore::IsInstallPathTooLong(const std::wstring& currentDir)
{
    return GxString::CountUtf16Units(currentDir) > kMaxInstallPath;
}

// Makes a folder and every missing folder above it.
static bool CreateDirectoryWithParents(const std::wstring& path)
{
    if (path.empty())
        return false;
    if (GxPath::DirectoryExists(path))
        return true;
    const std::wstring parent = GxPath::RemoveTrailingSeparator(GxPath::GetDirectory(path));
    if (!parent.empty() && parent != path && !GxPath::DirectoryExists(parent) && !CreateDirectoryWithParents(parent))
        return false;
    return GxPath::CreateDirectory(path) || GxPath::DirectoryExists(path);
}

std::wstring GxCore::PrepareSaveFolder(const wchar_t*& made)
{
    made = nullptr;
    const std::wstring& name = m_SystemConfig->GetSaveDirName();
    std::wstring base;
    const wchar_t* created;
    if (m_SystemConfig->m_SaveToMyDocuments)
    {
        base = GxPath::GetMyDocumentsDir();
        created = L"マイドキュメントにセーブフォルダ[%s]を作成しました。";
        // A fresh account may have no documents folder yet; it is made with its parents so that the
        // save folder below it can be made.
        if (!base.empty())
            CreateDirectoryWithParents(base);
    }
    else
    {
        base = GxPath::RemoveTrailingSeparator(GxPath::GetCurrentDir());
        created = L"インストールフォルダにセーブフォルダ[%s]を作成しました。";
    }

    std::wstring path;
    if (!base.empty())
        path = GxPath::Combine(base, name, L'/');
    if (!path.empty() && GxPath::DirectoryExists(path))
        return GxPath::AddTrailingSeparator(path, L'/');
    if (m_StartUpProbe)
        m_StartUpProbe(L"save folder");
    if (!path.empty() && GxPath::CreateDirectory(path))
    {
        made = created;
        return GxPath::AddTrailingSeparator(path, L'/');
    }
    // A copy started at the same moment may have made it since the test above: the folder is there, so
    // this copy goes on with it (and meets that copy's lock), without saying it made it.
    if (!path.empty() && GxPath::DirectoryExists(path))
        return GxPath::AddTrailingSeparator(path, L'/');
    GxMessageBoxEndingOnSignal(m_Title.c_str(), L"セーブフォルダの作成に失敗しました。");
    return std::wstring();
}

bool GxCore::OnPreInit()
{
    // The device log starts afresh on every run; the other two grow across runs unless asked not to.
    GxLog::DeleteDeviceLog();
    if (m_SystemConfig->m_CleanErrorLog)
    {
        GxLog::DeleteDebugLog();
        GxLog::DeleteErrorLog();
    }
    GxDisplaySettings& ds = GxDisplaySettings::Get();
    ds.m_WindowWidth = kVirtualWidth;
    ds.m_WindowHeight = kVirtualHeight;
    ds.m_BackBufferWidth = kVirtualWidth;
    ds.m_BackBufferHeight = kVirtualHeight;
    ds.m_CursorMode = 1;
    ds.m_ScreenMode = SCRMODE_WINDOW;
    ds.m_RequestScreenMode = SCRMODE_WINDOW;
    ds.m_VSyncInterval = 1;
    ds.m_LockableBackBuffer = false;
    ds.m_TextureBits = 32;
    ds.m_BackBufferBits = 32;
    ds.m_DepthStencilBits = 24;
    ds.m_RefreshRate = 60;
    ds.m_SquareTextures = false;
    ds.m_MultiSampleMode = 0;
    ds.m_SwapEffect = 2;
    m_FrameTimer.m_TargetRate = 60;
    m_FrameTimer.m_UpdateRate = 60;
    return true;
}

void GxCore::SeedRandomSources()
{
    // A scripted run replays the same input at the same virtual times, so it draws the same numbers too:
    // its seeds come from the virtual clock alone, not the wall clock.
    if (const PfInputScript* script = m_SeedClock ? nullptr : PfInputScript::GetActive())
    {
        const auto seed = static_cast<uint32_t>(script->GetTimeUs() / 1000);
        GxCrtRandom::Seed(seed);
        GxRandom::Seed(seed);
        return;
    }
    GxTimeSource& clock = m_SeedClock ? *m_SeedClock : GxTimeSource::System();
    // Each sum reads the clock anew; the seeds are the low 32 bits.
    GxCrtRandom::Seed(static_cast<uint32_t>(clock.GetTimeMs() + static_cast<uint64_t>(std::time(nullptr))));
    GxRandom::Seed(static_cast<uint32_t>(clock.GetTimeMs() + static_cast<uint64_t>(std::time(nullptr))));
}

void GxCore::SetGameHooks(GxGameHooks* hooks)
{
    s_GameHooks = hooks;
}

GxGameHooks* GxCore::GetGameHooks()
{
    return s_GameHooks;
}

bool GxCore::OnGameInit()
{
    return s_GameHooks ? s_GameHooks->OnGameInit(*this) : true;
}

bool GxCore::OnGameTerm()
{
    return s_GameHooks ? s_GameHooks->OnGameTerm(*this) : true;
}

// A lock that could not be taken keeps no other copy out: the log names its file and the reason, and the
// copy runs on. Refusing would stop the game on a read-only medium, where it cannot save and so cannot
// overwrite anything the player keeps either.
static void LogUnavailableLock(const PfSingleInstance& lock, const wchar_t* guarded)
{
    if (lock.GetError() == 0)
        return;
    GxLog::Error(L"GxCore::Initialize/ロックファイルを使えません(%s: %S)。%sで別のコピーが起動しても止められません\n",
                 GxString::FromUtf8(lock.GetPath()).c_str(), std::strerror(lock.GetError()), guarded);
}

void GxCore::PlaceLogs()
{
    // Every log is there from the start, with its byte-order mark, even before its first line.
    GxLog::AppendText(GxLog::GetDebugLogPath(), L"");
    GxLog::AppendText(GxLog::GetErrorLogPath(), L"");
    GxLog::AppendText(GxLog::GetDeviceLogPath(), L"");
}

bool GxCore::Initialize()
{
    PfFontconfigStart::SetFailureLog(LogFontconfigFailure);
    m_SystemConfig = new GxSystemConfig();
    m_SystemConfig->LoadSysConf();
    m_SystemConfig->LoadSetting();
    const std::wstring& title = m_SystemConfig->GetAppTitle();

    if (m_SingleInstance->Acquire(GxString::ToUtf8(title)) == PfSingleInstance::Result::HeldElsewhere)
    {
        GxMessageBoxEndingOnSignal(title.c_str(), L"既に起動中です");
        return false;
    }

    if (IsInstallPathTooLong(GxPath::GetCurrentDir()))
    {
        GxMessageBoxEndingOnSignal(
            title.c_str(),
            L"インストール先のパスが長すぎます。\nお手数ですがもっと階層の浅いフォルダにインストール"
            L"してみてください。\n(インストール可能なパス最大長は%d文字です)",
            static_cast<int>(kMaxInstallPath + 1));
        return false;
    }

    m_UserConfig = new GxUserConfig();
    m_MainWindow = nullptr;
    m_WindowCreated = false;
    m_Active = false;
    m_Running = false;
    m_Quit = false;
    m_Title = title;

    m_Profile = new GxProfileEx();
    m_Profile->Reset();

    const wchar_t* made = nullptr;
    m_SavePath = PrepareSaveFolder(made);
    // Each copy writes back at its end the player's files as it read them, so of two copies on one save
    // folder the last to end would undo the other's progress. The folder's own lock keeps the second out
    // whatever session or runtime folder it was started from. It is taken before the box that says the
    // folder was made, which waits for the player: a copy started meanwhile meets it. Without a save
    // folder the files are the game folder's, and so is the lock.
    const std::wstring lockFolder = m_SavePath.empty() ? GxPath::GetCurrentDir() : m_SavePath;
    if (m_SaveFolderLock->AcquireFile(GxPath::ToNative(lockFolder + kSaveFolderLockName)) ==
        PfSingleInstance::Result::HeldElsewhere)
    {
        GxMessageBoxEndingOnSignal(title.c_str(), L"既に起動中です");
        return false;
    }
    if (made)
        GxMessageBoxEndingOnSignal(title.c_str(), made, m_SystemConfig->GetSaveDirName().c_str());

    GxLog::ResetErrorCount();
    GxLog::SetDebugLogPath(m_SavePath + L"debug.log");
    GxLog::SetErrorLogPath(m_SavePath + L"error.log");
    GxLog::SetDeviceLogPath(m_SavePath + L"device.log");
    GxDebugWindow::Clear();
    GxDebugWindow::Create(); // hidden until Alt+F11

    OnPreInit();
    PlaceLogs();
    LogUnavailableLock(*m_SingleInstance, L"このセッション");
    LogUnavailableLock(*m_SaveFolderLock, L"同じセーブフォルダ");
    // Saves cut short by a kill left their temporaries; this copy holds the folder now.
    if (!m_SavePath.empty())
        GxAtomicFile::RemoveLeftovers(m_SavePath);
    m_SystemConfig->ReportLoadProblems();

    m_TaskManage = new GxTaskManage(this);
    m_TaskManage->SetRenderLists(m_RenderManage, &m_RenderBank);
    m_TaskManage->SetScreenService(m_ScreenService.get());
    m_ThreadManage = new GxThreadManage(nullptr);
    m_RenderBank = 0;
    m_UserData = new GxUserData(this);
    m_UserDataPerman = new GxUserDataPerman(this);

    // From here on all that the shut-down needs exists, so a signal is answered between the steps that
    // take long on a busy machine (the window, the device, the sound device, the game's loading) rather
    // than after all of them.
    if (IsStartUpCut(L"window"))
        return true;
    if (!CreateMainWindow())
        Quit();
    if (IsStartUpCut(L"device"))
        return true;
    GxGraphics::SetQuitRequest(QuitFromDevice);
    if (!GxGraphics::Initialize(m_MainWindow ? m_MainWindow->GetSDLWindow() : nullptr, nullptr, NoResetWork,
                                NoResetWork))
        Quit();
    // Opaque red until the first frame is drawn; nothing is presented yet.
    GxGraphics::Clear(D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0);

    if (IsStartUpCut(L"input and sound"))
        return true;
    // fontconfig loads beside the game's start-up loading; the first text waits for it. (Begun earlier,
    // its reading and mapping of files competes with the loading of the graphics driver.)
    PfFontconfigStart::Begin();
    GxInput::Initialize(m_MainWindow);
    GxSound::Initialize(m_MainWindow);
    GxMovie::Initialize();

    if (IsStartUpCut(L"game"))
        return true;
    OnGameInit();
    if (IsStartUpCut(L"main loop"))
        return true;
    m_Running = true;
    // From here a signal is answered by the main loop, after the player's files were read: a watcher (a
    // test, a player's report) can tell the two apart by this line.
    GxLog::Debug(L"GxCore::Initialize/起動しました\n");
    return true;
}

bool GxCore::IsStartUpCut(const wchar_t* nextStep)
{
    if (m_StartUpProbe)
        m_StartUpProbe(nextStep);
    if (!PfSignal::IsQuitRequested())
        return false;
    if (!m_Quit)
        GxLog::Debug(L"GxCore::Initialize/起動中に終了の合図を受けました(%sの前で終了します)\n", nextStep);
    m_Quit = true;
    return true;
}

void GxCore::Finalize()
{
    m_Running = false;

    m_ThreadManage->RequestStop();
    m_ThreadManage->WaitAll();
    m_ThreadManage->Poll();

    m_TaskManage->ClearSequence();
    SaveAtExit();

    delete m_ThreadManage;
    m_ThreadManage = nullptr;
    GxGraphics::Clear(D3DCLEAR_TARGET, 0, 1.0f, 0);
    delete m_TaskManage;
    m_TaskManage = nullptr;

    OnGameTerm();

    DeleteConfiguration();
    ReportAndClearFactories();
    DeleteGameData();

    // The capture picture of the cross-fade is a device resource: it goes before the device does.
    m_ScreenService->ReleaseCapture();

    GxSound::Finalize();
    GxMovie::DestroyAll();
    GxInput::Finalize();
    GxGraphics::Finalize();
    GxDebugWindow::Destroy();
    // The fontconfig loading begun at start-up is waited for by the first text; a run that ends before any
    // text (a signal during start-up or on a screen of pictures alone) joins it here, so no thread is left
    // inside fontconfig's loading while the process exits under it.
    PfFontconfigStart::Shutdown();
}

bool GxCore::SaveAtExit()
{
    // Both are tried whatever the other did; each writer logs its own failure, and its old file stays.
    // One not yet read (start-up cut short by a signal) holds defaults, not the player's: the player's
    // file stays as it is, and that is no failure.
    const bool options =
        m_UserConfig && (!m_UserConfig->IsLoaded() || m_UserConfig->Save(m_SavePath + L"userconf.dat"));
    const bool progress = m_UserDataPerman && (!m_UserDataPerman->IsLoaded() ||
                                               m_UserDataPerman->Save(m_SavePath + L"permanent.dat", true));
    if (options && progress)
        return true;
    const wchar_t* what = !options && !progress ? L"設定と進行状況" : (!options ? L"設定" : L"進行状況");
    // Without a save folder the files go to the game folder, the current one.
    const std::wstring folder = m_SavePath.empty() ? GxPath::GetCurrentDir() : m_SavePath;
    GxLog::Error(L"終了時に%sを保存できませんでした(%s)\n", what, folder.c_str());
    if (PfSignal::IsQuitRequested())
        return false;
    // A signal while the box waits ends the program at once: nothing is left to save.
    GxMessageBoxEndingOnSignal(
        m_Title.c_str(),
        L"%sを保存できませんでした。\nセーブフォルダ[%s]に書き込めるか、ディスクに空きがあるか確かめてください。", what,
        folder.c_str());
    return false;
}

// The registered factories' report and clear steps, in registration order.
static std::vector<std::pair<GxCore::FactoryShutdownStep, GxCore::FactoryShutdownStep>>& FactoryShutdowns()
{
    static std::vector<std::pair<GxCore::FactoryShutdownStep, GxCore::FactoryShutdownStep>> s_Steps;
    return s_Steps;
}

void GxCore::AddFactoryShutdown(FactoryShutdownStep report, FactoryShutdownStep clear)
{
    FactoryShutdowns().emplace_back(report, clear);
}

void GxCore::ReportAndClearFactories()
{
    for (const auto& step : FactoryShutdowns())
        if (step.first)
            step.first();
    for (const auto& step : FactoryShutdowns())
        if (step.second)
            step.second();
}

void GxCore::DeleteGameData()
{
    DeleteConfiguration();
    delete m_Profile;
    m_Profile = nullptr;
}

void GxCore::DeleteConfiguration()
{
    delete m_SystemConfig;
    m_SystemConfig = nullptr;
    delete m_UserConfig;
    m_UserConfig = nullptr;
    delete m_UserData;
    m_UserData = nullptr;
    delete m_UserDataPerman;
    m_UserDataPerman = nullptr;
}
