#pragma once

#include "platform/PfWaveFormat.h"

#include <atomic>
#include <cstdint>

// One decoder: a sound as 16-byte-format PCM, read forward in bytes, positioned in frames (one sample of
// every channel). A decoder that is not open yields false or 0 from everything.
class GxSoundLoaderBase
{
public:
    enum Type
    {
        kTypeNone = 0,
        kTypeMemory = 1,
        kTypeWav = 2,
        kTypeAcm = 3,
        kTypeOgg = 4,
    };

    virtual ~GxSoundLoaderBase() = default;
    virtual void Close() {}
    virtual bool IsOpen() const { return false; }
    // Success with what could be read in bytesRead (fewer than wanted at the end of the data).
    virtual bool Read(void* buffer, uint32_t bytes, uint32_t* bytesRead);
    virtual bool Seek(uint32_t frame);
    virtual uint32_t Tell() const { return 0; }
    virtual bool IsEnd() const { return true; }
    virtual PfWaveFormat GetFormat() const { return PfWaveFormat(); }
    virtual uint32_t GetLength() const { return 0; }
    // Bytes of PCM the whole sound decodes to.
    virtual uint32_t GetDataSize() const;
    virtual void SetLoopFrame(uint32_t frame) { m_LoopFrame = frame; }
    // 0 when the loop frame lies past the loop end.
    virtual uint32_t GetLoopFrame() const { return m_LoopFrame > GetLoopEnd() ? 0 : m_LoopFrame; }
    virtual uint32_t GetLoopEnd() const { return GetLength(); }
    virtual uint32_t GetLengthMs() const;
    virtual int GetType() const { return kTypeNone; }

    // Asks a read in progress on another thread to give up: a decoder whose read can wait (on a slow
    // source) looks at IsInterrupted while it waits and fails the read. The stream's release asks this
    // before it waits for its feeding thread; a new stream clears it.
    void Interrupt() { m_Interrupted = true; }
    void ClearInterrupt() { m_Interrupted = false; }
    bool IsInterrupted() const { return m_Interrupted; }

protected:
    uint32_t m_LoopFrame = 0;

private:
    std::atomic<bool> m_Interrupted{false};
};
