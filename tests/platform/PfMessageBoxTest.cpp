#include "platform/PfMessageBox.h"

#include "core/GxMessageBox.h"
#include "support/KvScopedEnv.h"

#include <gtest/gtest.h>

#include <clocale>
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

// The box is drawn under a UTF-8 character type whatever the environment names, so that X draws its
// Japanese text with the font set's Unicode fonts; asking leaves the process's own locale alone.
TEST(PfMessageBox, TheBoxIsDrawnUnderAUtf8CharacterType)
{
    struct Case
    {
        const char* lcAll;
        const char* lcCtype;
        const char* lang;
        const char* expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, "C.UTF-8"},   // nothing set: the C locale
        {nullptr, nullptr, "C.UTF-8", nullptr},   // already UTF-8
        {nullptr, "C.UTF-8", "C", nullptr},       // the character type decides
        {"C", nullptr, "C.UTF-8", "C.UTF-8"},     // LC_ALL wins over LANG
        {nullptr, nullptr, "POSIX", "C.UTF-8"},
    };
    const std::string before = setlocale(LC_CTYPE, nullptr);
    for (const Case& c : cases)
    {
        const KvScopedEnv lcAll = c.lcAll ? KvScopedEnv("LC_ALL", c.lcAll) : KvScopedEnv("LC_ALL");
        const KvScopedEnv lcCtype = c.lcCtype ? KvScopedEnv("LC_CTYPE", c.lcCtype) : KvScopedEnv("LC_CTYPE");
        const KvScopedEnv lang = c.lang ? KvScopedEnv("LANG", c.lang) : KvScopedEnv("LANG");
        const char* chosen = PfMessageBox::LocaleForBox();
        EXPECT_STREQ(chosen, c.expected) << (c.lcAll ? c.lcAll : "-") << " " << (c.lcCtype ? c.lcCtype : "-") << " "
                                         << (c.lang ? c.lang : "-");
        EXPECT_EQ(setlocale(LC_CTYPE, nullptr), before);
    }
}
