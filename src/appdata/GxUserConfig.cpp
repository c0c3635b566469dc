#include "appdata/GxUserConfig.h"

GxUserConfig::GxUserConfig()
{
    SetDefault();
}

GxUserConfig::~GxUserConfig() = default;

void GxUserConfig::SetDefault()
{
    m_ScreenMode = 0;
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
