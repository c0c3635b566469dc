#pragma once

#include "task/ui/GxTaskUIMessagePanelFx.h"

// A picture panel that lays out a whole text at once (UI type 10), with the message window's tags,
// rubies and kinsoku but no typing, waits, click waits or storage of its own. Its text is its own string,
// apart from the widget's m_Text.
class GxTaskUITextWindowFx : public GxTaskUIMessagePanelFx
{
public:
    static constexpr int32_t kTypeCode = 10;

    GxTaskUITextWindowFx(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                         int32_t localIndex = 0);
    ~GxTaskUITextWindowFx() override;

    int32_t Draw(int32_t param, int32_t layer) override;
    // SetMessage(text, kinsoku honoured, automatic line breaks).
    void SetText(const wchar_t* text) override;
    const std::wstring& GetText() const override { return m_WindowText; }

    virtual void EnableRubyLine() { m_Layout.m_RubyLine = true; }
    virtual void DisableRubyLine() { m_Layout.m_RubyLine = false; }
    // Lays the whole text out before it returns.
    virtual void SetMessage(const std::wstring& text, bool ignoreKinsoku, bool disableAutoNewline);
    virtual void ClearMessage();
    virtual int32_t GetTextLength() const;
    virtual int32_t GetRemainCharCount() const { return m_Layout.GetRemainCharCount(m_WindowText); }
    virtual bool ShowAll();
    virtual bool ShowNextChar() { return m_Layout.ShowNextChar(m_WindowText); }

private:
    std::wstring m_WindowText;
};
