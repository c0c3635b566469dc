#include "core/GxFile.h"

#include "core/GxBinBuffer.h"
#include "core/GxFileCache.h"
#include "core/GxFileHandle.h"
#include "core/GxLog.h"
#include "core/GxLooseFileIndex.h"
#include "core/GxMutex.h"
#include "core/GxMutexScopedLock.h"
#include "core/GxPack.h"
#include "core/GxPackFileHeaderCache.h"
#include "core/GxString.h"
#include "platform/PfFileSystem.h"

#include <memory>
#include <vector>

// Process-wide state of the file layer. Built on first use, so that files may be read from static
// constructors of other units too.
struct GxFileSystemState
{
    GxMutex m_Lock; // re-entrant: Open holds it while the lookups take it again
    std::vector<std::unique_ptr<GxPackFileHeaderCache>> m_Packs;
    GxLooseFileIndex m_Loose;
};

static GxFileSystemState& GetState()
{
    static GxFileSystemState s_State;
    return s_State;
}

GxFileCache& GxFile::GetCache()
{
    // Built before and destroyed after the file-system state that refers to it.
    static GxFileCache s_Cache;
    return s_Cache;
}

uint64_t GxFile::ToFileTime(int64_t seconds, int64_t nanoseconds)
{
    // 11644473600 seconds lie between 1601-01-01 and 1970-01-01.
    return static_cast<uint64_t>(seconds + 11644473600LL) * 10000000ull + static_cast<uint64_t>(nanoseconds / 100);
}

// Sizes are 32-bit throughout the layer; a larger file is refused rather than cut.
static bool FitsSize(const PfFileInfo& st)
{
    return st.m_Size <= 0xFFFFFFFFull;
}

static int OpenForReading(const std::string& path)
{
    return PfFileSystem::OpenRead(path);
}

int GxFile::Exists(const std::wstring& name)
{
    GxFileSystemState& fs = GetState();
    GxMutexScopedLock lock(&fs.m_Lock);
    std::string osPath;
    if (fs.m_Loose.Resolve(name, osPath, nullptr))
        return kLoose;
    return FindInPacks(nullptr, nullptr, name) ? kPacked : kAbsent;
}

const uint8_t* GxFile::FindInPacks(GxPackFileHeaderCache** outPack, const uint8_t** outEntry, const std::wstring& name)
{
    GxFileSystemState& fs = GetState();
    GxMutexScopedLock lock(&fs.m_Lock);
    for (const auto& pack : fs.m_Packs)
    {
        if (const uint8_t* entry = pack->Find(name))
        {
            if (outPack)
                *outPack = pack.get();
            if (outEntry)
                *outEntry = entry;
            return entry;
        }
    }
    return nullptr;
}

bool GxFile::Open(GxFileHandle& handle, const std::wstring& name)
{
    GxFileSystemState& fs = GetState();
    GxMutexScopedLock lock(&fs.m_Lock);
    std::string osPath;
    PfFileInfo st;
    GxPackFileHeaderCache* pack = nullptr;
    const uint8_t* entry = nullptr;
    int kind = kAbsent;
    if (fs.m_Loose.Resolve(name, osPath, &st))
        kind = kLoose;
    else if (FindInPacks(&pack, &entry, name))
        kind = kPacked;
    if (kind == kAbsent)
        return false;

    if (handle.m_Open || handle.m_Handle >= 0)
        handle.Close();

    if (kind == kLoose)
    {
        // A loose name that cannot be opened (a folder, no permission) fails without trying the packs.
        int fd = OpenForReading(osPath);
        if (fd < 0)
            return false;
        if (!PfFileSystem::GetInfo(fd, st) || !st.m_IsRegular || !FitsSize(st))
        {
            PfFileSystem::Close(fd);
            return false;
        }
        handle.m_Handle = fd;
        handle.m_Open = true;
        handle.m_EOF = false;
        handle.m_Position = 0;
        handle.m_Size = static_cast<uint32_t>(st.m_Size);
        handle.m_FileTime = ToFileTime(st.m_ModifiedSeconds, st.m_ModifiedNanoseconds);
        return true;
    }

    int fd = OpenForReading(pack->GetOsPath());
    if (fd < 0)
        return false;
    handle.m_Handle = fd;
    handle.m_Open = true;
    handle.m_EOF = false;
    handle.m_Position = 0;
    handle.m_Size = GxPackFileHeaderCache::GetEntrySize(entry);
    handle.m_FileTime = GxPackFileHeaderCache::GetEntryFileTime(entry);
    handle.m_Pack = pack;
    handle.m_Entry = entry;
    return true;
}

