#pragma once

#include "core/GxMutex.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>

class GxWavData;

// Decoded sounds kept by file name, so a one-shot effect is decoded from disk once. Keys are compared
// without regard to ASCII case. Limits of 20,971,520 bytes and 1,024 entries are tested before each
// insertion; past either, every entry with no use and no resident flag is dropped, and the new one goes
// in whatever the purge freed. The cache's lock is taken after the sound lock, never before it.
class GxSoundCache
{
public:
    static constexpr uint32_t kMaxBytes = 20971520;
    static constexpr uint32_t kMaxEntries = 1024;

    GxSoundCache() = default;
    virtual ~GxSoundCache();

    // The entry with one more use counted, decoded when absent; null when it cannot be decoded.
    virtual GxWavData* Get(const std::wstring& name);
    virtual bool EndUse(const std::wstring& name);
    virtual bool Preload(const std::wstring& name, bool resident);
    virtual bool SetResident(const std::wstring& name, bool resident);
    virtual bool Contains(const std::wstring& name);
    virtual bool Purge(int ignored);
    virtual bool PurgeUnused();
    virtual void Clear();
    virtual uint32_t GetTotalBytes();
    virtual uint32_t GetCount();
    // 0 when the name is not cached.
    virtual uint32_t GetLastUseTime(const std::wstring& name);
    virtual uint32_t GetLastUseTime(const std::string& name);

private:
    GxWavData* Find(const std::wstring& name);

    std::list<std::unique_ptr<GxWavData>> m_Entries;
    uint32_t m_Count = 0;
    uint64_t m_TotalBytes = 0;
    GxMutex m_Mutex;
};
