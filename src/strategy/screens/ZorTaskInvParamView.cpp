#include "strategy/screens/ZorTaskInvParamView.h"

#include "core/GxString.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorUserData.h"

#include <algorithm>

namespace
{

// The bitmap fonts' order at start-up.
constexpr int kFont16Num = 2;
constexpr int kFont24Num = 4;
// The invasion's bottom bar puts the defence panel's texts this much lower.
constexpr float kPanelDrop = 64.0f;
constexpr int32_t kTicksPerSecond = 60;

} // namespace

ZorTaskInvParamView::ZorTaskInvParamView(GxTaskBase* parent, const wchar_t* globalName) : GxTaskBase(parent, globalName)
{
}

ZorTaskInvParamView::~ZorTaskInvParamView() = default;

void ZorTaskInvParamView::Layout(const ZorUserData& s, float px, float py, Text out[kTexts])
{
    ZorTaskParamView::Layout(s, px, py + kPanelDrop, out);
    const int32_t capacity = s.GetPartyCapacity();
    int n = ZorTaskParamView::kTexts;
    out[n++] = Text{GxString::Format(L"%3d/%3d", s.m_FieldFormations[0].m_TotalLerderShip, capacity), kFont16Num, 88.0f,
                    264.0f, 0xFFFFFFFF};
    out[n++] = Text{GxString::Format(L"%3d/%3d", s.m_FieldFormations[1].m_TotalLerderShip, capacity), kFont16Num,
                    128.0f, 492.0f, 0xFFFFFFFF};
    // Whole seconds left: 45 at the start of a 2700-tick battle, 0 in its last 60 ticks. A counter run
    // below zero shows 0 rather than a minus sign the digit font has no glyph for.
    out[n++] = Text{GxString::Format(L"%2d", std::max(0, s.m_TimerCount / kTicksPerSecond)), kFont24Num, 948.0f, 37.0f,
                    0xFFFFFFFF};
}

int32_t ZorTaskInvParamView::RegisterDraw(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    ZorPanelText::Register(this);
    return 0;
}

int32_t ZorTaskInvParamView::Draw(int32_t param, int32_t layer)
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
