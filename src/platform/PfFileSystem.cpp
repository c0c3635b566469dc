#include "platform/PfFileSystem.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

void FillInfo(const struct stat& st, PfFileInfo& info)
{
    info.m_IsRegular = S_ISREG(st.st_mode);
    info.m_IsDirectory = S_ISDIR(st.st_mode);
    info.m_IsLink = S_ISLNK(st.st_mode);
    info.m_Size = st.st_size < 0 ? 0 : static_cast<uint64_t>(st.st_size);
    info.m_ModifiedSeconds = st.st_mtim.tv_sec;
    info.m_ModifiedNanoseconds = st.st_mtim.tv_nsec;
    info.m_Device = static_cast<uint64_t>(st.st_dev);
    info.m_Inode = static_cast<uint64_t>(st.st_ino);
}

// A variable's value when it is set and not empty, else the fallback.
std::string EnvOr(const char* name, const std::string& fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : fallback;
}

// The value of XDG_DOCUMENTS_DIR in user-dirs.dirs: a quoted path, absolute or starting with $HOME.
std::string XdgDocumentsDir(const std::string& home)
{
    std::string configHome;
    const char* xdgConfig = std::getenv("XDG_CONFIG_HOME");
    if (xdgConfig != nullptr && xdgConfig[0] == '/')
        configHome = xdgConfig;
    else
        configHome = home + "/.config";
    std::ifstream file(configHome + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(file, line))
    {
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0)
            continue;
        std::string value = line.substr(start + key.size());
        while (!value.empty() && (value.back() == '\r' || value.back() == ' ' || value.back() == '\t'))
            value.pop_back();
        if (value.size() < 2 || value.front() != '"' || value.back() != '"')
            continue;
        value = value.substr(1, value.size() - 2);
        if (value.compare(0, 5, "$HOME") == 0)
            value = home + value.substr(5);
        else if (value.empty() || value[0] != '/')
            continue;
        return value;
    }
    return std::string();
}

} // namespace

int PfFileSystem::OpenRead(const std::string& path)
{
    // Non-blocking only so that a FIFO or device cannot hang the open; regular files are unaffected.
    int fd;
    do
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    while (fd < 0 && errno == EINTR);
    return fd;
}

int PfFileSystem::OpenWrite(const std::string& path, WriteMode mode)
{
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == WriteMode::Append ? O_APPEND : O_TRUNC);
    int fd;
    do
        fd = ::open(path.c_str(), flags, 0644);
    while (fd < 0 && errno == EINTR);
    return fd;
}

bool PfFileSystem::Close(int fd)
{
    return fd >= 0 && ::close(fd) == 0;
}

int64_t PfFileSystem::ReadAt(int fd, void* buffer, size_t count, uint64_t offset)
{
    ssize_t n;
    do
        n = ::pread(fd, buffer, count, static_cast<off_t>(offset));
    while (n < 0 && errno == EINTR);
    return n;
}

bool PfFileSystem::WriteAll(int fd, const void* data, size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    while (size > 0)
    {
        const ssize_t n = ::write(fd, bytes, size);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool PfFileSystem::Sync(int fd)
{
    return ::fsync(fd) == 0;
}

bool PfFileSystem::GetInfo(int fd, PfFileInfo& info)
{
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return false;
    FillInfo(st, info);
    return true;
}

bool PfFileSystem::GetInfo(const std::string& path, PfFileInfo& info)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return false;
    FillInfo(st, info);
    return true;
}

bool PfFileSystem::GetLinkInfo(const std::string& path, PfFileInfo& info)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        return false;
    FillInfo(st, info);
    return true;
}

