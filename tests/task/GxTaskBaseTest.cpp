#include "TaskSaveSupport.h"
#include "TaskTestSupport.h"

#include "core/GxLog.h"

#include <gtest/gtest.h>

TEST(GxTaskBaseLinks, ChildrenAreAppendedInCreationOrderAndUnlinkedOnDeleteAndASecondRootIsRefused)
{
    TaskTree t;
    auto* a = new GxTaskBase(t.root);
    auto* b = new GxTaskBase(t.root);
    auto* c = new GxTaskBase(t.root);
    EXPECT_EQ(Children(t.root), (Tasks{a, b, c}));
    EXPECT_EQ(t.manage.GetLiveTaskCount(), 5); // root counts twice
    delete b;
    EXPECT_EQ(Children(t.root), (Tasks{a, c}));
    delete a;
    EXPECT_EQ(Children(t.root), (Tasks{c}));
    EXPECT_EQ(t.manage.GetLiveTaskCount(), 3);

    const uint32_t errors = GxLog::GetErrorCount();
    GxTaskBase second(&t.manage); // not registered, but counted
    EXPECT_EQ(t.manage.GetRootTask(), t.root);
    EXPECT_EQ(t.manage.GetLiveTaskCount(), 4);
    EXPECT_EQ(GxLog::GetErrorCount(), errors + 1);
}

TEST(GxTaskBaseID, IDIsSetOnceDuplicatesAndZeroAreRefused)
{
    TaskTree t;
    auto* a = new GxTaskBase(t.root);
    auto* b = new GxTaskBase(t.root);
    const uint32_t errors = GxLog::GetErrorCount();
    EXPECT_FALSE(a->SetTaskID(0));
    EXPECT_EQ(GxLog::GetErrorCount(), errors + 1);
    EXPECT_TRUE(a->SetTaskID(42)); // still 0, so it may be set
    EXPECT_FALSE(a->SetTaskID(43));
    EXPECT_EQ(a->GetTaskID(), 42u);
    EXPECT_EQ(t.manage.FindTaskByID(42), a);
    EXPECT_EQ(t.manage.FindTaskByID(43), nullptr);
    // A refused duplicate keeps the ID in its field, but deleting it leaves the holder registered.
    EXPECT_FALSE(b->SetTaskID(42));
    EXPECT_EQ(b->GetTaskID(), 42u);
    delete b;
    EXPECT_EQ(t.manage.FindTaskByID(42), a);
    delete a;
    EXPECT_EQ(t.manage.FindTaskByID(42), nullptr);
}

TEST(GxTaskBaseName, RenameMovesTheNameEmptyNameUnregistersAndThePathJoinsNamesIndexAndTypeCode)
{
    TaskTree t;
    auto* a = new GxTaskBase(t.root, L"first");
    EXPECT_EQ(t.manage.FindTaskByName(L"first"), a);
    EXPECT_TRUE(a->SetTaskName(L"second"));
    EXPECT_EQ(t.manage.FindTaskByName(L"first"), nullptr);
    EXPECT_EQ(t.manage.FindTaskByName(std::wstring(L"second")), a);
    EXPECT_FALSE(a->SetTaskName(L""));
    EXPECT_EQ(t.manage.FindTaskByName(L"second"), nullptr);

    auto* button = new GxTaskBase(new GxTaskFolder(t.root, L"$UI:SeqTitle"), L"global", L"btn", 3);
    button->SetTypeCode(51);
    EXPECT_EQ(button->GetTaskPath(), L"global/btn[3]:51");
}

TEST(GxTaskBaseName, RefusedDuplicateNeverRemovesTheHolder)
{
    TaskTree t;
    auto* holder = new GxTaskBase(t.root, L"dup");
    auto* other = new GxTaskBase(t.root, L"dup");
    EXPECT_EQ(other->GetTaskName(), L"dup");
    EXPECT_EQ(t.manage.FindTaskByName(L"dup"), holder);
    // Renaming the refused task must not erase the holder's entry ...
    EXPECT_TRUE(other->SetTaskName(L"else"));
    EXPECT_EQ(t.manage.FindTaskByName(L"dup"), holder);
    // ... and neither must deleting a refused one.
    delete new GxTaskBase(t.root, L"dup");
    EXPECT_EQ(t.manage.FindTaskByName(L"dup"), holder);
    delete holder;
    EXPECT_EQ(t.manage.FindTaskByName(L"dup"), nullptr);
    EXPECT_EQ(t.manage.FindTaskByName(L"else"), other);
}

