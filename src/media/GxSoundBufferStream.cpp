#include "media/GxSoundBufferStream.h"

#include "core/GxLog.h"
#include "core/GxMutexScopedLock.h"
#include "media/GxSoundLoaderBase.h"
#include "platform/PfAudioDevice.h"
#include "platform/PfSoundBuffer.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <vector>

namespace
{
struct LiveStreams
{
    std::mutex lock;
    std::vector<GxSoundBufferStream*> streams;
};

// Never destroyed: streams owned by static objects may go after the list would have.
LiveStreams& Live()
{
    static LiveStreams* s_Live = new LiveStreams();
    return *s_Live;
}
} // namespace

GxSoundBufferStream::GxSoundBufferStream()
{
    LiveStreams& live = Live();
    std::lock_guard<std::mutex> lock(live.lock);
    live.streams.push_back(this);
}

GxSoundBufferStream::~GxSoundBufferStream()
{
    {
        // Off the list first: a wait looking at it never meets a stream being torn down.
        LiveStreams& live = Live();
        std::lock_guard<std::mutex> lock(live.lock);
        live.streams.erase(std::find(live.streams.begin(), live.streams.end(), this));
    }
    Release();
    JoinStraggler();
}

bool GxSoundBufferStream::WaitForFeeders(uint32_t timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    LiveStreams& live = Live();
    for (;;)
    {
        bool idle = true;
        {
            std::lock_guard<std::mutex> lock(live.lock);
            for (GxSoundBufferStream* stream : live.streams)
                if (!stream->IsFeederIdle())
                {
                    idle = false;
                    break;
                }
        }
        if (idle)
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        // A refill takes from well under a millisecond to a few under load: a short nap keeps the
        // wait close to the feeder without spinning a core the feeder needs.
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

bool GxSoundBufferStream::Create(GxSoundLoaderBase* decoder)
{
    return Create(std::shared_ptr<GxSoundLoaderBase>(decoder, [](GxSoundLoaderBase*) {}));
}

bool GxSoundBufferStream::Create(std::shared_ptr<GxSoundLoaderBase> decoder)
{
    if (decoder == nullptr || !decoder->IsOpen() || !PfAudioDevice::IsOpen())
        return false;
    Release();
    // A thread of an earlier ring still inside its read holds that ring: no new one until it ends.
    if (m_Straggler.joinable())
        return false;
    decoder->ClearInterrupt();
    GxMutexScopedLock lock(m_Mutex);
    m_Format = decoder->GetFormat();
    m_Decoder = std::move(decoder);
    const uint32_t align = m_Format.nBlockAlign;
    if (align == 0)
    {
        GxLog::SlightError(L"Error/GxSoundBufferStream::Create セカンダリバッファ作成に失敗しました %x\n",
                           static_cast<uint32_t>(PfSoundBuffer::kErrBadFormat));
        m_Decoder.reset();
        m_Format = PfWaveFormat();
        return false;
    }
    // A quarter of a second, raised to a whole frame: 44,100 Hz 16-bit stereo gives 44,100 bytes,
    // 22,050 Hz 8-bit mono 5,512, 22,050 Hz 16-bit mono 11,025 raised to 11,026.
    uint64_t block = static_cast<uint64_t>(m_Format.nSamplesPerSec) * align * 2 / 8;
    if (block % align != 0)
        block += align - block % align;
    if (block == 0 || block * kBlockCount > 0xFFFFFFFFu)
    {
        GxLog::SlightError(L"Error/GxSoundBufferStream::Create セカンダリバッファ作成に失敗しました %x\n",
                           static_cast<uint32_t>(PfSoundBuffer::kErrBadFormat));
        m_Decoder.reset();
        m_Format = PfWaveFormat();
        return false;
    }
    m_BlockSize = static_cast<uint32_t>(block);
    m_RingSize = m_BlockSize * kBlockCount;
    m_DataSize = static_cast<uint32_t>(
        std::min<uint64_t>(static_cast<uint64_t>(m_Decoder->GetLength()) * align, 0xFFFFFFFFu / align * align));
    PfResult result = 0;
    m_Buffer = PfSoundBuffer::Create(m_Format, m_RingSize, &result);
    if (!m_Buffer)
    {
        GxLog::SlightError(L"Error/GxSoundBufferStream::Create セカンダリバッファ作成に失敗しました %x\n",
                           static_cast<uint32_t>(result));
        m_Decoder.reset();
        m_RingSize = m_BlockSize = m_DataSize = 0;
        m_Format = PfWaveFormat();
        return false;
    }
    uint32_t offsets[kBlockCount];
    for (uint32_t i = 0; i < kBlockCount - 1; ++i)
        offsets[i] = (i + 1) * m_BlockSize;
    offsets[kBlockCount - 1] = kBlockCount * m_BlockSize - 1;
    m_Notify.Reset();
    if (m_Buffer->SetNotificationPositions(offsets, kBlockCount, &m_Notify) != PfSoundBuffer::kOk)
    {
        GxLog::SlightError(L"Error/GxSoundBufferStream::Create IDirectSoundNotify通知位置の設定に失敗しました\n");
        m_Buffer.reset();
        m_Decoder.reset();
        m_RingSize = m_BlockSize = m_DataSize = 0;
        return false;
    }
    m_StopRequested = false;
    m_Underruns = 0;
    {
        std::lock_guard<std::mutex> end(m_EndLock);
        m_FeederEnded = false;
    }
    try
    {
        m_Thread = std::thread(
            [this]
            {
                FeedLoop();
                std::lock_guard<std::mutex> end(m_EndLock);
                m_FeederEnded = true;
                m_EndSignal.notify_all();
            });
    }
    catch (const std::system_error&)
    {
        GxLog::SlightError(L"Error/GxSoundBufferStream::Create ストリーム再生スレッドの作成に失敗しました\n");
        m_Buffer.reset();
        m_Decoder.reset();
        m_RingSize = m_BlockSize = m_DataSize = 0;
        return false;
    }
    return true;
}

void GxSoundBufferStream::Release()
{
    // Only the owner's thread creates and releases, so the thread handle and the decoder pointer are
    // read here without the lock, which a feeding thread inside a slow read may be holding.
    if (m_Straggler.joinable())
    {
        if (!WaitFeederEnd(kReleaseWaitMs))
            return;
        m_Straggler.join();
    }
    std::thread thread = std::move(m_Thread);
    m_StopRequested = true;
    if (thread.joinable())
    {
        if (m_Decoder)
            m_Decoder->Interrupt();
        m_Notify.Post();
        std::this_thread::yield();
        if (!WaitFeederEnd(kReleaseWaitMs))
        {
            // The ring and the decoder are the thread's until its read returns: they stay, silent, and
            // the stream's share keeps the decoder alive whatever its owner does meanwhile.
            GxLog::SlightError(L"Error/GxSoundBufferStream::Release ストリーム再生スレッドが終了しません\n");
            if (m_Buffer)
                m_Buffer->Stop();
            m_Straggler = std::move(thread);
            return;
        }
        thread.join();
    }
    GxMutexScopedLock lock(m_Mutex);
    if (m_Buffer)
        m_Buffer->Stop();
    // Destroying the sound buffer unlinks it from the mixer: no post reaches the signal after this.
    m_Buffer.reset();
    m_Notify.Reset();
    m_Format = PfWaveFormat();
    m_Decoder.reset();
    m_RingSize = m_DataSize = m_BlockSize = 0;
    m_WriteCursor = m_DataPosition = m_LoopStart = m_LoopEnd = m_DataEnd = 0;
    m_LoopsLeft = 0;
    m_QueuedBlocks = 0;
    m_LastVolume = 1;
    m_LastPan = 100000;
}

bool GxSoundBufferStream::WaitFeederEnd(uint32_t timeoutMs)
{
    std::unique_lock<std::mutex> end(m_EndLock);
    return m_EndSignal.wait_for(end, std::chrono::milliseconds(timeoutMs), [this] { return m_FeederEnded; });
}

void GxSoundBufferStream::JoinStraggler()
{
    if (!m_Straggler.joinable())
        return;
    m_Straggler.join();
    Release();
}

void GxSoundBufferStream::FeedLoop()
{
    for (;;)
    {
        uint32_t epoch = 0;
        uint64_t sequence = 0;
        m_Notify.Wait(&epoch, &sequence);
        GxMutexScopedLock lock(m_Mutex);
        if (m_StopRequested || !m_Buffer || m_RingSize == 0)
        {
            m_Handled = sequence;
            return;
        }
        // A start resets the signal under this lock: a count taken before it belongs to the old ring.
        if (epoch == m_Notify.GetEpoch())
            OnNotify();
        m_Handled = sequence;
    }
}

void GxSoundBufferStream::OnNotify()
{
    // Data remains unless a last pass has read to its end, or a loop has nothing left to repeat.
    const bool dataRemains =
        m_LoopsLeft == 0 ? m_DataPosition < m_DataEnd : (m_LoopStart < m_LoopEnd || m_DataPosition < m_LoopEnd);
    if (m_QueuedBlocks > 0)
        --m_QueuedBlocks;
    else if (dataRemains)
        ++m_Underruns;
    if (m_QueuedBlocks == 0 && m_LoopsLeft == 0 && m_DataPosition >= m_DataEnd)
        m_Buffer->Stop();
    if (m_QueuedBlocks < kQueueTarget)
        FillBlock();
}

void GxSoundBufferStream::EndDataHere()
{
    if (m_LoopsLeft == 0)
        m_DataEnd = m_DataPosition;
}

void GxSoundBufferStream::FillBlock()
{
    GxMutexScopedLock lock(m_Mutex);
    if (!m_Buffer || !m_Decoder)
        return;
    void* part1 = nullptr;
    void* part2 = nullptr;
    uint32_t size1 = 0, size2 = 0;
    if (m_Buffer->Lock(m_WriteCursor, m_BlockSize, &part1, &size1, &part2, &size2) != PfSoundBuffer::kOk)
    {
        GxLog::SlightError(L"Error/GxSoundBufferStream::FillBlock ストリームバッファのロックに失敗\n");
        return;
    }
    // Blocks never straddle the ring's end (the ring is a whole number of blocks).
    uint8_t* block = static_cast<uint8_t*>(part1);
    const uint32_t align = m_Format.nBlockAlign;
    uint32_t filled = 0;
    while (filled < m_BlockSize)
    {
        if (m_LoopsLeft != 0 && (m_DataPosition >= m_LoopEnd || m_Decoder->IsEnd()))
        {
            if (m_LoopStart >= m_LoopEnd)
            {
                if (m_LoopsLeft > 0)
                    m_LoopsLeft = 0;
                break;
            }
            if (!m_Decoder->Seek(m_LoopStart / align))
            {
                GxLog::SlightError(L"Error/GxSoundBufferStream::FillBlock ストリーミング再生シーク失敗\n");
                break;
            }
            m_DataPosition = m_LoopStart;
            if (m_LoopsLeft > 0)
                --m_LoopsLeft;
        }
        const uint32_t limit = m_LoopsLeft != 0 ? m_LoopEnd : m_DataEnd;
        const uint32_t amount = std::min(limit > m_DataPosition ? limit - m_DataPosition : 0, m_BlockSize - filled);
        if (amount == 0 || (m_LoopsLeft == 0 && m_Decoder->IsEnd()))
        {
            // The decoder may end before its promised length (a cut file, a damaged stream): the data
            // ends here, so the sound still stops after its queued blocks.
            if (amount != 0)
                EndDataHere();
            break;
        }
        uint32_t got = 0;
        if (!m_Decoder->Read(block + filled, amount, &got) || got == 0)
        {
            EndDataHere();
            break;
        }
        m_DataPosition += got;
        filled += got;
    }
    if (filled > 0)
        ++m_QueuedBlocks;
    std::memset(block + filled, m_Format.wBitsPerSample == 8 ? 0x80 : 0, m_BlockSize - filled);
    m_Buffer->Unlock(part1, size1, part2, size2);
    m_WriteCursor = (m_WriteCursor + m_BlockSize) % m_RingSize;
}

bool GxSoundBufferStream::Play(int32_t loop, int32_t priority, uint32_t startFrame, uint32_t loopFrame, int32_t volume,
                               int32_t pan)
{
    GxMutexScopedLock lock(m_Mutex);
    if (!PfAudioDevice::IsOpen() || !m_Buffer)
        return false;
    m_LastVolume = 1;
    m_LastPan = 100000;
    SetVolume(volume);
    SetPan(pan);
    return PlayAt(loop, priority, startFrame, loopFrame);
}

bool GxSoundBufferStream::PlayAt(int32_t loop, int32_t, uint32_t startFrame, uint32_t loopFrame)
{
    GxMutexScopedLock lock(m_Mutex);
    if (!PfAudioDevice::IsOpen() || !m_Buffer || !m_Decoder || !m_Decoder->IsOpen())
        return false;
    m_Buffer->Stop();
    m_Buffer->SetCurrentPosition(0);
    // Notifications of the ring as it was belong to no block of the new start.
    m_Notify.Reset();
    if (!m_Decoder->Seek(startFrame))
        GxLog::SlightError(L"Error/GxSoundBufferStream::Play ストリーミング再生シーク失敗\n");
    m_Decoder->SetLoopFrame(loopFrame);
    const uint32_t align = m_Format.nBlockAlign;
    m_WriteCursor = 0;
    m_DataPosition = static_cast<uint32_t>(std::min<uint64_t>(static_cast<uint64_t>(startFrame) * align, m_DataSize));
    m_LoopStart =
        static_cast<uint32_t>(std::min<uint64_t>(static_cast<uint64_t>(m_Decoder->GetLoopFrame()) * align, m_DataSize));
    m_LoopEnd =
        static_cast<uint32_t>(std::min<uint64_t>(static_cast<uint64_t>(m_Decoder->GetLoopEnd()) * align, m_DataSize));
    m_DataEnd = m_DataSize;
    m_LoopsLeft = loop;
    m_QueuedBlocks = 0;
    for (int32_t i = 0; i < kQueueTarget; ++i)
        FillBlock();
    const PfResult result = m_Buffer->Play(PfSoundBuffer::kPlayLooping);
    if (result != PfSoundBuffer::kOk)
    {
        GxLog::SlightError(L"Error/GxSoundBufferStream::Play 失敗 %x\n", static_cast<uint32_t>(result));
        return false;
    }
    return true;
}

bool GxSoundBufferStream::Stop()
{
    // Without the buffer's lock, as IsPlaying (below): a feeding thread inside a slow read holds it.
    if (!m_Buffer)
        return false;
    m_Buffer->Stop();
    return true;
}

// Stop, IsPlaying and SetVolume run on the owner's thread every update of every voice, so they skip the
// buffer's lock: they touch only the sound buffer's play state (guarded by the mixer) and the remembered
// level, and only the owner's thread ever creates, releases or sets those; the feeding thread reads the
// ring and the decoder, never them.
bool GxSoundBufferStream::IsPlaying()
{
    return m_Buffer && (m_Buffer->GetStatus() & (PfSoundBuffer::kStatusPlaying | PfSoundBuffer::kStatusBufferLost));
}

bool GxSoundBufferStream::SetVolume(int32_t volume)
{
    if (!m_Buffer)
        return false;
    if (volume == m_LastVolume)
        return true;
    if (m_Buffer->SetVolume(volume) != PfSoundBuffer::kOk)
        return false;
    m_LastVolume = volume;
    return true;
}

bool GxSoundBufferStream::GetVolume(int32_t* volume)
{
    GxMutexScopedLock lock(m_Mutex);
    if (!m_Buffer || !volume)
        return false;
    *volume = m_Buffer->GetVolume();
    return true;
}

bool GxSoundBufferStream::SetPan(int32_t pan)
{
    GxMutexScopedLock lock(m_Mutex);
    if (!m_Buffer)
        return false;
    if (pan == m_LastPan)
        return true;
    if (m_Buffer->SetPan(pan) != PfSoundBuffer::kOk)
        return false;
    m_LastPan = pan;
    return true;
}

bool GxSoundBufferStream::GetPan(int32_t* pan)
{
    GxMutexScopedLock lock(m_Mutex);
    if (!m_Buffer || !pan)
        return false;
    *pan = m_Buffer->GetPan();
    return true;
}

uint32_t GxSoundBufferStream::GetRingSize()
{
    GxMutexScopedLock lock(m_Mutex);
    return m_RingSize;
}

uint32_t GxSoundBufferStream::GetDataSize()
{
    GxMutexScopedLock lock(m_Mutex);
    return m_DataSize;
}

int32_t GxSoundBufferStream::GetLoopCount()
{
    GxMutexScopedLock lock(m_Mutex);
    return m_LoopsLeft;
}

uint32_t GxSoundBufferStream::GetBlockSize()
{
    GxMutexScopedLock lock(m_Mutex);
    return m_BlockSize;
}

bool GxSoundBufferStream::IsCreated()
{
    GxMutexScopedLock lock(m_Mutex);
    return m_Buffer != nullptr;
}

uint32_t GxSoundBufferStream::GetUnderrunCount()
{
    GxMutexScopedLock lock(m_Mutex);
    return m_Underruns;
}

bool GxSoundBufferStream::IsFeederIdle()
{
    GxMutexScopedLock lock(m_Mutex);
    uint64_t posted = 0, taken = 0, dropped = 0;
    m_Notify.GetTotals(&posted, &taken, &dropped);
    return posted == taken + dropped && m_Handled.load() == taken;
}
