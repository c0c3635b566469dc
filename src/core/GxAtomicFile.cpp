#include "core/GxAtomicFile.h"

#include "core/GxLog.h"
#include "core/GxPath.h"
#include "core/GxString.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <unistd.h>

GxAtomicFile::~GxAtomicFile()
{
    Abort();
}

bool GxAtomicFile::Open(const std::wstring& path)
{
    Abort();
    m_Failed = false;
    m_Path = GxPath::ToNative(path);
    // A suffix keyed by the process keeps two writers of one file in two processes apart. A leftover of a
    // killed process has another process's number, so no later save reuses it: RemoveLeftovers clears
    // them at start-up.
    m_TempPath = m_Path + ".tmp" + std::to_string((long)getpid());
    m_Fd = ::open(m_TempPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (m_Fd < 0)
    {
        Fail(L"作成");
        return false;
    }
    return true;
}

bool GxAtomicFile::Write(const void* data, size_t size)
{
    if (m_Fd < 0 || m_Failed)
        return false;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0)
    {
        const ssize_t written = ::write(m_Fd, bytes, size);
        if (written < 0)
        {
            if (errno == EINTR)
                continue;
            Fail(L"書き込み");
            return false;
        }
        bytes += written;
        size -= (size_t)written;
    }
    return true;
}

bool GxAtomicFile::Commit()
{
    if (m_Fd < 0)
        return false;
    if (m_Failed)
    {
        Abort();
        return false;
    }
    if (::fsync(m_Fd) != 0)
    {
        Fail(L"同期");
        Abort();
        return false;
    }
    const int fd = m_Fd;
    m_Fd = -1;
    if (::close(fd) != 0)
    {
        Fail(L"クローズ");
        ::unlink(m_TempPath.c_str());
        return false;
    }
    if (std::rename(m_TempPath.c_str(), m_Path.c_str()) != 0)
    {
        Fail(L"置き換え");
        ::unlink(m_TempPath.c_str());
        return false;
    }
    // The rename lives in the folder's entry list; sync that too. A folder that cannot be opened for
    // syncing (unusual permissions) still holds the renamed file, so this is not a failure.
    const size_t slash = m_Path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : m_Path.substr(0, slash));
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0)
    {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

void GxAtomicFile::Abort()
{
    if (m_Fd >= 0)
    {
        ::close(m_Fd);
        m_Fd = -1;
        ::unlink(m_TempPath.c_str());
    }
}

bool GxAtomicFile::WriteFile(const std::wstring& path, const void* data, size_t size)
{
    GxAtomicFile file;
    if (!file.Open(path))
        return false;
    file.Write(data, size);
    return file.Commit();
}

uint32_t GxAtomicFile::RemoveLeftovers(const std::wstring& folder)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator it(GxPath::ToNative(folder), error);
    uint32_t removed = 0;
    for (; !error && it != fs::directory_iterator(); it.increment(error))
    {
        const std::string name = it->path().filename().string();
        const size_t mark = name.rfind(".tmp");
        if (mark == std::string::npos || mark == 0 || mark + 4 == name.size() || mark + 4 + 10 < name.size())
            continue;
        const std::string pid = name.substr(mark + 4);
        if (pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::error_code ignored;
        // A writer that still runs (another copy's save in progress) keeps its file.
        if (!it->is_regular_file(ignored) || it->is_symlink(ignored) || fs::exists("/proc/" + pid, ignored))
            continue;
        if (fs::remove(it->path(), ignored))
        {
            ++removed;
            GxLog::Debug(L"GxAtomicFile/書きかけのまま残ったファイルを削除しました(%s)\n",
                         GxString::FromUtf8(it->path().string()).c_str());
        }
    }
    return removed;
}

void GxAtomicFile::Fail(const wchar_t* what)
{
    if (m_Failed)
        return;
    m_Failed = true;
    const int error = errno;
    GxLog::Error(L"GxAtomicFile/ファイルの%sに失敗しました(%s: %S)\n", what, GxString::FromUtf8(m_Path).c_str(),
                 std::strerror(error));
}
