#include "strategy/screens/ZorTaskItemWindowView.h"

#include "graphics/GxGraphics.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"
#include "task/ui/GxTaskUIListBoxFx.h"

ZorTaskItemWindowView::ZorTaskItemWindowView(GxTaskBase* parent, const wchar_t* globalName)
    : GxTaskUITextPanelFx(parent, globalName)
{
    SetClientRect(158, 394, 190, 160);
    // Font 1 is the help-text font; its size comes from the system configuration.
    SetTextFontIndex(1);
}

ZorTaskItemWindowView::~ZorTaskItemWindowView() = default;

GxVector4 ZorTaskItemWindowView::GetWorldPos() const
{
    return GetParent() ? GetParent()->GetWorldPos() : GxVector4();
}

GxTaskUIListBoxFx* ZorTaskItemWindowView::FindList() const
{
    auto* window = dynamic_cast<GxTaskFolder*>(GetParent());
    return window ? dynamic_cast<GxTaskUIListBoxFx*>(window->GetTaskLocal(ListBoxName(), 0)) : nullptr;
}

GxTaskUIBase* ZorTaskItemWindowView::FindRunButton() const
{
    auto* window = dynamic_cast<GxTaskFolder*>(GetParent());
    return window ? dynamic_cast<GxTaskUIBase*>(window->GetTaskLocal(L"btn_zorrun", 0)) : nullptr;
}

void ZorTaskItemWindowView::ShowItem(int32_t index)
{
    GxTaskUIListBoxFx* list = FindList();
    GxTaskUIBase* run = FindRunButton();
    const GxUIListBoxItem* item = index >= 0 && list ? list->GetItem(index) : nullptr;
    m_ShownIndex = item ? index : -1;
    if (!item)
    {
        m_ChosenID = 0;
        if (run)
            run->SetEnabled(false);
        SetText(EmptyText());
        return;
    }
    m_ChosenID = item->m_Value;
    const std::wstring descript = RowDescript(m_ChosenID);
    const bool ok = item->m_Name == L"ok";
    if (run)
        run->SetEnabled(ok);
    // "||": an empty line, then why the item cannot be had.
    SetText(ok || !AppendsReason() ? descript.c_str() : (descript + L"||" + item->m_Name).c_str());
}

int32_t ZorTaskItemWindowView::Update(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    // A selection made with the mouse or keys is shown without waiting for its event. Looked up without a
    // log line here: ShowItem reports a missing list once per window opening, not once per frame.
    auto* window = dynamic_cast<GxTaskFolder*>(GetParent());
    auto* list = window ? dynamic_cast<GxTaskUIListBoxFx*>(window->FindTaskLocal(ListBoxName(), 0)) : nullptr;
    if (list && list->GetCurrentIndex() != m_ShownIndex)
        ShowItem(list->GetCurrentIndex());
    return 0;
}

int32_t ZorTaskItemWindowView::RegisterDraw(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(this, GX_RENDER_ASCEND, 12000.0f, 0);
    }
    return 0;
}

void ZorTaskItemWindowView::Layout(ZorViewDrawList& out) const
{
    out.Clear();
    if (m_ChosenID == 0)
        return;
    out.Icon(RowPicture(m_ChosenID), 0.0f, 378.0f);
    out.GdiText(RowName(m_ChosenID), 170.0f, 365.0f);
    LayoutExtra(m_ChosenID, out);
}

int32_t ZorTaskItemWindowView::Draw(int32_t param, int32_t layer)
{
    if (m_ChosenID != 0)
    {
        Layout(m_DrawList);
        const GxVector4 origin = GetWorldPos();
        GxGraphics::BeginScene();
        m_DrawList.Draw(origin.x, origin.y);
        GxGraphics::EndScene();
    }
    return GxTaskUITextPanelFx::Draw(param, layer);
}
