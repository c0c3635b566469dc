#include "adventure/SeqCGModeView.h"

#include "appdata/DBCGMode.h"
#include "appdata/GxSystemConfig.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxLog.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"
#include "task/ui/GxTaskUINull.h"

#include <algorithm>

SeqCGModeView::SeqCGModeView(GxTaskBase* parent) : SeqExtraBase(parent, L"SeqCGModeView", 13000.0f)
{
    m_EventCaller = new GxTaskUINull(GetUIFolder(), nullptr, L"null_eventcaller", 0);
}

SeqCGModeView::~SeqCGModeView() = default;

int32_t SeqCGModeView::NextShownCell(int32_t entry, int32_t cell)
{
    if (entry < 0 || entry >= g_DBCGMode.GetCapacity())
        return -1;
    const DBCGModeData* row = g_DBCGMode.GetRow(entry);
    const GxUserDataPerman* perman = Perman();
    if (!perman)
        return -1;
    for (int32_t i = std::max(cell + 1, 0); i < 32; ++i)
    {
        const std::wstring& name = row->m_FileName[i];
        if (!name.empty() && perman->m_ShowedCGFlags.count(name) != 0)
            return i;
    }
    return -1;
}

void SeqCGModeView::OnSequenceEnter()
{
    SeqExtraBase::OnSequenceEnter();
    GxTaskManage* manage = GetManager();
    m_Entry = manage ? static_cast<int32_t>(manage->GetCurrentParam(0)) : 0;
    m_Cell = NextShownCell(m_Entry, -1);
    if (m_Cell >= 0)
        LoadCell(m_Cell, 0);
}

void SeqCGModeView::LoadCell(int32_t cell, int32_t transit)
{
    const std::wstring& name = g_DBCGMode.GetRow(m_Entry)->m_FileName[cell];
    const GxSystemConfig& config = SystemConfig();
    std::wstring path = config.GetString(SYSSTR_EV_DIR) + name;
    if (!GxSystemConfig::ResolveImagePath(path))
    {
        GxLog::Error(L"画像がありません %s\n", name.c_str());
        return;
    }
    GetBackgroundLayer()->SetImage(path, transit, config.GetString(SYSSTR_ERROR_IMAGE));
}

bool SeqCGModeView::PostFromCaller(int32_t code)
{
    if (!CanWidgetAcceptInput(m_EventCaller))
        return false;
    return m_EventCaller->PostUIEventCode(code);
}

int32_t SeqCGModeView::OnMouseLeftDown(const float*, uint32_t, int32_t)
{
    return PostFromCaller(1) ? 1 : 0;
}

int32_t SeqCGModeView::OnMouseRightDown(const float*, uint32_t, int32_t)
{
    return PostFromCaller(2) ? 1 : 0;
}

int32_t SeqCGModeView::OnKeyDown(uint32_t key, uint32_t)
{
    for (uint32_t stepKey : kStepKeys)
    {
        if (key == stepKey)
            return PostFromCaller(15) ? 1 : 0;
    }
    return 0;
}

int32_t SeqCGModeView::OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event)
{
    if (GxSeqBase::OnUIEvent1(sender, event) != 0)
        return 1;
    if (sender == m_EventCaller)
        Step();
    return 1;
}

int32_t SeqCGModeView::OnUIEvent15(GxTaskBase* sender, const GxUIEvent&)
{
    if (sender == m_EventCaller)
        Step();
    return 1;
}

int32_t SeqCGModeView::OnUIEvent2(GxTaskBase* sender, const GxUIEvent&)
{
    if (sender == m_EventCaller)
        SwitchTo(L"SeqCGMode", 0, 0);
    return 1;
}

void SeqCGModeView::Step()
{
    const int32_t next = NextShownCell(m_Entry, m_Cell);
    if (next < 0)
    {
        SwitchTo(L"SeqCGMode", 0, 0);
        return;
    }
    m_Cell = next;
    LoadCell(m_Cell, kStepFadeMs);
}
