#pragma once

#include <cstdint>

// The front end's process-wide state, shared by the adventure screen, its buttons and the system
// sequence. All of it is zeroed by the game's start-up hook (ResetAvgSharedState).

// Skip mode is on: messages are advanced on every step.
extern uint8_t g_SkipMode;
// Auto mode is on: a message waiting for a click advances after g_AutoWaitLeft.
extern uint8_t g_AutoMode;
// Milliseconds left before auto mode advances the message.
extern int32_t g_AutoWaitLeft;
// The player has hidden the message and name windows.
extern uint8_t g_MessageWindowHidden;

// Clears the four values above and the sequence base's open-dialog count, input lock and lock counters.
void ResetAvgSharedState();
