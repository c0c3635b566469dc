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
    GxLog::SetErrorLogPath(L"/dev/null");
    const uint32_t errors = GxLog::GetErrorCount();
    EXPECT_EQ(GxInput::Initialize(nullptr), static_cast<uint32_t>(GXPS_NO_DEVICE));
    EXPECT_EQ(GxInput::s_Available & 6u, 0u);
    EXPECT_EQ(GxLog::GetErrorCount(), errors + 1);
    GxInput::Finalize();
    GxLog::SetErrorLogPath(oldPath);
}
