#include "media/GxMovie.h"

// FIXME: no movie player yet; the four slots stay empty.
bool GxMovie::Initialize()
{
    return true;
}

void GxMovie::UpdateAll() {}

void GxMovie::DestroyAll() {}

bool GxMovie::Open(int slot, const std::wstring&, GxTextureMovie*, bool, bool)
{
    (void)slot;
    return false;
}

void GxMovie::Destroy(int) {}

bool GxMovie::Play(int, int32_t, int32_t)
{
    return false;
}

bool GxMovie::Stop(int)
{
    return false;
}

bool GxMovie::SetPosition(int, double)
{
    return false;
}

double GxMovie::GetPosition(int)
{
    return 0.0;
}

int32_t GxMovie::GetLoopFlag(int)
{
    return 0;
}

void GxMovie::SetLoopPosition(int, double) {}
