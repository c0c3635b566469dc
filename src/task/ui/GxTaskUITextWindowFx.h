#pragma once

#include "task/ui/GxTaskUIMessagePanelFx.h"

// A picture panel that lays out a whole text at once (UI type 10), with the message window's tags,
// rubies and kinsoku but no typing, waits, click waits or fields of its own in its record. Its text is the
// widget's m_Text, so the widget's record holds it (the adventure screen's name plate is one of these and
// is saved with the slot); loading lays it out again.
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
    // The widget's fields, then the text laid out as SetText lays it out.
    bool Load(GxContentReaderBase* reader) override;

    virtual void EnableRubyLine() { m_Layout.m_RubyLine = true; }
    virtual void DisableRubyLine() { m_Layout.m_RubyLine = false; }
    // Lays the whole text out before it returns.
    virtual void SetMessage(const std::wstring& text, bool ignoreKinsoku, bool disableAutoNewline);
    virtual void ClearMessage();
    virtual int32_t GetTextLength() const;
    virtual int32_t GetRemainCharCount() const { return m_Layout.GetRemainCharCount(m_Text); }
    virtual bool ShowAll();
    virtual bool ShowNextChar() { return m_Layout.ShowNextChar(m_Text); }
};
