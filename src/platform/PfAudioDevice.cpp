#include "platform/PfAudioDevice.h"

#include "platform/PfAudioMixer.h"
#include "platform/PfClock.h"
#include "platform/PfSoundBuffer.h"

#include <SDL2/SDL.h>

#include <atomic>
#include <mutex>

namespace
{
std::mutex s_DeviceMutex;
bool s_Open = false;
PfAudioDevice::Output s_Output = PfAudioDevice::kOutputPull;
SDL_AudioDeviceID s_Device = 0;
std::string s_DriverName;
std::string s_LastError;
std::atomic<uint32_t (*)()> s_Clock{nullptr};
std::function<void()> s_BeforePull;

void AudioCallback(void*, Uint8* stream, int length)
{
    PfAudioMixer::Get().Mix(reinterpret_cast<int16_t*>(stream),
                            static_cast<uint32_t>(length) / (PfAudioMixer::kOutputChannels * 2));
}

void CloseLocked()
{
    if (!s_Open)
        return;
    PfAudioMixer::Get().SetOpen(false);
    if (s_Output == PfAudioDevice::kOutputDevice)
    {
        SDL_CloseAudioDevice(s_Device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        s_Device = 0;
    }
    s_Open = false;
    s_DriverName.clear();
}
} // namespace

bool PfAudioDevice::Open(Output output)
{
    std::lock_guard<std::mutex> lock(s_DeviceMutex);
    CloseLocked();
    if (output == kOutputDevice)
    {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        {
            s_LastError = SDL_GetError();
            return false;
        }
        SDL_AudioSpec want{};
        want.freq = PfAudioMixer::kOutputRate;
        want.format = AUDIO_S16SYS;
        want.channels = PfAudioMixer::kOutputChannels;
        want.samples = PfAudioMixer::kPeriodFrames;
        want.callback = AudioCallback;
        SDL_AudioSpec have{};
        // No changes allowed: SDL converts to whatever the hardware takes behind the callback.
        s_Device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (s_Device == 0)
        {
            s_LastError = SDL_GetError();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        const char* driver = SDL_GetCurrentAudioDriver();
        s_DriverName = driver ? driver : "";
        PfAudioMixer::Get().SetOpen(true);
        SDL_PauseAudioDevice(s_Device, 0);
    }
    else
    {
        s_DriverName = "pull";
        PfAudioMixer::Get().SetOpen(true);
    }
    s_Output = output;
    s_Open = true;
    return true;
}

void PfAudioDevice::Close()
{
    std::lock_guard<std::mutex> lock(s_DeviceMutex);
    CloseLocked();
}

void PfAudioDevice::SilenceForExit()
{
    std::lock_guard<std::mutex> lock(s_DeviceMutex);
    if (!s_Open || s_Output != kOutputDevice)
        return;
    // Pausing waits for a callback in progress; none runs after it.
    SDL_PauseAudioDevice(s_Device, 1);
    PfAudioMixer::Get().SetOpen(false);
    s_Device = 0;
    s_Open = false;
    s_DriverName.clear();
}

bool PfAudioDevice::IsOpen()
{
    std::lock_guard<std::mutex> lock(s_DeviceMutex);
    return s_Open;
}

PfAudioDevice::Output PfAudioDevice::GetOutput()
{
    std::lock_guard<std::mutex> lock(s_DeviceMutex);
    return s_Output;
}

std::string PfAudioDevice::GetDriverName()
{
    std::lock_guard<std::mutex> lock(s_DeviceMutex);
    return s_DriverName;
}

std::string PfAudioDevice::GetLastError()
{
    std::lock_guard<std::mutex> lock(s_DeviceMutex);
    return s_LastError;
}

PfAudioDevice::Caps PfAudioDevice::GetCaps()
{
    Caps caps;
    if (!IsOpen())
        return caps;
    // The mixer converts every rate continuously in software; the output itself is 16-bit stereo.
    caps.flags = Caps::kPrimaryStereo | Caps::kPrimary16Bit | Caps::kContinuousRate | Caps::kEmulDriver |
                 Caps::kSecondaryMono | Caps::kSecondaryStereo | Caps::kSecondary8Bit | Caps::kSecondary16Bit;
    caps.minSecondaryRate = PfSoundBuffer::kFrequencyMin;
    caps.maxSecondaryRate = PfSoundBuffer::kFrequencyMax;
    caps.primaryBuffers = 1;
    caps.maxBuffers = 0;
    caps.outputRate = PfAudioMixer::kOutputRate;
    caps.outputChannels = PfAudioMixer::kOutputChannels;
    caps.outputBits = 16;
    return caps;
}

void PfAudioDevice::SetBeforePull(std::function<void()> hook)
{
    std::lock_guard<std::mutex> lock(s_DeviceMutex);
    s_BeforePull = std::move(hook);
}

uint32_t PfAudioDevice::Pull(int16_t* out, uint32_t frames)
{
    std::function<void()> beforePull;
    {
        std::lock_guard<std::mutex> lock(s_DeviceMutex);
        if (!s_Open || s_Output != kOutputPull)
            return 0;
        beforePull = s_BeforePull;
    }
    // A copy, called unlocked: the hook may wait, and may itself ask about the output.
    if (beforePull)
        beforePull();
    PfAudioMixer::Get().Mix(out, frames);
    return frames;
}

uint32_t PfAudioDevice::GetTimeMs()
{
    if (uint32_t(*clock)() = s_Clock.load())
        return clock();
    return static_cast<uint32_t>(PfClock::GetTimeMs());
}

void PfAudioDevice::SetClock(uint32_t (*clock)())
{
    s_Clock.store(clock);
}
