#include "appdata/GxUserDataPair.h"

#include "core/GxAtomicFile.h"
#include "core/GxLog.h"
#include "core/GxPath.h"
#include "platform/PfFileSystem.h"

#include <string>
#include <vector>

namespace
{

bool Exists(const std::wstring& path)
{
    return PfFileSystem::Exists(GxPath::ToNative(path));
}

void Remove(const std::wstring& path)
{
    PfFileSystem::Remove(GxPath::ToNative(path));
}

bool Rename(const std::wstring& from, const std::wstring& to)
{
    return PfFileSystem::Rename(GxPath::ToNative(from), GxPath::ToNative(to));
}

// Makes the renames and removals of the folder last, with the atomic writer's own folder sync.
void SyncFolder(const std::wstring& path)
{
    GxAtomicFile::SyncFolderOf(GxPath::ToNative(path));
}

// The marker exists: every new file was complete. Those not yet renamed go into place.
bool RollForward(const std::vector<std::wstring>& paths)
{
    bool ok = true;
    for (const std::wstring& path : paths)
        if (!path.empty() && Exists(GxUserDataPair::NewPath(path)) && !Rename(GxUserDataPair::NewPath(path), path))
        {
            GxLog::Error(L"GxUserDataPair/セーブデータを置き換えられません(%s)\n", path.c_str());
            ok = false;
        }
    const std::wstring& first = paths.front();
    SyncFolder(first);
    if (ok)
    {
        Remove(GxUserDataPair::MarkerPath(first));
        SyncFolder(first);
    }
    return ok;
}

} // namespace

void GxUserDataPair::Recover(const std::wstring& first, const std::wstring& second)
{
    Recover(std::vector<std::wstring>{first, second});
}

void GxUserDataPair::Recover(const std::vector<std::wstring>& paths)
{
    if (paths.empty() || paths.front().empty())
        return;
    if (Exists(MarkerPath(paths.front())))
    {
        GxLog::Error(L"GxUserDataPair/中断されたセーブを完了しました(%s)\n", paths.front().c_str());
        RollForward(paths);
        return;
    }
    for (const std::wstring& path : paths)
        if (!path.empty() && Exists(NewPath(path)))
            Remove(NewPath(path));
}

bool GxUserDataPair::Commit(const std::wstring& first, const std::string& firstBytes, const std::wstring& second,
                            const std::string& secondBytes)
{
    return Commit({{first, firstBytes}, {second, secondBytes}});
}

bool GxUserDataPair::Commit(const std::vector<File>& files)
{
    std::vector<std::wstring> paths;
    for (const File& file : files)
        paths.push_back(file.m_Path);
    if (paths.empty() || paths.front().empty())
        return false;
    const std::wstring& first = paths.front();
    Recover(paths);
    bool written = true;
    for (const File& file : files)
        written = written && (file.m_Path.empty() ||
                              GxAtomicFile::WriteFile(NewPath(file.m_Path), file.m_Bytes.data(), file.m_Bytes.size()));
    static const char kMarker[] = "pair";
    if (!written || !GxAtomicFile::WriteFile(MarkerPath(first), kMarker, sizeof kMarker - 1))
    {
        // No marker: the old files stand; the new ones written go.
        for (const std::wstring& path : paths)
            if (!path.empty())
                Remove(NewPath(path));
        GxLog::Error(L"GxUserDataPair/セーブできませんでした。前のデータが残っています(%s)\n", first.c_str());
        return false;
    }
    return RollForward(paths);
}
