// Playing animation: updating a 100-layer motion whose layer tree nests 4 deep against the bare transform
// work (ComposeSRT, one matrix product and five point transforms per layer), and a frame of 200 effect
// tasks against the same quads sent straight to DrawTransformedQuads. Compare each pair within one run.
#include "../../tools/gncwriter/GisPacker.h"
#include "../../tools/gncwriter/GncProjectWriter.h"

#include "animation/GxNcCrammedImageSetFactory.h"
#include "animation/GxNcLayerNode.h"
#include "animation/GxNcMotionSnapShotEx.h"
#include "animation/GxNcProjectEx.h"
#include "animation/GxNcProjectFactory.h"
#include "core/GxLog.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxTextureBase.h"
#include "platform/PfGLDevice.h"
#include "support/BenchDevice.h"
#include "task/GxTaskManage.h"
#include "task/GxTaskNcEffect2D.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace
{

template <typename Key> std::vector<Key> Two(float a, float b)
{
    Key k0, k1;
    k0.m_Time = 0;
    k1.m_Time = 50;
    k0.m_Value = a;
    k1.m_Value = b;
    return {k0, k1};
}
std::vector<GxNcVector4Key> Two4(float a, float b)
{
    GxNcVector4Key k0, k1;
    k0.m_Value = GxVector4(a, a, a, a);
    k1.m_Time = 50;
    k1.m_Value = GxVector4(b, b, b, b);
    return {k0, k1};
}

// 100 layers with two keys on every interpolated track, in 25 chains of parent > child > child > child.
std::unique_ptr<GxNcProjectEx> DeepProject()
{
    auto p = std::make_unique<GxNcProjectEx>();
    p->m_MotionGroups.push_back(std::make_unique<GxNcMotionGroup>());
    p->m_MotionGroups[0]->m_Motions.push_back(std::make_unique<GxNcMotion>());
    GxNcMotion& m = *p->m_MotionGroups[0]->m_Motions[0];
    m.m_EndTime = 100;
    GxNcLayerNode* lastTop = nullptr;
    for (int chain = 0; chain < 25; ++chain)
    {
        GxNcLayerNode* below = nullptr;
        for (int depth = 3; depth >= 0; --depth)
        {
            m.m_Layers.push_back(std::make_unique<GxNcLayer>());
            GxNcLayer& l = *m.m_Layers.back();
            l.m_LoopMode = 1;
            l.m_PositionKeys = Two4(0, 10);
            l.m_ScaleKeys = Two4(1, 2);
            l.m_RotationKeys = Two4(0, 45);
            l.m_PivotKeys = Two4(0, 4);
            l.m_OpacityKeys = Two<GxNcFloatKey>(1, 0);
            l.m_ImageKeys.resize(1);
            l.m_ImageKeys[0].m_Width = l.m_ImageKeys[0].m_Height = 16;
            GxNcLayerNode* node = new GxNcLayerNode();
            node->m_LayerIndex = (int32_t)m.m_Layers.size() - 1;
            if (below)
                m.m_LayerTree.InsertChild(node, below, GxSimpleTree::InsertMode::Before);
            below = node;
        }
        if (lastTop)
            m.m_LayerTree.InsertNext(lastTop, below, GxSimpleTree::InsertMode::Before);
        else
            m.m_LayerTree.SetRoot(below, GxSimpleTree::InsertMode::Before);
        lastTop = below;
    }
    return p;
}

void BM_UpdateDeepMotion(benchmark::State& state)
{
    static std::unique_ptr<GxNcProjectEx> s_Project = DeepProject();
    const GxNcMotion* motion = s_Project->m_MotionGroups[0]->m_Motions[0].get();
    GxNcMotionSnapShotEx snapshot;
    int32_t t = 0;
    for (auto _ : state)
    {
        snapshot.Update(s_Project.get(), motion, t, GxVector4(), nullptr, GxVector4(1, 1, 1, 1), 4, nullptr);
        t = (t + 1) % 100;
        benchmark::DoNotOptimize(snapshot.m_Layers.data());
    }
}
BENCHMARK(BM_UpdateDeepMotion);

void BM_BareTransforms(benchmark::State& state)
{
    GxMatrix parents[100];
    GxVector4 out[100][5];
    float s = 1.0f;
    for (auto _ : state)
    {
        for (int i = 0; i < 100; ++i)
        {
            GxMatrix local;
            local.ComposeSRT(GxVector3(s, s, 1), GxVector3(s, 2, 0), GxVector3(0, 0, s * 0.01f), GxVector3(1, 1, 0));
            local.Multiply(parents[i % 4 == 0 ? i : i - 1], parents[i]);
            for (int k = 0; k < 5; ++k)
            {
                GxVector3 v((float)k, (float)-k, 0);
                v.TransformCoord(parents[i]);
                out[i][k] = GxVector4(v.x, v.y, v.z, 0);
            }
        }
        s += 0.001f;
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_BareTransforms);

// A device, a loaded set and a project of one single-layer motion, played by 200 effect tasks.
struct Stage
{
    BenchDevice device;
    GxTaskManage manage;
    std::vector<GxTaskNcEffect2D*> effects;
    GxNcProjectEx* project = nullptr;
    std::string dir;
    bool ready = false;

    bool Start()
    {
        GxLog::SetErrorLogPath(L"");
        if (!device.Open("GxNcPlayBench"))
            return false;
        char pattern[] = "/tmp/kvncplayXXXXXX";
        if (!mkdtemp(pattern))
            return false;
        dir = std::string(pattern) + "/";
        GisPicture spark;
        spark.m_FileName = L"spark.png";
        spark.m_Width = spark.m_Height = 32;
        spark.m_Pixels.assign(32 * 32, 0xC0FF8020);
        GxNcCrammedImageSet set;
        if (!GisPacker::Build(dir, L"fx.gis", {spark}, GncForm::Binary, set))
            return false;
        GxNcProject p;
        p.m_MotionGroups.push_back(std::make_unique<GxNcMotionGroup>());
        p.m_MotionGroups[0]->m_MotionGroupName = L"g";
        p.m_MotionGroups[0]->m_Motions.push_back(std::make_unique<GxNcMotion>());
        GxNcMotion& m = *p.m_MotionGroups[0]->m_Motions[0];
        m.m_MotionName = L"m";
        m.m_EndTime = 60;
        m.m_Layers.push_back(std::make_unique<GxNcLayer>());
        GxNcImageKey key;
        key.m_ImageSetName = L"fx.gis";
        key.m_ImageFileName = L"spark.png";
        m.m_Layers[0]->m_ImageKeys = {key};
        m.m_Layers[0]->m_LayerName = L"l";
        m.m_Layers[0]->m_RotationKeys = Two4(0, 90);
        GxNcLayerNode* node = new GxNcLayerNode();
        node->m_LayerName = L"l";
        m.m_LayerTree.SetRoot(node, GxSimpleTree::InsertMode::Before);
        if (!GncProjectWriter::Write(dir + "fx.gnc", p, {L"fx.gis"}, GncForm::Binary))
            return false;
        project =
            GxNcProjectFactory::GetInstance().Get(GxString::FromUtf8(dir + "fx.gnc"), GxString::FromUtf8(dir), true);
        GxTaskBase* root = new GxTaskBase(&manage);
        for (int i = 0; i < 200; ++i)
        {
            GxTaskNcEffect2D* e = new GxTaskNcEffect2D(root);
            e->Setup(project, project->FindMotion(L"g", L"m"), (float)(i % 20) * 50, (float)(i / 20) * 70, 1.0f,
                     GxVector4(1, 1, 1, 0), GxVector2(1, 1), GxVector4(), GxVector4());
            e->m_PlayFrame = i % 60;
            effects.push_back(e);
        }
        ready = true;
        return true;
    }
};

Stage& GetStage()
{
    static Stage s_Stage;
    if (!s_Stage.ready)
        s_Stage.Start();
    return s_Stage;
}

void BM_DrawEffects(benchmark::State& state)
{
    Stage& s = GetStage();
    if (!s.ready)
    {
        state.SkipWithError("no device");
        return;
    }
    const uint64_t calls = GxGraphics::GetDevice()->GetDrawCallCount();
    for (auto _ : state)
    {
        GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        GxGraphics::BeginScene();
        for (GxTaskNcEffect2D* e : s.effects)
            e->Draw(0, 5);
        GxGraphics::EndScene();
        GxGraphics::GetDevice()->Finish();
    }
    state.counters["draws"] =
        (double)(GxGraphics::GetDevice()->GetDrawCallCount() - calls) / (double)state.iterations();
}
BENCHMARK(BM_DrawEffects)->Unit(benchmark::kMicrosecond);

void BM_DrawSameQuads(benchmark::State& state)
{
    Stage& s = GetStage();
    if (!s.ready)
    {
        state.SkipWithError("no device");
        return;
    }
    // The quads the effects drew, with their textures, taken once.
    struct Quad
    {
        GxTextureBase* texture;
        GxVector4 points[5];
        GxVector2 uv[5];
        uint32_t diffuse[5];
    };
    std::vector<Quad> quads;
    for (GxTaskNcEffect2D* e : s.effects)
    {
        const GxNcLayerSnapShotEx& l = e->m_SnapShot.GetLayer(0);
        Quad q;
        q.texture = l.m_ImageKey.m_pOriginImage->m_Patterns[0].m_pCrammedImage->m_pTexture;
        for (int k = 0; k < 5; ++k)
        {
            q.points[k] = l.m_Positions[k];
            q.uv[k] = l.m_TexCoords[k];
            q.diffuse[k] = 0xFFFFFFFF;
        }
        quads.push_back(q);
    }
    const uint32_t none[5] = {0, 0, 0, 0, 0};
    const uint64_t calls = GxGraphics::GetDevice()->GetDrawCallCount();
    for (auto _ : state)
    {
        GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        GxGraphics::BeginScene();
        for (const Quad& q : quads)
            GxGraphics::DrawTransformedQuads(q.texture, q.points, q.uv, q.diffuse, none, GxVector2(), 1);
        GxGraphics::EndScene();
        GxGraphics::GetDevice()->Finish();
    }
    state.counters["draws"] =
        (double)(GxGraphics::GetDevice()->GetDrawCallCount() - calls) / (double)state.iterations();
}
BENCHMARK(BM_DrawSameQuads)->Unit(benchmark::kMicrosecond);

} // namespace
