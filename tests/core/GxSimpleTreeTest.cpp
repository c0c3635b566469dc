#include "core/GxSimpleTree.h"

#include "core/GxLog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{
// A node that records its own deletion, so tests can check that every node goes exactly once and in
// which order.
class TestNode : public GxSimpleNode
{
public:
    TestNode(std::string name, std::vector<std::string>* deleted) : m_Name(std::move(name)), m_Deleted(deleted) {}
    ~TestNode() override
    {
        if (m_Deleted)
            m_Deleted->push_back(m_Name);
    }
    std::string m_Name;
    std::vector<std::string>* m_Deleted;
};

class NonOwningTree : public GxSimpleTree
{
public:
    NonOwningTree() { m_OwnsNodes = false; }
};

const std::string& Name(const GxSimpleNode* n)
{
    return static_cast<const TestNode*>(n)->m_Name;
}

// Checks every link of a sibling chain and the subtrees under it: each node's parent is the expected
// one, each next sibling points back, and the chain's first node has no previous sibling.
void CheckChain(const GxSimpleNode* first, const GxSimpleNode* parent)
{
    if (!first)
        return;
    EXPECT_EQ(first->GetPrevSibling(), nullptr) << Name(first);
    for (const GxSimpleNode* n = first; n; n = n->GetNextSibling())
    {
        EXPECT_EQ(n->GetParent(), parent) << Name(n);
        if (n->GetNextSibling())
        {
            EXPECT_EQ(n->GetNextSibling()->GetPrevSibling(), n) << Name(n);
        }
        CheckChain(n->GetFirstChild(), n);
    }
}

// "A(B C(D)) E": a chain with each node's children in parentheses.
std::string Describe(const GxSimpleNode* first)
{
    std::string out;
    for (const GxSimpleNode* n = first; n; n = n->GetNextSibling())
    {
        if (!out.empty())
            out += ' ';
        out += Name(n);
        if (n->GetFirstChild())
            out += '(' + Describe(n->GetFirstChild()) + ')';
    }
    return out;
}

// The chain's shape, after checking all its links.
std::string CheckedShape(const GxSimpleNode* first)
{
    CheckChain(first, nullptr);
    return Describe(first);
}

// A tree whose nodes are made by name and whose every check also verifies all links.
class GxSimpleTreeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Refusals are logged; count them without writing a file.
        GxLog::SetErrorLogPath(L"");
        GxLog::ResetErrorCount();
    }

    TestNode* Make(const char* name) { return new TestNode(name, &m_Deleted); }

    std::string Shape() { return CheckedShape(m_Tree.GetRoot()); }

    // Root R with children A B C, and a second top-level node S.
    void BuildSample()
    {
        m_R = Make("R");
        m_A = Make("A");
        m_B = Make("B");
        m_C = Make("C");
        m_S = Make("S");
        ASSERT_TRUE(m_Tree.SetRoot(m_R, Mode::Before));
        ASSERT_TRUE(m_Tree.InsertNext(m_R, m_S, Mode::Before));
        ASSERT_TRUE(m_Tree.InsertChild(m_R, m_C, Mode::Before));
        ASSERT_TRUE(m_Tree.InsertChild(m_R, m_B, Mode::Before));
        ASSERT_TRUE(m_Tree.InsertChild(m_R, m_A, Mode::Before));
        ASSERT_EQ(Shape(), "R(A B C) S");
    }

    using Mode = GxSimpleTree::InsertMode;
    std::vector<std::string> m_Deleted;
    GxSimpleTree m_Tree;
    TestNode *m_R = nullptr, *m_A = nullptr, *m_B = nullptr, *m_C = nullptr, *m_S = nullptr;
};
} // namespace

// Insertion in front (the mode the engine's loaders use) and insertion that adopts the displaced nodes.
// Shape() also checks that every adopted node names the new one as its parent, not only the first.
TEST_F(GxSimpleTreeTest, InsertionInFrontOrAdoptingPlacesTheNode)
{
    using Insert = std::function<bool(GxSimpleNode*)>;
    const std::pair<Insert, const char*> cases[] = {
        {[this](GxSimpleNode* n) { return m_Tree.InsertChild(m_R, n, Mode::Before); }, "R(N A B C) S"},
        {[this](GxSimpleNode* n) { return m_Tree.InsertNext(m_A, n, Mode::Before); }, "R(A N B C) S"},
        {[this](GxSimpleNode* n) { return m_Tree.InsertNext(m_C, n, Mode::Before); }, "R(A B C N) S"},
        {[this](GxSimpleNode* n) { return m_Tree.SetRoot(n, Mode::Before); }, "N R(A B C) S"},
        // A null sibling or parent means the root.
        {[this](GxSimpleNode* n) { return m_Tree.InsertNext(nullptr, n, Mode::Before); }, "N R(A B C) S"},
        {[this](GxSimpleNode* n) { return m_Tree.InsertChild(nullptr, n, Mode::Before); }, "N R(A B C) S"},
        {[this](GxSimpleNode* n) { return m_Tree.InsertChild(m_R, n, Mode::Adopt); }, "R(N(A B C)) S"},
        {[this](GxSimpleNode* n) { return m_Tree.InsertNext(m_A, n, Mode::Adopt); }, "R(A N(B C)) S"},
        {[this](GxSimpleNode* n) { return m_Tree.SetRoot(n, Mode::Adopt); }, "N(R(A B C) S)"},
    };
    for (const auto& [insert, shape] : cases)
    {
        m_Tree.Clear();
        BuildSample();
        ASSERT_TRUE(insert(Make("N")));
        EXPECT_EQ(Shape(), shape);
    }

    // An adopting node keeps its own children after the adopted ones.
    m_Tree.Clear();
    BuildSample();
    GxSimpleNode* b = m_Tree.Unlink(m_B); // B keeps no children; give it one first
    ASSERT_TRUE(m_Tree.InsertChild(b, Make("X"), Mode::Before));
    ASSERT_TRUE(m_Tree.InsertNext(m_A, b, Mode::Adopt));
    EXPECT_EQ(Shape(), "R(A B(C X)) S");
}

