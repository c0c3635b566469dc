#include "strategy/ZorCore.h"

#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorUnit.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/ZorGlobals.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "core/GxRandom.h"
#include "core/GxString.h"
#include "core/GxTime.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"

#include <algorithm>
#include <cmath>

// Who invades and when: the stage's difficulty from the player's strength, the queue of parties up to
// the stage's enemy total, and the arrival tick that spawns the front party. Every random draw is made
// in the order written here, since a seed must replay a stage.

namespace
{

// Bands of the normal party's rank R: < 7, 7-13, ..., 56-62, >= 63; columns k = 1..7.
const wchar_t* const s_NormalParties[10][7] = {
    {L"PTファイターX2", L"PTシーフX2", L"PTソーサラーX2", L"PTシャーマンX2", L"PTプリーストX2", L"PTファイターX3",
     L"PTソーサラーX3"},
    {L"PTファイターX3", L"PTシーフX3", L"PTソーサラーX3", L"PTシャーマンX3", L"PTプリーストX3", L"PTシャーマンX2",
     L"PTプリーストX2"},
    {L"PTファイターX3", L"PTシーフX3", L"PTソーサラーX3", L"PTシャーマンX3", L"PTプリーストX3", L"PTファイター強化X3",
     L"PTプリースト強化X3"},
    {L"PTファイター強化X3", L"PTシーフ強化X3", L"PTソーサラー強化X3", L"PTシャーマン強化X3", L"PTプリースト強化X3",
     L"PTガーディアンX3", L"PTメイガスX3"},
    {L"PTプリースト強化X3", L"PTガーディアンX3", L"PTパラディンX3", L"PT退魔師X3", L"PTメイガスX3", L"PTシノビX3",
     L"PTシャーマン強化X3"},
    {L"PTガーディアンX3", L"PTパラディンX3", L"PT退魔師X3", L"PTメイガスX3", L"PTシノビX3", L"PTシーフ強化X3",
     L"PTプリースト強化X3"},
    {L"PTガーディアン強化X2", L"PTパラディン強化X2", L"PT退魔師強化X2", L"PTメイガス強化X2", L"PTシノビ強化X2",
     L"PTシャーマン強化X3", L"PTプリースト強化X3"},
    {L"PTガーディアン強化X2", L"PTパラディン強化X2", L"PT退魔師強化X2", L"PTメイガス強化X2", L"PTシノビ強化X2",
     L"PTソーサラー強化X3", L"PTプリースト強化X3"},
    {L"PTガーディアン強化X3", L"PTパラディン強化X3", L"PT退魔師強化X3", L"PTメイガス強化X3", L"PTシノビ強化X3",
     L"PTシーフ強化X3", L"PTシャーマン強化X3"},
    {L"PTガーディアン強化X3", L"PTパラディン強化X3", L"PT退魔師強化X3", L"PTメイガス強化X3", L"PTシノビ強化X3",
     L"PT精鋭討伐隊", L"PT精鋭探索隊"},
};

// Bands of the rush rank R': < 15, 15-29, 30-44, 45-59, >= 60; columns k = 0..7.
const wchar_t* const s_RushParties[5][8] = {
    {L"PTファイターX4", L"PTシーフX4", L"PTソーサラーX4", L"PTシャーマンX4", L"PTプリーストX4", L"PT討伐隊",
     L"PT探索隊", L"PT盗賊隊"},
    {L"PT討伐隊", L"PT探索隊", L"PT盗賊隊", L"PTガーディアンX3", L"PTパラディンX3", L"PT退魔師X3", L"PTメイガスX3",
     L"PTシノビX3"},
    {L"PT精鋭討伐隊", L"PT精鋭探索隊", L"PT精鋭盗賊", L"PT精鋭司祭", L"PTガーディアン強化X2", L"PTメイガス強化X2",
     L"PT退魔師強化X2", L"PTシノビ強化X2"},
    {L"PTウォーロード", L"PTプロフェット", L"PTオーバーテイカー", L"PTトウリョウ", L"PT精鋭討伐隊", L"PT精鋭探索隊",
     L"PT精鋭盗賊", L"PT精鋭司祭"},
    {L"PTウォーロード", L"PTプロフェット", L"PTオーバーテイカー", L"PTトウリョウ", L"PTウォーロード", L"PTプロフェット",
     L"PTオーバーテイカー", L"PTウォーロード"},
};

const wchar_t* const s_VariantA[16] = {
    L"PT異形のガーディアンX3", L"PT異形のパラディンX3", L"PT異形の退魔師X3",         L"PT異形のメイガスX3",
    L"PT異形のシノビX3",       L"PT異形の討伐隊",       L"PT異形の探索隊",           L"PT異形の盗賊隊",
    L"PT異形の精鋭討伐隊",     L"PT異形の精鋭探索隊",   L"PT異形の精鋭盗賊",         L"PT異形の精鋭司祭",
    L"PT異形のウォーロード",   L"PT異形のプロフェット", L"PT異形のオーバーテイカー", L"PT異形のトウリョウ"};
const wchar_t* const s_VariantB[16] = {
    L"PT異形のファイターX4", L"PT異形のシーフX2", L"PT異形のソーサラーX2", L"PT異形のシャーマンX2",
    L"PT異形のプリーストX2", L"PT異形のシーフX4", L"PT異形のソーサラーX4", L"PT異形のファイターX4",
    L"PT異形のファイターX4", L"PT異形のシーフX4", L"PT異形のソーサラーX4", L"PT異形のシャーマンX4",
    L"PT異形のプリーストX4", L"PT異形の討伐隊",   L"PT異形の探索隊",       L"PT異形の盗賊隊"};
const wchar_t* const s_BossParties[5] = {L"PTイーガー御一行", L"PTリッチ御一行", L"PTダイダロス御一行",
                                         L"PTカラクード御一行", L"PTダリアン御一行"};

// A pass of the arrival plan that queues nothing this many times in a row means the named parties are
// missing or empty; the plan then stops instead of looping for ever.
constexpr int32_t kMaxIdlePasses = 64;

} // namespace

