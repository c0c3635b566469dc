// tools/zorsim on the sample game: a seed replays the same stages, a save in either form loses nothing
// a resumed stage needs, a long run keeps the rules' invariants, and the story's first stage played by
// the lord's lessons is won, in the first round and in the round after "新たな周回", the lessons being
// those the game's script says.
#include "appdata/DBTestSupport.h"
#include "support/SampleGameCache.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace
{

class ZorSimTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* tools = std::getenv("KV_TOOLS_DIR");
        ASSERT_NE(tools, nullptr);
        m_Tools = tools;
        ASSERT_TRUE(kvtest::CopySampleGame(m_Folder.Path().string()));
    }

    // The last line of a run (its digest), or the exit status when the run failed; first gets the first,
    // and lines every line.
    std::string Run(const std::string& args, std::string* first = nullptr, std::vector<std::string>* lines = nullptr)
    {
        const std::string command = m_Tools + "/zorsim '" + m_Folder.Path().string() + "' " + args + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        std::string out;
        std::array<char, 512> line{};
        while (pipe && fgets(line.data(), line.size(), pipe))
        {
            if (first && first->empty())
                *first = line.data();
            if (lines)
                lines->push_back(line.data());
            out = line.data();
        }
        const int status = pipe ? pclose(pipe) : -1;
        return status == 0 ? out : "status " + std::to_string(status) + ": " + out;
    }

    dbtest::TempFolder m_Folder;
    std::string m_Tools;
};

} // namespace

TEST_F(ZorSimTest, SeedsReplayAndSavesResumeExactly)
{
    std::string header;
    const std::string first = Run("--seed 5 --ticks 4000", &header);
    ASSERT_EQ(first.rfind("digest ", 0), 0u) << first;
    EXPECT_EQ(header, "unit projects 14\n"); // every sample unit kind's motions come from its project
    EXPECT_EQ(Run("--seed 5 --ticks 4000"), first);
    EXPECT_NE(Run("--seed 6 --ticks 4000"), first);
    const std::string reseeded = Run("--seed 5 --ticks 4000 --reseed-at 2500");
    EXPECT_EQ(Run("--seed 5 --ticks 4000 --save-at 2500 --form text"), reseeded);
    EXPECT_EQ(Run("--seed 5 --ticks 4000 --save-at 2500 --form binary"), reseeded);
}

TEST_F(ZorSimTest, LongRunKeepsTheInvariants)
{
    const std::string out = Run("--seed 11 --ticks 20000 --units 15 --check");
    EXPECT_EQ(out.rfind("digest ", 0), 0u) << out;
}

// What the lord's lesson tells a new player (a goblin in each of the throne room's four cells, an ossuary
// beside it), done as it says, wins the stage the story sets up, whatever the invaders the seed brings.
TEST_F(ZorSimTest, FirstDefenceFollowingTheLessonsIsWon)
{
    for (int seed = 1; seed <= 16; ++seed)
    {
        std::vector<std::string> lines;
        const std::string last =
            Run("--seed " + std::to_string(seed) + " --ticks 20000 --first-defence", nullptr, &lines);
        ASSERT_EQ(last.rfind("digest ", 0), 0u) << seed << ": " << last;
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[lines.size() - 2].rfind("won ", 0), 0u) << seed << ": " << lines[lines.size() - 2];
    }
}

// The round after "新たな周回" repeats the story and its lessons on the random draws the first left: its
// stage is won too, whatever invaders it brings, and the take-over after it carries the saved goblins with
// the bonuses the finished round opened (ten more weeks, half the gold, a leadership base of 150).
TEST_F(ZorSimTest, NextRoundFollowingTheLessonsIsWon)
{
    for (int seed = 1; seed <= 16; ++seed)
    {
        std::vector<std::string> lines;
        const std::string last = Run("--seed " + std::to_string(seed) + " --ticks 20000 --next-round", nullptr, &lines);
        ASSERT_EQ(last.rfind("digest ", 0), 0u) << seed << ": " << last;
        // The two rounds' outcome lines and the take-over's, without the progress lines between them.
        std::vector<std::string> results;
        for (const std::string& line : lines)
            if (line.rfind("tick ", 0) != 0 && line.rfind("unit projects ", 0) != 0 && line != last)
                results.push_back(line);
        ASSERT_EQ(results.size(), 3u) << seed << ": " << (results.empty() ? "" : results.back());
        EXPECT_EQ(results[0].rfind("won ", 0), 0u) << seed << ": first round " << results[0];
        EXPECT_EQ(results[1].rfind("won ", 0), 0u) << seed << ": next round " << results[1];
        EXPECT_EQ(results[2].rfind("carried 5 units, ", 0), 0u) << seed << ": " << results[2];
        EXPECT_NE(results[2].find(", weeks 50, leadership base 150, "), std::string::npos)
            << seed << ": " << results[2];
    }
}

// The lesson played is the one the game says: a script whose lesson line reads otherwise is refused, not
// played by what the simulator was built with.
TEST_F(ZorSimTest, FirstDefenceRefusesAScriptThatDoesNotSayTheLesson)
{
    const std::string script = m_Folder.Path().string() + "/scripts/war.txt";
    std::ifstream in(script, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    const size_t at = text.find("四つのマスすべてに置け");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, std::string("四つのマスすべて").size(), "四つのマスのどれか");
    std::ofstream(script, std::ios::binary | std::ios::trunc) << text;
    std::vector<std::string> lines;
    const std::string last = Run("--seed 1 --ticks 20000 --first-defence", nullptr, &lines);
    EXPECT_EQ(last.rfind("status ", 0), 0u) << last;
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.find("does not say") != std::string::npos; }))
        << last;
}
