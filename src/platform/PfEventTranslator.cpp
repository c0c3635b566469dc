#include "platform/PfEventTranslator.h"

#include "platform/PfKeyTable.h"

static uint32_t ButtonBit(uint8_t button)
{
    switch (button)
    {
    case SDL_BUTTON_LEFT:
        return MK_LBUTTON;
    case SDL_BUTTON_RIGHT:
        return MK_RBUTTON;
    case SDL_BUTTON_MIDDLE:
        return MK_MBUTTON;
    default:
        return 0;
    }
}

static uint32_t ButtonsFromSDLState(uint32_t state)
{
    uint32_t bits = 0;
    if (state & SDL_BUTTON_LMASK)
        bits |= MK_LBUTTON;
    if (state & SDL_BUTTON_RMASK)
        bits |= MK_RBUTTON;
    if (state & SDL_BUTTON_MMASK)
        bits |= MK_MBUTTON;
    return bits;
}

uint32_t PfEventTranslator::GetKeyState() const
{
    uint32_t state = m_Buttons;
    if (m_Mods & KMOD_SHIFT)
        state |= MK_SHIFT;
    if (m_Mods & KMOD_CTRL)
        state |= MK_CONTROL;
    return state;
}

void PfEventTranslator::Translate(const SDL_Event& event, std::vector<GxWindowMessage>& out)
{
    switch (event.type)
    {
    case SDL_MOUSEMOTION:
        m_Buttons = ButtonsFromSDLState(event.motion.state);
        out.push_back({WM_MOUSEMOVE, GetKeyState(), GxMakePointParam(event.motion.x, event.motion.y)});
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    {
        const uint32_t bit = ButtonBit(event.button.button);
        if (bit == 0)
            break;
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        if (down)
            m_Buttons |= bit;
        else
            m_Buttons &= ~bit;
        uint32_t message = 0;
        if (bit == MK_LBUTTON)
            message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        else if (bit == MK_RBUTTON)
            message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        else
            message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        out.push_back({message, GetKeyState(), GxMakePointParam(event.button.x, event.button.y)});
        break;
    }
    case SDL_MOUSEWHEEL:
    {
        int notches = event.wheel.y;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            notches = -notches;
        if (notches == 0)
            break;
        const int delta = notches * WHEEL_DELTA;
        const uintptr_t wParam = (static_cast<uintptr_t>(static_cast<uint16_t>(delta)) << 16) | GetKeyState();
        out.push_back({WM_MOUSEWHEEL, wParam, GxMakePointParam(event.wheel.mouseX, event.wheel.mouseY)});
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        TranslateKey(event.key, out);
        break;
    case SDL_WINDOWEVENT:
        switch (event.window.event)
        {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            out.push_back({WM_ACTIVATE, WA_ACTIVE, 0});
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // SDL lets go of the keys and buttons held when the focus goes.
            m_Buttons = 0;
            m_Mods = 0;
            out.push_back({WM_ACTIVATE, WA_INACTIVE, 0});
            break;
        case SDL_WINDOWEVENT_CLOSE:
            out.push_back({WM_CLOSE, 0, 0});
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            // A new size (a screen-mode switch among others) may leave the pointer over another part of
            // the window or the window's mode changed: the cursor rules apply again.
            out.push_back({WM_WINDOWPOSCHANGED, 0, 0});
            out.push_back({WM_SETCURSOR, 0, 0});
            break;
        case SDL_WINDOWEVENT_MOVED:
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_MAXIMIZED:
        case SDL_WINDOWEVENT_RESTORED:
            out.push_back({WM_WINDOWPOSCHANGED, 0, 0});
            break;
        case SDL_WINDOWEVENT_ENTER:
            // The pointer came over the window: the cursor rules apply again.
            out.push_back({WM_SETCURSOR, 0, 0});
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            out.push_back({WM_PAINT, 0, 0});
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
}

void PfEventTranslator::TranslateKey(const SDL_KeyboardEvent& key, std::vector<GxWindowMessage>& out)
{
    m_Mods = key.keysym.mod;
    const uint8_t vk = PfKeyTable::ToVirtualKey(key.keysym.scancode);
    if (vk == 0)
        return;
    const uint8_t dik = PfKeyTable::ToDik(key.keysym.scancode);
    const bool down = key.state == SDL_PRESSED;
    const bool isAltKey = key.keysym.scancode == SDL_SCANCODE_LALT || key.keysym.scancode == SDL_SCANCODE_RALT;
    // SDL's modifiers already include an Alt key being pressed and exclude one being released.
    const bool altHeld = (m_Mods & KMOD_ALT) != 0 || isAltKey;
    const bool ctrlHeld = (m_Mods & KMOD_CTRL) != 0;

    intptr_t lParam = 1;
    lParam |= static_cast<intptr_t>(dik & 0x7F) << 16;
    if (dik & 0x80)
        lParam |= KF_EXTENDED_BIT;
    const bool system = (altHeld && !ctrlHeld) || vk == VK_F10;
    if (system && altHeld)
        lParam |= KF_ALTDOWN_BIT;
    if (!down)
        lParam |= KF_REPEAT_BIT | KF_UP_BIT;
    else if (key.repeat)
        lParam |= KF_REPEAT_BIT;

    uint32_t message;
    if (system)
        message = down ? WM_SYSKEYDOWN : WM_SYSKEYUP;
    else
        message = down ? WM_KEYDOWN : WM_KEYUP;
    out.push_back({message, vk, lParam});
}
