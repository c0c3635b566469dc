#include "strategy/ZorMovePathElement.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"

bool ZorMovePathElement::Save(GxContentWriterBase& writer) const
{
    return writer.Write("m_Macro", m_Macro) && writer.Write("m_PosX", m_PosX) && writer.Write("m_PosZ", m_PosZ) &&
           writer.Write("m_Time", m_Time);
}

void ZorMovePathElement::Load(GxContentReaderBase& reader)
{
    reader.Read("m_Macro", m_Macro);
    reader.Read("m_PosX", m_PosX);
    reader.Read("m_PosZ", m_PosZ);
    reader.Read("m_Time", m_Time);
}
