#include "media/GxMovieGraph.h"

#include "core/GxTimeSource.h"
#include "media/GxMovieReader.h"
#include "media/GxMovieRenderer.h"
#include "media/GxMovieSoundOutput.h"
#include "platform/PfClock.h"
#include "platform/PfMovieAudioResampler.h"

#include <algorithm>
#include <chrono>

namespace
{

constexpr double kRate = PfMovieAudioResampler::kRate;
// While sound plays the thread looks in at least this often to keep the output filled.
constexpr double kSoundPoll = 0.01;
// Sound decoded ahead when there are no pictures to pull it along: a quarter of a second.
constexpr uint32_t kSoundAhead = PfMovieAudioResampler::kRate / 4;
// A picture counts as due this early, so waiting to the microsecond is not needed.
constexpr double kDueSlack = 0.001;
// A driven graph's steps in one pass at most (each shows or drops a picture): a bound, never reached by
// a movie of sane frame rate, against a step that keeps saying "again".
constexpr int kPumpSteps = 256;

} // namespace

GxMovieGraph::~GxMovieGraph()
{
    Close();
}

void GxMovieGraph::SetSoundOutput(std::unique_ptr<GxMovieSoundOutput> output)
{
    m_pSound = std::move(output);
}

double GxMovieGraph::ClockLocked(uint64_t nowUs)
{
    if (!m_Running)
        return m_ClockBase;
    if (m_SoundClock && m_pSound)
        return m_SoundBase + m_pSound->GetPlayedFrames() / kRate;
    return m_ClockBase + (double)(nowUs - m_WallBase) / 1e6 * m_Rate;
}

uint64_t GxMovieGraph::NowUs()
{
    return m_pPassClock ? m_pPassClock->GetTimeUs() : PfClock::GetTimeUs();
}

bool GxMovieGraph::Run()
{
    if (!m_pReader)
        return false;
    {
        std::lock_guard<std::mutex> state(m_StateLock);
        if (m_Quit)
            return false;
        if (!m_Running)
        {
            m_WallBase = NowUs();
            m_Running = true;
            // A run after the end without a seek ends again at once, with a fresh event.
            m_Ended = false;
            if (m_pSound)
                m_pSound->Play();
        }
    }
    if (!m_pPassClock && !m_Thread.joinable())
        m_Thread = std::thread(&GxMovieGraph::ThreadMain, this);
    m_Wake.notify_all();
    return true;
}

void GxMovieGraph::Stop()
{
    {
        std::lock_guard<std::mutex> state(m_StateLock);
        if (m_Running)
        {
            // Paused, the position stays; the sound clock resumes from the output's frozen count.
            m_ClockBase = ClockLocked(NowUs());
            m_Running = false;
        }
        if (m_pSound)
            m_pSound->Stop();
    }
    m_Wake.notify_all();
}

void GxMovieGraph::Close()
{
    {
        std::lock_guard<std::mutex> state(m_StateLock);
        m_Quit = true;
        m_Running = false;
    }
    m_Wake.notify_all();
    if (m_Thread.joinable())
        m_Thread.join();
    if (m_pSound)
        m_pSound->Stop();
}

bool GxMovieGraph::SetPosition(double seconds)
{
    if (!m_pReader)
        return false;
    std::lock_guard<std::mutex> decoder(m_DecoderLock);
    const bool sought = m_pReader->GetDecoder().Seek(seconds);
    {
        std::lock_guard<std::mutex> state(m_StateLock);
        m_ClockBase = std::max(0.0, seconds);
        m_WallBase = NowUs();
        m_SoundClock = false;
        m_Ended = false;
        ++m_Generation;
        if (m_pSound)
        {
            m_pSound->Reset();
            if (m_Running)
                m_pSound->Play();
        }
    }
    m_Wake.notify_all();
    return sought;
}

double GxMovieGraph::GetPosition()
{
    std::lock_guard<std::mutex> state(m_StateLock);
    const double position = std::max(0.0, ClockLocked(NowUs()));
    const double duration = m_pReader ? m_pReader->GetDecoder().GetDuration() : 0.0;
    return duration > 0.0 ? std::min(position, duration) : position;
}

double GxMovieGraph::GetDuration()
{
    return m_pReader ? m_pReader->GetDecoder().GetDuration() : 0.0;
}

void GxMovieGraph::SetRate(double rate)
{
    if (rate <= 0.0)
        return;
    std::lock_guard<std::mutex> state(m_StateLock);
    const uint64_t now = NowUs();
    if (!m_SoundClock)
    {
        m_ClockBase = ClockLocked(now);
        m_WallBase = now;
    }
    m_Rate = rate;
}

void GxMovieGraph::SetVolume(int32_t volume)
{
    if (m_pSound)
        m_pSound->SetVolume(std::clamp(volume, -10000, 0));
}

bool GxMovieGraph::GetEvent(int32_t* code, intptr_t* param1, intptr_t* param2, uint32_t timeoutMs)
{
    std::unique_lock<std::mutex> state(m_StateLock);
    if (m_Events.empty() && timeoutMs > 0)
        m_EventPosted.wait_for(state, std::chrono::milliseconds(timeoutMs), [this] { return !m_Events.empty(); });
    if (m_Events.empty())
        return false;
    if (code)
        *code = m_Events.front();
    if (param1)
        *param1 = 0;
    if (param2)
        *param2 = 0;
    m_Events.pop_front();
    return true;
}

bool GxMovieGraph::IsRunning()
{
    std::lock_guard<std::mutex> state(m_StateLock);
    return m_Running;
}

