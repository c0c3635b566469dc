#include "platform/PfSingleInstance.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

// Points $XDG_RUNTIME_DIR at a fresh folder for the duration of a test.
class RuntimeDirScope
{
public:
    RuntimeDirScope()
    {
        char pattern[] = "/tmp/kv_lock_XXXXXX";
        m_Dir = mkdtemp(pattern);
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        m_HadOld = old != nullptr;
        if (old)
            m_Old = old;
        setenv("XDG_RUNTIME_DIR", m_Dir.c_str(), 1);
    }
    ~RuntimeDirScope()
    {
        if (m_HadOld)
            setenv("XDG_RUNTIME_DIR", m_Old.c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
        std::filesystem::remove_all(m_Dir);
    }
    std::string m_Dir;

private:
    std::string m_Old;
    bool m_HadOld = false;
};

TEST(PfSingleInstance, TitleIsHeldOnceUntilReleasedAndOtherTitlesAreFree)
{
    RuntimeDirScope dir;
    PfSingleInstance first;
    PfSingleInstance second;
    EXPECT_EQ(first.Acquire("Kestrelvane"), PfSingleInstance::Result::Acquired);
    EXPECT_EQ(second.Acquire("Kestrelvane"), PfSingleInstance::Result::HeldElsewhere);
    EXPECT_FALSE(second.IsHeld());
    PfSingleInstance other;
    EXPECT_EQ(other.Acquire("Another Game"), PfSingleInstance::Result::Acquired);
    first.Release();
    EXPECT_EQ(second.Acquire("Kestrelvane"), PfSingleInstance::Result::Acquired);
}

TEST(PfSingleInstance, LockOfAProcessIsSeenByAnotherProcessAndDiesWithIt)
{
    RuntimeDirScope dir;
    int ready[2];
    int done[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(done), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        PfSingleInstance lock;
        char c = lock.Acquire("ゲーム") == PfSingleInstance::Result::Acquired ? 'y' : 'n';
        (void)!write(ready[1], &c, 1);
        (void)!read(done[0], &c, 1);
        _exit(0); // no release: the kernel drops the lock
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    PfSingleInstance mine;
    EXPECT_EQ(mine.Acquire("ゲーム"), PfSingleInstance::Result::HeldElsewhere);
    (void)!write(done[1], &c, 1);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(mine.Acquire("ゲーム"), PfSingleInstance::Result::Acquired);
    for (int fd : {ready[0], ready[1], done[0], done[1]})
        close(fd);
}

TEST(PfSingleInstance, LockFileLivesInTheRuntimeFolderWithSlashesReplaced)
{
    RuntimeDirScope dir;
    EXPECT_EQ(PfSingleInstance::GetLockPath("a/b"), dir.m_Dir + "/a_b.lock");
    EXPECT_EQ(PfSingleInstance::GetLockPath(".."), dir.m_Dir + "/_...lock");
    unsetenv("XDG_RUNTIME_DIR");
    // In the shared temporary folder every user has a lock of their own.
    const std::string fallback = PfSingleInstance::GetLockPath("t");
    const std::string mine = "/t-" + std::to_string(getuid()) + ".lock";
    ASSERT_GE(fallback.size(), mine.size());
    EXPECT_EQ(fallback.substr(fallback.size() - mine.size()), mine);
    // A runtime folder that is named but gone takes no lock file: the temporary folder does.
    setenv("XDG_RUNTIME_DIR", (dir.m_Dir + "/gone").c_str(), 1);
    EXPECT_EQ(PfSingleInstance::GetLockPath("t"), fallback);
}

TEST(PfSingleInstance, ALinkPlantedUnderTheLocksNameIsNotFollowed)
{
    RuntimeDirScope dir;
    const std::string target = dir.m_Dir + "/someone-elses-file";
    { std::ofstream(target) << "kept"; }
    ASSERT_EQ(symlink(target.c_str(), PfSingleInstance::GetLockPath("Kestrelvane").c_str()), 0);
    PfSingleInstance lock;
    // Said, as with a folder it cannot write, holding nothing of that file.
    EXPECT_EQ(lock.Acquire("Kestrelvane"), PfSingleInstance::Result::Unavailable);
    EXPECT_EQ(lock.GetError(), ELOOP);
    EXPECT_FALSE(lock.IsHeld());
    std::string text;
    std::ifstream(target) >> text;
    EXPECT_EQ(text, "kept");
}

TEST(PfSingleInstance, AFolderNoFileCanBeMadeInGivesTheFileAndTheReason)
{
    RuntimeDirScope dir;
    // An existing folder where not even root makes a file.
    setenv("XDG_RUNTIME_DIR", "/proc", 1);
    PfSingleInstance lock;
    EXPECT_EQ(lock.Acquire("Kestrelvane"), PfSingleInstance::Result::Unavailable);
    EXPECT_EQ(lock.GetPath(), "/proc/Kestrelvane.lock");
    EXPECT_NE(lock.GetError(), 0);
    EXPECT_FALSE(lock.IsHeld());
}

// SDL's message boxes come from a forked child that may outlive the program a moment: neither of the
// program's two locks stays with it.
TEST(PfSingleInstance, EveryLockEndsWithItsProcessThoughAForkedChildLivesOn)
{
    RuntimeDirScope dir;
    const std::string folderLock = dir.m_Dir + "/instance.lock";
    int ready[2];
    int done[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(done), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        PfSingleInstance title;
        PfSingleInstance folder;
        char c = title.Acquire("Kestrelvane") == PfSingleInstance::Result::Acquired &&
                         folder.AcquireFile(folderLock) == PfSingleInstance::Result::Acquired
                     ? 'y'
                     : 'n';
        if (fork() == 0)
        {
            // Past fork's return the child's handlers have run: only now does the test go on. It lives
            // until the test closes its end of the pipe.
            (void)!write(ready[1], &c, 1);
            close(done[1]);
            (void)!read(done[0], &c, 1);
            _exit(0);
        }
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_EQ(c, 'y');
    int status = 0;
    waitpid(child, &status, 0);
    PfSingleInstance title;
    PfSingleInstance folder;
    EXPECT_EQ(title.Acquire("Kestrelvane"), PfSingleInstance::Result::Acquired);
    EXPECT_EQ(folder.AcquireFile(folderLock), PfSingleInstance::Result::Acquired);
    for (int fd : {ready[0], ready[1], done[0], done[1]})
        close(fd);
}
