#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Writes a file the player cares about (saves, settings, progress, thumbnails) so that a crash, a full
// disk or a killed process leaves either the old file or the new one under the final name, never half
// of either: the bytes go to a temporary file in the same folder, every write is checked, the file is
// flushed and synced, renamed over the final name, and the folder is synced so the rename itself lasts.
//
//   GxAtomicFile file;
//   if (!file.Open(path)) ...;
//   file.Write(data, size); ...
//   if (!file.Commit()) ...;      // false: the old file is intact and the temporary is gone
//
// A writer that goes out of scope without Commit removes its temporary. Failures are logged once with
// the file's name. The temporary is "<name>.tmp<pid>"; one left by a process killed while writing is
// removed by RemoveLeftovers, which start-up runs on the save folder.
class GxAtomicFile
{
public:
    GxAtomicFile() = default;
    ~GxAtomicFile();
    GxAtomicFile(const GxAtomicFile&) = delete;
    GxAtomicFile& operator=(const GxAtomicFile&) = delete;

    // path is an engine path (wide, '/' or '\\' separators are both accepted).
    bool Open(const std::wstring& path);
    // Appends bytes; after the first failure every later call fails and Commit refuses.
    bool Write(const void* data, size_t size);
    // Flushes, syncs, renames over the final name and syncs the folder. False leaves the old file.
    bool Commit();
    // Drops the temporary without touching the final file.
    void Abort();

    bool IsOpen() const { return m_Fd >= 0; }
    bool HasFailed() const { return m_Failed; }

    // The whole cycle for bytes already in memory.
    static bool WriteFile(const std::wstring& path, const void* data, size_t size);
    // Syncs the folder holding a file (native path) after a rename into it; a folder that cannot be
    // synced is not a failure, the renamed file is there either way.
    static void SyncFolderOf(const std::string& path);
    // Removes the temporaries of writers that ended without Commit or Abort (a killed process) from the
    // folder (engine path): regular files named "<name>.tmp<pid>" whose process no longer runs. Sub-folders
    // and every other file are left alone. Returns how many went; each is logged.
    static uint32_t RemoveLeftovers(const std::wstring& folder);

private:
    void Fail(const wchar_t* what);

    int m_Fd = -1;
    bool m_Failed = false;
    std::string m_Path;
    std::string m_TempPath;
};
