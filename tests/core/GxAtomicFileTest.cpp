#include "core/GxAtomicFile.h"

#include "FileTestSupport.h"
#include "core/GxLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{
bool HasTemporary(const std::string& folder)
{
    for (const auto& e : std::filesystem::directory_iterator(folder))
        if (e.path().filename().string().find(".tmp") != std::string::npos)
            return true;
    return false;
}
} // namespace

TEST(GxAtomicFile, ReplacesWholeOrLeavesTheOldFileAndNoTemporary)
{
    KvTempDir dir;
    GxLog::SetErrorLogPath(dir.Wide("error.log"));
    dir.Write("save.dat", std::string("old"));

    // A committed write replaces the file whole.
    EXPECT_TRUE(GxAtomicFile::WriteFile(dir.Wide("save.dat"), "new bytes", 9));
    EXPECT_EQ(KvFileBytes(dir.Abs("save.dat")), "new bytes");

    // A writer dropped before Commit, or aborted, leaves the old file and nothing beside it.
    {
        GxAtomicFile file;
        ASSERT_TRUE(file.Open(dir.Wide("save.dat")));
        EXPECT_TRUE(file.Write("half", 4));
    }
    GxAtomicFile aborted;
    ASSERT_TRUE(aborted.Open(dir.Wide("save.dat")));
    aborted.Write("x", 1);
    aborted.Abort();
    EXPECT_FALSE(aborted.Commit());
    EXPECT_EQ(KvFileBytes(dir.Abs("save.dat")), "new bytes");
    EXPECT_FALSE(HasTemporary(dir.Path()));

    // A folder that does not exist fails at Open with a log line.
    const uint32_t errors = GxLog::GetErrorCount();
    GxAtomicFile missing;
    EXPECT_FALSE(missing.Open(dir.Wide("no/such/folder/file.dat")));
    EXPECT_FALSE(missing.Write("x", 1));
    EXPECT_FALSE(missing.Commit());
    EXPECT_EQ(GxLog::GetErrorCount(), errors + 1);
    GxLog::SetErrorLogPath(L"error.log");
}

TEST(GxAtomicFile, DiskFullFailsTheCommitAndKeepsTheOldFile)
{
    KvTempDir dir;
    dir.Write("options.dat", std::string("keep"));
    // A child under a 16-byte file-size limit stands in for a full disk: the write fails with EFBIG.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{16, 16};
        setrlimit(RLIMIT_FSIZE, &limit);
        GxLog::SetErrorLogPath(L"");
        const std::string big(100, 'x');
        _exit(GxAtomicFile::WriteFile(dir.Wide("options.dat"), big.data(), big.size()) ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the commit reported success";
    EXPECT_EQ(KvFileBytes(dir.Abs("options.dat")), "keep");
    EXPECT_FALSE(HasTemporary(dir.Path()));
}

// Temporaries "<name>.tmp<pid>" left by killed writers go; those of a process that still runs stay, however
// its number is written (leading zeros included), and so does every other name.
TEST(GxAtomicFile, LeftoversOfEndedWritersGoAndThoseOfRunningOnesStay)
{
    KvTempDir dir;
    const std::wstring debugLog = GxLog::GetDebugLogPath();
    GxLog::SetDebugLogPath(L"");
    const std::string self = std::to_string(getpid());
    // Process numbers above the kernel's largest (4,194,304) never run.
    const std::vector<std::string> ended = {"a.gd.tmp9999999", "b.gd.tmp0009999999", "c.dat.tmp0"};
    const std::vector<std::string> running = {"d.gd.tmp" + self, "e.gd.tmp00" + self,
                                              "f.gd.tmp" + std::string(10 - self.size(), '0') + self};
    const std::vector<std::string> others = {"g.tmp", "h.tmp12x", ".tmp9999998", "i.tmp99999999999"};
    for (const auto* names : {&ended, &running, &others})
        for (const std::string& name : *names)
            dir.Write(name, std::string("cut"));
    EXPECT_EQ(GxAtomicFile::RemoveLeftovers(dir.Wide("")), ended.size());
    for (const std::string& name : ended)
        EXPECT_FALSE(std::filesystem::exists(dir.Abs(name))) << name;
    for (const auto* names : {&running, &others})
        for (const std::string& name : *names)
            EXPECT_EQ(KvFileBytes(dir.Abs(name)), "cut") << name;
    GxLog::SetDebugLogPath(debugLog);
}
