// Layers: ten picture layers cross-fading against the same twenty sprites drawn directly, and a motion layer
// (off-screen pass and blit) against its motion drawn straight to the screen. Compare each pair in one run.
#include "../../tools/gncwriter/GisPacker.h"
#include "../../tools/gncwriter/GncProjectWriter.h"

#include "animation/GxNcLayerNode.h"
#include "animation/GxNcMotionSnapShotEx.h"
#include "appdata/GxGlobalRenderTargets.h"
#include "core/GxLog.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxTextureFlex.h"
#include "platform/PfGLDevice.h"
#include "platform/PfPngWriter.h"
#include "support/BenchDevice.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace
{

struct Stage
{
    BenchDevice device;
    std::unique_ptr<GxTaskManage> manage;
    std::vector<GxTaskLayer*> pictures;
    GxTaskLayer* motion = nullptr;
    std::string dir;
    bool ready = false;

    bool Start()
    {
        GxLog::SetErrorLogPath(L"");
        if (!device.Open("GxTaskLayerBench") || !CreateGlobalRenderTargets())
            return false;
        char pattern[] = "/tmp/kvlayerXXXXXX";
        if (!mkdtemp(pattern))
            return false;
        dir = std::string(pattern) + "/";
        for (int i = 0; i < 2; ++i)
        {
            std::vector<uint32_t> pixels(256 * 192, i ? 0xFF40C080u : 0xFFC04080u);
            if (!PfPngWriter::Write(dir + "p" + std::to_string(i) + ".png", 256, 192, (const uint8_t*)pixels.data()))
                return false;
        }
        GisPicture spark;
        spark.m_FileName = L"spark.png";
        spark.m_Width = spark.m_Height = 64;
        spark.m_Pixels.assign(64 * 64, 0xC0FF8020u);
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
        GxNcLayerNode* last = nullptr;
        for (int i = 0; i < 8; ++i)
        {
            m.m_Layers.push_back(std::make_unique<GxNcLayer>());
            GxNcLayer& l = *m.m_Layers.back();
            l.m_LayerName = L"l" + std::to_wstring(i);
            GxNcImageKey k;
            k.m_ImageSetName = L"fx.gis";
            k.m_ImageFileName = L"spark.png";
            l.m_ImageKeys = {k};
            GxNcVector4Key at;
            at.m_Value = GxVector4(i * 40.0f - 160, 0, 0, 0);
            l.m_PositionKeys = {at};
            GxNcLayerNode* node = new GxNcLayerNode();
            node->m_LayerName = l.m_LayerName;
            if (last)
                m.m_LayerTree.InsertNext(last, node, GxSimpleTree::InsertMode::Before);
            else
                m.m_LayerTree.SetRoot(node, GxSimpleTree::InsertMode::Before);
            last = node;
        }
        if (!GncProjectWriter::Write(dir + "fx.gnc", p, {L"fx.gis"}, GncForm::Binary))
            return false;

        manage = std::make_unique<GxTaskManage>();
        GxTaskBase* root = new GxTaskBase(manage.get());
        for (int i = 0; i < 10; ++i)
        {
            GxTaskLayer* l = new GxTaskLayer(root);
            l->SetPos(GxVector4((float)(i % 4) * 250, (float)(i / 4) * 200, 0, 0));
            l->SetImage(GxString::FromUtf8(dir + "p0.png"), 0, L"");
            l->SetImage(GxString::FromUtf8(dir + "p1.png"), 100000, L""); // a long fade: both records drawn
            l->Update(0, 1000000);
            pictures.push_back(l);
        }
        motion = new GxTaskLayer(root);
        std::wstring group;
        motion->SetMotion(GxString::FromUtf8(dir + "fx.gnc"), GxString::FromUtf8(dir), group, L"m", 0, 0);
        motion->Update(0, 16667);
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

template <typename Draw> void Frame(benchmark::State& state, Draw draw)
{
    if (!GetStage().ready)
    {
        state.SkipWithError("no device");
        return;
    }
    for (auto _ : state)
    {
        GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        GxGraphics::BeginScene();
        draw();
        GxGraphics::EndScene();
        GxGraphics::GetDevice()->Finish();
    }
}

void BM_PictureLayersCrossFading(benchmark::State& state)
{
    Frame(state,
          []
          {
              for (GxTaskLayer* l : GetStage().pictures)
                  l->Draw(0, 5);
          });
}
BENCHMARK(BM_PictureLayersCrossFading)->Unit(benchmark::kMicrosecond);

void BM_SameSpritesDirect(benchmark::State& state)
{
    Frame(state,
          []
          {
              for (GxTaskLayer* l : GetStage().pictures)
              {
                  const GxVector4 p = l->GetWorldPos();
                  for (int r = 0; r < 2; ++r)
                      GxGraphics::DrawTextureFlex(l->m_Contents[r].m_pImage, p.x, p.y, GxVector2(1, 1),
                                                  GxVector3(0, 0, 0), GxVector2(0, 0), 0x80FFFFFF, 0, 1);
              }
          });
}
BENCHMARK(BM_SameSpritesDirect)->Unit(benchmark::kMicrosecond);

void BM_MotionLayer(benchmark::State& state)
{
    Frame(state, [] { GetStage().motion->Draw(0, 5); });
}
BENCHMARK(BM_MotionLayer)->Unit(benchmark::kMicrosecond);

void BM_MotionStraight(benchmark::State& state)
{
    Frame(state,
          []
          {
              GxNcMotionSnapShotEx::Draw(GetStage().motion->GetCurrentContent().m_SnapShot, GxMatrix(), 1.0f,
                                         GxVector4(1, 1, 1, 1), GxVector4(), 0, 0, nullptr);
          });
}
BENCHMARK(BM_MotionStraight)->Unit(benchmark::kMicrosecond);

} // namespace
