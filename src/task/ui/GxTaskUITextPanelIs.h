#pragma once

#include "task/ui/GxTaskUIPanelIs.h"
#include "task/ui/GxUITextLayout.h"

// An image-set panel with a short text over it (UI type 17), laid out as the picture text panel.
class GxTaskUITextPanelIs : public GxTaskUIPanelIs
{
public:
    GxTaskUITextPanelIs(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                        int32_t localIndex = 0);
    ~GxTaskUITextPanelIs() override;

    int32_t Draw(int32_t param, int32_t layer) override;
    void ApplyModule(const DBUIModuleData& row) override;
    bool Save(GxContentWriterBase* writer) override;
    bool Load(GxContentReaderBase* reader) override;

    virtual void SetTextFontIndex(int32_t index);
    virtual void SetTextColor(uint32_t color) { m_Layout.m_TextColor = color; }
    virtual void SetEdgeColor(uint32_t color) { m_Layout.m_EdgeColor = color; }
    virtual void SetAutoAlign(int32_t align) { m_Layout.m_AutoAlign = align; }
    virtual int32_t GetAutoAlign() const { return m_Layout.m_AutoAlign; }

    const GxUITextLayout& GetLayout() const { return m_Layout; }

protected:
    GxUITextLayout m_Layout{2};
};
