#include "FileTestSupport.h"

#include "core/GxBinBuffer.h"
#include "core/GxFile.h"
#include "core/GxFileHandle.h"
#include "core/GxLog.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace
{

// Runs each test inside a fresh temporary folder, as the program runs inside its installation folder.
class GxFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(getcwd(m_Saved, sizeof(m_Saved)), nullptr);
        ASSERT_EQ(chdir(m_Dir.Path().c_str()), 0);
    }
    void TearDown() override
    {
        GxFile::UnmountAll();
        ASSERT_EQ(chdir(m_Saved), 0);
    }

    KvTempDir m_Dir;
    char m_Saved[4096];
};

TEST_F(GxFileTest, NamesMatchLooseFilesInAnyCaseButExactNameWins)
{
    m_Dir.Write("Data/Sub/File.TXT", "content");
    for (const wchar_t* name : {L"Data/Sub/File.TXT", L"data/sub/file.txt", L"DATA\\SUB\\FILE.TXT",
                                L"data\\Sub/file.Txt", L"./data//sub/FILE.txt"})
    {
        EXPECT_EQ(GxFile::Exists(name), GxFile::kLoose) << name;
        EXPECT_EQ(KvReadAll(name), "content") << name;
    }
    EXPECT_EQ(GxFile::Exists(L"data/sub/file.txt2"), GxFile::kAbsent);
    EXPECT_EQ(GxFile::Exists(L"data/other/file.txt"), GxFile::kAbsent);
    EXPECT_EQ(GxFile::Exists(L""), GxFile::kAbsent);
    // Absolute names work too.
    EXPECT_EQ(KvReadAll(m_Dir.Wide("DATA/sub/file.txt")), "content");
    m_Dir.Write("dir/Name.txt", "upper");
    m_Dir.Write("dir/name.txt", "lower");
    EXPECT_EQ(KvReadAll(L"dir/Name.txt"), "upper");
    EXPECT_EQ(KvReadAll(L"dir/name.txt"), "lower");
    // A variant matching neither exactly picks one of them, the same one every time.
    std::string once = KvReadAll(L"DIR/NAME.TXT");
    EXPECT_TRUE(once == "upper" || once == "lower");
    EXPECT_EQ(KvReadAll(L"DIR/NAME.TXT"), once);
    m_Dir.Write("late/a.txt", "a");
    EXPECT_EQ(GxFile::Exists(L"LATE/B.TXT"), GxFile::kAbsent); // lists the folder
    m_Dir.Write("late/B.txt", "b");
    EXPECT_EQ(GxFile::Exists(L"LATE/B.TXT"), GxFile::kLoose);
    EXPECT_EQ(KvReadAll(L"late/b.TXT"), "b");
    unlink(m_Dir.Abs("late/B.txt").c_str());
    EXPECT_EQ(GxFile::Exists(L"LATE/B.TXT"), GxFile::kAbsent);
    m_Dir.Write("t.txt", "x");
    struct timeval times[2] = {{1700000000, 0}, {1700000000, 123456}};
    ASSERT_EQ(utimes(m_Dir.Abs("t.txt").c_str(), times), 0);
    GxFileHandle handle;
    ASSERT_TRUE(GxFile::Open(handle, L"t.txt"));
    EXPECT_EQ(handle.GetFileTime(), (1700000000ull + 11644473600ull) * 10000000ull + 1234560ull);
}

TEST_F(GxFileTest, FoldersAndMissingNamesOpenNothing)
{
    m_Dir.MakeDir("folder");
    EXPECT_EQ(GxFile::Exists(L"FOLDER"), GxFile::kLoose);
    GxFileHandle handle;
    EXPECT_FALSE(GxFile::Open(handle, L"folder"));
    EXPECT_FALSE(handle.IsOpen());
    EXPECT_EQ(GxFile::GetSize(L"folder"), 0u);
    m_Dir.Write("a.txt", "abc");
    ASSERT_TRUE(GxFile::Open(handle, L"a.txt"));
    EXPECT_FALSE(GxFile::Open(handle, L"missing.txt"));
    EXPECT_TRUE(handle.IsOpen());
    char buf[3];
    EXPECT_EQ(GxFile::Read(buf, 3, handle), 3u);
    // Opening another file on an open handle closes the first.
    m_Dir.Write("b.txt", "xy");
    ASSERT_TRUE(GxFile::Open(handle, L"b.txt"));
    EXPECT_EQ(handle.GetSize(), 2u);
    EXPECT_EQ(GxFile::Tell(handle), 0);
}

