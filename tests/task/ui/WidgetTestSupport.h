#pragma once

// A task tree for widget tests: the system sequence with its help tip, one started test sequence that
// accepts UI events and records them, a pointer the test moves, and the core's input walks.
#include "../TaskTestSupport.h"

#include "task/GxSeqSystemBase.h"
#include "task/ui/GxTaskUITipHelpIs.h"

#include <string>
#include <vector>

// The pointer the widgets poll in their update.
struct CursorService : GxTaskScreenService
{
    int32_t x = 0;
    int32_t y = 0;
    void GetCursorPos(int32_t& ox, int32_t& oy) override
    {
        ox = x;
        oy = y;
    }
};

// Records the widget events as "<code>:<local name>".
class EventSeq : public GxSeqBase
{
public:
    using GxSeqBase::GxSeqBase;
    int32_t Note(int code, GxTaskBase* sender)
    {
        m_Events.push_back(std::to_wstring(code) + L":" + (sender ? sender->GetTaskLocalName() : L"?"));
        return 1;
    }
    int32_t OnUIEvent1(GxTaskBase* s, const GxUIEvent&) override { return Note(1, s); }
    int32_t OnUIEvent7(GxTaskBase* s, const GxUIEvent&) override { return Note(7, s); }
    int32_t OnUIEvent8(GxTaskBase* s, const GxUIEvent&) override { return Note(8, s); }
    int32_t OnUIEvent18(GxTaskBase* s, const GxUIEvent& e) override
    {
        m_Values.push_back(static_cast<int32_t>(e.values[1]));
        return Note(18, s);
    }
    int32_t OnUIEvent19(GxTaskBase* s, const GxUIEvent&) override { return Note(19, s); }
    std::vector<std::wstring> m_Events;
    std::vector<int32_t> m_Values; // the second value of each event 18
};

struct WidgetTree : TaskTree
{
    CursorService cursor;
    GxSeqSystemBase* sys = new GxSeqSystemBase(root, L"SeqSystem");
    GxTaskUITipHelpIs* tip = new GxTaskUITipHelpIs(sys, L"tip_help");
    EventSeq* seq = new EventSeq(root, L"SeqWidgets");

    WidgetTree()
    {
        manage.SetScreenService(&cursor);
        manage.SetSystemSequence(sys);
        GxSeqBase::ResetInputLocks();
        seq->SetAcceptUIEvent(true);
        tip->Hide();
        Enter(seq);
        Step(0, 0);
    }
    ~WidgetTree() { manage.SetScreenService(nullptr); }

    // One step of elapsed milliseconds with the pointer where it is.
    void Tick(int32_t ms) { Step(0, static_cast<int64_t>(ms) * 1000); }
    // The pointer moves: the window procedure's move walk over the system and the current sequence.
    int32_t Move(float x, float y)
    {
        cursor.x = static_cast<int32_t>(x);
        cursor.y = static_cast<int32_t>(y);
        const float p[2] = {x, y};
        return manage.OnMouseMove(p, 0);
    }
    GxTaskBase* Press(float x, float y)
    {
        const float p[2] = {x, y};
        GxTaskBase* taken = manage.WalkMouseLeftDown(sys, p, 0);
        return taken ? taken : manage.WalkMouseLeftDown(seq, p, 0);
    }
    int32_t Release(float x, float y)
    {
        const float p[2] = {x, y};
        return manage.OnMouseLeftUp(p, 0);
    }
    // The events queued so far, as one line ("7:btn 1:btn"), and the queue emptied.
    std::wstring Events()
    {
        GxTaskFolder::DispatchUIEvents(seq);
        std::wstring line;
        for (const std::wstring& e : seq->m_Events)
            line += (line.empty() ? L"" : L" ") + e;
        seq->m_Events.clear();
        return line;
    }
};

// A widget of the test sequence placed at (x, y) with a size and the client rectangle inside it.
template <class W> W* Place(GxTaskBase* parent, const wchar_t* name, float x, float y, int32_t w, int32_t h)
{
    W* widget = new W(parent, nullptr, name, 0);
    widget->SetPos(GxVector4(x, y, 0.0f, 0.0f));
    widget->SetWidth(w);
    widget->SetHeight(h);
    widget->SetClientRect(0, 0, w, h);
    return widget;
}
