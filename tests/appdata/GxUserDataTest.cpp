#include "appdata/GxUserData.h"

#include "UserFileTestSupport.h"
#include "../media/SoundTestSupport.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxSaveSlotHeader.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserDataPair.h"
#include "appdata/GxUserDataPerman.h"
#include "appdata/GxUserScriptRecord.h"
#include "core/GxContentReaderBase.h"
#include "core/GxCore.h"
#include "media/GxSound.h"
#include "media/GxSoundPlayerStream.h"
#include "script/GxMoaAdventureScreen.h"
#include "script/GxMoaEx.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaScope.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUITextButtonIs.h"

#include <csignal>
#include <filesystem>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using usertest::Golden;

namespace
{

// A task of the adventure screen's kind (layer, window, button) with a small record of its own.
class RecordTask : public GxTaskFolder
{
public:
    RecordTask(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName = nullptr, int32_t index = 0)
        : GxTaskFolder(parent, globalName, localName, index)
    {
    }
    bool Save(GxContentWriterBase* w) override
    {
        w->WriteString("Record", m_Text);
        w->Write("Value", m_Value);
        return true;
    }
    bool Load(GxContentReaderBase* r) override
    {
        r->ReadString("Record", m_Text);
        r->Read("Value", m_Value);
        return r->GetErrorCount() == 0;
    }
    std::wstring m_Text;
    int32_t m_Value = 0;
};

const wchar_t* const kLayers[] = {L"$VISUAL:SeqAvgMain",     L"$BGLAYER:SeqAvgMain",     L"$BGWLAYER:SeqAvgMain",
                                  L"$MOVIELAYER:SeqAvgMain", L"$GLOBALFLASH:SeqAvgMain", L"$GLOBALFADE:SeqAvgMain"};
const wchar_t* const kWindows[] = {L"$MESWIN:SeqAvgMain", L"$NAMEWIN:SeqAvgMain", L"$NAMEIMAGE:SeqAvgMain"};
const wchar_t* const kStands[] = {L"Aki", L"Beni"};

// The adventure screen's named tasks in a tree of their own, a core holding it, and the stand rows.
struct Scene
{
    Scene()
    {
        manage = std::make_unique<GxTaskManage>(&core);
        root = new GxTaskBase(manage.get());
        core.m_TaskManage = manage.get();
        int n = 0;
        for (const wchar_t* name : kLayers)
            Add(new RecordTask(root, name), n++);
        stand = new RecordTask(root, L"$STAND:SeqAvgMain");
        for (const wchar_t* name : kStands)
            Add(new RecordTask(stand, nullptr, name, 0), n++);
        for (const wchar_t* name : kWindows)
            Add(new RecordTask(root, name), n++);
        select = new RecordTask(root, L"$SELECT:SeqAvgMain");
        for (int i = 1; i <= 10; ++i)
            Add(new RecordTask(select, nullptr, L"btn_select", i), n++);
        // Rows 1 and 2 name the stand layers; "*" and empty names have none.
        g_DBAvgChar.GetRow(1)->m_CharName = kStands[0];
        g_DBAvgChar.GetRow(2)->m_CharName = L"*";
        g_DBAvgChar.GetRow(3)->m_CharName = kStands[1];
        GxUserData::s_SaveTimeSource = [] { return std::wstring(L"2026/12/06 20:00:00"); };
    }
    ~Scene()
    {
        for (int i = 1; i <= 3; ++i)
            g_DBAvgChar.GetRow(i)->m_CharName.clear();
        core.m_TaskManage = nullptr;
    }
    void Add(RecordTask* task, int n)
    {
        task->m_Text = L"record " + std::to_wstring(n);
        task->m_Value = 100 + n;
        tasks.push_back(task);
    }
    void Scramble()
    {
        for (RecordTask* task : tasks)
            task->m_Value = -1;
    }