TEST(GxTaskBaseLocalName, KeysAreUniquePerNameAndIndexAndNeedAFolderAbove)
{
    TaskTree t;
    auto* folder = new GxTaskFolder(t.root, L"f");
    auto* x0 = new GxTaskBase(folder, nullptr, L"x", 0);
    auto* x1 = new GxTaskBase(folder, nullptr, L"x", 1);
    uint32_t errors = GxLog::GetErrorCount();
    auto* dup = new GxTaskBase(folder, nullptr, L"x", 0);
    EXPECT_EQ(GxLog::GetErrorCount(), errors + 1);
    EXPECT_EQ(folder->FindTaskLocal(L"x", 0), x0);
    EXPECT_EQ(folder->FindTaskLocal(L"x", 1), x1);
    EXPECT_EQ(dup->GetLocalNameFolder(), nullptr);
    delete dup; // deleting the refused task keeps the first holder's key
    EXPECT_EQ(folder->FindTaskLocal(L"x", 0), x0);
    delete x0;
    delete x1;
    EXPECT_EQ(folder->FindTaskLocal(L"x", 0), nullptr);
    EXPECT_EQ(folder->FindTaskLocal(L"x", 1), nullptr);
    // The name went with its last index: registering it again starts afresh.
    auto* again = new GxTaskBase(folder, nullptr, L"x", 7);
    EXPECT_EQ(folder->FindTaskLocal(L"x", 7), again);

    auto* plain = new GxTaskBase(t.root); // no folder above: refused, the name kept out
    errors = GxLog::GetErrorCount();
    EXPECT_FALSE(plain->SetTaskLocalName(L"x", 0));
    EXPECT_EQ(GxLog::GetErrorCount(), errors + 1);
    EXPECT_EQ(plain->GetTaskLocalName(), L"");
}

TEST(GxTaskBaseLocalName, FolderNamedAtConstructionIsFoundAboveAndMoveNodeCarriesKeys)
{
    TaskTree t;
    auto* screen = new GxTaskFolder(t.root, L"screen");
    // A folder named at construction lands in the folder above it, and leaves no dangling key.
    auto* first = new GxTaskFolder(screen, nullptr, L"panel", 0);
    EXPECT_EQ(screen->FindTaskLocal(L"panel", 0), first);
    EXPECT_EQ(first->GetLocalNameFolder(), screen);
    delete first;
    EXPECT_EQ(screen->FindTaskLocal(L"panel", 0), nullptr);

    auto* f1 = new GxTaskFolder(t.root, L"f1");
    auto* f2 = new GxTaskFolder(t.root, L"f2");
    auto* panel = new GxTaskFolder(f1, nullptr, L"panel", 2);
    auto* leaf = new GxTaskBase(f1, nullptr, L"leaf", 0);
    EXPECT_TRUE(t.manage.MoveNode(leaf, f2));
    EXPECT_EQ(f1->FindTaskLocal(L"leaf", 0), nullptr);
    EXPECT_EQ(f2->FindTaskLocal(L"leaf", 0), leaf);
    EXPECT_EQ(leaf->GetParent(), f2);
    EXPECT_EQ(Children(f1), (Tasks{panel}));
    EXPECT_EQ(Children(f2), (Tasks{leaf}));
    // A folder's key leaves the folder it was registered in; the search for the new one starts at the
    // moved task itself, a folder.
    EXPECT_TRUE(t.manage.MoveNode(panel, f2));
    EXPECT_EQ(f1->FindTaskLocal(L"panel", 2), nullptr);
    EXPECT_EQ(panel->GetLocalNameFolder(), panel);
    delete panel;
    EXPECT_EQ(f2->FindTaskLocal(L"panel", 2), nullptr);
}

