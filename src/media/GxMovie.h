#pragma once

// Movie playback in four slots: start-up, the per-pass update of every slot's player, shut-down.
class GxMovie
{
public:
    static bool Initialize();
    static void UpdateAll();
    static void DestroyAll();
};
