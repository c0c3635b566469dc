#include "media/GxMovie.h"

#include "media/GxMoviePlayerFile.h"

namespace
{

GxMoviePlayerFile* s_Players[GxMovie::kSlotCount] = {};
GxTimeSource* s_PassClock = nullptr;

bool ValidSlot(int slot)
{
    return slot >= 0 && slot < GxMovie::kSlotCount;
}

} // namespace

bool GxMovie::Initialize()
{
    // Players left from an earlier run of the core are not leaked: the slots are emptied properly.
    for (int slot = 0; slot < kSlotCount; ++slot)
        Destroy(slot);
    return true;
}

GxMoviePlayerFile* GxMovie::GetPlayer(int slot)
{
    return ValidSlot(slot) ? s_Players[slot] : nullptr;
}

bool GxMovie::Open(int slot, const std::wstring& name, GxTextureMovie* texture, bool withSound, bool dynamic)
{
    if (!ValidSlot(slot))
        return false;
    // The old player's thread is joined before the new one is built.
    Destroy(slot);
    GxMoviePlayerFile* player = new GxMoviePlayerFile();
    const bool opened = player->Open(name, texture, withSound, dynamic);
    s_Players[slot] = player;
    return opened;
}

void GxMovie::Destroy(int slot)
{
    if (!ValidSlot(slot) || !s_Players[slot])
        return;
    s_Players[slot]->Close();
    delete s_Players[slot];
    s_Players[slot] = nullptr;
}

void GxMovie::DestroyAll()
{
    for (int slot = 0; slot < kSlotCount; ++slot)
        Destroy(slot);
}

bool GxMovie::Play(int slot, int32_t loopCount, int32_t volume)
{
    GxMoviePlayerFile* player = GetPlayer(slot);
    return player && player->Play(loopCount, volume);
}

bool GxMovie::Stop(int slot)
{
    GxMoviePlayerFile* player = GetPlayer(slot);
    return player && player->Stop();
}

bool GxMovie::StopAll()
{
    for (GxMoviePlayerFile* player : s_Players)
        if (player)
            player->Stop();
    return true;
}

bool GxMovie::SetPosition(int slot, double seconds)
{
    GxMoviePlayerFile* player = GetPlayer(slot);
    return player && player->SetCurrentPosition(seconds);
}

double GxMovie::GetPosition(int slot)
{
    GxMoviePlayerFile* player = GetPlayer(slot);
    return player ? player->GetCurrentPosition() : 0.0;
}

int32_t GxMovie::GetLoopFlag(int slot)
{
    GxMoviePlayerFile* player = GetPlayer(slot);
    return player ? player->GetLoopCount() : 0;
}

void GxMovie::SetLoopPosition(int slot, double seconds)
{
    if (GxMoviePlayerFile* player = GetPlayer(slot))
        player->SetLoopPosition(seconds);
}

bool GxMovie::UpdateAll()
{
    for (GxMoviePlayerFile* player : s_Players)
        if (player)
            player->Update();
    return true;
}

void GxMovie::SetPassClock(GxTimeSource* clock)
{
    s_PassClock = clock;
}

GxTimeSource* GxMovie::GetPassClock()
{
    return s_PassClock;
}
