#include "task/GxActionParam.h"

#include "task/GxActorXyz.h"

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
    if (!writer)
        return false;
    writer->Write("m_ActionType", m_ActionType);
    writer->Write("m_TimeLeft", m_TimeLeft);
    writer->Write("m_TimeTotal", m_TimeTotal);
    GxActorXyz::Write(writer, "m_Start", m_Start);
    GxActorXyz::Write(writer, "m_End", m_End);
    writer->Write("m_InterMode", m_InterMode);
    writer->Write("m_InterParam", m_InterParam);
    writer->Write("m_InitCompleted", m_InitCompleted);
    return writer->GetErrorCount() == 0;
}

bool GxActionParam::Load(GxContentReaderBase* reader)
{
    if (!reader)
        return false;
    reader->Read("m_ActionType", m_ActionType);
    reader->Read("m_TimeLeft", m_TimeLeft);
    reader->Read("m_TimeTotal", m_TimeTotal);
    GxActorXyz::Read(reader, "m_Start", m_Start);
    GxActorXyz::Read(reader, "m_End", m_End);
    reader->Read("m_InterMode", m_InterMode);
    reader->Read("m_InterParam", m_InterParam);
    reader->Read("m_InitCompleted", m_InitCompleted);
    return reader->GetErrorCount() == 0;
}
