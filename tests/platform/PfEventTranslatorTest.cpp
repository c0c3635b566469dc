#include "platform/PfEventTranslator.h"
#include "platform/PfKeyTable.h"

#include <gtest/gtest.h>

#include <cstring>

static SDL_Event MouseButton(Uint32 type, Uint8 button, int x, int y, Uint8 clicks = 1)
{
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = clicks;
    e.button.x = x;
    e.button.y = y;
    return e;
}

static SDL_Event Key(Uint32 type, SDL_Scancode scancode, Uint16 mod, bool repeat = false)
{
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.scancode = scancode;
    e.key.keysym.mod = mod;
    return e;
}

static SDL_Event WindowEvent(Uint8 which)
{
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_WINDOWEVENT;
    e.window.event = which;
    return e;
}

static std::vector<GxWindowMessage> Translated(PfEventTranslator& t, const SDL_Event& e)
{
    std::vector<GxWindowMessage> out;
    t.Translate(e, out);
    return out;
}

TEST(PfEventTranslator, ButtonPressCarriesClientPositionAndKeyStateAfterThePress)
{
    PfEventTranslator t;
    std::vector<GxWindowMessage> sink;
    t.Translate(Key(SDL_KEYDOWN, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT), sink);
    auto out = Translated(t, MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1024, 768));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].message, WM_LBUTTONDOWN);
    EXPECT_EQ(out[0].wParam, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(GxPointParamX(out[0].lParam), 1024);
    EXPECT_EQ(GxPointParamY(out[0].lParam), 768);

    out = Translated(t, MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 3, 4));
    EXPECT_EQ(out[0].message, WM_RBUTTONDOWN);
    EXPECT_EQ(out[0].wParam, MK_LBUTTON | MK_RBUTTON | MK_SHIFT);

    // A position outside the client area stays signed.
    out = Translated(t, MouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, -20, -5));
    EXPECT_EQ(out[0].message, WM_LBUTTONUP);
    EXPECT_EQ(out[0].wParam, MK_RBUTTON | MK_SHIFT);
    EXPECT_EQ(GxPointParamX(out[0].lParam), -20);
    EXPECT_EQ(GxPointParamY(out[0].lParam), -5);
    EXPECT_EQ(Translated(t, MouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 0, 0))[0].message, WM_MBUTTONUP);
    // A second click arrives as a plain press.
    EXPECT_EQ(Translated(t, MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 10, 2))[0].message, WM_LBUTTONDOWN);
}

TEST(PfEventTranslator, MotionTakesTheButtonsFromTheEvent)
{
    PfEventTranslator t;
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEMOTION;
    e.motion.state = SDL_BUTTON_LMASK | SDL_BUTTON_MMASK;
    e.motion.x = 7;
    e.motion.y = 9;
    auto out = Translated(t, e);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].message, WM_MOUSEMOVE);
    EXPECT_EQ(out[0].wParam, MK_LBUTTON | MK_MBUTTON);
}

TEST(PfEventTranslator, WheelGivesOneHundredTwentyPerNotchWithKeyStateInTheLowWord)
{
    PfEventTranslator t;
    std::vector<GxWindowMessage> sink;
    t.Translate(Key(SDL_KEYDOWN, SDL_SCANCODE_LCTRL, KMOD_LCTRL), sink);
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = -2;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    auto out = Translated(t, e);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].message, WM_MOUSEWHEEL);
    EXPECT_EQ(static_cast<int16_t>(out[0].wParam >> 16), -240);
    EXPECT_EQ(out[0].wParam & 0xFFFF, MK_CONTROL);

    e.wheel.y = 1;
    e.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    out = Translated(t, e);
    EXPECT_EQ(static_cast<int16_t>(out[0].wParam >> 16), -120);
}

TEST(PfEventTranslator, KeyDownCarriesVirtualKeyScanCodeAndRepeatBits)
{
    PfEventTranslator t;
    auto out = Translated(t, Key(SDL_KEYDOWN, SDL_SCANCODE_Z, KMOD_NONE));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].message, WM_KEYDOWN);
    EXPECT_EQ(out[0].wParam, uintptr_t('Z'));
    EXPECT_EQ(out[0].lParam, intptr_t(1) | (intptr_t(0x2C) << 16));

    out = Translated(t, Key(SDL_KEYDOWN, SDL_SCANCODE_Z, KMOD_NONE, true));
    EXPECT_EQ(out[0].lParam & KF_REPEAT_BIT, KF_REPEAT_BIT);

    out = Translated(t, Key(SDL_KEYUP, SDL_SCANCODE_Z, KMOD_NONE));
    EXPECT_EQ(out[0].message, WM_KEYUP);
    EXPECT_EQ(out[0].lParam & (KF_REPEAT_BIT | KF_UP_BIT), KF_REPEAT_BIT | KF_UP_BIT);
}

