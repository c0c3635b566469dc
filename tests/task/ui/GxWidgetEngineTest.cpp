// The widget family in a running engine: the core's window and frame loop on the device, a sequence holding
// one widget of each kind built from module and layout rows, and SDL mouse and key events pushed into SDL's
// queue so they pass the event translator, the window procedure and the manager's walks. Frames are read
// back and compared with small golden pictures.
#include "WidgetImageTestSupport.h"

#include "appdata/DBUILayout.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "core/GxCore.h"
#include "core/GxCoreScreenService.h"
#include "core/GxThreadManage.h"
#include "core/GxTimeSource.h"
#include "graphics/GxGDIFontMap.h"
#include "task/ui/GxTaskUIButtonIs.h"
#include "task/ui/GxTaskUIHBarIs.h"
#include "task/ui/GxTaskUIHSliderIs.h"
#include "task/ui/GxTaskUITextPanelFx.h"
#include "task/ui/GxTaskUIToggleButtonIs.h"

#include <SDL2/SDL.h>

#include <memory>

namespace
{

// Time moves only when the test says so: each frame's single update step gets exactly that many ms.
class StepClock : public GxTimeSource
{
public:
    uint64_t GetTimeMs() override { return m_Now; }
    void Sleep(uint32_t ms) override { m_Now += ms; }
    uint64_t m_Now = 1000;
};

// The widget of a module row's UI type, as a screen's widget factory builds it.
GxTaskUIBase* Build(GxTaskBase* parent, const DBUIModuleData& module, const DBUILayoutData& layout)
{
    GxTaskUIBase* w = nullptr;
    const wchar_t* name = layout.m_TaskName.c_str();
    switch (module.m_UIType)
    {
    case 11:
        w = new GxTaskUITextPanelFx(parent, nullptr, name, 0);
        break;
    case 18:
        w = new GxTaskUIButtonIs(parent, nullptr, name, 0);
        break;
    case 19:
        w = new GxTaskUIToggleButtonIs(parent, nullptr, name, 0);
        break;
    case 30:
        w = new GxTaskUIHSliderIs(parent, nullptr, name, 0);
        break;
    case 41:
        w = new GxTaskUIHBarIs(parent, nullptr, name, 0);
        break;
    default:
        return nullptr;
    }
    w->ApplyModule(module);
    w->ApplyLayout(layout);
    return w;
}

DBUIModuleData ModuleRow(int32_t type, const wchar_t* image, int32_t w, int32_t h, int32_t ct = 0, int32_t ch = 0)
{
    DBUIModuleData row;
    row.m_UIType = type;
    row.m_ImageSetName = L"ui_test";
    row.m_ImageName = image;
    row.m_Width = w;
    row.m_Height = h;
    row.m_ClientTop = ct;
    row.m_ClientHeight = ch;
    row.m_FontIndex = 1;
    return row;
}

DBUILayoutData LayoutRow(const wchar_t* name, float x, float y, const wchar_t* text = L"", int32_t max = 0)
{
    DBUILayoutData row;
    row.m_TaskName = name;
    row.m_Visible = row.m_Enabled = 1;
    row.m_Left = x;
    row.m_Top = y;
    row.m_Text = text;
    row.m_Max = max;
    row.m_AutoHelpTime = -1;
    return row;
}

// A two-colour frame: a light border one cell wide and a dark middle.
GisPicture TipFrame()
{
    GisPicture pic = WidgetPicture(L"tip.png", 48, 48, 0xFFE0E0E0);
    for (uint32_t y = 2; y < 46; ++y)
        for (uint32_t x = 2; x < 46; ++x)
            pic.m_Pixels[y * 48 + x] = 0xFF203060;
    return pic;
}

} // namespace

