#include "ZorTestSupport.h"

#include "graphics/GxModel.h"
#include "strategy/ZorMapModelPool.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorNcProjectSource.h"

#include <set>

namespace
{

// Projects are their paths; a motion is "group/name"; its length is the name's length.
class FakeSource : public ZorNcProjectSource
{
public:
    const void* GetProject(const std::wstring& path, const std::wstring&) override
    {
        m_Loads.push_back(path);
        if (path.find(L"broken") != std::wstring::npos)
            return nullptr;
        return &*m_Projects.insert(path).first;
    }
    const void* FindMotion(const void* project, const std::wstring& group, const std::wstring& name) override
    {
        (void)project;
        return &*m_Motions.insert(group + L"/" + name).first;
    }
    int32_t GetMotionLength(const void* motion) const override
    {
        return static_cast<int32_t>(static_cast<const std::wstring*>(motion)->size());
    }
    void ReleaseProject(const void*) override { ++m_Releases; }

    std::vector<std::wstring> m_Loads;
    std::set<std::wstring> m_Projects;
    std::set<std::wstring> m_Motions;
    int m_Releases = 0;
};

} // namespace

class ZorPoolTest : public zortest::ZorTest
{
};

TEST_F(ZorPoolTest, UnitPoolLoadsOneProjectPerStepAndSkipsRowsWithoutOne)
{
    auto unit = [](int id, const wchar_t* gnc, const wchar_t* group, const wchar_t* attack)
    {
        DBZorUnitData* row = g_DBZorUnit.GetRow(id);
        row->m_GNCName = gnc;
        row->m_MotionGroup = group;
        row->m_Motion_attack = attack;
    };
    unit(0, L"none", L"g", L"");
    unit(3, L"u3", L"g", L""); // attack falls back to "attack"
    unit(4, L"u4", L"", L"");  // no group: no project at all
    unit(12, L"broken", L"g", L"hit");
    unit(159, L"u159", L"g", L"swing");
    FakeSource source;
    ZorNcPoolUnit::SetProjectSource(&source);
    ZorNcPoolUnit::Initialize();
    std::vector<int32_t> left;
    for (int32_t n = 1; n != 0;)
        left.push_back(n = ZorNcPoolUnit::PrepareLoading(L"gnc/", L"gnc/gis/"));
    EXPECT_EQ(left, (std::vector<int32_t>{157, 156, 148, 1, 0}));
    EXPECT_EQ(ZorNcPoolUnit::PrepareLoading(L"gnc/", L"gnc/gis/"), 0);
    EXPECT_EQ(source.m_Loads, (std::vector<std::wstring>{L"gnc/none", L"gnc/u3", L"gnc/broken", L"gnc/u159"}));
    EXPECT_EQ(ZorNcPoolUnit::GetMotionLength(3, 1), 8);   // "g/attack"
    EXPECT_EQ(ZorNcPoolUnit::GetMotionLength(159, 1), 7); // "g/swing"
    EXPECT_EQ(ZorNcPoolUnit::GetMotionLength(159, 3), 6); // "g/walk"
    EXPECT_EQ(ZorNcPoolUnit::GetEntry(4)->m_Project, nullptr);
    EXPECT_EQ(ZorNcPoolUnit::GetEntry(12)->m_Project, nullptr);
    EXPECT_TRUE(m_Log.Contains(L"ZorNcPoolUnit::PrepareLoading プロジェクト読み込み失敗[broken]\n"));
    EXPECT_EQ(ZorNcPoolUnit::GetEntry(160), nullptr);
    ZorNcPoolUnit::ReleaseAll();
    EXPECT_EQ(source.m_Releases, 3);
    EXPECT_EQ(ZorNcPoolUnit::GetEntry(3)->m_Project, nullptr);
    EXPECT_EQ(ZorNcPoolUnit::GetLoadIndex(), 0);
    ZorNcPoolUnit::SetProjectSource(nullptr);
}

TEST_F(ZorPoolTest, ModelPoolCountsDownOneRoomSetPerStep)
{
    ZorMapModelPool::ReleaseAll();
    const std::wstring dir = m_Folder.File(L"models/");
    std::vector<int32_t> left;
    for (int32_t n = 1; n != 0;)
        left.push_back(n = ZorMapModelPool::PrepareLoading(dir, dir));
    ASSERT_EQ(left.size(), 20u);
    EXPECT_EQ(left.front(), 19);
    EXPECT_EQ(ZorMapModelPool::PrepareLoading(dir, dir), 0);
    EXPECT_EQ(ZorMapModelPool::GetBase(3)->GetMeshCount(), 0u); // no room set 3: skipped
    ZorMapModelPool::ReleaseAll();
    EXPECT_EQ(ZorMapModelPool::GetLoadIndex(), 0);
    EXPECT_EQ(ZorMapModelPool::GetGate(20, 0), nullptr);
}
