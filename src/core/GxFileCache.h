#pragma once

#include "core/GxMutex.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

class GxBinBuffer;
class GxFileCacheBuffer;

// Copies of small whole files by name, used while the file's time stamp still matches. When a new copy
// would overflow the capacity, the least recently used copies are dropped until at least a quarter of the
// capacity (or the new copy's size, when larger) has been freed.
class GxFileCache
{
public:
    GxFileCache();
    virtual ~GxFileCache();
    GxFileCache(const GxFileCache&) = delete;
    GxFileCache& operator=(const GxFileCache&) = delete;

    // The cached copy under key when its time stamp equals fileTime, or null. The copy may be dropped by
    // any later call on the cache: copy the bytes out at once, or use FindCopy.
    GxFileCacheBuffer* Find(const std::wstring& key, uint64_t fileTime);
    // Like Find, but copies the bytes into out under the cache's lock; true on a hit.
    bool FindCopy(const std::wstring& key, uint64_t fileTime, GxBinBuffer& out);
    bool Add(const std::wstring& key, const GxBinBuffer& buffer, uint64_t fileTime);
    bool Remove(const std::wstring& key);
    void Purge(uint32_t needed);
    void Clear();
    uint32_t GetTotalSize();

    // Set by the file system under its own lock, on the main thread.
    void SetEnabled(bool enabled) { m_Enabled = enabled; }
    void SetCapacity(uint32_t bytes) { m_Capacity = bytes; }
    void SetFileLimit(uint32_t bytes) { m_FileLimit = bytes; }
    bool IsEnabled() const { return m_Enabled; }
    uint32_t GetCapacity() const { return m_Capacity; }
    uint32_t GetFileLimit() const { return m_FileLimit; }
    size_t GetEntryCount();

    // The millisecond clock that stamps each use; tests put a clock of their own here.
    using ClockFunction = uint32_t (*)();
    void SetClock(ClockFunction clock) { m_Clock = clock ? clock : &GetMilliseconds; }
    static uint32_t GetMilliseconds();

private:
    std::map<std::wstring, std::unique_ptr<GxFileCacheBuffer>> m_Entries;
    uint32_t m_Capacity = 0;
    uint32_t m_Total = 0;
    uint32_t m_FileLimit = 0;
    bool m_Enabled = false;
    GxMutex m_Lock;
    ClockFunction m_Clock = &GetMilliseconds;
};
