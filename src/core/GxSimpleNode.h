#pragma once

// The base of every node of a GxSimpleTree: linked as first child and next sibling, with the back
// links (parent, previous sibling) that make unlinking cheap. Only the tree changes the links.
class GxSimpleNode
{
public:
    GxSimpleNode() = default;
    GxSimpleNode(const GxSimpleNode&) = delete;
    GxSimpleNode& operator=(const GxSimpleNode&) = delete;
    virtual ~GxSimpleNode() = default;

    // Null for top-level nodes.
    GxSimpleNode* GetParent() const { return m_Parent; }
    // Null for a first child and for the root.
    GxSimpleNode* GetPrevSibling() const { return m_PrevSibling; }
    GxSimpleNode* GetNextSibling() const { return m_NextSibling; }
    // Null for a leaf.
    GxSimpleNode* GetFirstChild() const { return m_FirstChild; }

private:
    friend class GxSimpleTree;

    GxSimpleNode* m_Parent = nullptr;
    GxSimpleNode* m_PrevSibling = nullptr;
    GxSimpleNode* m_NextSibling = nullptr;
    GxSimpleNode* m_FirstChild = nullptr;
};
