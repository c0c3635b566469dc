// The running side of one movie: a thread that pulls pictures and sound from the reader, waits for each
// picture's time on the movie clock and hands it to the renderer (dropping pictures already late), keeps
// the sound output filled, and posts the end of the movie as an event for the main thread. The clock is
// the sound output's played frames while the movie has sound, else the process's monotonic clock.
//
// A graph given a pass clock (a scripted run's virtual clock) starts no thread: the main loop drives it
// once per pass with Pump, which does the thread's work up to that pass's time. Its pictures, sound and
// end then fall on the same passes however long a pass takes on the machine.
//
// Locks: m_DecoderLock guards the reader and the renderer's frame (held by the thread for a decode and a
// copy, by the main thread for a seek); m_StateLock guards the flags, the clock and the events and is only
// held briefly, so the main thread's per-pass questions never wait for a decode. Order: decoder, state.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

class GxMovieReader;
class GxMovieRenderer;
class GxMovieSoundOutput;
class GxTimeSource;

class GxMovieGraph
{
public:
    // The event posted when every stream has ended and the sound has drained.
    static constexpr int32_t EC_COMPLETE = 1;

    GxMovieGraph() = default;
    ~GxMovieGraph();
    GxMovieGraph(const GxMovieGraph&) = delete;
    GxMovieGraph& operator=(const GxMovieGraph&) = delete;

    // None of these is owned; they must outlive the graph's Close.
    void AddReader(GxMovieReader* reader) { m_pReader = reader; }
    void AddRenderer(GxMovieRenderer* renderer) { m_pRenderer = renderer; }
    // Owned from here on; null for a movie played without sound.
    void SetSoundOutput(std::unique_ptr<GxMovieSoundOutput> output);
    bool HasSound() const { return m_pSound != nullptr; }
    // Before the first Run: the graph is driven by Pump on this clock instead of running its thread.
    void SetPassClock(GxTimeSource* clock) { m_pPassClock = clock; }
    // Driven graphs only (else nothing): shows every picture due by the pass clock's time, keeps the sound
    // filled and posts the end when it has come.
    void Pump();

    // Starts (or resumes) playing from the current position; the thread is started on the first run.
    bool Run();
    // Pauses at the current position.
    void Stop();
    // Stops the thread and joins it; the graph can do nothing more.
    void Close();

    // Seeks exactly (see PfMovieDecoder::Seek); the position is the time from then on.
    bool SetPosition(double seconds);
    double GetPosition();
    double GetDuration();
    // Speeds the clock of a movie without sound (1.0 normal).
    void SetRate(double rate);
    void SetVolume(int32_t volume);

    // Takes the oldest event, waiting up to timeoutMs for one; false when none came.
    bool GetEvent(int32_t* code, intptr_t* param1, intptr_t* param2, uint32_t timeoutMs);
    bool IsRunning();

private:
    void ThreadMain();
    // One pass of the thread under the decoder lock; the seconds to wait before the next pass, or < 0 when
    // the movie has ended (the thread then sleeps until told otherwise).
    double Step(uint64_t generation);
    double ClockLocked(uint64_t nowUs);
    // Microseconds of the pass clock when there is one, else of the process clock.
    uint64_t NowUs();
    void FeedSound();

    GxMovieReader* m_pReader = nullptr;
    GxMovieRenderer* m_pRenderer = nullptr;
    std::unique_ptr<GxMovieSoundOutput> m_pSound;
    std::thread m_Thread;
    GxTimeSource* m_pPassClock = nullptr;

    std::mutex m_DecoderLock;
    // Under m_DecoderLock, the thread's own:
    bool m_HaveFrame = false; // a decoded picture waits for its time
    bool m_FirstFrame = true; // the first picture after a run or a seek is shown even when late
    double m_EndTime = 0.0;   // where the movie ends: the last picture's end, or the duration
    uint64_t m_SeenGeneration = 0;

    std::mutex m_StateLock;
    std::condition_variable m_Wake;
    bool m_Quit = false;
    bool m_Running = false;
    bool m_Ended = false;
    uint64_t m_Generation = 1; // raised by every seek, so the thread drops what it held
    double m_ClockBase = 0.0;  // movie seconds at m_WallBase (or when stopped, the position)
    uint64_t m_WallBase = 0;   // NowUs() at m_ClockBase
    double m_SoundBase = 0.0;  // the movie time of the first sample frame written since the output's reset
    bool m_SoundClock = false; // the clock follows the sound output
    double m_Rate = 1.0;
    std::deque<int32_t> m_Events;
    std::condition_variable m_EventPosted;
};
