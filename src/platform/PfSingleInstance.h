#pragma once

#include <string>

// Keeps a second copy of the program from running: the first copy holds an exclusive lock on a file
// named after the application title, in $XDG_RUNTIME_DIR or else the temporary folder (there with the
// user's number in the name, as that folder is shared). The lock is
// the kernel's (flock), so it goes away with the process however that ends. A child made by fork (SDL
// shows message boxes from one) drops its copy of the lock at once, so no child can keep the lock after
// the program has ended.
class PfSingleInstance
{
public:
    enum class Result
    {
        Acquired,     // this copy is the only one
        HeldElsewhere // another copy holds the lock
    };

    PfSingleInstance() = default;
    ~PfSingleInstance();

    PfSingleInstance(const PfSingleInstance&) = delete;
    PfSingleInstance& operator=(const PfSingleInstance&) = delete;

    // A lock file that cannot be made at all does not stop the program; it then runs unguarded.
    Result Acquire(const std::string& titleUtf8);
    void Release();
    bool IsHeld() const { return m_Fd >= 0; }

    // The lock file's path for a title: characters that cannot stand in a file name become "_".
    static std::string GetLockPath(const std::string& titleUtf8);

private:
    int m_Fd = -1;
};