TEST(GxTaskBaseLocalName, MoveNodeRefusalsAndAKeyLeftBehindByAMovedAncestorDoesNotOutliveItsFolder)
{
    TaskTree t;
    GxTaskManage other;
    auto* otherRoot = new GxTaskBase(&other);
    auto* a = new GxTaskFolder(t.root, L"a");
    auto* x = new GxTaskFolder(t.root, L"x");
    auto* b = new GxTaskBase(a);
    auto* c = new GxTaskBase(b, nullptr, L"c", 0); // registered in a
    EXPECT_FALSE(t.manage.MoveNode(t.root, a));
    EXPECT_FALSE(t.manage.MoveNode(a, otherRoot));
    EXPECT_FALSE(t.manage.MoveNode(a, c)); // into its own subtree
    EXPECT_EQ(a->GetParent(), t.root);

    EXPECT_TRUE(t.manage.MoveNode(b, x)); // c's key stays in a, c now lives under x
    EXPECT_EQ(a->FindTaskLocal(L"c", 0), c);
    delete a;
    EXPECT_EQ(c->GetLocalNameFolder(), nullptr);
    delete c; // under the address sanitizer, a use of the deleted folder fails here
    EXPECT_EQ(b->GetChildCount(), 0);
}

TEST(GxTaskBaseState, TransitionsCallTheirHooksOnce)
{
    TaskTree t;
    Journal j;
    auto* p = new RecTask(&j, L"p", t.root);
    auto* c = new RecTask(&j, L"c", p);
    auto* g = new RecTask(&j, L"g", c);
    g->Suspend();
    p->SuspendChildren();
    EXPECT_TRUE(c->IsSuspended());
    p->ResumeChildren();
    EXPECT_TRUE(c->IsActive());
    EXPECT_TRUE(g->IsSuspended()); // grandchildren are not touched
    g->Resume();
    c->Resume(); // already active: no hook
    c->Kill();
    p->Kill();
    p->Kill();
    EXPECT_EQ(j, J(L"Suspend:g Suspend:c Resume:c Resume:g Kill:g Kill:c Kill:p"));
    EXPECT_EQ(p->DecrementDeleteDelay(), 0);
    EXPECT_EQ(p->DecrementDeleteDelay(), 0);
}

TEST(GxTaskBaseSave, StateAndIDRoundTripWithoutHooksAndReRegisterTheID)
{
    for (ContentForm form : {ContentForm::Binary, ContentForm::Text})
    {
        TaskTree t;
        Journal j;
        auto* saved = new RecTask(&j, L"saved", t.root);
        saved->SetTaskID(0x123456789ULL);
        saved->Kill();
        const std::vector<uint8_t> bytes = SaveRecord(form, [&](GxContentWriterBase* w) { return saved->Save(w); });

        // Loading a duplicate ID leaves the holder registered.
        auto* copy = new GxTaskBase(t.root);
        EXPECT_TRUE(copy->Load(OpenRecord(form, bytes).get()));
        EXPECT_EQ(copy->GetTaskID(), 0x123456789ULL);
        delete copy;
        EXPECT_EQ(t.manage.FindTaskByID(0x123456789ULL), saved);

        auto* loaded = new RecTask(&j, L"loaded", t.root);
        loaded->SetTaskID(9);
        j.clear();
        delete saved; // frees the ID for the loaded copy
        EXPECT_TRUE(loaded->Load(OpenRecord(form, bytes).get()));
        EXPECT_TRUE(loaded->IsDead());
        EXPECT_TRUE(j.empty()); // no OnKill
        EXPECT_EQ(loaded->GetTaskID(), 0x123456789ULL);
        EXPECT_EQ(t.manage.FindTaskByID(0x123456789ULL), loaded);
        EXPECT_EQ(t.manage.FindTaskByID(9), nullptr);
    }
}

TEST(GxTaskBaseLinks, DeletedSequencesAreForgottenByTheManager)
{
    TaskTree t;
    auto* seq = new GxSeqBase(t.root, L"SeqGone");
    auto* next = new GxSeqBase(t.root, L"SeqNext");
    t.manage.SetSystemSequence(seq);
    t.Enter(seq);
    t.manage.ChangeSequence(next, 0, 0);
    seq->Kill();
    for (int i = 0; i < 3; ++i)
        t.manage.DeleteDeadTasks(t.root);
    EXPECT_EQ(t.manage.GetSystemSequence(), nullptr);
    EXPECT_EQ(t.manage.GetCurrentSequence(), nullptr);
    EXPECT_EQ(t.manage.FindTaskByName(L"SeqGone"), nullptr);
    t.manage.ApplyPendingSequence();
    EXPECT_EQ(t.manage.GetCurrentSequence(), next);
    EXPECT_EQ(t.manage.GetPrevSequence(), nullptr);
}
