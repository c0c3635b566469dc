#include "strategy/ZorCore.h"

#include "appdata/DBZorSkill.h"
#include "appdata/DBZorStruct.h"
#include "appdata/DBZorUnit.h"
#include "appdata/DBZorVoice.h"
#include "appdata/GxUserConfig.h"
#include "core/GxCore.h"
#include "core/GxRandom.h"
#include "core/GxString.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "task/GxTaskManage.h"

// The defence tick and what surrounds it: stage set-up and tear-down, victory and defeat, damage to the
// master, effects, the battle log and voices, and the passes over rooms and units.

ZorTaskUnitEntity* ZorCore::FindUnit(int64_t taskID) const
{
    if (taskID <= 0 || !m_TaskManage)
        return nullptr;
    return dynamic_cast<ZorTaskUnitEntity*>(m_TaskManage->FindTaskByID(static_cast<uint64_t>(taskID)));
}

std::vector<int64_t> ZorCore::SnapshotUnits(const wchar_t* name) const
{
    std::vector<int64_t> ids;
    if (GxTaskBase* list = FindList(name))
        for (GxTaskBase* t = list->GetFirstChild(); t; t = t->GetNextSibling())
            if (!t->IsDead() && dynamic_cast<ZorTaskUnitEntity*>(t))
                ids.push_back(static_cast<int64_t>(t->GetTaskID()));
    return ids;
}

int32_t ZorCore::GetRoomFloor(const ZorRoomState* room)
{
    return (room && room->m_MapRoom && room->m_MapRoom->m_Center) ? room->m_MapRoom->m_Center->m_FloorLevel : 0;
}

bool ZorCore::SkipBattleEffect() const
{
    return (m_Core && m_Core->m_UserConfig) ? m_Core->m_UserConfig->m_Game_SkipBattleEffect : m_SkipBattleEffect;
}

bool ZorCore::SkipSpecialAttackEffect() const
{
    return (m_Core && m_Core->m_UserConfig) ? m_Core->m_UserConfig->m_Game_SkipSpecialAttackEffect
                                            : m_SkipSpecialAttackEffect;
}

bool ZorCore::SkipBattleVoice() const
{
    return (m_Core && m_Core->m_UserConfig) ? m_Core->m_UserConfig->m_Game_SkipBattleVoice : m_SkipBattleVoice;
}

int32_t ZorCore::CheckDefenceEnd() const
{
    if (m_UserData->m_RemainEnemyLeft == 0)
        return 1;
    if (m_UserData->m_Resource_AstarosHP == 0)
        return 2;
    return 0;
}

int32_t ZorCore::UpdateDefence(int32_t ticks)
{
    int32_t run = 0;
    for (; run < ticks; ++run)
    {
        if (CheckDefenceEnd() != 0)
            break;
        UpdateRooms();
        UpdateRoomEffects();
        UpdateReadyUnits();
        UpdatePlayerUnits();
        UpdateEnemyUnits();
        UpdateEnemyArrival();
        ++m_UserData->m_TimerCount;
    }
    // Victory first: a tick in which both come to 0 is won.
    if (m_UserData->m_RemainEnemyLeft == 0)
    {
        if (m_UserData->m_GamePhase != 6)
            DefenceVictory();
    }
    else if (m_UserData->m_Resource_AstarosHP == 0 && m_UserData->m_GamePhase != 7)
        DefenceDefeat();
    return run;
}

void ZorCore::ClosingEffect(const wchar_t* name, int32_t voice, int32_t phase)
{
    m_Listener->OnCloseWindows(m_UserData->m_GamePhase);
    m_Listener->OnScreenEffect(name, 512.0f, 384.0f, 14100.0f);
    PlayVoice(45, voice, 1, 100);
    m_UserData->m_GamePhase = phase;
}

// The end of a stage closes any question still open, before the windows (which stay while it shows).
void ZorCore::DefenceVictory()
{
    m_Listener->OnCloseDialog();
    ClosingEffect(L"EFE_DEF_VICTORY", 17, 6);
    m_Listener->OnBGM(L"j04.ogg");
}

void ZorCore::DefenceDefeat()
{
    m_Listener->OnCloseDialog();
    ClosingEffect(L"EFE_DEF_DEFEATED", 18, 7);
}

