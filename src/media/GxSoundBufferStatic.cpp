#include "media/GxSoundBufferStatic.h"

#include "core/GxLog.h"
#include "core/GxMutexScopedLock.h"
#include "media/GxSoundLoaderBase.h"
#include "platform/PfAudioDevice.h"
#include "platform/PfSoundBuffer.h"

#include <cstring>

GxSoundBufferStatic::GxSoundBufferStatic() = default;

GxSoundBufferStatic::~GxSoundBufferStatic()
{
    Release();
}

void GxSoundBufferStatic::Release()
{
    GxMutexScopedLock lock(m_Mutex);
    if (m_Buffer)
        m_Buffer->Stop();
    m_Buffer.reset();
    m_Size = 0;
    m_Format = PfWaveFormat();
}

bool GxSoundBufferStatic::IsCreated()
{
    return m_Buffer != nullptr;
}

bool GxSoundBufferStatic::Create(GxSoundLoaderBase* decoder)
{
    GxMutexScopedLock lock(m_Mutex);
    if (decoder == nullptr || !decoder->IsOpen() || !PfAudioDevice::IsOpen())
        return false;
    Release();
    m_Format = decoder->GetFormat();
    m_Size = decoder->GetDataSize();
    PfResult result = 0;
    // Every byte is read from the decoder (or zeroed on a failed read) before the buffer can play.
    m_Buffer = PfSoundBuffer::Create(m_Format, m_Size, &result, PfSoundBuffer::kContentsUndefined);
    if (!m_Buffer)
    {
        GxLog::SlightError(L"Error/GxSoundBufferStatic::Create セカンダリバッファ作成に失敗しました\n");
        m_Size = 0;
        return false;
    }
    void* part1 = nullptr;
    uint32_t size1 = 0;
    if (m_Buffer->Lock(0, m_Size, &part1, &size1, nullptr, nullptr) != PfSoundBuffer::kOk)
    {
        GxLog::SlightError(L"Error/GxSoundBufferStatic::Create セカンダリバッファのロックに失敗しました\n");
        Release();
        return false;
    }
    uint32_t got = 0;
    if (!decoder->Read(part1, size1, &got) || got < size1)
    {
        GxLog::SlightError(L"Error/GxSoundBufferStatic::Create ファイルの読み込みに失敗しました\n");
        std::memset(part1, 0, size1);
        m_Buffer->Unlock(part1, size1, nullptr, 0);
        Release();
        return false;
    }
    m_Buffer->Unlock(part1, size1, nullptr, 0);
    return true;
}

bool GxSoundBufferStatic::Play(int32_t loop, int32_t priority, uint32_t startFrame, int32_t volume, int32_t pan)
{
    GxMutexScopedLock lock(m_Mutex);
    if (!m_Buffer)
        return false;
    SetVolume(volume);
    SetPan(pan);
    return PlayAt(loop, priority, startFrame);
}

bool GxSoundBufferStatic::PlayAt(int32_t loop, int32_t, uint32_t startFrame)
{
    GxMutexScopedLock lock(m_Mutex);
    if (!m_Buffer)
        return false;
    m_Buffer->Stop();
    m_LoopCount = loop;
    PfResult result =
        m_Buffer->SetCurrentPosition(static_cast<uint32_t>(static_cast<uint64_t>(startFrame) * m_Format.nBlockAlign));
    if (result == PfSoundBuffer::kOk)
        result = m_Buffer->Play(loop == -1 ? PfSoundBuffer::kPlayLooping : PfSoundBuffer::kPlayOnce);
    if (result != PfSoundBuffer::kOk)
    {
        GxLog::SlightError(L"Error/GxSoundBufferStatic::Play 失敗 %x\n", static_cast<uint32_t>(result));
        return false;
    }
    return true;
}

bool GxSoundBufferStatic::Stop()
{
    GxMutexScopedLock lock(m_Mutex);
    if (!m_Buffer)
        return false;
    m_Buffer->Stop();
    return true;
}

// IsPlaying, SetVolume and IsCreated skip the buffer's lock: they run on the owner's thread, which alone
// creates and releases the sound buffer, and touch only its play state, which the mixer guards.
bool GxSoundBufferStatic::IsPlaying()
{
    return m_Buffer && (m_Buffer->GetStatus() & (PfSoundBuffer::kStatusPlaying | PfSoundBuffer::kStatusBufferLost));
}

bool GxSoundBufferStatic::SetVolume(int32_t volume)
{
    return m_Buffer && m_Buffer->SetVolume(volume) == PfSoundBuffer::kOk;
}

bool GxSoundBufferStatic::GetVolume(int32_t* volume)
{
    GxMutexScopedLock lock(m_Mutex);
    if (!m_Buffer || !volume)
        return false;
    *volume = m_Buffer->GetVolume();
    return true;
}

bool GxSoundBufferStatic::SetPan(int32_t pan)
{
    GxMutexScopedLock lock(m_Mutex);
    return m_Buffer && m_Buffer->SetPan(pan) == PfSoundBuffer::kOk;
}

bool GxSoundBufferStatic::GetPan(int32_t* pan)
{
    GxMutexScopedLock lock(m_Mutex);
    if (!m_Buffer || !pan)
        return false;
    *pan = m_Buffer->GetPan();
    return true;
}

uint32_t GxSoundBufferStatic::GetSize()
{
    GxMutexScopedLock lock(m_Mutex);
    return m_Size;
}

uint32_t GxSoundBufferStatic::GetBufferSize()
{
    return GetSize();
}

int32_t GxSoundBufferStatic::GetLoopCount()
{
    GxMutexScopedLock lock(m_Mutex);
    return m_LoopCount;
}
