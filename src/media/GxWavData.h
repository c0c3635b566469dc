#pragma once

#include "platform/PfWaveFormat.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

// A whole sound decoded into memory: the unit the sound cache shares. The name it was made from is kept
// in ASCII lower case as the cache's key.
//
// The PCM and the last-use time are held through shared pointers: a memory decoder takes a share of both
// when it opens, so a stream's feeding thread left inside a read after its release (the stream's bounded
// wait) still reads bytes and touches a time that exist, even when the cache has dropped the sound
// meanwhile. The time is atomic: that thread and the main thread write it, the cache reads it.
class GxWavData
{
public:
    // The most PCM one decoded sound may take; a damaged length beyond it is refused, not allocated.
    static constexpr uint32_t kMaxBytes = 256u * 1024 * 1024;

    GxWavData() = default;
    virtual ~GxWavData();
    GxWavData(const GxWavData&) = delete;
    GxWavData& operator=(const GxWavData&) = delete;

    virtual void Reset();
    virtual void AddUse() { ++m_UseCount; }
    // Never below 0.
    virtual void ReleaseUse();
    virtual int32_t GetUseCount() const { return m_UseCount; }
    virtual void Free();
    // Zeroed PCM of bytes in format, one use counted, touched.
    virtual bool Allocate(const std::wstring& name, const PfWaveFormat& format, uint32_t bytes);
    virtual bool Allocate(const std::string& name, const PfWaveFormat& format, uint32_t bytes);
    // Decodes a ".wav" (any convertible WAVE) or ".ogg" file whole.
    virtual bool Create(const std::wstring& name);
    virtual bool Create(const std::string& name);
    virtual const PfWaveFormat& GetFormat() const { return m_Format; }
    virtual uint8_t* GetData() { return m_Data.get(); }
    virtual const uint8_t* GetData() const { return m_Data.get(); }
    virtual uint32_t GetLengthMs() const;
    // A frame as two 16-bit values: mono gives its sample twice; 8-bit samples are scaled by 257.
    virtual bool GetSample(int16_t* left, int16_t* right, uint32_t frame) const;
    virtual void Touch();
    // The PCM as it is now, shared: kept alive for the holder whatever happens to this sound afterwards.
    std::shared_ptr<uint8_t[]> ShareData() const { return m_Data; }
    // The last-use time, shared: a holder's Touch goes on counting after the sound is gone.
    std::shared_ptr<std::atomic<uint32_t>> ShareLastUseTime() const { return m_LastUseTime; }
    virtual const std::wstring& GetName() const { return m_Name; }
    virtual uint32_t GetDataSize() const { return m_DataSize; }
    virtual uint32_t GetLength() const { return m_Length; }
    virtual void SetResident(bool resident) { m_Resident = resident; }
    virtual bool IsResident() const { return m_Resident; }
    virtual uint32_t GetLastUseTime() const { return m_LastUseTime->load(std::memory_order_relaxed); }

private:
    std::shared_ptr<uint8_t[]> m_Data;
    // Made with the sound and never replaced, so every share of it stays the sound's own clock.
    const std::shared_ptr<std::atomic<uint32_t>> m_LastUseTime = std::make_shared<std::atomic<uint32_t>>(0);
    PfWaveFormat m_Format;
    std::wstring m_Name;
    int32_t m_UseCount = 0;
    uint32_t m_DataSize = 0;
    uint32_t m_Length = 0;
    bool m_Resident = false;
};
