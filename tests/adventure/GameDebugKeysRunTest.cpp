// The real program on the sample game with the developer's keys: F1 and F2 on the title write the two
// variable dumps into the save folder (UTF-16LE with a byte-order mark, CR LF lines) and say so in
// debug.log, F8 shows the overlay; without DebugModeFlag the same keys do nothing.
#include "support/GameRun.h"

#include "platform/PfImage.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace
{
std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// ASCII text as the UTF-16LE bytes the dump holds.
std::string Utf16(const std::string& ascii)
{
    std::string out;
    for (char c : ascii)
        out += std::string{c, '\0'};
    return out;
}

// Every line feed of the UTF-16LE text follows a carriage return.
bool AllLinesEndCrLf(const std::string& bytes)
{
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        if (bytes.compare(i, 2, std::string("\n\0", 2)) == 0 &&
            (i < 2 || bytes.compare(i - 2, 2, std::string("\r\0", 2)) != 0))
            return false;
    return true;
}

GameRun::Result RunKeys(GameRun& run, const char* debugMode)
{
    EXPECT_TRUE(run.SetGameSetting("setting.ini", "DebugModeFlag", debugMode));
    return run.Run("100 capture plain.png\n"
                   "110 key F1\n"
                   "115 key F2\n"
                   "120 key F8\n"
                   "130 capture overlay.png\n"
                   "140 close\n"
                   "170 click 436 304\n",
                   {}, 180);
}
} // namespace

TEST(GameDebugKeysRun, F1AndF2DumpTheVariablesOnTheTitle)
{
    GameRun run("debugkeys");
    ASSERT_TRUE(run.Generate());
    const GameRun::Result result = RunKeys(run, "1");
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);

    struct Dump
    {
        const char* file;
        const char* body; // the first line after the header
        const char* logLine;
    };
    for (const Dump& d :
         {Dump{"vardump.txt", "----Worker:", "vardump.txtに通常変数をダンプしました"},
          Dump{"vardump_extern.txt", "--MoaInstance:", "vardump_extern.txtに永続&広域変数をダンプしました"}})
    {
        SCOPED_TRACE(d.file);
        const std::string bytes = ReadBytes(run.SaveDir() + "/" + d.file);
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
        EXPECT_EQ(bytes.size() % 2, 0u);
        const std::string header = Utf16("Sequence:SeqTitle(0,0):");
        EXPECT_EQ(bytes.compare(2, header.size(), header), 0);
        // The header's time "YYYY/MM/DD hh:mm:ss", then CR LF and the dump.
        const size_t body = 2 + header.size() + Utf16("2026/12/07 00:00:00").size();
        EXPECT_EQ(bytes.compare(body, 4, Utf16("\r\n")), 0);
        EXPECT_EQ(bytes.compare(body + 4, Utf16(d.body).size(), Utf16(d.body)), 0);
        EXPECT_TRUE(AllLinesEndCrLf(bytes));
        EXPECT_NE(run.ReadSaveText("debug.log").find(d.logLine), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(run.GameDir() + "/vardump.txt"));

    // F8: the overlay's translucent box darkens the top line of the screen.
    PfImage plain;
    PfImage overlay;
    ASSERT_TRUE(GameRun::LoadPicture(run.Path("plain.png"), plain));
    ASSERT_TRUE(GameRun::LoadPicture(run.Path("overlay.png"), overlay));
    EXPECT_NE(GameRun::PixelAt(plain, 700, 4), GameRun::PixelAt(overlay, 700, 4));
    EXPECT_EQ(GameRun::PixelAt(plain, 700, 400), GameRun::PixelAt(overlay, 700, 400));
}

TEST(GameDebugKeysRun, WithoutDebugModeTheKeysWriteNothing)
{
    GameRun run("nodebugkeys");
    ASSERT_TRUE(run.Generate());
    const GameRun::Result result = RunKeys(run, "0");
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(run.SaveDir() + "/vardump.txt"));
    EXPECT_FALSE(std::filesystem::exists(run.SaveDir() + "/vardump_extern.txt"));
    EXPECT_EQ(run.ReadSaveText("debug.log").find("ダンプしました"), std::string::npos);
    PfImage plain;
    PfImage overlay;
    ASSERT_TRUE(GameRun::LoadPicture(run.Path("plain.png"), plain));
    ASSERT_TRUE(GameRun::LoadPicture(run.Path("overlay.png"), overlay));
    EXPECT_EQ(GameRun::PixelAt(plain, 700, 4), GameRun::PixelAt(overlay, 700, 4));
}
