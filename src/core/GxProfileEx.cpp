#include "core/GxProfileEx.h"

#include "platform/PfClock.h"

#include <cstring>

GxProfileEx::GxProfileEx()
{
    std::memset(m_Sections, 0, sizeof m_Sections);
    std::memset(m_Marks, 0, sizeof m_Marks);
    Reset();
}

GxProfileEx::~GxProfileEx() = default;

double GxProfileEx::GetTime()
{
    return static_cast<double>(PfClock::GetTimeUs()) / 100.0;
}

void GxProfileEx::Reset()
{
    m_StartTime = GetTime();
    m_LastTime = m_StartTime;
    for (Section& s : m_Sections)
        s.m_Id = 0;
    for (Mark& m : m_Marks)
        m.m_Id = 0;
}
