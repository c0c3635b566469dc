// Animation data: reading a 200-layer binary project against a bare SkipValue walk of the same bytes, a
// project whose stage count is raised to a million (a million zero bytes after it) refused against the same
// walk of its bytes, and the key search against std::upper_bound over the same 10,000 key records. Compare
// each pair within one run.
#include "../../tools/gncwriter/GncProjectWriter.h"

#include "animation/GxNcKey.h"
#include "animation/GxNcLayerNode.h"
#include "core/GxContentBinaryReader.h"
#include "core/GxLog.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

// The bytes the writer makes of a project in its binary form.
std::vector<uint8_t> BinaryBytes(const GxNcProject& p, const std::vector<std::wstring>& imageSets)
{
    char path[] = "/tmp/kvgncbenchXXXXXX";
    const int fd = mkstemp(path);
    close(fd);
    GncProjectWriter::Write(path, p, imageSets, GncForm::Binary);
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(in), (std::istreambuf_iterator<char>()));
    std::remove(path);
    return bytes;
}

// A bare SkipValue walk over a project's bytes: the floor its reader is measured against.
void SkipValueWalk(benchmark::State& state, const std::vector<uint8_t>& bytes)
{
    for (auto _ : state)
    {
        GxContentBinaryReader r(bytes.data(), (uint32_t)bytes.size());
        uint32_t version = 0;
        r.ReadHeader("BNCPROJ", version);
        int values = 0;
        while (!r.IsEnd() && r.SkipValue())
            ++values;
        benchmark::DoNotOptimize(values);
    }
}

// Every track of every layer holds a few keys, as an authored effect does.
std::vector<uint8_t> ProjectBytes()
{
    static std::vector<uint8_t> s_Bytes;
    if (!s_Bytes.empty())
        return s_Bytes;
    GxLog::SetErrorLogPath(L"");
    GxNcProject p;
    p.m_MotionGroups.push_back(std::make_unique<GxNcMotionGroup>());
    p.m_MotionGroups[0]->m_Motions.push_back(std::make_unique<GxNcMotion>());
    GxNcMotion& m = *p.m_MotionGroups[0]->m_Motions[0];
    GxNcLayerNode* last = nullptr;
    for (int i = 0; i < 200; ++i)
    {
        m.m_Layers.push_back(std::make_unique<GxNcLayer>());
        GxNcLayer& l = *m.m_Layers.back();
        l.m_LayerName = L"layer" + std::to_wstring(i);
        for (int k = 0; k < 3; ++k)
        {
            GxNcImageKey ik;
            ik.m_Time = k * 10;
            ik.m_ImageSetName = L"effect.gis";
            ik.m_ImageFileName = L"spark.png";
            l.m_ImageKeys.push_back(ik);
            GxNcVector4Key v;
            v.m_Time = k * 10;
            for (auto* track : {&l.m_PositionKeys, &l.m_ScaleKeys, &l.m_RotationKeys, &l.m_PivotKeys})
                track->push_back(v);
            l.m_SizeKeys.push_back({k * 10});
            l.m_OpacityKeys.push_back({k * 10});
            l.m_VisibilityKeys.push_back({k * 10});
            l.m_VertexOffsetKeys.push_back({k * 10});
            l.m_VertexColorKeys.push_back({k * 10});
        }
        GxNcLayerNode* node = new GxNcLayerNode();
        node->m_LayerName = l.m_LayerName;
        if (last)
            m.m_LayerTree.InsertNext(last, node, GxSimpleTree::InsertMode::Before);
        else
            m.m_LayerTree.SetRoot(node, GxSimpleTree::InsertMode::Before);
        last = node;
    }
    s_Bytes = BinaryBytes(p, {L"effect.gis"});
    return s_Bytes;
}

void BM_ProjectRead(benchmark::State& state)
{
    const std::vector<uint8_t> bytes = ProjectBytes();
    for (auto _ : state)
    {
        GxContentBinaryReader r(bytes.data(), (uint32_t)bytes.size());
        uint32_t version = 0;
        r.ReadHeader("BNCPROJ", version);
        GxNcProject p;
        std::vector<std::wstring> sets;
        p.Read(r, sets);
        benchmark::DoNotOptimize(p.m_MotionGroups.data());
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)bytes.size());
}
BENCHMARK(BM_ProjectRead);

void BM_ProjectSkipValueWalk(benchmark::State& state)
{
    const std::vector<uint8_t> bytes = ProjectBytes();
    SkipValueWalk(state, bytes);
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)bytes.size());
}
BENCHMARK(BM_ProjectSkipValueWalk);

// The small project of one empty motion with its stage count at a million and a million zero bytes after
// it: the stage list (empty in the file) is the one whose end is followed by the image-set list.
std::vector<uint8_t> RaisedStageBytes()
{
    static std::vector<uint8_t> s_Bytes;
    if (!s_Bytes.empty())
        return s_Bytes;
    s_Bytes = BinaryBytes(GxNcProject(), {});
    // ... stage list: 0x20, count, 0x21; image-set list: 0x20, count 0, 0x21.
    const size_t at = s_Bytes.size() - 12;
    const uint32_t count = 1000000;
    for (int i = 0; i < 4; ++i)
        s_Bytes[at + 1 + i] = (uint8_t)((count >> (24 - 8 * i)) & 0xFF);
    s_Bytes.resize(s_Bytes.size() + count, 0);
    return s_Bytes;
}

void BM_RaisedStageCountRefused(benchmark::State& state)
{
    const std::vector<uint8_t> bytes = RaisedStageBytes();
    for (auto _ : state)
    {
        GxContentBinaryReader r(bytes.data(), (uint32_t)bytes.size());
        uint32_t version = 0;
        r.ReadHeader("BNCPROJ", version);
        GxNcProject p;
        std::vector<std::wstring> sets;
        if (p.Read(r, sets))
            state.SkipWithError("a raised stage count was taken");
    }
}
BENCHMARK(BM_RaisedStageCountRefused);

void BM_RaisedStageSkipValueWalk_Reference(benchmark::State& state)
{
    const std::vector<uint8_t> bytes = RaisedStageBytes();
    SkipValueWalk(state, bytes);
}
BENCHMARK(BM_RaisedStageSkipValueWalk_Reference);

struct SearchData
{
    std::vector<GxNcFloatKey> keys;
    std::vector<int32_t> times;
    SearchData()
    {
        std::mt19937 random(7);
        int32_t t = 0;
        for (int i = 0; i < 10000; ++i)
        {
            t += 1 + (int32_t)(random() % 5);
            keys.push_back({t});
        }
        for (int i = 0; i < 4096; ++i)
            times.push_back(keys[0].m_Time + (int32_t)(random() % (uint32_t)(t - keys[0].m_Time)));
    }
};

void BM_FindKeyIndex(benchmark::State& state)
{
    static const SearchData d;
    size_t i = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(GxNcKey::FindKeyIndex(0, d.keys.data(), (int32_t)d.keys.size(), d.times[i]));
        i = (i + 1) & 4095;
    }
}
BENCHMARK(BM_FindKeyIndex);

void BM_UpperBound(benchmark::State& state)
{
    static const SearchData d;
    size_t i = 0;
    for (auto _ : state)
    {
        const auto it = std::upper_bound(d.keys.begin(), d.keys.end(), d.times[i],
                                         [](int32_t t, const GxNcFloatKey& k) { return t < k.m_Time; });
        benchmark::DoNotOptimize(it - d.keys.begin() - 1);
        i = (i + 1) & 4095;
    }
}
BENCHMARK(BM_UpperBound);

} // namespace
