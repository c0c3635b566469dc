#include "platform/PfSingleInstance.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
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
    const std::string fallback = PfSingleInstance::GetLockPath("t");
    EXPECT_EQ(fallback.substr(fallback.size() - 7), "/t.lock");
}

TEST(PfSingleInstance, UnwritableFolderDoesNotStopTheProgram)
{
    RuntimeDirScope dir;
    setenv("XDG_RUNTIME_DIR", "/proc/no-such-folder", 1);
    PfSingleInstance lock;
    EXPECT_EQ(lock.Acquire("Kestrelvane"), PfSingleInstance::Result::Acquired);
}
