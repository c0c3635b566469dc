#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What the file system says about one name (for a link, about its target, except through GetLinkInfo).
struct PfFileInfo
{
    bool m_IsRegular = false;
    bool m_IsDirectory = false;
    bool m_IsLink = false; // only from GetLinkInfo: the other calls describe a link's target
    uint64_t m_Size = 0;
    // Last modification, seconds and nanoseconds since 1970-01-01 UTC.
    int64_t m_ModifiedSeconds = 0;
    int64_t m_ModifiedNanoseconds = 0;
    // Together they name the object; a folder replaced by another of the same name has another pair.
    uint64_t m_Device = 0;
    uint64_t m_Inode = 0;
};

// The XDG base folders as the desktop's lookups read them: each variable when set and not empty, else
// its default ("$HOME/.config", "$HOME/.local/share", empty without $HOME; "/etc/xdg" and
// "/usr/local/share:/usr/share"). The folder lists stay ':'-separated.
struct PfXdgFolders
{
    std::string m_ConfigHome;
    std::string m_DataHome;
    std::string m_ConfigDirs;
    std::string m_DataDirs;
};

// The operating system's files and folders, for the engine's file layer, logs, atomic writer and save
// folder. Paths are native (UTF-8, '/'-separated). Files are plain descriptors (-1 when none) so the
// callers keep their own buffering and locking. Every call keeps the system's error number for the
// caller's message, and an interrupted call is retried rather than reported.
class PfFileSystem
{
public:
    // Opens a file for reading. Never blocks on a FIFO or a device: those open, and the caller's
    // GetInfo then shows they are not regular files.
    static int OpenRead(const std::string& path);
    enum class WriteMode
    {
        Truncate, // created or emptied (a temporary file written whole)
        Append    // created or extended (a log)
    };
    // Opens a file for writing, made with mode 0644 when absent.
    static int OpenWrite(const std::string& path, WriteMode mode);
    static bool Close(int fd);
    // Reads up to count bytes at offset; the bytes read (0 at the end), or -1 on an error.
    static int64_t ReadAt(int fd, void* buffer, size_t count, uint64_t offset);
    // Writes every byte; false on the first error.
    static bool WriteAll(int fd, const void* data, size_t size);
    // Flushes the file's data and size to the disk.
    static bool Sync(int fd);
    static bool GetInfo(int fd, PfFileInfo& info);
    static bool GetInfo(const std::string& path, PfFileInfo& info);
    // The name itself, a link not followed: a link is neither regular nor a folder, and its pair is
    // the link's own.
    static bool GetLinkInfo(const std::string& path, PfFileInfo& info);

    enum class ReadResult
    {
        Read,
        Missing,  // nothing has the name (or a folder on the way is missing)
        NotAFile, // a folder, a FIFO or a device has it (EISDIR for a folder, else EINVAL)
        Refused   // a file has it but could not be read: see the error number
    };
    // Reads a whole regular file of at most maxBytes into bytes. Refused covers a file that cannot be
    // opened or read (no permission, an I/O error) and one larger than maxBytes; error then holds the
    // system's error number (EFBIG for the size).
    static ReadResult ReadWhole(const std::string& path, size_t maxBytes, std::string& bytes, int& error);
    // The system's text for an error number ("Permission denied").
    static std::string ErrorText(int error);
    // The name a path stands for once the links it names are followed, each relative link from its own
    // folder, at most kMaxLinks of them (beyond that, and for a path that is no link, the path as far as
    // it got). A link to a name that does not exist gives that name.
    static std::string FollowLinks(const std::string& path);
    static constexpr int kMaxLinks = 40;

    // Replaces to with from in one step (both in one folder).
    static bool Rename(const std::string& from, const std::string& to);
    static bool Remove(const std::string& path);
    static bool Exists(const std::string& path);
    // Flushes a folder's entry list (a rename or a new file in it) to the disk. False when the folder
    // cannot be opened or synced; callers that have already renamed treat that as done.
    static bool SyncFolder(const std::string& folder);
    // The folder part of a file's path: "." for a bare name, "/" for a file in the root.
    static std::string FolderOf(const std::string& path);
    // Makes one folder (mode 0755); its parent must exist.
    static bool MakeFolder(const std::string& path);
    // Every entry of a folder, "." and ".." included, in the system's order; false when it cannot be read.
    static bool ListFolder(const std::string& path, std::vector<std::string>& names);
    // The working folder, empty when it cannot be had.
    static std::string GetCurrentFolder();

    // The user's home folder: $HOME, else the account's entry; empty when neither is known.
    static std::string GetHomeFolder();
    // The user's documents folder: the variable XDG_DOCUMENTS_DIR when it holds an absolute path, else
    // XDG_DOCUMENTS_DIR of the XDG user-dirs file ($XDG_CONFIG_HOME, else ~/.config, "/user-dirs.dirs"),
    // else ~/Documents; empty when the variable is not set and there is no home folder.
    static std::string GetDocumentsFolder();
    // The XDG base folders, read from the environment now.
    static PfXdgFolders GetXdgFolders();
};
