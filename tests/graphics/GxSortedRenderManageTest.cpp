// The sorted render list: insertion modes, masked drawing with positions, and release of owned entries.
#include "graphics/GxSortedRenderManage.h"
#include "graphics/GxRenderPacketBase.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

struct Log
{
    std::vector<std::string> drawn;
    int deleted = 0;
};

class TestPacket : public GxRenderPacketBase
{
public:
    TestPacket(Log& log, const char* name, float key, uint32_t flags = 0, uint32_t owned = 0)
        : GxRenderPacketBase(key, flags, owned), m_Log(log), m_Name(name)
    {
    }
    ~TestPacket() override { ++m_Log.deleted; }
    void Draw(uint32_t index) override { m_Log.drawn.push_back(m_Name + "@" + std::to_string(index)); }

private:
    Log& m_Log;
    std::string m_Name;
};

std::vector<std::string> Order(GxSortedRenderManage& list, Log& log)
{
    log.drawn.clear();
    list.Draw(0);
    return log.drawn;
}

} // namespace

TEST(GxSortedRenderManage, AscendingModesPlaceEqualKeysAfterOrBefore)
{
    Log log;
    TestPacket a(log, "5a", 5), b(log, "3", 3), c(log, "5b", 5);
    GxSortedRenderManage after;
    after.Add(&a, 3);
    after.Add(&b, 3);
    after.Add(&c, 3);
    EXPECT_EQ(Order(after, log), (std::vector<std::string>{"3@0", "5a@1", "5b@2"}));
    GxSortedRenderManage first;
    first.Add(&a, 5);
    first.Add(&b, 5);
    first.Add(&c, 5);
    EXPECT_EQ(Order(first, log), (std::vector<std::string>{"3@0", "5b@1", "5a@2"}));
}

TEST(GxSortedRenderManage, DescendingModesPlaceEqualKeysAfterOrBefore)
{
    Log log;
    TestPacket a(log, "1", 1), b(log, "2a", 2), c(log, "2b", 2);
    GxSortedRenderManage after;
    after.Add(&a, 4);
    after.Add(&b, 4);
    after.Add(&c, 4);
    EXPECT_EQ(Order(after, log), (std::vector<std::string>{"2a@0", "2b@1", "1@2"}));
    GxSortedRenderManage first;
    first.Add(&a, 6);
    first.Add(&b, 6);
    first.Add(&c, 6);
    EXPECT_EQ(Order(first, log), (std::vector<std::string>{"2b@0", "2a@1", "1@2"}));
}

TEST(GxSortedRenderManage, AppendModesKeepInsertionOrder)
{
    Log log;
    TestPacket a(log, "9", 9), b(log, "1", 1), c(log, "5", 5);
    for (uint32_t mode : {0u, 2u, 7u})
    {
        GxSortedRenderManage list;
        EXPECT_TRUE(list.Add(&a, mode));
        EXPECT_TRUE(list.Add(&b, mode));
        EXPECT_TRUE(list.Add(&c, mode));
        EXPECT_EQ(Order(list, log), (std::vector<std::string>{"9@0", "1@1", "5@2"})) << mode;
    }
}

TEST(GxSortedRenderManage, MaskDrawsMatchingEntriesWithTheirListPositions)
{
    Log log;
    TestPacket a(log, "f1", 0, 1), b(log, "f4", 0, 4), c(log, "f5", 0, 5);
    GxSortedRenderManage list;
    list.Add(&a, 2);
    list.Add(&b, 2);
    list.Add(&c, 2);
    list.Draw(4);
    EXPECT_EQ(log.drawn, (std::vector<std::string>{"f4@1", "f5@2"}));
    log.drawn.clear();
    list.Draw(8);
    EXPECT_TRUE(log.drawn.empty());
}

TEST(GxSortedRenderManage, ClearDeletesOnlyOwnedEntries)
{
    Log log;
    TestPacket kept(log, "kept", 0, 0, 0);
    {
        GxSortedRenderManage list;
        list.Add(&kept, 2);
        list.Add(new TestPacket(log, "owned", 0, 0, 1), 2);
        list.Clear();
        EXPECT_EQ(log.deleted, 1);
        EXPECT_EQ(list.GetCount(), 0u);
        list.Draw(0);
        EXPECT_TRUE(log.drawn.empty());
        // The destructor lets go of what is still listed.
        list.Add(new TestPacket(log, "owned2", 0, 0, 1), 4);
    }
    EXPECT_EQ(log.deleted, 2);
}
