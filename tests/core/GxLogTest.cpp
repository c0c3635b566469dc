#include "core/GxLog.h"

#include "FileTestSupport.h"
#include "core/GxDebugListenerBase.h"
#include "core/GxString.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <vector>

namespace
{

struct EchoRecord : GxDebugListenerBase
{
    std::vector<std::pair<std::wstring, int>> lines;
    void OnOutput(const wchar_t* text, int kind) override { lines.emplace_back(text, kind); }
};

class GxLogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kv_log_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_Dir = pattern;
        GxLog::SetErrorLogPath(GxString::FromUtf8((m_Dir / "error.log").string()));
        GxLog::SetDebugLogPath(GxString::FromUtf8((m_Dir / "debug.log").string()));
        GxLog::SetDeviceLogPath(GxString::FromUtf8((m_Dir / "device.log").string()));
        GxLog::ResetErrorCount();
        GxLog::SetSkipSlightError(false);
        GxLog::SetConsole(nullptr);
    }
    void TearDown() override
    {
        GxLog::SetConsole(nullptr);
        GxLog::SetSkipSlightError(false);
        std::filesystem::remove_all(m_Dir);
    }
    std::filesystem::path m_Dir;
};

} // namespace

TEST_F(GxLogTest, NewLogsStartWithOneMarkCountErrorsEchoAndDelete)
{
    GxLog::Debug(L"a%d\n", 1);
    GxLog::Debug(L"\x3042\n");
    EXPECT_EQ(KvFileBytes(m_Dir / "debug.log"), std::string("\xFF\xFE"
                                                            "a\0"
                                                            "1\0"
                                                            "\r\0\n\0"
                                                            "\x42\x30"
                                                            "\r\0\n\0",
                                                            16));
    EchoRecord echo;
    GxLog::SetConsole(&echo);
    GxLog::Error(L"e%s\n", L"1");
    GxLog::SlightError(L"s\n");
    GxLog::ErrorA("n%s\n", "3");
    GxLog::Debug(L"d\n");
    GxLog::Device(L"v\n");
    EXPECT_EQ(GxLog::GetErrorCount(), 3u);
    EXPECT_EQ(echo.lines,
              (std::vector<std::pair<std::wstring, int>>{{L"e1\n", 1}, {L"s\n", 0}, {L"n3\n", 1}, {L"d\n", 2}}));
    EXPECT_TRUE(std::filesystem::exists(m_Dir / "device.log"));
    GxLog::Device(L"x\n");
    ASSERT_TRUE(std::filesystem::exists(m_Dir / "device.log"));
    GxLog::DeleteDeviceLog();
    EXPECT_FALSE(std::filesystem::exists(m_Dir / "device.log"));
    GxLog::DeleteDeviceLog();
    GxLog::DeleteErrorLog();
    GxLog::DeleteDebugLog();
}

TEST_F(GxLogTest, SkippedSlightErrorsAreSilentAndUnopenableLogStillCountsAndEchoes)
{
    EchoRecord echo;
    GxLog::SetConsole(&echo);
    GxLog::SetSkipSlightError(true);
    GxLog::SlightError(L"minor %d\n", 1);
    EXPECT_EQ(GxLog::GetErrorCount(), 0u);
    EXPECT_TRUE(echo.lines.empty());
    EXPECT_FALSE(std::filesystem::exists(m_Dir / "error.log"));
    // Real errors still go through.
    GxLog::Error(L"major\n");
    EXPECT_EQ(GxLog::GetErrorCount(), 1u);
    EXPECT_EQ(echo.lines.size(), 1u);
    // A log that cannot be opened still counts and echoes.
    GxLog::SetErrorLogPath(GxString::FromUtf8((m_Dir / "missing" / "error.log").string()));
    GxLog::Error(L"lost\n");
    EXPECT_EQ(GxLog::GetErrorCount(), 2u);
    EXPECT_EQ(echo.lines.size(), 2u);
}

