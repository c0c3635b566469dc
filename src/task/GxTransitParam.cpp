#include "task/GxTransitParam.h"

bool GxTransitParam::Save(GxContentWriterBase* writer)
{
    // FIXME: "m_Transit" (Bool), "m_TransitTimeLeft", "m_TransitTimeTotal" (S32) once the content writers
    // are in the tree.
    (void)writer;
    return true;
}

bool GxTransitParam::Load(GxContentReaderBase* reader)
{
    // FIXME: as Save, once the content readers are in the tree.
    (void)reader;
    return true;
}

float GxTransitParam::GetProgress() const
{
    if (!m_Transit || m_TransitTimeTotal <= 0)
        return 1.0f;
    float p = static_cast<float>(m_TransitTimeTotal - m_TransitTimeLeft) / static_cast<float>(m_TransitTimeTotal);
    if (p < 0.0f)
        p = 0.0f;
    if (p > 1.0f)
        p = 1.0f;
    return p;
}
