#pragma once

#include <cstdint>

// The keyboard and up to two game controllers in the shape the input module reads them: a 256-byte
// key state indexed by DirectInput key code (0x80 = down), and per controller two axes in
// -1000..+1000 with 128 button bytes (0x80 = down).
class PfInput
{
public:
    static constexpr int kMaxGameDevices = 2;

    struct GameDeviceState
    {
        int32_t x = 0;
        int32_t y = 0;
        uint8_t buttons[128] = {};
    };

    // The keyboard is there once the video subsystem runs (the main window exists).
    static bool OpenKeyboard();
    // Opens the attached controllers, at most two, and returns how many opened.
    static int OpenGameDevices();
    static bool ReadKeyboard(uint8_t state[256]);
    static bool ReadGameDevice(int index, GameDeviceState& state);
    static void Close();
};
