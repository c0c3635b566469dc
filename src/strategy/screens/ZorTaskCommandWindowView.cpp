#include "strategy/screens/ZorTaskCommandWindowView.h"

#include "appdata/DBZorCommand.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"
#include "task/ui/GxTaskUIListBoxFx.h"

ZorTaskCommandWindowView::ZorTaskCommandWindowView(GxTaskBase* parent, const wchar_t* globalName)
    : GxTaskUITextPanelFx(parent, globalName)
{
    SetClientRect(158, 394, 190, 160);
    SetTextFontIndex(1);
}

ZorTaskCommandWindowView::~ZorTaskCommandWindowView() = default;

void ZorTaskCommandWindowView::Bind(GxTaskUIListBoxFx* list, GxTaskUIBase* runButton)
{
    m_List = list;
    m_RunButton = runButton;
}

void ZorTaskCommandWindowView::SetSelection(int32_t row)
{
    m_SelectedRow = row;
    m_Scratch.clear();
    const GxUIListBoxItem* item = row >= 0 && m_List ? m_List->GetItem(row) : nullptr;
    if (!item)
    {
        // A row past the list counts as no row.
        m_SelectedRow = -1;
        m_SelectedCommandID = 0;
        if (m_RunButton)
            m_RunButton->SetEnabled(false);
        SetText(L"命令を選択してください。命令の実行には１週間かかります");
        return;
    }
    m_SelectedCommandID = item->m_Value;
    const DBZorCommandData* command = g_DBZorCommand.GetRow(m_SelectedCommandID);
    const std::wstring descript = command ? command->m_Descript : std::wstring();
    const bool runnable = item->m_Name == L"ok";
    if (m_RunButton)
        m_RunButton->SetEnabled(runnable);
    SetText(runnable ? descript.c_str() : (descript + L"||" + item->m_Name).c_str());
}

int32_t ZorTaskCommandWindowView::RegisterDraw(int32_t step, int64_t elapsed)
{
    (void)step, (void)elapsed;
    if (GxTaskManage* manage = GetManager())
    {
        if (GxTaskRenderManage* list = manage->GetRenderList(5))
            list->Add(this, GX_RENDER_ASCEND, 12000.0f, 0);
    }
    return 0;
}

int32_t ZorTaskCommandWindowView::Draw(int32_t param, int32_t layer)
{
    return GxTaskUITextPanelFx::Draw(param, layer);
}

GxVector4 ZorTaskCommandWindowView::GetWorldPos() const
{
    return GetParent() ? GetParent()->GetWorldPos() : GxVector4();
}
