#pragma once

#include <cstdint>
#include <string>

// Movie playback in four slots: start-up, the per-pass update of every slot's player, shut-down.
class GxTextureMovie;

class GxMovie
{
public:
    static constexpr int kSlotCount = 4;

    // FIXME: the slot functions below are placeholders (nothing opens or plays) until the movie players
    // arrive; slot numbers outside 0..3 are refused.
    static bool Open(int slot, const std::wstring& name, GxTextureMovie* texture, bool withSound, bool dynamic);
    static void Destroy(int slot);
    static bool Play(int slot, int32_t loopCount, int32_t volume);
    static bool Stop(int slot);
    static bool SetPosition(int slot, double seconds);
    static double GetPosition(int slot);
    // The loop count while the slot plays, else 0.
    static int32_t GetLoopFlag(int slot);
    static void SetLoopPosition(int slot, double seconds);
    static bool Initialize();
    static void UpdateAll();
    static void DestroyAll();
};
