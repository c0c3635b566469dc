#include "appdata/GxUserConfig.h"

#include "UserFileTestSupport.h"
#include "appdata/GxUserFile.h"

#include <set>

namespace
{

// The record in file order: key, field and a value away from its default, so a swapped pair shows.
struct IntField
{
    const char* key;
    int32_t GxUserConfig::*field;
    int32_t value;
};
struct BoolField
{
    const char* key;
    bool GxUserConfig::*field;
};
using C = GxUserConfig;
const IntField kHead[] = {{"m_ScreenMode", &C::m_ScreenMode, 1},
                          {"m_TextWaitTime", &C::m_TextWaitTime, 61},
                          {"m_TextLongWaitTime", &C::m_TextLongWaitTime, 481},
                          {"m_AutoWaitTime", &C::m_AutoWaitTime, 2500},
                          {"m_TextWindowOpacity", &C::m_TextWindowOpacity, 200}};
const BoolField kFlags[] = {{"m_AllowSkipUnreadText", &C::m_AllowSkipUnreadText},
                            {"m_FastShowReadedText", &C::m_FastShowReadedText},
                            {"m_ChangeColorReadedText", &C::m_ChangeColorReadedText},
                            {"m_ChangeColorSelectedMenu", &C::m_ChangeColorSelectedMenu},
                            {"m_KeepAutoModeAfterSelect", &C::m_KeepAutoModeAfterSelect},
                            {"m_KeepSkipModeAfterSelect", &C::m_KeepSkipModeAfterSelect},
                            {"m_StopScreenSaver", &C::m_StopScreenSaver},
                            {"m_VoiceStopTiming", &C::m_VoiceStopTiming},
                            {"m_WaitVoiceEndOnAutoMode", &C::m_WaitVoiceEndOnAutoMode}};
const IntField kMiddle[] = {{"m_GameDataPage", &C::m_GameDataPage, 3},
                            {"m_LastGameDataFileNum", &C::m_LastGameDataFileNum, 27},
                            {"m_Volume_Master", &C::m_Volume_Master, 11},
                            {"m_Volume_BGM", &C::m_Volume_BGM, 12},
                            {"m_Volume_BGV", &C::m_Volume_BGV, 13},
                            {"m_Volume_System", &C::m_Volume_System, 14},
                            {"m_Volume_Sound", &C::m_Volume_Sound, 15},
                            {"m_Volume_Movie", &C::m_Volume_Movie, 16},
                            {"m_Volume_RestrainBGM", &C::m_Volume_RestrainBGM, 17},
                            {"m_Volume_VoiceMaster", &C::m_Volume_VoiceMaster, 18}};
const BoolField kGameFlags[] = {{"m_Game_SkipBattleEffect", &C::m_Game_SkipBattleEffect},
                                {"m_Game_SkipSpecialAttackEffect", &C::m_Game_SkipSpecialAttackEffect},
                                {"m_Game_SkipBattleVoice", &C::m_Game_SkipBattleVoice}};
const IntField kTail[] = {{"m_Game_MapScrollSpeed_ScreenEdge", &C::m_Game_MapScrollSpeed_ScreenEdge, 70},
                          {"m_Game_MapScrollSpeed_CursorKey", &C::m_Game_MapScrollSpeed_CursorKey, 30}};

// The sample options and their golden, from the tables (every flag flipped from its default).
GxUserConfig Sample(usertest::Golden* g = nullptr)
{
    GxUserConfig c;
    auto ints = [&](const auto& table)
    {
        for (const IntField& f : table)
            c.*f.field = f.value, g ? (void)g->I(f.key, f.value) : (void)0;
    };
    auto flags = [&](const auto& table)
    {
        for (const BoolField& f : table)
            c.*f.field = !(c.*f.field), g ? (void)g->B(f.key, c.*f.field) : (void)0;
    };
    ints(kHead);
    flags(kFlags);
    ints(kMiddle);
    for (int i = 0; i < 32; ++i)
        c.m_Volume_Voice[i] = 50 + i, g ? (void)g->I("m_Volume_Voice", 50 + i) : (void)0;
    flags(kGameFlags);
    ints(kTail);
    return c;
}

std::string Dump(const GxUserConfig& c)
{
    std::string bytes;
    GxUserFile::WriteToMemory(bytes, GxUserFile::Form::Binary, "CD", [&](GxContentWriterBase& w) { c.Write(w); });
    return bytes;
}

} // namespace