TEST(PfEventTranslator, KeysBecomeOrdinaryOrSystemKeysWithTheirFlags)
{
    // In order on one translator; F4 to F7 are ordinary keys, Alt combinations and F10 system keys, Ctrl+Alt
    // (AltGr) ordinary again. The flags compared are the extended and Alt bits; a plain key message never
    // carries the Alt bit.
    const struct
    {
        Uint32 type;
        SDL_Scancode key;
        Uint16 mod;
        uint32_t message;
        uintptr_t vk;
        intptr_t flags;
    } cases[] = {
        {SDL_KEYDOWN, SDL_SCANCODE_UP, KMOD_NONE, WM_KEYDOWN, VK_UP, KF_EXTENDED_BIT},
        {SDL_KEYDOWN, SDL_SCANCODE_F4, KMOD_NONE, WM_KEYDOWN, VK_F4, 0},
        {SDL_KEYDOWN, SDL_SCANCODE_F5, KMOD_NONE, WM_KEYDOWN, VK_F5, 0},
        {SDL_KEYDOWN, SDL_SCANCODE_F6, KMOD_NONE, WM_KEYDOWN, VK_F6, 0},
        {SDL_KEYDOWN, SDL_SCANCODE_F7, KMOD_NONE, WM_KEYDOWN, VK_F7, 0},
        {SDL_KEYDOWN, SDL_SCANCODE_LALT, KMOD_LALT, WM_SYSKEYDOWN, VK_MENU, KF_ALTDOWN_BIT},
        {SDL_KEYDOWN, SDL_SCANCODE_F4, KMOD_LALT, WM_SYSKEYDOWN, VK_F4, KF_ALTDOWN_BIT},
        {SDL_KEYUP, SDL_SCANCODE_LALT, KMOD_NONE, WM_SYSKEYUP, VK_MENU, KF_ALTDOWN_BIT},
        {SDL_KEYDOWN, SDL_SCANCODE_F10, KMOD_NONE, WM_SYSKEYDOWN, VK_F10, 0},
        {SDL_KEYUP, SDL_SCANCODE_F10, KMOD_NONE, WM_SYSKEYUP, VK_F10, 0},
        {SDL_KEYDOWN, SDL_SCANCODE_Q, KMOD_LALT | KMOD_LCTRL, WM_KEYDOWN, 'Q', 0},
    };
    PfEventTranslator t;
    for (const auto& c : cases)
    {
        const auto out = Translated(t, Key(c.type, c.key, c.mod));
        ASSERT_EQ(out.size(), 1u) << c.key;
        EXPECT_EQ(out[0].message, c.message) << c.key;
        EXPECT_EQ(out[0].wParam, c.vk) << c.key;
        EXPECT_EQ(out[0].lParam & (KF_EXTENDED_BIT | KF_ALTDOWN_BIT), c.flags) << c.key;
    }
    EXPECT_EQ((Translated(t, Key(SDL_KEYDOWN, SDL_SCANCODE_UP, KMOD_NONE))[0].lParam >> 16) & 0xFF, 0x48);
}

TEST(PfEventTranslator, WindowEventsBecomeWindowMessages)
{
    PfEventTranslator t;
    EXPECT_EQ(Translated(t, WindowEvent(SDL_WINDOWEVENT_CLOSE))[0].message, WM_CLOSE);
    auto out = Translated(t, WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
    EXPECT_EQ(out[0].message, WM_ACTIVATE);
    EXPECT_EQ(out[0].wParam, WA_ACTIVE);
    t.Translate(MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 1), out);
    out = Translated(t, WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_EQ(out[0].wParam, WA_INACTIVE);
    EXPECT_EQ(t.GetKeyState(), 0u);
    EXPECT_EQ(Translated(t, WindowEvent(SDL_WINDOWEVENT_MOVED))[0].message, WM_WINDOWPOSCHANGED);
    out = Translated(t, WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].message, WM_WINDOWPOSCHANGED);
    EXPECT_EQ(out[1].message, WM_SETCURSOR) << "a mode switch changes the size: the cursor rules run again";
    EXPECT_EQ(Translated(t, WindowEvent(SDL_WINDOWEVENT_EXPOSED))[0].message, WM_PAINT);
    // The pointer coming over the window asks for the cursor again.
    EXPECT_EQ(Translated(t, WindowEvent(SDL_WINDOWEVENT_ENTER))[0].message, WM_SETCURSOR);
    EXPECT_TRUE(Translated(t, WindowEvent(SDL_WINDOWEVENT_LEAVE)).empty());
}

TEST(PfEventTranslator, UnmappedEventsGiveNothing)
{
    PfEventTranslator t;
    EXPECT_TRUE(Translated(t, MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 1, 1)).empty());
    EXPECT_TRUE(Translated(t, Key(SDL_KEYDOWN, SDL_SCANCODE_AC_BACK, KMOD_NONE)).empty());
    SDL_Event quit;
    std::memset(&quit, 0, sizeof quit);
    quit.type = SDL_QUIT;
    EXPECT_TRUE(Translated(t, quit).empty());
}

TEST(PfKeyTable, DirectInputCodesOfTheDefaultAssignments)
{
    EXPECT_EQ(PfKeyTable::ToDik(SDL_SCANCODE_UP), 200);
    EXPECT_EQ(PfKeyTable::ToDik(SDL_SCANCODE_DOWN), 208);
    EXPECT_EQ(PfKeyTable::ToDik(SDL_SCANCODE_RIGHT), 205);
    EXPECT_EQ(PfKeyTable::ToDik(SDL_SCANCODE_LEFT), 203);
    const SDL_Scancode buttons[] = {SDL_SCANCODE_Z, SDL_SCANCODE_X, SDL_SCANCODE_C, SDL_SCANCODE_V,
                                    SDL_SCANCODE_A, SDL_SCANCODE_S, SDL_SCANCODE_D, SDL_SCANCODE_F};
    const int diks[] = {44, 45, 46, 47, 30, 31, 32, 33};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(PfKeyTable::ToDik(buttons[i]), diks[i]);
    EXPECT_EQ(PfKeyTable::ToDik(static_cast<SDL_Scancode>(SDL_NUM_SCANCODES + 5)), 0);
}
