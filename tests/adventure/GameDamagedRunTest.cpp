// The real program on a damaged sample game: a cut program file, a cut Ogg music file and a missing
// background picture. The cut files are logged, the missing picture shows as the error picture labelled
// with its name; the run goes on to Esc and Yes and exits cleanly (a sanitizer finding would end it with
// a non-zero code and its report in the program's output).
#include "support/GameRun.h"

#include "platform/PfImage.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace
{

// Keeps the first `keep` parts in 1000 of the file.
bool Cut(const std::string& path, size_t keep)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.eof() && !in)
        return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size() * keep / 1000));
    return static_cast<bool>(out);
}

std::string Output(const GameRun& run)
{
    std::ifstream in(run.Path("stdout.log"), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void ExpectCleanEnd(const GameRun& run, const GameRun::Result& result)
{
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    const std::string output = Output(run);
    EXPECT_EQ(output.find("Sanitizer"), std::string::npos) << output;
    EXPECT_EQ(output.find("runtime error"), std::string::npos) << output;
}

} // namespace

TEST(GameDamagedRun, ACutProgramFileIsLoggedAndTheTitleStillEnds)
{
    GameRun run("cutprogram");
    ASSERT_TRUE(run.Generate());
    ASSERT_TRUE(Cut(run.GameDir() + "/bincode/moacode.mwb", 500));
    ASSERT_TRUE(run.SetGameSetting("setting.ini", "SkipSlightError", "0"));
    const GameRun::Result result = run.Run("120 click 512 384\n"
                                           "240 click 512 640\n"
                                           "300 key ESCAPE\n"
                                           "340 click 436 304\n",
                                           {}, 120);
    ExpectCleanEnd(run, result);
    EXPECT_NE(run.ReadSaveText("error.log").find("moacode"), std::string::npos) << run.ReadSaveText("error.log");
}

TEST(GameDamagedRun, ACutMusicFileAndAMissingPictureAreLoggedAndTheStoryGoesOn)
{
    GameRun run("cutassets");
    ASSERT_TRUE(run.Generate());
    // The story's music (from its first scene) and the forest behind its second message.
    ASSERT_TRUE(Cut(run.GameDir() + "/bgms/bgm02.ogg", 300));
    std::filesystem::remove(run.GameDir() + "/cg/bg/forest.png");
    ASSERT_TRUE(run.SetGameSetting("setting.ini", "SkipSlightError", "0"));
    const GameRun::Result result = run.Run("120 click 512 384\n"
                                           "181 click 512 640\n"
                                           "241 click 512 640\n"
                                           "301 click 512 640\n"
                                           "361 click 512 640\n"
                                           "421 click 512 640\n"
                                           "481 click 512 640\n"
                                           "540 capture message.png\n"
                                           "560 key ESCAPE\n"
                                           "600 click 436 304\n",
                                           {}, 120);
    ExpectCleanEnd(run, result);
    EXPECT_NE(run.ReadSaveText("error.log").find("bgm02"), std::string::npos) << run.ReadSaveText("error.log");
    EXPECT_NE(run.ReadSaveText("error.log").find("forest.png"), std::string::npos) << run.ReadSaveText("error.log");
    // The error picture ("cg/error.png", magenta at its top) stands where the forest would be.
    PfImage message;
    ASSERT_TRUE(GameRun::LoadPicture(run.Path("message.png"), message));
    EXPECT_EQ(GameRun::PixelAt(message, 900, 200) & 0xFFC0C0C0u, 0xFFC000C0u) << std::hex << GameRun::PixelAt(message, 900, 200);
}