int32_t ZorCore::PickEntrance() const
{
    return GxRandom::Next(m_UserData->CountReadyEntrances());
}

int32_t ZorCore::PushNamedParty(const wchar_t* name, int32_t delay, int32_t low, int32_t high)
{
    const int32_t entrance = PickEntrance();
    return m_UserData->AddNextEnemy(name, entrance, delay, high, low);
}

void ZorCore::PlanDefenceInstance()
{
    ZorUserData& s = *m_UserData;
    int32_t towns = 0;
    for (int32_t i = 1; i <= 8; ++i)
        if (const ZorTownState* t = s.GetTownState(i); t && t->m_Occupied)
            ++towns;
    int32_t units = 0;
    float levels = 0.0f;
    for (const wchar_t* name : {kUnitReadyList, kUnitPlayerList})
        if (GxTaskBase* list = FindList(name))
            for (GxTaskBase* t = list->GetFirstChild(); t; t = t->GetNextSibling())
            {
                ++units;
                auto* unit = dynamic_cast<ZorTaskUnitEntity*>(t);
                const float multi = unit ? g_DBZorUnit.GetRow(static_cast<uint32_t>(unit->m_UnitID))->m_ExpMulti : 0.0f;
                if (unit && !unit->IsBeingRemoved() && multi > 0.01f)
                    levels += static_cast<float>(unit->m_Level) / multi;
            }
    const float avg = units > 0 ? levels / static_cast<float>(units) : 0.0f;
    const int32_t fel = s.m_FloorExtendLevel;
    const float a = std::max(0.7f, 2.0f - static_cast<float>(units) / 10.0f);
    const float b = std::max(0.7f, 1.0f - static_cast<float>(s.m_Resource_LeadershipUsing - 10) / 50.0f);
    const float c = std::max(0.7f, 1.0f - static_cast<float>(fel) / 5.0f);

    static const int32_t s_Base[9] = {1, 9, 15, 24, 40, 50, 55, 60, 70};
    int32_t elect = GxRandom::Next(3 * fel) + s_Base[std::min(towns, 8)];
    if (units < 10 && avg < 10.0f)
        elect = std::min(elect, 10);
    if (units < 20 && avg < 3.0f)
        elect = std::min(elect, 20);
    if (units < 30 && avg < 6.0f)
        elect = std::min(elect, 30);
    if (s.m_Notoriety)
        elect += 30;

    const int32_t r = GxRandom::Next(5);
    float difficulty = 1.0f;
    float pace = 1.0f;
    int32_t rushTimes = fel / 3 + 2;
    int32_t& total = s.m_RemainEnemyTotal;
    switch (s.m_Inst_RushMode)
    {
    case 1:
        total = std::min(total + r + fel + 5, 40);
        difficulty = 2.0f;
        pace = 0.6f;
        rushTimes = 4;
        break;
    case 2:
        total = std::min(total + r + fel + 10, 60);
        difficulty = 0.0f;
        pace = 0.5f;
        rushTimes = 4;
        break;
    case 3:
        if (s.m_Inst_RushModeParam > 0)
        {
            total = std::min(total + r + fel + 5, 40);
            difficulty = 2.0f;
            rushTimes = 3;
        }
        else
        {
            total = std::min(total + r + fel + 1, 30);
            difficulty = 1.5f;
            rushTimes = 2;
        }
        pace = 0.7f;
        break;
    default:
        total = std::max(total - 3 - r, 20);
        break;
    }
    if (s.m_Notoriety)
        total = std::max(total, 25);
    if (towns < 4 && fel == 0)
        difficulty *= 0.5f;
    else if (towns < 4 && fel == 1)
        difficulty *= 0.8f;
    if (s.m_Notoriety)
        difficulty *= 2.0f;
    s.m_Inst_Difficulty = difficulty;
    s.m_ElectLevel = elect;
    s.m_RashTimes = rushTimes + (s.m_EnemyPartyKind == 1 ? 1 : 0);
    s.m_AppearTimeMultiFactor = std::min(std::min(a, b), std::min(c, pace));
    s.m_GameProgress = towns / 2 + fel;
    s.m_RemainEnemyLeft = total;

    if (m_Core && m_Core->m_SystemConfig && m_Core->m_SystemConfig->m_DebugModeFlag)
    {
        GxLog::Debug(L"starttime:%s\n", GxTime::GetNowString().c_str());
        GxLog::Debug(L"totalunitcount:%d unitlevel_avg:%f towncount:%d\n", units, avg, towns);
        GxLog::Debug(L"m_AppearTimeMultiFactor:%f\n", s.m_AppearTimeMultiFactor);
        GxLog::Debug(L"m_Inst_Difficulty:%f\n", s.m_Inst_Difficulty);
        GxLog::Debug(L"m_ElectLevel:%d\n", s.m_ElectLevel);
        GxLog::Debug(L"m_RashTimes:%d\n", s.m_RashTimes);
        GxLog::Debug(L"\n");
    }
}

