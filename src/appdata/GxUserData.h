#pragma once

#include <cstdint>

class GxCore;

// The adventure state that a save slot captures.
class GxUserData
{
public:
    explicit GxUserData(GxCore* core);
    virtual ~GxUserData();

    GxCore* m_Core;
    // The answer of the last user dialog: 1 yes or ok, 0 no or cancel.
    int32_t m_DialogResult = 0;
};
