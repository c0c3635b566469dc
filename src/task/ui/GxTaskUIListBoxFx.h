#pragma once

#include "task/ui/GxTaskUIPanelFx.h"
#include "task/ui/GxUIListBoxItem.h"

#include <vector>

class GxTextureFlex;

// A scrolling list of text rows over a flexible picture (UI type 50). Rows are `m_TextFontSize` + 2 high;
// the widget's value is the first visible row. It tracks the row under the pointer and the clicked row,
// posts event 18 on a click, scrolls one row per wheel event and drives a linked scroll widget and a linked
// text widget (descriptions).
class GxTaskUIListBoxFx : public GxTaskUIPanelFx
{
public:
    static constexpr int32_t kTypeCode = 50;

    GxTaskUIListBoxFx(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                      int32_t localIndex = 0);
    ~GxTaskUIListBoxFx() override;

    void OnSequenceEnter() override;
    int32_t Draw(int32_t param, int32_t layer) override;
    bool Save(GxContentWriterBase* writer) override;
    bool Load(GxContentReaderBase* reader) override;
    void ApplyModule(const DBUIModuleData& row) override;
    // The flexible picture; client defaults take one margin; the visible rows from the client height.
    bool LoadImages() override;
    int32_t ReleaseImages() override;
    using GxTaskUIPanelFx::SetValue;
    // The scroll position, clamped to 0 .. max(item count - visible rows, 0).
    void SetValue(double value) override;
    int32_t OnMouseMove(const float* point, uint32_t keys) override;
    int32_t OnMouseWheel(const float* point, int32_t delta, uint32_t keys) override;
    int32_t OnMouseLeftDown(const float* point, uint32_t keys, int32_t dbl) override;

    virtual void SetTextFontIndex(int32_t index);
    virtual void SetTextColor(uint32_t color) { m_TextColor = color; }
    virtual void SetEdgeColor(uint32_t color) { m_EdgeColor = color; }
    virtual GxUIListBoxItem* AddItem(const GxUIListBoxItem& item);
    virtual GxUIListBoxItem* AddItem(const wchar_t* text, const wchar_t* bitmapText, int32_t bitmapFont,
                                     const wchar_t* name, int32_t value, const wchar_t* descript);
    // A sub-item (a further column) of a row; the caller sets its offset and colour.
    virtual GxUIListBoxItem* AddItem(GxUIListBoxItem* parent, const wchar_t* text, const wchar_t* bitmapText,
                                     int32_t bitmapFont);
    virtual void ClearItems();
    virtual void ClearSelection();
    virtual void AddColumn(int32_t width) { m_Columns.push_back(width); }
    virtual void ClearColumns();
    virtual int32_t GetItemCount() const { return static_cast<int32_t>(m_Items.size()); }
    virtual int32_t GetColumnCount() const { return static_cast<int32_t>(m_Columns.size()); }
    // Null / 0 past the count.
    virtual GxUIListBoxItem* GetItem(int32_t index);
    virtual int32_t GetColumn(int32_t index) const;
    virtual void SetTextWidget(GxTaskUIBase* widget) { m_TextWidget = widget; }
    virtual void SetScrollWidget(GxTaskUIBase* widget) { m_ScrollWidget = widget; }
    virtual int32_t GetCurrentIndex() const { return m_CurrentIndex; }
    virtual std::wstring GetCurrentName() const;
    virtual int32_t GetCurrentValue() const;
    virtual int32_t GetHoverIndex() const { return m_HoverIndex; }
    virtual void SetVisibleRows(int32_t rows) { m_VisibleRows = rows; }
    virtual int32_t GetVisibleRows() const { return m_VisibleRows; }
    virtual void SyncScrollWidget();

    // The text colour a row draws in (disabled, selected or current, or plain), and the offset of
    // sub-item k from the row's text origin.
    uint32_t GetRowTextColor(int32_t index) const;
    int32_t GetSubItemOffset(int32_t k) const;
    // (size - cell height + 2) / 2, halved signed: a bitmap font taller than the row moves up, not away.
    static int32_t BitmapLineOffset(int32_t fontSize, int32_t cellHeight);

private:
    // Never 0, whatever size a save brought.
    int32_t RowHeight() const { return m_TextFontSize + 2 > 0 ? m_TextFontSize + 2 : 1; }
    int32_t FirstRow() const { return GetValueAsInt() < 0 ? 0 : GetValueAsInt(); }
    // The item index under a point, or -1 when the row is not a visible row.
    int32_t ItemAt(float y) const;
    void ForgetIndices();
    void ShowDescript(const std::wstring& text);
    void DrawItem(const GxUIListBoxItem& item, float x, float y, uint32_t color) const;

    int32_t m_TextFontIndex = 1;
    int32_t m_TextFontSize;
    uint32_t m_TextColor = 0xFFFFFFFFu;
    uint32_t m_EdgeColor;
    bool m_UseEdge = true;
    int32_t m_VisibleRows = 0;
    std::vector<GxUIListBoxItem> m_Items;
    std::vector<int32_t> m_Columns;
    int32_t m_ReservedIndex0 = -1;
    int32_t m_HoverIndex = -1;
    int32_t m_ReservedIndex1 = -1;
    int32_t m_CurrentIndex = -1;
    uint32_t m_HoverColor = 0x4000FFFFu;
    uint32_t m_SelectionColor = 0x9000FFFFu;
    uint32_t m_SelectedTextColor = 0xFFFFFFFFu;
    uint32_t m_DisabledColor = 0xFF806040u;
    GxTaskUIBase* m_TextWidget = nullptr;
    GxTaskUIBase* m_ScrollWidget = nullptr;
    GxTextureFlex* m_Flex = nullptr;
};
