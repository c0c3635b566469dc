// The defence screen in the running engine, built from the sample game's UI rows, driven by SDL events
// through the core's loop (ZorDefenceTest).
#include "ZorDefenceTestSupport.h"

#include "appdata/DBZorStruct.h"
#include "strategy/ZorGeometry.h"
#include "strategy/screens/ZorTaskCamera.h"
#include "strategy/screens/ZorTaskMapPointing.h"
#include "strategy/screens/ZorTaskMapView.h"
#include "strategy/screens/ZorTaskUnitList.h"

#include "appdata/GxSoundControl.h"
#include "appdata/GxUserData.h"
#include "graphics/GxFontData.h"
#include "media/GxSound.h"
#include "media/GxSoundBufferStream.h"
#include "media/GxSoundPlayerStream.h"
#include "platform/PfAudioDevice.h"
#include "task/GxTaskCastString2D.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

using ZorScreenTest = zortest::ZorDefenceTest;

TEST_F(ZorScreenTest, TicksRunOnlyInFreePlayWithoutDialogsOrSpecialEffects)
{
    Enter(m_Screen, SeqZorMain::kParamBack);
    State().m_GamePhase = 0;
    struct Case
    {
        int32_t phase, speed, dialogs;
        bool special;
        int32_t ticks;
    } cases[] = {{0, 0, 0, false, 0}, {0, 1, 0, false, 1}, {0, 2, 0, false, 2}, {1, 2, 0, false, 2},
                 {2, 1, 0, false, 0}, {8, 1, 0, false, 0}, {0, 1, 1, false, 0}, {0, 2, 0, true, 0}};
    for (const Case& c : cases)
    {
        State().m_GamePhase = c.phase;
        State().m_GameState = c.speed;
        GxSeqBase::SetOpenDialogCount(c.dialogs);
        GxTaskBase* special = c.special ? new GxTaskBase(Folder(L"$EFFECTSPECIAL:SeqZorMain")) : nullptr;
        const int32_t before = State().m_TimerCount;
        Passes(1);
        EXPECT_EQ(State().m_TimerCount - before, c.ticks) << c.phase << " " << c.speed;
        delete special;
    }
}

TEST_F(ZorScreenTest, OpeningEndsBeforeTheFirstTickAndTheEndWaitsForItsEffect)
{
    Enter(m_Screen, SeqZorMain::kParamBack);
    State().m_GamePhase = 5;
    State().m_GameState = 1;
    auto* opening = new GxTaskBase(Folder(L"$EFFECTSTART:SeqZorMain"));
    Passes(1);
    EXPECT_EQ(State().m_GamePhase, 5);
    delete opening;
    const int32_t before = State().m_TimerCount;
    Passes(1);
    EXPECT_EQ(State().m_GamePhase, 0);
    EXPECT_EQ(State().m_TimerCount - before, 1); // the same update ticks

    for (int32_t phase : {6, 7})
    {
        State().m_GamePhase = phase;
        auto* end = new GxTaskBase(Folder(L"$EFFECTEND:SeqZorMain"));
        Passes(1);
        EXPECT_FALSE(m_Manage.IsChangeSequencePending());
        delete end;
        Passes(1);
        EXPECT_TRUE(m_Manage.IsChangeSequencePending());
        EXPECT_EQ(m_Releaser->GetJumpLabel(), phase == 6 ? L"ZOR_DEF_VICTORY" : L"ZOR_DEF_DEFEATED");
        m_Manage.ApplyPendingSequence();
        State().m_GamePhase = 0;
        Enter(m_Screen, SeqZorMain::kParamBack);
        Passes(1);
    }
}

