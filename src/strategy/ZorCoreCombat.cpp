#include "strategy/ZorCore.h"

#include "appdata/DBZorSkill.h"
#include "appdata/DBZorUnit.h"
#include "core/GxRandom.h"
#include "strategy/ZorRoomState.h"
#include "strategy/ZorTaskUnitEntity.h"

// How a skill hit is resolved. Everything is 32-bit float arithmetic truncated toward zero; a chance p
// succeeds when random(1000) < p x 1000. L[i] is the room's effect level i (0 without a room).

namespace
{

const DBZorSkillData* Skill(int32_t id)
{
    return g_DBZorSkill.GetRow(static_cast<uint32_t>(id));
}

const DBZorUnitData* Row(const ZorTaskUnitEntity& unit)
{
    return g_DBZorUnit.GetRow(static_cast<uint32_t>(unit.m_UnitID));
}

float Level(const ZorRoomState* room, int32_t i)
{
    return room ? static_cast<float>(room->m_RoomEffectLevels[i]) : 0.0f;
}

bool Working(const ZorRoomState* room, int32_t structID)
{
    return room && room->m_StructID == structID && room->m_CreateTimeLeft <= 0;
}

float Def(const ZorTaskUnitEntity& unit, int32_t cell)
{
    return static_cast<float>(Row(unit)->m_DefRate[cell]);
}

bool Chance(float p)
{
    return static_cast<float>(GxRandom::Next(1000)) < p * 1000.0f;
}

// Slayer passives 20-27 and the classes each one is against.
bool SlayerCovers(int32_t code, int32_t targetClass)
{
    switch (code)
    {
    case 20:
        return targetClass == 5 || targetClass == 6;
    case 21:
        return targetClass == 7 || targetClass == 8;
    case 22:
        return targetClass == 9 || targetClass == 10;
    case 23:
        return targetClass == 11 || targetClass == 12;
    default:
        return code >= 24 && code <= 27 && targetClass == code - 23;
    }
}

// The slayer bonus to damage: 0.4 for code 20, 0.2 for each of 21-27 that covers the target.
float SlayerDamage(const ZorTaskUnitEntity& attacker, const ZorTaskUnitEntity& target)
{
    float f = 0.0f;
    const int32_t targetClass = Row(target)->m_Class;
    for (int32_t code = 20; code <= 27; ++code)
        if (attacker.HasSkillSpecialType(code) && SlayerCovers(code, targetClass))
            f += code == 20 ? 0.4f : 0.2f;
    return f;
}

// The element factor shared by trap and unit hit chances.
float HitElement(int32_t element, const ZorTaskUnitEntity& target, float h)
{
    if (element == 1)
        return (100.0f - Def(target, 4) * h) / 100.0f;
    if (element >= 2 && element <= 4)
        return (100.0f - Def(target, 4) * h / 3.0f) / 100.0f;
    return 1.0f;
}

float Power(int32_t skill, const ZorTaskUnitEntity& attacker)
{
    return static_cast<float>(Skill(skill)->m_Power) * static_cast<float>(attacker.GetAttack()) / 100.0f;
}

int32_t AtLeastOne(float d)
{
    const int32_t n = static_cast<int32_t>(d);
    return n < 1 ? 1 : n;
}

} // namespace

bool ZorCore::CheckTrapHit(int32_t skill, const ZorRoomState* room, const ZorTaskUnitEntity& target)
{
    const float h = target.IsStatusOn(kStatusDazed) ? 0.5f : 1.0f;
    const float e = HitElement(Skill(skill)->m_Element, target, h);
    float p = (100.0f - Def(target, 3) * h) / 100.0f * e + 0.1f * Level(room, 4);
    if (Working(room, 13))
        p += 0.25f;
    if (target.IsStatusOn(kStatusStun))
        p = 1.0f;
    return Chance(p);
}

bool ZorCore::CheckUnitHit(int32_t skill, const ZorTaskUnitEntity& target, const ZorTaskUnitEntity& attacker)
{
    const float hT = target.IsStatusOn(kStatusDazed) ? 0.5f : 1.0f;
    const float hA = attacker.IsStatusOn(kStatusDazed) ? 0.5f : 1.0f;
    float e = HitElement(Skill(skill)->m_Element, target, hT);
    if (target.IsStatusOn(kStatusStun))
        e = 1.0f;
    float p = hA * e;
    const int32_t targetClass = Row(target)->m_Class;
    for (int32_t code = 20; code <= 27; ++code)
        if (attacker.HasSkillSpecialType(code) && SlayerCovers(code, targetClass))
            p += 0.2f;
    if (attacker.IsStatusOn(kStatusSeal) && Skill(skill)->m_SealFlag)
        p *= 0.2f;
    return Chance(p);
}

