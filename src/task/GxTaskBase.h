#pragma once

#include "task/GxTaskKeyInputListenerBase.h"
#include "task/GxTaskListenerBase.h"
#include "task/GxTaskMouseListenerBase.h"
#include "task/GxTaskNetListenerBase.h"
#include "task/GxTaskWindowListenerBase.h"
#include "core/GxThreadListenerBase.h"

#include "core/GxVector4.h"

#include <cstdint>
#include <string>

class GxContentReaderBase;
class GxContentWriterBase;
class GxTaskFolder;
class GxTaskManage;

// Walk-control bits of the task flags word.
enum GxTaskFlag : uint32_t
{
    GX_TASKFLAG_SKIP_UPDATE = 0x2,        // the update walk skips this task and its subtree
    GX_TASKFLAG_SKIP_PRESTART = 0x4,      // the pre-start walk skips this task and its subtree
    GX_TASKFLAG_SKIP_DRAWREG = 0x8,       // the draw-registration walk skips this task and its subtree
    GX_TASKFLAG_NO_DRAW = 0x10,           // render lists keep the entry but do not draw it
    GX_TASKFLAG_NOCHILD_UPDATE = 0x200,   // the update walk does not descend
    GX_TASKFLAG_NOCHILD_PRESTART = 0x400, // the pre-start walk does not descend
    GX_TASKFLAG_NOCHILD_DRAWREG = 0x800,  // the draw-registration walk does not descend
    GX_TASKFLAG_END_OF_RUN = 0x100000,    // every walk ends its sibling run at this task
    GX_TASKFLAG_PRESTART = 0x200000,      // UpdatePreStart until the sequence starts, Update after
    GX_TASKFLAG_STOP_STEP = 0x2000000,    // update walks stop at this level after this task; cleared per step
};

// Listener-mask bits: the self bit hides the task from walks of that listener kind, the children bit its
// descendants.
enum GxTaskListenerMask : uint32_t
{
    GX_LISTENER_THREAD = 0x2,
    GX_LISTENER_WINDOW = 0x4,
    GX_LISTENER_MOUSE = 0x8,
    GX_LISTENER_KEYINPUT = 0x10,
    GX_LISTENER_TRANSIT = 0x20, // set with mouse and key input by a running transition; no walk tests it
    GX_LISTENER_NET = 0x40,
    GX_LISTENER_THREAD_CHILDREN = 0x200,
    GX_LISTENER_WINDOW_CHILDREN = 0x400,
    GX_LISTENER_MOUSE_CHILDREN = 0x800,
    GX_LISTENER_KEYINPUT_CHILDREN = 0x1000,
    GX_LISTENER_NET_CHILDREN = 0x4000,
};

// Class-kind bits, tested before a task pointer is converted to the derived class.
enum GxTaskKind : uint32_t
{
    GX_TASKKIND_FOLDER = 2,
    GX_TASKKIND_SEQUENCE = 4,
    GX_TASKKIND_WIDGET = 8,
    GX_TASKKIND_ACTOR = 16,
    GX_TASKKIND_LAYER = 32,
    GX_TASKKIND_TRANSIT = 64,
};

enum GxTaskState : uint32_t
{
    GX_TASKSTATE_ACTIVE = 1,
    GX_TASKSTATE_SUSPENDED = 2,
    GX_TASKSTATE_DEAD = 3,
};

