// Movie playback in four numbered slots, each holding at most one player. The layers open, play, stop and
// seek through these functions; the core's main loop calls UpdateAll on every pass. Slot numbers outside
// 0..3 are refused (false, 0.0, nothing done): layers derive theirs from saved data.
#pragma once

#include <cstdint>
#include <string>

class GxMoviePlayerFile;
class GxTextureMovie;
class GxTimeSource;

class GxMovie
{
public:
    static constexpr int kSlotCount = 4;

    static bool Initialize();
    // Replaces the slot's player by a new one opened on the file; the slot holds it even when the open
    // fails (then Play yields false). withSound plays the movie's sound; dynamic makes the renderer's
    // own texture dynamic.
    static bool Open(int slot, const std::wstring& name, GxTextureMovie* texture, bool withSound, bool dynamic);
    static void Destroy(int slot);
    static void DestroyAll();
    static bool Play(int slot, int32_t loopCount, int32_t volume);
    static bool Stop(int slot);
    static bool StopAll();
    static bool SetPosition(int slot, double seconds);
    static double GetPosition(int slot);
    // The loop count while the slot plays, else 0.
    static int32_t GetLoopFlag(int slot);
    static void SetLoopPosition(int slot, double seconds);
    // Once a pass of the main loop: each player takes its movie's events (and a driven one does its work).
    static bool UpdateAll();
    // A scripted run's virtual clock: movies opened from then on have no thread and are driven by
    // UpdateAll on this clock, so they end on the same pass every run. Null (the default): each movie
    // runs on its own thread by the process clock.
    static void SetPassClock(GxTimeSource* clock);
    static GxTimeSource* GetPassClock();
    // The slot's player, null for an empty or invalid slot (the sound functions set volumes through it).
    static GxMoviePlayerFile* GetPlayer(int slot);
};