class GxWidgetEngine : public KvWidgetImageFixture
{
protected:
    void SetUp() override
    {
        KvScratchFixture::SetUp();
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        m_SavedCwd = cwd;
        ASSERT_EQ(chdir(m_Dir.c_str()), 0);
        ASSERT_EQ(mkdir("uigis", 0755), 0);

        GxDisplaySettings& ds = GxDisplaySettings::Get() = GxDisplaySettings();
        ds.m_WindowWidth = ds.m_BackBufferWidth = 1024;
        ds.m_WindowHeight = ds.m_BackBufferHeight = 768;
        ds.m_CursorMode = 1;
        ds.m_LockableBackBuffer = false;
        ds.m_SwapEffect = 2;
        ds.m_VSyncInterval = 0;
        m_Core.m_Title = L"GxWidgetEngine";
        m_Core.m_UserConfig = new GxUserConfig();
        m_Core.m_TaskManage = new GxTaskManage(&m_Core);
        m_Core.m_TaskManage->SetRenderLists(m_Core.m_RenderManage, &m_Core.m_RenderBank);
        m_Service = std::make_unique<GxCoreScreenService>(&m_Core);
        m_Core.m_TaskManage->SetScreenService(m_Service.get());
        m_Core.m_ThreadManage = new GxThreadManage(nullptr);
        ASSERT_TRUE(m_Core.CreateMainWindow());
        ASSERT_TRUE(GxGraphics::Initialize(m_Core.m_MainWindow->GetSDLWindow(), nullptr, nullptr, nullptr));
        m_Core.m_FrameTimer.SetTimeSource(&m_Clock);
        m_Core.m_FrameTimer.m_TargetRate = 0;
        m_Core.m_FrameTimer.m_FixedStep = false;
        for (int i = 0; i < 6; ++i)
            g_GDIFontMaps[i].SetFont(GxTaskUIBase::GetSystemConfig().m_FontSize[i], nullptr);
    }
    void TearDown() override
    {
        GxNcImageSetPool::ReleaseAll();
        GxNcCrammedImageSetFactory::GetInstance().ReleaseAll();
        for (auto& map : g_GDIFontMaps)
            map.Clear();
        if (m_Core.m_TaskManage)
        {
            m_Core.m_TaskManage->ClearSequence();
            delete m_Core.m_TaskManage;
            m_Core.m_TaskManage = nullptr;
        }
        GxTextureFactory::GetInstance().Clear();
        delete m_Core.m_ThreadManage;
        m_Core.m_ThreadManage = nullptr;
        delete m_Core.m_UserConfig;
        m_Core.m_UserConfig = nullptr;
        GxGraphics::Finalize();
        if (m_Core.m_MainWindow)
        {
            m_Core.m_MainWindow->Destroy();
            delete m_Core.m_MainWindow;
            m_Core.m_MainWindow = nullptr;
        }
        EXPECT_EQ(chdir(m_SavedCwd.c_str()), 0);
        KvScratchFixture::TearDown();
    }

    // One pass of the main loop: a pending switch, the messages, then one frame of ms milliseconds.
    void Pass(uint32_t ms)
    {
        m_Clock.m_Now += ms;
        m_Core.m_TaskManage->ApplyPendingSequence();
        m_Core.PumpMessages();
        m_Core.Frame();
    }
    void Push(SDL_Event event)
    {
        event.common.timestamp = SDL_GetTicks();
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }
    uint32_t WindowID() { return SDL_GetWindowID(m_Core.m_MainWindow->GetSDLWindow()); }
    // SDL's own pointer state is moved (the widgets poll it; the offscreen driver warps by queueing a
    // motion of its own, which is dropped), then the motion event is pushed.
    void MouseTo(int x, int y)
    {
        SDL_WarpMouseInWindow(m_Core.m_MainWindow->GetSDLWindow(), x, y);
        SDL_FlushEvent(SDL_MOUSEMOTION);
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.windowID = WindowID();
        e.motion.x = x;
        e.motion.y = y;
        e.motion.state = m_Held;
        Push(e);
    }
    void Button(bool down, int x, int y)
    {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.windowID = WindowID();
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = 1;
        e.button.x = x;
        e.button.y = y;
        m_Held = down ? SDL_BUTTON_LMASK : 0;
        Push(e);
    }
    void Wheel(int notches)
    {
        SDL_Event e{};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.windowID = WindowID();
        e.wheel.y = notches;
        Push(e);
    }
    void Key(SDL_Keycode key, SDL_Scancode scan, bool down)
    {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.windowID = WindowID();
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = key;
        e.key.keysym.scancode = scan;
        Push(e);
    }
    // A region of the last frame against tests/task/ui/golden/<name>: the pixels off by more than 24
    // levels in some channel (KV_UPDATE_GOLDEN=1 writes the picture instead).
    size_t Golden(const std::string& name, uint32_t left, uint32_t top, uint32_t width, uint32_t height)
    {
        PfGLTexture* target = GxGraphics::GetDevice()->GetRenderTarget(0);
        EXPECT_TRUE(target && target->ReadBack() == D3D_OK);
        if (!target)
            return width * height;
        std::vector<uint32_t> screen;
        for (uint32_t y = top; y < top + height; ++y)
            for (uint32_t x = left; x < left + width; ++x)
                screen.push_back(KvTexel(target, x, y) | 0xFF000000u);
        const char* source = std::getenv("KV_SOURCE_DIR");
        const std::string path = std::string(source ? source : ".") + "/tests/task/ui/golden/" + name;
        const char* update = std::getenv("KV_UPDATE_GOLDEN");
        if (update && std::string(update) == "1")
        {
            EXPECT_TRUE(PfPngWriter::Write(path, width, height, (const uint8_t*)screen.data())) << path;
            return 0;
        }
        std::ifstream in(path, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        PfImage golden;
        std::string error;
        const bool read = PfImageDecoder::Decode(bytes.data(), bytes.size(), golden, error) &&
                          golden.GetWidth() == width && golden.GetHeight() == height;
        EXPECT_TRUE(read) << path << ": " << error;
        if (!read)
            return width * height;
        size_t over = 0;
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x)
                over += ChannelDistance(screen[(size_t)y * width + x], golden.GetPixel(x, y) | 0xFF000000u) > 24;
        return over;
    }

