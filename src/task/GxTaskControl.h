#pragma once

#include <string>

class GxSeqBase;

// Operations over a screen's task tree.
// FIXME: only the building of widgets from the UI layout table; the layer and actor walks (clearing
// layers, finishing transitions and actions, the is-anything-moving queries, input-state resets) come
// with the layer and widget tree control.
class GxTaskControl
{
public:
    // Finds the folder task of that global name through the owner's task manager and, for every row of
    // the UI layout table whose parent names the folder, in table order, asks the owner for the row's
    // widget (GxSeqBase::CreateUITaskFromLayout) with the row's task name and index. Without such a
    // folder: an error-log line, nothing built.
    static void CreateUIFromDBUILayout(GxSeqBase* owner, const std::wstring& folderName);
};