TEST_F(ZorScreenTest, EntryResetsOnlyOnFreshOrRestoredAndShowsStoredSpeed)
{
    State().m_GameState = 2;
    State().m_GameUnitTab_ZOR = 3;
    Enter(m_Screen, SeqZorMain::kParamBack);
    EXPECT_TRUE(Radio(L"btn_zorplay2x")->GetValueAsBool());
    EXPECT_FALSE(Radio(L"btn_zorpause")->GetValueAsBool());
    EXPECT_EQ(State().m_GameUnitTab_ZOR, 3);
    m_Manage.ChangeSequence(m_Loader, 0, 0);
    m_Manage.ApplyPendingSequence();
    Enter(m_Screen, SeqZorMain::kParamFresh);
    EXPECT_EQ(State().m_GameState, 0);
    EXPECT_EQ(State().m_GameUnitTab_ZOR, 0);
    Passes(1);
    EXPECT_EQ(State().m_GamePhase, 0); // the opening had no effect to wait for
    EXPECT_TRUE(Radio(L"btn_zorpause")->GetValueAsBool());
    EXPECT_EQ(m_Screen->GetCamera()->GetProgress(ZorTaskCamera::kTarget) < 1.0f, true);
}

TEST_F(ZorScreenTest, KeysPassTheButtonsAndDigitsNeedTheDebugFlag)
{
    Enter(m_Screen, SeqZorMain::kParamFresh);
    Passes(1);
    ASSERT_TRUE(Radio(L"btn_zorpause") && Radio(L"btn_zorplay") && Radio(L"btn_zorplay2x"));
    EXPECT_TRUE(Radio(L"btn_zorpause")->GetValueAsBool());
    struct Case
    {
        SDL_Keycode key;
        int32_t dialogs, before, after;
        const wchar_t* selected;
    } cases[] = {{SDLK_c, 0, 0, 2, L"btn_zorplay2x"},
                 {SDLK_x, 0, 2, 1, L"btn_zorplay"},
                 {SDLK_x, 0, 0, 0, L"btn_zorplay"}, // already selected: no click
                 {SDLK_z, 3, 1, 1, L"btn_zorplay"}, // a dialog above the bar takes the keys
                 {SDLK_z, 0, 1, 0, L"btn_zorpause"}};
    for (const Case& c : cases)
    {
        State().m_GameState = c.before;
        GxSeqBase::SetOpenDialogCount(c.dialogs);
        Tap(c.key);
        EXPECT_EQ(State().m_GameState, c.after) << c.key;
        EXPECT_TRUE(Radio(c.selected)->GetValueAsBool()) << c.key;
    }
    GxSeqBase::SetOpenDialogCount(0);

    // T: the camera heads for the throne room, a move of 64 steps.
    ZorTaskCamera* camera = m_Screen->GetCamera();
    camera->JumpTo(200.0f, 200.0f);
    Tap(SDLK_t);
    int steps = 1;
    for (; steps < 100 && camera->GetProgress(ZorTaskCamera::kTarget) < 1.0f; ++steps)
        Passes(1);
    EXPECT_EQ(steps, 64);
    EXPECT_EQ(camera->GetCurrent().m_Target.x, (State().m_ThroneRoomPosX - 5) * 80.0f);
    EXPECT_EQ(camera->GetCurrent().m_Target.z, (State().m_ThroneRoomPosY - 4) * 80.0f);

    // The digits win, lose or take the throne only in debug mode.
    for (SDL_Keycode key : {SDLK_1, SDLK_2, SDLK_0})
        Tap(key);
    EXPECT_EQ(State().m_RemainEnemyLeft, 5);
    EXPECT_EQ(State().m_Resource_AstarosHP, 100);
    SetDebugMode(true);
    Tap(SDLK_2);
    EXPECT_EQ(State().m_RemainEnemyLeft, 0);
    EXPECT_EQ(State().m_Capture_Result, 2);
    Tap(SDLK_0);
    EXPECT_EQ(State().m_Resource_AstarosHP, 0);
}

