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

TEST(GxSortedRenderManage, ModesSortOrAppendAndPlaceEqualKeysAfterOrBefore)
{
    // Keys 5, 3, 5, 7 added in that order: ascending (3, 5) and descending (4, 6), equal keys after or
    // before; the append modes (0, 2, 7) keep the order of insertion.
    const struct
    {
        uint32_t mode;
        std::vector<std::string> order;
    } cases[] = {{3, {"3@0", "5a@1", "5b@2", "7@3"}}, {5, {"3@0", "5b@1", "5a@2", "7@3"}},
                 {4, {"7@0", "5a@1", "5b@2", "3@3"}}, {6, {"7@0", "5b@1", "5a@2", "3@3"}},
                 {0, {"5a@0", "3@1", "5b@2", "7@3"}}, {2, {"5a@0", "3@1", "5b@2", "7@3"}},
                 {7, {"5a@0", "3@1", "5b@2", "7@3"}}};
    Log log;
    TestPacket a(log, "5a", 5), b(log, "3", 3), c(log, "5b", 5), d(log, "7", 7);
    for (const auto& expected : cases)
    {
        GxSortedRenderManage list;
        for (TestPacket* p : {&a, &b, &c, &d})
            EXPECT_TRUE(list.Add(p, expected.mode));
        EXPECT_EQ(Order(list, log), expected.order) << expected.mode;
    }
}

TEST(GxSortedRenderManage, MaskDrawsMatchingEntriesWithTheirListPositions)
{
    Log log;
    TestPacket a(log, "f1", 0, 1), b(log, "f4", 0, 4), c(log, "f5", 0, 5);
    GxSortedRenderManage list;
    for (TestPacket* p : {&a, &b, &c})
        list.Add(p, 2);
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
        EXPECT_TRUE(Order(list, log).empty());
        // The destructor lets go of what is still listed.
        list.Add(new TestPacket(log, "owned2", 0, 0, 1), 4);
    }
    EXPECT_EQ(log.deleted, 2);
}