// Insertion that replaces the displaced nodes ---------------------------------------------------------

TEST_F(GxSimpleTreeTest, ReplacingDeletesOrDetachesDisplacedNodes)
{
    BuildSample();
    ASSERT_TRUE(m_Tree.InsertNext(m_A, Make("N"), Mode::Replace));
    EXPECT_EQ(Shape(), "R(A N) S");
    EXPECT_EQ(m_Deleted, (std::vector<std::string>{"C", "B"}));

    ASSERT_TRUE(m_Tree.SetRoot(Make("M"), Mode::Replace));
    EXPECT_EQ(Shape(), "M");
    EXPECT_EQ(m_Deleted.size(), 6u);
    // A tree that does not own its nodes detaches them instead.
    NonOwningTree tree;
    std::vector<std::string> deleted;
    TestNode r("R", &deleted), a("A", &deleted), b("B", &deleted), n("N", &deleted);
    ASSERT_TRUE(tree.SetRoot(&r, GxSimpleTree::InsertMode::Before));
    ASSERT_TRUE(tree.InsertChild(&r, &b, GxSimpleTree::InsertMode::Before));
    ASSERT_TRUE(tree.InsertChild(&r, &a, GxSimpleTree::InsertMode::Before));
    ASSERT_TRUE(tree.InsertChild(&r, &n, GxSimpleTree::InsertMode::Replace));
    EXPECT_EQ(CheckedShape(tree.GetRoot()), "R(N)");
    // A and B now form a detached chain of their own, with nothing pointing into the tree.
    EXPECT_EQ(CheckedShape(&a), "A B");
    EXPECT_TRUE(deleted.empty());

    // A detached chain goes back in whole.
    ASSERT_TRUE(tree.InsertNext(&n, &a, GxSimpleTree::InsertMode::Before));
    EXPECT_EQ(CheckedShape(tree.GetRoot()), "R(N A B)");
    EXPECT_EQ(tree.Unlink(nullptr), &r); // leave the stack nodes to their own destructors
}

TEST_F(GxSimpleTreeTest, InsertionWithoutDisplacedNodeIsSameInEveryMode)
{
    for (Mode mode : {Mode::Replace, Mode::Before, Mode::Adopt})
    {
        GxSimpleTree tree;
        TestNode* r = Make("R");
        ASSERT_TRUE(tree.SetRoot(r, mode));
        ASSERT_TRUE(tree.InsertChild(r, Make("A"), mode));
        ASSERT_TRUE(tree.InsertNext(r, Make("S"), mode));
        EXPECT_EQ(CheckedShape(tree.GetRoot()), "R(A) S");
    }
    EXPECT_EQ(m_Deleted.size(), 9u);
}

// Refused insertions ----------------------------------------------------------------------------------

TEST_F(GxSimpleTreeTest, LinkedNodeIsNotInsertedAgainNorUnderItsOwnSubtree)
{
    BuildSample();
    EXPECT_FALSE(m_Tree.InsertNext(m_C, m_B, Mode::Before));
    EXPECT_FALSE(m_Tree.InsertChild(m_S, m_A, Mode::Before)); // a first child: no previous sibling
    EXPECT_FALSE(m_Tree.InsertChild(m_S, m_R, Mode::Before)); // the root
    EXPECT_FALSE(m_Tree.InsertNext(m_C, m_S, Mode::Adopt));   // a later top-level node
    EXPECT_FALSE(m_Tree.SetRoot(nullptr, Mode::Before));
    EXPECT_EQ(Shape(), "R(A B C) S");
    EXPECT_EQ(GxLog::GetErrorCount(), 5u);
    // Nor under its own subtree.
    GxSimpleNode* r = m_Tree.Unlink(m_R);
    EXPECT_FALSE(m_Tree.InsertChild(m_B, r, Mode::Before));
    EXPECT_FALSE(m_Tree.InsertNext(m_C, r, Mode::Before));
    EXPECT_FALSE(m_Tree.InsertChild(r, r, Mode::Before));
    EXPECT_EQ(Shape(), "S");
    EXPECT_EQ(GxLog::GetErrorCount(), 8u);
    ASSERT_TRUE(m_Tree.InsertNext(m_S, r, Mode::Before));
    EXPECT_EQ(Shape(), "S R(A B C)");
}

