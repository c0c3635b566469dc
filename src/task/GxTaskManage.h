#pragma once

#include "task/GxTaskKeyInputListenerBase.h"
#include "task/GxTaskMouseListenerBase.h"
#include "task/GxTaskNetListenerBase.h"
#include "task/GxTaskWindowListenerBase.h"
#include "core/GxThreadListenerBase.h"

#include <cstdint>
#include <map>
#include <string>

class GxCore;
class GxSeqBase;
class GxTaskBase;
class GxTaskRenderManage;
class GxTaskScreenService;

// Owner of the task tree: registers tasks by ID and global name, moves them, switches sequences, sweeps
// dead tasks and carries every per-step call and input notification through the tree.
//
// Walk rules: a walk starts at a task and follows its next-sibling links; flag 0x100000 ends the run
// after the task that carries it. Update, pre-start and draw registration visit a task before its
// children; input walks visit children first and end at the first task that takes the event.
class GxTaskManage : public GxThreadListenerBase,
                     public GxTaskWindowListenerBase,
                     public GxTaskMouseListenerBase,
                     public GxTaskKeyInputListenerBase,
                     public GxTaskNetListenerBase
{
    friend class GxTaskBase;

public:
    static constexpr int kRenderLayerCount = 10;
    static constexpr int kRenderBankCount = 2;

    explicit GxTaskManage(GxCore* core = nullptr);
    // Deletes the whole tree from the root task, children before their parent.
    ~GxTaskManage() override;

    GxTaskManage(const GxTaskManage&) = delete;
    GxTaskManage& operator=(const GxTaskManage&) = delete;

    GxCore* GetCore() const { return m_Core; }

    // The core's twenty draw lists (bank x 10 + layer) and its current-bank index, which the manager
    // reads on every registration so that the screen capture can switch banks.
    void SetRenderLists(GxTaskRenderManage* lists, const int32_t* currentBank);
    // Layer list of the current bank, or null when no lists are attached or layer is out of range.
    GxTaskRenderManage* GetRenderList(int32_t layer) const;
    void SetScreenService(GxTaskScreenService* service) { m_ScreenService = service; }
    // Never null: the default service when none is set.
    GxTaskScreenService* GetScreenService() const;

    // Registration.
    bool RegisterTaskID(GxTaskBase* task, uint64_t id);
    bool UnregisterTaskID(uint64_t id);
    bool RegisterTaskName(const std::wstring& name, GxTaskBase* task);
    GxTaskBase* FindTaskByName(const wchar_t* name) const;
    GxTaskBase* FindTaskByName(const std::wstring& name) const;
    GxTaskBase* FindTaskByID(uint64_t id) const;
    bool MoveNode(GxTaskBase* task, GxTaskBase* newParent);

    // Sequence switching.
    bool ChangeSequence(GxTaskBase* task, uint32_t param0, uint32_t param1);
    bool ChangeSequence(const wchar_t* name, uint32_t param0, uint32_t param1);
    bool ChangeSequence(const std::wstring& name, uint32_t param0);
    void ApplyPendingSequence();
    void ClearSequence();

    // Per-step walks.
    int32_t DeleteDeadTasks(GxTaskBase* first);
    void WalkUpdate(GxTaskBase* first, int32_t step, int64_t elapsed);
    void WalkUpdatePreStart(GxTaskBase* first, int32_t step, int64_t elapsed);
    void WalkRegisterDraw(GxTaskBase* first, int32_t step, int64_t elapsed);
    void WalkSequenceEnter(GxTaskBase* first);
    void WalkSequenceLeave(GxTaskBase* first);
    void WalkExtraHook1(GxTaskBase* first);
    void WalkExtraHook2(GxTaskBase* first);
    void WalkExtraHook3(GxTaskBase* first);

    // Button presses, walked from the window procedure over one sequence; the taking task or null.
    GxTaskBase* WalkMouseLeftDown(GxTaskBase* first, const float* point, uint32_t keys);
    GxTaskBase* WalkMouseLeftDoubleClick(GxTaskBase* first, const float* point, uint32_t keys);
    GxTaskBase* WalkMouseRightDown(GxTaskBase* first, const float* point, uint32_t keys);
    GxTaskBase* WalkMouseRightDoubleClick(GxTaskBase* first, const float* point, uint32_t keys);
    GxTaskBase* WalkMouseMiddleDown(GxTaskBase* first, const float* point, uint32_t keys);
    GxTaskBase* WalkMouseMiddleDoubleClick(GxTaskBase* first, const float* point, uint32_t keys);
    using PressWalk = GxTaskBase* (GxTaskManage::*)(GxTaskBase*, const float*, uint32_t);
    // The one way a press reaches the tree: one of the six walks above over the system sequence and,
    // when nothing there took it, over the current sequence once it is entered. The taking task or null.
    GxTaskBase* DispatchPress(PressWalk walk, const float* point, uint32_t keys);

    // The other input walks over one run; the taking task or null.
    GxTaskBase* WalkThread0(GxTaskBase* first, const wchar_t* name, GxThreadObject* thread, uint32_t value1,
                            uint32_t value2);
    GxTaskBase* WalkThread1(GxTaskBase* first, const wchar_t* name, GxThreadObject* thread, uint32_t value1,
                            uint32_t value2);
    GxTaskBase* WalkActivate(GxTaskBase* first);
    GxTaskBase* WalkDeactivate(GxTaskBase* first);
    GxTaskBase* WalkCloseRequest(GxTaskBase* first);
    GxTaskBase* WalkScreenModeChange(GxTaskBase* first, int32_t newMode, int32_t oldMode);
    GxTaskBase* WalkMouseMove(GxTaskBase* first, const float* point, uint32_t keys);
    GxTaskBase* WalkMouseWheel(GxTaskBase* first, const float* point, int32_t delta, uint32_t keys);
    GxTaskBase* WalkMouseLeftUp(GxTaskBase* first, const float* point, uint32_t keys);
    GxTaskBase* WalkMouseRightUp(GxTaskBase* first, const float* point, uint32_t keys);
    GxTaskBase* WalkMouseMiddleUp(GxTaskBase* first, const float* point, uint32_t keys);
    GxTaskBase* WalkKeyDown(GxTaskBase* first, uint32_t key, uint32_t keyData);
    GxTaskBase* WalkKeyUp(GxTaskBase* first, uint32_t key, uint32_t keyData);
    GxTaskBase* WalkKeyInput2(GxTaskBase* first, uint32_t value1, uint32_t value2);
    GxTaskBase* WalkKeyInput3(GxTaskBase* first, uint32_t value1, uint32_t value2, uint32_t value3);
    GxTaskBase* WalkNet0(GxTaskBase* first, uint32_t value);
    GxTaskBase* WalkNet1(GxTaskBase* first, uint32_t value);
    GxTaskBase* WalkNet2(GxTaskBase* first, uint32_t value1, uint32_t value2);
    GxTaskBase* WalkNet3(GxTaskBase* first, uint32_t value1, uint32_t value2);
    GxTaskBase* WalkNet4(GxTaskBase* first, uint32_t value1, uint32_t value2);

    // The manager's own listener operations: over the system sequence, then, when nothing took the
    // notification and the current sequence has been entered, over the current sequence.
    int32_t OnThread0(const wchar_t* name, GxThreadObject* thread, uint32_t value1, uint32_t value2) override;
    int32_t OnThread1(const wchar_t* name, GxThreadObject* thread, uint32_t value1, uint32_t value2) override;
    int32_t OnActivate() override;
    int32_t OnDeactivate() override;
    int32_t OnCloseRequest() override;
    int32_t OnScreenModeChange(int32_t newMode, int32_t oldMode) override;
    int32_t OnMouseMove(const float* point, uint32_t keys) override;
    int32_t OnMouseWheel(const float* point, int32_t delta, uint32_t keys) override;
    int32_t OnMouseLeftUp(const float* point, uint32_t keys) override;
    int32_t OnMouseRightUp(const float* point, uint32_t keys) override;
    int32_t OnMouseMiddleUp(const float* point, uint32_t keys) override;
    int32_t OnKeyDown(uint32_t key, uint32_t keyData) override;
    int32_t OnKeyUp(uint32_t key, uint32_t keyData) override;
    int32_t OnKeyInput2(uint32_t value1, uint32_t value2) override;
    int32_t OnKeyInput3(uint32_t value1, uint32_t value2, uint32_t value3) override;
    int32_t OnNet0(uint32_t value) override;
    int32_t OnNet1(uint32_t value) override;
    int32_t OnNet2(uint32_t value1, uint32_t value2) override;
    int32_t OnNet3(uint32_t value1, uint32_t value2) override;
    int32_t OnNet4(uint32_t value1, uint32_t value2) override;

    // State read by the core, the sequences and the script builtins.
    GxTaskBase* GetRootTask() const { return m_RootTask; }
    int32_t GetLiveTaskCount() const { return m_LiveTaskCount; }
    GxSeqBase* GetSystemSequence() const { return m_SystemSequence; }
    void SetSystemSequence(GxSeqBase* seq) { m_SystemSequence = seq; }
    GxSeqBase* GetCurrentSequence() const { return m_CurrentSequence; }
    const std::wstring& GetCurrentSequenceName() const { return m_CurrentName; }
    uint32_t GetCurrentParam(int index) const { return m_CurrentParam[index & 1]; }
    GxSeqBase* GetPendingSequence() const { return m_PendingSequence; }
    const std::wstring& GetPendingSequenceName() const { return m_PendingName; }
    GxSeqBase* GetPrevSequence() const { return m_PrevSequence; }
    const std::wstring& GetPrevSequenceName() const { return m_PrevName; }
    uint32_t GetPrevParam(int index) const { return m_PrevParam[index & 1]; }
    bool IsChangeSequencePending() const { return m_ChangePending; }
    bool IsSequenceEntered() const { return m_SequenceEntered; }
    // Set by the current sequence once its start (and transition) is complete, cleared by a switch
    // request. The core's frame runs the pre-start walk while it is clear, and hands it to every render
    // list's Draw as the "captured" flag.
    bool IsSequenceStarted() const { return m_SequenceStarted; }
    void SetSequenceStarted(bool started) { m_SequenceStarted = started; }
    bool IsChangePerformed() const { return m_ChangePerformed; }
    // Set by a task during its update to end the frame's remaining update steps.
    bool IsFrameStop() const { return m_FrameStop; }
    void SetFrameStop(bool stop) { m_FrameStop = stop; }
    // Cleared by the frame before every update step (after the dead-task sweep).
    void ClearStepFlags() { m_FrameStop = false; }
    // The core skips the update walks while this is set; nothing in the task tree sets it.
    bool IsUpdateSuspended() const { return m_UpdateSuspended; }
    void SetUpdateSuspended(bool suspended) { m_UpdateSuspended = suspended; }

private:
    void RegisterRootTask(GxTaskBase* task);
    void OnTaskDestroyed(GxTaskBase* task);
    void EraseTaskID(uint64_t id, const GxTaskBase* task);
    void EraseTaskName(const std::wstring& name, const GxTaskBase* task);
    static void DeleteTree(GxTaskBase* first);
    template <class Call> GxTaskBase* WalkInput(GxTaskBase* first, uint32_t selfBit, uint32_t childBit, Call& call);
    template <class Call> int32_t DispatchBoth(uint32_t selfBit, uint32_t childBit, Call& call);
    template <class Call> void WalkHook(GxTaskBase* first, Call& call);
    bool WalkUpdateRun(GxTaskBase* first, int32_t step, int64_t elapsed);
    // The sweep's walk; true when a dead task is left in the run.
    bool SweepRun(GxTaskBase* first);
    bool WalkPreStartRun(GxTaskBase* first, int32_t step, int64_t elapsed);
    bool ChangeSequenceChecked(GxTaskBase* task, uint32_t param0, uint32_t param1);

    std::map<uint64_t, GxTaskBase*> m_IDMap;
    std::map<std::wstring, GxTaskBase*> m_NameMap;
    GxCore* m_Core = nullptr;
    GxTaskBase* m_RootTask = nullptr;
    int32_t m_LiveTaskCount = 0;
    // Set when a task dies or takes a one-step stop; a sweep from the root with it clear has nothing to
    // do and is skipped.
    bool m_SweepPending = true;
    GxSeqBase* m_SystemSequence = nullptr;
    GxSeqBase* m_CurrentSequence = nullptr;
    std::wstring m_CurrentName;
    uint32_t m_CurrentParam[2] = {0, 0};
    bool m_ChangePending = false;
    bool m_SequenceEntered = false;
    bool m_SequenceStarted = false;
    bool m_ChangePerformed = false;
    bool m_FrameStop = false;
    bool m_UpdateSuspended = false;
    GxSeqBase* m_PendingSequence = nullptr;
    std::wstring m_PendingName;
    uint32_t m_PendingParam[2] = {0, 0};
    GxSeqBase* m_PrevSequence = nullptr;
    std::wstring m_PrevName;
    uint32_t m_PrevParam[2] = {0, 0};

    GxTaskRenderManage* m_RenderLists = nullptr;
    const int32_t* m_CurrentBank = nullptr;
    GxTaskScreenService* m_ScreenService = nullptr;
};
