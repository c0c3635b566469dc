#include "platform/PfMessageBox.h"

#include "core/GxMessageBox.h"
#include "support/KvScopedEnv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(PfMessageBox, HeadlessWritesCaptionAndTextToStandardError)
{
    KvScopedEnv driver("SDL_VIDEODRIVER", "offscreen");
    EXPECT_FALSE(PfMessageBox::CanShow());
    testing::internal::CaptureStderr();
    EXPECT_TRUE(PfMessageBox::Show("\xE8\xB5\xB7\xE5\x8B\x95", "line"));
    std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(written, "[\xE8\xB5\xB7\xE5\x8B\x95] line\n");
}

TEST(PfMessageBox, EngineMessageBoxFormatsWideTextAndReturnsOk)
{
    KvScopedEnv driver("SDL_VIDEODRIVER", "offscreen");
    testing::internal::CaptureStderr();
    int result = GxMessageBox(L"\x8d77\x52d5\x3067\x304d\x307e\x305b\x3093", L"path %d: %s\n", 245, L"C:/x");
    std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(
        written,
        "[\xE8\xB5\xB7\xE5\x8B\x95\xE3\x81\xA7\xE3\x81\x8D\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93] path 245: C:/x\n");
}

TEST(PfMessageBox, NoDisplayMeansNoBox)
{
    const KvScopedEnv driver("SDL_VIDEODRIVER");
    const KvScopedEnv display("DISPLAY");
    const KvScopedEnv wayland("WAYLAND_DISPLAY");
    EXPECT_FALSE(PfMessageBox::CanShow());
}
