#include "animation/GxNcCallbackSystemSound.h"
#include "animation/GxNcSoundKey.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<std::wstring> s_Played;

void Record(const std::wstring& path)
{
    s_Played.push_back(path);
}

// Puts the program's player back however the case ends.
class PlayerGuard
{
public:
    PlayerGuard() : m_Installed(GxNcCallbackSystemSound::GetSoundPlayer()) {}
    ~PlayerGuard() { GxNcCallbackSystemSound::SetSoundPlayer(m_Installed); }
    GxNcCallbackSystemSound::SoundPlayer m_Installed;
};
} // namespace

// The program's start-up (here the test main's, as the game's) installs the player, so the effects of the
// screens sound; the key's name is played from "sounds/", and with no player a key plays nothing.
TEST(GxNcCallbackSystemSound, SoundKeysPlayThroughTheInstalledPlayer)
{
    PlayerGuard guard;
    EXPECT_NE(guard.m_Installed, nullptr);

    s_Played.clear();
    GxNcCallbackSystemSound::SetSoundPlayer(&Record);
    GxNcCallbackSystemSound callback;
    GxNcSoundKey key;
    key.m_SoundName = L"se/hit.wav";
    EXPECT_FALSE(callback.OnSoundKey(nullptr, 0, 0, key));
    GxNcCallbackSystemSound::SetSoundPlayer(nullptr);
    EXPECT_FALSE(callback.OnSoundKey(nullptr, 0, 0, key));
    EXPECT_EQ(s_Played, std::vector<std::wstring>{L"sounds/se/hit.wav"});
}
