#include "strategy/ZorUnitState.h"

#include "core/GxContentReaderBase.h"
#include "core/GxContentWriterBase.h"
#include "core/GxLog.h"
#include "strategy/ZorUnitRecord.h"

bool ZorUnitState::Save(GxContentWriterBase& writer) const
{
    return writer.Write("m_ID", m_ID) && writer.Write("m_Enabled", m_Enabled) &&
           writer.Write("m_CaptureEnabled", m_CaptureEnabled) && writer.Write("m_FriendFlag", m_FriendFlag) &&
           writer.Write("m_KnockDownCount", m_KnockDownCount) && writer.Write("m_Level", m_Level) &&
           writer.Write("m_Exp", m_Exp) && writer.Write("m_UnitCreateCount", m_UnitCreateCount);
}

void ZorUnitState::Load(GxContentReaderBase& reader)
{
    reader.Read("m_ID", m_ID);
    reader.Read("m_Enabled", m_Enabled);
    reader.Read("m_CaptureEnabled", m_CaptureEnabled);
    reader.Read("m_FriendFlag", m_FriendFlag);
    reader.Read("m_KnockDownCount", m_KnockDownCount);
    reader.Read("m_Level", m_Level);
    reader.Read("m_Exp", m_Exp);
    reader.Read("m_UnitCreateCount", m_UnitCreateCount);
}

bool ZorUnitState::CheckLevels(const wchar_t* owner, size_t index) const
{
    auto refuse = [&](const wchar_t* what, int32_t value)
    {
        GxLog::Error(L"%s/範囲外の値です(%s=%d,UnitID=%d)\n", owner, what, value, static_cast<int32_t>(index));
        return false;
    };
    if (m_Level < 1 || m_Level > ZorUnitRecord::kMaxLevel)
        return refuse(L"m_Level", m_Level);
    if (m_Exp < 0 || m_Exp > ZorUnitRecord::kMaxExp)
        return refuse(L"m_Exp", m_Exp);
    return true;
}