void GxMovieGraph::FeedSound()
{
    PfMovieDecoder& decoder = m_pReader->GetDecoder();
    const uint32_t queued = decoder.GetQueuedAudioFrames();
    if (queued > 0)
    {
        const double time = decoder.GetQueuedAudioTime();
        const uint32_t taken = m_pSound->Write(decoder.GetQueuedAudio(), queued);
        if (taken > 0)
        {
            std::lock_guard<std::mutex> state(m_StateLock);
            if (!m_SoundClock)
            {
                // The clock follows the sound from the time of its first sample frame on.
                m_SoundBase = time - m_pSound->GetPlayedFrames() / kRate;
                m_SoundClock = true;
            }
        }
        decoder.DropQueuedAudio(taken);
    }
    else if (m_pSound->GetQueuedFrames() == 0)
    {
        // Nothing left to play: the sound has ended, or is missing for a while (a gap in the track, the
        // demuxer behind). The pictures go on by the process clock until sound comes again.
        std::lock_guard<std::mutex> state(m_StateLock);
        if (m_SoundClock)
        {
            const uint64_t now = NowUs();
            m_ClockBase = ClockLocked(now);
            m_WallBase = now;
            m_SoundClock = false;
        }
    }
}

double GxMovieGraph::Step(uint64_t generation)
{
    if (generation != m_SeenGeneration)
    {
        m_SeenGeneration = generation;
        m_HaveFrame = false;
        m_FirstFrame = true;
        m_EndTime = 0.0;
    }
    PfMovieDecoder& decoder = m_pReader->GetDecoder();
    if (m_pSound)
        FeedSound();
    else
        decoder.DropQueuedAudio(decoder.GetQueuedAudioFrames()); // decoded, but nowhere to play it
    if (!m_HaveFrame && decoder.HasVideo() && !decoder.IsVideoEnded())
    {
        m_HaveFrame = decoder.NextVideoFrame();
        if (m_HaveFrame)
            m_EndTime = std::max(m_EndTime, decoder.GetFrameTime() + decoder.GetFrameDuration());
    }
    const bool picturesDone = !m_HaveFrame && (!decoder.HasVideo() || decoder.IsVideoEnded());
    // The sound is kept a quarter of a second ahead even when it lies behind the next picture in the file:
    // its clock is what brings that picture's time.
    if (m_pSound && !decoder.IsAudioEnded() &&
        decoder.GetQueuedAudioFrames() + m_pSound->GetQueuedFrames() < kSoundAhead)
    {
        decoder.DecodeAudio(kSoundAhead);
        FeedSound();
    }
    double clock;
    {
        std::lock_guard<std::mutex> state(m_StateLock);
        clock = ClockLocked(NowUs());
    }
    if (m_HaveFrame)
    {
        const double due = decoder.GetFrameTime();
        if (clock + kDueSlack >= due)
        {
            // Late by a whole picture: dropped, so the pictures catch up with the clock.
            const bool late = !m_FirstFrame && clock > due + decoder.GetFrameDuration();
            if (!late && m_pRenderer)
                m_pRenderer->DoRenderSample(decoder.GetFrame(), due, clock);
            m_HaveFrame = false;
            m_FirstFrame = false;
            return 0.0;
        }
        return m_pSound ? std::min(due - clock, kSoundPoll) : due - clock;
    }
    const bool soundDone = !m_pSound || (decoder.IsAudioEnded() && decoder.GetQueuedAudioFrames() == 0 &&
                                         m_pSound->GetQueuedFrames() == 0);
    if (!picturesDone || !soundDone)
        return kSoundPoll;
    // A movie with pictures ends when its last picture's time is over; one with neither pictures nor sound
    // played lasts its duration.
    const double end = decoder.HasVideo() ? m_EndTime : (m_pSound ? 0.0 : decoder.GetDuration());
    if (clock < end)
        return end - clock;
    {
        std::lock_guard<std::mutex> state(m_StateLock);
        if (m_Generation != generation || !m_Running)
            return 0.0;
        m_Ended = true;
        m_Events.push_back(EC_COMPLETE);
    }
    m_EventPosted.notify_all();
    return -1.0;
}

void GxMovieGraph::Pump()
{
    if (!m_pPassClock || !m_pReader)
        return;
    std::lock_guard<std::mutex> decoder(m_DecoderLock);
    for (int step = 0; step < kPumpSteps; ++step)
    {
        uint64_t generation;
        {
            std::lock_guard<std::mutex> state(m_StateLock);
            if (m_Quit || !m_Running || m_Ended)
                return;
            generation = m_Generation;
        }
        // 0: a picture went (or was dropped), look again; otherwise the next one is not due in this pass.
        if (Step(generation) != 0.0)
            return;
    }
}

void GxMovieGraph::ThreadMain()
{
    for (;;)
    {
        uint64_t generation;
        {
            std::unique_lock<std::mutex> state(m_StateLock);
            m_Wake.wait(state, [this] { return m_Quit || (m_Running && !m_Ended); });
            if (m_Quit)
                return;
            generation = m_Generation;
        }
        double wait;
        {
            std::lock_guard<std::mutex> decoder(m_DecoderLock);
            {
                // A seek may have come between the two locks.
                std::lock_guard<std::mutex> state(m_StateLock);
                generation = m_Generation;
            }
            wait = Step(generation);
        }
        if (wait <= 0.0)
            continue;
        std::unique_lock<std::mutex> state(m_StateLock);
        m_Wake.wait_for(state, std::chrono::duration<double>(wait),
                        [&] { return m_Quit || !m_Running || m_Generation != generation; });
    }
}
