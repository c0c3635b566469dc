#include "appdata/GxSystemConfig.h"

#include "appdata/DBAvgChar.h"
#include "core/GxFile.h"

#include "../../tools/gxpack/GxPackWriter.h"
#include "DBTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace dbtest;

namespace
{

class GxSystemConfigResolveTest : public ::testing::Test
{
protected:
    void SetUp() override { g_DBAvgChar = *std::make_unique<DBAvgChar>(); }
    void TearDown() override
    {
        GxFile::UnmountAll();
        g_DBAvgChar = *std::make_unique<DBAvgChar>();
    }

    // Loose files live under the scratch folder and are named by absolute path.
    std::wstring Loose(const std::wstring& name)
    {
        std::wstring path = m_Folder.File(name);
        WriteBytes(path, "x");
        return path;
    }

    // Packed files are named relative, under a folder no test run leaves on disk.
    void Pack(std::initializer_list<const wchar_t*> names)
    {
        GxPackWriter writer;
        for (const wchar_t* name : names)
            writer.Add(name, std::string("packed"));
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(writer.Build(bytes, GxPackWriter::kNamesUtf16LE, GxPackWriter::kPlain));
        std::wstring pack = m_Folder.File(L"test.gxp");
        WriteBytes(pack, std::string(bytes.begin(), bytes.end()));
        ASSERT_TRUE(GxFile::MountPack(pack));
    }

    TempFolder m_Folder;
};

} // namespace

TEST_F(GxSystemConfigResolveTest, ImageExtensionsAreTriedInOrder)
{
    Loose(L"cg/bg01.dds");
    std::wstring path = Loose(L"cg/bg01.png");
    std::wstring base = m_Folder.File(L"cg/bg01");
    std::wstring name = base;
    EXPECT_TRUE(GxSystemConfig::ResolveImagePath(name));
    EXPECT_EQ(name, path);

    const wchar_t* const order[] = {L".dds", L".tga", L".jpg", L".bmp"};
    for (const wchar_t* extension : order)
    {
        std::wstring other = m_Folder.File(std::wstring(L"cg/only") + extension);
        WriteBytes(other, "x");
        name = m_Folder.File(L"cg/only");
        EXPECT_TRUE(GxSystemConfig::ResolveImagePath(name));
        EXPECT_EQ(name, other);
        std::filesystem::remove(GxString::ToUtf8(other));
    }
}

TEST_F(GxSystemConfigResolveTest, NameThatExistsAsWrittenWins)
{
    std::wstring bare = Loose(L"cg/bg01");
    Loose(L"cg/bg01.png");
    std::wstring name = bare;
    EXPECT_TRUE(GxSystemConfig::ResolveImagePath(name));
    EXPECT_EQ(name, bare);

    std::wstring ogg = Loose(L"bgm/theme.ogg");
    Loose(L"bgm/theme.ogg.ogg");
    name = ogg;
    EXPECT_TRUE(GxSystemConfig::ResolveSoundPath(name));
    EXPECT_EQ(name, ogg);
}

TEST_F(GxSystemConfigResolveTest, MissingFileLeavesThePathUnchanged)
{
    std::wstring name = m_Folder.File(L"cg/none");
    std::wstring before = name;
    EXPECT_FALSE(GxSystemConfig::ResolveImagePath(name));
    EXPECT_FALSE(GxSystemConfig::ResolveSoundPath(name));
    EXPECT_FALSE(GxSystemConfig::ResolveMoviePath(name));
    EXPECT_FALSE(GxSystemConfig::ResolveGncPath(name));
    EXPECT_EQ(name, before);
}

TEST_F(GxSystemConfigResolveTest, EachKindHasItsOwnExtensions)
{
    std::wstring wav = Loose(L"se/hit.wav");
    std::wstring name = m_Folder.File(L"se/hit");
    EXPECT_TRUE(GxSystemConfig::ResolveSoundPath(name));
    EXPECT_EQ(name, wav);
    name = m_Folder.File(L"se/hit");
    EXPECT_FALSE(GxSystemConfig::ResolveImagePath(name));

    std::wstring avi = Loose(L"movies/op.avi");
    Loose(L"movies/op.ogg");
    name = m_Folder.File(L"movies/op");
    EXPECT_TRUE(GxSystemConfig::ResolveMoviePath(name));
    EXPECT_EQ(name, avi);

    std::wstring gnc = Loose(L"gnc/lilith.gnc");
    name = m_Folder.File(L"gnc/lilith");
    EXPECT_TRUE(GxSystemConfig::ResolveGncPath(name));
    EXPECT_EQ(name, gnc);
}

