#include "platform/PfSingleInstance.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// The descriptors of the held locks, for the fork handler (-1 in a free slot). The program holds two; a
// lock beyond the slots still works, only a forked child could keep it a while longer.
std::atomic<int> s_HeldFds[4] = {-1, -1, -1, -1};

// In a child made by fork (SDL shows its message boxes from one): the child's copies of the locks'
// descriptors go at once, so each lock stays this process's alone and ends with it, whatever the child
// does. Only async-signal-safe calls here.
void CloseLocksInChild()
{
    for (std::atomic<int>& slot : s_HeldFds)
    {
        const int fd = slot.load();
        if (fd >= 0)
            close(fd);
    }
}

void RememberHeld(int fd)
{
    static const bool s_Registered = pthread_atfork(nullptr, nullptr, CloseLocksInChild) == 0;
    (void)s_Registered;
    for (std::atomic<int>& slot : s_HeldFds)
    {
        int free = -1;
        if (slot.compare_exchange_strong(free, fd))
            return;
    }
}

void ForgetHeld(int fd)
{
    for (std::atomic<int>& slot : s_HeldFds)
    {
        int held = fd;
        if (slot.compare_exchange_strong(held, -1))
            return;
    }
}

bool IsFolder(const char* path)
{
    struct stat info;
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}
} // namespace

PfSingleInstance::~PfSingleInstance()
{
    Release();
}

std::string PfSingleInstance::GetLockPath(const std::string& titleUtf8)
{
    std::string folder;
    // The runtime folder is the user's own; the temporary folder is shared by every user of the machine,
    // so a lock there carries the user's number: one user's copy never keeps another's from starting. A
    // runtime folder that is named but missing (a session that has ended, a variable carried over into
    // another login) would leave every copy without a lock, so the temporary folder stands in for it.
    std::string user;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && IsFolder(runtime))
        folder = runtime;
    else
    {
        const char* tmp = std::getenv("TMPDIR");
        folder = (tmp && tmp[0] == '/') ? tmp : "/tmp";
        user = "-" + std::to_string(getuid());
    }
    if (folder.back() != '/')
        folder += '/';

    std::string name;
    for (char c : titleUtf8)
        name += (c == '/' || c == '\0' || static_cast<unsigned char>(c) < 0x20) ? '_' : c;
    if (name.empty() || name == "." || name == "..")
        name = "_" + name;
    // A file name is limited to 255 bytes; keep room for the suffix.
    if (name.size() > 200)
        name.resize(200);
    return folder + name + user + ".lock";
}

PfSingleInstance::Result PfSingleInstance::Acquire(const std::string& titleUtf8)
{
    return AcquireFile(GetLockPath(titleUtf8));
}

PfSingleInstance::Result PfSingleInstance::AcquireFile(const std::string& path)
{
    Release();
    m_Path = path;
    m_Error = 0;
    // A link planted in a shared folder under the lock's name is not followed into somebody's file.
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
    {
        m_Error = errno;
        return Result::Unavailable;
    }
    while (flock(fd, LOCK_EX | LOCK_NB) != 0)
    {
        if (errno == EINTR)
            continue;
        const int error = errno;
        close(fd);
        if (error == EWOULDBLOCK)
            return Result::HeldElsewhere;
        m_Error = error;
        return Result::Unavailable;
    }
    m_Fd = fd;
    RememberHeld(fd);
    return Result::Acquired;
}

void PfSingleInstance::Release()
{
    if (m_Fd >= 0)
    {
        // The file itself stays: removing it would race with a copy that has just opened it.
        ForgetHeld(m_Fd);
        flock(m_Fd, LOCK_UN);
        close(m_Fd);
        m_Fd = -1;
    }
}
