#pragma once

#include "platform/GxWindowMessage.h"

#include <SDL2/SDL_events.h>

#include <cstdint>
#include <vector>

// Turns SDL events into the main window's messages. A pure function of the event and of the state it
// keeps (held mouse buttons, keyboard modifiers), so it can be driven with made-up events:
// - mouse messages carry the client position in the long parameter and the key-state word (MK_ bits
//   of buttons, Shift and Ctrl after the event) in the word parameter;
// - a second click arrives as a plain press: the main window has no double-click style;
// - the wheel gives 120 per notch in the high word of the word parameter, the key state in its low word;
// - keys give virtual-key codes with a long parameter holding the repeat count 1, the scan code, the
//   extended bit, the Alt bit, the repeat bit and the release bit;
// - keys pressed with Alt (without Ctrl), the Alt keys themselves and F10 are system keys
//   (WM_SYSKEYDOWN / WM_SYSKEYUP), which the window procedure leaves to the default handling;
// - focus changes, closing, moving, resizing and exposure give WM_ACTIVATE, WM_CLOSE,
//   WM_WINDOWPOSCHANGED and WM_PAINT.
class PfEventTranslator
{
public:
    // Appends zero or more messages for the event to out.
    void Translate(const SDL_Event& event, std::vector<GxWindowMessage>& out);

    uint32_t GetKeyState() const;

    uint32_t m_Buttons = 0; // MK_LBUTTON | MK_RBUTTON | MK_MBUTTON of the buttons held
    uint16_t m_Mods = 0;    // SDL keyboard modifiers as of the last key event

private:
    void TranslateKey(const SDL_KeyboardEvent& key, std::vector<GxWindowMessage>& out);
};
