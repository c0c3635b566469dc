#include "strategy/screens/ZorTaskStrParamView.h"

#include "core/GxString.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorUserData.h"

#include <algorithm>

namespace
{

// The bitmap fonts' order at start-up.
constexpr int kFont8Num = 1;
constexpr int kFont16Num = 2;
constexpr int kFont16Ansi = 3;
constexpr int kFont24Num = 4;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kGrey = 0xFF808080;

int32_t ActiveCount(const ZorUserData& s, size_t index)
{
    return index < s.m_StructStates.size() ? s.m_StructStates[index].m_RoomActiveCount : 0;
}

// Five digits do not fit the wide font: from 10000 up the narrow one takes six places.
ZorTaskStrParamView::Text Resource(int32_t value, float x)
{
    if (value < 10000)
        return {GxString::Format(L"%4d", value), kFont16Num, x, 630.0f, kWhite};
    return {GxString::Format(L"%6d", value), kFont8Num, x, 630.0f, kWhite};
}

} // namespace

ZorTaskStrParamView::ZorTaskStrParamView(GxTaskBase* parent, const wchar_t* globalName)
    : GxTaskBase(parent, globalName)
{
}

ZorTaskStrParamView::~ZorTaskStrParamView() = default;

void ZorTaskStrParamView::Layout(const ZorUserData& s, Text out[kTexts])
{
    out[0] = Resource(s.m_Resource_Bone, 794.0f);
    out[1] = Resource(s.m_Resource_Magic, 847.0f);
    out[2] = Resource(s.m_Resource_Gold, 900.0f);
    out[3] = {GxString::Format(L"%3d/", s.m_Resource_LeadershipUsing), kFont16Num, 952.0f, 616.0f, kWhite};
    const int32_t max = s.m_FloorExtendLevel * 50 + 20 * ActiveCount(s, 15) + s.m_Resource_LeadershipBase;
    out[4] = {GxString::Format(L"%3d", max), kFont16Num, 962.0f, 632.0f, kWhite};
    for (int i = 0; i < 4; ++i)
    {
        const int32_t level = ActiveCount(s, static_cast<size_t>(2 + i));
        // Facility 2 stays white at level 0; the others grey out while none is built.
        const uint32_t colour = i > 0 && level == 0 ? kGrey : kWhite;
        out[5 + i] = {GxString::Format(L"LV%d", level), kFont16Ansi, 797.0f + 53.0f * static_cast<float>(i), 685.0f,
                      colour};
    }
    out[9] = {GxString::Format(L"%2d", std::min(s.m_AstarosWeekLimit, 99)), kFont24Num, 27.0f, 37.0f, kWhite};
}

int32_t ZorTaskStrParamView::RegisterDraw(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    ZorPanelText::Register(this);
    return 0;
}

int32_t ZorTaskStrParamView::Draw(int32_t param, int32_t layer)
{
    (void)param, (void)layer;
    ZorCore* core = ZorCore::GetInstance();
    if (!core)
        return 0;
    const GxVector4 pos = GetWorldPos();
    Text texts[kTexts];
    Layout(*core->GetUserData(), texts);
    ZorPanelText::DrawAll(texts, kTexts, pos.x, pos.y);
    return 0;
}

GxVector4 ZorTaskStrParamView::GetWorldPos() const
{
    return GetParent() ? GetParent()->GetWorldPos() : GxVector4();
}
