#include "TaskTestSupport.h"

#include "core/GxLog.h"

#include <gtest/gtest.h>

namespace
{

class ListeningFolder : public GxTaskFolder
{
public:
    using GxTaskFolder::GxTaskFolder;

    int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event) override
    {
        Seen(event, 0);
        EXPECT_EQ(sender, event.sender);
        if (event.param == 9)
            QueueUIEvent(GxUIEvent(sender, 19, 0)); // queued while dispatching
        if (event.param == 5)
            ClearUIEvents();
        if (event.param == 6)
        {
            ClearUIEvents();
            QueueUIEvent(GxUIEvent(sender, 2, 0));
        }
        return 1;
    }
    int32_t Seen(const GxUIEvent& event, int32_t result)
    {
        seen.push_back(event.code * 100 + event.param);
        return result;
    }
    int32_t OnUIEvent2(GxTaskBase*, const GxUIEvent& event) override { return Seen(event, 10); }
    int32_t OnUIEvent19(GxTaskBase*, const GxUIEvent& event) override { return Seen(event, 100); }
    int32_t OnUIEvent24(GxTaskBase*, const GxUIEvent& event) override { return Seen(event, 1000); }

    std::vector<int32_t> seen;
};

} // namespace

TEST(GxTaskFolderEvents, QueuedEventsReachTheListenerInOrderAndUnknownCodesAreDropped)
{
    TaskTree t;
    auto* folder = new ListeningFolder(t.root, L"f");
    EXPECT_FALSE(folder->QueueUIEvent(GxUIEvent(folder, 1, 0))); // not accepting yet
    folder->SetAcceptUIEvent(true);
    for (int32_t code : {1, 11, 14, 17, 21, 25, 2, 24, 19})
        EXPECT_TRUE(folder->QueueUIEvent(GxUIEvent(folder, code, 1)));
    EXPECT_EQ(GxTaskFolder::DispatchUIEvents(folder), 1111);
    EXPECT_EQ(folder->seen, (std::vector<int32_t>{101, 201, 2401, 1901}));
    EXPECT_EQ(folder->GetUIEventCount(), 0u);
    EXPECT_EQ(GxTaskFolder::DispatchUIEvents(nullptr), 0);
}

TEST(GxTaskFolderEvents, EventsQueuedByTheListenerAreDispatchedInTheSameCallAndNoneQueuedAfterAClearIsLost)
{
    TaskTree t;
    auto* folder = new ListeningFolder(t.root, L"f");
    folder->SetAcceptUIEvent(true);
    folder->QueueUIEvent(GxUIEvent(folder, 1, 9));
    folder->QueueUIEvent(GxUIEvent(folder, 2, 0));
    // Update dispatches; the event queued during the first call comes after those already queued.
    folder->Update(0, 0);
    EXPECT_EQ(folder->seen, (std::vector<int32_t>{109, 200, 1900}));

    folder->seen.clear();
    folder->QueueUIEvent(GxUIEvent(folder, 1, 5)); // clears
    folder->QueueUIEvent(GxUIEvent(folder, 2, 0));
    EXPECT_EQ(GxTaskFolder::DispatchUIEvents(folder), 1);
    EXPECT_EQ(folder->seen, (std::vector<int32_t>{105}));
    folder->seen.clear();
    folder->QueueUIEvent(GxUIEvent(folder, 1, 6)); // clears, then queues a new event
    EXPECT_EQ(GxTaskFolder::DispatchUIEvents(folder), 11);
    EXPECT_EQ(folder->seen, (std::vector<int32_t>{106, 200}));
}

TEST(GxTaskFolderEvents, SuspendedDeadOrLeftFoldersKeepNoEvents)
{
    TaskTree t;
    auto* folder = new ListeningFolder(t.root, L"f");
    folder->SetAcceptUIEvent(true);
    folder->QueueUIEvent(GxUIEvent(folder, 1, 0));
    folder->OnSequenceLeave();
    EXPECT_EQ(folder->GetUIEventCount(), 0u);
    folder->Suspend();
    EXPECT_FALSE(folder->QueueUIEvent(GxUIEvent(folder, 1, 0)));
    folder->Resume();
    folder->Kill();
    EXPECT_FALSE(folder->QueueUIEvent(GxUIEvent(folder, 1, 0)));
    GxUIEvent event(nullptr, 7, 3); // a new event has zeroed values
    EXPECT_EQ(event.reserved, 0);
    for (float v : event.values)
        EXPECT_EQ(v, 0.0f);
}

TEST(GxTaskFolderLocal, GetLogsAMissFindDoesNot)
{
    TaskTree t;
    auto* folder = new GxTaskFolder(t.root, L"f");
    const uint32_t errors = GxLog::GetErrorCount();
    EXPECT_EQ(folder->FindTaskLocal(L"none", 0), nullptr);
    EXPECT_EQ(GxLog::GetErrorCount(), errors);
    EXPECT_EQ(folder->GetTaskLocal(L"none", 0), nullptr);
    EXPECT_EQ(GxLog::GetErrorCount(), errors + 1);
    EXPECT_FALSE(folder->UnregisterTaskLocalName(L"none", 0));
}