int32_t ZorCore::GetPartyLevel(int32_t party, int32_t rank) const
{
    float l = g_DBZorEnemy.GetRow(static_cast<uint32_t>(party))->m_LevelMultiFactor * static_cast<float>(rank);
    l = std::min(std::max(l, 1.0f), 30.0f);
    if (m_UserData->m_Notoriety)
        l += 3.0f;
    return static_cast<int32_t>(l);
}

int32_t ZorCore::PushNormalParty(int32_t size, bool first)
{
    ZorUserData& s = *m_UserData;
    int32_t rank = s.m_ElectLevel + 2 * size;
    if (s.m_Inst_Difficulty == 0.0f)
        rank /= 2;
    const int32_t entrance = PickEntrance();
    int32_t queued = 0;
    if (first)
    {
        const int32_t party = ZorGlobals::FindEnemy(L"PTファイターX3");
        const int32_t level = GetPartyLevel(party, rank);
        queued +=
            s.PushNextEnemy(party, entrance, static_cast<int32_t>(s.m_AppearTimeMultiFactor * 1440.0f), level, level);
    }
    const int32_t k = GxRandom::Next(8);
    if (k == 0)
        return queued;
    const int32_t band = rank < 7 ? 0 : std::min((rank - 7) / 7 + 1, 9);
    const int32_t party = ZorGlobals::FindEnemy(s_NormalParties[band][k - 1]);
    const int32_t low = size / 2 + GetPartyLevel(party, rank);
    return queued +
           s.PushNextEnemy(party, entrance, static_cast<int32_t>(s.m_AppearTimeMultiFactor * 800.0f), low + 1, low);
}

namespace
{

int32_t RushRank(const ZorUserData& s)
{
    int32_t rank = GxRandom::Next(5) + s.m_ElectLevel;
    if (s.m_Inst_Difficulty == 0.0f)
        rank /= 2;
    return rank;
}

} // namespace

