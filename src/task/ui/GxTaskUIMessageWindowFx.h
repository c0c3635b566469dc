#pragma once

#include "task/ui/GxTaskUIPanelFx.h"
#include "task/ui/GxUIMessageLayout.h"

// The typewriter message window of the adventure screen (UI type 9): a picture panel that types its
// message (the widget's m_Text) at the player's text speed into a text region, with rubies, inline tags,
// kinsoku line breaking and click waits. The whole page and typing state is stored, so a loaded game shows
// the page exactly as it was.
class GxTaskUIMessageWindowFx : public GxTaskUIPanelFx
{
public:
    GxTaskUIMessageWindowFx(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                            int32_t localIndex = 0);
    ~GxTaskUIMessageWindowFx() override;

    // The panel's update, then the typing: characters while the wait is below 1 ms; reaching a stop ends
    // the frame's catch-up steps.
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    bool Save(GxContentWriterBase* writer) override;
    bool Load(GxContentReaderBase* reader) override;
    void ApplyModule(const DBUIModuleData& row) override;
    // SetMessage(text, automatic click wait, not read, kinsoku, automatic line breaks).
    void SetText(const wchar_t* text) override;

    virtual void SetTextFontIndex(int32_t index);
    virtual void SetRubyFontIndex(int32_t index);
    virtual void ShowText() { m_Layout.m_VisibleText = true; }
    virtual void HideText() { m_Layout.m_VisibleText = false; }
    virtual void SetMessage(const std::wstring& text, bool autoClickWait, bool readed, bool ignoreKinsoku,
                            bool disableAutoNewline);
    virtual void ClearMessage();
    // In UTF-16 units.
    virtual int32_t GetTextLength() const;
    virtual int32_t GetShowCharCount() const { return static_cast<int32_t>(m_Layout.m_ShowChars.size()); }
    virtual bool IsReaded() const { return m_Layout.m_ReadedFlag; }
    void SetReaded(bool readed) { m_Layout.m_ReadedFlag = readed; }
    virtual void SetTextRegion(int32_t left, int32_t top, int32_t width, int32_t height);
    // Kept inside 0 .. the text's length.
    virtual void SetProcessPos(int32_t pos) { m_Layout.SetProcessPos(pos, m_Text); }
    virtual int32_t GetProcessPos() const { return m_Layout.m_ProcessPos; }
    virtual int32_t GetRemainCharCount() const { return m_Layout.GetRemainCharCount(m_Text); }
    virtual bool IsClickWaiting() const { return m_Layout.m_ClickWaiting; }
    virtual bool IsTimeWaiting() const { return m_Layout.m_WaitTimeLeft > 0; }
    // The player's click: ends a click wait (true when the message is then finished) or shows the rest
    // of the text up to the next stop.
    virtual bool ProceedClick();
    virtual bool ShowAtOnce(bool throughClickWaits, bool onlyIfReaded);
    virtual bool ShowNextChar() { return m_Layout.ShowNextChar(m_Text); }
    virtual void NewLine() { m_Layout.NewLine(); }
    virtual void ClearPage() { m_Layout.ClearPage(); }

    const GxUIMessageLayout& GetLayout() const { return m_Layout; }

private:
    GxUIMessageLayout m_Layout{GxUIMessageLayout::Mode::Message};
};
