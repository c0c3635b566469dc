#include "media/GxSoundCache.h"

#include "core/GxMutexScopedLock.h"
#include "core/GxString.h"
#include "media/GxWavData.h"

GxSoundCache::~GxSoundCache()
{
    Clear();
}

GxWavData* GxSoundCache::Find(const std::wstring& name)
{
    const std::wstring key = GxString::ToLower(name);
    for (auto& entry : m_Entries)
        if (entry->GetName() == key)
            return entry.get();
    return nullptr;
}

GxWavData* GxSoundCache::Get(const std::wstring& name)
{
    GxMutexScopedLock lock(m_Mutex);
    if (GxWavData* found = Find(name))
    {
        found->AddUse();
        found->Touch();
        return found;
    }
    auto entry = std::make_unique<GxWavData>();
    if (!entry->Create(name))
        return nullptr;
    if (m_TotalBytes + entry->GetDataSize() > kMaxBytes || m_Count >= kMaxEntries)
        Purge(0);
    GxWavData* result = entry.get();
    m_TotalBytes += entry->GetDataSize();
    ++m_Count;
    m_Entries.push_back(std::move(entry));
    return result;
}

bool GxSoundCache::EndUse(const std::wstring& name)
{
    GxMutexScopedLock lock(m_Mutex);
    GxWavData* found = Find(name);
    if (found)
        found->ReleaseUse();
    return found != nullptr;
}

bool GxSoundCache::Preload(const std::wstring& name, bool resident)
{
    GxMutexScopedLock lock(m_Mutex);
    GxWavData* entry = Get(name);
    if (!entry)
        return false;
    if (resident)
        entry->SetResident(true);
    entry->ReleaseUse();
    return true;
}

bool GxSoundCache::SetResident(const std::wstring& name, bool resident)
{
    GxMutexScopedLock lock(m_Mutex);
    GxWavData* found = Find(name);
    if (found)
        found->SetResident(resident);
    return found != nullptr;
}

bool GxSoundCache::Contains(const std::wstring& name)
{
    GxMutexScopedLock lock(m_Mutex);
    return Find(name) != nullptr;
}

bool GxSoundCache::Purge(int)
{
    return PurgeUnused();
}

bool GxSoundCache::PurgeUnused()
{
    GxMutexScopedLock lock(m_Mutex);
    bool removed = false;
    for (auto it = m_Entries.begin(); it != m_Entries.end();)
    {
        if ((*it)->GetUseCount() == 0 && !(*it)->IsResident())
        {
            m_TotalBytes -= (*it)->GetDataSize();
            --m_Count;
            it = m_Entries.erase(it);
            removed = true;
        }
        else
            ++it;
    }
    return removed;
}

void GxSoundCache::Clear()
{
    GxMutexScopedLock lock(m_Mutex);
    m_Entries.clear();
    m_Count = 0;
    m_TotalBytes = 0;
}

uint32_t GxSoundCache::GetTotalBytes()
{
    GxMutexScopedLock lock(m_Mutex);
    return static_cast<uint32_t>(m_TotalBytes);
}

uint32_t GxSoundCache::GetCount()
{
    GxMutexScopedLock lock(m_Mutex);
    return m_Count;
}

uint32_t GxSoundCache::GetLastUseTime(const std::wstring& name)
{
    GxMutexScopedLock lock(m_Mutex);
    GxWavData* found = Find(name);
    return found ? found->GetLastUseTime() : 0;
}

uint32_t GxSoundCache::GetLastUseTime(const std::string& name)
{
    return GetLastUseTime(GxString::ToWide(name));
}
