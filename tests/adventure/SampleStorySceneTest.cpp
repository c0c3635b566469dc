// The sample game's own story and its extra scene, as samplegen installs them, played on the adventure
// screen with clicks: every builtin they call takes its arguments without an error line, and whoever
// speaks under a name picture stands on the screen.
#include "AvgSceneHarness.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <set>

namespace
{

class SampleStoryScene : public AvgScene
{
protected:
    // The installed main script, so the story's other files compile beside it.
    std::vector<std::string> StoryLines() const
    {
        std::vector<std::string> story;
        std::ifstream in(m_Game + "/scripts/main.txt", std::ios::binary);
        for (std::string line; std::getline(in, line);)
        {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            story.push_back(line);
        }
        return story;
    }
};

} // namespace

TEST_F(SampleStoryScene, TheStoryRunsWithoutAnErrorLine)
{
    const std::vector<std::string> story = StoryLines();
    ASSERT_GT(story.size(), 50u);
    ASSERT_NO_FATAL_FAILURE(Start(story));
    Enter(L"MAIN");
    for (int i = 0; i < 400; ++i)
    {
        Steps(15);
        Click();
    }
    EXPECT_EQ(ErrorLog(), L"") << GxString::ToUtf8(ErrorLog());
}

TEST_F(SampleStoryScene, TheExtraSceneRunsToTheTitle)
{
    // extra.txt is installed and compiled beside the story; the test's own main.txt is empty.
    ASSERT_NO_FATAL_FAILURE(Start({"*MAIN"}));
    GxTaskManage* manage = m_Core->m_TaskManage;
    Enter(L"EXTRA");
    for (int i = 0; i < 40 && manage->GetCurrentSequenceName() == L"SeqAvgMain"; ++i)
    {
        Steps(15);
        Click();
    }
    EXPECT_EQ(manage->GetCurrentSequenceName(), L"SeqTitle");
    EXPECT_EQ(ErrorLog(), L"") << GxString::ToUtf8(ErrorLog());
}

TEST_F(SampleStoryScene, EveryNamedSpeakerStandsOnTheScreen)
{
    ASSERT_NO_FATAL_FAILURE(Start(StoryLines()));
    GxTaskManage* manage = m_Core->m_TaskManage;
    GxTaskLayer* nameImage = Layer(L"$NAMEIMAGE:SeqAvgMain");
    ASSERT_NE(nameImage, nullptr);
    const std::wstring speakers[] = {L"リリス", L"ゾルデ"};
    // Scenes that open on a new picture (which takes the characters away) or come from another screen, and
    // the speakers each must be heard in; every one is entered with nobody on the screen and no name shown,
    // as the story reaches it. A scene may run on into the next one, whose speakers are checked too.
    const std::pair<const wchar_t*, std::set<std::wstring>> scenes[] = {
        {L"PATH_VILLAGE", {L"リリス"}},
        {L"CASTLE_STAY", {L"リリス", L"ゾルデ"}},
        {L"CASTLE_DEFENDED", {L"ゾルデ"}},
        {L"CASTLE_FALLEN", {L"ゾルデ"}},
        {L"CAMPAIGN_FIRST_WON", {L"リリス", L"ゾルデ"}},
        {L"CAMPAIGN_FIRST_LOST", {L"リリス", L"ゾルデ"}},
        {L"ZOR_CMD_NEWROUND", {L"ゾルデ"}},
        {L"EXTRA", {L"リリス"}}};
    for (const auto& [label, expected] : scenes)
    {
        SCOPED_TRACE(GxString::ToUtf8(label));
        for (const std::wstring& name : speakers)
            m_Screen->FindStandLayer(name)->ResetLayer();
        m_Screen->HideSpeakerName();
        ASSERT_NO_FATAL_FAILURE(Enter(label));
        std::set<std::wstring> heard;
        std::set<std::wstring> bare; // "name: line" of each line spoken with no figure
        for (int i = 0; i < 12 && manage->GetCurrentSequenceName() == L"SeqAvgMain"; ++i)
        {
            Steps(15);
            for (const std::wstring& name : speakers)
            {
                if (!m_Screen->IsWidgetShown(Window()) || !nameImage->IsVisible() ||
                    nameImage->GetCurrentContent().m_ContentFileName.find(name) == std::wstring::npos)
                    continue;
                heard.insert(name);
                GxTaskLayer* figure = m_Screen->FindStandLayer(name);
                const int32_t content = figure->GetCurrentContent().m_ContentType;
                if (content == GxLayerContent::kNone || content == GxLayerContent::kEmpty || !figure->IsVisible() ||
                    figure->GetAlpha() == 0)
                    bare.insert(name + L": " + Window()->GetText());
            }
            Click();
        }
        std::wstring lines;
        for (const std::wstring& line : bare)
            lines += L"\n  " + line;
        EXPECT_TRUE(bare.empty()) << "spoken with no figure on the screen:" << GxString::ToUtf8(lines);
        EXPECT_TRUE(std::includes(heard.begin(), heard.end(), expected.begin(), expected.end()))
            << "speakers heard: " << heard.size();
        // Away from the adventure screen, so the next scene enters it afresh.
        if (manage->GetCurrentSequenceName() == L"SeqAvgMain")
        {
            manage->ChangeSequence(L"SeqTitle", 0, 0);
            manage->ApplyPendingSequence();
        }
    }
    EXPECT_EQ(ErrorLog(), L"") << GxString::ToUtf8(ErrorLog());
}

