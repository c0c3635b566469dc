// The sample game's own story and its extra scene, as samplegen installs them, played on the adventure
// screen with clicks: every builtin they call takes its arguments without an error line.
#include "AvgSceneHarness.h"

#include <fstream>

namespace
{

class SampleStoryScene : public AvgScene
{
};

} // namespace

TEST_F(SampleStoryScene, TheStoryRunsWithoutAnErrorLine)
{
    std::vector<std::string> story;
    std::ifstream in(m_Game + "/scripts/main.txt", std::ios::binary);
    for (std::string line; std::getline(in, line);)
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        story.push_back(line);
    }
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
