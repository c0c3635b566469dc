#pragma once

#include "core/GxProfile.h"

#include <cstdint>

// The profiler of the core: a time base in units of 1/10000 s and two tables of 50 entries. Nothing
// records into it yet; it is created, reset and deleted with the core.
class GxProfileEx : public GxProfile
{
public:
    static constexpr int kEntries = 50;

    struct Section
    {
        uint32_t m_Id;
        uint32_t m_Parent;
        uint32_t m_Count;
        wchar_t m_Name[256];
        double m_Start;
        double m_Total;
        double m_Last;
        uint32_t m_Flags;
    };
    struct Mark
    {
        uint16_t m_Id;
        wchar_t m_Name[256];
        double m_Time;
        double m_Total;
        double m_Last;
    };

    GxProfileEx();
    ~GxProfileEx() override;

    void Reset();
    // The clock in units of 1/10000 s.
    static double GetTime();

    double m_StartTime = 0.0;
    double m_LastTime = 0.0;
    Section m_Sections[kEntries];
    Mark m_Marks[kEntries];
};
