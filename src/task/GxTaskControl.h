#pragma once

#include <string>

class GxSeqBase;
class GxTaskBase;

// Plain walks that act on every task of one kind in a subtree: the screens use them to settle what is on
// screen at once (a skipped page) and to ask whether anything still moves (a wait on layers or actions).
//
// Every walk starts at a task and visits its whole sibling run along the next-sibling links, for each
// task first its children (recursively), then the task itself. States, task flags and listener masks are
// not consulted: a suspended or dead task is visited like any other. A task counts as a layer, actor or
// widget by its kind bits.
class GxTaskControl
{
public:
    // ResetLayer on every layer whose GetLayerType equals layerType, or on every layer when it is 0.
    static void ClearLayers(GxTaskBase* first, int layerType);
    static void FinishLayerTransitions(GxTaskBase* first);
    // Layers and widgets are actors too.
    static void FinishActorActions(GxTaskBase* first);
    static void ResetUIInputStates(GxTaskBase* first);
    // The queries stop at the first true answer.
    static bool IsAnyLayerTransiting(GxTaskBase* first);
    static bool IsAnyActorActing(GxTaskBase* first);

    // Builds the widgets of one DBUILayout group: for every row whose ParentName is folderName, in table
    // order, the owner's CreateUITaskFromLayout (by default the row's module through the widget factory,
    // then the row applied) under the folder of that global name. Without such a folder it logs and
    // builds nothing.
    static void CreateUIFromDBUILayout(GxSeqBase* owner, const std::wstring& folderName);
};
