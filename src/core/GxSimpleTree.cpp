#include "core/GxSimpleTree.h"

#include "core/GxLog.h"

#include <vector>

GxSimpleTree::~GxSimpleTree()
{
    if (m_OwnsNodes)
        Clear();
}

bool GxSimpleTree::SetRoot(GxSimpleNode* node, InsertMode mode)
{
    return Insert(L"SetRoot", nullptr, nullptr, node, mode);
}

bool GxSimpleTree::InsertNext(GxSimpleNode* sibling, GxSimpleNode* node, InsertMode mode)
{
    if (!sibling)
        return SetRoot(node, mode);
    return Insert(L"InsertNext", sibling->m_Parent, sibling, node, mode);
}

bool GxSimpleTree::InsertChild(GxSimpleNode* parent, GxSimpleNode* node, InsertMode mode)
{
    if (!parent)
        return SetRoot(node, mode);
    return Insert(L"InsertChild", parent, nullptr, node, mode);
}

bool GxSimpleTree::CanInsert(const wchar_t* operation, const GxSimpleNode* anchor, const GxSimpleNode* node) const
{
    if (!node)
    {
        GxLog::Error(L"GxSimpleTree::%s/ノードがありません\n", operation);
        return false;
    }
    if (node->m_Parent || node->m_PrevSibling || node == m_Root)
    {
        GxLog::Error(L"GxSimpleTree::%s/ツリーに繋がったままのノードは挿入できません\n", operation);
        return false;
    }
    // The anchor (the sibling or the parent) and its ancestors must not be in the inserted chain or its
    // subtrees, or the tree would contain itself. The chain's nodes carry no parent, so it is enough to
    // walk up from the anchor to the top level and check that top-level node against the chain.
    const GxSimpleNode* top = anchor;
    while (top && top->m_Parent)
        top = top->m_Parent;
    for (const GxSimpleNode* n = node; n; n = n->m_NextSibling)
    {
        if (n == top)
        {
            GxLog::Error(L"GxSimpleTree::%s/ノードを自分の子孫の位置には挿入できません\n", operation);
            return false;
        }
    }
    return true;
}

bool GxSimpleTree::Insert(const wchar_t* operation, GxSimpleNode* parent, GxSimpleNode* prev, GxSimpleNode* node,
                          InsertMode mode)
{
    if (!CanInsert(operation, prev ? prev : parent, node))
        return false;

    GxSimpleNode* displaced = prev ? prev->m_NextSibling : parent ? parent->m_FirstChild : m_Root;

    node->m_PrevSibling = prev;
    GxSimpleNode* last = node;
    for (GxSimpleNode* n = node; n; n = n->m_NextSibling)
    {
        n->m_Parent = parent;
        last = n;
    }

    if (displaced)
    {
        switch (mode)
        {
        case InsertMode::Before:
            last->m_NextSibling = displaced;
            displaced->m_PrevSibling = last;
            displaced = nullptr;
            break;
        case InsertMode::Adopt:
        {
            displaced->m_PrevSibling = nullptr;
            GxSimpleNode* lastAdopted = displaced;
            for (GxSimpleNode* n = displaced; n; n = n->m_NextSibling)
            {
                n->m_Parent = node;
                lastAdopted = n;
            }
            if (GxSimpleNode* ownChildren = node->m_FirstChild)
            {
                lastAdopted->m_NextSibling = ownChildren;
                ownChildren->m_PrevSibling = lastAdopted;
            }
            node->m_FirstChild = displaced;
            displaced = nullptr;
            break;
        }
        case InsertMode::Replace:
            // Cut the displaced chain loose; it is dealt with once the tree is whole again.
            displaced->m_PrevSibling = nullptr;
            for (GxSimpleNode* n = displaced; n; n = n->m_NextSibling)
                n->m_Parent = nullptr;
            break;
        }
    }

    if (prev)
        prev->m_NextSibling = node;
    else if (parent)
        parent->m_FirstChild = node;
    else
        m_Root = node;

    if (displaced && m_OwnsNodes)
        DeleteChain(displaced);
    return true;
}

GxSimpleNode* GxSimpleTree::Unlink(GxSimpleNode* node)
{
    if (!node || node == m_Root)
    {
        node = m_Root;
        if (!node)
            return nullptr;
        m_Root = node->m_NextSibling;
        if (m_Root)
            m_Root->m_PrevSibling = nullptr;
    }
    else if (node->m_PrevSibling)
    {
        node->m_PrevSibling->m_NextSibling = node->m_NextSibling;
        if (node->m_NextSibling)
            node->m_NextSibling->m_PrevSibling = node->m_PrevSibling;
    }
    else if (node->m_Parent)
    {
        node->m_Parent->m_FirstChild = node->m_NextSibling;
        if (node->m_NextSibling)
            node->m_NextSibling->m_PrevSibling = nullptr;
    }
    else
    {
        // Not linked into this tree (a detached node or the head of a detached chain).
        return node;
    }
    node->m_Parent = nullptr;
    node->m_PrevSibling = nullptr;
    node->m_NextSibling = nullptr;
    return node;
}

void GxSimpleTree::DeleteChain(GxSimpleNode* node)
{
    if (!node)
        return;
    // The order of deletion is that of the recursion "first child's chain, next sibling's chain, then
    // the node", done with an explicit stack so long sibling chains cannot exhaust the call stack: the
    // walk below visits that order backwards.
    std::vector<GxSimpleNode*> order;
    std::vector<GxSimpleNode*> pending{node};
    while (!pending.empty())
    {
        GxSimpleNode* n = pending.back();
        pending.pop_back();
        order.push_back(n);
        if (n->m_FirstChild)
            pending.push_back(n->m_FirstChild);
        if (n->m_NextSibling)
            pending.push_back(n->m_NextSibling);
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it)
    {
        // Its children and later siblings are gone, so unlinking only clears the one link to it.
        delete Unlink(*it);
    }
}

void GxSimpleTree::Clear()
{
    DeleteChain(m_Root);
}
