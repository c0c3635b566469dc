#pragma once

#include "task/ui/GxTaskUIPanelFx.h"

#include <deque>
#include <string>

// One line of a text log.
struct GxTextLogElement
{
    std::wstring m_Icon; // drawn in the icon font before the text
    std::wstring m_Text;
    std::wstring m_Link;
    uint32_t m_TextColor = 0xFFFFFFFFu; // kept and stored; lines draw in the log's colour
};

// A scrolling list of text lines on a picture panel (UI type 51): lines are appended at the bottom, the
// oldest dropped beyond m_MaxLine, m_MaxView lines shown from the scroll position (the widget's value),
// an optional linked bar follows, and lines may expire one by one (crossout).
class GxTaskUITextLogFx : public GxTaskUIPanelFx
{
public:
    static constexpr int32_t kTypeCode = 51;

    GxTaskUITextLogFx(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                      int32_t localIndex = 0);
    ~GxTaskUITextLogFx() override;

    void OnSequenceEnter() override;
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    bool Save(GxContentWriterBase* writer) override;
    bool Load(GxContentReaderBase* reader) override;
    void ApplyModule(const DBUIModuleData& row) override;
    // AddLine(text, "", m_TextColor).
    void SetText(const wchar_t* text) override;

    virtual void SetTextFontIndex(int32_t index);
    // An index outside the eight bitmap fonts is logged and changes nothing.
    virtual void SetIconFontIndex(int32_t index);
    virtual void SetTextColor(uint32_t color) { m_TextColor = color; }
    virtual void SetEdgeColor(uint32_t color) { m_EdgeColor = color; }
    virtual void AddLine(const wchar_t* text, const wchar_t* icon, uint32_t color);
    virtual void ClearLines() { m_Lines.clear(); }
    virtual int32_t GetLineCount() const { return static_cast<int32_t>(m_Lines.size()); }
    virtual void SetMaxLine(int32_t max) { m_MaxLine = max; }
    virtual int32_t GetMaxLine() const { return m_MaxLine; }
    virtual void SetMaxView(int32_t max) { m_MaxView = max; }
    virtual int32_t GetMaxView() const { return m_MaxView; }
    // 0 keeps every line.
    virtual void TrimLines(int32_t max);
    virtual void SetAutoScroll(bool on) { m_AutoScroll = on; }
    virtual bool GetAutoScroll() const { return m_AutoScroll; }
    virtual void SetAutoCrossout(bool on) { m_AutoCrossout = on; }
    virtual bool GetAutoCrossout() const { return m_AutoCrossout; }
    virtual void SetCrossoutWaitTime(int32_t ms) { m_CrossoutWaitTime = ms; }
    virtual int32_t GetCrossoutWaitTime() const { return m_CrossoutWaitTime; }
    virtual void SetScrollBar(GxTaskUIBase* bar) { m_ScrollBar = bar; }
    virtual void SyncScrollBar();

    const std::deque<GxTextLogElement>& GetLines() const { return m_Lines; }

private:
    // The first shown line as an index, kept inside the lines (a stored value may come from anywhere).
    int32_t FirstShownLine() const;

    int32_t m_TextFontIndex = 1;
    int32_t m_TextFontSize;
    int32_t m_IconFontIndex = 0;
    uint32_t m_TextColor = 0xFFFFFFFFu;
    uint32_t m_EdgeColor;
    bool m_UseEdge = true;
    int32_t m_MaxLine = 100;
    int32_t m_MaxView = 16;
    bool m_AutoScroll = true;
    bool m_AutoCrossout = false;
    int32_t m_CrossoutWaitTime = 3000;
    int32_t m_CrossoutCount = 0;
    std::deque<GxTextLogElement> m_Lines;
    GxTaskUIBase* m_ScrollBar = nullptr;
};
