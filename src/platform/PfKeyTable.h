#pragma once

#include <SDL2/SDL_scancode.h>

#include <cstdint>

// Physical keys (SDL scancodes) as DirectInput key codes and Windows virtual-key codes. A DirectInput
// key code is the PC keyboard's set-1 scan code, with 0x80 added for the extended (E0-prefixed) keys,
// so it also gives the scan-code byte and extended bit of a key message. Virtual keys follow the
// US layout by position. Keys without an equivalent give 0.
class PfKeyTable
{
public:
    static uint8_t ToDik(SDL_Scancode scancode);
    static uint8_t ToVirtualKey(SDL_Scancode scancode);
};
