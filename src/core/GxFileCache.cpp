#include "core/GxFileCache.h"

#include "core/GxBinBuffer.h"
#include "core/GxFileCacheBuffer.h"
#include "core/GxMutexScopedLock.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <vector>

GxFileCache::GxFileCache() = default;

GxFileCache::~GxFileCache()
{
    Clear();
    m_Capacity = 0;
    m_FileLimit = 0;
    m_Enabled = false;
}

uint32_t GxFileCache::GetMilliseconds()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint32_t>(static_cast<uint64_t>(ts.tv_sec) * 1000u +
                                 static_cast<uint64_t>(ts.tv_nsec) / 1000000u);
}

GxFileCacheBuffer* GxFileCache::Find(const std::wstring& key, uint64_t fileTime)
{
    GxMutexScopedLock lock(&m_Lock);
    if (!m_Enabled)
        return nullptr;
    auto it = m_Entries.find(key);
    if (it == m_Entries.end() || it->second->m_FileTime != fileTime)
        return nullptr;
    it->second->m_LastUse = m_Clock();
    return it->second.get();
}

bool GxFileCache::FindCopy(const std::wstring& key, uint64_t fileTime, GxBinBuffer& out)
{
    GxMutexScopedLock lock(&m_Lock);
    GxFileCacheBuffer* cached = Find(key, fileTime);
    if (!cached)
        return false;
    void* data = out.Alloc(cached->GetSize());
    if (cached->GetSize() != 0)
    {
        if (!data)
            return false;
        std::memcpy(data, cached->GetData(), cached->GetSize());
    }
    return true;
}

bool GxFileCache::Add(const std::wstring& key, const GxBinBuffer& buffer, uint64_t fileTime)
{
    GxMutexScopedLock lock(&m_Lock);
    Remove(key);
    const uint32_t size = buffer.GetSize();
    if (!m_Enabled || size > m_FileLimit || size > m_Capacity)
        return false;
    if (static_cast<uint64_t>(size) + m_Total > m_Capacity)
        Purge(size);
    auto copy = std::make_unique<GxFileCacheBuffer>(size);
    if (size != 0)
    {
        if (!copy->GetData() || !buffer.GetData())
            return false;
        std::memcpy(copy->GetData(), buffer.GetData(), size);
    }
    copy->m_LastUse = m_Clock();
    copy->m_FileTime = fileTime;
    m_Entries[key] = std::move(copy);
    m_Total += size;
    return true;
}

bool GxFileCache::Remove(const std::wstring& key)
{
    GxMutexScopedLock lock(&m_Lock);
    auto it = m_Entries.find(key);
    if (it == m_Entries.end())
        return false;
    m_Total -= it->second->GetSize();
    m_Entries.erase(it);
    return true;
}

void GxFileCache::Purge(uint32_t needed)
{
    GxMutexScopedLock lock(&m_Lock);
    const uint32_t target = std::max(needed, m_Capacity / 4);
    struct Candidate
    {
        const std::wstring* key;
        uint32_t lastUse;
    };
    std::vector<Candidate> order;
    order.reserve(m_Entries.size());
    for (auto& [key, buffer] : m_Entries)
        order.push_back({&key, buffer->m_LastUse});
    // Oldest first by the raw count; equal counts keep key order.
    std::stable_sort(order.begin(), order.end(),
                     [](const Candidate& a, const Candidate& b) { return a.lastUse < b.lastUse; });
    uint64_t freed = 0;
    for (const Candidate& c : order)
    {
        if (freed >= target)
            break;
        auto it = m_Entries.find(*c.key);
        freed += it->second->GetSize();
        m_Total -= it->second->GetSize();
        m_Entries.erase(it); // the key it pointed at goes with it; it is not used again
    }
}

void GxFileCache::Clear()
{
    GxMutexScopedLock lock(&m_Lock);
    m_Entries.clear();
    m_Total = 0;
}

uint32_t GxFileCache::GetTotalSize()
{
    GxMutexScopedLock lock(&m_Lock);
    return m_Total;
}

size_t GxFileCache::GetEntryCount()
{
    GxMutexScopedLock lock(&m_Lock);
    return m_Entries.size();
}
