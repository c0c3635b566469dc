// The extra screens in the generated sample game with a real device: the gallery's page shows the shown
// entry's thumbnail (its first picture made small) and the plate of an entry not yet shown, the viewer the
// entry's first shown picture, the replay page a tile for each scene, and nothing is logged on the way.
#include "adventure/SeqBGMMode.h"
#include "adventure/SeqCGMode.h"
#include "adventure/SeqCGModeView.h"
#include "adventure/SeqRPMode.h"
#include "appdata/DBTestSupport.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxCore.h"
#include "graphics/GraphicsTestSupport.h"
#include "graphics/GxGraphics.h"
#include "media/GxSound.h"
#include "platform/PfAudioDevice.h"
#include "platform/PfImage.h"
#include "platform/PfImageDecoder.h"
#include "support/SampleGameCache.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUIBase.h"
#include "task/ui/GxTaskUIRadioButtonIs.h"

#include <thread>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace
{

class ExtraSampleGame : public KvGraphicsFixture
{
protected:
    void SetUp() override
    {
        KvGraphicsFixture::SetUp();
        Reset();
        m_Game = Path("game");
        ASSERT_TRUE(kvtest::CopySampleGame(m_Game));
        m_OldDir = std::filesystem::current_path();
        std::filesystem::current_path(m_Game);
        m_Core = std::make_unique<GxCore>();
        m_Core->m_SystemConfig = new GxSystemConfig();
        m_Core->m_SystemConfig->LoadSysConf();
        m_Core->m_SystemConfig->LoadSetting();
        m_Core->m_UserConfig = new GxUserConfig();
        m_Core->m_UserDataPerman = new GxUserDataPerman(m_Core.get());
        m_Core->m_SavePath = Folder();
        m_Core->m_TaskManage = new GxTaskManage(m_Core.get());
        m_Core->m_TaskManage->SetRenderLists(m_Core->m_RenderManage, &m_Core->m_RenderBank);
        ASSERT_TRUE(m_Core->OnGameInit());
        SeqExtraBase::SetTargets(&m_Data, m_Core->m_UserDataPerman, m_Core->m_SystemConfig);
        GxSoundControl::SetTargets(m_Core->m_UserConfig, &m_Data);
        Manage()->ApplyPendingSequence(); // the boot screen
    }
    void TearDown() override
    {
        SeqExtraBase::SetTargets(nullptr, nullptr);
        GxSoundControl::SetTargets(nullptr, nullptr);
        if (m_Core)
        {
            delete m_Core->m_TaskManage;
            m_Core->m_TaskManage = nullptr;
            EXPECT_TRUE(m_Core->OnGameTerm());
            m_Core.reset();
            std::filesystem::current_path(m_OldDir);
        }
        Reset();
        KvGraphicsFixture::TearDown();
    }
    static void Reset() { dbtest::ResetTables(g_DBBGMMode, g_DBCGMode, g_DBRPMode, g_DBUIModule, g_DBUILayout); }
    GxTaskManage* Manage() { return m_Core->m_TaskManage; }
    void Enter(const wchar_t* name, uint32_t param0)
    {
        ASSERT_TRUE(Manage()->ChangeSequence(name, param0, 0));
        Manage()->ApplyPendingSequence();
    }
    // Frames as the core's loop runs them (update, draw registration), the last one drawn.
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            m_Core->ClearRenderLayers();
            GxTaskManage* manage = Manage();
            manage->DeleteDeadTasks(manage->GetRootTask());
            manage->ClearStepFlags();
            if (GxSeqBase* current = manage->GetCurrentSequence())
            {
                if (!manage->IsSequenceStarted())
                    manage->WalkUpdatePreStart(current, 0, 16000);
                manage->WalkUpdate(current, 0, 16000);
            }
            manage->WalkRegisterDraw(manage->GetCurrentSequence(), 0, 16000);
        }
        // The screen's own draw entries open and close the scene, as in the core's frame.
        m_Core->DrawRenderLayers();
        if (GxGraphics::GetSceneCount() > 0)
            GxGraphics::EndScene();
    }
    bool Near(uint32_t pixel, uint32_t expected) { return ChannelDistance(pixel | 0xFF000000u, expected) <= 8; }
    // The middle pixel of a picture of the game folder, as the file holds it (0 when it cannot be read).
    uint32_t PictureMiddle(const std::string& file)
    {
        std::ifstream in(m_Game + "/" + file, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        PfImage image;
        std::string error;
        if (!PfImageDecoder::Decode(bytes.data(), bytes.size(), image, error))
            return 0;
        return image.GetPixel(image.GetWidth() / 2, image.GetHeight() / 2);
    }

    std::unique_ptr<GxCore> m_Core;
    GxUserData m_Data{nullptr};
    std::string m_Game;
    std::filesystem::path m_OldDir;
};

} // namespace

