#include "TaskTestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <tuple>

namespace
{

struct Keyed
{
    GxTaskRenderManage list;
    std::vector<int32_t> Params() const
    {
        std::vector<int32_t> params;
        for (size_t i = 0; i < list.GetCount(); ++i)
            params.push_back(list.GetEntry(i).param);
        return params;
    }
};

} // namespace

TEST(GxTaskRenderManage, SortedModesPlaceEqualKeysAfterOrBefore)
{
    const struct
    {
        int32_t mode;
        std::vector<int32_t> params;
    } cases[] = {
        {GX_RENDER_ASCEND, {4, 1, 3, 2}},
        {GX_RENDER_ASCEND_BEFORE, {4, 3, 1, 2}},
        {GX_RENDER_DESCEND, {2, 1, 3, 4}},
        {GX_RENDER_DESCEND_BEFORE, {2, 3, 1, 4}},
    };
    for (const auto& c : cases)
    {
        Keyed k;
        for (auto [key, param] : {std::pair{1.0f, 1}, {2.0f, 2}, {1.0f, 3}, {0.0f, 4}})
            k.list.Add(nullptr, c.mode, key, param);
        EXPECT_EQ(k.Params(), c.params) << "mode " << c.mode;
    }
}

// Front, back, unknown and fresh default modes are held against the linear model below.
TEST(GxTaskRenderManage, DefaultModeCanBeChangedAndAnAscendingScanStopsAtTheFirstGreaterKey)
{
    Keyed k;
    for (auto [key, param] : {std::pair{9.0f, 4}, {2.0f, 2}, {5.0f, 1}})
        k.list.Add(nullptr, GX_RENDER_FRONT, key, param);
    k.list.SetDefaultMode(GX_RENDER_FRONT);
    k.list.Add(nullptr, GX_RENDER_DEFAULT, 0.0f, 7);
    k.list.Add(nullptr, GX_RENDER_ASCEND, 3.0f, 8); // the list is unsorted
    EXPECT_EQ(k.Params(), (std::vector<int32_t>{7, 8, 1, 2, 4}));
    EXPECT_EQ(k.list.GetEntry(1).reserved, 0);
}

TEST(GxTaskRenderManage, DrawSkipsInactiveAndNoDrawTasksPicksDrawOrForwardAndRegistrationFillsTheBank)
{
    TaskTree t;
    Journal j;
    auto* a = new RecTask(&j, L"a", t.root);
    auto* b = new RecTask(&j, L"b", t.root);
    auto* c = new RecTask(&j, L"c", t.root);
    auto* d = new RecTask(&j, L"d", t.root);
    GxTaskRenderManage& list = t.List(5);
    list.Add(d, GX_RENDER_ASCEND, 4.0f, 0);
    list.Add(c, GX_RENDER_ASCEND, 3.0f, 1);
    list.Add(b, GX_RENDER_ASCEND, 2.0f, 0);
    list.Add(a, GX_RENDER_ASCEND, 1.0f, 0);
    list.Add(nullptr, GX_RENDER_ASCEND, 0.0f, 0);
    b->Suspend();
    d->AddTaskFlags(GX_TASKFLAG_NO_DRAW);
    j.clear();
    list.Draw(5, true);
    EXPECT_EQ(j, J(L"D:a D1:c"));
    EXPECT_EQ(list.GetCount(), 5u); // skipped entries stay
    j.clear();
    list.Draw(5, false); // before the sequence has started: ForwardDraw, which ends in Draw
    EXPECT_EQ(j, J(L"D:a D1:c"));
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0u);

    // The registration walk fills the current bank.
    auto* seq = new RecSeq(&j, L"S", t.root, L"SeqS");
    t.Enter(seq);
    t.Step(0, 16000);
    EXPECT_EQ(t.List(0).GetCount(), 1u);
    EXPECT_EQ(t.List(0).GetEntry(0).task, seq);
    EXPECT_EQ(t.lists[10].GetCount(), 0u);
    t.bank = 1;
    t.manage.WalkRegisterDraw(seq, 0, 0);
    EXPECT_EQ(t.lists[10].GetCount(), 1u);
}

namespace
{

// The placement rule written out as a plain scan, to hold the list's faster search against.
std::vector<int32_t> LinearModel(const std::vector<std::tuple<int32_t, float>>& adds)
{
    std::vector<std::pair<float, int32_t>> list;
    int32_t param = 0;
    for (auto [mode, key] : adds)
    {
        size_t pos = list.size();
        if (mode == 0)
            mode = 3;
        if (mode == 2)
            pos = 0;
        for (size_t i = 0; mode >= 3 && mode <= 6 && i < list.size(); ++i)
        {
            const float k = list[i].first;
            const bool hit = mode == 3 ? k > key : mode == 4 ? k < key : mode == 5 ? k >= key : k <= key;
            if (hit)
            {
                pos = i;
                break;
            }
        }
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(pos), {key, param++});
    }
    std::vector<int32_t> params;
    for (auto& e : list)
        params.push_back(e.second);
    return params;
}

} // namespace

TEST(GxTaskRenderManage, PlacementMatchesALinearScanForMixedModesAndKeys)
{
    std::mt19937 gen(7);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (int round = 0; round < 300; ++round)
    {
        // Rounds favour one direction so that ordered lists and their fast search are exercised too.
        const int32_t favoured = 3 + round % 4;
        std::vector<std::tuple<int32_t, float>> adds;
        const int count = static_cast<int>(gen() % 40);
        for (int i = 0; i < count; ++i)
        {
            const uint32_t r = gen() % 100;
            const int32_t mode = r < 80 ? favoured : static_cast<int32_t>(gen() % 8);
            float key = static_cast<float>(gen() % 8);
            if (gen() % 200 == 0)
                key = nan;
            adds.emplace_back(mode, key);
        }
        Keyed k;
        int32_t param = 0;
        for (auto [mode, key] : adds)
            k.list.Add(nullptr, mode, key, param++);
        ASSERT_EQ(k.Params(), LinearModel(adds)) << "round " << round;
    }
}
