#include "core/GxInput.h"
#include "core/GxLog.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(GxInputPlayer, RepeatAndEdgeBits)
{
    GxInputPlayer p;
    std::vector<int> on;
    for (int reading = 1; reading <= 28; ++reading)
        if (p.Advance(GXPS_UP) & (1u << (GXPS_DIR_REPEAT_SHIFT + 1)))
            on.push_back(reading);
    EXPECT_EQ(on, (std::vector<int>{1, 16, 20, 24, 28}));
    // Release and press again: the first reading repeats at once.
    p.Advance(0);
    EXPECT_TRUE(p.Advance(GXPS_UP) & (1u << (GXPS_DIR_REPEAT_SHIFT + 1)));
    // Edges show only on the reading that finds the press.
    GxInputPlayer q;
    const uint32_t button3 = 1u << (GXPS_BUTTON_HELD_SHIFT + 2);
    uint32_t w = q.Advance(button3 | GXPS_LEFT);
    EXPECT_TRUE(w & (1u << (GXPS_BUTTON_EDGE_SHIFT + 2)));
    EXPECT_TRUE(w & (1u << (GXPS_DIR_EDGE_SHIFT + 2)));
    w = q.Advance(button3 | GXPS_LEFT);
    EXPECT_FALSE(w & (1u << (GXPS_BUTTON_EDGE_SHIFT + 2)));
    EXPECT_FALSE(w & (1u << (GXPS_DIR_EDGE_SHIFT + 2)));
    EXPECT_TRUE(w & button3);
}

TEST(GxInput, KeyboardStateByAssignedCodesAndNoDeviceWithoutControllers)
{
    GxKeyAssignment a;
    uint8_t keys[256];
    std::memset(keys, 0, sizeof keys);
    keys[205] = 0x80; // right arrow
    keys[46] = 0x80;  // C: button 3
    EXPECT_EQ(GxInput::HeldFromKeyboard(keys, a, 0), GXPS_RIGHT | (1u << (GXPS_BUTTON_HELD_SHIFT + 2)));
    a.m_Right[0] = 17;
    EXPECT_EQ(GxInput::HeldFromKeyboard(keys, a, 0), 1u << (GXPS_BUTTON_HELD_SHIFT + 2));
    // No window and no controllers in the test: the keyboard is absent too (and says so in the log).
    const std::wstring oldPath = GxLog::GetErrorLogPath();
    GxLog::SetErrorLogPath(L"");
    const uint32_t errors = GxLog::GetErrorCount();
    EXPECT_EQ(GxInput::Initialize(nullptr), static_cast<uint32_t>(GXPS_NO_DEVICE));
    EXPECT_EQ(GxInput::s_Available & 6u, 0u);
    EXPECT_EQ(GxLog::GetErrorCount(), errors + 1);
    GxInput::Finalize();
    GxLog::SetErrorLogPath(oldPath);
}

// Deactivation gives the devices up, activation takes them again, and a keyboard that cannot be taken
// (the window lacks the focus) is tried again on every 60th reading while the window is active.
static int s_AcquireCalls = 0;
static bool s_AcquireWorks = false;
TEST(GxInput, DeviceNotAcquiredIsRetriedEverySixtiethReadingWhileActive)
{
    const GxInput::AcquireFunction acquire = GxInput::s_Acquire;
    const GxInput::UnacquireFunction unacquire = GxInput::s_Unacquire;
    GxInput::s_Acquire = [](int device)
    { return device == GxInput::DEVICE_KEYBOARD && (++s_AcquireCalls, s_AcquireWorks); };
    GxInput::s_Unacquire = [](int) {};
    GxInput::s_Available = 1;
    GxInput::s_Assign.SetDefault();
    GxInput::s_RetryCount = 0;

    GxInput::OnActivate(false);
    EXPECT_EQ(s_AcquireCalls, 0);
    GxInput::OnActivate(true);
    EXPECT_EQ(s_AcquireCalls, 1);
    EXPECT_TRUE(GxInput::s_NotAcquired[GxInput::DEVICE_KEYBOARD]);
    // {readings, active, acquire works, calls after, still not acquired}
    struct Step
    {
        int readings;
        bool active, works;
        int calls;
        bool notAcquired;
    };
    for (const Step& step :
         {Step{59, true, false, 1, true}, Step{1, true, false, 2, true}, Step{200, false, true, 2, true},
          Step{60, true, true, 3, false}, Step{120, true, true, 3, false}})
    {
        GxInput::s_Active = step.active;
        s_AcquireWorks = step.works;
        for (int i = 0; i < step.readings; ++i)
            GxInput::ReadPlayer(0);
        EXPECT_EQ(s_AcquireCalls, step.calls) << step.readings;
        EXPECT_EQ(GxInput::s_NotAcquired[GxInput::DEVICE_KEYBOARD], step.notAcquired) << step.readings;
    }
    GxInput::s_Acquire = acquire;
    GxInput::s_Unacquire = unacquire;
    GxInput::s_Available = 0;
    GxInput::s_Active = true;
}
