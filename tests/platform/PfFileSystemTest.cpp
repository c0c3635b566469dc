#include "platform/PfFileSystem.h"

#include "support/KvScopedEnv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{

class PfFileSystemTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kvpffsXXXXXX";
        const char* made = mkdtemp(pattern);
        ASSERT_NE(made, nullptr);
        m_Dir = made;
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_Dir, ignored);
    }
    std::string Path(const std::string& name) const { return m_Dir + "/" + name; }

    std::string m_Dir;
};

TEST_F(PfFileSystemTest, WrittenFileReadsBackAndRenamesOverTheOldOne)
{
    const int fd = PfFileSystem::OpenWrite(Path("new.tmp"), PfFileSystem::WriteMode::Truncate);
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(PfFileSystem::WriteAll(fd, "abcdef", 6));
    EXPECT_TRUE(PfFileSystem::Sync(fd));
    EXPECT_TRUE(PfFileSystem::Close(fd));
    std::ofstream(Path("file.dat")) << "old";
    ASSERT_TRUE(PfFileSystem::Rename(Path("new.tmp"), Path("file.dat")));
    EXPECT_FALSE(PfFileSystem::Exists(Path("new.tmp")));
    EXPECT_TRUE(PfFileSystem::SyncFolder(m_Dir));

    const int in = PfFileSystem::OpenRead(Path("file.dat"));
    ASSERT_GE(in, 0);
    PfFileInfo info;
    ASSERT_TRUE(PfFileSystem::GetInfo(in, info));
    EXPECT_TRUE(info.m_IsRegular);
    EXPECT_EQ(info.m_Size, 6u);
    char buffer[8] = {};
    EXPECT_EQ(PfFileSystem::ReadAt(in, buffer, sizeof buffer, 2), 4);
    EXPECT_EQ(std::string(buffer, 4), "cdef");
    EXPECT_EQ(PfFileSystem::ReadAt(in, buffer, sizeof buffer, 6), 0);
    EXPECT_TRUE(PfFileSystem::Close(in));
    EXPECT_FALSE(PfFileSystem::Close(-1));

    // Appending keeps what is there.
    const int log = PfFileSystem::OpenWrite(Path("file.dat"), PfFileSystem::WriteMode::Append);
    ASSERT_GE(log, 0);
    ASSERT_TRUE(PfFileSystem::WriteAll(log, "gh", 2));
    PfFileSystem::Close(log);
    ASSERT_TRUE(PfFileSystem::GetInfo(Path("file.dat"), info));
    EXPECT_EQ(info.m_Size, 8u);

    EXPECT_TRUE(PfFileSystem::Remove(Path("file.dat")));
    EXPECT_FALSE(PfFileSystem::Exists(Path("file.dat")));
    EXPECT_FALSE(PfFileSystem::Remove(Path("file.dat")));
    EXPECT_LT(PfFileSystem::OpenRead(Path("file.dat")), 0);
}

TEST_F(PfFileSystemTest, FoldersAreMadeListedAndTold)
{
    EXPECT_TRUE(PfFileSystem::MakeFolder(Path("sub")));
    EXPECT_FALSE(PfFileSystem::MakeFolder(Path("a/b"))); // no parent
    std::ofstream(Path("sub/one")) << "1";
    PfFileInfo info;
    ASSERT_TRUE(PfFileSystem::GetInfo(Path("sub"), info));
    EXPECT_TRUE(info.m_IsDirectory);
    EXPECT_FALSE(info.m_IsRegular);
    std::vector<std::string> names;
    ASSERT_TRUE(PfFileSystem::ListFolder(Path("sub"), names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "one"}));
    EXPECT_FALSE(PfFileSystem::ListFolder(Path("none"), names));
    EXPECT_FALSE(PfFileSystem::SyncFolder(Path("none")));
    EXPECT_FALSE(PfFileSystem::GetCurrentFolder().empty());

    struct Case
    {
        const char* path;
        const char* folder;
    };
    for (const Case& c :
         {Case{"name.dat", "."}, Case{"/name.dat", "/"}, Case{"a/b/name.dat", "a/b"}, Case{"/a/name.dat", "/a"}})
        EXPECT_EQ(PfFileSystem::FolderOf(c.path), c.folder) << c.path;
}

// A name nothing holds, a name held by no file, and a file that cannot be read are told apart.
TEST_F(PfFileSystemTest, WholeReadsTellAMissingNameFromARefusedOne)
{
    std::ofstream(Path("file.dat")) << "abcdef";
    EXPECT_TRUE(PfFileSystem::MakeFolder(Path("folder")));
    struct Case
    {
        const char* name;
        size_t maxBytes;
        PfFileSystem::ReadResult result;
        int error;
    };
    using R = PfFileSystem::ReadResult;
    for (const Case& c : {Case{"file.dat", 6, R::Read, 0}, Case{"none.dat", 6, R::Missing, ENOENT},
                          Case{"none/file.dat", 6, R::Missing, ENOENT}, Case{"file.dat/x", 6, R::Missing, ENOTDIR},
                          Case{"folder", 6, R::NotAFile, EISDIR}, Case{"file.dat", 5, R::Refused, EFBIG}})
    {
        std::string bytes = "left over";
        int error = -1;
        EXPECT_EQ(PfFileSystem::ReadWhole(Path(c.name), c.maxBytes, bytes, error), c.result) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
        EXPECT_EQ(bytes, c.result == R::Read ? "abcdef" : "") << c.name;
    }
    EXPECT_NE(PfFileSystem::ErrorText(EISDIR), PfFileSystem::ErrorText(EFBIG));
}

