// A unit's visual height follows its kind's standing figure in the animation pool.
#include "ZorTestSupport.h"

#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorNcProjectSource.h"

#include <set>

// Projects are their names; only the standing motion of "gnc/tall" has a figure, 70 high.
class ZorUnitVisualHeightTest : public zortest::ZorTest, public ZorNcProjectSource
{
protected:
    const void* GetProject(const std::wstring& path, const std::wstring&) override
    {
        return &*m_Names.insert(path).first;
    }
    const void* FindMotion(const void* p, const std::wstring&, const std::wstring& name) override
    {
        return name == L"stand" ? p : this;
    }
    int32_t GetMotionLength(const void*) const override { return 10; }
    void ReleaseProject(const void*) override {}
    bool GetMotionHeight(const void* p, const void* m, float& height) override
    {
        height = 70.0f;
        return p == m && *static_cast<const std::wstring*>(p) == L"gnc/tall";
    }
    void TearDown() override
    {
        ZorNcPoolUnit::ReleaseAll();
        ZorNcPoolUnit::SetProjectSource(nullptr);
        ZorTest::TearDown();
    }
    std::set<std::wstring> m_Names;
};

TEST_F(ZorUnitVisualHeightTest, StandingFigureSetsTheHeightAndTrapsRiseOnTheMapOnly)
{
    for (auto [id, gnc] : {std::pair{4, L"tall"}, std::pair{3, L"flat"}})
        g_DBZorUnit.GetRow(id)->m_GNCName = gnc, g_DBZorUnit.GetRow(id)->m_MotionGroup = L"g";
    ZorNcPoolUnit::SetProjectSource(this);
    ZorNcPoolUnit::Initialize();
    while (ZorNcPoolUnit::PrepareLoading(L"gnc/", L"") != 0)
        ;
    ZorTaskUnitEntity* trap = AddUnit(ZorCore::kUnitPlayerList, 4, 1);
    trap->PlaceInRoom(2, 1, 1);
    trap->PlaceInRoom(2, 1, 1); // measured again, not lifted twice
    ZorTaskUnitEntity* flat = AddUnit(ZorCore::kUnitPlayerList, 3, 1);
    flat->m_VisualHeight = 7.0f; // no figure: kept
    flat->PlaceInRoom(2, 1, 2);
    EXPECT_FLOAT_EQ(trap->m_VisualHeight, 40.0f);
    EXPECT_FLOAT_EQ(flat->m_VisualHeight, 7.0f);
    trap->InitAsFieldEnemy(4, 1, 0); // 70 / 3.5, no lift off the map
    EXPECT_FLOAT_EQ(trap->m_VisualHeight, 20.0f);
}
