#pragma once

#include "task/ui/GxTaskUIPanelFx.h"
#include "task/ui/GxUITextLayout.h"

// A picture panel with a short text over it (UI type 11): "|" breaks lines, a one-line text is centred
// when m_AutoAlign is set. The base of the strategy game's window views.
class GxTaskUITextPanelFx : public GxTaskUIPanelFx
{
public:
    GxTaskUITextPanelFx(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                        int32_t localIndex = 0);
    ~GxTaskUITextPanelFx() override;

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
