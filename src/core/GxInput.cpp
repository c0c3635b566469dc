#include "core/GxInput.h"

#include "core/GxLog.h"
#include "platform/PfInput.h"
#include "platform/PfModifierKeys.h"

GxKeyAssignment GxInput::s_Assign;
GxInputPlayer GxInput::s_Player[2];
uint32_t GxInput::s_State[2] = {};
uint32_t GxInput::s_Available = 0;
bool GxInput::s_Active = true;
bool GxInput::s_NotAcquired[GxInput::DEVICE_COUNT] = {};
int32_t GxInput::s_RetryCount = 0;
GxInput::AcquireFunction GxInput::s_Acquire = &PfInput::Acquire;
GxInput::UnacquireFunction GxInput::s_Unacquire = &PfInput::Unacquire;

// Readings between two retries of a device that could not be acquired.
static constexpr int32_t kRetryReadings = 60;

static constexpr int32_t kRepeatFirst = 15;
static constexpr int32_t kRepeatAgain = 12;
// Game-device axes beyond this (of +-1000) count as a direction.
static constexpr int32_t kAxisThreshold = 500;

void GxInputPlayer::Clear()
{
    m_LastHeld = 0;
    for (int32_t& r : m_Repeat)
        r = 0;
}

uint32_t GxInputPlayer::Advance(uint32_t held)
{
    uint32_t word = held;
    const uint32_t pressed = held & ~m_LastHeld;
    word |= ((pressed >> GXPS_BUTTON_HELD_SHIFT) & 0xFF) << GXPS_BUTTON_EDGE_SHIFT;
    word |= (pressed & 0xF) << GXPS_DIR_EDGE_SHIFT;
    for (int d = 0; d < 4; ++d)
    {
        int32_t& counter = m_Repeat[d];
        if (!(held & (1u << d)))
            counter = 0;
        else if (counter == 0)
        {
            word |= 1u << (GXPS_DIR_REPEAT_SHIFT + d);
            counter = 1;
        }
        else if (counter >= kRepeatFirst)
        {
            word |= 1u << (GXPS_DIR_REPEAT_SHIFT + d);
            counter = kRepeatAgain;
        }
        else
            ++counter;
    }
    m_LastHeld = held & 0x000FF00F;
    return word;
}

uint32_t GxInput::HeldFromKeyboard(const uint8_t keys[256], const GxKeyAssignment& assign, int column)
{
    uint32_t held = 0;
    if (keys[assign.m_Down[column] & 0xFF] & 0x80)
        held |= GXPS_DOWN;
    if (keys[assign.m_Up[column] & 0xFF] & 0x80)
        held |= GXPS_UP;
    if (keys[assign.m_Left[column] & 0xFF] & 0x80)
        held |= GXPS_LEFT;
    if (keys[assign.m_Right[column] & 0xFF] & 0x80)
        held |= GXPS_RIGHT;
    for (int b = 0; b < GxKeyAssignment::kButtons; ++b)
        if (keys[assign.m_Button[column][b] & 0xFF] & 0x80)
            held |= 1u << (GXPS_BUTTON_HELD_SHIFT + b);
    return held;
}

uint32_t GxInput::Initialize(PfWindow* window)
{
    s_Assign.SetDefault();
    s_Assign.Load("key.ini");
    s_Player[0].Clear();
    s_Player[1].Clear();
    s_Available = 0;
    s_RetryCount = 0;
    for (bool& flag : s_NotAcquired)
        flag = false;
    // The keyboard comes with the window and its video subsystem; without either there is no keyboard
    // to read (the video subsystem may be up without a window: one that could not be made, or another
    // user of SDL in the same process).
    if (window && PfInput::OpenKeyboard())
        s_Available |= 1;
    else
        GxLog::Error(L"キーボードの初期化に失敗1,%d", -1);
    const int devices = PfInput::OpenGameDevices();
    if (devices == 1)
        s_Available |= 2;
    else if (devices >= 2)
        s_Available |= 6;
    for (int device = 0; device < DEVICE_COUNT; ++device)
        if (DeviceExists(device))
            AcquireDevice(device);
    Update();
    return s_State[1];
}

bool GxInput::DeviceExists(int device)
{
    static const uint32_t s_Bits[DEVICE_COUNT] = {1u, 2u, 4u};
    return device >= 0 && device < DEVICE_COUNT && (s_Available & s_Bits[device]) != 0;
}

void GxInput::AcquireDevice(int device)
{
    s_NotAcquired[device] = !s_Acquire(device);
}

void GxInput::OnActivate(bool active)
{
    s_Active = active;
    for (int device : {DEVICE_GAME0, DEVICE_GAME1, DEVICE_KEYBOARD})
    {
        if (!DeviceExists(device))
            continue;
        if (active)
            AcquireDevice(device);
        else
            s_Unacquire(device);
    }
}

void GxInput::RetryAcquire()
{
    if (!s_Active || ++s_RetryCount < kRetryReadings)
        return;
    s_RetryCount = 0;
    for (int device = 0; device < DEVICE_COUNT; ++device)
        if (s_NotAcquired[device] && s_Acquire(device))
            s_NotAcquired[device] = false;
}

void GxInput::Finalize()
{
    for (int device = 0; device < DEVICE_COUNT; ++device)
        if (DeviceExists(device))
            s_Unacquire(device);
    PfInput::Close();
    s_Available = 0;
}

void GxInput::Update()
{
    s_State[0] = ReadPlayer(0);
    s_State[1] = ReadPlayer(1);
}

uint32_t GxInput::ReadPlayer(int player)
{
    if (s_NotAcquired[DEVICE_KEYBOARD] || s_NotAcquired[DEVICE_GAME0] || s_NotAcquired[DEVICE_GAME1])
        RetryAcquire();
    const int32_t type = s_Assign.m_DeviceType[player];
    if (type == 0)
    {
        if (!(s_Available & 1))
            return GXPS_NO_DEVICE;
        uint8_t keys[256];
        const PfInput::ReadResult read = PfInput::ReadKeyboard(keys);
        if (read != PfInput::READ_OK)
        {
            // A keyboard lost with the focus is taken again at once while the window is active.
            if (read == PfInput::READ_LOST && s_Active)
                AcquireDevice(DEVICE_KEYBOARD);
            return 0;
        }
        return s_Player[player].Advance(HeldFromKeyboard(keys, s_Assign, 0));
    }
    if (type == 1 || type == 2)
    {
        const int device = type - 1;
        const uint32_t present = device == 0 ? 2u : 4u;
        if (!(s_Available & present))
            return GXPS_NO_DEVICE;
        PfInput::GameDeviceState state;
        if (!PfInput::ReadGameDevice(device, state))
        {
            // One attempt per reading to take a device back whose poll failed.
            s_Acquire(DEVICE_GAME0 + device);
            return 0;
        }
        uint32_t held = 0;
        if (state.x > kAxisThreshold)
            held |= GXPS_RIGHT;
        if (state.x < -kAxisThreshold)
            held |= GXPS_LEFT;
        if (state.y > kAxisThreshold)
            held |= GXPS_DOWN;
        if (state.y < -kAxisThreshold)
            held |= GXPS_UP;
        for (int b = 0; b < GxKeyAssignment::kButtons; ++b)
            if (state.buttons[s_Assign.m_PadButton[device][b] & 0x7F] & 0x80)
                held |= 1u << (GXPS_BUTTON_HELD_SHIFT + b);
        return s_Player[player].Advance(held);
    }
    return 0;
}

bool GxInput::IsCtrlHeld()
{
    return PfModifierKeys::IsCtrlHeld();
}
