#pragma once

#include "core/GxKeyAssignment.h"

#include <cstdint>

class PfWindow;

// The state word of one player: held directions and buttons, their presses since the previous
// reading, and the directions' auto-repeat.
enum GxPlayerState : uint32_t
{
    GXPS_DOWN = 0x00000001,
    GXPS_UP = 0x00000002,
    GXPS_LEFT = 0x00000004,
    GXPS_RIGHT = 0x00000008,
    GXPS_BUTTON_EDGE_SHIFT = 4,  // bits 4..11: buttons 1..8 pressed since the previous reading
    GXPS_BUTTON_HELD_SHIFT = 12, // bits 12..19: buttons 1..8 held
    GXPS_DIR_EDGE_SHIFT = 20,    // bits 20..23: down, up, left, right pressed since the previous reading
    GXPS_DIR_REPEAT_SHIFT = 24,  // bits 24..27: down, up, left, right with auto-repeat
    GXPS_NO_DEVICE = 0x10000000  // alone: the player's device does not exist
};

// Edge and auto-repeat tracking of one player's readings.
class GxInputPlayer
{
public:
    // Takes the held bits (directions 0..3, buttons 12..19) of a reading and adds the edges and the
    // repeat bits. The repeat bit of a direction is on at the first reading of a press, at the 16th,
    // then at every 4th.
    uint32_t Advance(uint32_t held);
    void Clear();

    uint32_t m_LastHeld = 0;
    int32_t m_Repeat[4] = {};
};

// The keyboard and up to two game controllers opened at start-up, with the key assignments of
// "key.ini". The game takes its input from window messages; the state words are read once at the end
// of start-up and kept for whoever wants them. Devices are acquired while the main window is active:
// deactivation gives them up, activation takes them again, and a device that could not be taken is
// tried again every 60th reading while the window is active.
class GxInput
{
public:
    // Returns the state word of player 2.
    static uint32_t Initialize(PfWindow* window);
    static void OnActivate(bool active);
    static void Finalize();
    static void Update();

    // Either Ctrl key held now, as the window system reports it (not from queued events).
    static bool IsCtrlHeld();

    // The state word of one player from the current device states.
    static uint32_t ReadPlayer(int player);

    // Held bits of a keyboard state (256 bytes, 0x80 = down) by one column of the assignments.
    static uint32_t HeldFromKeyboard(const uint8_t keys[256], const GxKeyAssignment& assign, int column);

    // The devices of the not-acquired flags and of the acquire calls.
    enum Device
    {
        DEVICE_KEYBOARD,
        DEVICE_GAME0,
        DEVICE_GAME1,
        DEVICE_COUNT
    };
    // Acquires one device; false when it cannot be (the keyboard while the window lacks the focus). The
    // platform's by default; tests put their own here.
    using AcquireFunction = bool (*)(int device);
    using UnacquireFunction = void (*)(int device);
    static AcquireFunction s_Acquire;
    static UnacquireFunction s_Unacquire;

    static GxKeyAssignment s_Assign;
    static GxInputPlayer s_Player[2];
    static uint32_t s_State[2];
    static uint32_t s_Available; // bit 0 keyboard; 2 = one game device, 6 = two
    static bool s_Active;
    // Set when an acquire failed, cleared by a later one that succeeds.
    static bool s_NotAcquired[DEVICE_COUNT];
    // Readings since the last retry of the devices that are not acquired.
    static int32_t s_RetryCount;

private:
    static bool DeviceExists(int device);
    // Acquires a device, keeping its not-acquired flag.
    static void AcquireDevice(int device);
    // While the window is active, every 60th reading tries the devices that are not acquired again.
    static void RetryAcquire();
};