// "新たな周回" ends the story on the title: on the way there the lord says that the next round begins, and
// how the player reaches its take-over.
TEST_F(SampleStoryScene, ANewRoundSaysTheNextRoundBeginsBeforeTheTitle)
{
    ASSERT_NO_FATAL_FAILURE(Start(StoryLines()));
    GxTaskManage* manage = m_Core->m_TaskManage;
    Enter(L"ZOR_CMD_NEWROUND");
    std::vector<std::wstring> said;
    for (int i = 0; i < 20 && manage->GetCurrentSequenceName() == L"SeqAvgMain"; ++i)
    {
        Steps(15);
        if (m_Screen->IsWidgetShown(Window()) && (said.empty() || said.back() != Window()->GetText()))
            said.push_back(Window()->GetText());
        Click();
    }
    EXPECT_EQ(manage->GetCurrentSequenceName(), L"SeqTitle");
    const auto tells = [&](const wchar_t* words)
    { return std::any_of(said.begin(), said.end(), [&](const std::wstring& t) { return t.find(words) != t.npos; }); };
    EXPECT_TRUE(tells(L"次の周回")) << "lines shown: " << said.size();
    EXPECT_TRUE(tells(L"はじめから"));
    EXPECT_TRUE(tells(L"引継ぎ"));
    EXPECT_EQ(ErrorLog(), L"") << GxString::ToUtf8(ErrorLog());
}

// The defence lesson says where a goblin can be dropped and what wins: the throne room's middle takes no
// unit (a drop there is refused without a word), only the four cells around it, which lie up-left,
// up-right, down-left and down-right of it on the screen and light up white under a unit that can stand
// there; a goblin goes in each of the four, and the green squares outside the floor, the doorways to the
// rooms beside it, take none.
TEST_F(SampleStoryScene, TheDefenceLessonSaysWhereAUnitCanStand)
{
    ASSERT_NO_FATAL_FAILURE(Start(StoryLines()));
    Enter(L"CASTLE_DEFENCE");
    std::vector<std::wstring> said;
    for (int i = 0; i < 14; ++i)
    {
        Steps(15);
        if (m_Screen->IsWidgetShown(Window()) && (said.empty() || said.back() != Window()->GetText()))
            said.push_back(Window()->GetText());
        Click();
    }
    const auto drop =
        std::find_if(said.begin(), said.end(), [](const std::wstring& t) { return t.find(L"ドラッグ") != t.npos; });
    ASSERT_NE(drop, said.end()) << "lines shown: " << said.size();
    // The drop's own line and the two after it.
    std::wstring lesson;
    for (auto line = drop; line != said.end() && line - drop < 3; ++line)
        lesson += *line;
    for (const wchar_t* words : {L"玉座の間", L"真ん中には置けぬ", L"左上", L"右上", L"左下", L"右下", L"白く光",
                                 L"一体ずつ、四つのマスすべてに置け", L"緑の四角は隣室への出入口"})
        EXPECT_NE(lesson.find(words), std::wstring::npos) << GxString::ToUtf8(words);
}

// The gallery's rate reaches 100 % for a player who has seen both endings: what the story shows on its way
// to the castle's question, with what leaving shows and what any ending of the castle's war shows, holds
// every picture of every gallery entry.
TEST_F(SampleStoryScene, BothEndingsTogetherShowEveryGalleryPicture)
{
    ASSERT_NO_FATAL_FAILURE(Start(StoryLines()));
    GxTaskManage* manage = m_Core->m_TaskManage;
    std::map<std::wstring, int32_t>& shown = m_Core->m_UserDataPerman->m_ShowedCGFlags;
    const auto play = [&](const wchar_t* label)
    {
        shown.clear();
        Enter(label);
        for (int i = 0; i < 60 && manage->GetCurrentSequenceName() == L"SeqAvgMain"; ++i)
        {
            // The way to the castle's question ends at its dialog, once the event pictures are recorded.
            if (shown.count(L"ev02a") && std::wstring(label) == L"REPLAY_02")
                break;
            Steps(15);
            Click();
        }
        std::set<std::wstring> names;
        for (const auto& [name, flag] : shown)
            names.insert(name);
        return names;
    };
    // Each ending runs on to the title; the way to the question stays at its dialog, so it comes last.
    const std::set<std::wstring> leaving = play(L"STORY_END");
    EXPECT_FALSE(leaving.empty());
    std::map<std::wstring, std::set<std::wstring>> war;
    for (const wchar_t* ending : {L"CASTLE_FALLEN", L"CAMPAIGN_FIRST_WON", L"CAMPAIGN_FIRST_LOST"})
        war[ending] = play(ending);
    const std::set<std::wstring> common = play(L"REPLAY_02");
    std::set<std::wstring> gallery;
    for (int32_t id = 0; id < g_DBCGMode.GetCapacity(); ++id)
        for (const std::wstring& file : g_DBCGMode.GetRow(id)->m_FileName)
            if (!file.empty())
                gallery.insert(file);
    ASSERT_EQ(gallery.size(), 8u);
    for (auto [ending, seen] : war)
    {
        SCOPED_TRACE(GxString::ToUtf8(ending));
        EXPECT_FALSE(seen.empty());
        seen.insert(common.begin(), common.end());
        seen.insert(leaving.begin(), leaving.end());
        std::wstring missing;
        for (const std::wstring& file : gallery)
            if (!seen.count(file))
                missing += L" " + file;
        EXPECT_EQ(missing, L"");
    }
    EXPECT_EQ(ErrorLog(), L"") << GxString::ToUtf8(ErrorLog());
}