uint32_t GxFile::Read(void* buffer, uint32_t count, GxFileHandle& handle)
{
    if (!handle.m_Open || handle.m_EOF || handle.m_Handle < 0 || !buffer)
        return 0;
    int64_t left = static_cast<int64_t>(handle.m_Size) - handle.m_Position;
    if (left <= 0)
    {
        handle.m_EOF = true;
        return 0;
    }
    if (static_cast<int64_t>(count) > left)
        count = static_cast<uint32_t>(left);

    // Each read names its own file offset, so the handle's position is the only file pointer there is.
    uint64_t offset = static_cast<uint64_t>(handle.m_Position);
    if (handle.m_Pack)
        offset += handle.m_Pack->GetDataBase() + GxPackFileHeaderCache::GetEntryOffset(handle.m_Entry);
    uint8_t* out = static_cast<uint8_t*>(buffer);
    uint32_t got = 0;
    while (got < count)
    {
        const int64_t n = PfFileSystem::ReadAt(handle.m_Handle, out + got, count - got, offset + got);
        if (n <= 0)
            break;
        got += static_cast<uint32_t>(n);
    }
    if (handle.m_Pack && handle.m_Pack->IsScrambled())
        GxPack::Descramble(out, got, static_cast<uint32_t>(handle.m_Position));
    handle.m_Position += got;
    if (handle.m_Position >= static_cast<int64_t>(handle.m_Size))
        handle.m_EOF = true;
    return got;
}

bool GxFile::Seek(GxFileHandle& handle, int64_t offset, int origin)
{
    int64_t from;
    switch (origin)
    {
    case 0:
        from = 0;
        break;
    case 1:
        from = handle.m_Position;
        break;
    case 2:
        from = static_cast<int64_t>(handle.m_Size);
        break;
    default:
        return false;
    }
    if (!handle.m_Open || handle.m_Handle < 0)
        return false;
    int64_t target;
    if (__builtin_add_overflow(from, offset, &target))
        target = offset < 0 ? 0 : static_cast<int64_t>(handle.m_Size);
    if (target < 0)
        target = 0;
    if (target > static_cast<int64_t>(handle.m_Size))
        target = static_cast<int64_t>(handle.m_Size);
    handle.m_Position = target;
    handle.m_EOF = target >= static_cast<int64_t>(handle.m_Size);
    return true;
}

int64_t GxFile::Tell(const GxFileHandle& handle)
{
    return handle.m_Position;
}

void GxFile::Close(GxFileHandle& handle)
{
    GxFileSystemState& fs = GetState();
    GxMutexScopedLock lock(&fs.m_Lock);
    handle.Close();
}

bool GxFile::CanOpen(const std::wstring& path)
{
    GxFileSystemState& fs = GetState();
    GxMutexScopedLock lock(&fs.m_Lock);
    std::string osPath;
    PfFileInfo st;
    if (!fs.m_Loose.Resolve(path, osPath, &st) || st.m_IsDirectory)
        return false;
    int fd = OpenForReading(osPath);
    if (fd < 0)
        return false;
    PfFileSystem::Close(fd);
    return true;
}