TEST_F(GxSystemConfigResolveTest, PackedFilesResolveLikeLooseOnes)
{
    Pack({L"kv_resolve_test/cg/bg02.tga", L"kv_resolve_test/cg/bg02.bmp", L"kv_resolve_test/bgm/b01.wav",
          L"kv_resolve_test/movies/ed.mpg"});
    std::wstring name = L"kv_resolve_test/cg/bg02";
    EXPECT_TRUE(GxSystemConfig::ResolveImagePath(name));
    EXPECT_EQ(name, L"kv_resolve_test/cg/bg02.tga");
    name = L"kv_resolve_test/bgm/b01";
    EXPECT_TRUE(GxSystemConfig::ResolveSoundPath(name));
    EXPECT_EQ(name, L"kv_resolve_test/bgm/b01.wav");
    name = L"kv_resolve_test/movies/ed";
    EXPECT_TRUE(GxSystemConfig::ResolveMoviePath(name));
    EXPECT_EQ(name, L"kv_resolve_test/movies/ed.mpg");
}

TEST_F(GxSystemConfigResolveTest, VoiceIsFoundUnderTheFirstCharacterFolderHoldingIt)
{
    std::wstring folder3 = m_Folder.File(L"voices/c3/");
    std::wstring folder7 = m_Folder.File(L"voices/c7/");
    std::wstring table = L"0\tnone\t0\t\t\t" + m_Folder.File(L"voices/c0/") + L"\n" + L"2\tstar\t0\t\t\t*\n" +
                         L"3\tthree\t0\t\t\t" + folder3 + L"\n" + L"7\tseven\t0\t\t\t" + folder7 + L"\n";
    WriteText(m_Folder.File(L"avgchar.txt"), table);
    ASSERT_TRUE(g_DBAvgChar.Load(m_Folder.File(L"avgchar.txt")));

    Loose(L"voices/c0/v000.ogg");
    Loose(L"voices/c3/v001.ogg");
    Loose(L"voices/c7/v001.ogg");
    Loose(L"voices/c7/v002.wav");
    Loose(L"voices/c7/v003.ogg");

    std::wstring name = L"v001";
    EXPECT_EQ(GxSystemConfig::ResolveVoicePath(name), 3);
    EXPECT_EQ(name, folder3 + L"v001.ogg");

    name = L"v002";
    EXPECT_EQ(GxSystemConfig::ResolveVoicePath(name), 7);
    EXPECT_EQ(name, folder7 + L"v002.wav");

    // A name with its extension is found as written, with the folder in front.
    name = L"v003.ogg";
    EXPECT_EQ(GxSystemConfig::ResolveVoicePath(name), 7);
    EXPECT_EQ(name, folder7 + L"v003.ogg");

    // Row 0 is never tried, so its voice is not found.
    name = L"v000";
    EXPECT_EQ(GxSystemConfig::ResolveVoicePath(name), 0);
    EXPECT_EQ(name, L"v000");
}

TEST_F(GxSystemConfigResolveTest, StarFolderIsNeverTried)
{
    WriteText(m_Folder.File(L"avgchar.txt"), L"1\tstar\t0\t\t\t*\n");
    ASSERT_TRUE(g_DBAvgChar.Load(m_Folder.File(L"avgchar.txt")));
    // The folder "*" followed by the name is a name a pack can hold; it is still never asked for.
    Pack({L"*kv_resolve_star_voice.ogg"});
    std::wstring name = L"kv_resolve_star_voice";
    EXPECT_EQ(GxSystemConfig::ResolveVoicePath(name), 0);
    EXPECT_EQ(name, L"kv_resolve_star_voice");
}

TEST_F(GxSystemConfigResolveTest, LooseFileNamesIgnoreAsciiCase)
{
    Loose(L"cg/BG03.PNG");
    std::wstring name = m_Folder.File(L"cg/bg03");
    EXPECT_TRUE(GxSystemConfig::ResolveImagePath(name));
    EXPECT_EQ(name, m_Folder.File(L"cg/bg03.png"));
}
