#include "script/GxMoaAdventureScreen.h"

namespace
{
GxMoaAdventureScreen* s_Screen = nullptr;
}

GxMoaAdventureScreen* GxMoaAdventureScreen::Find()
{
    return s_Screen;
}

void GxMoaAdventureScreen::Register(GxMoaAdventureScreen* screen)
{
    s_Screen = screen;
}
