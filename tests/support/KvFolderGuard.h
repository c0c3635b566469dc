#pragma once

// Removes a scratch folder when the test process ends before its owner has dealt with the folder: a case
// cut short by the test runner's time limit (SIGKILL) or by Ctrl-C runs no destructor, and a folder of a
// whole game run would stay behind. A small shell in a session of its own watches one end of a socket
// pair; the test process holds the other. The owner removes the folder itself (or keeps it on purpose)
// and then says so through Release, which ends the shell; when the socket closes with nothing said, the
// test process is gone, and the shell removes the folder after a moment for the programs the test had
// started (killed with it) to go.
//
//   KvFolderGuard guard(root);
//   ...
//   std::filesystem::remove_all(root);
//   guard.Release();

#include <string>
#include <sys/types.h>

class KvFolderGuard
{
public:
    explicit KvFolderGuard(const std::string& folder);
    ~KvFolderGuard() { Release(); }
    KvFolderGuard(const KvFolderGuard&) = delete;
    KvFolderGuard& operator=(const KvFolderGuard&) = delete;

    // The owner has taken care of the folder: the watcher ends without touching it.
    void Release();

private:
    pid_t m_Pid = -1;
    int m_Socket = -1;
};
