#include "strategy/screens/ZorTaskParamView.h"

#include "core/GxString.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorUserData.h"

namespace
{

// The bitmap fonts' order at start-up.
constexpr int kFont8Num = 1;
constexpr int kFont16Num = 2;
constexpr int kFont16Ansi = 3;
constexpr uint32_t kGrey = 0xFF808080;

int32_t ActiveCount(const ZorUserData& s, size_t index)
{
    return index < s.m_StructStates.size() ? s.m_StructStates[index].m_RoomActiveCount : 0;
}

} // namespace

ZorTaskParamView::ZorTaskParamView(GxTaskBase* parent, const wchar_t* globalName) : GxTaskBase(parent, globalName) {}

ZorTaskParamView::~ZorTaskParamView() = default;

ZorTaskParamView::Text ZorTaskParamView::Resource(int32_t value, float x, float y)
{
    if (value < 10000)
        return Text{GxString::Format(L"%4d", value), kFont16Num, x, y, 0xFFFFFFFF};
    return Text{GxString::Format(L"%6d", value), kFont8Num, x, y, 0xFFFFFFFF};
}

void ZorTaskParamView::Layout(const ZorUserData& s, float px, float py, Text out[kTexts])
{
    out[0] = Resource(s.m_Resource_Bone, px + 794.0f, py + 59.0f);
    out[1] = Resource(s.m_Resource_Magic, px + 847.0f, py + 59.0f);
    out[2] = Resource(s.m_Resource_Gold, px + 900.0f, py + 59.0f);
    out[3] =
        Text{GxString::Format(L"%3d/", s.m_Resource_LeadershipUsing), kFont16Num, px + 952.0f, py + 45.0f, 0xFFFFFFFF};
    const int32_t max = s.m_FloorExtendLevel * 50 + 20 * ActiveCount(s, 15) + s.m_Resource_LeadershipBase;
    out[4] = Text{GxString::Format(L"%3d", max), kFont16Num, px + 962.0f, py + 61.0f, 0xFFFFFFFF};
    for (int i = 0; i < 4; ++i)
    {
        const int32_t level = ActiveCount(s, static_cast<size_t>(2 + i));
        // Level 1 stays white even at 0; the others grey out while none is built.
        const uint32_t colour = i > 0 && level == 0 ? kGrey : 0xFFFFFFFF;
        out[5 + i] = Text{GxString::Format(L"LV%d", level), kFont16Ansi, px + 797.0f + 53.0f * static_cast<float>(i),
                          py + 114.0f, colour};
    }
}

int32_t ZorTaskParamView::RegisterDraw(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    ZorPanelText::Register(this);
    return 0;
}

int32_t ZorTaskParamView::Draw(int32_t param, int32_t layer)
{
    (void)param, (void)layer;
    ZorCore* core = ZorCore::GetInstance();
    if (!core)
        return 0;
    const GxVector4 pos = GetParent() ? GetParent()->GetWorldPos() : GxVector4();
    Text texts[kTexts];
    Layout(*core->GetUserData(), pos.x, pos.y, texts);
    ZorPanelText::DrawAll(texts, kTexts, 0.0f, 0.0f);
    return 0;
}
