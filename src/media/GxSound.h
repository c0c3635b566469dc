#pragma once

class PfWindow;

// The music restrain factor, 0..100: how far the music is lowered while something else speaks.
extern int g_BGMRestrainFactor;

// The sound system: start-up with the main window, the per-pass update of every player, shut-down.
class GxSound
{
public:
    static bool Initialize(PfWindow* window);
    static void Update();
    static void Finalize();
};