TEST_F(GxLogTest, ErrorBinaryAppendsBytesAndNarrowErrorsAreWhole)
{
    GxLog::Error(L"x");
    GxLog::ErrorBinary("ab\n", 3);
    EXPECT_EQ(KvFileBytes(m_Dir / "error.log"), std::string("\xFF\xFE"
                                                            "x\0"
                                                            "ab\n",
                                                            7));
    EXPECT_EQ(GxLog::GetErrorCount(), 2u);
    // A narrow error longer than its old buffer is whole.
    GxLog::ErrorA("%s|", std::string(3000, 'k').c_str());
    const std::string bytes = KvFileBytes(m_Dir / "error.log");
    ASSERT_EQ(bytes.size(), 7u + 3001u * 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), std::string("|\0", 2));
}

// Error counts stay exact, and a shared log gets one mark and whole lines.
TEST_F(GxLogTest, ConcurrentWritersCountExactlyAndGiveOneMarkAndWholeLines)
{
    GxLog::SetErrorLogPath(L"");
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back(
            [t]
            {
                for (int i = 0; i < 500; ++i)
                    GxLog::Error(L"%d\n", i);
                for (int i = 0; i < 50 && t < 4; ++i)
                    GxLog::Debug(L"thread %d line %03d\n", t, i);
            });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(GxLog::GetErrorCount(), 4000u);
    std::string bytes = KvFileBytes(m_Dir / "debug.log");
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    std::wstring text = GxString::FromUtf16LE(bytes.data() + 2, bytes.size() - 2);
    EXPECT_EQ(text.find(L'\xFEFF'), std::wstring::npos);
    size_t lines = 0;
    for (size_t at = 0; (at = text.find(L"\r\n", at)) != std::wstring::npos; at += 2)
        ++lines;
    EXPECT_EQ(lines, 200u);
    EXPECT_EQ(text.size(), 200u * 19u);
}

namespace
{
std::wstring LogText(const std::filesystem::path& path)
{
    const std::string bytes = KvFileBytes(path);
    if (bytes.size() < 2 || bytes.substr(0, 2) != "\xFF\xFE")
        return L"?";
    return GxString::FromUtf16LE(bytes.data() + 2, bytes.size() - 2);
}

// Descriptors of this process open on the file.
int OpenCount(const std::filesystem::path& file)
{
    int count = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", ec))
    {
        std::error_code ignored;
        if (std::filesystem::read_symlink(entry.path(), ignored) == file)
            ++count;
    }
    return count;
}
} // namespace

// A line that comes again and again is written once and counted (every one still counts as an error and
// is echoed); text that is not a whole line is never folded.
TEST_F(GxLogTest, ALineRepeatedBackToBackIsWrittenOnceWithItsCount)
{
    EchoRecord echo;
    GxLog::SetConsole(&echo);
    for (int i = 0; i < 1000; ++i)
        GxLog::Error(L"GxMoaWorker/step failed\n");
    GxLog::Error(L"other\n");
    GxLog::Error(L"other\n");
    GxLog::Error(L"last\n");
    EXPECT_EQ(GxLog::GetErrorCount(), 1003u);
    EXPECT_EQ(echo.lines.size(), 1003u);
    EXPECT_EQ(LogText(m_Dir / "error.log"), L"GxMoaWorker/step failed\r\n(repeated 999 more times)\r\nother\r\n"
                                            L"(repeated 1 more times)\r\nlast\r\n");
    for (int i = 0; i < 3; ++i)
        GxLog::Device(L"\t");
    GxLog::Device(L"v\n");
    GxLog::Device(L"v\n");
    GxLog::Device(L"w\n");
    EXPECT_EQ(LogText(m_Dir / "device.log"), L"\t\t\tv\r\n(repeated 1 more times)\r\nw\r\n");
}

// A log past its size starts anew, its previous part kept as "<name>.1"; no part grows past the limit
// and no line is lost or split between the two newest parts.
TEST_F(GxLogTest, ALogPastItsSizeLimitKeepsThePreviousPartAsDotOne)
{
    const std::wstring line = L"a distinct line of the debug log, number %06d\n";
    const size_t lineBytes = 2 * (GxString::Format(line.c_str(), 0).size() + 1);
    const int count = static_cast<int>(GxLog::kMaxFileBytes * 3 / 2 / lineBytes);
    for (int i = 0; i < count; ++i)
        GxLog::Debug(line.c_str(), i);
    const std::wstring older = LogText(m_Dir / "debug.log.1"), newer = LogText(m_Dir / "debug.log");
    EXPECT_LE(KvFileBytes(m_Dir / "debug.log.1").size(), GxLog::kMaxFileBytes);
    EXPECT_LE(KvFileBytes(m_Dir / "debug.log").size(), GxLog::kMaxFileBytes);
    EXPECT_FALSE(older.empty() || newer.empty() || older == L"?" || newer == L"?");
    std::wstring all = older + newer;
    for (size_t at = 0; (at = all.find(L"\r\n", at)) != std::wstring::npos;)
        all.replace(at, 2, L"\n");
    EXPECT_EQ(all.size() * 2, static_cast<size_t>(count) * (lineBytes - 2));
    EXPECT_TRUE(all.starts_with(GxString::Format(line.c_str(), 0)));
    EXPECT_TRUE(all.ends_with(GxString::Format(line.c_str(), count - 1)));
}

