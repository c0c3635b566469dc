#include "core/GxPath.h"
#include "support/KvScopedEnv.h"
#include "support/KvScopedWorkingDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

TEST(GxPath, NamePartsComeFromTheDotsAfterTheLastSeparator)
{
    EXPECT_EQ(GxPath::GetBaseName(L"fonts/FONT16SYS.png"), L"FONT16SYS");
    EXPECT_EQ(GxPath::GetBaseName(L"x/a.tar.gz"), L"a");
    EXPECT_EQ(GxPath::GetBaseName(L"a.b.png"), L"a");
    EXPECT_EQ(GxPath::GetBaseName(L"dir.x/file"), L"file");
    EXPECT_EQ(GxPath::GetBaseName(L"c:\\cg\\.hidden"), L"");
    EXPECT_EQ(GxPath::GetExtension(L"x/a.tar.gz"), L".gz");
    EXPECT_EQ(GxPath::GetExtension(L"dir.x/file"), L"");
    EXPECT_EQ(GxPath::GetExtension(L"dir.x\\file"), L"");
    EXPECT_EQ(GxPath::GetExtension(L"c.d:file"), L"");
    EXPECT_EQ(GxPath::GetExtension(L"name."), L".");
    EXPECT_EQ(GxPath::GetExtension(L""), L"");
    EXPECT_EQ(GxPath::ChangeExtension(L"a/b", L".png"), L"a/b");
    EXPECT_EQ(GxPath::ChangeExtension(L"a.d/b", L".png"), L"a.d/b");
    EXPECT_EQ(GxPath::ChangeExtension(L"a/b.tga", L".png"), L"a/b.png");
    EXPECT_EQ(GxPath::ChangeExtension(L"a/b.tar.gz", L".x"), L"a/b.tar.x");
    EXPECT_TRUE(GxPath::HasExtension(L"cg/BG01.PNG", L".png"));
    EXPECT_TRUE(GxPath::HasExtension(L"voice.Ogg", L".ogg"));
    EXPECT_FALSE(GxPath::HasExtension(L"file.png.bak", L".png"));
    EXPECT_FALSE(GxPath::HasExtension(L"png", L".png"));
}

TEST(GxPath, DirectoriesFileNamesSeparatorsAndDots)
{
    EXPECT_EQ(GxPath::GetDirectory(L"file.txt"), L"");
    EXPECT_EQ(GxPath::GetDirectory(L"c:file.txt"), L"c:");
    EXPECT_EQ(GxPath::GetDirectory(L"a\\b/c.txt"), L"a\\b/");
    EXPECT_EQ(GxPath::GetFileName(L"a\\b/c.txt"), L"c.txt");
    EXPECT_EQ(GxPath::GetFileName(L"c.txt"), L"c.txt");
    EXPECT_EQ(GxPath::GetFileName(L"dir/"), L"");
    EXPECT_EQ(GxPath::Combine(L"", L"b", L'/'), L"b");
    EXPECT_EQ(GxPath::Combine(L"a/", L"b", L'/'), L"a/b");
    EXPECT_EQ(GxPath::Combine(L"a\\", L"b", L'/'), L"a\\b");
    EXPECT_EQ(GxPath::Combine(L"a", L"b", L'/'), L"a/b");
    EXPECT_EQ(GxPath::AddTrailingSeparator(L"", L'/'), L"");
    EXPECT_EQ(GxPath::AddTrailingSeparator(L"a", L'/'), L"a/");
    EXPECT_EQ(GxPath::AddTrailingSeparator(L"a\\", L'/'), L"a\\");
    EXPECT_EQ(GxPath::RemoveTrailingSeparator(L"a//"), L"a/");
    EXPECT_EQ(GxPath::RemoveTrailingSeparator(L"a"), L"a");
    EXPECT_EQ(GxPath::RemoveTrailingSeparator(L""), L"");
    EXPECT_EQ(GxPath::GetFullPath(L"/a/./b/../c"), L"/a/c");
    EXPECT_EQ(GxPath::GetFullPath(L"/../.."), L"/");
    EXPECT_EQ(GxPath::GetFullPath(L"/a/b/"), L"/a/b/");
    EXPECT_EQ(GxPath::GetFullPath(L""), L"");
}

class GxPathDiskTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kv_path_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_Dir = pattern;
        const char* home = std::getenv("HOME");
        m_OldHome = home != nullptr ? home : "";
        const char* config = std::getenv("XDG_CONFIG_HOME");
        m_HadConfig = config != nullptr;
        m_OldConfig = config != nullptr ? config : "";
        unsetenv("XDG_CONFIG_HOME");
        setenv("HOME", m_Dir.c_str(), 1);
    }
    void TearDown() override
    {
        setenv("HOME", m_OldHome.c_str(), 1);
        if (m_HadConfig)
            setenv("XDG_CONFIG_HOME", m_OldConfig.c_str(), 1);
        std::filesystem::remove_all(m_Dir);
    }
    std::filesystem::path m_Dir;
    std::string m_OldHome;
    std::string m_OldConfig;
    bool m_HadConfig = false;
};

TEST_F(GxPathDiskTest, DocumentsFolderReadsUserDirsOrFallsBackToHomeDocuments)
{
    const KvScopedEnv documents("XDG_DOCUMENTS_DIR");
    EXPECT_EQ(GxPath::GetMyDocumentsDir(), GxPath::GetFullPath(std::filesystem::path(m_Dir / "Documents").wstring()));
    std::filesystem::create_directories(m_Dir / ".config");
    std::ofstream(m_Dir / ".config" / "user-dirs.dirs") << "# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                                           "XDG_DOCUMENTS_DIR=\"$HOME/\xE6\x96\x87\xE6\x9B\xB8/\"\n";
    EXPECT_EQ(GxPath::GetMyDocumentsDir(), m_Dir.wstring() + L"/\x6587\x66f8");
}

TEST_F(GxPathDiskTest, CreateDirectoryMakesOneLevelAndCurrentDirEndsInSlash)
{
    std::wstring base = m_Dir.wstring();
    EXPECT_FALSE(GxPath::CreateDirectory(base + L"/a/b"));
    EXPECT_TRUE(GxPath::CreateDirectory(base + L"/a"));
    EXPECT_FALSE(GxPath::CreateDirectory(base + L"/a"));
    EXPECT_TRUE(GxPath::DirectoryExists(base + L"/a"));
    std::ofstream(m_Dir / "f") << "x";
    EXPECT_FALSE(GxPath::DirectoryExists(base + L"/f"));
    EXPECT_FALSE(GxPath::DirectoryExists(base + L"/none"));
    std::wstring dir, full;
    {
        const KvScopedWorkingDir inDir(m_Dir);
        dir = GxPath::GetCurrentDir();
        full = GxPath::GetFullPath(L"sub/../x\\y.txt");
    }
    EXPECT_EQ(dir, std::filesystem::canonical(m_Dir).wstring() + L"/");
    EXPECT_EQ(full, std::filesystem::canonical(m_Dir).wstring() + L"/x/y.txt");
}
