#include "appdata/GxUserDataPair.h"

#include "core/GxAtomicFile.h"
#include "core/GxLog.h"
#include "core/GxPath.h"
#include "platform/PfFileSystem.h"

#include <string>

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

// The marker exists: both new files were complete. Those not yet renamed go into place.
bool RollForward(const std::wstring& first, const std::wstring& second)
{
    bool ok = true;
    for (const std::wstring* path : {&first, &second})
        if (!path->empty() && Exists(GxUserDataPair::NewPath(*path)) && !Rename(GxUserDataPair::NewPath(*path), *path))
        {
            GxLog::Error(L"GxUserDataPair/セーブデータを置き換えられません(%s)\n", path->c_str());
            ok = false;
        }
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
    if (Exists(MarkerPath(first)))
    {
        GxLog::Error(L"GxUserDataPair/中断されたセーブを完了しました(%s)\n", first.c_str());
        RollForward(first, second);
        return;
    }
    for (const std::wstring* path : {&first, &second})
        if (!path->empty() && Exists(NewPath(*path)))
            Remove(NewPath(*path));
}

bool GxUserDataPair::Commit(const std::wstring& first, const std::string& firstBytes, const std::wstring& second,
                            const std::string& secondBytes)
{
    Recover(first, second);
    const bool written = GxAtomicFile::WriteFile(NewPath(first), firstBytes.data(), firstBytes.size()) &&
                         (second.empty() ||
                          GxAtomicFile::WriteFile(NewPath(second), secondBytes.data(), secondBytes.size()));
    static const char kMarker[] = "pair";
    if (!written || !GxAtomicFile::WriteFile(MarkerPath(first), kMarker, sizeof kMarker - 1))
    {
        // No marker: the old pair stands; the halves written go.
        Remove(NewPath(first));
        if (!second.empty())
            Remove(NewPath(second));
        GxLog::Error(L"GxUserDataPair/セーブできませんでした。前のデータが残っています(%s)\n", first.c_str());
        return false;
    }
    return RollForward(first, second);
}
