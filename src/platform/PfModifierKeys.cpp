#include "platform/PfModifierKeys.h"

#include <SDL.h>

bool PfModifierKeys::IsCtrlHeld()
{
    return (SDL_GetModState() & KMOD_CTRL) != 0;
}
