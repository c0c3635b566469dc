#include "adventure/SeqRPMode.h"

#include "adventure/SeqAvgMain.h"
#include "appdata/DBRPMode.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxLog.h"
#include "script/GxMoaHost.h"
#include "script/GxMoaWorkerEx.h"
#include "task/ui/GxTaskUIBase.h"

#include <algorithm>

SeqRPMode::SeqRPMode(GxTaskBase* parent)
    : SeqExtraPage(parent, L"SeqRPMode", 13000.0f, L"btn_rpselect", L"th_rpmode.gis", L"tip_rpplate.png")
{
}

SeqRPMode::~SeqRPMode() = default;

void SeqRPMode::OnSequenceEnter()
{
    SeqExtraPage::OnSequenceEnter();
    EnterPage(L"bg_rpmode.png");
    RebuildPassedState();
    ShowPage(GetCheckedPage());
    GxUserData* data = UserData();
    if (data)
    {
        // The music stays until the replay mode's own music replaces it (or fades it out).
        data->ResetAdventure(false);
        data->m_ReplayMode = true;
    }
    PlayConfiguredMusic(2);
}

void SeqRPMode::RebuildPassedState()
{
    m_LastPage = 0;
    m_Total = 0;
    m_Done = 0;
    std::fill(m_Passed.begin(), m_Passed.end(), 0);
    const GxUserDataPerman* perman = Perman();
    const int32_t rows = std::min<int32_t>(kRowCount, g_DBRPMode.GetCapacity());
    for (int32_t row = 0; row < rows; ++row)
    {
        const DBRPModeData* scene = g_DBRPMode.GetRow(row);
        m_LastPage = std::max(m_LastPage, scene->m_Group);
        if (scene->m_Label.empty())
            continue;
        CheckThumbnail(scene->m_Thumbnail, row, L"リプレイモードサムネイル %s (ID=%d)が見つかりません\n");
        ++m_Total;
        if (perman && perman->m_PassedReplayLabels.count(scene->m_Label) != 0)
        {
            m_Passed[row] = 1;
            ++m_Done;
        }
    }
}

int32_t SeqRPMode::GetRowGroup(int32_t row) const
{
    return g_DBRPMode.GetRow(row)->m_Group;
}

const std::wstring& SeqRPMode::GetRowThumbnail(int32_t row) const
{
    return g_DBRPMode.GetRow(row)->m_Thumbnail;
}

int32_t SeqRPMode::OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event)
{
    if (GxSeqBase::OnUIEvent1(sender, event) != 0 || !sender)
        return 1;
    PlayClickSound(sender);
    const std::wstring name = sender->GetTaskLocalName();
    if (name == L"btn_back")
    {
        if (GxUserData* data = UserData())
            data->m_ReplayMode = false;
        SwitchTo(L"SeqTitle", 0, 0);
    }
    else if (name == L"btn_rpselect" && sender->HasKind(GX_TASKKIND_WIDGET))
        StartScene(static_cast<GxTaskUIBase*>(sender)->GetValueAsInt());
    else
        HandlePageClick(name);
    return 1;
}

void SeqRPMode::StartScene(int32_t row)
{
    if (row < 0 || row >= kRowCount)
        return;
    const std::wstring& label = g_DBRPMode.GetRow(row)->m_Label;
    SeqAvgMain::GlobalFadeIn(kSceneFadeMs);
    if (!g_MoaMainWorker || !g_MoaMainWorker->StartAtLabel(label))
        GxLog::Error(L"スクリプトにラベル %s が存在しないため実行できません\n", label.c_str());
    // The adventure screen hides its save and load buttons for parameter 0 = 1 and returns here when the
    // worker stops, also when it never started.
    SwitchTo(L"SeqAvgMain", 1, 0);
}