TEST(GxUserConfig, FileMatchesTheGoldenReadsBackWholeAndClampsLevels)
{
    dbtest::TempFolder folder;
    const std::wstring path = folder.File(L"userconf.dat");
    usertest::Golden golden;
    GxUserConfig sample = Sample(&golden);
    ASSERT_TRUE(sample.Save(path));
    const std::string written = usertest::ReadBytes(path);
    EXPECT_EQ(written, golden.Bytes(false, "CD"));
    GxUserConfig loaded;
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(Dump(loaded), written);

    // SetDefault keeps the save page and the last slot, which only the construction sets.
    loaded.SetDefault();
    EXPECT_EQ(loaded.m_LastGameDataFileNum, 27);
    EXPECT_EQ(GxUserConfig().m_LastGameDataFileNum, -1);
    EXPECT_EQ(loaded.m_Volume_BGM, 80);

    // Damaged levels are clamped: percentages to 0..100, the opacity to 0..255.
    sample.m_Volume_Master = 150;
    sample.m_Volume_BGM = -5;
    sample.m_Volume_Voice[3] = 1000;
    sample.m_TextWindowOpacity = 300;
    ASSERT_TRUE(sample.Save(path));
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(loaded.m_Volume_Master, 100);
    EXPECT_EQ(loaded.m_Volume_BGM, 0);
    EXPECT_EQ(loaded.m_Volume_Voice[3], 100);
    EXPECT_EQ(loaded.m_TextWindowOpacity, 255);
}

TEST(GxUserConfig, DamagedOrForeignFilesAreRefusedAndNothingChanges)
{
    dbtest::TempFolder folder;
    dbtest::LogCapture log(folder);
    const std::wstring path = folder.File(L"userconf.dat");
    usertest::Golden golden;
    Sample(&golden);
    const std::string good = golden.Bytes(false, "CD");
    std::vector<std::string> bad = usertest::DamagedCopies(good, 20, {});
    bad.push_back(golden.Bytes(true, "CD")); // the options are never read in the text form
    bad.push_back(golden.Bytes(false, "PD"));
    bad.push_back(good + std::string("\x05\x00\x00\x00\x01", 5)); // a value after the record's end
    GxUserConfig config;
    const std::string before = Dump(config);
    for (size_t i = 0; i < bad.size(); ++i)
    {
        dbtest::WriteBytes(path, bad[i]);
        const size_t lines = log.Lines().size();
        EXPECT_FALSE(config.Load(path)) << "case " << i;
        EXPECT_GT(log.Lines().size(), lines) << "case " << i;
        ASSERT_EQ(Dump(config), before) << "case " << i;
        if (!bad[i].empty())
        {
            // Kept aside under its name with ".damaged" appended, said once; the next save cannot
            // overwrite it, and the next start finds no file and says nothing more.
            EXPECT_FALSE(std::filesystem::exists(GxString::ToUtf8(path))) << "case " << i;
            EXPECT_EQ(usertest::ReadBytes(path + L".damaged"), bad[i]) << "case " << i;
            size_t aside = 0;
            for (size_t k = lines; k < log.Lines().size(); ++k)
                aside += log.Lines()[k].find(L"userconf.dat.damaged") != std::wstring::npos;
            EXPECT_EQ(aside, 1u) << "case " << i;
            const size_t after = log.Lines().size();
            EXPECT_FALSE(config.Load(path));
            EXPECT_EQ(log.Lines().size(), after) << "case " << i;
            // The next case's damage would otherwise take the next copy's name.
            std::filesystem::remove(GxString::ToUtf8(path + L".damaged"));
        }
    }
    // A missing file is a first run: false without a log line.
    const size_t lines = log.Lines().size();
    EXPECT_FALSE(config.Load(folder.File(L"none.dat")));
    EXPECT_EQ(log.Lines().size(), lines);
}