uint32_t GxFile::GetSize(const std::wstring& name)
{
    GxFileSystemState& fs = GetState();
    GxMutexScopedLock lock(&fs.m_Lock);
    std::string osPath;
    PfFileInfo st;
    if (fs.m_Loose.Resolve(name, osPath, &st))
    {
        // Unlike Open, a loose name that cannot be opened falls through to the packs.
        int fd = OpenForReading(osPath);
        if (fd >= 0)
        {
            bool regular = PfFileSystem::GetInfo(fd, st) && st.m_IsRegular;
            PfFileSystem::Close(fd);
            if (regular)
                return FitsSize(st) ? static_cast<uint32_t>(st.m_Size) : 0;
        }
    }
    const uint8_t* entry = FindInPacks(nullptr, nullptr, name);
    return entry ? GxPackFileHeaderCache::GetEntrySize(entry) : 0;
}

bool GxFile::LoadToBuffer(GxBinBuffer& buffer, const std::wstring& name, bool useCache)
{
    // Separators are left as written, so one file named with '\' and with '/' has two keys.
    const std::wstring key = useCache ? GxString::ToLower(name) : std::wstring();
    GxFileHandle handle;
    if (!Open(handle, name))
    {
        GxLog::Error(L"File open error or not exist:%s\n", name.c_str());
        return false;
    }
    GxFileCache& cache = GetCache();
    if (useCache && cache.FindCopy(key, handle.GetFileTime(), buffer))
    {
        Close(handle);
        return true;
    }
    const uint32_t size = handle.GetSize();
    void* data = buffer.Alloc(size);
    if (size == 0)
    {
        Close(handle);
        return true;
    }
    if (!data || Read(data, size, handle) != size)
    {
        GxLog::Error(L"File read error:%s\n", name.c_str());
        Close(handle);
        return false;
    }
    if (useCache)
        cache.Add(key, buffer, handle.GetFileTime());
    Close(handle);
    return true;
}

bool GxFile::LoadToBufferTerminated(GxBinBuffer& buffer, const std::wstring& name)
{
    GxFileHandle handle;
    if (!Open(handle, name))
    {
        GxLog::Error(L"File open error:%s\n", name.c_str());
        return false;
    }
    const uint32_t size = handle.GetSize();
    // Two terminating bytes must still fit the 32-bit size.
    if (size > 0xFFFFFFFFu - 2)
    {
        GxLog::Error(L"File read error:%s\n", name.c_str());
        Close(handle);
        return false;
    }
    void* data = buffer.Alloc(size + 2);
    if (!data || (size != 0 && Read(data, size, handle) != size))
    {
        GxLog::Error(L"File read error:%s\n", name.c_str());
        Close(handle);
        return false;
    }
    Close(handle);
    return true;
}

bool GxFile::MountPack(const std::wstring& path)
{
    GxFileSystemState& fs = GetState();
    GxMutexScopedLock lock(&fs.m_Lock);
    std::string osPath;
    if (!fs.m_Loose.Resolve(path, osPath, nullptr))
        return false;
    auto pack = std::make_unique<GxPackFileHeaderCache>();
    if (!pack->Load(path, osPath))
        return false;
    fs.m_Packs.push_back(std::move(pack));
    return true;
}

void GxFile::UnmountAll()
{
    GxFileSystemState& fs = GetState();
    GxMutexScopedLock lock(&fs.m_Lock);
    fs.m_Packs.clear();
}

void GxFile::SetCacheEnabled(bool enabled)
{
    GxMutexScopedLock lock(&GetState().m_Lock);
    GetCache().SetEnabled(enabled);
}

void GxFile::SetCacheCapacity(uint32_t bytes)
{
    GxMutexScopedLock lock(&GetState().m_Lock);
    GetCache().SetCapacity(bytes);
}

void GxFile::SetCacheFileLimit(uint32_t bytes)
{
    GxMutexScopedLock lock(&GetState().m_Lock);
    GetCache().SetFileLimit(bytes);
}

void GxFile::ClearCache()
{
    GxMutexScopedLock lock(&GetState().m_Lock);
    GetCache().Clear();
}
