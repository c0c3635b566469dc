#include "adventure/SeqExtraPage.h"

#include "animation/GxNcCrammedImageSet.h"
#include "animation/GxNcImageSetPool.h"
#include "appdata/GxSystemConfig.h"
#include "core/GxLog.h"
#include "core/GxMatrix.h"
#include "core/GxString.h"
#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "graphics/GxFontData.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxGraphics.h"
#include "task/GxTaskFolder.h"
#include "task/ui/GxTaskUIBase.h"
#include "task/ui/GxTaskUIRadioButtonIs.h"

#include <cmath>

namespace
{
constexpr float kCompletionX = 868.0f;
constexpr float kCompletionY = 53.0f;
constexpr int kCompletionFontMap = 5;
constexpr int kFigureFont = 1;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kBlendPreset = 2;
// Each character of the "shown/count" figure is taken as 8 pixels wide when right-aligning it.
constexpr float kFigureCharWidth = 8.0f;
} // namespace

SeqExtraPage::SeqExtraPage(GxTaskBase* parent, const wchar_t* name, float drawKey, const wchar_t* selectName,
                           const wchar_t* thumbnailSet, const wchar_t* plateImage)
    : SeqExtraBase(parent, name, drawKey), m_SelectName(selectName), m_ThumbnailSetName(thumbnailSet),
      m_PlateImage(plateImage)
{
    m_LastDraw.reserve(kSlotCount);
}

SeqExtraPage::~SeqExtraPage() = default;

std::wstring SeqExtraPage::GisPath(const std::wstring& file) const
{
    return SystemConfig().GetString(SYSSTR_UIGIS_DIR) + file;
}

void SeqExtraPage::EnterPage(const wchar_t* background)
{
    LoadBackground(background);
    GxNcImageSetPool::Add(GisPath(L"ui_extra.gis"));
    GxNcImageSetPool::Add(GisPath(m_ThumbnailSetName));
    m_ExtrasSet = GxNcImageSetPool::Find(GisPath(L"ui_extra.gis"));
    m_ThumbnailSet = GxNcImageSetPool::Find(GisPath(m_ThumbnailSetName));
}

void SeqExtraPage::OnSequenceLeave()
{
    SeqExtraBase::OnSequenceLeave();
    for (const std::wstring& name : {GisPath(L"ui_extra.gis"), GisPath(m_ThumbnailSetName)})
    {
        if (GxNcImageSetPool::Find(name))
            GxNcImageSetPool::Release(name);
    }
    m_ExtrasSet = nullptr;
    m_ThumbnailSet = nullptr;
}

void SeqExtraPage::CheckThumbnail(const std::wstring& thumbnail, int32_t row, const wchar_t* format) const
{
    if (!m_ThumbnailSet || !m_ThumbnailSet->FindOriginImage(thumbnail))
        GxLog::Error(format, thumbnail.c_str(), row);
}

int32_t SeqExtraPage::GetCheckedPage() const
{
    for (GxTaskBase* child = GetUIFolder()->GetFirstChild(); child; child = child->GetNextSibling())
    {
        if (!child->HasKind(GX_TASKKIND_WIDGET) || child->GetTaskLocalName() != L"btn_pageselect")
            continue;
        if (static_cast<GxTaskUIBase*>(child)->GetValueAsBool())
            return child->GetTaskLocalIndex();
    }
    return 0;
}

void SeqExtraPage::ShowPage(int32_t page)
{
    m_CurrentPage = page;
    m_PageEntries.clear();
    for (int32_t row = 0; row < kRowCount; ++row)
    {
        if (GetRowGroup(row) == page && IsListed(row))
            m_PageEntries.push_back(row);
    }
    const int32_t listed = static_cast<int32_t>(m_PageEntries.size());
    for (int32_t slot = 0; slot < kSlotCount; ++slot)
    {
        GxTaskUIBase* button = FindWidget(m_SelectName.c_str(), slot);
        if (!button)
            continue;
        if (slot < listed)
        {
            button->Show();
            button->SetValue(m_PageEntries[slot]);
            button->SetEnabled(IsUnlocked(m_PageEntries[slot]));
        }
        else
        {
            button->Hide();
            button->SetValue(0);
            button->SetEnabled(false);
        }
    }
}