int32_t ZorCore::PushRushParty()
{
    ZorUserData& s = *m_UserData;
    const int32_t rank = RushRank(s);
    const int32_t entrance = PickEntrance();
    const int32_t k = GxRandom::Next(8);
    const int32_t band = std::min(rank / 15, 4);
    const int32_t party = ZorGlobals::FindEnemy(s_RushParties[rank < 0 ? 0 : band][k]);
    const int32_t level = GetPartyLevel(party, s.m_ElectLevel + 3);
    return s.PushNextEnemy(party, entrance, static_cast<int32_t>(s.m_AppearTimeMultiFactor * 1500.0f), level + 2,
                           level);
}

int32_t ZorCore::PushVariantParty()
{
    ZorUserData& s = *m_UserData;
    const int32_t rank = RushRank(s);
    const int32_t entrance = PickEntrance();
    const bool strong = rank >= 50 && GxRandom::Next(3) != 0;
    const int32_t k = GxRandom::Next(16);
    const int32_t party = ZorGlobals::FindEnemy(strong ? s_VariantA[k] : s_VariantB[k]);
    const int32_t level = GetPartyLevel(party, s.m_ElectLevel + 3);
    return s.PushNextEnemy(party, entrance, static_cast<int32_t>(s.m_AppearTimeMultiFactor * 1500.0f), level + 2,
                           level);
}

int32_t ZorCore::PushBossParty()
{
    ZorUserData& s = *m_UserData;
    GxRandom::Next(5); // drawn and discarded; kept so a seed replays the same stage
    const int32_t entrance = PickEntrance();
    const int32_t party = ZorGlobals::FindEnemy(s_BossParties[GxRandom::Next(5)]);
    const int32_t level = GetPartyLevel(party, s.m_ElectLevel + 3);
    return s.PushNextEnemy(party, entrance, static_cast<int32_t>(s.m_AppearTimeMultiFactor * 1500.0f), level + 1,
                           level);
}

int32_t ZorCore::PushPartyByID(int32_t party)
{
    ZorUserData& s = *m_UserData;
    const int32_t g = s.m_GameProgress;
    int32_t low = std::clamp(g, 1, 16);
    int32_t high = g != 0 ? std::clamp(g + 2, 1, 16) : low;
    const int32_t entrance = PickEntrance();
    if (s.m_Notoriety)
    {
        high += 15;
        low += 8;
    }
    return s.PushNextEnemy(party, entrance, static_cast<int32_t>(s.m_AppearTimeMultiFactor * 1500.0f), high, low);
}

bool ZorCore::PickMiddleUniqueParty()
{
    ZorUserData& s = *m_UserData;
    for (int32_t n = 0; n < 20; ++n)
    {
        const int32_t i = GxRandom::Next(9) + 57;
        if (const ZorEnemyPartyState* p = s.GetEnemyPartyState(i); p && p->m_AutoAppear)
        {
            s.m_MiddleUniquePartyID = i;
            return true;
        }
    }
    for (int32_t i = 57; i <= 65; ++i)
        if (const ZorEnemyPartyState* p = s.GetEnemyPartyState(i); p && p->m_AutoAppear)
        {
            s.m_MiddleUniquePartyID = i;
            return true;
        }
    return false;
}

void ZorCore::PlanEnemyArrivals(int32_t total)
{
    ZorUserData& s = *m_UserData;
    s.m_NextEnemies.clear();
    if (s.m_FirstUniquePartyID == 0 && s.m_MiddleUniquePartyID == 0)
    {
        const float d = s.m_Inst_Difficulty;
        if (d >= 1.5f || (d > 1.0f ? GxRandom::Next(100) <= 75 : GxRandom::Next(100) <= 50))
            PickMiddleUniqueParty();
    }
    const int32_t step = s.m_RashTimes != 0 ? total / (s.m_RashTimes + 1) : 0;
    int32_t next = step;
    bool first = true;
    int32_t n = 0;
    int32_t rush = 0;
    if (s.m_FirstUniquePartyID != 0)
    {
        n = PushPartyByID(s.m_FirstUniquePartyID);
        first = false;
    }
    int32_t idle = 0;
    for (int32_t angle = 0; n < total; angle += 12)
    {
        const int32_t before = n;
        const float radians = static_cast<float>(angle) * 3.14159265f / 180.0f;
        const int32_t size = static_cast<int32_t>(std::fabs(std::sin(radians)) * 4.0f * s.m_Inst_Difficulty);
        n += PushNormalParty(size, first);
        if (n >= next && rush < s.m_RashTimes)
        {
            if (rush == s.m_RashTimes - 1 && s.m_MiddleUniquePartyID != 0)
                n += PushPartyByID(s.m_MiddleUniquePartyID);
            else if (rush == 0 && s.m_Notoriety && s.m_GameProgress >= 2 && GxRandom::Next(100) < 60)
                n += PushBossParty();
            else
                n += s.m_EnemyPartyKind == 0 ? PushRushParty() : PushVariantParty();
            next += step;
            ++rush;
            first = false;
        }
        if (s.m_Notoriety && s.m_AstarosWeekLimit % 10 == 5)
            PushRushParty();
        idle = n == before ? idle + 1 : 0;
        if (idle >= kMaxIdlePasses)
        {
            GxLog::Error(L"ZorCore::PlanEnemyArrivals/敵パーティを追加できません(%d/%d)\n", n, total);
            break;
        }
    }
}

