#include "appdata/GxUserConfig.h"

GxUserConfig::GxUserConfig()
{
    SetDefault();
}

GxUserConfig::~GxUserConfig() = default;

void GxUserConfig::SetDefault()
{
    m_ScreenMode = 0;
    m_Volume_Master = 100;
    m_Volume_BGM = 80;
    m_Volume_BGV = 100;
    m_Volume_System = 100;
    m_Volume_Sound = 100;
    m_Volume_Movie = 100;
    m_Volume_RestrainBGM = 100;
    m_Volume_VoiceMaster = 100;
    for (int32_t& level : m_Volume_Voice)
        level = 100;
}

// FIXME: the options record is not read or written yet; the defaults hold for every run.
bool GxUserConfig::Load(const std::wstring&)
{
    return false;
}

bool GxUserConfig::Save(const std::wstring&)
{
    return false;
}
