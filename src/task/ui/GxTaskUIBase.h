#pragma once

#include "task/GxTaskActor.h"
#include "task/GxUIEvent.h"

#include <cstdint>

// The base of every widget: an actor with an enabled flag, modal and top-most flags, and the posting of
// UI events to the current sequence.
// FIXME: only the part the sequences and the task tree rely on (state queries along the widget chain,
// event posting, update and draw registration); values, texts, module and layout rows, hit tests,
// centring, input bookkeeping and save/load come with the widget family.
class GxTaskUIBase : public GxTaskActor
{
public:
    GxTaskUIBase(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                 int32_t localIndex = 0);
    ~GxTaskUIBase() override;

    // Steps the actions with elapsed / 1000 ms.
    int32_t Update(int32_t step, int64_t elapsed) override;
    // List 7 of the current bank when top-most in the tree, else list 5; ascending by m_OrderZ.
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;

    virtual void SetEnabled(bool enabled) { m_Enabled = enabled; }
    virtual bool IsEnabled() const { return m_Enabled; }
    virtual void EnableEventReport(int32_t code);
    virtual void DisableEventReport(int32_t code);
    virtual bool IsEventReported(int32_t code) const;
    virtual void SetModal(bool modal) { m_ModalFlag = modal; }
    virtual bool IsModal() const { return m_ModalFlag; }
    virtual void SetModalPriority(int32_t priority) { m_ModalPriority = priority; }
    virtual int32_t GetModalPriority() const { return m_ModalPriority; }
    virtual void SetTopMost(bool topMost) { m_TopMostFlag = topMost; }
    virtual bool IsTopMost() const { return m_TopMostFlag; }

    // Inherited state along the chain of widget ancestors (the first non-widget ends it).
    virtual bool IsVisibleInTree() const;
    virtual bool IsEnabledInTree() const;
    virtual int32_t GetEffectiveModalPriority() const;
    virtual bool IsTopMostInTree() const;

    // Queue an event in the current sequence: false without one, or when it is dead, suspended or not
    // accepting UI events.
    virtual bool PostUIEventCode(int32_t code);
    virtual bool PostUIEvent(const GxUIEvent& event);

protected:
    bool m_Enabled = true;
    uint32_t m_EventReportFlags = 0xFFFFFFFFu;
    bool m_ModalFlag = false;
    int32_t m_ModalPriority = 1;
    bool m_TopMostFlag = false;
};
