#include "platform/PfSingleInstance.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <unistd.h>

namespace
{
// The descriptor of the held lock, for the fork handler (-1 when none is held).
std::atomic<int> s_HeldFd{-1};

// In a child made by fork (SDL shows its message boxes from one): the child's copy of the lock's
// descriptor goes at once, so the lock stays this process's alone and ends with it, whatever the child
// does. Only async-signal-safe calls here.
void CloseLockInChild()
{
    const int fd = s_HeldFd.load();
    if (fd >= 0)
        close(fd);
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
    // so a lock there carries the user's number: one user's copy never keeps another's from starting.
    std::string user;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/')
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
    Release();
    const std::string path = GetLockPath(titleUtf8);
    // A link planted in a shared folder under the lock's name is not followed into somebody's file.
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return Result::Acquired;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0)
    {
        if (errno == EINTR)
            continue;
        const bool held = errno == EWOULDBLOCK;
        close(fd);
        return held ? Result::HeldElsewhere : Result::Acquired;
    }
    m_Fd = fd;
    static const bool s_Registered = pthread_atfork(nullptr, nullptr, CloseLockInChild) == 0;
    (void)s_Registered;
    s_HeldFd = fd;
    return Result::Acquired;
}

void PfSingleInstance::Release()
{
    if (m_Fd >= 0)
    {
        // The file itself stays: removing it would race with a copy that has just opened it.
        if (s_HeldFd.load() == m_Fd)
            s_HeldFd = -1;
        flock(m_Fd, LOCK_UN);
        close(m_Fd);
        m_Fd = -1;
    }
}