// Links are followed to the name they end at, relative ones from their own folder; a loop ends.
TEST_F(PfFileSystemTest, LinksAreFollowedToTheirLastName)
{
    EXPECT_TRUE(PfFileSystem::MakeFolder(Path("sub")));
    std::filesystem::create_symlink("sub/middle", Path("first"));
    std::filesystem::create_symlink(Path("end"), Path("sub/middle"));
    std::filesystem::create_symlink("../gone", Path("sub/dangling"));
    std::filesystem::create_symlink("loop", Path("loop"));
    EXPECT_EQ(PfFileSystem::FollowLinks(Path("first")), Path("end"));
    EXPECT_EQ(PfFileSystem::FollowLinks(Path("sub/dangling")), Path("sub/../gone"));
    EXPECT_EQ(PfFileSystem::FollowLinks(Path("plain")), Path("plain"));
    EXPECT_EQ(PfFileSystem::FollowLinks(Path("loop")), Path("loop"));
}

TEST(PfFileSystem, XdgFoldersFollowTheVariablesOrTheirDefaults)
{
    {
        const KvScopedEnv home("HOME", "/home/k");
        const KvScopedEnv config("XDG_CONFIG_HOME");
        const KvScopedEnv data("XDG_DATA_HOME", "");
        const KvScopedEnv configDirs("XDG_CONFIG_DIRS");
        const KvScopedEnv dataDirs("XDG_DATA_DIRS");
        const PfXdgFolders xdg = PfFileSystem::GetXdgFolders();
        EXPECT_EQ(xdg.m_ConfigHome, "/home/k/.config");
        EXPECT_EQ(xdg.m_DataHome, "/home/k/.local/share");
        EXPECT_EQ(xdg.m_ConfigDirs, "/etc/xdg");
        EXPECT_EQ(xdg.m_DataDirs, "/usr/local/share:/usr/share");
        EXPECT_EQ(PfFileSystem::GetHomeFolder(), "/home/k");
    }
    {
        const KvScopedEnv config("XDG_CONFIG_HOME", "/c");
        const KvScopedEnv dataDirs("XDG_DATA_DIRS", "/d1:/d2");
        const PfXdgFolders xdg = PfFileSystem::GetXdgFolders();
        EXPECT_EQ(xdg.m_ConfigHome, "/c");
        EXPECT_EQ(xdg.m_DataDirs, "/d1:/d2");
    }
}

TEST_F(PfFileSystemTest, DocumentsFolderComesFromTheUserDirsFile)
{
    const KvScopedEnv home("HOME", m_Dir.c_str());
    const KvScopedEnv config("XDG_CONFIG_HOME");
    const KvScopedEnv documents("XDG_DOCUMENTS_DIR");
    EXPECT_EQ(PfFileSystem::GetDocumentsFolder(), m_Dir + "/Documents");
    std::filesystem::create_directories(Path(".config"));
    std::ofstream(Path(".config/user-dirs.dirs")) << "# comment\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n";
    EXPECT_EQ(PfFileSystem::GetDocumentsFolder(), m_Dir + "/Docs");
}

// The variable comes before the user-dirs file and the home folder; an empty or relative value is passed
// over.
TEST_F(PfFileSystemTest, DocumentsFolderVariableComesFirst)
{
    const KvScopedEnv config("XDG_CONFIG_HOME");
    std::filesystem::create_directories(Path(".config"));
    std::ofstream(Path(".config/user-dirs.dirs")) << "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n";
    {
        const KvScopedEnv home("HOME", m_Dir.c_str());
        const KvScopedEnv documents("XDG_DOCUMENTS_DIR", "/elsewhere/Papers");
        EXPECT_EQ(PfFileSystem::GetDocumentsFolder(), "/elsewhere/Papers");
    }
    for (const char* passedOver : {"", "Papers"})
    {
        const KvScopedEnv home("HOME", m_Dir.c_str());
        const KvScopedEnv documents("XDG_DOCUMENTS_DIR", passedOver);
        EXPECT_EQ(PfFileSystem::GetDocumentsFolder(), m_Dir + "/Docs") << passedOver;
    }
    {
        // Without a home folder the variable still names the folder.
        const KvScopedEnv home("HOME", "");
        const KvScopedEnv documents("XDG_DOCUMENTS_DIR", "/elsewhere/Papers");
        EXPECT_EQ(PfFileSystem::GetDocumentsFolder(), "/elsewhere/Papers");
    }
}

} // namespace
