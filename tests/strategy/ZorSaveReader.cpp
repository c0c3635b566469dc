#include "ZorSaveReader.h"

#include "support/GameRun.h"

#include "appdata/DBTestSupport.h"
#include "core/GxString.h"
#include "strategy/ZorRoundData.h"
#include "strategy/ZorUserData.h"
#include "task/GxTaskBase.h"

ZorSaveReader::ZorSaveReader(const GameRun& run, std::initializer_list<const wchar_t*> extraLists)
    : m_SaveDir(run.SaveDir())
{
    const auto data = [&](const char* file) { return GxString::FromUtf8(run.GameDir() + "/data/" + file); };
    g_DBZorUnit.Load(data("db_zorunit.txt"));
    g_DBZorSkill.Load(data("db_zorskill.txt"));
    g_DBZorStruct.Load(data("db_zorstruct.txt"));
    g_DBZorEnemy.Load(data("db_zorenemy.txt"));
    g_DBZorTown.Load(data("db_zortown.txt"));
    auto* root = new GxTaskBase(&m_Manage);
    for (const wchar_t* name : {ZorCore::kUnitReadyList, ZorCore::kUnitPlayerList, ZorCore::kUnitEnemyList})
        new GxTaskBase(root, name);
    for (const wchar_t* name : extraLists)
        new GxTaskBase(root, name);
    m_Core = std::make_unique<ZorCore>(nullptr, &m_Manage);
}

ZorSaveReader::~ZorSaveReader()
{
    m_Core.reset();
    dbtest::ResetTables(g_DBZorUnit, g_DBZorSkill, g_DBZorStruct, g_DBZorEnemy, g_DBZorTown);
}

bool ZorSaveReader::Load(const std::string& file)
{
    Data().InitNewGame();
    return m_Core->LoadGameData(GxString::FromUtf8(m_SaveDir + "/" + file));
}

bool ZorSaveReader::LoadRound(ZorRoundData& round, const std::string& file)
{
    Data().InitNewGame();
    return m_Core->LoadRoundData(round, GxString::FromUtf8(m_SaveDir + "/" + file));
}

GxTaskBase* ZorSaveReader::First(const wchar_t* list)
{
    return m_Manage.FindTaskByName(list)->GetFirstChild();
}

std::vector<int64_t> ZorSaveReader::TaskIDs(const wchar_t* list)
{
    std::vector<int64_t> ids;
    for (GxTaskBase* t = First(list); t; t = t->GetNextSibling())
        ids.push_back(static_cast<int64_t>(t->GetTaskID()));
    return ids;
}
