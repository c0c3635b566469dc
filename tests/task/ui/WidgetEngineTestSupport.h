#pragma once

// The widget family in a running engine (KvEngineLoop: the core's window and frame loop on the device
// with a stepped clock, SDL events pushed into SDL's queue through the event translator, the window
// procedure and the manager's walks), and regions of the frames compared with golden pictures in tests/task/ui/golden/.
#include "WidgetImageTestSupport.h"

#include "support/KvEngineLoop.h"

#include "appdata/DBUILayout.h"
#include "appdata/GxSystemConfig.h"
#include "core/GxCore.h"
#include "graphics/GxGDIFontMap.h"
#include "task/ui/GxTaskUIButtonIs.h"
#include "task/ui/GxTaskUIHBarIs.h"
#include "task/ui/GxTaskUIHSliderIs.h"
#include "task/ui/GxTaskUIListBoxFx.h"
#include "task/ui/GxTaskUIMenuIs.h"
#include "task/ui/GxTaskUIMessageWindowFx.h"
#include "task/ui/GxTaskUITextPanelFx.h"
#include "task/ui/GxTaskUIToggleButtonIs.h"

#include <memory>

namespace kvwidgets
{

// The widget of a module row's UI type, as a screen's widget factory builds it.
inline GxTaskUIBase* Build(GxTaskBase* parent, const DBUIModuleData& module, const DBUILayoutData& layout)
{
    GxTaskUIBase* w = nullptr;
    const wchar_t* name = layout.m_TaskName.c_str();
    switch (module.m_UIType)
    {
    case 9:
        w = new GxTaskUIMessageWindowFx(parent, nullptr, name, 0);
        break;
    case 11:
        w = new GxTaskUITextPanelFx(parent, nullptr, name, 0);
        break;
    case 40:
        w = new GxTaskUIMenuIs(parent, nullptr, name, 0);
        break;
    case 50:
        w = new GxTaskUIListBoxFx(parent, nullptr, name, 0);
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

inline DBUIModuleData ModuleRow(int32_t type, const wchar_t* image, int32_t w, int32_t h, int32_t ct = 0,
                                int32_t ch = 0)
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

inline DBUILayoutData LayoutRow(const wchar_t* name, float x, float y, const wchar_t* text = L"", int32_t max = 0)
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
inline GisPicture TipFrame()
{
    GisPicture pic = WidgetPicture(L"tip.png", 48, 48, 0xFFE0E0E0);
    for (uint32_t y = 2; y < 46; ++y)
        for (uint32_t x = 2; x < 46; ++x)
            pic.m_Pixels[y * 48 + x] = 0xFF203060;
    return pic;
}

} // namespace kvwidgets

using namespace kvwidgets;

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
        ASSERT_TRUE(m_Loop.Start(L"GxWidgetEngine"));
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
            m_Core.m_TaskManage->ClearSequence();
        m_Loop.Stop();
        EXPECT_EQ(chdir(m_SavedCwd.c_str()), 0);
        KvScratchFixture::TearDown();
    }

    void Pass(uint32_t ms) { m_Loop.Pass(ms); }
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

    // The pointer as the tests move it, each move followed by a pass of the loop: SDL events pushed into
    // SDL's queue here; a fixture on a real X server moves the desktop's pointer instead.
    virtual void PointerTo(int x, int y)
    {
        m_Input.MouseTo(x, y);
        Pass(16);
    }
    virtual void PointerOff()
    {
        m_Input.Hover(false);
        Pass(16);
    }

    // Three buttons 4 pixels apart, as the title's column, passed by the pointer from above the first to
    // below the last, back onto the middle one and off the window: each lights while the pointer is over
    // it and no other does, and nothing stays lit.
    // The three buttons of the column at (100, 100 + 34 i), 80 x 30, in a sequence made current and run
    // two passes; null (with a failure) when one cannot be built.
    EventSeq* ButtonColumn()
    {
        PoolSet(
            {WidgetPicture(L"btn_off.png", 80, 30, 0xFF2040C0), WidgetPicture(L"btn_over.png", 80, 30, 0xFF20C040)});
        GxTaskManage* manage = m_Core.m_TaskManage;
        GxTaskBase* root = new GxTaskBase(manage);
        auto* seq = new EventSeq(root, L"SeqButtons");
        seq->SetAcceptUIEvent(true);
        GxSeqBase::ResetInputLocks();
        const wchar_t* names[3] = {L"b0", L"b1", L"b2"};
        for (int i = 0; i < 3; ++i)
        {
            if (!Build(seq, ModuleRow(18, L"btn", 0, 0), LayoutRow(names[i], 100.0f, 100.0f + 34.0f * i)))
            {
                ADD_FAILURE() << "button " << i << " not built";
                return nullptr;
            }
        }
        manage->ChangeSequence(seq, 0, 0);
        Pass(16);
        Pass(16);
        return seq;
    }
    // Which buttons of the column show the over look in the last frame, read at their middles.
    std::string LitButtons()
    {
        std::string out;
        for (int i = 0; i < 3; ++i)
            out += (m_Loop.Pixel(140, 115 + 34 * i) & 0xFFFFFF) == 0x20C040 ? '1' : '0';
        return out;
    }

    void StackedButtonsLightOneAtATime()
    {
        EventSeq* seq = ButtonColumn();
        ASSERT_NE(seq, nullptr);
        auto lit = [&] { return LitButtons(); };
        EXPECT_EQ(lit(), "000");
        // Down the column in 8-pixel steps.
        std::vector<std::string> frames;
        for (int y = 90; y <= 210; y += 8)
        {
            PointerTo(140, y);
            const std::string now = lit();
            if (frames.empty() || frames.back() != now)
                frames.push_back(now);
        }
        // (162 lies on the second button and 170 already on the third.)
        EXPECT_EQ(frames, (std::vector<std::string>{"000", "100", "000", "010", "001", "000"}));
        PointerTo(140, 150);
        EXPECT_EQ(lit(), "010");
        PointerOff();
        EXPECT_EQ(lit(), "000");
        Pass(16);
        // A move reaches the button it enters before the update notices the one it left.
        EXPECT_EQ(seq->m_Events,
                  (std::vector<std::wstring>{L"7:b0", L"8:b0", L"7:b1", L"7:b2", L"8:b1", L"8:b2", L"7:b1", L"8:b1"}));
    }

    // The column with the pointer gone from the window after resting on a button: a pointer off the
    // window is over none of them, which is all they need to know, so no pass asks the desktop where it
    // went (on an X server each ask is a round trip to it).
    void ButtonsLeaveTheDesktopAlone()
    {
        ASSERT_NE(ButtonColumn(), nullptr);
        PointerTo(140, 150);
        EXPECT_EQ(LitButtons(), "010");
        PointerOff();
        const uint64_t before = m_Core.m_MainWindow->GetDesktopPointerQueries();
        for (int i = 0; i < 20; ++i)
            Pass(16);
        EXPECT_EQ(LitButtons(), "000");
        EXPECT_EQ(m_Core.m_MainWindow->GetDesktopPointerQueries() - before, 0u) << "desktop asks in 20 passes";
    }

    KvEngineLoop m_Loop;
    GxCore& m_Core = m_Loop.m_Core;
    KvSdlInput& m_Input = m_Loop.m_Input;
};
