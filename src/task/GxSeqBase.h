#pragma once

#include "task/GxTaskFolder.h"

#include <cstdint>

class GxTaskUIBase;
struct DBUILayoutData;
struct DBUIModuleData;

// One screen of the program: a folder whose subtree holds the screen's layers and widgets. It gives the
// screen its start rule, its screen clearing (layer 0), the system dialogs' buttons and widget input
// permission. Every sequence ends its sibling run and is a pre-start task.
class GxSeqBase : public GxTaskFolder
{
public:
    GxSeqBase(GxTaskBase* parent, const wchar_t* globalName);
    ~GxSeqBase() override;

    void OnSequenceLeave() override;
    int32_t UpdatePreStart(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    // The system dialogs' buttons (event code 1).
    int32_t OnUIEvent1(GxTaskBase* sender, const GxUIEvent& event) override;

    virtual bool CanWidgetAcceptInput(GxTaskUIBase* widget);
    virtual bool IsWidgetShown(GxTaskUIBase* widget);
    virtual bool CanRunScript() { return true; }
    virtual bool CanAcceptInput() { return s_LockCount[0] == 0; }
    virtual bool CanAcceptInput2() { return s_LockCount[1] == 0; }
    virtual bool CanAcceptInput3() { return s_LockCount[2] == 0; }
    // The widget factory (GxUIFactory): a widget of the module row's class under parent, named by name as
    // a global name (index -1) or a local one with the index; null when the row names no widget class.
    virtual GxTaskUIBase* CreateUITask(GxTaskBase* parent, const DBUIModuleData* module, const wchar_t* name,
                                       int32_t index);
    virtual GxTaskUIBase* CreateUITaskByModuleName(GxTaskBase* parent, const wchar_t* moduleName, const wchar_t* name,
                                                   int32_t index);
    virtual GxTaskUIBase* CreateUITaskFromId(GxTaskBase* parent, int32_t moduleID, const wchar_t* name,
                                             int32_t index);
    // One widget of a layout row (GxTaskControl::CreateUIFromDBUILayout): by default the row's module
    // through CreateUITaskByModuleName, then the row's place, texts and value.
    virtual GxTaskUIBase* CreateUITaskFromLayout(GxTaskBase* folder, const DBUILayoutData& row, const wchar_t* name,
                                                 int32_t index);

    // Process-wide values read by the permission queries: the number of open system dialogs (raised by
    // the system sequence), the input lock and three lock counters, all 0 at start-up.
    static int32_t GetOpenDialogCount() { return s_OpenDialogCount; }
    static void SetOpenDialogCount(int32_t count) { s_OpenDialogCount = count; }
    // Lowers the open-dialog count by one, never below 0.
    static void DecrementOpenDialogCount();
    static int32_t GetInputLock() { return s_InputLock; }
    static void SetInputLock(int32_t lock) { s_InputLock = lock; }
    static int32_t GetLockCount(int index) { return s_LockCount[index % 3]; }
    static void SetLockCount(int index, int32_t count) { s_LockCount[index % 3] = count; }
    // Start-up state: no dialog open, no lock.
    static void ResetInputLocks();

protected:
    // The start rule: marks the current sequence started once it has been entered.
    void StartMain();

private:
    static int32_t s_OpenDialogCount;
    static int32_t s_InputLock;
    static int32_t s_LockCount[3];
};
