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
// of start-up and kept for whoever wants them.
class GxInput
{
public:
    // Returns the state word of player 2.
    static uint32_t Initialize(PfWindow* window);
    static void OnActivate(bool active);
    static void Finalize();
    static void Update();

    // The state word of one player from the current device states.
    static uint32_t ReadPlayer(int player);

    // Held bits of a keyboard state (256 bytes, 0x80 = down) by one column of the assignments.
    static uint32_t HeldFromKeyboard(const uint8_t keys[256], const GxKeyAssignment& assign, int column);

    static GxKeyAssignment s_Assign;
    static GxInputPlayer s_Player[2];
    static uint32_t s_State[2];
    static uint32_t s_Available; // bit 0 keyboard; 2 = one game device, 6 = two
    static bool s_Active;
};
