#include "task/GxActionParam.h"

#include <cmath>

float GxActionParam::GetProgress() const
{
    float t = 1.0f;
    if (m_TimeTotal > 0)
    {
        t = static_cast<float>(m_TimeTotal - m_TimeLeft) / static_cast<float>(m_TimeTotal);
        if (t < 0.0f)
            t = 0.0f;
        if (t > 1.0f)
            t = 1.0f;
    }
    switch (m_InterMode)
    {
    case GX_INTER_EASE_OUT: // 1 - (1 - t)^(4k + 1), k = 0.4
        return 1.0f - std::pow(1.0f - t, 2.6f);
    case GX_INTER_EASE_IN: // t^(1 - 4k), k = -0.4
        return std::pow(t, 2.6f);
    case GX_INTER_SMOOTH:
        // 2 pi and 1 / (2 pi) as single-precision constants.
        return t - std::sin(6.2831854820251465f * t) * 0.15915493866300567f;
    default:
        return t;
    }
}

bool GxActionParam::Save(GxContentWriterBase* writer)
{
    // FIXME: "m_ActionType", "m_TimeLeft", "m_TimeTotal" (S32), "m_Start", "m_End" (Vector3),
    // "m_InterMode" (U32), "m_InterParam" (S32), "m_InitCompleted" (Bool) once the content writers land.
    (void)writer;
    return true;
}

bool GxActionParam::Load(GxContentReaderBase* reader)
{
    // FIXME: as Save, once the content readers land.
    (void)reader;
    return true;
}
