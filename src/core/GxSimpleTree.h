#pragma once

#include "core/GxSimpleNode.h"

#include <cstdint>

// A tree of GxSimpleNode linked as first child and next sibling. The root is the first top-level node;
// further top-level nodes follow it as its siblings, with no parent. An owning tree (the default)
// deletes its nodes through their virtual destructor.
//
// A node is inserted together with the siblings that already follow it (its carried chain), so a chain
// taken from elsewhere goes in whole. Only a detached node can be inserted: one with no parent and no
// previous sibling that is not this tree's root; a node that is still linked, a null node, or an
// insertion that would make a node its own ancestor is refused with an error line and changes nothing.
class GxSimpleTree
{
public:
    // What becomes of the node that stood at the insertion point (the old root, the old next sibling
    // or the old first child; "the displaced node").
    enum class InsertMode
    {
        // The new node and its chain take the place of the displaced node and every sibling after it.
        // These leave the tree: an owning tree deletes them, any other leaves them as a detached chain.
        Replace = 0,
        // The displaced node and its followers come after the new node and its chain: an insertion in
        // front of it.
        Before = 1,
        // The displaced node and its followers become the new node's first children, ahead of any
        // children the new node already had.
        Adopt = 2,
    };

    GxSimpleTree() = default;
    GxSimpleTree(const GxSimpleTree&) = delete;
    GxSimpleTree& operator=(const GxSimpleTree&) = delete;
    virtual ~GxSimpleTree();

    GxSimpleNode* GetRoot() const { return m_Root; }

    // Makes the node the root.
    bool SetRoot(GxSimpleNode* node, InsertMode mode);
    // Puts the node directly after the sibling; a null sibling means SetRoot.
    bool InsertNext(GxSimpleNode* sibling, GxSimpleNode* node, InsertMode mode);
    // Makes the node the parent's first child; a null parent means SetRoot.
    bool InsertChild(GxSimpleNode* parent, GxSimpleNode* node, InsertMode mode);

    // Detaches the node (the root when node is null) from its parent and siblings and hands it to the
    // caller with its children still attached. A node not linked into the tree is returned unchanged.
    GxSimpleNode* Unlink(GxSimpleNode* node);
    // Deletes the node, its subtree and every sibling after it with theirs: children before their
    // parent, later siblings before earlier ones.
    void DeleteChain(GxSimpleNode* node);
    // Deletes every node.
    void Clear();

protected:
    GxSimpleNode* m_Root = nullptr;
    uint8_t m_OwnsNodes = true;

private:
    bool Insert(const wchar_t* operation, GxSimpleNode* parent, GxSimpleNode* prev, GxSimpleNode* node,
                InsertMode mode);
    bool CanInsert(const wchar_t* operation, const GxSimpleNode* anchor, const GxSimpleNode* node) const;
};