TEST_F(GxFileTest, ReadStopsAtTheEndAndSeekClamps)
{
    m_Dir.Write("ten.bin", "0123456789");
    GxFileHandle handle;
    ASSERT_TRUE(GxFile::Open(handle, L"ten.bin"));
    EXPECT_EQ(handle.GetSize(), 10u);
    char buf[32];
    EXPECT_EQ(GxFile::Read(buf, 4, handle), 4u);
    EXPECT_EQ(GxFile::Tell(handle), 4);
    EXPECT_EQ(GxFile::Read(buf, 32, handle), 6u);
    EXPECT_EQ(std::string(buf, 6), "456789");
    EXPECT_TRUE(handle.IsEOF());
    EXPECT_EQ(GxFile::Read(buf, 32, handle), 0u);
    EXPECT_EQ(GxFile::Read(buf, 32, handle), 0u);
    ASSERT_TRUE(GxFile::Seek(handle, 8, 0));
    EXPECT_FALSE(handle.IsEOF());
    EXPECT_EQ(GxFile::Read(buf, 32, handle), 2u);
    EXPECT_EQ(std::string(buf, 2), "89");
    m_Dir.Write("ten.bin", "0123456789");
    ASSERT_TRUE(GxFile::Open(handle, L"ten.bin"));
    EXPECT_TRUE(GxFile::Seek(handle, 0, 2));
    EXPECT_TRUE(handle.IsEOF());
    EXPECT_EQ(GxFile::Tell(handle), 10);
    EXPECT_TRUE(GxFile::Seek(handle, -100, 1));
    EXPECT_EQ(GxFile::Tell(handle), 0);
    EXPECT_FALSE(handle.IsEOF());
    EXPECT_TRUE(GxFile::Seek(handle, 3, 0));
    EXPECT_FALSE(GxFile::Seek(handle, 1, 3));
    EXPECT_EQ(GxFile::Tell(handle), 3);
    EXPECT_TRUE(GxFile::Seek(handle, 1000, 0));
    EXPECT_EQ(GxFile::Tell(handle), 10);
    EXPECT_TRUE(GxFile::Seek(handle, INT64_MAX, 1));
    EXPECT_EQ(GxFile::Tell(handle), 10);
    EXPECT_TRUE(GxFile::Seek(handle, INT64_MIN, 1));
    EXPECT_EQ(GxFile::Tell(handle), 0);
    GxFile::Close(handle);
    EXPECT_FALSE(GxFile::Seek(handle, 0, 0));
    char c;
    EXPECT_EQ(GxFile::Read(&c, 1, handle), 0u);
}

TEST_F(GxFileTest, WholeFileLoadsAndTheirFailures)
{
    m_Dir.Write("data.bin", "hello");
    m_Dir.Write("empty.bin", "");
    GxBinBuffer buffer;
    ASSERT_TRUE(GxFile::LoadToBuffer(buffer, L"DATA.BIN", false));
    ASSERT_EQ(buffer.GetSize(), 5u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.GetData()), 5), "hello");

    GxBinBuffer empty;
    EXPECT_TRUE(GxFile::LoadToBuffer(empty, L"empty.bin", true));
    EXPECT_EQ(empty.GetSize(), 0u);

    GxBinBuffer terminated;
    ASSERT_TRUE(GxFile::LoadToBufferTerminated(terminated, L"empty.bin"));
    ASSERT_EQ(terminated.GetSize(), 2u);
    EXPECT_EQ(terminated.GetData()[0], 0);
    EXPECT_EQ(terminated.GetData()[1], 0);
    ASSERT_TRUE(GxFile::LoadToBufferTerminated(terminated, L"data.bin"));
    ASSERT_EQ(terminated.GetSize(), 7u);
    EXPECT_STREQ(reinterpret_cast<const char*>(terminated.GetData()), "hello");

    uint32_t errors = GxLog::GetErrorCount();
    GxBinBuffer missing;
    EXPECT_FALSE(GxFile::LoadToBuffer(missing, L"missing.bin", false));
    EXPECT_FALSE(GxFile::LoadToBufferTerminated(missing, L"missing.bin"));
    EXPECT_EQ(GxLog::GetErrorCount(), errors + 2);
}