    GxCore core;
    std::unique_ptr<GxTaskManage> manage;
    GxTaskBase* root;
    RecordTask* stand;
    RecordTask* select;
    std::vector<RecordTask*> tasks; // six layers, two stand layers, three windows, ten buttons
};

void FillSlot(GxUserData& d, int messages = 101)
{
    d.m_GameDataTitle = L"第三話　雨";
    d.m_RestoreSequence = L"SeqAvgMain";
    d.m_RestoreSubParam = L"sub";
    d.m_IsSelecting = true;
    d.m_LastSelectNum = 2;
    d.m_CancelSelectNum = 3;
    d.m_SelectHash = L"main:120";
    for (int i = 0; i < 3; ++i)
    {
        d.m_SelectMenuItemList[i].m_Text = L"choice " + std::to_wstring(i);
        d.m_SelectMenuItemList[i].m_Label = L"LABEL_" + std::to_wstring(i);
    }
    d.m_SelectMenuItemList[1].m_Enable = false;
    d.m_SelectMenuItemList[2].m_UseGosub = true;
    d.m_Hold_WaitClick = 15;
    d.m_Hold_WaitTime = 3;
    d.m_Hold_WaitTime_TimeLeft = 250;
    d.m_Hold_EndOfLayerActionSeparate = 11;
    d.m_Hold_EndOfLayerActionSeparate_LayerName = L"$BGLAYER:SeqAvgMain";
    d.m_Hold_EndOfVoice = 9;
    d.m_NameIdentifyMode = 1;
    d.m_IgnoreKinsoku = true;
    d.m_LastDialogResult = 1;
    for (int i = 0; i < messages; ++i)
        d.AddMessageLog(L"name" + std::to_wstring(i % 3), L"message " + std::to_wstring(i), i % 2 == 0, i % 5 == 0);
    d.m_HideWindowByCommandFlag = true;
    // Every other sound record names a sound; without a sound service none counts as ended at the save.
    GxSoundChannelRecord* records[] = {
        &d.m_BGMRecord,   &d.m_BGVRecord,      &d.m_SERecord[0],    &d.m_SERecord[1],    &d.m_SERecord[2],
        &d.m_SERecord[3], &d.m_VoiceRecord[0], &d.m_VoiceRecord[1], &d.m_VoiceRecord[2], &d.m_VoiceRecord[3]};
    for (int i = 0; i < 10; i += 2)
        *records[i] = {L"s" + std::to_wstring(i) + L".ogg", i, 10u * i, 20u * i, 30 * i, 40 * i};
}

// The slot of FillSlot and Scene, value by value; marks on the choice list, the log, the stand list and
// the button list.
// With odd set, what the program never writes but must read: 13 choice items, a stand stratum naming no
// layer (holding a nested list) and an eleventh button record.
Golden SlotGolden(const Scene& scene, int messages = 101, bool odd = false)
{
    const int first = messages > 100 ? messages - 100 : 0;
    Golden g;
    g.S("m_SaveTime", L"2026/12/06 20:00:00").S("m_GameDataTitle", L"第三話　雨");
    g.S("m_RestoreSequence", L"SeqAvgMain").S("m_RestoreSubParam", L"sub");
    g.B("m_IsSelecting", true).I("m_LastSelectNum", 2).I("m_CancelSelectNum", 3).S("m_SelectHash", L"main:120");
    g.Mark().List("m_SelectMenuItemList", odd ? 13 : 11);
    for (int i = 0; i < (odd ? 13 : 11); ++i)
    {
        g.S("m_Text", i < 3 || odd ? L"choice " + std::to_wstring(i) : L"");
        g.S("m_Label", i < 3 ? L"LABEL_" + std::to_wstring(i) : L"");
        g.B("m_Enable", i != 1).B("m_Visible", true).B("m_BeforeSelected", false).B("m_UseGosub", i == 2);
    }
    g.End();
    g.I("m_Hold_WaitClick", 15).I("m_Hold_WaitTime", 3).I("m_Hold_WaitTime_TimeLeft", 250).I("m_Hold_EndOfMovie", 0);
    g.I("m_Hold_EndOfLayerActionAll", 0).I("m_Hold_EndOfLayerActionSeparate", 11);
    g.S("m_Hold_EndOfLayerActionSeparate_LayerName", L"$BGLAYER:SeqAvgMain");
    g.I("m_Hold_EndOfBGM", 0).I("m_Hold_EndOfBGV", 0).I("m_Hold_EndOfSE", 0).I("m_Hold_EndOfVoice", 9);
    g.I("m_NameIdentifyMode", 1).B("m_IgnoreKinsoku", true).I("m_LastDialogResult", 1);
    g.Mark().List("GxMessageLogElement", messages - first);
    for (int i = first; i < messages; ++i)
    {
        g.S("m_Name", L"name" + std::to_wstring(i % 3)).S("m_Message", L"message " + std::to_wstring(i));
        g.B("m_IgnoreKinsoku", i % 2 == 0).B("m_DisenableAutoNewline", i % 5 == 0).B("m_ShowNameByText", true);
        for (int k = 0; k < 4; ++k)
            g.S("m_VoiceFileName", L"").I("m_VoiceCharID", 0);
    }
    g.End().B("m_HideWindowByCommandFlag", true);
    g.Add([](GxContentWriterBase& w)
          { GxUserScriptRecord::Write(w, PERSIST_INGAME, GxUserScriptRecord::Worker::With); });
    for (int i = 0; i < 10; ++i)
    {
        const int n = i % 2 == 0 ? i : 0;
        g.S("m_FileName", i % 2 == 0 ? L"s" + std::to_wstring(i) + L".ogg" : L"").I("m_Loop", n);
        g.U("m_StartSeekPosTime", 10u * n).U("m_LoopPosTime", 20u * n).I("m_FadeInTime", 30 * n).I("m_CharID", 40 * n);
    }
    auto record = [&](RecordTask* t) { g.S("Record", t->m_Text).I("Value", t->m_Value); };
    for (int i = 0; i < 6; ++i)
        record(scene.tasks[i]);
    g.Mark().List("StandLayers", 0);
    if (odd)
        g.Stratum().S("LayerName", L"Nobody").S("Record", L"gone").List("inner", 1).I("x", 1).End().StratumEnd();
    for (int i = 0; i < 2; ++i)
    {
        g.Stratum().S("LayerName", kStands[i]);
        record(scene.tasks[6 + i]);
        g.StratumEnd();
    }
    g.End();
    for (int i = 8; i < 11; ++i)
        record(scene.tasks[i]);
    g.Mark().List("SelectButtons", 11);
    for (int i = 11; i < 21; ++i)
        record(scene.tasks[i]);
    if (odd)
        g.S("Record", L"extra").I("Value", 1);
    return g.End();
}

std::string Dump(const GxUserData& d)
{
    std::string bytes;
    std::wstring missing;
    EXPECT_TRUE(d.WriteToMemory(bytes, true, missing)) << GxString::ToUtf8(missing);
    return bytes;
}

bool HasTemporary(const std::filesystem::path& folder)
{
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().find(".tmp") != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST(GxUserData, FullSlotInBothFormsMatchesTheGoldenAndReadsBackWhole)
{
    Scene scene;
    dbtest::TempFolder folder;
    GxUserData data(&scene.core);
    FillSlot(data);
    for (bool text : {false, true})
    {
        const std::wstring path = folder.File(text ? L"gamedata_quick.gd" : L"gamedata001.gd");
        ASSERT_TRUE(data.Save(path, !text));
        const std::string written = usertest::ReadBytes(path);
        EXPECT_TRUE(written == SlotGolden(scene).Bytes(text, "GD")) << text;

        const std::string before = Dump(data);
        scene.Scramble();
        GxUserData loaded(&scene.core);
        ASSERT_TRUE(loaded.Load(path, true));
        EXPECT_TRUE(Dump(loaded) == before) << text;

        GxSaveSlotHeader header;
        ASSERT_TRUE(data.ReadHeader(path, header));
        EXPECT_TRUE(header.m_Valid);
        EXPECT_EQ(header.m_SaveTime, L"2026/12/06 20:00:00");
        EXPECT_EQ(header.m_GameDataTitle, L"第三話　雨");
        EXPECT_EQ(header.m_RestoreSequence, L"SeqAvgMain");
    }
}

TEST(GxUserData, MessageLogKeepsItsLimitAndAPlainLoadLeavesSceneAndScript)
{
    Scene scene;
    dbtest::TempFolder folder;
    GxUserData data(&scene.core);
    FillSlot(data);
    ASSERT_EQ(data.m_MessageLog.size(), 100u);
    EXPECT_EQ(data.m_MessageLog.front().m_Message, L"message 1");
    EXPECT_EQ(data.m_MessageLog.back().m_Message, L"message 100");

    CreateMoa(nullptr);
    GxMoaVariable value;
    value.SetInt(5);
    g_MoaInstance->m_ExternTable.Add(L"game", value);
    g_MoaInstance->m_ExternTable.Find(L"game")->m_Scope = SCOPE_EXTERN_INGAME;
    const std::wstring path = folder.File(L"gamedata002.gd");
    ASSERT_TRUE(data.Save(path, true));

    g_MoaInstance->m_ExternTable.Find(L"game")->m_Value.SetInt(6);
    scene.tasks[0]->m_Value = -7;
    GxUserData plain(&scene.core);
    ASSERT_TRUE(plain.Load(path, false));
    EXPECT_EQ(plain.m_GameDataTitle, L"第三話　雨");
    EXPECT_EQ(plain.m_MessageLog.size(), 100u);
    EXPECT_EQ(g_MoaInstance->m_ExternTable.Find(L"game")->m_Value.ToInt(), 6);
    EXPECT_EQ(scene.tasks[0]->m_Value, -7);

    // The restoring load takes both back.
    ASSERT_TRUE(plain.Load(path, true));
    EXPECT_EQ(g_MoaInstance->m_ExternTable.Find(L"game")->m_Value.ToInt(), 5);
    EXPECT_EQ(scene.tasks[0]->m_Value, 100);
    DestroyMoa();
}

TEST(GxUserData, DamagedSlotsAndMissingTasksAreRefusedAndNothingChanges)
{
    Scene scene;
    dbtest::TempFolder folder;
    dbtest::LogCapture log(folder);
    GxUserData data(&scene.core);
    FillSlot(data, 3); // every truncation is tried: a short log keeps the file small
    std::vector<size_t> counts;
    const std::string good = SlotGolden(scene, 3).Bytes(false, "GD", &counts);
    const std::wstring path = folder.File(L"gamedata003.gd");

    // A state different from the file's, so a partial load would show.
    GxUserData live(&scene.core);
    live.m_GameDataTitle = L"live";
    scene.Scramble();
    const std::string before = Dump(live);
    const std::vector<std::string> bad = usertest::DamagedCopies(good, 20, counts);
    for (size_t i = 0; i < bad.size(); ++i)
    {
        dbtest::WriteBytes(path, bad[i]);
        const size_t lines = log.Lines().size();
        ASSERT_FALSE(live.Load(path, true)) << "case " << i;
        EXPECT_GT(log.Lines().size(), lines) << "case " << i;
        ASSERT_TRUE(Dump(live) == before) << "case " << i;
    }

    // A scene without one of its windows: saving fails and leaves the old file; loading fails.
    dbtest::WriteBytes(path, good);
    scene.tasks[8]->SetTaskName(L"$OTHERWIN:SeqAvgMain");
    const size_t lines = log.Lines().size();
    EXPECT_FALSE(data.Save(path, true));
    EXPECT_TRUE(usertest::ReadBytes(path) == good);
    EXPECT_FALSE(live.Load(path, true));
    EXPECT_GE(log.Lines().size(), lines + 2);
    EXPECT_EQ(live.m_GameDataTitle, L"live");
}

// Choice buttons exist only when the game's UI table defines them: a save without one (or without any)
// leaves their records out with one log line and goes on, and such a slot loads back.
TEST(GxUserData, MissingChoiceButtonsLeaveTheirRecordsOutAndTheSaveGoesOn)
{
    Scene scene;
    dbtest::TempFolder folder;
    dbtest::LogCapture log(folder);
    GxUserData data(&scene.core);
    FillSlot(data, 3);
    const std::wstring path = folder.File(L"gamedata006.gd");
    scene.tasks.back()->SetTaskLocalName(L"btn_other", 10);
    size_t lines = log.Lines().size();
    ASSERT_TRUE(data.Save(path, true));
    ASSERT_EQ(log.Lines().size(), lines + 1);
    EXPECT_NE(log.Lines().back().find(L"btn_select[10]"), std::wstring::npos);
    scene.Scramble();
    GxUserData loaded(&scene.core);
    ASSERT_TRUE(loaded.Load(path, true));
    EXPECT_EQ(loaded.m_GameDataTitle, data.m_GameDataTitle);
    EXPECT_EQ(scene.tasks[11]->m_Value, 111); // button 1 read back
    EXPECT_EQ(scene.tasks[20]->m_Value, -1);  // the renamed one had no record

    // No choice folder at all, as in a game without "btn_select0".
    scene.select->SetTaskName(L"$NOSELECT:SeqAvgMain");
    lines = log.Lines().size();
    ASSERT_TRUE(data.Save(path, true));
    EXPECT_EQ(log.Lines().size(), lines + 1);
    scene.Scramble();
    ASSERT_TRUE(loaded.Load(path, true));
    EXPECT_EQ(scene.tasks[0]->m_Value, 100);
}

TEST(GxUserData, LongerListsAndUnknownStandLayersAreSkipped)
{
    Scene scene;
    dbtest::TempFolder folder;
    const std::wstring path = folder.File(L"gamedata004.gd");
    dbtest::WriteBytes(path, SlotGolden(scene, 3, true).Bytes(false, "GD"));
    scene.Scramble();
    GxUserData data(&scene.core);
    ASSERT_TRUE(data.Load(path, true));
    ASSERT_EQ(data.m_SelectMenuItemList.size(), 11u);
    EXPECT_EQ(data.m_SelectMenuItemList[10].m_Text, L"choice 10");
    // The stray stratum takes the first of the two stand rows: "Aki" reads its record, "Beni" is beyond
    // the rows and skipped.
    EXPECT_EQ(scene.tasks[6]->m_Value, 106);
    EXPECT_EQ(scene.tasks[7]->m_Value, -1);
    EXPECT_EQ(scene.tasks[20]->m_Value, 120);
}

TEST(GxUserData, FailedOrInterruptedSavesLeaveALoadableFile)
{
    Scene scene;
    dbtest::TempFolder folder;
    GxUserData data(&scene.core);
    FillSlot(data);
    const std::wstring path = folder.File(L"gamedata005.gd");
    ASSERT_TRUE(data.Save(path, true));
    const std::string old = usertest::ReadBytes(path);

    // A child under a small file-size limit stands in for a full disk.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{512, 512};
        setrlimit(RLIMIT_FSIZE, &limit);
        GxLog::SetErrorLogPath(L"");
        _exit(data.Save(path, true) ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save reported success";
    EXPECT_TRUE(usertest::ReadBytes(path) == old);
    EXPECT_FALSE(HasTemporary(folder.Path()));

    // Children killed at random moments of 200 saves: the slot always loads, as the old or a new save.
    std::mt19937 random(24);
    for (int round = 0; round < 4; ++round)
    {
        child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
        {
            GxLog::SetErrorLogPath(L"");
            for (int i = 0; i < 200; ++i)
            {
                data.m_LastSelectNum = i;
                data.Save(path, true);
            }
            _exit(0);
        }
        usleep(std::uniform_int_distribution<int>(0, 20000)(random));
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        GxUserData loaded(&scene.core);
        EXPECT_TRUE(loaded.Load(path, true)) << "round " << round;
    }
}

namespace
{

// The adventure scene as the resets see it: which of its operations were asked for.
struct ResetScene : GxMoaAdventureScreen
{
    void ShowMessageText(const std::wstring&, bool, bool, int32_t) override {}
    void ShowSpeakerName(const std::wstring&, int32_t) override {}
    void HideSpeakerName() override {}
    bool IsReadedMessage(const std::wstring&, int32_t) override { return false; }
    void SetReadedMessage(const std::wstring&, int32_t) override {}
    void AddMessageLog(const std::wstring&, const std::wstring&, bool) override {}
    int32_t GetNameIdentifyMode() const override { return 0; }
    bool GetIgnoreKinsoku() const override { return false; }
    std::wstring ResolveNameImagePath(const std::wstring&) const override { return {}; }
    void ResetWindows() override { calls += L"windows "; }
    void ResetLayers() override { calls += L"layers "; }
    void SetGlobalFadeOpaque() override { calls += L"fade "; }
    std::wstring calls;
};

} // namespace

TEST(GxUserData, ResetsReachTheRegisteredSceneAndKeepWhatTheyShould)
{
    GxUserData data(nullptr);
    FillSlot(data, 3);
    data.ResetAdventure(false); // no scene registered: the state alone
    EXPECT_TRUE(data.m_MessageLog.empty());
    EXPECT_TRUE(data.m_HideWindowByCommandFlag);

    ResetScene scene;
    GxMoaAdventureScreen::Register(&scene);
    FillSlot(data, 3);
    g_BGMRestrainFactor = 40;
    data.LeaveAdventure();
    EXPECT_EQ(scene.calls, L"layers ");
    EXPECT_EQ(data.m_Hold_WaitClick, 0);
    EXPECT_EQ(data.m_Hold_EndOfLayerActionSeparate_LayerName, L"");
    EXPECT_EQ(data.m_MessageLog.size(), 3u); // the log, the choice and the script stay
    EXPECT_TRUE(data.m_IsSelecting);
    EXPECT_TRUE(data.m_HideWindowByCommandFlag);
    data.ResetAdventure(true);
    EXPECT_EQ(scene.calls, L"layers windows fade ");
    EXPECT_EQ(g_BGMRestrainFactor, 100);
    EXPECT_FALSE(data.m_IsSelecting);
    EXPECT_EQ(data.m_NameIdentifyMode, 2);
    GxMoaAdventureScreen::Register(nullptr);
}

TEST(GxUserData, RestoringLoadColoursTheChoiceButtonsByTheProgress)
{
    Scene scene;
    dbtest::TempFolder folder;
    // Text buttons in place of the plain records; choice 1 was taken before, item 2 is hidden.
    std::vector<GxTaskUITextButtonIs*> buttons;
    for (int i = 1; i <= 10; ++i)
    {
        scene.tasks[10 + i]->SetTaskLocalName(L"old", i);
        buttons.push_back(new GxTaskUITextButtonIs(scene.select, nullptr, L"btn_select", i));
    }
    scene.core.m_SystemConfig = new GxSystemConfig();
    scene.core.m_UserConfig = new GxUserConfig();
    scene.core.m_UserDataPerman = new GxUserDataPerman(&scene.core);
    scene.core.m_UserDataPerman->SetSelectedMenu(1, L"main:120");
    GxUserData data(&scene.core);
    FillSlot(data, 3);
    data.m_SelectMenuItemList[2].m_Visible = false;
    const std::wstring path = folder.File(L"gamedata006.gd");
    for (GxTaskUITextButtonIs* button : buttons)
        button->SetTextColor(0x12345678);
    ASSERT_TRUE(data.Save(path, true));
    for (GxTaskUITextButtonIs* button : buttons)
        button->SetTextColor(0);
    ASSERT_TRUE(data.Load(path, true));
    const GxSystemConfig& system = *scene.core.m_SystemConfig;
    EXPECT_EQ(buttons[0]->GetLayout().m_TextColor, system.m_ChosenChoiceColor);
    EXPECT_EQ(buttons[1]->GetLayout().m_TextColor, 0x12345678u); // hidden: as its record says
    EXPECT_EQ(buttons[2]->GetLayout().m_TextColor, system.m_ChoiceTextColor);
    scene.core.m_UserConfig->m_ChangeColorSelectedMenu = false;
    ASSERT_TRUE(data.Load(path, true));
    EXPECT_EQ(buttons[0]->GetLayout().m_TextColor, system.m_ChoiceTextColor);
}

// The sound records in a slot: those of channels still playing survive a save and restart after a
// restoring load (the music with a one-second fade-in); records of ended sounds are emptied at the save;
// voice records are kept but never restarted.
using GxUserDataSound = sndtest::SoundServiceFixture;

TEST_F(GxUserDataSound, SoundRecordsOfPlayingChannelsSurviveASaveAndRestart)
{
    Scene scene;
    const std::wstring tone = File("tone.wav");
    sndtest::WriteToneWave(GxString::ToUtf8(tone), 2.0, 441);
    GxUserConfig config;
    GxUserData data(&scene.core);
    GxSoundControl::SetTargets(&config, &data);
    ASSERT_TRUE(GxSoundControl::PlayBGM(tone, 3, 100, 0, 200, false));
    ASSERT_TRUE(GxSoundControl::PlaySE(1, tone, 0, 0, 0, 0));
    EXPECT_FALSE(GxSoundControl::PlaySE(2, File("missing.wav"), 1, 0, 0, 0));
    data.m_VoiceRecord[3].m_FileName = L"voice.ogg";
    data.m_VoiceRecord[3].m_CharID = 5;
    const std::wstring path = File("gamedata002.gd");
    ASSERT_TRUE(data.Save(path, true));
    EXPECT_TRUE(data.m_SERecord[2].IsEmpty());

    GxSoundControl::StopBGM(0);
    GxSoundControl::StopAllSE();
    GxUserData loaded(&scene.core);
    GxSoundControl::SetTargets(&config, &loaded);
    ASSERT_TRUE(loaded.Load(path, true));
    EXPECT_EQ(loaded.m_BGMRecord.m_FileName, tone);
    EXPECT_EQ(loaded.m_BGMRecord.m_Loop, 3);
    EXPECT_EQ(loaded.m_BGMRecord.m_StartSeekPosTime, 100u);
    EXPECT_EQ(loaded.m_BGMRecord.m_LoopPosTime, 200u);
    EXPECT_EQ(loaded.m_BGMRecord.m_FadeInTime, 1000);
    EXPECT_EQ(GxSound::GetChannel(GxSound::GetCurrentBGMChannel())->GetFadeState(), 1);
    EXPECT_TRUE(GxSound::GetChannelState(GxSoundControl::kFirstSEChannel + 1));
    EXPECT_EQ(loaded.m_SERecord[1].m_FileName, tone);
    EXPECT_TRUE(loaded.m_SERecord[2].IsEmpty());
    EXPECT_EQ(loaded.m_VoiceRecord[3].m_FileName, L"voice.ogg");
    EXPECT_EQ(loaded.m_VoiceRecord[3].m_CharID, 5);
    EXPECT_FALSE(GxSound::GetChannelState(GxSoundControl::kFirstVoiceChannel + 3));

    GxSoundControl::SetTargets(nullptr, nullptr);
}

// A slot's two files are one pair: a save that fails leaves the old pair and no half-written files; a
// process killed at any moment of 200 saves leaves, once the slot is recovered, an old or a new pair,
// never the adventure half of one save with the strategy half of another, never a torn file.
TEST(GxUserData, SlotPairIsCommittedAsOne)
{
    Scene scene;
    dbtest::TempFolder folder;
    GxUserData data(&scene.core);
    FillSlot(data, 3);
    const std::wstring game = folder.File(L"gamedata007.gd");
    const std::wstring zor = folder.File(L"zordata007.gd");
    auto strategyBytes = [](int i) { return "strategy save " + std::to_string(i) + std::string(3000, 'z'); };
    data.m_LastSelectNum = -1;
    ASSERT_TRUE(data.SavePair(game, true, zor, strategyBytes(-1)));
    const std::string oldGame = usertest::ReadBytes(game);
    const std::string oldZor = usertest::ReadBytes(zor);
    // A killed writer's own temporary (".tmp<pid>") is the atomic writer's; the pair's are ".new" and
    // ".commit".
    auto leftovers = [&](bool temporaries = true)
    {
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        {
            const std::string name = entry.path().filename().string();
            if (name.find(".tmp") != std::string::npos)
            {
                if (temporaries)
                    return true;
                continue;
            }
            if (name.find(".new") != std::string::npos || name.find(".commit") != std::string::npos)
                return true;
        }
        return false;
    };

    // The strategy half cannot be written (a file-size limit below its size stands in for a full disk).
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{2048, 2048};
        setrlimit(RLIMIT_FSIZE, &limit);
        GxLog::SetErrorLogPath(L"");
        data.m_LastSelectNum = 1;
        _exit(data.SavePair(game, true, zor, strategyBytes(1)) ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save reported success";
    EXPECT_TRUE(usertest::ReadBytes(game) == oldGame);
    EXPECT_TRUE(usertest::ReadBytes(zor) == oldZor);
    EXPECT_FALSE(leftovers());

    std::mt19937 random(45);
    for (int round = 0; round < 6; ++round)
    {
        child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
        {
            GxLog::SetErrorLogPath(L"");
            for (int i = 0; i < 200; ++i)
            {
                data.m_LastSelectNum = round * 1000 + i;
                data.SavePair(game, true, zor, strategyBytes(round * 1000 + i));
            }
            _exit(0);
        }
        usleep(std::uniform_int_distribution<int>(0, 30000)(random));
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        GxLog::SetErrorLogPath(L"");
        GxUserDataPair::Recover(game, zor);
        EXPECT_FALSE(leftovers(false)) << "round " << round;
        GxUserData loaded(&scene.core);
        ASSERT_TRUE(loaded.Load(game, false)) << "round " << round;
        EXPECT_EQ(usertest::ReadBytes(zor), strategyBytes(loaded.m_LastSelectNum)) << "round " << round;
    }
}
