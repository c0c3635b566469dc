#pragma once

#include "task/GxTaskBase.h"
#include "task/GxUIEvent.h"
#include "task/GxUIListenerBase.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <string>

// A task that names its descendants locally (name and index, unique within the folder) and receives UI
// events: widgets queue them here, and the folder hands them to its GxUIListenerBase during its update.
// Sequences, actors, layers and widgets are all folders.
class GxTaskFolder : public GxTaskBase, public GxUIListenerBase
{
public:
    GxTaskFolder(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                 int32_t localIndex = 0);
    ~GxTaskFolder() override;

    void OnSequenceLeave() override;
    int32_t Update(int32_t step, int64_t elapsed) override;
    // The parent's world position; (0, 0, 0, 0) without a parent.
    GxVector4 GetWorldPos() const override;

    bool RegisterTaskLocalName(const std::wstring& name, int32_t index, GxTaskBase* task);
    bool UnregisterTaskLocalName(const std::wstring& name, int32_t index);
    // Logs a miss as an error.
    GxTaskBase* GetTaskLocal(const wchar_t* name, int32_t index) const;
    GxTaskBase* GetTaskLocal(const std::wstring& name, int32_t index) const;
    // No message on a miss.
    GxTaskBase* FindTaskLocal(const wchar_t* name, int32_t index) const;
    GxTaskBase* FindTaskLocal(const std::wstring& name, int32_t index) const;

    // Hands every queued event to the folder's listener, front first, including events queued by the
    // listeners meanwhile; the sum of the results (0 for a null folder).
    static int32_t DispatchUIEvents(GxTaskFolder* folder);
    void ClearUIEvents();
    // Appends an event when the folder accepts UI events and is neither dead nor suspended.
    bool QueueUIEvent(const GxUIEvent& event);
    size_t GetUIEventCount() const { return m_UIEvents.size(); }
    bool IsAcceptUIEvent() const { return m_AcceptUIEvent; }
    void SetAcceptUIEvent(bool accept) { m_AcceptUIEvent = accept; }

private:
    std::map<std::wstring, std::map<int32_t, GxTaskBase*>> m_LocalNames;
    std::deque<GxUIEvent> m_UIEvents;
    bool m_AcceptUIEvent = false;
    // Raised by every ClearUIEvents, so that a dispatch notices a listener that emptied the queue.
    uint32_t m_UIEventClearCount = 0;
};