TEST_F(ZorScreenTest, MapPressesPassTheInvisibleCallerAndItsInputTest)
{
    Enter(m_Screen, SeqZorMain::kParamBack);
    State().m_GamePhase = 0;
    m_Screen->GetCamera()->JumpTo(-240.0f, -240.0f); // room (2, 1) in the middle of the screen
    Passes(1);
    // A dialog above the screen takes the press; without one it opens the room under the cursor, and a
    // right press on the map closes it again.
    GxSeqBase::SetOpenDialogCount(3);
    Click(512, 384);
    EXPECT_EQ(State().m_GamePhase, 0);
    GxSeqBase::SetOpenDialogCount(0);
    Click(512, 384);
    EXPECT_EQ(State().m_GamePhase, 1);
    EXPECT_EQ(m_Screen->GetRoomWindowRX(), 2);
    EXPECT_EQ(m_Screen->GetRoomWindowRZ(), 1);
    Click(300, 300, SDL_BUTTON_RIGHT);
    EXPECT_EQ(State().m_GamePhase, 0);
}

TEST_F(ZorScreenTest, DragFromTheUnitListDropsOnASlotOfTheRoomWithinItsCapacity)
{
    Enter(m_Screen, SeqZorMain::kParamBack);
    State().m_GamePhase = 0;
    ZorTaskUnitEntity* unit = AddUnit(ZorCore::kUnitReadyList, 12, 1);
    unit->m_HP = unit->GetMaxHP(); // a wounded unit cannot be picked up
    m_Screen->GetUnitList()->UpdateScrollRange();
    ZorRoomState* room = State().GetRoughRoom(2, 1);
    ASSERT_TRUE(room && room->m_MapRoom);
    g_DBZorStruct.GetRow(room->m_StructID)->m_Capacity = 2;
    const int32_t cx = room->m_MapRoom->m_CenterDX;
    const int32_t cz = room->m_MapRoom->m_CenterDZ;
    ZorTaskCamera* camera = m_Screen->GetCamera();
    camera->JumpTo(0.0f, 0.0f);
    Passes(1);
    struct Case
    {
        int32_t dx, dz;
        bool overBar, dropped;
    } cases[] = {{0, 0, false, false},  // the centre is slot 4: past a capacity of 2
                 {1, 1, false, false},  // a diagonal is no slot
                 {-1, 0, true, false},  // slot 0, but let go over the bottom bar
                 {-1, 0, false, true}}; // slot 0
    for (const Case& c : cases)
    {
        const GxVector4 w = ZorCellToWorld(cx + c.dx, cz + c.dz);
        const GxVector3 s = camera->WorldToScreen(GxVector3(w.x, 0.0f, w.z));
        const int x = static_cast<int>(s.x), y = c.overBar ? 700 : static_cast<int>(s.y);
        Press(270, 629); // the first card's pick-up button
        EXPECT_EQ(m_Screen->GetDraggedUnit(), static_cast<int64_t>(unit->GetTaskID()));
        MoveTo(x, y);
        Release(x, y);
        EXPECT_EQ(m_Screen->GetDraggedUnit(), 0);
        EXPECT_EQ(room->m_UnitEntityIDs[0] != 0, c.dropped) << c.dx << "," << c.dz;
    }
    EXPECT_EQ(room->m_UnitEntityIDs[0], static_cast<int64_t>(unit->GetTaskID()));
}

// The pieces themselves are read back from the frame in ZorMapViewDeviceTest.
TEST_F(ZorScreenTest, MapViewSkipsAFacilityWithoutAModelSet)
{
    ZorRoomState* room = State().GetRoughRoom(2, 1);
    auto bases = [&]
    {
        std::vector<ZorTaskMapView::Item> items;
        ZorTaskMapView::CollectItems(State(), ZorTaskMapView::CursorInput{}, items);
        return std::count_if(items.begin(), items.end(),
                             [](const ZorTaskMapView::Item& it) {
                                 return it.m_Kind == ZorTaskMapView::kBase && it.m_World.m[3][0] == -240.0f &&
                                        it.m_World.m[3][2] == -240.0f;
                             });
    };
    EXPECT_EQ(bases(), 1);
    room->m_StructID = 25; // past the twenty model sets
    EXPECT_EQ(bases(), 0);
}