void ZorCore::StartDefenceEffect()
{
    ClosingEffect(L"EFE_DEF_START", 16, 5);
}

bool ZorCore::DamageMaster(int32_t damage)
{
    int32_t& hp = m_UserData->m_Resource_AstarosHP;
    hp -= damage;
    m_Listener->OnOneShot(L"sounds/battle/damage_astaros.wav");
    if (hp <= 0)
    {
        hp = 0;
        AddTextLog(nullptr, L"我が敗れるというのか！");
    }
    else if (hp > 500)
        AddTextLog(nullptr, GxRandom::Next(32767) % 2 ? L"ふん、この程度か！" : L"くだらんな！");
    else
        AddTextLog(nullptr, GxRandom::Next(32767) % 2 ? L"くっ、なかなかやるではないか…" : L"ぐう、今のは効いたぞ…");
    return true;
}

void ZorCore::ClearEffects()
{
    for (const wchar_t* name : kEffectLists)
        if (GxTaskBase* layer = FindList(name))
            layer->KillChildren();
}

void ZorCore::ResetGame()
{
    ClearEffects();
    for (const wchar_t* name : {kUnitReadyList, kUnitPlayerList, kUnitEnemyList})
        ClearUnitList(FindList(name));
    m_UserData->InitNewGame();
}

void ZorCore::ClearCampaignTasks()
{
    for (const wchar_t* name :
         {kSavedUnitList, kInvEnemyList, kInvPlayerList, kUnitReadyList, kUnitPlayerList, kUnitEnemyList})
        ClearUnitList(FindList(name));
}

// Invaders still standing when a stage begins or ends were counted in their kind's create count from
// their spawn; those that had neither fallen nor left give it back here, so the count does not creep up.
void ZorCore::SweepInvaders()
{
    GxTaskBase* list = FindList(kUnitEnemyList);
    if (!list)
        return;
    for (GxTaskBase* t = list->GetFirstChild(); t; t = t->GetNextSibling())
    {
        auto* unit = dynamic_cast<ZorTaskUnitEntity*>(t);
        if (unit && !unit->IsBeingRemoved())
            if (ZorUnitState* type = m_UserData->GetUnitState(unit->m_UnitID))
                --type->m_UnitCreateCount;
        t->Kill();
    }
    if (m_TaskManage && list->GetFirstChild())
        m_TaskManage->DeleteDeadTasks(list->GetFirstChild());
}

void ZorCore::BeginDefence()
{
    ClearEffects();
    SweepInvaders();
    PlanDefenceInstance();
    m_UserData->ResetForDefence();
    m_UserData->RecountStructs();
    for (int64_t id : SnapshotUnits(kUnitPlayerList))
        FindUnit(id)->ResetForBattle();
    PlanEnemyArrivals(m_UserData->m_RemainEnemyTotal);
}

void ZorCore::EndDefence()
{
    ClearEffects();
    SweepInvaders();
    m_UserData->RecountStructs();
    for (const wchar_t* name : {kUnitPlayerList, kUnitReadyList})
        for (int64_t id : SnapshotUnits(name))
            FindUnit(id)->ResetForBattle();
    ZorUserData& s = *m_UserData;
    s.m_Inst_RushMode = 0;
    s.m_Inst_RushModeParam = 0;
    s.m_FirstUniquePartyID = 0;
    s.m_MiddleUniquePartyID = 0;
    s.m_TimerCount = 0;
    s.m_GameState = 0;
    s.m_GameUnitTab_ZOR = 0;
    s.m_GamePhase = 5;
}

void ZorCore::AddTextLog(const ZorRoomState* room, const std::wstring& text)
{
    if (room && room->m_MapRoom && room->m_MapRoom->m_Center)
        m_Listener->OnTextLog(GxString::Format(L"B%d-%d:%s", room->m_MapRoom->m_Center->m_FloorLevel + 1,
                                               room->m_MapRoom->m_Center->m_RoomNumber, text.c_str()));
    else
        m_Listener->OnTextLog(text);
}

void ZorCore::ShowEffect(const wchar_t* name, const GxVector4& position, float param)
{
    if (!SkipBattleEffect())
        m_Listener->OnMapEffect(name, position, param);
}

