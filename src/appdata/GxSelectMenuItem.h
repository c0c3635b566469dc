#pragma once

#include <string>

// One item of the choice being offered.
class GxSelectMenuItem
{
public:
    void Reset()
    {
        m_Text.clear();
        m_Label.clear();
        m_Enable = true;
        m_Visible = true;
        m_BeforeSelected = false;
        m_UseGosub = false;
    }
    bool operator==(const GxSelectMenuItem&) const = default;

    std::wstring m_Text;  // button text
    std::wstring m_Label; // script label to go to
    bool m_Enable = true;
    bool m_Visible = true;
    bool m_BeforeSelected = false;
    bool m_UseGosub = false; // the label is called rather than jumped to
};
