#include "adventure/SeqCGMode.h"

#include "appdata/DBCGMode.h"
#include "appdata/GxDBLookup.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxString.h"
#include "task/ui/GxTaskUIBase.h"

#include <algorithm>

SeqCGMode::SeqCGMode(GxTaskBase* parent)
    : SeqExtraPage(parent, L"SeqCGMode", 10000.0f, L"btn_cgselect", L"th_cgmode.gis", L"tip_cgplate.png")
{
}

SeqCGMode::~SeqCGMode() = default;

int32_t SeqCGMode::ClampedCount(int32_t count)
{
    return std::clamp(count, 0, kCellCount);
}

void SeqCGMode::OnSequenceEnter()
{
    SeqExtraPage::OnSequenceEnter();
    EnterPage(L"bg_cgmode.png");
    UpdateCGModeCounts();
    RebuildShownState();
    ShowPage(GetCheckedPage());
    PlayConfiguredMusic(1);
}

void SeqCGMode::RebuildShownState()
{
    m_LastPage = 0;
    m_Total = 0;
    m_Done = 0;
    std::fill(m_ShownCount.begin(), m_ShownCount.end(), 0);
    std::fill(m_ShownBits.begin(), m_ShownBits.end(), std::bitset<kCellCount>());
    const GxUserDataPerman* perman = Perman();
    const int32_t rows = std::min<int32_t>(kRowCount, g_DBCGMode.GetCapacity());
    for (int32_t row = 0; row < rows; ++row)
    {
        const DBCGModeData* entry = g_DBCGMode.GetRow(row);
        if (entry->m_FileName[0].empty())
            continue;
        m_LastPage = std::max(m_LastPage, entry->m_Group);
        CheckThumbnail(entry->m_Thumbnail, row, L"CGモードサムネイル %s (ID=%d)が見つかりません\n");
        const int32_t count = ClampedCount(entry->m_Count);
        for (int32_t cell = 0; cell < count; ++cell)
        {
            const std::wstring& name = entry->m_FileName[cell];
            if (name.empty())
                continue;
            ++m_Total;
            if (perman && perman->m_ShowedCGFlags.count(name) != 0)
            {
                m_ShownBits[row].set(cell);
                ++m_ShownCount[row];
                ++m_Done;
            }
        }
    }
}

bool SeqCGMode::IsListed(int32_t row) const
{
    return g_DBCGMode.GetRow(row)->m_Count != 0;
}

int32_t SeqCGMode::GetRowGroup(int32_t row) const
{
    return g_DBCGMode.GetRow(row)->m_Group;
}

const std::wstring& SeqCGMode::GetRowThumbnail(int32_t row) const
{
    return g_DBCGMode.GetRow(row)->m_Thumbnail;
}

std::wstring SeqCGMode::GetRowFigure(int32_t row) const
{
    const int32_t count = ClampedCount(g_DBCGMode.GetRow(row)->m_Count);
    if (count <= 1)
        return std::wstring();
    return GxString::Format(L"%d/%d", m_ShownCount[row], count);
}

int32_t SeqCGMode::OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event)
{
    if (GxSeqBase::OnUIEvent1(sender, event) != 0 || !sender)
        return 1;
    PlayClickSound(sender);
    const std::wstring name = sender->GetTaskLocalName();
    if (name == L"btn_back")
        SwitchTo(L"SeqTitle", 0, 0);
    else if (name == L"btn_cgselect" && sender->HasKind(GX_TASKKIND_WIDGET))
        SwitchTo(L"SeqCGModeView", static_cast<uint32_t>(static_cast<GxTaskUIBase*>(sender)->GetValueAsInt()), 0);
    else
        HandlePageClick(name);
    return 1;
}