TEST_F(ZorScreenTest, LoaderSwitchesOnTheStepTheUnitPoolCompletes)
{
    Enter(m_Loader, 0);
    int steps = 1;
    while (!m_Manage.IsChangeSequencePending() && steps < 400)
    {
        EXPECT_TRUE(ZorMapModelPool::GetLoadIndex() < 20 || ZorNcPoolUnit::GetLoadIndex() < 160);
        Passes(1);
        ++steps;
    }
    EXPECT_GE(steps, 21);
    EXPECT_EQ(ZorNcPoolUnit::GetLoadIndex(), 160);
    EXPECT_EQ(m_Manage.GetCurrentSequenceName(), L"SeqZorLoader");
    m_Manage.ApplyPendingSequence();
    EXPECT_EQ(m_Manage.GetCurrentSequence(), m_Screen);
    EXPECT_EQ(m_Manage.GetCurrentParam(0), SeqZorMain::kParamFresh);
    // Restoring a save: the stage is not begun again and the screen gets 2.
    State().m_GamePhase = 0;
    Enter(m_Loader, SeqZorLoader::kParamRestore);
    for (int i = 0; i < 400 && !m_Manage.IsChangeSequencePending(); ++i)
        Passes(1);
    m_Manage.ApplyPendingSequence();
    EXPECT_EQ(m_Manage.GetCurrentParam(0), SeqZorMain::kParamRestored);
    EXPECT_EQ(State().m_GamePhase, 0);
}

TEST_F(ZorScreenTest, ReleaserActsAfterSixtyOneSteps)
{
    m_Releaser->SetNextSequence(L"SeqZorLoader", 7);
    EXPECT_TRUE(m_Releaser->GetJumpLabel().empty());
    Enter(m_Releaser, 0);
    for (int i = 1; i < 61; ++i)
    {
        EXPECT_FALSE(m_Manage.IsChangeSequencePending()) << i;
        Passes(1);
    }
    Passes(1);
    EXPECT_TRUE(m_Manage.IsChangeSequencePending());
    m_Manage.ApplyPendingSequence();
    EXPECT_EQ(m_Manage.GetCurrentParam(0), 7u);
}

