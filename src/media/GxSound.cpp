#include "media/GxSound.h"

int g_BGMRestrainFactor = 100;

// FIXME: no sound output and no players yet; start-up, update and shut-down have nothing to drive.
bool GxSound::Initialize(PfWindow*)
{
    return true;
}

void GxSound::Update() {}

void GxSound::Finalize() {}
