#include "strategy/ZorNcPoolUnit.h"

#include "appdata/DBZorUnit.h"
#include "core/GxLog.h"
#include "strategy/ZorNcProjectSource.h"

namespace
{

struct Pool
{
    std::vector<ZorNcPoolUnit::Entry> m_Entries;
    int32_t m_LoadIndex = 0;
    ZorNcProjectSource* m_Source = nullptr;
};

Pool& Units()
{
    static Pool s_Pool;
    return s_Pool;
}

const DBZorUnitData* Row(int32_t i)
{
    return g_DBZorUnit.GetRow(static_cast<uint32_t>(i));
}

} // namespace

void ZorNcPoolUnit::SetProjectSource(ZorNcProjectSource* source)
{
    Units().m_Source = source;
}

ZorNcProjectSource* ZorNcPoolUnit::GetProjectSource()
{
    return Units().m_Source;
}

void ZorNcPoolUnit::Initialize()
{
    Units().m_Entries.assign(kUnitCount, Entry());
    Units().m_LoadIndex = 0;
}

int32_t ZorNcPoolUnit::PrepareLoading(const std::wstring& projectDir, const std::wstring& textureDir)
{
    Pool& pool = Units();
    if (pool.m_Entries.size() != static_cast<size_t>(kUnitCount))
        Initialize();
    int32_t i = pool.m_LoadIndex;
    if (i >= kUnitCount)
        return 0;
    Entry& entry = pool.m_Entries[i];
    const DBZorUnitData* row = Row(i);
    if (!entry.m_Project && !row->m_GNCName.empty() && !row->m_MotionGroup.empty() && pool.m_Source)
    {
        entry.m_Project = pool.m_Source->GetProject(projectDir + row->m_GNCName, textureDir);
        if (!entry.m_Project)
            GxLog::Error(L"ZorNcPoolUnit::PrepareLoading プロジェクト読み込み失敗[%s]\n", row->m_GNCName.c_str());
        else
        {
            const std::wstring names[kMotions] = {row->m_Motion_stand.empty() ? L"stand" : row->m_Motion_stand,
                                                  row->m_Motion_attack.empty() ? L"attack" : row->m_Motion_attack,
                                                  L"damage", L"walk"};
            for (int32_t m = 0; m < kMotions; ++m)
                entry.m_Motions[m] = pool.m_Source->FindMotion(entry.m_Project, row->m_MotionGroup, names[m]);
        }
    }
    ++i;
    while (i < kUnitCount && Row(i)->m_GNCName.empty())
        ++i;
    pool.m_LoadIndex = i;
    return kUnitCount - i;
}

void ZorNcPoolUnit::ReleaseAll()
{
    Pool& pool = Units();
    for (Entry& e : pool.m_Entries)
    {
        if (e.m_Project && pool.m_Source)
            pool.m_Source->ReleaseProject(e.m_Project);
        e = Entry();
    }
    pool.m_LoadIndex = 0;
}

const ZorNcPoolUnit::Entry* ZorNcPoolUnit::GetEntry(int32_t unitID)
{
    const Pool& pool = Units();
    if (unitID < 0 || static_cast<size_t>(unitID) >= pool.m_Entries.size())
        return nullptr;
    return &pool.m_Entries[unitID];
}

int32_t ZorNcPoolUnit::GetMotionLength(int32_t unitID, int32_t motion)
{
    const Entry* e = GetEntry(unitID);
    const Pool& pool = Units();
    if (!e || motion < 0 || motion >= kMotions || !e->m_Motions[motion] || !pool.m_Source)
        return 0;
    return pool.m_Source->GetMotionLength(e->m_Motions[motion]);
}

bool ZorNcPoolUnit::GetStandingHeight(int32_t unitID, float& height)
{
    const Entry* e = GetEntry(unitID);
    const Pool& pool = Units();
    if (!e || !e->m_Project || !e->m_Motions[0] || !pool.m_Source)
        return false;
    return pool.m_Source->GetMotionHeight(e->m_Project, e->m_Motions[0], height);
}

int32_t ZorNcPoolUnit::GetLoadIndex()
{
    return Units().m_LoadIndex;
}
