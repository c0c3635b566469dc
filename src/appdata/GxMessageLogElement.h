#pragma once

#include <cstdint>
#include <string>

// One entry of the message log the backlog shows, with the four voices that were recorded when the
// message was shown.
class GxMessageLogElement
{
public:
    static constexpr int kVoiceSlots = 4;

    bool operator==(const GxMessageLogElement&) const = default;

    std::wstring m_Name;
    std::wstring m_Message;
    bool m_IgnoreKinsoku = false;
    bool m_DisenableAutoNewline = false;
    bool m_ShowNameByText = true;
    std::wstring m_VoiceFileName[kVoiceSlots];
    int32_t m_VoiceCharID[kVoiceSlots] = {};
};
