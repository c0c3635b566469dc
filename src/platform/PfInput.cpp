#include "platform/PfInput.h"

#include "platform/PfKeyTable.h"

#include <SDL2/SDL.h>

#include <cstring>

static SDL_Joystick* s_GameDevices[PfInput::kMaxGameDevices] = {};
static bool s_JoystickStarted = false;
static bool s_KeyboardAcquired = false;

bool PfInput::OpenKeyboard()
{
    return SDL_WasInit(SDL_INIT_VIDEO) != 0;
}

int PfInput::OpenGameDevices()
{
    if (!s_JoystickStarted)
    {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0)
            return 0;
        s_JoystickStarted = true;
    }
    int opened = 0;
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count && opened < kMaxGameDevices; ++i)
    {
        SDL_Joystick* device = SDL_JoystickOpen(i);
        if (!device)
            continue;
        s_GameDevices[opened++] = device;
    }
    return opened;
}

bool PfInput::Acquire(int device)
{
    if (device == 0)
    {
        s_KeyboardAcquired = SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetKeyboardFocus() != nullptr;
        return s_KeyboardAcquired;
    }
    const int index = device - 1;
    return index >= 0 && index < kMaxGameDevices && s_GameDevices[index] &&
           SDL_JoystickGetAttached(s_GameDevices[index]);
}

void PfInput::Unacquire(int device)
{
    if (device == 0)
        s_KeyboardAcquired = false;
}

PfInput::ReadResult PfInput::ReadKeyboard(uint8_t state[256])
{
    std::memset(state, 0, 256);
    if (!s_KeyboardAcquired || !SDL_WasInit(SDL_INIT_VIDEO))
        return READ_NOT_ACQUIRED;
    if (!SDL_GetKeyboardFocus())
    {
        s_KeyboardAcquired = false;
        return READ_LOST;
    }
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    for (int sc = 0; sc < count; ++sc)
    {
        if (!keys[sc])
            continue;
        const uint8_t dik = PfKeyTable::ToDik(static_cast<SDL_Scancode>(sc));
        if (dik != 0)
            state[dik] = 0x80;
    }
    return READ_OK;
}

// SDL's axis range -32768..32767 onto -1000..+1000.
static int32_t ScaleAxis(Sint16 value)
{
    return static_cast<int32_t>(value) * 1000 / (value < 0 ? 32768 : 32767);
}

bool PfInput::ReadGameDevice(int index, GameDeviceState& state)
{
    state = GameDeviceState{};
    if (index < 0 || index >= kMaxGameDevices || !s_GameDevices[index])
        return false;
    SDL_Joystick* device = s_GameDevices[index];
    SDL_JoystickUpdate();
    if (!SDL_JoystickGetAttached(device))
        return false;
    if (SDL_JoystickNumAxes(device) >= 2)
    {
        state.x = ScaleAxis(SDL_JoystickGetAxis(device, 0));
        state.y = ScaleAxis(SDL_JoystickGetAxis(device, 1));
    }
    const int buttons = SDL_JoystickNumButtons(device);
    for (int b = 0; b < buttons && b < 128; ++b)
        state.buttons[b] = SDL_JoystickGetButton(device, b) ? 0x80 : 0;
    return true;
}

void PfInput::Close()
{
    s_KeyboardAcquired = false;
    for (SDL_Joystick*& device : s_GameDevices)
    {
        if (device)
            SDL_JoystickClose(device);
        device = nullptr;
    }
}
