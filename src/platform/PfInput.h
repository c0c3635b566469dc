#pragma once

#include <cstdint>

// The keyboard and up to two game controllers in the shape the input module reads them: a 256-byte
// key state indexed by DirectInput key code (0x80 = down), and per controller two axes in
// -1000..+1000 with 128 button bytes (0x80 = down). Devices are acquired before they are read: the
// keyboard only while one of the program's windows has the keyboard focus, so a keyboard acquired earlier
// is lost when the focus goes; a game device while it is attached.
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
    enum ReadResult
    {
        READ_OK,
        READ_NOT_ACQUIRED, // never acquired, or given up
        READ_LOST          // was acquired, but the window lost the keyboard focus since
    };
    // Devices: 0 the keyboard, 1 and 2 game devices 0 and 1.
    static bool Acquire(int device);
    static void Unacquire(int device);
    static ReadResult ReadKeyboard(uint8_t state[256]);
    static bool ReadGameDevice(int index, GameDeviceState& state);
    static void Close();
};
