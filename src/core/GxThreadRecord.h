#pragma once

#include <cstdint>
#include <string>

class GxThreadObject;

// One event queued by a worker for the main thread.
struct GxThreadRecord
{
    static constexpr uint32_t KindMessage = 1;
    static constexpr uint32_t KindFinished = 2;

    uint32_t m_Kind = 0;
    std::wstring m_Name;
    GxThreadObject* m_Thread = nullptr;
    uint32_t m_Value1 = 0;
    uint32_t m_Value2 = 0;
};