void ZorCore::UpdateEnemyArrival()
{
    ZorUserData& s = *m_UserData;
    if (s.m_NextEnemies.size() < 3)
    {
        const int32_t entrance = PickEntrance();
        const int32_t k = GxRandom::Next(5);
        static const wchar_t* const s_Notorious[5] = {L"PT異形のガーディアンX3", L"PT異形のパラディンX3",
                                                      L"PT異形の退魔師X3", L"PT異形のメイガスX3", L"PT異形のシノビX3"};
        static const wchar_t* const s_Plain[5] = {L"PTファイターX3", L"PTシーフX3", L"PTソーサラーX2",
                                                  L"PTシャーマンX2", L"PTプリーストX2"};
        if (s.m_Notoriety)
            s.AddNextEnemy(s_Notorious[k], entrance, 2000, 15, 13);
        else
            s.AddNextEnemy(s_Plain[k], entrance, 1200, 3, 1);
    }
    if (s.m_NextEnemies.empty())
        return;
    if (--s.m_NextEnemies.front().m_AppearFramesLeft > 0)
        return;
    const ZorNextEnemy front = s.m_NextEnemies.front();
    SpawnEnemyParty(front);
    AddTextLog(nullptr, GxString::Format(L"冒険者が%d人侵入したぞ", front.m_PartyNum));
    m_Listener->OnOneShot(L"sounds/battle/sinnyuu.wav");
    s.m_NextEnemies.pop_front();
    for (size_t i = 0; i < s.m_NextEnemies.size(); ++i)
    {
        s.m_NextEnemies[i].m_Pos = GxVector2(static_cast<float>(i) * 64.0f + 105.0f, 14.0f);
        s.m_NextEnemies[i].m_Time = 0.0f;
    }
}

void ZorCore::SpawnEnemyParty(const ZorNextEnemy& entry)
{
    ZorUserData& s = *m_UserData;
    GxTaskBase* list = FindList(kUnitEnemyList);
    const ZorMapData* map = s.GetMapData();
    if (!list || !map)
        return;
    const ZorMapData::RoomPos pos = map->GetEntrancePos(entry.m_EntranceIndex);
    const DBZorEnemyData* party = g_DBZorEnemy.GetRow(static_cast<uint32_t>(entry.m_PartyID));
    for (int32_t slot = 0; slot < 5; ++slot)
    {
        if (party->m_UnitName[slot].empty())
            continue;
        const int32_t unitID = ZorGlobals::FindUnit(party->m_UnitName[slot]);
        const int32_t level =
            slot == 0 ? entry.m_LevelHigh : GxRandom::Next(entry.m_LevelHigh - entry.m_LevelLow) + entry.m_LevelLow;
        const int32_t ai = party->m_AIType != 0 ? party->m_AIType : GxRandom::Next(3) + 1;
        auto* unit = new ZorTaskUnitEntity(list);
        unit->SetTaskID(static_cast<uint64_t>(TakeNextUnitTaskID()));
        unit->InitAsEnemyUnit(unitID, level, pos.m_RX, pos.m_RZ, slot + 1, ai, 30 * slot);
        unit->m_EnemyPartyID = entry.m_PartyID;
        unit->m_EnemyLeaderFlag = slot == 0 ? 1 : 0;
        if (g_DBZorUnit.GetRow(static_cast<uint32_t>(unitID))->m_UniqueFlag)
        {
            s.m_Capture_UnitID = unitID;
            s.m_Capture_Result = 0;
        }
        if (ZorUnitState* type = s.GetUnitState(unitID))
            ++type->m_UnitCreateCount;
    }
}
