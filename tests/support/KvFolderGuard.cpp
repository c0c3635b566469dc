#include "support/KvFolderGuard.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

KvFolderGuard::KvFolderGuard(const std::string& folder)
{
    if (folder.empty())
        return;
    // Both ends close on exec, so no program the test starts holds the socket open after the test
    // process; the watcher's end becomes its standard input, which does not.
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return;
    const pid_t pid = fork();
    if (pid == 0)
    {
        // Only async-signal-safe calls until the shell runs: the test process may have threads. A session
        // of its own keeps a Ctrl-C meant for the tests from ending the watcher too, and its output goes
        // nowhere, so the test runner's pipe ends with the test process.
        setsid();
        dup2(ends[1], 0);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0)
        {
            dup2(null, 1);
            dup2(null, 2);
        }
        // Nothing else of the test process's: a lock or pipe it holds must end when the test lets it go.
        close_range(3, ~0u, 0);
        execl("/bin/sh", "sh", "-c", "IFS= read -r said; [ -n \"$said\" ] && exit 0; sleep 1; exec rm -rf -- \"$0\"",
              folder.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ends[1]);
    if (pid < 0)
    {
        close(ends[0]);
        return;
    }
    m_Pid = pid;
    m_Socket = ends[0];
}

void KvFolderGuard::Release()
{
    if (m_Pid <= 0)
        return;
    // No SIGPIPE for a watcher that has gone already.
    send(m_Socket, "done\n", 5, MSG_NOSIGNAL);
    close(m_Socket);
    waitpid(m_Pid, nullptr, 0);
    m_Pid = -1;
    m_Socket = -1;
}