// Each damaged file the player had keeps its own copy; once every copy's name is taken the damaged file
// stays where it is, and no save of this run replaces it.
TEST(GxUserConfig, EachDamagedFileKeepsItsOwnCopy)
{
    dbtest::TempFolder folder;
    dbtest::LogCapture log(folder);
    const std::wstring path = folder.File(L"userconf.dat");
    GxUserConfig config;
    for (int i = 0; i < GxUserFile::kMaxDamagedCopies; ++i)
    {
        dbtest::WriteBytes(path, "damaged " + std::to_string(i));
        EXPECT_FALSE(config.Load(path));
        EXPECT_TRUE(config.IsLoaded()) << i; // the name is free: the shut-down may write it
    }
    for (int i = 0; i < GxUserFile::kMaxDamagedCopies; ++i)
        EXPECT_EQ(usertest::ReadBytes(GxUserFile::DamagedPath(path, i)), "damaged " + std::to_string(i));
    EXPECT_EQ(GxUserFile::DamagedPath(path, 2), path + L".damaged.2");

    dbtest::WriteBytes(path, "one more");
    const usertest::FileState before = usertest::StateOf(path);
    EXPECT_FALSE(config.Load(path));
    EXPECT_FALSE(config.IsLoaded());
    EXPECT_FALSE(config.Save(path));
    EXPECT_EQ(usertest::StateOf(path), before);
    EXPECT_FALSE(
        std::filesystem::exists(GxString::ToUtf8(GxUserFile::DamagedPath(path, GxUserFile::kMaxDamagedCopies))));
}

// Options kept elsewhere through a link: the save replaces the file the link points to, the link stays
// the same link, and no temporary is left beside either; a damaged target is kept aside beside itself.
TEST(GxUserConfig, ALinkIsWrittenThroughAndStays)
{
    dbtest::TempFolder folder;
    dbtest::LogCapture log(folder);
    const std::wstring path = folder.File(L"userconf.dat");
    const std::wstring target = folder.File(L"kept/conf.dat");
    dbtest::WriteBytes(target, "old");
    std::filesystem::create_symlink("kept/conf.dat", GxString::ToUtf8(path));
    const usertest::FileState link = usertest::StateOf(path);
    ASSERT_TRUE(Sample().Save(path));
    const usertest::FileState after = usertest::StateOf(path);
    EXPECT_TRUE(std::filesystem::is_symlink(GxString::ToUtf8(path)));
    EXPECT_EQ(std::filesystem::read_symlink(GxString::ToUtf8(path)), "kept/conf.dat");
    EXPECT_EQ(after.m_Inode, link.m_Inode);
    EXPECT_EQ(after.m_Bytes, Dump(Sample()));
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path()))
        names.insert(entry.path().lexically_relative(folder.Path()).string());
    EXPECT_EQ(names, (std::set<std::string>{"userconf.dat", "kept", "kept/conf.dat"}));

    // Damaged behind the link: the file it points to is moved aside, and the link is written through.
    dbtest::WriteBytes(target, "damaged");
    EXPECT_FALSE(GxUserConfig().Load(path));
    EXPECT_EQ(usertest::ReadBytes(target + L".damaged"), "damaged");
    ASSERT_TRUE(Sample().Save(path));
    EXPECT_EQ(usertest::StateOf(path).m_Inode, link.m_Inode);
    EXPECT_EQ(usertest::ReadBytes(target), Dump(Sample()));
}
