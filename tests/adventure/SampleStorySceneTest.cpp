// The sample game's own story, as samplegen installs it, played on the adventure screen with clicks:
// every builtin it calls takes its arguments without an error line.
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
