#pragma once

#include "task/ui/GxTaskUIMessagePanelFx.h"

// The typewriter message window of the adventure screen (UI type 9): a picture panel that types its
// message (the widget's m_Text) at the player's text speed into a text region, with rubies, inline tags,
// kinsoku line breaking and click waits. The whole page and typing state is stored, so a loaded game shows
// the page exactly as it was.
class GxTaskUIMessageWindowFx : public GxTaskUIMessagePanelFx
{
public:
    static constexpr int32_t kTypeCode = 9;

    GxTaskUIMessageWindowFx(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                            int32_t localIndex = 0);
    ~GxTaskUIMessageWindowFx() override;

    // The panel's update, then the typing: characters while the wait is below 1 ms; reaching a stop ends
    // the frame's catch-up steps.
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    bool Save(GxContentWriterBase* writer) override;
    bool Load(GxContentReaderBase* reader) override;
    // SetMessage(text, automatic click wait, not read, kinsoku, automatic line breaks).
    void SetText(const wchar_t* text) override;

    virtual void SetMessage(const std::wstring& text, bool autoClickWait, bool readed, bool ignoreKinsoku,
                            bool disableAutoNewline);
    virtual void ClearMessage();
    // In UTF-16 units.
    virtual int32_t GetTextLength() const;
    virtual bool IsReaded() const { return m_Layout.m_ReadedFlag; }
    void SetReaded(bool readed) { m_Layout.m_ReadedFlag = readed; }
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
};
