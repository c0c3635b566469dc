#include "core/GxAtomicFile.h"

#include "core/GxLog.h"
#include "core/GxPath.h"
#include "core/GxString.h"
#include "platform/PfFileSystem.h"
#include "platform/PfProcess.h"

#include <cerrno>
#include <cstring>
#include <vector>

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
    m_TempPath = m_Path + ".tmp" + std::to_string(PfProcess::GetCurrentId());
    m_Fd = PfFileSystem::OpenWrite(m_TempPath, PfFileSystem::WriteMode::Truncate);
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
    if (!PfFileSystem::WriteAll(m_Fd, data, size))
    {
        Fail(L"書き込み");
        return false;
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
    if (!PfFileSystem::Sync(m_Fd))
    {
        Fail(L"同期");
        Abort();
        return false;
    }
    const int fd = m_Fd;
    m_Fd = -1;
    if (!PfFileSystem::Close(fd))
    {
        Fail(L"クローズ");
        PfFileSystem::Remove(m_TempPath);
        return false;
    }
    if (!PfFileSystem::Rename(m_TempPath, m_Path))
    {
        Fail(L"置き換え");
        PfFileSystem::Remove(m_TempPath);
        return false;
    }
    SyncFolderOf(m_Path);
    return true;
}

void GxAtomicFile::Abort()
{
    if (m_Fd >= 0)
    {
        PfFileSystem::Close(m_Fd);
        m_Fd = -1;
        PfFileSystem::Remove(m_TempPath);
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

void GxAtomicFile::SyncFolderOf(const std::string& path)
{
    // The rename lives in the folder's entry list; sync that too. A folder that cannot be opened for
    // syncing (unusual permissions) still holds the renamed file, so this is not a failure.
    PfFileSystem::SyncFolder(PfFileSystem::FolderOf(path));
}

uint32_t GxAtomicFile::RemoveLeftovers(const std::wstring& folder)
{
    const std::string native = GxPath::ToNative(folder);
    std::vector<std::string> names;
    if (native.empty() || !PfFileSystem::ListFolder(native, names))
        return 0;
    const std::string base = native.back() == '/' ? native : native + "/";
    uint32_t removed = 0;
    for (const std::string& name : names)
    {
        const size_t mark = name.rfind(".tmp");
        if (mark == std::string::npos || mark == 0 || mark + 4 == name.size() || mark + 4 + 10 < name.size())
            continue;
        const std::string digits = name.substr(mark + 4);
        if (digits.find_first_not_of("0123456789") != std::string::npos)
            continue;
        // The digits are read as a number: "/proc" names a process without leading zeros, so a padded
        // "0015802" is looked up as 15802. At most ten digits fit in 64 bits with room to spare.
        uint64_t pid = 0;
        for (char digit : digits)
            pid = pid * 10 + static_cast<uint64_t>(digit - '0');
        // A writer that still runs (another copy's save in progress) keeps its file.
        PfFileInfo info;
        if (!PfFileSystem::GetInfo(base + name, info) || !info.m_IsRegular ||
            PfFileSystem::Exists("/proc/" + std::to_string(pid)))
            continue;
        if (PfFileSystem::Remove(base + name))
        {
            ++removed;
            GxLog::Debug(L"GxAtomicFile/書きかけのまま残ったファイルを削除しました(%s)\n",
                         GxString::FromUtf8(base + name).c_str());
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