TEST_F(ExtraSampleGame, GalleryPageAndViewerShowTheirPictures)
{
    m_Core->m_UserDataPerman->m_ShowedCGFlags[L"ev01b"] = 1;
    Enter(L"SeqCGMode", 0);
    Frames(3);
    auto* gallery = static_cast<SeqCGMode*>(Manage()->FindTaskByName(L"SeqCGMode"));
    ASSERT_EQ(gallery->GetPageEntries(), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(gallery->GetCompletionText(), L" 12"); // 1 of 8 pictures
    // Slot 0 at (112, 100): entry 1's thumbnail, its red first picture; slot 1 at (276, 100): the brown plate
    // of entry 2.
    EXPECT_TRUE(Near(Pixel(112 + 80, 100 + 45), 0xFFC03030)) << std::hex << Pixel(192, 145);
    EXPECT_TRUE(Near(Pixel(276 + 80, 100 + 45), 0xFF806020)) << std::hex << Pixel(356, 145);

    Enter(L"SeqBoot", 0);
    Enter(L"SeqCGModeView", 1);
    Frames(2);
    auto* viewer = static_cast<SeqCGModeView*>(Manage()->FindTaskByName(L"SeqCGModeView"));
    EXPECT_EQ(viewer->GetCell(), 1);
    // ev01b is the second event picture: blue.
    EXPECT_TRUE(Near(Pixel(100, 100), 0xFF3030C0)) << std::hex << Pixel(100, 100);
    EXPECT_EQ(ReadLog("error.log"), L"");
}

TEST_F(ExtraSampleGame, EveryGalleryThumbnailIsItsEntrysFirstPicture)
{
    for (const wchar_t* picture : {L"ev01a", L"ev02a", L"ev03a", L"ev04a"})
        m_Core->m_UserDataPerman->m_ShowedCGFlags[picture] = 1;
    Enter(L"SeqCGMode", 0);
    Frames(40); // past the entry transition, so the page buttons take clicks
    auto* gallery = static_cast<SeqCGMode*>(Manage()->FindTaskByName(L"SeqCGMode"));
    size_t checked = 0;
    for (int page = 0; page < 2; ++page)
    {
        if (page == 1)
        {
            ASSERT_TRUE(gallery->FindWidget(L"btn_next", 0)->PostUIEventCode(1));
            Frames(1);
        }
        const std::vector<int32_t> entries = gallery->GetPageEntries();
        for (size_t slot = 0; slot < entries.size(); ++slot, ++checked)
        {
            const std::wstring first = g_DBCGMode.GetRow(entries[slot])->m_FileName[0];
            const uint32_t expected = PictureMiddle("cg/ev/" + GxString::ToUtf8(first) + ".png");
            const int x = 112 + 164 * static_cast<int>(slot) + 80, y = 100 + 45;
            EXPECT_TRUE(Near(Pixel(x, y), expected | 0xFF000000u))
                << "entry " << entries[slot] << ": " << std::hex << Pixel(x, y) << " for " << expected;
        }
    }
    EXPECT_EQ(checked, 4u);
    EXPECT_EQ(ReadLog("error.log"), L"");
}

TEST_F(ExtraSampleGame, ReplayPageShowsPassedScenesAndPlates)
{
    m_Core->m_UserDataPerman->m_PassedReplayLabels.insert(L"REPLAY_01");
    Enter(L"SeqRPMode", 0);
    Frames(40); // past the entry transition, so the page buttons take clicks
    auto* replay = static_cast<SeqRPMode*>(Manage()->FindTaskByName(L"SeqRPMode"));
    ASSERT_EQ(replay->GetPageEntries(), (std::vector<int32_t>{1}));
    EXPECT_EQ(replay->GetCompletionText(), L" 50");
    EXPECT_TRUE(m_Data.m_ReplayMode);
    // Page 1, slot 0: the passed scene's thumbnail, the forest it opens in (the ground at the middle).
    EXPECT_TRUE(Near(Pixel(192, 145), 0xFF206020u)) << std::hex << Pixel(192, 145);
    // Page 2, slot 0: the scene not passed, its plate.
    auto* second = static_cast<GxTaskUIRadioButtonIs*>(replay->FindWidget(L"btn_pageselect", 2));
    ASSERT_NE(second, nullptr);
    second->Select();
    ASSERT_TRUE(second->PostUIEventCode(1));
    Frames(1);
    ASSERT_EQ(replay->GetPageEntries(), (std::vector<int32_t>{2}));
    EXPECT_TRUE(Near(Pixel(192, 145), 0xFF806020u)) << std::hex << Pixel(192, 145);
    EXPECT_EQ(ReadLog("error.log"), L"");
}

TEST_F(ExtraSampleGame, EveryReplayTileIsAScenePassedWhenTheRateIsFull)
{
    for (const wchar_t* label : {L"REPLAY_01", L"REPLAY_02"})
        m_Core->m_UserDataPerman->m_PassedReplayLabels.insert(label);
    Enter(L"SeqRPMode", 0);
    Frames(3);
    auto* replay = static_cast<SeqRPMode*>(Manage()->FindTaskByName(L"SeqRPMode"));
    EXPECT_EQ(replay->GetCompletionText(), L"100");
    const std::vector<int32_t> entries = replay->GetPageEntries();
    ASSERT_FALSE(entries.empty());
    for (size_t slot = 0; slot < entries.size(); ++slot)
    {
        EXPECT_TRUE(replay->FindWidget(L"btn_rpselect", static_cast<int32_t>(slot))->IsEnabled()) << slot;
        const int x = 112 + 164 * static_cast<int>(slot) + 80;
        EXPECT_FALSE(Near(Pixel(x, 145), 0xFF806020u)) << "slot " << slot << " shows a plate";
    }
    EXPECT_EQ(ReadLog("error.log"), L"");
}

// Both page screens open on a page whose button is on, and each page button shows the rows of its own page,
// none of them empty: the buttons' index and the tables' Group count pages alike, from 1.
TEST_F(ExtraSampleGame, EveryPageButtonShowsItsOwnPage)
{
    const struct
    {
        const wchar_t* screen;
        int32_t (*group)(int32_t id);
    } screens[] = {{L"SeqCGMode", [](int32_t id) { return g_DBCGMode.GetRow(id)->m_Group; }},
                   {L"SeqRPMode", [](int32_t id) { return g_DBRPMode.GetRow(id)->m_Group; }}};
    for (const auto& [name, group] : screens)
    {
        SCOPED_TRACE(GxString::ToUtf8(name));
        Enter(name, 0);
        Frames(40); // past the entry transition, so the page buttons take clicks
        auto* screen = static_cast<SeqExtraPage*>(Manage()->FindTaskByName(name));
        EXPECT_EQ(screen->GetCurrentPage(), 1);
        EXPECT_EQ(screen->GetCheckedPage(), screen->GetCurrentPage());
        EXPECT_EQ(screen->GetLastPage(), 2);
        for (int32_t page = 1; page <= 2; ++page)
        {
            auto* button = static_cast<GxTaskUIRadioButtonIs*>(screen->FindWidget(L"btn_pageselect", page));
            ASSERT_NE(button, nullptr) << page;
            button->Select(); // a press turns the radio button on before its click arrives
            ASSERT_TRUE(button->PostUIEventCode(1));
            Frames(1);
            EXPECT_EQ(screen->GetCurrentPage(), page);
            const std::vector<int32_t> entries = screen->GetPageEntries();
            EXPECT_FALSE(entries.empty()) << "page " << page;
            for (int32_t id : entries)
                EXPECT_EQ(group(id), page) << "row " << id;
        }
        Enter(L"SeqBoot", 0);
    }
    EXPECT_EQ(ReadLog("error.log"), L"");
}

TEST_F(ExtraSampleGame, MusicRoomBuildsItsLayoutAndPlaysTheSecondTrack)
{
    ASSERT_TRUE(PfAudioDevice::Open(PfAudioDevice::kOutputPull));
    ASSERT_TRUE(GxSound::Initialize(nullptr));
    Enter(L"SeqBGMMode", 0);
    // Past the entry transition, during which the screen takes no input.
    Frames(40);
    auto* room = static_cast<SeqBGMMode*>(Manage()->FindTaskByName(L"SeqBGMMode"));
    EXPECT_EQ(room->GetTrackCount(), 3);
    // The tracks' name pictures in their buttons (400, 168 + 48 (i - 1)), on each track's colour.
    const uint32_t plates[] = {0xFF304050, 0xFF305040, 0xFF504030};
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(Near(Pixel(404, 171 + 48 * i), plates[i])) << i << " " << std::hex << Pixel(404, 171 + 48 * i);
    const size_t clicks = GxSound::GetOneShotCount();
    g_Core = m_Core.get(); // the system sounds are the core's configuration's
    for (int i = 0; i < 2; ++i)
    {
        // The same sound again within a few milliseconds is dropped as a double; a player's two presses
        // are never that close.
        std::this_thread::sleep_for(std::chrono::milliseconds(2 * GxSound::kOneShotRepeatMs));
        ASSERT_TRUE(room->FindWidget(L"btn_bgmnext", 0)->PostUIEventCode(1));
        Frames(1);
    }
    EXPECT_EQ(GxSound::GetOneShotCount(), clicks + 2); // the buttons' click sound
    g_Core = nullptr;
    GxSound::Finalize();
    PfAudioDevice::Close();
    EXPECT_EQ(room->GetCurrentTrack(), 2);
    EXPECT_EQ(m_Data.m_BGMRecord.m_FileName, L"bgms/bgm02.ogg"); // completed as the player needs it
    EXPECT_TRUE(room->FindWidget(L"tip_playing", 0)->IsVisible());
    EXPECT_EQ(ReadLog("error.log"), L"");
}

// A track's name stands in its select button: a press at the middle of the name, through the input walk as
// the player's mouse goes, chooses that track.
TEST_F(ExtraSampleGame, MusicRoomTrackNameChoosesItsTrack)
{
    Enter(L"SeqBGMMode", 0);
    Frames(40); // past the entry transition, during which the screen takes no input
    auto* room = static_cast<SeqBGMMode*>(Manage()->FindTaskByName(L"SeqBGMMode"));
    for (int32_t track : {3, 1})
    {
        GxTaskUIBase* name = room->FindWidget(L"tip_bgmname", track);
        ASSERT_NE(name, nullptr) << track;
        const GxVector4 pos = name->GetPos();
        const float point[2] = {pos.x + name->GetWidth() / 2.0f, pos.y + name->GetHeight() / 2.0f};
        Manage()->WalkMouseLeftDown(Manage()->GetCurrentSequence(), point, 1);
        Manage()->WalkMouseLeftUp(Manage()->GetCurrentSequence(), point, 0);
        Frames(1);
        EXPECT_EQ(room->GetCurrentTrack(), track) << "a press on the name at " << point[0] << ", " << point[1];
    }
    EXPECT_EQ(ReadLog("error.log"), L"");
}

TEST_F(ExtraSampleGame, MissingThumbnailsAreLoggedOncePerRowAndTheButtonsStillWork)
{
    m_Core->m_UserDataPerman->m_ShowedCGFlags[L"ev01a"] = 1;
    m_Core->m_UserDataPerman->m_ShowedCGFlags[L"ev03a"] = 1;
    const auto missing = [&](int32_t id)
    {
        const std::wstring log = ReadLog("error.log");
        const std::wstring line = L" (ID=" + std::to_wstring(id) + L")が見つかりません";
        size_t count = 0;
        for (size_t at = log.find(line); at != std::wstring::npos; at = log.find(line, at + 1))
            ++count;
        return count;
    };
    // First an image the set lacks, then a set cut short on disk: each entry logs the rows it cannot
    // show once, and the page and thumbnail buttons go on working.
    g_DBCGMode.GetRow(1)->m_Thumbnail = L"thumb_ev0?";
    for (int pass = 0; pass < 2; ++pass)
    {
        if (pass == 1)
        {
            g_DBCGMode.GetRow(1)->m_Thumbnail = L"thumb_ev01";
            std::filesystem::resize_file(m_Game + "/uigis/th_cgmode.gis", 40);
        }
        Enter(L"SeqCGMode", 0);
        Frames(40);
        auto* gallery = static_cast<SeqCGMode*>(Manage()->FindTaskByName(L"SeqCGMode"));
        // Page 2 by its button, whichever page the visit opened on.
        auto* second = static_cast<GxTaskUIRadioButtonIs*>(gallery->FindWidget(L"btn_pageselect", 2));
        ASSERT_NE(second, nullptr);
        second->Select();
        ASSERT_TRUE(second->PostUIEventCode(1));
        Frames(1);
        EXPECT_EQ(gallery->GetPageEntries(), (std::vector<int32_t>{3, 4}));
        ASSERT_TRUE(gallery->FindWidget(L"btn_cgselect", 0)->PostUIEventCode(1));
        Frames(1);
        EXPECT_EQ(Manage()->GetPendingSequenceName(), L"SeqCGModeView");
        Manage()->ApplyPendingSequence();
        EXPECT_EQ(Manage()->GetCurrentParam(0), 3u);
        Frames(2);
    }
    EXPECT_EQ(missing(1), 2u); // once with the image missing, once with the set broken
    for (int32_t id : {2, 3, 4})
        EXPECT_EQ(missing(id), 1u) << id;
}
