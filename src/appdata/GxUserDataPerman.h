#pragma once

#include <string>

class GxCore;

// Progress that outlives the save slots, kept in "permanent.dat".
class GxUserDataPerman
{
public:
    explicit GxUserDataPerman(GxCore* core);
    virtual ~GxUserDataPerman();

    bool Load(const std::wstring& path);
    bool Save(const std::wstring& path, bool binary);

    GxCore* m_Core;
};
