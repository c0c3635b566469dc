#pragma once

class GxCore;

// The adventure state that a save slot captures.
class GxUserData
{
public:
    explicit GxUserData(GxCore* core);
    virtual ~GxUserData();

    GxCore* m_Core;
};