void ZorCore::ShowSpecialEffect(const std::wstring& file, const std::wstring& group, const std::wstring& motion,
                                float rate)
{
    if (!SkipSpecialAttackEffect())
        m_Listener->OnSpecialEffect(file, group, motion, rate);
}

bool ZorCore::IsSpecialEffectPlaying() const
{
    return !SkipSpecialAttackEffect() && m_Listener->IsSpecialEffectPlaying();
}

// Skipped voices draw nothing, so the random stream does not depend on the screens.
void ZorCore::PlayVoice(int32_t row, int32_t first, int32_t count, int32_t percent)
{
    if (SkipBattleVoice())
        return;
    if (GxRandom::Next(100) > percent)
        return;
    const int32_t i = GxRandom::Next(count) + first;
    const DBZorVoiceData* voice = g_DBZorVoice.GetRow(static_cast<uint32_t>(row));
    if (i < 0 || i >= 24 || voice->m_Voice[i].empty())
        return;
    m_Listener->OnVoice(voice->m_VoicePath + voice->m_Voice[i] + L".wav", voice->m_VoiceVolumeID);
}

void ZorCore::UpdateRooms()
{
    ZorUserData& s = *m_UserData;
    int32_t bone = 0;
    int32_t magic = 0;
    int32_t gold = 0;
    bool built = false;
    for (int32_t rz = 0; rz < ZorUserData::kRooms; ++rz)
        for (int32_t rx = 0; rx < ZorUserData::kRooms; ++rx)
        {
            ZorRoomState& room = *s.GetRoughRoom(rx, rz);
            std::fill(std::begin(room.m_RoomEffectLevels), std::end(room.m_RoomEffectLevels), 0);
            if (room.m_SpecialAttackRestrictTime > 0)
                --room.m_SpecialAttackRestrictTime;
            if (room.m_StructID == 0)
                continue;
            if (room.m_CreateTimeLeft > 0)
                --room.m_CreateTimeLeft;
            if (room.m_CreateTimeLeft == 0 && room.m_CreateTimeTotal >= 1)
            {
                room.m_CreateTimeTotal = 0;
                ShowEffect(L"EFE_BUILD_STRUCT",
                           GxVector4(static_cast<float>((rx - 5) * 80), 0.0f, static_cast<float>((rz - 4) * 80), 0.0f),
                           70.0f);
                AddTextLog(
                    &room,
                    GxString::Format(L"%sが完成したな",
                                     g_DBZorStruct.GetRow(static_cast<uint32_t>(room.m_StructID))->m_ShowName.c_str()));
                built = true;
            }
            if (room.m_CreateTimeLeft < 1 && s.m_TimerCount % 600 == 599)
            {
                const int32_t floor = GetRoomFloor(&room);
                if (room.m_StructID == 7)
                    bone += floor * 2 + 8;
                else if (room.m_StructID == 8)
                    magic += floor * 2 + 8;
                else if (room.m_StructID == 9)
                    gold += floor * 2 + 14;
            }
        }
    AddBone(bone, true);
    AddMagic(magic, true);
    AddGold(gold, true);
    if (built)
        s.RecountStructs();

    auto raise = [&](int32_t rx, int32_t rz, int32_t level, bool dugOnly)
    {
        ZorRoomState* room = s.GetRoughRoom(rx, rz);
        if (room && (!dugOnly || room->m_Extended))
            ++room->m_RoomEffectLevels[level];
    };
    for (int32_t rz = 0; rz < ZorUserData::kRooms; ++rz)
        for (int32_t rx = 0; rx < ZorUserData::kRooms; ++rx)
        {
            const ZorRoomState& room = *s.GetRoughRoom(rx, rz);
            if (room.m_CreateTimeLeft > 0)
                continue;
            const int32_t around[4][2] = {{rx, rz - 1}, {rx, rz + 1}, {rx - 1, rz}, {rx + 1, rz}};
            if (room.m_StructID == 11 || room.m_StructID == 12)
            {
                const int32_t level = room.m_StructID == 11 ? 1 : 7;
                raise(rx, rz, level, false);
                for (const auto& n : around)
                    raise(n[0], n[1], level, true);
            }
            else if (room.m_StructID == 15)
            {
                raise(rx, rz, 7, false);
                for (const auto& n : around)
                    raise(n[0], n[1], 8, true);
            }
        }
}

