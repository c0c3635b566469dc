#include "strategy/ZorGeometry.h"

GxVector4 ZorCellToWorld(int32_t x, int32_t z)
{
    return GxVector4(static_cast<float>((x - 21) * 20), 0.0f, static_cast<float>((z - 17) * 20), 0.0f);
}

ZorCell ZorWorldToCell(const GxVector4& p)
{
    return ZorCell{static_cast<int32_t>((p.x + 420.0f + 10.0f) / 20.0f),
                   static_cast<int32_t>((p.z + 340.0f + 10.0f) / 20.0f)};
}

ZorCell ZorDirToDelta(int32_t code)
{
    static const ZorCell s_Steps[9] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {0, 0}, {-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
    return (code >= 0 && code < 9) ? s_Steps[code] : ZorCell{};
}

int32_t ZorDeltaToDir(int32_t dx, int32_t dz)
{
    for (int32_t code = 0; code <= 4; ++code)
    {
        const ZorCell step = ZorDirToDelta(code);
        if (step.x == dx && step.z == dz)
            return code;
    }
    return -1;
}

namespace
{

const wchar_t* ClassName(int32_t unitClass, bool shortForm)
{
    static const wchar_t* const s_Long[13] = {L"",     L"戦鬼", L"死霊",   L"悪魔",   L"自然", L"戦士",  L"騎士",
                                              L"盗賊", L"忍者", L"魔導師", L"召喚師", L"司祭", L"退魔師"};
    static const wchar_t* const s_Short[13] = {L"",     L"戦鬼", L"死霊", L"悪魔", L"自然", L"戦士", L"騎士",
                                               L"盗賊", L"忍者", L"魔導", L"召喚", L"司祭", L"退魔"};
    if (unitClass == 20)
        return L"罠";
    if (unitClass < 1 || unitClass > 12)
        return L"";
    return shortForm ? s_Short[unitClass] : s_Long[unitClass];
}

} // namespace

std::wstring ZorGetUnitClassName(int32_t unitClass)
{
    return ClassName(unitClass, false);
}

std::wstring ZorGetUnitClassShortName(int32_t unitClass)
{
    return ClassName(unitClass, true);
}