// Unlinking -------------------------------------------------------------------------------------------

TEST_F(GxSimpleTreeTest, UnlinkingPromotesTheNextTopLevelNodeJoinsNeighboursAndIgnoresOutsideNodes)
{
    BuildSample();
    GxSimpleNode* r = m_Tree.Unlink(nullptr);
    EXPECT_EQ(r, m_R);
    EXPECT_EQ(Shape(), "S");
    // The unlinked node keeps its subtree.
    EXPECT_EQ(CheckedShape(r), "R(A B C)");
    m_Tree.DeleteChain(r);
    EXPECT_EQ(m_Tree.Unlink(m_S), m_S);
    EXPECT_EQ(m_Tree.GetRoot(), nullptr);
    EXPECT_EQ(m_Tree.Unlink(nullptr), nullptr);
    delete m_S;

    BuildSample();
    TestNode loose("L", nullptr);
    EXPECT_EQ(m_Tree.Unlink(&loose), &loose);
    EXPECT_EQ(Shape(), "R(A B C) S");
    EXPECT_EQ(m_Tree.Unlink(m_B), m_B);
    EXPECT_EQ(Shape(), "R(A C) S");
    EXPECT_EQ(m_B->GetParent(), nullptr);
    EXPECT_EQ(m_B->GetPrevSibling(), nullptr);
    EXPECT_EQ(m_B->GetNextSibling(), nullptr);
    delete m_B;
    delete m_Tree.Unlink(m_A);
    EXPECT_EQ(Shape(), "R(C) S");
    delete m_Tree.Unlink(m_C);
    EXPECT_EQ(Shape(), "R S");
    EXPECT_EQ(m_R->GetFirstChild(), nullptr);
}

// Deletion --------------------------------------------------------------------------------------------

TEST_F(GxSimpleTreeTest, DeleteChainGoesChildrenFirstThenLaterSiblingsAndCutsTheChainWhereItStarts)
{
    BuildSample();
    ASSERT_TRUE(m_Tree.InsertChild(m_B, Make("X"), Mode::Before));
    ASSERT_TRUE(m_Tree.InsertNext(m_S, Make("T"), Mode::Before));
    ASSERT_EQ(Shape(), "R(A B(X) C) S T");
    // D(n) = D(first child), D(next sibling), n.
    m_Tree.Clear();
    EXPECT_EQ(m_Deleted, (std::vector<std::string>{"X", "C", "B", "A", "T", "S", "R"}));
    EXPECT_EQ(m_Tree.GetRoot(), nullptr);

    // From the middle of a chain: the chain is cut there.
    m_Deleted.clear();
    BuildSample();
    m_Tree.DeleteChain(m_B);
    EXPECT_EQ(Shape(), "R(A) S");
    EXPECT_EQ(m_Deleted, (std::vector<std::string>{"C", "B"}));
    m_Tree.DeleteChain(m_A);
    EXPECT_EQ(Shape(), "R S");
}

TEST_F(GxSimpleTreeTest, DestructorDeletesEveryNodeOnce)
{
    {
        GxSimpleTree tree;
        TestNode* r = Make("R");
        ASSERT_TRUE(tree.SetRoot(r, Mode::Before));
        ASSERT_TRUE(tree.InsertChild(r, Make("A"), Mode::Before));
        ASSERT_TRUE(tree.InsertNext(r, Make("S"), Mode::Before));
        ASSERT_TRUE(tree.InsertNext(r, Make("T"), Mode::Before));
        ASSERT_EQ(Describe(tree.GetRoot()), "R(A) T S");
    }
    EXPECT_EQ(m_Deleted, (std::vector<std::string>{"A", "S", "T", "R"}));
    m_Deleted.clear();
    TestNode r("R", &m_Deleted);
    {
        NonOwningTree tree; // leaves its nodes alone
        ASSERT_TRUE(tree.SetRoot(&r, Mode::Before));
    }
    EXPECT_TRUE(m_Deleted.empty());
}

TEST_F(GxSimpleTreeTest, VeryLongChainsAndDeepTreesAreDeleted)
{
    // Far beyond what a recursive walk could take on the stack.
    constexpr int kCount = 200000;
    GxSimpleTree wide;
    GxSimpleTree deep;
    for (int i = 0; i < kCount; ++i)
    {
        ASSERT_TRUE(wide.SetRoot(new TestNode("w", nullptr), Mode::Before));
        ASSERT_TRUE(deep.SetRoot(new TestNode("d", nullptr), Mode::Adopt));
    }
    wide.Clear();
    deep.Clear();
    EXPECT_EQ(wide.GetRoot(), nullptr);
    EXPECT_EQ(deep.GetRoot(), nullptr);
}
