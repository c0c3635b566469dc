#pragma once

// Recording tasks shared by the task-tree tests: every call a walk makes is appended to one journal as
// "<what>:<name>", so a test can compare the exact order of visits.
#include "task/GxSeqBase.h"
#include "task/GxSeqTransitBase.h"
#include "task/GxTaskBase.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskRenderManage.h"
#include "task/GxTaskScreenService.h"

#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using Journal = std::vector<std::wstring>;

// A journal written as one line of words: J(L"U:A U:a1").
inline Journal J(const std::wstring& words)
{
    Journal journal;
    std::wistringstream in(words);
    for (std::wstring word; in >> word;)
        journal.push_back(word);
    return journal;
}

// The children of a task in order, as the links forward give them; the links backward and the count must
// agree, or the answer is empty.
inline std::vector<GxTaskBase*> Children(const GxTaskBase* parent)
{
    std::vector<GxTaskBase*> forward, backward;
    for (GxTaskBase* child = parent->GetFirstChild(); child; child = child->GetNextSibling())
        forward.push_back(child);
    for (GxTaskBase* child = parent->GetLastChild(); child; child = child->GetPrevSibling())
        backward.insert(backward.begin(), child);
    if (forward != backward || static_cast<int32_t>(forward.size()) != parent->GetChildCount())
        return {};
    return forward;
}
using Tasks = std::vector<GxTaskBase*>;

// Clears the journal, runs the action and answers what it wrote.
template <class F> Journal Record(Journal& journal, F&& action)
{
    journal.clear();
    action();
    return std::exchange(journal, Journal{});
}

template <class Base> class Recording : public Base
{
public:
    template <class... Args>
    Recording(Journal* journal, const wchar_t* tag, Args&&... args) : Base(args...), m_Journal(journal), m_Tag(tag)
    {
    }

    void Note(const wchar_t* what) const
    {
        if (m_Journal)
            m_Journal->push_back(std::wstring(what) + L":" + m_Tag);
    }

    int32_t Update(int32_t step, int64_t elapsed) override
    {
        Note(L"U");
        if (m_KillSelfOnUpdate)
            this->Kill();
        if (m_StopOnUpdate)
            this->AddTaskFlags(GX_TASKFLAG_STOP_STEP);
        return Base::Update(step, elapsed);
    }
    int32_t UpdatePreStart(int32_t step, int64_t elapsed) override
    {
        Note(L"P");
        return Base::UpdatePreStart(step, elapsed);
    }
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override
    {
        Note(L"R");
        return Base::RegisterDraw(step, elapsed);
    }
    int32_t Draw(int32_t param, int32_t layer) override
    {
        Note(param == 1 ? L"D1" : L"D");
        return Base::Draw(param, layer);
    }
    void OnSequenceEnter() override
    {
        Note(L"Enter");
        Base::OnSequenceEnter();
        if (m_OnEnter)
            m_OnEnter();
    }
    void OnSequenceLeave() override
    {
        Note(L"Leave");
        Base::OnSequenceLeave();
        if (m_OnLeave)
            m_OnLeave();
    }
    void OnKill() override { Note(L"Kill"); }
    void OnResume() override { Note(L"Resume"); }
    void OnSuspend() override { Note(L"Suspend"); }
    int32_t Took(const wchar_t* what)
    {
        Note(what);
        return m_Take;
    }
    int32_t OnThread0(const wchar_t*, GxThreadObject*, uint32_t, uint32_t) override { return Took(L"T0"); }
    int32_t OnThread1(const wchar_t*, GxThreadObject*, uint32_t, uint32_t) override { return Took(L"T1"); }
    int32_t OnActivate() override { return Took(L"Act"); }
    int32_t OnDeactivate() override { return Took(L"Deact"); }
    int32_t OnCloseRequest() override { return Took(L"Close"); }
    int32_t OnScreenModeChange(int32_t, int32_t) override { return Took(L"Mode"); }
    int32_t OnMouseMove(const float*, uint32_t) override { return Took(L"MM"); }
    int32_t OnMouseWheel(const float*, int32_t, uint32_t) override { return Took(L"MW"); }
    int32_t OnMouseLeftDown(const float*, uint32_t, int32_t dbl) override { return Took(dbl ? L"LD2" : L"LD"); }
    int32_t OnMouseLeftUp(const float*, uint32_t) override { return Took(L"LU"); }
    int32_t OnMouseRightDown(const float*, uint32_t, int32_t dbl) override { return Took(dbl ? L"RD2" : L"RD"); }
    int32_t OnMouseRightUp(const float*, uint32_t) override { return Took(L"RU"); }
    int32_t OnMouseMiddleDown(const float*, uint32_t, int32_t dbl) override { return Took(dbl ? L"MD2" : L"MD"); }
    int32_t OnMouseMiddleUp(const float*, uint32_t) override { return Took(L"MU"); }
    int32_t OnKeyDown(uint32_t, uint32_t) override { return Took(L"KD"); }
    int32_t OnKeyUp(uint32_t, uint32_t) override { return Took(L"KU"); }
    int32_t OnKeyInput2(uint32_t, uint32_t) override { return Took(L"K2"); }
    int32_t OnKeyInput3(uint32_t, uint32_t, uint32_t) override { return Took(L"K3"); }
    int32_t OnNet0(uint32_t) override { return Took(L"N0"); }
    int32_t OnNet1(uint32_t) override { return Took(L"N1"); }
    int32_t OnNet2(uint32_t, uint32_t) override { return Took(L"N2"); }
    int32_t OnNet3(uint32_t, uint32_t) override { return Took(L"N3"); }
    int32_t OnNet4(uint32_t, uint32_t) override { return Took(L"N4"); }

    Journal* m_Journal;
    std::wstring m_Tag;
    std::function<void()> m_OnEnter, m_OnLeave; // run after the hooks
    int32_t m_Take = 0;
    bool m_KillSelfOnUpdate = false;
    bool m_StopOnUpdate = false;
};

