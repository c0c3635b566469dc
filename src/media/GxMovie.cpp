#include "media/GxMovie.h"

// FIXME: no movie player yet; the four slots stay empty.
bool GxMovie::Initialize()
{
    return true;
}

void GxMovie::UpdateAll() {}

void GxMovie::DestroyAll() {}
