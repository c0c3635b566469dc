#pragma once

#include <cstdint>

struct DBUIModuleData;
class GxTaskBase;
class GxTaskUIBase;

// The widget factory behind the sequences' widget-creation operations: a DBUIModule row's UIType picks
// the widget class, the widget becomes a child of the parent, and the row is applied with ApplyModule.
//
// Names: index -1 makes name the widget's global name (no local name); any other index makes it the
// local name with that index, registered in the nearest folder.
class GxUIFactory
{
public:
    // Null for a UIType that names no widget class (nothing is created), a null parent or row.
    static GxTaskUIBase* CreateUITask(GxTaskBase* parent, const DBUIModuleData* module, const wchar_t* name,
                                      int32_t index);
    // The row found by ModuleName; null after the table's message when no row has it.
    static GxTaskUIBase* CreateUITaskByModuleName(GxTaskBase* parent, const wchar_t* moduleName, const wchar_t* name,
                                                  int32_t index);
    // The row found by its ID; null after a log line for an ID outside the table or of an empty row.
    static GxTaskUIBase* CreateUITaskFromId(GxTaskBase* parent, int32_t moduleID, const wchar_t* name, int32_t index);
};
