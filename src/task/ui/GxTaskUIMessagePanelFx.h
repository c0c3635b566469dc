#pragma once

#include "task/ui/GxTaskUIPanelFx.h"
#include "task/ui/GxUIMessageLayout.h"

// A picture panel that lays its text out with GxUIMessageLayout (tags, rubies, kinsoku) into a text
// region: the body the message window and the text window share. It is no widget of its own (no UI
// type); the two windows say which text they lay out and when.
class GxTaskUIMessagePanelFx : public GxTaskUIPanelFx
{
public:
    ~GxTaskUIMessagePanelFx() override;

    // The panel's, then SetTextFontIndex and SetTextRegion from the row.
    void ApplyModule(const DBUIModuleData& row) override;

    virtual void SetTextFontIndex(int32_t index);
    virtual void SetRubyFontIndex(int32_t index);
    virtual void ShowText() { m_Layout.m_VisibleText = true; }
    virtual void HideText() { m_Layout.m_VisibleText = false; }
    virtual int32_t GetShowCharCount() const { return static_cast<int32_t>(m_Layout.m_ShowChars.size()); }
    virtual void SetTextRegion(int32_t left, int32_t top, int32_t width, int32_t height);
    virtual void NewLine() { m_Layout.NewLine(); }
    virtual void ClearPage() { m_Layout.ClearPage(); }

    const GxUIMessageLayout& GetLayout() const { return m_Layout; }

protected:
    // className names the window in the log lines of a bad font index or record.
    GxTaskUIMessagePanelFx(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName, int32_t localIndex,
                           GxUIMessageLayout::Mode mode, int32_t typeCode, const wchar_t* className);

    // The panel's image, then the page in textColor while the text is visible.
    int32_t DrawPage(uint32_t textColor);
    const wchar_t* GetClassName() const { return m_ClassName; }

    GxUIMessageLayout m_Layout;

private:
    const wchar_t* m_ClassName;
};
