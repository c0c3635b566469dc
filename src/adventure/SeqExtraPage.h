#pragma once

#include "adventure/SeqExtraBase.h"

#include <cstdint>
#include <string>
#include <vector>

class GxNcCrammedImageSet;
struct GxNcOriginImage;

// The page design the gallery and the replay mode share: pages of up to 25 thumbnail buttons
// ("<select>" [0..24]) filled with the table rows of the page, radio buttons btn_pageselect (local index =
// page), btn_prev and btn_next wrapping between 1 and the last page, the wheel as prev/next, and the page
// draw: the completion figure, then each visible slot's thumbnail (pulsing under the pointer) or plate,
// and an optional "shown/count" figure.
class SeqExtraPage : public SeqExtraBase
{
public:
    static constexpr int32_t kSlotCount = 25;
    static constexpr int32_t kRowCount = 200;

    // What the page draw put on screen for one slot, kept for the frame so that it can be checked.
    struct PlateDraw
    {
        float m_X = 0.0f;
        float m_Y = 0.0f;
        std::wstring m_Image; // thumbnail name, or the plate's image name
        bool m_Thumbnail = false;
        float m_Highlight = 0.0f; // the added colour of a hovered thumbnail
        std::wstring m_Figure;    // "shown/count", empty when not drawn
        float m_FigureX = 0.0f;
        float m_FigureY = 0.0f;
    };

    SeqExtraPage(GxTaskBase* parent, const wchar_t* name, float drawKey, const wchar_t* selectName,
                 const wchar_t* thumbnailSet, const wchar_t* plateImage);
    ~SeqExtraPage() override;

    void OnSequenceLeave() override;
    int32_t OnMouseWheel(const float* point, int32_t delta, uint32_t keys) override;

    // The local index of the first "btn_pageselect" of the UI folder that is on; 0 when none is.
    int32_t GetCheckedPage() const;
    void ShowPage(int32_t page);
    // Turns btn_pageselect [page] on (its group's other radio buttons off).
    void CheckPageButton(int32_t page);

    int32_t GetCurrentPage() const { return m_CurrentPage; }
    int32_t GetLastPage() const { return m_LastPage; }
    const std::vector<int32_t>& GetPageEntries() const { return m_PageEntries; }
    // done x 100 / total, integer division; 0 for an empty total.
    static int32_t Percent(int32_t done, int32_t total) { return total > 0 ? done * 100 / total : 0; }
    // "%3d" of the completion.
    std::wstring GetCompletionText() const;
    const std::vector<PlateDraw>& GetLastDraw() const { return m_LastDraw; }
    // The sets the page draws from; entering takes them from the pool, tests and benchmarks give their own
    // (they stay the caller's).
    void SetImageSets(GxNcCrammedImageSet* thumbnails, GxNcCrammedImageSet* extras)
    {
        m_ThumbnailSet = thumbnails;
        m_ExtrasSet = extras;
    }

protected:
    // Enter steps shared by both screens: the picture, the two image sets kept.
    void EnterPage(const wchar_t* background);
    // Answers the page buttons, btn_prev and btn_next; false for any other sender.
    bool HandlePageClick(const std::wstring& name);
    void DrawScreen() override;

    // Whether the row takes a slot on its page, and whether its button is enabled.
    virtual bool IsListed(int32_t row) const = 0;
    virtual bool IsUnlocked(int32_t row) const = 0;
    virtual int32_t GetRowGroup(int32_t row) const = 0;
    virtual const std::wstring& GetRowThumbnail(int32_t row) const = 0;
    // The "shown/count" figure, empty for none.
    virtual std::wstring GetRowFigure(int32_t row) const
    {
        (void)row;
        return std::wstring();
    }

    // Logs, once per call, when the thumbnail set lacks the image.
    void CheckThumbnail(const std::wstring& thumbnail, int32_t row, const wchar_t* format) const;

    int32_t m_CurrentPage = 0;
    int32_t m_Total = 0;
    int32_t m_Done = 0;
    int32_t m_LastPage = 0;
    std::vector<int32_t> m_PageEntries;
    GxNcCrammedImageSet* m_ThumbnailSet = nullptr;
    GxNcCrammedImageSet* m_ExtrasSet = nullptr;

private:
    std::wstring GisPath(const std::wstring& file) const;

    std::wstring m_SelectName;
    std::wstring m_ThumbnailSetName;
    std::wstring m_PlateImage;
    std::vector<PlateDraw> m_LastDraw;
};
