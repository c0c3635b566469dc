#include "strategy/screens/ZorTaskUnitInfo.h"

#include "graphics/GxGraphics.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/ZorTaskMapPointing.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"
#include "task/GxTaskScreenService.h"

ZorTaskUnitInfo::ZorTaskUnitInfo(GxTaskBase* parent) : GxTaskBase(parent, L"$ZORUNITINFO:SeqZorMain")
{
    m_UnitIDs.reserve(8);
}

ZorTaskUnitInfo::~ZorTaskUnitInfo() = default;

void ZorTaskUnitInfo::Clear()
{
    m_BlockX = -1;
    m_BlockZ = -1;
    m_UnitIDs.clear();
}

void ZorTaskUnitInfo::OnSequenceEnter()
{
    Clear();
}

void ZorTaskUnitInfo::OnSequenceLeave()
{
    Clear();
}

void ZorTaskUnitInfo::AppendUnits(const wchar_t* list)
{
    GxTaskManage* manage = GetManager();
    GxTaskBase* folder = manage ? manage->FindTaskByName(list) : nullptr;
    for (GxTaskBase* t = folder ? folder->GetFirstChild() : nullptr; t; t = t->GetNextSibling())
    {
        const auto* u = dynamic_cast<const ZorTaskUnitEntity*>(t);
        if (u && !u->IsBeingRemoved() && u->m_ArrangeTimeLeft <= 0 && u->m_CreateTimeLeft <= 0 &&
            u->m_AppearTimeLeft <= 0 && u->m_DisappearTimeLeft <= 0 && u->m_HP > 0 &&
            u->IsAtDetailPos(m_BlockX, m_BlockZ))
            m_UnitIDs.push_back(u->GetTaskID());
    }
}

int32_t ZorTaskUnitInfo::Update(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    Clear();
    GxTaskManage* manage = GetManager();
    if (!manage)
        return 0;
    int32_t mx = 0;
    int32_t my = 0;
    manage->GetScreenService()->GetCursorPos(mx, my);
    if (my >= kBottomBarTop)
        return 0;
    const auto* pointing = dynamic_cast<ZorTaskMapPointing*>(manage->FindTaskByName(L"$ZORMAPPOINTING:SeqZorMain"));
    if (!pointing || !pointing->HasBlock())
        return 0;
    m_BlockX = pointing->GetBlockX();
    m_BlockZ = pointing->GetBlockZ();
    AppendUnits(ZorCore::kUnitPlayerList);
    AppendUnits(ZorCore::kUnitEnemyList);
    return 0;
}

int32_t ZorTaskUnitInfo::RegisterDraw(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(this, GX_RENDER_ASCEND, 10010.0f, 0);
    }
    return 0;
}

int32_t ZorTaskUnitInfo::CollectCards(ZorTaskUnitEntity* out[kMaxCards]) const
{
    const ZorCore* core = ZorCore::GetInstance();
    GxTaskManage* manage = GetManager();
    if (m_BlockX == -1 || !core || !manage || core->GetUserData()->m_GamePhase != 8)
        return 0;
    int32_t n = 0;
    for (uint64_t id : m_UnitIDs)
    {
        if (n == kMaxCards)
            break;
        auto* unit = dynamic_cast<ZorTaskUnitEntity*>(manage->FindTaskByID(id));
        // A unit gone or no longer active since the update takes no card place.
        if (unit && !unit->IsBeingRemoved() && unit->IsUnitActive())
            out[n++] = unit;
    }
    return n;
}

int32_t ZorTaskUnitInfo::Draw(int32_t param, int32_t layer)
{
    (void)param, (void)layer;
    ZorTaskUnitEntity* cards[kMaxCards] = {};
    const int32_t n = CollectCards(cards);
    if (n == 0)
        return 0;
    GxGraphics::BeginScene();
    GxGraphics::ResetRenderStates();
    GxGraphics::SetTextureFilter(1);
    GxGraphics::SetBlendMode(0, 2);
    for (int32_t i = 0; i < n; ++i)
    {
        ZorUnitCard::Layout(*cards[i], ZorUnitCard::Picture::Normal, m_Card);
        ZorUnitCard::Draw(m_Card, kCardX, kCardTop + kCardPitch * static_cast<float>(i));
    }
    GxGraphics::EndScene();
    return 0;
}