TEST_F(GxFileTest, GetSizeCanOpenAndPackNamesInAnyCase)
{
    m_Dir.Write("s.bin", std::string(1234, 'x'));
    EXPECT_EQ(GxFile::GetSize(L"S.BIN"), 1234u);
    EXPECT_EQ(GxFile::GetSize(L"none.bin"), 0u);
    m_Dir.Write("Some/File.bin", "x");
    m_Dir.MakeDir("Some/Folder");
    EXPECT_TRUE(GxFile::CanOpen(L"some\\file.BIN"));
    EXPECT_FALSE(GxFile::CanOpen(L"some/folder"));
    EXPECT_FALSE(GxFile::CanOpen(L"some/missing.bin"));
    GxPackWriter writer;
    writer.Add(L"x.txt", std::string("x"));
    std::vector<uint8_t> bytes;
    writer.Build(bytes, GxPackWriter::kNamesUtf16LE, GxPackWriter::kScrambled);
    m_Dir.Write("System.GXP", bytes);
    ASSERT_TRUE(GxFile::MountPack(L"system.gxp"));
    EXPECT_EQ(KvReadAll(L"X.TXT"), "x");
}

TEST_F(GxFileTest, UnopenableLooseFileFailsOpenButGetSizeFallsToThePack)
{
    GxPackWriter writer;
    writer.Add(L"locked.bin", std::string("packed!"));
    writer.Add(L"pipe.bin", std::string("packed pipe"));
    std::vector<uint8_t> bytes;
    writer.Build(bytes, GxPackWriter::kNamesUtf16LE, GxPackWriter::kPlain);
    m_Dir.Write("p.gxp", bytes);
    ASSERT_TRUE(GxFile::MountPack(L"p.gxp"));

    // A FIFO exists but is no file to read, for every user.
    ASSERT_EQ(mkfifo(m_Dir.Abs("pipe.bin").c_str(), 0644), 0);
    GxFileHandle handle;
    EXPECT_EQ(GxFile::Exists(L"pipe.bin"), GxFile::kLoose);
    EXPECT_FALSE(GxFile::Open(handle, L"pipe.bin"));
    EXPECT_EQ(GxFile::GetSize(L"pipe.bin"), 11u);

    if (geteuid() == 0)
        return; // root reads files whatever their permissions
    m_Dir.Write("locked.bin", "loose");
    chmod(m_Dir.Abs("locked.bin").c_str(), 0);
    EXPECT_FALSE(GxFile::Open(handle, L"locked.bin"));
    EXPECT_EQ(GxFile::GetSize(L"locked.bin"), 7u);
}

TEST_F(GxFileTest, FilesOf4GiBOrMoreAreRefused)
{
    // A sparse file takes no room on disk.
    m_Dir.Write("huge.bin", "");
    if (truncate(m_Dir.Abs("huge.bin").c_str(), 0x100000000LL) != 0)
        GTEST_SKIP() << "no sparse files here";
    GxFileHandle handle;
    EXPECT_FALSE(GxFile::Open(handle, L"huge.bin"));
    EXPECT_EQ(GxFile::GetSize(L"huge.bin"), 0u);
    ASSERT_EQ(truncate(m_Dir.Abs("huge.bin").c_str(), 0xFFFFFFFFLL), 0);
    // The largest 32-bit size opens, but leaves no room for the two terminating bytes.
    GxBinBuffer terminated;
    EXPECT_FALSE(GxFile::LoadToBufferTerminated(terminated, L"huge.bin"));
    ASSERT_TRUE(GxFile::Open(handle, L"huge.bin"));
    EXPECT_EQ(handle.GetSize(), 0xFFFFFFFFu);
    EXPECT_TRUE(GxFile::Seek(handle, -1, 2));
    char c = 1;
    EXPECT_EQ(GxFile::Read(&c, 1, handle), 1u);
    EXPECT_EQ(c, 0);
}

} // namespace