PfFileSystem::ReadResult PfFileSystem::ReadWhole(const std::string& path, size_t maxBytes, std::string& bytes,
                                                 int& error)
{
    bytes.clear();
    error = 0;
    const int fd = OpenRead(path);
    if (fd < 0)
    {
        error = errno;
        return error == ENOENT || error == ENOTDIR ? ReadResult::Missing : ReadResult::Refused;
    }
    PfFileInfo info;
    ReadResult failure = ReadResult::Refused;
    if (!GetInfo(fd, info))
        error = errno;
    else if (!info.m_IsRegular)
    {
        error = info.m_IsDirectory ? EISDIR : EINVAL;
        failure = ReadResult::NotAFile;
    }
    else if (info.m_Size > maxBytes)
        error = EFBIG;
    // The size is a hint: a file that grows or shrinks meanwhile is read to its end as it stands then.
    std::vector<char> buffer(64 * 1024);
    while (error == 0)
    {
        const int64_t n = ReadAt(fd, buffer.data(), buffer.size(), bytes.size());
        if (n < 0)
            error = errno;
        else if (n == 0)
            break;
        else if (bytes.size() + static_cast<size_t>(n) > maxBytes)
            error = EFBIG;
        else
            bytes.append(buffer.data(), static_cast<size_t>(n));
    }
    Close(fd);
    if (error == 0)
        return ReadResult::Read;
    bytes.clear();
    return failure;
}

std::string PfFileSystem::ErrorText(int error)
{
    return std::strerror(error);
}

std::string PfFileSystem::FollowLinks(const std::string& path)
{
    std::string name = path;
    std::vector<char> target(PATH_MAX + 1);
    for (int hop = 0; hop < kMaxLinks; ++hop)
    {
        const ssize_t n = ::readlink(name.c_str(), target.data(), target.size());
        // Not a link (or no name at all), or a target too long to be a path.
        if (n <= 0 || static_cast<size_t>(n) >= target.size())
            break;
        const std::string to(target.data(), static_cast<size_t>(n));
        name = to[0] == '/' || name.find('/') == std::string::npos ? to : FolderOf(name) + "/" + to;
    }
    return name;
}

bool PfFileSystem::Rename(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool PfFileSystem::Remove(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

bool PfFileSystem::Exists(const std::string& path)
{
    return ::access(path.c_str(), F_OK) == 0;
}

bool PfFileSystem::SyncFolder(const std::string& folder)
{
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return false;
    const bool synced = ::fsync(dir) == 0;
    ::close(dir);
    return synced;
}

std::string PfFileSystem::FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

bool PfFileSystem::MakeFolder(const std::string& path)
{
    return ::mkdir(path.c_str(), 0755) == 0;
}

bool PfFileSystem::ListFolder(const std::string& path, std::vector<std::string>& names)
{
    DIR* dir = ::opendir(path.c_str());
    if (!dir)
        return false;
    while (dirent* e = ::readdir(dir))
        names.emplace_back(e->d_name);
    ::closedir(dir);
    return true;
}

std::string PfFileSystem::GetCurrentFolder()
{
    std::vector<char> buffer(PATH_MAX);
    if (::getcwd(buffer.data(), buffer.size()) == nullptr)
        return std::string();
    return buffer.data();
}

std::string PfFileSystem::GetHomeFolder()
{
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != 0)
        return home;
    struct passwd* entry = ::getpwuid(::getuid());
    if (entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return std::string();
}

std::string PfFileSystem::GetDocumentsFolder()
{
    // The variable, when the session sets it, overrides the file, as for the desktop's own lookups; a
    // value that is no absolute path is not one (it would depend on the working folder).
    const char* variable = std::getenv("XDG_DOCUMENTS_DIR");
    if (variable != nullptr && variable[0] == '/')
        return variable;
    const std::string home = GetHomeFolder();
    if (home.empty())
        return std::string();
    std::string dir = XdgDocumentsDir(home);
    if (dir.empty())
        dir = home + "/Documents";
    return dir;
}

PfXdgFolders PfFileSystem::GetXdgFolders()
{
    const std::string home = EnvOr("HOME", "");
    PfXdgFolders folders;
    folders.m_ConfigHome = EnvOr("XDG_CONFIG_HOME", home.empty() ? "" : home + "/.config");
    folders.m_DataHome = EnvOr("XDG_DATA_HOME", home.empty() ? "" : home + "/.local/share");
    folders.m_ConfigDirs = EnvOr("XDG_CONFIG_DIRS", "/etc/xdg");
    folders.m_DataDirs = EnvOr("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    return folders;
}