void SeqExtraPage::CheckPageButton(int32_t page)
{
    GxTaskUIBase* button = FindWidget(L"btn_pageselect", page);
    if (!button)
        return;
    if (button->GetTypeCode() == GxTaskUIRadioButtonIs::kTypeCode)
        static_cast<GxTaskUIRadioButtonIs*>(button)->Select();
    else
        button->SetValue(true);
}

bool SeqExtraPage::HandlePageClick(const std::wstring& name)
{
    if (name == L"btn_pageselect")
    {
        ShowPage(GetCheckedPage());
        return true;
    }
    if (name == L"btn_prev" || name == L"btn_next")
    {
        int32_t page = m_CurrentPage + (name == L"btn_prev" ? -1 : 1);
        if (page < 1)
            page = m_LastPage;
        else if (page > m_LastPage)
            page = 1;
        CheckPageButton(page);
        ShowPage(page);
        return true;
    }
    return false;
}

int32_t SeqExtraPage::OnMouseWheel(const float*, int32_t delta, uint32_t)
{
    // One click per turn of the wheel, however many notches it reports; less than a notch does nothing.
    const int32_t notches = delta / 120;
    GxTaskUIBase* prev = FindWidget(L"btn_prev", 0);
    if (notches == 0 || !prev || !CanWidgetAcceptInput(prev))
        return 0;
    GxTaskUIBase* sender = notches > 0 ? prev : FindWidget(L"btn_next", 0);
    if (sender)
        sender->PostUIEventCode(1);
    return 0;
}

std::wstring SeqExtraPage::GetCompletionText() const
{
    return GxString::Format(L"%3d", Percent(m_Done, m_Total));
}

void SeqExtraPage::DrawScreen()
{
    m_LastDraw.clear();
    const bool device = GxGraphics::GetDevice() != nullptr;
    const std::wstring completion = GetCompletionText();
    if (device)
        GxGraphics::DrawText(&g_GDIFontMaps[kCompletionFontMap], completion.c_str(), kCompletionX, kCompletionY,
                             GxVector2(1.0f, 1.0f), kWhite, 0, kBlendPreset);
    const float pulse = std::fabs(std::sin(static_cast<float>(GetFrameCount()) / 30.0f)) * 0.25f;
    for (int32_t slot = 0; slot < kSlotCount; ++slot)
    {
        GxTaskUIBase* button = FindWidget(m_SelectName.c_str(), slot);
        if (!button || !button->IsVisible())
            continue;
        const int32_t row = button->GetValueAsInt();
        if (row < 0 || row >= kRowCount)
            continue;
        const GxVector4 pos = button->GetPos();
        PlateDraw draw;
        draw.m_X = pos.x;
        draw.m_Y = pos.y;
        draw.m_Thumbnail = IsUnlocked(row);
        draw.m_Image = draw.m_Thumbnail ? GetRowThumbnail(row) : m_PlateImage;
        draw.m_Highlight = draw.m_Thumbnail && button->GetHoverCount() != 0 ? pulse : 0.0f;
        draw.m_Figure = GetRowFigure(row);
        draw.m_FigureX = pos.x + static_cast<float>(button->GetWidth()) -
                         kFigureCharWidth * static_cast<float>(draw.m_Figure.size());
        draw.m_FigureY = pos.y + static_cast<float>(button->GetHeight()) + 1.0f;
        if (device)
        {
            const GxNcCrammedImageSet* set = draw.m_Thumbnail ? m_ThumbnailSet : m_ExtrasSet;
            const GxNcOriginImage* image = set ? set->FindOriginImage(draw.m_Image) : nullptr;
            GxMatrix m;
            m.Translation(draw.m_X, draw.m_Y, 0.0f);
            const float h = draw.m_Highlight;
            const GxVector4 added = h > 0.0f ? GxVector4(h, h, h, 1.0f) : GxVector4(0.0f, 0.0f, 0.0f, 0.0f);
            GxNcCrammedImageSet::DrawPattern(image, 0, m, 1.0f, GxVector4(1.0f, 1.0f, 1.0f, 1.0f), added, kBlendPreset);
            if (!draw.m_Figure.empty())
                GxGraphics::DrawFontText(draw.m_Figure.c_str(), &g_FontDataTable[kFigureFont], draw.m_FigureX,
                                         draw.m_FigureY, GxVector2(1.0f, 1.0f), GxVector3(0.0f, 0.0f, 0.0f),
                                         GxVector2(0.0f, 0.0f), kWhite, 0, kBlendPreset);
        }
        m_LastDraw.push_back(std::move(draw));
    }
}
