#pragma once

#include <string>

// Keeps a second copy of the program from running: the first copy holds an exclusive lock on a file. The
// lock is the kernel's (flock), so it goes away with the process however that ends, and it holds across
// sessions: a copy started over ssh sees the lock of one started from the desktop. The program takes two,
// one per title in the session's runtime folder (Acquire) and one in its save folder (AcquireFile), so
// that no two copies ever write the same player's files. A child made by fork (SDL shows message boxes
// from one) drops its copies of the locks at once, so no child can keep a lock after the program has
// ended.
class PfSingleInstance
{
public:
    enum class Result
    {
        Acquired,      // this copy is the only one
        HeldElsewhere, // another copy holds the lock
        Unavailable    // the lock file could not be made, opened or locked: GetError says why
    };

    PfSingleInstance() = default;
    ~PfSingleInstance();

    PfSingleInstance(const PfSingleInstance&) = delete;
    PfSingleInstance& operator=(const PfSingleInstance&) = delete;

    // The lock of the title, in GetLockPath's file.
    Result Acquire(const std::string& titleUtf8);
    // The lock of a file of the caller's choice, made when missing.
    Result AcquireFile(const std::string& path);
    void Release();
    bool IsHeld() const { return m_Fd >= 0; }
    // The file of the last Acquire and, when that was Unavailable, the system's error number (else 0).
    const std::string& GetPath() const { return m_Path; }
    int GetError() const { return m_Error; }

    // The lock file's path for a title: characters that cannot stand in a file name become "_". The file
    // lies in $XDG_RUNTIME_DIR when that names an existing folder, else in the temporary folder, there
    // with the user's number in the name, as that folder is shared.
    static std::string GetLockPath(const std::string& titleUtf8);

private:
    int m_Fd = -1;
    int m_Error = 0;
    std::string m_Path;
};
