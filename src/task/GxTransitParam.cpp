#include "task/GxTransitParam.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"

bool GxTransitParam::Save(GxContentWriterBase* writer)
{
    if (!writer)
        return false;
    writer->Write("m_Transit", m_Transit);
    writer->Write("m_TransitTimeLeft", m_TransitTimeLeft);
    writer->Write("m_TransitTimeTotal", m_TransitTimeTotal);
    return writer->GetErrorCount() == 0;
}

bool GxTransitParam::Load(GxContentReaderBase* reader)
{
    if (!reader)
        return false;
    reader->Read("m_Transit", m_Transit);
    reader->Read("m_TransitTimeLeft", m_TransitTimeLeft);
    reader->Read("m_TransitTimeTotal", m_TransitTimeTotal);
    return reader->GetErrorCount() == 0;
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
