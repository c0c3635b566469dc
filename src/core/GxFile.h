#pragma once

#include <cstdint>
#include <string>

class GxBinBuffer;
class GxFileCache;
class GxFileHandle;
class GxPackFileHeaderCache;

// The file layer every loader reads through. A name is first looked up as a loose file (relative to the
// current folder, or absolute; '\' and '/' both separate; ASCII case is ignored when the exact name is
// absent), then inside the mounted ".gxp" packs in mount order. A loose file always wins.
class GxFile
{
public:
    enum
    {
        kAbsent = 0,
        kLoose = 1,
        kPacked = 2,
    };

    // 1 for a loose file or folder, else 2 for a pack entry, else 0.
    static int Exists(const std::wstring& name);
    static bool Open(GxFileHandle& handle, const std::wstring& name);
    static uint32_t Read(void* buffer, uint32_t count, GxFileHandle& handle);
    // origin 0 from the start, 1 from the position, 2 from the end; the target is clamped to [0, size].
    static bool Seek(GxFileHandle& handle, int64_t offset, int origin);
    static int64_t Tell(const GxFileHandle& handle);
    static void Close(GxFileHandle& handle);
    // True when a loose file of that name can be opened for reading (packs are not asked).
    static bool CanOpen(const std::wstring& path);
    // The size of a named file without keeping it open; 0 when absent.
    static uint32_t GetSize(const std::wstring& name);

    static bool LoadToBuffer(GxBinBuffer& buffer, const std::wstring& name, bool useCache);
    // The whole file plus two zero bytes, never through the cache.
    static bool LoadToBufferTerminated(GxBinBuffer& buffer, const std::wstring& name);

    static bool MountPack(const std::wstring& path);
    static void UnmountAll();
    static const uint8_t* FindInPacks(GxPackFileHeaderCache** outPack, const uint8_t** outEntry,
                                      const std::wstring& name);

    static void SetCacheEnabled(bool enabled);
    static void SetCacheCapacity(uint32_t bytes);
    static void SetCacheFileLimit(uint32_t bytes);
    static void ClearCache();
    static GxFileCache& GetCache();

    // A FILETIME (100 ns units since 1601-01-01) from seconds and nanoseconds since 1970-01-01.
    static uint64_t ToFileTime(int64_t seconds, int64_t nanoseconds);
};
