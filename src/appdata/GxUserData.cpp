#include "appdata/GxUserData.h"

// FIXME: the save-data model is still empty.
GxUserData::GxUserData(GxCore* core) : m_Core(core) {}

GxUserData::~GxUserData() = default;
