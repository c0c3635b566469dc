#pragma once

#include "core/GxMutex.h"
#include "platform/PfAudioSignal.h"
#include "platform/PfWaveFormat.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

class GxSoundLoaderBase;
class PfSoundBuffer;

// An arbitrarily long sound played through a ring of eight blocks of a quarter second each, refilled
// from a decoder by a feeding thread of its own. The mixer posts the thread once for every notification
// offset the play cursor passes (1..7 blocks and the ring's last byte); each post consumes one queued
// block and refills one.
//
// Locks: every operation and the feeding thread take the buffer's own lock; the mixer's lock is taken
// inside it for a moment by the sound buffer calls. Release never holds the lock while it waits for the
// thread: it sets the stop flag, asks the decoder to give up a read in progress, wakes the thread through
// the same counted signal (a wake that cannot be lost), waits at most kReleaseWaitMs for it to end, and
// only then tears the ring down. A thread still inside a read that did not give up is left to end by
// itself: the ring and the decoder stay as they are (the thread holds them; the stream shares ownership
// of the decoder, so its owner may drop it at once) until the next Create or the destruction, which wait
// for it. Stop and IsPlaying do not take the buffer's lock, so a close never waits on a slow read.
//
// Every stream is listed from construction to destruction in a process-wide list under a lock of its own,
// so WaitForFeeders can look at all of them; that lock is taken before a buffer's, never inside one.
class GxSoundBufferStream
{
public:
    static constexpr uint32_t kBlockCount = 8;
    // Blocks filled before the ring starts and kept queued while playing.
    static constexpr int32_t kQueueTarget = 7;
    // Longest wait of Release for the feeding thread.
    static constexpr uint32_t kReleaseWaitMs = 1000;

    GxSoundBufferStream();
    virtual ~GxSoundBufferStream();

    // The stream keeps a share of the decoder until its feeding thread has ended.
    bool Create(std::shared_ptr<GxSoundLoaderBase> decoder);
    // A decoder the caller keeps alive for as long as the stream (a stream's destruction waits for its
    // feeding thread).
    bool Create(GxSoundLoaderBase* decoder);
    // Must not be called with the buffer's lock held by the caller.
    void Release();

    virtual bool Play(int32_t loop, int32_t priority, uint32_t startFrame, uint32_t loopFrame, int32_t volume,
                      int32_t pan);
    virtual bool PlayAt(int32_t loop, int32_t priority, uint32_t startFrame, uint32_t loopFrame);
    virtual bool Stop();
    virtual bool IsPlaying();
    virtual bool SetVolume(int32_t volume);
    virtual bool GetVolume(int32_t* volume);
    virtual bool SetPan(int32_t pan);
    virtual bool GetPan(int32_t* pan);
    virtual uint32_t GetRingSize();
    virtual uint32_t GetDataSize();
    virtual int32_t GetLoopCount();

    uint32_t GetBlockSize();
    bool IsCreated();
    // Notifications that found no queued block while data remained (the feeder fell behind).
    uint32_t GetUnderrunCount();
    // True when the feeding thread has dealt with every notification posted so far (tests wait for it
    // between pulls of the mixer so the output does not depend on thread timing).
    bool IsFeederIdle();
    // Waits until every live stream's feeder is idle, for at most timeoutMs of wall time; false when
    // one was still busy then. Runs that mix by pulling call it before each pull, so their output is
    // the same however late the feeding threads run. Not with any buffer's lock held.
    static bool WaitForFeeders(uint32_t timeoutMs);

private:
    void FillBlock();
    void OnNotify();
    void FeedLoop();
    // Ends the data where it stands: a non-looping sound whose decoder ran dry or failed.
    void EndDataHere();
    // Waits at most timeoutMs for the feeding thread to leave its loop; true when it has.
    bool WaitFeederEnd(uint32_t timeoutMs);
    // Joins a thread that outlived an earlier Release (no time limit: the ring cannot go before it).
    void JoinStraggler();

    GxMutex m_Mutex;
    std::unique_ptr<PfSoundBuffer> m_Buffer;
    PfWaveFormat m_Format;
    std::shared_ptr<GxSoundLoaderBase> m_Decoder;
    uint32_t m_RingSize = 0;
    uint32_t m_DataSize = 0;
    uint32_t m_BlockSize = 0;
    PfAudioSignal m_Notify;
    std::atomic<bool> m_StopRequested{false};
    std::thread m_Thread;
    // A feeding thread that had not ended when Release stopped waiting for it.
    std::thread m_Straggler;
    std::mutex m_EndLock;
    std::condition_variable m_EndSignal;
    bool m_FeederEnded = false;
    uint32_t m_WriteCursor = 0;
    uint32_t m_DataPosition = 0;
    uint32_t m_LoopStart = 0;
    uint32_t m_LoopEnd = 0;
    uint32_t m_DataEnd = 0;
    int32_t m_LoopsLeft = 0;
    int32_t m_QueuedBlocks = 0;
    int32_t m_LastVolume = 1;
    int32_t m_LastPan = 100000;
    uint32_t m_Underruns = 0;
    // The signal's take sequence of the last notification the feeding thread finished with.
    std::atomic<uint64_t> m_Handled{0};
};
