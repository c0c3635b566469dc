#include "appdata/GxUserDataPerman.h"

GxUserDataPerman::GxUserDataPerman(GxCore* core) : m_Core(core) {}

GxUserDataPerman::~GxUserDataPerman() = default;

// FIXME: the progress record is not read or written yet.
bool GxUserDataPerman::Load(const std::wstring&)
{
    return false;
}

bool GxUserDataPerman::Save(const std::wstring&, bool)
{
    return false;
}