// The base of every live object: screens, folders, actors, layers, effects, widgets and the game's own
// tasks. It holds the tree links, names, ID and state of the task; the manager's walks call its virtual
// operations and its listener interfaces.
class GxTaskBase : public GxTaskListenerBase,
                   public GxThreadListenerBase,
                   public GxTaskWindowListenerBase,
                   public GxTaskMouseListenerBase,
                   public GxTaskKeyInputListenerBase,
                   public GxTaskNetListenerBase
{
    friend class GxTaskManage;
    friend class GxTaskFolder;

public:
    // A child task, appended as the last child of parent.
    GxTaskBase(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
               int32_t localIndex = 0);
    // A root task: the first one of a manager becomes its root.
    explicit GxTaskBase(GxTaskManage* manage);
    ~GxTaskBase() override;

    GxTaskBase(const GxTaskBase&) = delete;
    GxTaskBase& operator=(const GxTaskBase&) = delete;

    // Lifecycle hooks.
    virtual void OnResume() {}
    virtual void OnSuspend() {}
    virtual void OnKill() {}
    virtual void OnSequenceEnter() {}
    virtual void OnSequenceLeave() {}
    virtual void OnExtraHook1() {}
    virtual void OnExtraHook2() {}
    virtual void OnExtraHook3() {}

    // Per-step operations. step is the update step within the frame; elapsed is in microseconds and
    // reaches step 0 only.
    virtual int32_t Update(int32_t step, int64_t elapsed);
    virtual int32_t UpdatePreStart(int32_t step, int64_t elapsed);
    virtual int32_t RegisterDraw(int32_t step, int64_t elapsed);

    // Called by a render list with the parameter given at registration.
    virtual int32_t Draw(int32_t param, int32_t layer);
    virtual int32_t ForwardDraw(int32_t param, int32_t layer);
    virtual int32_t ExtraQuery(int32_t value);

    virtual bool SetTaskID(uint64_t id);
    virtual uint64_t GetTaskID() const { return m_TaskID; }
    virtual std::wstring GetTaskName() const { return m_GlobalName; }
    virtual bool SetTaskName(const std::wstring& name);
    virtual std::wstring GetTaskLocalName() const { return m_LocalName; }
    virtual int32_t GetTaskLocalIndex() const { return m_LocalIndex; }
    virtual bool SetTaskLocalName(const std::wstring& name, int32_t index);
    virtual std::wstring GetTaskPath() const;

    virtual uint32_t GetGlobalState() const { return m_GlobalState; }
    virtual void SetGlobalState(uint32_t state);
    virtual bool IsActive() const { return m_GlobalState == GX_TASKSTATE_ACTIVE; }
    virtual bool IsSuspended() const { return m_GlobalState == GX_TASKSTATE_SUSPENDED; }
    virtual bool IsDead() const { return m_GlobalState == GX_TASKSTATE_DEAD; }
    virtual void Resume();
    virtual void Suspend();
    virtual void Kill();
    virtual void ResumeChildren();
    virtual void SuspendChildren();
    virtual void KillChildren();

    virtual int32_t GetTypeCode() const { return m_TypeCode; }
    virtual void SetTypeCode(int32_t code) { m_TypeCode = code; }

    virtual int32_t GetDeleteDelay() const { return m_DeleteDelay; }
    virtual void SetDeleteDelay(int32_t n) { m_DeleteDelay = n; }
    virtual int32_t DecrementDeleteDelay();

    // Placement: all zero in the base, except a scale of (1, 1, 1, 0).
    virtual GxVector4 GetPos() const { return GxVector4(); }
    virtual GxVector4 GetWorldPos() const { return GxVector4(); }
    virtual GxVector4 GetScale() const { return GxVector4(1.0f, 1.0f, 1.0f, 0.0f); }
    virtual GxVector4 GetRot() const { return GxVector4(); }
    virtual GxVector4 GetCenterPos() const { return GxVector4(); }

    virtual bool Save(GxContentWriterBase* writer);
    virtual bool Load(GxContentReaderBase* reader);

    // Plain accessors of the tree and the control words.
    GxTaskManage* GetManager() const { return m_Manage; }
    GxTaskBase* GetParent() const { return m_Parent; }
    GxTaskBase* GetFirstChild() const { return m_FirstChild; }
    GxTaskBase* GetLastChild() const { return m_LastChild; }
    GxTaskBase* GetPrevSibling() const { return m_PrevSibling; }
    GxTaskBase* GetNextSibling() const { return m_NextSibling; }
    int32_t GetChildCount() const { return m_ChildCount; }

    uint32_t GetTaskFlags() const { return m_Flags; }
    void SetTaskFlags(uint32_t flags);
    void AddTaskFlags(uint32_t bits);
    uint32_t GetListenerMask() const { return m_ListenerMask; }
    void SetListenerMask(uint32_t mask) { m_ListenerMask = mask; }
    void AddListenerMask(uint32_t bits) { m_ListenerMask |= bits; }
    void RemoveListenerMask(uint32_t bits) { m_ListenerMask &= ~bits; }
    uint32_t GetTaskKind() const { return m_Kind; }
    bool HasKind(uint32_t bits) const { return (m_Kind & bits) != 0; }

    int32_t GetFrameCount() const { return m_FrameCount; }
    void SetFrameCount(int32_t n) { m_FrameCount = n; }
    void AdvanceFrameCount() { ++m_FrameCount; }

    // The nearest folder at or above this task (the task itself when it is a folder), or null.
    GxTaskFolder* FindFolder() const;
    // The folder that holds this task's local key, or null when the key is not registered anywhere.
    GxTaskFolder* GetLocalNameFolder() const { return m_LocalNameFolder; }

protected:
    void AddTaskKind(uint32_t bits) { m_Kind |= bits; }

private:
    void LinkAsLastChild(GxTaskBase* parent);
    void Unlink();
    void UnregisterLocalName();
    bool RegisterLocalName();
    // Tells the manager that its next dead-task sweep has work: this task died or carries a one-step stop.
    void NoteSweepWork(uint32_t state, uint32_t flags);

    uint32_t m_Flags = 0;
    uint32_t m_ListenerMask = 0;
    uint32_t m_GlobalState = GX_TASKSTATE_ACTIVE;
    int32_t m_TypeCode = 0;
    uint32_t m_Kind = 0;
    int32_t m_ChildCount = 0;
    GxTaskManage* m_Manage = nullptr;
    GxTaskBase* m_Parent = nullptr;
    GxTaskBase* m_FirstChild = nullptr;
    GxTaskBase* m_LastChild = nullptr;
    GxTaskBase* m_PrevSibling = nullptr;
    GxTaskBase* m_NextSibling = nullptr;
    std::wstring m_GlobalName;
    std::wstring m_LocalName;
    int32_t m_LocalIndex = 0;
    uint64_t m_TaskID = 0;
    int32_t m_FrameCount = 0;
    int32_t m_DeleteDelay = 1;
    // Where the local key was registered. A folder task's own search starts at itself, but at
    // construction its folder bit is not set yet, so the key lands in the folder above; remembering the
    // folder keeps unregistration in step with registration.
    GxTaskFolder* m_LocalNameFolder = nullptr;
};
