#pragma once

#include <cstdint>
#include <string>

class GxContentReaderBase;
class GxContentWriterBase;

// The state of one weekly command: unlock, cost factor and the script label it runs.
struct ZorCommandState
{
    int32_t m_ID = 0;
    int32_t m_Enabled = 0;
    int32_t m_ResourceMultiFactor = 1;
    std::wstring m_Label;

    bool Save(GxContentWriterBase& writer) const;
    void Load(GxContentReaderBase& reader);
};
