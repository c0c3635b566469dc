#pragma once

#include <cstdint>
#include <string>

// The player's options, kept in "userconf.dat" in the save folder.
class GxUserConfig
{
public:
    GxUserConfig();
    virtual ~GxUserConfig();

    void SetDefault();
    // False (defaults kept) when the file cannot be opened.
    bool Load(const std::wstring& path);
    bool Save(const std::wstring& path);

    int32_t m_ScreenMode = 0; // 1 = full screen
    // FIXME: only the four text options the message window reads; the rest of the player's options and
    // their storage come with the user configuration.
    int32_t m_TextWaitTime = 60;      // ms per typed character
    int32_t m_TextLongWaitTime = 480; // ms of a "%w" wait without a number
    bool m_FastShowReadedText = true;
    bool m_ChangeColorReadedText = true;
};