// A log is opened once and kept open, yet every line is in the file as soon as it is logged; a log
// removed meanwhile is made again with its mark.
TEST_F(GxLogTest, ALogIsOpenedOnceAndEveryLineIsInTheFileAtOnce)
{
    const std::filesystem::path device = m_Dir / "device.log";
    for (int i = 0; i < 200; ++i)
    {
        GxLog::Device(L"line %d\n", i);
        ASSERT_TRUE(LogText(device).ends_with(GxString::Format(L"line %d\r\n", i))) << i;
        ASSERT_EQ(OpenCount(device), 1) << i;
    }
    std::filesystem::remove(device);
    GxLog::Device(L"again\n");
    EXPECT_EQ(LogText(device), L"again\r\n");
    EXPECT_EQ(OpenCount(device), 1);
}

// Logs pointed at something other than a regular file (a harness sending them to a device, a link set up
// by hand) are written through but never moved aside when they pass the size limit: the rename would move
// the device node or the link itself and leave a regular file full of log text in its place.
namespace
{

// Writes 3 MiB of distinct lines through the error log, past the size limit.
void WriteThreeMebibytes()
{
    const std::wstring filler(1000, L'x');
    const size_t lineBytes = 2 * (filler.size() + 9); // " %06d" and CR LF, two bytes a character
    for (size_t written = 0, i = 0; written < 3u * 1024 * 1024; written += lineBytes, ++i)
        GxLog::Error(L"%s %06d\n", filler.c_str(), static_cast<int>(i));
}

bool ExistsNoFollow(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

} // namespace

TEST_F(GxLogTest, ALogOnADeviceNodeIsNeverMovedAside)
{
    // A null device node of the test's own, never the system's /dev/null.
    const std::filesystem::path node = m_Dir / "null";
    const dev_t number = makedev(1, 3);
    if (mknod(node.c_str(), S_IFCHR | 0666, number) != 0)
        GTEST_SKIP() << "no device node can be made here (mknod needs the right to make devices)";
    const int fd = open(node.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        GTEST_SKIP() << "the device node cannot be opened here (a file system mounted without devices)";
    close(fd);
    GxLog::SetErrorLogPath(GxString::FromUtf8(node.string()));
    WriteThreeMebibytes();
    struct stat st = {};
    ASSERT_EQ(lstat(node.c_str(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(st.st_rdev, number);
    EXPECT_FALSE(ExistsNoFollow(m_Dir / "null.1"));
}

TEST_F(GxLogTest, ALogThroughALinkIsNeverMovedAside)
{
    const std::filesystem::path toNull = m_Dir / "null.log", toFile = m_Dir / "linked.log";
    const std::filesystem::path target = m_Dir / "target.log";
    std::filesystem::create_symlink("/dev/null", toNull);
    std::filesystem::create_symlink(target, toFile);
    for (const std::filesystem::path& link : {toNull, toFile})
    {
        GxLog::SetErrorLogPath(GxString::FromUtf8(link.string()));
        WriteThreeMebibytes();
        EXPECT_TRUE(std::filesystem::is_symlink(link)) << link;
        EXPECT_FALSE(ExistsNoFollow(link.string() + ".1")) << link;
    }
    std::error_code error;
    EXPECT_EQ(std::filesystem::read_symlink(toNull, error), "/dev/null");
    EXPECT_EQ(std::filesystem::read_symlink(toFile, error), target);
    // The file behind the link keeps every line, in one part.
    EXPECT_GT(std::filesystem::file_size(target), 3u * 1024 * 1024);
    EXPECT_FALSE(ExistsNoFollow(m_Dir / "target.log.1"));
}