    GxCore m_Core;
    std::unique_ptr<GxCoreScreenService> m_Service;
    StepClock m_Clock;
    uint32_t m_Held = 0;
};

TEST_F(GxWidgetEngine, PointerEventsDriveEveryWidgetThroughTheWindowProcedure)
{
    PoolSet({WidgetPicture(L"btn_off.png", 80, 30, 0xFF2040C0), WidgetPicture(L"btn_on.png", 80, 30, 0xFFC02020),
             WidgetPicture(L"btn_over.png", 80, 30, 0xFF20C040), WidgetPicture(L"tg_off.png", 30, 30, 0xFF606060),
             WidgetPicture(L"tg_on.png", 30, 30, 0xFFE0C020), WidgetPicture(L"tg_onover.png", 30, 30, 0xFFFFFF80),
             WidgetPicture(L"sl_off.png", 12, 24, 0xFFF0F0F0), WidgetPicture(L"sl_back.png", 200, 8, 0xFF808080),
             WidgetPicture(L"g_on.png", 200, 12, 0xFF30D030), WidgetPicture(L"g_back.png", 200, 12, 0xFF303030),
             TipFrame()});
    GxTaskManage* manage = m_Core.m_TaskManage;
    GxTaskBase* root = new GxTaskBase(manage);
    auto* sys = new GxSeqSystemBase(root, L"SeqSystem");
    auto* tip = new GxTaskUITipHelpIs(sys, L"tip_help");
    tip->ApplyModule(ModuleRow(45, L"tip", 0, 0));
    // The system sequence is walked but never entered: it loads its tip's frame itself.
    ASSERT_TRUE(tip->LoadImages());
    tip->Hide();
    manage->SetSystemSequence(sys);
    auto* seq = new EventSeq(root, L"SeqWidgets");
    seq->SetAcceptUIEvent(true);
    GxSeqBase::ResetInputLocks();

    DBUILayoutData buttonRow = LayoutRow(L"btn", 40.0f, 40.0f);
    buttonRow.m_AutoHelpTime = 500;
    buttonRow.m_Descript = L"ボタンの説明";
    auto* button = static_cast<GxTaskUIButtonIs*>(Build(seq, ModuleRow(18, L"btn", 0, 0), buttonRow));
    auto* toggle =
        static_cast<GxTaskUIToggleButtonIs*>(Build(seq, ModuleRow(19, L"tg", 0, 0), LayoutRow(L"tg", 40.0f, 100.0f)));
    auto* slider = static_cast<GxTaskUIHSliderIs*>(
        Build(seq, ModuleRow(30, L"sl", 200, 24, 8, 8), LayoutRow(L"sl", 40.0f, 160.0f, L"", 100)));
    DBUILayoutData barRow = LayoutRow(L"bar", 40.0f, 220.0f, L"", 100);
    barRow.m_Value = 20;
    auto* bar = static_cast<GxTaskUIHBarIs*>(Build(seq, ModuleRow(41, L"g", 0, 0), barRow));
    DBUIModuleData panelModule = ModuleRow(11, L"", 0, 0);
    panelModule.m_ClientWidth = 200;
    panelModule.m_ClientHeight = 60;
    panelModule.m_ImageName.clear();
    Build(seq, panelModule, LayoutRow(L"pnl", 300.0f, 40.0f, L"Panel"));
    ASSERT_TRUE(button && toggle && slider && bar);

    manage->ChangeSequence(seq, 0, 0);
    Pass(16);
    Pass(16);
    ASSERT_TRUE(manage->IsSequenceStarted());
    ASSERT_EQ(button->GetWidth(), 80) << "images loaded when the sequence was entered";

    // Hover, press, release and rest on the button: the tip comes once.
    MouseTo(60, 50);
    Pass(16);
    EXPECT_EQ(button->GetImageIndex(), 2);
    Button(true, 60, 50);
    Pass(16);
    EXPECT_EQ(seq->m_Events, (std::vector<std::wstring>{L"7:btn", L"1:btn"}));
    EXPECT_EQ(button->GetImageIndex(), 1);
    EXPECT_LE(Golden("button_on.png", 40, 40, 80, 30), 0u);
    Button(false, 60, 50);
    Pass(16);
    EXPECT_LE(Golden("button_over.png", 40, 40, 80, 30), 0u);
    for (int i = 0; i < 32; ++i)
        Pass(16);
    EXPECT_TRUE(tip->IsVisible());
    EXPECT_EQ(tip->GetText(), L"ボタンの説明");
    EXPECT_LE(Golden("tip.png", 30, 60, 160, 64), 40u) << "glyphs may shift a pixel between rasterisers";

    // The toggle: a move hides the tip, a press turns it on; the move over it shows the on-hover look.
    MouseTo(55, 115);
    Pass(16);
    EXPECT_FALSE(tip->IsVisible());
    Button(true, 55, 115);
    Button(false, 55, 115);
    Pass(16);
    EXPECT_TRUE(toggle->GetValueAsBool());
    EXPECT_LE(Golden("toggle.png", 40, 100, 30, 30), 0u);

    // The slider: a press at a quarter of the track, then a drag 40 pixels right.
    seq->m_Events.clear();
    MouseTo(90, 172);
    Pass(16);
    Button(true, 90, 172);
    Pass(16);
    EXPECT_EQ(slider->GetValue(), 25.0);
    MouseTo(130, 172);
    Pass(16);
    EXPECT_EQ(slider->GetValue(), 45.0);
    EXPECT_LE(Golden("slider_drag.png", 30, 160, 220, 24), 0u);
    Button(false, 130, 172);
    Pass(16);
    EXPECT_FALSE(slider->IsDragging());
    EXPECT_EQ(seq->m_Events, (std::vector<std::wstring>{L"7:sl", L"8:tg", L"19:sl", L"19:sl"}));

    // The gauge glides from 20 to 80 over a second: 35 after 250 ms.
    bar->ChangeValue(80, 1000);
    for (int i = 0; i < 10; ++i)
        Pass(25);
    EXPECT_DOUBLE_EQ(bar->GetShownValue(), 35.0);
    EXPECT_LE(Golden("gauge_glide.png", 40, 220, 200, 12), 0u);
    EXPECT_LE(Golden("text_panel.png", 300, 40, 120, 30), 30u);

    // The wheel reaches no widget; keys reach none either, and F4 still switches the mode.
    seq->m_Events.clear();
    Wheel(1);
    Key(SDLK_a, SDL_SCANCODE_A, true);
    Key(SDLK_a, SDL_SCANCODE_A, false);
    Key(SDLK_F4, SDL_SCANCODE_F4, true);
    Key(SDLK_F4, SDL_SCANCODE_F4, false);
    Pass(16);
    EXPECT_EQ(GxDisplaySettings::Get().m_ScreenMode, SCRMODE_FULLSCREEN);
    Key(SDLK_F4, SDL_SCANCODE_F4, true);
    Key(SDLK_F4, SDL_SCANCODE_F4, false);
    Pass(16);
    EXPECT_EQ(GxDisplaySettings::Get().m_ScreenMode, SCRMODE_WINDOW);
    EXPECT_TRUE(seq->m_Events.empty());
}
