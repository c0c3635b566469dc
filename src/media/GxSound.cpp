#include "media/GxSound.h"

int g_BGMRestrainFactor = 100;

// FIXME: no sound output and no players yet; start-up, update and shut-down have nothing to drive.
bool GxSound::Initialize(PfWindow*)
{
    return true;
}

void GxSound::Update() {}

void GxSound::Finalize() {}

// FIXME: no players yet; nothing is played until the sound system's one-shot list arrives.
bool GxSound::PlayOneShot(uint32_t* number, const std::wstring&, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    if (number)
        *number = 0;
    return false;
}