int32_t ZorCore::RollSpecialEffect(int32_t skill, const ZorTaskUnitEntity& target)
{
    const DBZorSkillData* s = Skill(skill);
    const int32_t type = s->m_SpecialType;
    if (target.IsTrap() || type == 0 || s->m_Type != 1)
        return 0;
    float p = static_cast<float>(s->m_SpecialRate) / 100.0f;
    auto has = [&](std::initializer_list<int32_t> codes)
    {
        for (int32_t c : codes)
            if (target.HasSkillSpecialType(c))
                return true;
        return false;
    };
    switch (type)
    {
    case 1:
        if (has({12, 13, 15, 17}))
            return 0;
        if (has({10, 11}))
            p *= 0.1f;
        break;
    case 2:
        if (has({17}))
            return 0;
        if (has({10, 11}))
            p *= 0.3f;
        break;
    case 3:
        if (has({12, 14, 17}))
            return 0;
        if (has({10, 11}))
            p *= 0.2f;
        break;
    case 4:
        if (has({17, 11}))
            return 0;
        if (has({10}))
            p *= 0.1f;
        break;
    case 5:
        if (has({17}))
            return 0;
        if (has({10, 11}))
            p *= 0.5f;
        break;
    case 6:
        if (has({10, 11, 13, 14, 16, 17}))
            return 0;
        break;
    default:
        break;
    }
    return Chance(p) ? type : 0;
}

int32_t ZorCore::CalcTrapDamage(int32_t skill, const ZorRoomState* room, const ZorTaskUnitEntity& target,
                                const ZorTaskUnitEntity& trap) const
{
    const float power = Power(skill, trap);
    float m = target.IsStatusOn(kStatusDazed) ? 1.3f : 1.0f;
    const float h5 = target.IsStatusOn(kStatusBreak) ? 0.5f : 1.0f;
    switch (Skill(skill)->m_Element)
    {
    case 1:
        m = m * (100.0f - Def(target, 0) * h5) / 100.0f;
        break;
    case 2:
        m = m * (100.0f - Def(target, 1)) / 100.0f;
        break;
    case 3:
        m = m * (100.0f - Def(target, 2)) / 100.0f;
        break;
    case 4:
        m = Def(target, 2) >= 30.0f ? m * (Def(target, 2) + 70.0f) / 100.0f : m * (100.0f - Def(target, 0)) / 100.0f;
        break;
    default:
        break;
    }
    if (Working(room, 13))
        m += 0.5f;
    const float d = power * ((100.0f - Def(target, 3)) / 100.0f * m + 0.05f * Level(room, 4));
    return AtLeastOne(d);
}

int32_t ZorCore::CalcDamage(int32_t skill, const ZorTaskUnitEntity& attacker, const ZorRoomState* room,
                            const ZorTaskUnitEntity& target) const
{
    const float power = Power(skill, attacker);
    const float h5 = target.IsStatusOn(kStatusBreak) ? 0.5f : 1.0f;
    float f = 1.0f;
    switch (Skill(skill)->m_Element)
    {
    case 1:
        f = (100.0f - Def(target, 0) * h5) / 100.0f * (1.0f - 0.1f * Level(room, 16));
        break;
    case 2:
        f = (100.0f - Def(target, 1)) / 100.0f * (1.0f - 0.1f * Level(room, 17));
        break;
    case 3:
        f = (100.0f - Def(target, 2)) / 100.0f;
        break;
    case 4:
        f = Def(target, 2) >= 30.0f ? (Def(target, 2) + 70.0f) / 100.0f : (100.0f - Def(target, 0)) / 100.0f;
        break;
    default:
        break;
    }
    f += 0.1f * Level(room, 7);
    f += SlayerDamage(attacker, target);
    if (attacker.HasSkillSpecialType(32))
        f += 0.2f;
    return AtLeastOne(power * f);
}

int32_t ZorCore::CalcEnemyDamage(int32_t skill, const ZorTaskUnitEntity& target, const ZorRoomState* room,
                                 const ZorTaskUnitEntity& attacker) const
{
    const float power = Power(skill, attacker);
    const float h5 = target.IsStatusOn(kStatusBreak) ? 0.5f : 1.0f;
    float f = 1.0f;
    switch (Skill(skill)->m_Element)
    {
    case 1:
        f = (100.0f - Def(target, 0) * h5) / 100.0f;
        if (Level(room, 2) != 0.0f)
            f *= 0.8f - 0.1f * Level(room, 2);
        break;
    case 2:
        f = (100.0f - Def(target, 1)) / 100.0f * (1.0f - 0.05f * Level(room, 12));
        if (Level(room, 4) != 0.0f)
            f *= 0.8f - 0.2f * Level(room, 4);
        break;
    case 3:
        f = (100.0f - Def(target, 2)) / 100.0f * (1.0f - 0.07f * Level(room, 6));
        break;
    case 4:
        f = Def(target, 2) >= 30.0f ? (Def(target, 2) + 70.0f) / 100.0f : (100.0f - Def(target, 0)) / 100.0f;
        break;
    default:
        break;
    }
    f -= 0.1f * Level(room, 7);
    f += SlayerDamage(attacker, target);
    if (attacker.HasSkillSpecialType(32))
        f += 0.2f;
    if (target.IsTrap() && Working(room, 13))
        f *= 0.4f;
    float d = power * f;
    const float cap = 0.95f * static_cast<float>(target.GetMaxHP());
    if (d > cap)
        d = cap;
    return AtLeastOne(d);
}
