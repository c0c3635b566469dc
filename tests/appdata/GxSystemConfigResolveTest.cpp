#include "appdata/GxSystemConfig.h"

#include "core/GxFile.h"

#include "../../tools/gxpack/GxPackWriter.h"
#include "DBTestSupport.h"

#include <gtest/gtest.h>

using namespace dbtest;

namespace
{

class GxSystemConfigResolveTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetTables(g_DBAvgChar); }
    void TearDown() override
    {
        GxFile::UnmountAll();
        ResetTables(g_DBAvgChar);
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

    void LoadCharacters(const std::wstring& text)
    {
        WriteText(m_Folder.File(L"avgchar.txt"), text);
        ASSERT_TRUE(g_DBAvgChar.Load(m_Folder.File(L"avgchar.txt")));
    }

    TempFolder m_Folder;
};

using Resolver = bool (*)(std::wstring&);
const Resolver kImage = GxSystemConfig::ResolveImagePath, kSound = GxSystemConfig::ResolveSoundPath,
               kMovie = GxSystemConfig::ResolveMoviePath, kGnc = GxSystemConfig::ResolveGncPath;

} // namespace

// Each case has a folder of its own holding the loose files; the name asked for and the answer are in it.
TEST_F(GxSystemConfigResolveTest, LooseFilesResolveByKindExtensionOrderAndAsciiCase)
{
    const struct
    {
        Resolver resolve;
        std::vector<const wchar_t*> files;
        const wchar_t* name;
        const wchar_t* found; // nullptr: refused, the path unchanged
    } cases[] = {
        {kImage, {L"bg01.dds", L"bg01.png"}, L"bg01", L"bg01.png"},
        {kImage, {L"only.dds", L"only.tga", L"only.jpg", L"only.bmp"}, L"only", L"only.dds"},
        {kImage, {L"only.tga", L"only.jpg", L"only.bmp"}, L"only", L"only.tga"},
        {kImage, {L"only.jpg", L"only.bmp"}, L"only", L"only.jpg"},
        {kImage, {L"only.bmp"}, L"only", L"only.bmp"},
        {kImage, {L"bg01", L"bg01.png"}, L"bg01", L"bg01"}, // the name as written wins
        {kSound, {L"theme.ogg", L"theme.ogg.ogg"}, L"theme.ogg", L"theme.ogg"},
        {kSound, {L"hit.wav"}, L"hit", L"hit.wav"},
        {kImage, {L"hit.wav"}, L"hit", nullptr},
        {kMovie, {L"op.avi", L"op.ogg"}, L"op", L"op.avi"},
        {kGnc, {L"lilith.gnc"}, L"lilith", L"lilith.gnc"},
        {kImage, {L"BG03.PNG"}, L"bg03", L"bg03.png"},
        {kImage, {}, L"none", nullptr},
        {kSound, {}, L"none", nullptr},
        {kMovie, {}, L"none", nullptr},
        {kGnc, {}, L"none", nullptr},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        const auto& c = cases[i];
        SCOPED_TRACE(i);
        const std::wstring dir = GxString::Format(L"case%d/", static_cast<int>(i));
        for (const wchar_t* file : c.files)
            Loose(dir + file);
        std::wstring name = m_Folder.File(dir + c.name);
        EXPECT_EQ(c.resolve(name), c.found != nullptr);
        EXPECT_EQ(name, m_Folder.File(dir + (c.found ? c.found : c.name)));
    }
}

TEST_F(GxSystemConfigResolveTest, PackedFilesResolveLikeLooseOnes)
{
    Pack({L"kv_resolve_test/cg/bg02.tga", L"kv_resolve_test/cg/bg02.bmp", L"kv_resolve_test/bgm/b01.wav",
          L"kv_resolve_test/movies/ed.mpg"});
    for (auto [resolve, name, found] : {std::tuple{kImage, L"cg/bg02", L"cg/bg02.tga"},
                                        {kSound, L"bgm/b01", L"bgm/b01.wav"},
                                        {kMovie, L"movies/ed", L"movies/ed.mpg"}})
    {
        std::wstring path = std::wstring(L"kv_resolve_test/") + name;
        EXPECT_TRUE(resolve(path));
        EXPECT_EQ(path, std::wstring(L"kv_resolve_test/") + found);
    }
}

TEST_F(GxSystemConfigResolveTest, VoiceIsFoundUnderTheFirstCharacterFolderHoldingIt)
{
    std::wstring folder3 = m_Folder.File(L"voices/c3/");
    std::wstring folder7 = m_Folder.File(L"voices/c7/");
    LoadCharacters(L"0\tnone\t0\t\t\t" + m_Folder.File(L"voices/c0/") + L"\n2\tstar\t0\t\t\t*\n3\tthree\t0\t\t\t" +
                   folder3 + L"\n7\tseven\t0\t\t\t" + folder7 + L"\n");
    for (const wchar_t* file : {L"voices/c0/v000.ogg", L"voices/c3/v001.ogg", L"voices/c7/v001.ogg",
                                L"voices/c7/v002.wav", L"voices/c7/v003.ogg"})
        Loose(file);
    const struct
    {
        const wchar_t* name;
        int32_t row;
        std::wstring found;
    } cases[] = {
        {L"v001", 3, folder3 + L"v001.ogg"},
        {L"v002", 7, folder7 + L"v002.wav"},
        {L"v003.ogg", 7, folder7 + L"v003.ogg"}, // with its extension: found as written, the folder in front
        {L"v000", 0, L"v000"},                   // row 0 is never tried
    };
    for (const auto& c : cases)
    {
        std::wstring name = c.name;
        EXPECT_EQ(GxSystemConfig::ResolveVoicePath(name), c.row) << GxString::ToUtf8(c.name);
        EXPECT_EQ(name, c.found);
    }
}

TEST_F(GxSystemConfigResolveTest, StarFolderIsNeverTried)
{
    LoadCharacters(L"1\tstar\t0\t\t\t*\n");
    // The folder "*" followed by the name is a name a pack can hold; it is still never asked for.
    Pack({L"*kv_resolve_star_voice.ogg"});
    std::wstring name = L"kv_resolve_star_voice";
    EXPECT_EQ(GxSystemConfig::ResolveVoicePath(name), 0);
    EXPECT_EQ(name, L"kv_resolve_star_voice");
}