void ZorCore::UpdateRoomEffects()
{
    for (const wchar_t* name : {kUnitPlayerList, kUnitEnemyList})
    {
        const bool enemy = std::wstring(name) == kUnitEnemyList;
        for (int64_t id : SnapshotUnits(name))
        {
            ZorTaskUnitEntity* unit = FindUnit(id);
            ZorRoomState* room = unit ? unit->GetRoom() : nullptr;
            if (!room || !unit->IsUnitActive() || unit->IsTrap())
                continue;
            for (int32_t slot = 3; slot <= 4; ++slot)
            {
                const int32_t e =
                    g_DBZorSkill.GetRow(static_cast<uint32_t>(unit->m_Skills[slot].m_SkillID))->m_RoomEffect;
                if (e > 0 && e < ZorRoomState::kEffects && room->m_RoomEffectLevels[e] < 4)
                    ++room->m_RoomEffectLevels[e];
            }
            if (enemy)
                ++room->m_RoomEffectLevels[20];
            else if (static_cast<float>(unit->m_HP) / static_cast<float>(unit->GetMaxHP()) < 0.3f)
                ++room->m_RoomEffectLevels[21];
        }
    }
}

void ZorCore::UpdateReadyUnits()
{
    bool changed = false;
    for (int64_t id : SnapshotUnits(kUnitReadyList))
    {
        ZorTaskUnitEntity* unit = FindUnit(id);
        auto healed = [unit]
        { return unit->m_ArrangeTimeLeft <= 0 && unit->m_CreateTimeLeft <= 0 && !unit->NeedsRecovery(); };
        const bool before = healed();
        unit->UpdateRecovery();
        changed = changed || (healed() && !before);
    }
    if (changed)
        m_Listener->OnRefresh(ZorRulesListener::kRefreshUnitList);
}

void ZorCore::UpdatePlayerUnits()
{
    for (int64_t id : SnapshotUnits(kUnitPlayerList))
    {
        ZorTaskUnitEntity* unit = FindUnit(id);
        if (!unit || unit->IsBeingRemoved() || unit->GetParent() != FindList(kUnitPlayerList))
            continue;
        unit->UpdateDefence();
        if (!unit->IsBeingRemoved() && unit->GetParent() == FindList(kUnitPlayerList))
            unit->UpdateHitPoints();
    }
    ZorUserData& s = *m_UserData;
    const ZorStructState* workshop = s.GetStructState(6);
    const int32_t workshops = workshop ? workshop->m_RoomActiveCount : 0;
    for (int32_t rz = 0; rz < ZorUserData::kRooms; ++rz)
        for (int32_t rx = 0; rx < ZorUserData::kRooms; ++rx)
        {
            ZorRoomState& room = *s.GetRoughRoom(rx, rz);
            int32_t traps = 0;
            bool summoning = false;
            for (int32_t slot = 0; slot < 5; ++slot)
            {
                ZorTaskUnitEntity* unit = FindUnit(room.m_UnitEntityIDs[slot]);
                if (!unit || unit->IsBeingRemoved())
                    continue;
                if (unit->m_CreateTimeLeft > 0)
                {
                    // One unit summoned at a time per room; traps in parallel, one per working workshop.
                    if (unit->IsTrap())
                    {
                        if (traps < workshops)
                            unit->UpdateCreateTimer();
                        ++traps;
                    }
                    else if (!summoning)
                    {
                        summoning = true;
                        unit->UpdateCreateTimer();
                    }
                }
                if (unit->m_ArrangeTimeLeft > 0 && --unit->m_ArrangeTimeLeft == 0)
                {
                    unit->m_ArrangeTimeTotal = 0;
                    unit->m_AppearTimeLeft = unit->m_AppearTimeTotal;
                }
            }
        }
}

void ZorCore::UpdateEnemyUnits()
{
    GxTaskBase* list = FindList(kUnitEnemyList);
    for (int64_t id : SnapshotUnits(kUnitEnemyList))
    {
        ZorTaskUnitEntity* unit = FindUnit(id);
        if (!unit || unit->IsBeingRemoved() || unit->GetParent() != list)
            continue;
        unit->UpdateCreateTimer();
        if (unit->IsBeingRemoved())
            continue;
        unit->UpdateDefence();
        if (!unit->IsBeingRemoved())
            unit->UpdateHitPoints();
    }
}