namespace
{

// The amplitude of a tone of hz in the left channel of interleaved stereo at 44,100 Hz (Goertzel, Hann).
double ToneIn(const std::vector<int16_t>& stereo, double hz)
{
    const size_t n = stereo.size() / 2;
    double re = 0, im = 0, weights = 0;
    for (size_t i = 0; i < n; ++i)
    {
        const double w = 0.5 - 0.5 * std::cos(2 * M_PI * static_cast<double>(i) / static_cast<double>(n - 1));
        const double x = stereo[i * 2] / 32768.0 * w;
        re += x * std::cos(2 * M_PI * hz * static_cast<double>(i) / 44100.0);
        im += x * std::sin(2 * M_PI * hz * static_cast<double>(i) / 44100.0);
        weights += w;
    }
    return weights > 0 ? 2 * std::sqrt(re * re + im * im) / weights : 0;
}

// A tenth of a second of the mixed output, every channel's feeder caught up first.
std::vector<int16_t> PullMix()
{
    for (int i = 0; i < 200; ++i)
    {
        bool idle = true;
        for (uint32_t c = 0; c < GxSound::kChannelCount; ++c)
            idle = idle && GxSound::GetChannel(c)->GetBuffer().IsFeederIdle();
        if (idle)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::vector<int16_t> out(4410 * 2);
    PfAudioDevice::Pull(out.data(), 4410);
    return out;
}

} // namespace

// The rules' voices, one-shots, music, pop-ups and cut-ins reach the running screen: the sample's
// strategy voice (990 Hz) and one-shot (1,320 Hz) in the mixed output, the victory music in the BGM
// record, "+5" over the gold for 60 steps, and no tick while a cut-in plays.
TEST_F(ZorScreenTest, RulesNotificationsAreHeardAndSeenOnTheScreen)
{
    GxUserData data(nullptr);
    GxSoundControl::SetTargets(m_Loop.m_Core.m_UserConfig, &data);
    ASSERT_TRUE(PfAudioDevice::Open(PfAudioDevice::kOutputPull));
    ASSERT_TRUE(GxSound::Initialize(nullptr));
    DBZorVoiceData* master = g_DBZorVoice.GetRow(45);
    master->m_VoicePath = L"voices/astaros/";
    master->m_VoiceVolumeID = 1;
    master->m_Voice[16] = L"zv_astaros_017";

    // The stage opens with the master's line on the voice's sound-effect channel.
    Enter(m_Screen, SeqZorMain::kParamFresh);
    EXPECT_GT(ToneIn(PullMix(), 990.0), 0.05);
    GxSound::Close(4);
    PullMix();
    EXPECT_LT(ToneIn(PullMix(), 990.0), 0.01);
    // A strike on the throne plays its one-shot at the sound-effect volume.
    m_Core->DamageMaster(1);
    EXPECT_GT(ToneIn(PullMix(), 1320.0), 0.05);
    GxSound::StopAllOneShots();

    // "+5" at (924, 619) in green for 60 steps, drawn with the sample's FONT16ANSI (the engine's font 3).
    ASSERT_TRUE(g_FontDataTable[3].Create(L"FONT16ANSI", L"fonts/FONT16ANSI.png", 32, 90, 14, 16, 8));
    State().m_GamePhase = 0;
    State().m_GameState = 0;
    m_Core->AddGold(5, true);
    auto popup = [&]() -> GxTaskCastString2D*
    {
        for (GxTaskBase* t = Folder(L"$EFFECT:SeqZorMain")->GetFirstChild(); t; t = t->GetNextSibling())
            if (auto* text = dynamic_cast<GxTaskCastString2D*>(t); text && !text->IsDead())
                return text;
        return nullptr;
    };
    auto greenNear = [&](int cx, int cy)
    {
        int n = 0;
        for (int y = cy - 12; y <= cy + 12; ++y)
            for (int x = cx - 24; x <= cx + 24; ++x)
            {
                const uint32_t p = Pixel(x, y);
                n += ((p >> 8) & 0xFF) > 200 && ((p >> 16) & 0xFF) < 80 && (p & 0xFF) > 20 && (p & 0xFF) < 90;
            }
        return n;
    };
    EXPECT_EQ(greenNear(924, 619), 0);
    Passes(1);
    ASSERT_NE(popup(), nullptr);
    EXPECT_EQ(popup()->m_Text, L"+5");
    EXPECT_FLOAT_EQ(popup()->m_Position.x, 924.0f);
    EXPECT_FLOAT_EQ(popup()->m_Position.y, 619.0f);
    EXPECT_FLOAT_EQ(popup()->m_DepthKey, 14010.0f);
    EXPECT_GT(greenNear(924, 619), 0);
    Passes(60);
    EXPECT_EQ(popup(), nullptr);
    EXPECT_EQ(greenNear(924, 619), 0);

    // A skill's cut-in holds the ticks while it plays, then they run again.
    State().m_GameState = 1;
    m_Core->ShowSpecialEffect(L"zoreffect.gnc", L"zor", L"cutin", 14010.0f);
    ASSERT_TRUE(m_Core->IsSpecialEffectPlaying());
    int32_t held = 0;
    const int32_t before = State().m_TimerCount;
    while (m_Core->IsSpecialEffectPlaying() && held < 200)
    {
        Passes(1);
        ++held;
    }
    EXPECT_GT(held, 30) << "the cut-in's motion lasts 45 steps";
    EXPECT_LT(held, 200);
    EXPECT_LE(State().m_TimerCount - before, 1);
    Passes(2);
    EXPECT_GE(State().m_TimerCount - before, 2);

    // A win starts the victory music once.
    State().m_RemainEnemyLeft = 0;
    Passes(1);
    EXPECT_EQ(State().m_GamePhase, 6);
    EXPECT_EQ(data.m_BGMRecord.m_FileName, L"bgms/j04.ogg");

    g_FontDataTable[3].Release();
    GxSound::Finalize();
    PfAudioDevice::Close();
    GxSoundControl::SetTargets(nullptr, nullptr);
}
