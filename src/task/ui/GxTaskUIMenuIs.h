#pragma once

#include "task/ui/GxTaskUIBase.h"
#include "task/ui/GxUIImageTable.h"
#include "task/ui/GxUIMenuItem.h"

#include <vector>

// A vertical menu from an image set (UI type 40): a head line ("_head"), one body line ("_body") per entry
// and a foot line ("_foot"), each m_Height high, with one text line per entry. The hovered entry is
// highlighted and its description goes to a linked text widget; a press on an enabled entry makes it
// current and posts event 18. It posts no enter or leave events.
class GxTaskUIMenuIs : public GxTaskUIBase
{
public:
    static constexpr int32_t kTypeCode = 40;

    GxTaskUIMenuIs(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                   int32_t localIndex = 0);
    ~GxTaskUIMenuIs() override;

    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    // Head, entries and foot.
    int32_t GetHeight() const override;
    void ApplyModule(const DBUIModuleData& row) override;
    bool LoadImageSet(const wchar_t* path) override;
    bool LoadImages() override;
    int32_t ReleaseImages() override;
    // The entry lines only: the head and foot lines are outside.
    bool HitTestClient(const GxVector4& origin, float x, float y) const override;
    int32_t OnMouseMove(const float* point, uint32_t keys) override;
    int32_t OnMouseLeftDown(const float* point, uint32_t keys, int32_t dbl) override;

    // An index outside the six font maps is logged and changes nothing.
    virtual void SetTextFontIndex(int32_t index);
    virtual GxUIMenuItem* AddItem(const GxUIMenuItem& item);
    virtual GxUIMenuItem* AddItem(const wchar_t* text, const wchar_t* name, int32_t value, const wchar_t* descript);
    // The entries and the hover and current indices with them.
    virtual void ClearItems();
    virtual void ClearSelection();
    virtual void AddColumn(int32_t width) { m_Columns.push_back(width); }
    virtual void SetTextWidget(GxTaskUIBase* widget) { m_TextWidget = widget; }
    virtual int32_t GetItemCount() const { return static_cast<int32_t>(m_Items.size()); }
    virtual int32_t GetColumnCount() const { return static_cast<int32_t>(m_Columns.size()); }
    // Null / 0 past the count.
    virtual GxUIMenuItem* GetItem(int32_t index);
    virtual int32_t GetColumn(int32_t index) const;
    virtual int32_t GetCurrentIndex() const { return m_CurrentIndex; }
    virtual std::wstring GetCurrentName() const;
    virtual int32_t GetCurrentValue() const;
    virtual int32_t GetHoverIndex() const { return m_HoverIndex; }

    // Offset of sub-entry k from its entry's text: the column widths 0 .. k.
    int32_t GetSubItemOffset(int32_t k) const;
    // Text and added colour of an entry by its state.
    void GetItemColors(int32_t index, uint32_t& color, uint32_t& added) const;
    const GxUIImageTable& GetImages() const { return m_Images; }

private:
    int32_t EntryAt(float y) const;
    void ShowDescript(const std::wstring& text);
    void DrawEntry(const GxUIMenuItem& item, float x, float y, uint32_t color, uint32_t added) const;

    int32_t m_TextFontIndex = 1;
    std::vector<GxUIMenuItem> m_Items;
    std::vector<int32_t> m_Columns;
    int32_t m_HoverIndex = -1;
    int32_t m_CurrentIndex = -1;
    int32_t m_ReservedIndex[2] = {-1, -1};
    uint32_t m_NormalColor = 0xFFFFFFFFu;
    uint32_t m_HoverColor = 0xFFFFFFFFu;
    uint32_t m_HoverAddColor = 0xFF202020u;
    uint32_t m_SelectedColor = 0xFF80A0FFu;
    uint32_t m_SelectedAddColor = 0xFF202020u;
    uint32_t m_DisabledColor = 0xFF80A0FFu;
    uint32_t m_HoverBarColor = 0x80FFFFFFu;
    GxTaskUIBase* m_TextWidget = nullptr;
    GxUIImageTable m_Images;
    int32_t m_PatternIndex = 0;
};