using RecTask = Recording<GxTaskBase>;
using RecSeq = Recording<GxSeqBase>;
using RecTransit = Recording<GxSeqTransitBase>;

// A manager with a root task and the twenty draw lists of a core, bank selectable.
struct TaskTree
{
    GxTaskRenderManage lists[20];
    int32_t bank = 0;
    GxTaskManage manage;
    GxTaskBase* root;

    TaskTree() : root(new GxTaskBase(&manage)) { manage.SetRenderLists(lists, &bank); }

    GxTaskRenderManage& List(int layer) { return lists[bank * 10 + layer]; }

    // Requests the sequence and performs the switch at once.
    void Enter(GxTaskBase* sequence)
    {
        manage.ChangeSequence(sequence, 0, 0);
        manage.ApplyPendingSequence();
    }

    // One update step as the core's frame runs it.
    void Step(int32_t step, int64_t elapsed)
    {
        for (int i = 0; i < 10; ++i)
            List(i).Clear();
        manage.DeleteDeadTasks(root);
        manage.ClearStepFlags();
        if (GxSeqBase* current = manage.GetCurrentSequence())
        {
            if (!manage.IsSequenceStarted())
                manage.WalkUpdatePreStart(current, step, elapsed);
            manage.WalkUpdate(current, step, elapsed);
        }
        if (GxSeqBase* system = manage.GetSystemSequence())
            manage.WalkUpdate(system, step, elapsed);
        manage.WalkRegisterDraw(manage.GetCurrentSequence(), step, elapsed);
        manage.WalkRegisterDraw(manage.GetSystemSequence(), step, elapsed);
    }

    void DrawLayers()
    {
        for (int i = 0; i < 10; ++i)
            List(i).Draw(i, manage.IsSequenceStarted());
    }
};

// The manager's whole sequence state on one line: "SeqB(7,0) prev SeqA(3,4) pending entered started",
// the last three words present only when true.
inline std::wstring SeqState(const GxTaskManage& m)
{
    std::wstring state = m.GetCurrentSequenceName() + L"(" + std::to_wstring(m.GetCurrentParam(0)) + L"," +
                         std::to_wstring(m.GetCurrentParam(1)) + L") prev " + m.GetPrevSequenceName() + L"(" +
                         std::to_wstring(m.GetPrevParam(0)) + L"," + std::to_wstring(m.GetPrevParam(1)) + L")";
    for (auto [on, word] : {std::pair{m.IsChangeSequencePending(), L" pending"},
                            {m.IsSequenceEntered(), L" entered"},
                            {m.IsSequenceStarted(), L" started"}})
        if (on)
            state += word;
    return state;
}

// Counts what the sequences ask of the device and the core.
struct RecordingScreenService : GxTaskScreenService
{
    TaskTree* tree = nullptr;
    int clears = 0;
    int captures = 0;
    int capturedRegistrations = 0;
    std::vector<uint32_t> drawnColors;
    int closeRequests = 0;
    int dialogResult = -1;
    int32_t transitTime = 400;

    void ClearScreen() override { ++clears; }
    void CaptureScreen() override
    {
        ++captures;
        if (!tree)
            return;
        // What the core's capture does with the lists: bank 1, one registration pass, drawn, cleared.
        tree->bank = 1;
        for (int i = 0; i < 10; ++i)
            tree->List(i).Clear();
        tree->manage.WalkRegisterDraw(tree->manage.GetCurrentSequence(), 0, 0);
        tree->manage.WalkRegisterDraw(tree->manage.GetSystemSequence(), 0, 0);
        for (int i = 0; i < 10; ++i)
            capturedRegistrations += static_cast<int>(tree->List(i).GetCount());
        for (int i = 0; i < 10; ++i)
            tree->List(i).Clear();
        tree->bank = 0;
    }
    void DrawCapturedScreen(uint32_t argb) override { drawnColors.push_back(argb); }
    int32_t GetTransitTime() override { return transitTime; }
    void RequestClose() override { ++closeRequests; }
    void SetDialogResult(int32_t result) override { dialogResult = result; }
};
