// Layers: content switches and cross-fades, transition modes and timing, centring, shaking, content
// records and whole layers through both content forms, the fallback label and damaged saves; a movie drawn
// at the size asked for and the layer's movie player.
#include "TaskSaveSupport.h"
#include "../media/MovieTestSupport.h"

#include "../../tools/gncwriter/GisPacker.h"
#include "../../tools/gncwriter/GncProjectWriter.h"

#include "animation/GxNcCrammedImageSetFactory.h"
#include "appdata/GxGlobalRenderTargets.h"
#include "animation/GxNcLayerNode.h"
#include "animation/GxNcProjectEx.h"
#include "animation/GxNcProjectFactory.h"
#include "graphics/GxTextureFactory.h"
#include "graphics/GxTextureFlex.h"
#include "task/GxSubLayerContent.h"
#include "task/GxTaskLayer.h"
#include "task/GxTaskManage.h"

#include <algorithm>
#include <cmath>

namespace
{

class GxTaskLayerTest : public KvGraphicsFixture
{
protected:
    void SetUp() override
    {
        KvGraphicsFixture::SetUp();
        GxLog::SetSkipSlightError(false);
        for (auto [name, w, h, colour] : {std::tuple{"a.png", 64u, 32u, 0xFFFF0000u},
                                          {"b.png", 32u, 32u, 0xFF00FF00u},
                                          {"c.png", 16u, 16u, 0xFF0000FFu},
                                          {"wide.png", 301u, 100u, 0xFFFFFFFFu}})
        {
            std::vector<uint32_t> pixels((size_t)w * h, colour);
            ASSERT_TRUE(PfPngWriter::Write(Path(name), w, h, (const uint8_t*)pixels.data()));
        }
        GisPicture pic;
        pic.m_FileName = L"p.png";
        pic.m_Width = 40;
        pic.m_Height = 20;
        pic.m_Columns = 2;
        pic.m_Pixels.assign(800, 0xFFFFFF00u);
        GxNcCrammedImageSet set;
        ASSERT_TRUE(GisPacker::Build(m_Dir + "/", L"s.gis", {pic}, GncForm::Binary, set));
        GxNcProject p;
        p.m_MotionGroups.push_back(std::make_unique<GxNcMotionGroup>());
        p.m_MotionGroups[0]->m_MotionGroupName = L"first";
        p.m_MotionGroups[0]->m_Motions.push_back(std::make_unique<GxNcMotion>());
        p.m_MotionGroups[0]->m_Motions[0]->m_MotionName = L"still"; // m_EndTime 0
        ASSERT_TRUE(GncProjectWriter::Write(Path("m.gnc"), p, {}, GncForm::Binary));
        Rebuild();
    }
    // A fresh task tree; the old one goes with its manager.
    void Rebuild()
    {
        m_Manage = std::make_unique<GxTaskManage>();
        m_Root = new GxTaskBase(m_Manage.get());
        m_Layer = new GxTaskLayer(m_Root, L"layer");
    }
    void TearDown() override
    {
        m_Manage.reset();
        GxNcProjectFactory::GetInstance().ReleaseAll();
        GxNcCrammedImageSetFactory::GetInstance().ReleaseAll();
        GxTextureFactory::GetInstance().Clear();
        KvGraphicsFixture::TearDown();
    }
    void Step(int n, int64_t us = 16667)
    {
        for (int i = 0; i < n; ++i)
            m_Layer->Update(0, us);
    }
    std::unique_ptr<GxTaskManage> m_Manage;
    GxTaskBase* m_Root = nullptr;
    GxTaskLayer* m_Layer = nullptr;
};

} // namespace

TEST_F(GxTaskLayerTest, SwitchesCrossFadeFromTheShownContent)
{
    GxTaskLayer& l = *m_Layer;
    ASSERT_TRUE(l.SetImage(WidePath("a.png"), 0, L""));
    EXPECT_EQ(l.m_IndexPos, 1);
    ASSERT_TRUE(l.SetImage(WidePath("b.png"), 500, L""));
    EXPECT_TRUE(l.IsLocalTransiting());
    ASSERT_TRUE(l.SetImage(WidePath("c.png"), 500, L""));
    // a was in the record c now fills: it vanished at once; the fade restarts from b.
    EXPECT_EQ(l.GetCurrentContent().m_ContentFileName, WidePath("c.png"));
    EXPECT_EQ(l.GetOtherContent().m_ContentFileName, WidePath("b.png"));
    EXPECT_EQ(l.m_LocalTransit.m_TransitTimeLeft, 500);
    Step(31); // 16 ms a step: 496 ms
    EXPECT_TRUE(l.IsLocalTransiting());
    Step(1);
    EXPECT_FALSE(l.IsLocalTransiting());
    EXPECT_EQ(l.GetOtherContent().m_ContentType, GxLayerContent::kNone);

    ASSERT_TRUE(l.SetSolidColor(0x80FF0000u, 0)); // transit 0: the previous content goes at once
    EXPECT_EQ(l.GetOtherContent().m_ContentType, GxLayerContent::kNone);
    EXPECT_FLOAT_EQ(l.GetCurrentContent().m_SolidColor.w, 128.0f / 255.0f);

    ASSERT_TRUE(l.SetImage(WidePath("wide.png"), 0, L""));
    l.CenterOnScreen();
    EXPECT_EQ(l.GetPos().x, 361.0f);
    EXPECT_EQ(l.GetPos().y, 334.0f);

    // A missing picture shows the fallback, keeps the requested name and is labelled.
    ASSERT_TRUE(l.SetImage(WidePath("gone.png"), 0, WidePath("b.png")));
    EXPECT_TRUE(l.m_ShowLabel);
    EXPECT_EQ(l.GetCurrentContent().m_ContentFileName, WidePath("gone.png"));
    EXPECT_EQ(l.GetWidth(), 32);
    EXPECT_TRUE(GxGraphics::BeginScene());
    l.Draw(0, 5); // the label text draws without a complaint
    EXPECT_TRUE(GxGraphics::EndScene());
    // The only line logged names the missing picture.
    const std::wstring log = ReadLog("error.log");
    EXPECT_EQ(std::count(log.begin(), log.end(), L'\n'), 1) << GxString::ToUtf8(log);
    EXPECT_NE(log.find(L"gone.png"), std::wstring::npos);
}

TEST_F(GxTaskLayerTest, TransitionModesAndShaking)
{
    struct Case
    {
        int32_t mode;
        float p, fin, fout;
    } cases[] = {{3, 0.5f, 0.0f, 0.0f},
                 {3, 0.75f, 0.5f, 0.0f},
                 {0, 0.25f, 0.25f, 0.75f},
                 {1, 0.5f, 0.5f + 1 / 3.14159265f, 0.5f + 1 / 3.14159265f},
                 {2, 0.0f, 0.0f, 1.0f}};
    for (const Case& c : cases)
    {
        float fin = -1, fout = -1;
        GxTaskLayer::GetTransitFactors(c.mode, c.p, fin, fout);
        EXPECT_NEAR(fin, c.fin, 1e-5) << c.mode;
        EXPECT_NEAR(fout, c.fout, 1e-5) << c.mode;
    }
    m_Layer->StartShake(GxVector4(20, 10, 0, 0), -1);
    float largest = 0;
    for (int i = 0; i < 200; ++i)
    {
        Step(1, 1000000);
        largest = std::max(largest, std::fabs(m_Layer->GetVisual().m_ShakeOffsetPos.x));
        EXPECT_LE(std::fabs(m_Layer->GetVisual().m_ShakeOffsetPos.y), 10.0f);
    }
    EXPECT_TRUE(m_Layer->m_Shake);
    EXPECT_GT(largest, 0.0f);
    m_Layer->StopShake();
    EXPECT_EQ(m_Layer->GetVisual().m_ShakeOffsetPos.x, 0.0f);
    m_Layer->StartShake(GxVector4(20, 10, 0, 0), 100);
    Step(7); // 112 ms
    EXPECT_FALSE(m_Layer->m_Shake);
}

TEST_F(GxTaskLayerTest, ContentRecordsRoundTripAndRebuildTheirObjects)
{
    GxLayerContent content;
    content.SetSubLayerCount(3);
    for (int i = 0; i < 3; ++i)
    {
        ASSERT_TRUE(content.GetSubLayer(i)->SetImage(WidePath(i == 1 ? "b.png" : "c.png")));
        content.GetSubLayer(i)->m_OffsetPos = GxVector2((float)i, 2.0f * i);
    }
    EXPECT_EQ(content.GetSubLayer(3), nullptr);
    EXPECT_EQ(content.GetSubLayer(-1), nullptr);
    for (ContentForm form : {ContentForm::Binary, ContentForm::Text})
    {
        const auto bytes = SaveRecord(form, [&](GxContentWriterBase* w) { return content.Save(w); });
        GxLayerContent read;
        ASSERT_TRUE(read.Load(OpenRecord(form, bytes).get()));
        ASSERT_EQ(read.GetSubLayerCount(), 3);
        EXPECT_FALSE(read.HasSubLayerImage());
        EXPECT_EQ(read.GetSubLayer(1)->m_ContentFileName, WidePath("b.png"));
        EXPECT_EQ(read.GetSubLayer(1)->m_Width, 32);
        EXPECT_EQ(read.GetSubLayer(2)->m_OffsetPos.y, 4.0f);
        EXPECT_TRUE(read.Restore(nullptr));
        EXPECT_TRUE(read.HasSubLayerImage());
    }

    // Whole layers of the loadable kinds, through both forms: their live objects come back.
    std::wstring group;
    for (ContentForm form : {ContentForm::Binary, ContentForm::Text})
    {
        GxTaskLayer* motion = new GxTaskLayer(m_Root, L"m");
        ASSERT_TRUE(motion->SetMotion(WidePath("m.gnc"), Folder(), group, L"still", 5, 0));
        EXPECT_EQ(group, L"first");
        Step(1);
        motion->Update(0, 16667); // a motion of length 0 plays frame 0, no division by zero
        GxTaskLayer* pattern = new GxTaskLayer(m_Root, L"p");
        EXPECT_TRUE(pattern->SetImageSet(WidePath("s.gis"), L"P.PNG", 1, 0));
        EXPECT_EQ(pattern->GetCurrentContent().m_Width, 20);
        EXPECT_TRUE(pattern->SetImageSet(WidePath("s.gis"), L"p.png", 9, 200)); // beyond the patterns: size 0
        EXPECT_EQ(pattern->GetCurrentContent().m_Width, 0);
        GxTaskLayer* blank = new GxTaskLayer(m_Root, L"t");
        EXPECT_TRUE(blank->SetBlankTexture(64, 16, 0));
        for (GxTaskLayer* layer : {motion, pattern, blank})
        {
            const auto bytes = SaveRecord(form, [&](GxContentWriterBase* w) { return layer->Save(w); });
            GxTaskLayer* copy = new GxTaskLayer(m_Root);
            ASSERT_TRUE(copy->Load(OpenRecord(form, bytes).get()));
            EXPECT_EQ(copy->m_IndexPos, layer->m_IndexPos);
            EXPECT_EQ(copy->GetCurrentContent().m_ContentType, layer->GetCurrentContent().m_ContentType);
            const GxLayerContent& c = copy->GetCurrentContent();
            EXPECT_TRUE(c.m_pProject || c.m_pImageSet || c.m_pTexture);
            EXPECT_EQ(copy->IsLocalTransiting(), layer->IsLocalTransiting());
        }
        EXPECT_EQ(GxNcProjectFactory::GetInstance().Find(WidePath("m.gnc"))->GetRefCount(), 2u);
        EXPECT_EQ(GxNcCrammedImageSetFactory::GetInstance().Find(WidePath("s.gis"))->GetRefCount(), 4u);
        Rebuild();
        EXPECT_EQ(GxNcProjectFactory::GetInstance().GetCount(), 0u);
        EXPECT_EQ(GxNcCrammedImageSetFactory::GetInstance().GetCount(), 0u);
    }
    EXPECT_FALSE(m_Layer->SetSubLayerImage(WidePath("c.png"), 0));
    EXPECT_TRUE(Logged(L"GxTaskLayer:サブレイヤーに読み込めません。インデックスを超えている可能性があります:"));
}

TEST_F(GxTaskLayerTest, DamagedSavesFailWithALogLine)
{
    m_Layer->SetSolidColor(0xFF000000u, 0);
    const auto bytes = SaveRecord(ContentForm::Binary, [&](GxContentWriterBase* w) { return m_Layer->Save(w); });
    // m_IndexPos stored as 5: a read error, not an index.
    GxTaskLayer* bad = new GxTaskLayer(m_Root, L"bad");
    bad->m_IndexPos = 5;
    const auto wrong = SaveRecord(ContentForm::Binary, [&](GxContentWriterBase* w) { return bad->Save(w); });
    bad->m_IndexPos = 0;
    GxTaskLayer* read = new GxTaskLayer(m_Root, L"read");
    EXPECT_FALSE(read->Load(OpenRecord(ContentForm::Binary, wrong).get()));
    EXPECT_EQ(read->m_IndexPos, 0);
    EXPECT_TRUE(Logged(L"GxTaskLayer::Load/m_IndexPosが不正です:5"));
    for (size_t n : {bytes.size() / 2, bytes.size() - 3})
    {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + (long)n);
        EXPECT_FALSE(read->Load(OpenRecord(ContentForm::Binary, cut).get())) << n;
    }
    // A movie channel from a save outside the slot table opens nothing.
    GxLayerContent movie;
    movie.m_ContentType = GxLayerContent::kMovie;
    movie.m_MyChannel = 9;
    EXPECT_FALSE(movie.Restore(nullptr));
    EXPECT_TRUE(Logged(L"GxLayerContent::Restore/ムービーチャンネルが範囲外です:9"));
}

TEST_F(GxTaskLayerTest, PicturesPatternsColoursAndMotionFadesMatchTheStoredPicture)
{
    CreateGlobalRenderTargets();
    // A motion of two overlapping opaque squares (red over blue): faded as one picture, no blue shows
    // through the red.
    GxNcCrammedImageSet set;
    GisPicture red, blue;
    red.m_FileName = L"red.png";
    blue.m_FileName = L"blue.png";
    red.m_Width = red.m_Height = blue.m_Width = blue.m_Height = 32;
    red.m_Pixels.assign(1024, 0xFFE02020u);
    blue.m_Pixels.assign(1024, 0xFF2040E0u);
    ASSERT_TRUE(GisPacker::Build(m_Dir + "/", L"sq.gis", {red, blue}, GncForm::Binary, set));
    GxNcProject p;
    p.m_MotionGroups.push_back(std::make_unique<GxNcMotionGroup>());
    p.m_MotionGroups[0]->m_MotionGroupName = L"g";
    p.m_MotionGroups[0]->m_Motions.push_back(std::make_unique<GxNcMotion>());
    GxNcMotion& m = *p.m_MotionGroups[0]->m_Motions[0];
    m.m_MotionName = L"sq";
    m.m_EndTime = 10;
    GxNcLayerNode* last = nullptr;
    for (auto [name, file, x] : {std::tuple{L"top", L"red.png", 0.0f}, {L"under", L"blue.png", 16.0f}})
    {
        m.m_Layers.push_back(std::make_unique<GxNcLayer>());
        GxNcLayer& l = *m.m_Layers.back();
        l.m_LayerName = name;
        GxNcImageKey k;
        k.m_ImageSetName = L"sq.gis";
        k.m_ImageFileName = file;
        l.m_ImageKeys = {k};
        GxNcVector4Key at;
        at.m_Value = GxVector4(x, x, 0, 0);
        l.m_PositionKeys = {at};
        GxNcLayerNode* node = new GxNcLayerNode();
        node->m_LayerName = name;
        if (last)
            m.m_LayerTree.InsertNext(last, node, GxSimpleTree::InsertMode::Before);
        else
            m.m_LayerTree.SetRoot(node, GxSimpleTree::InsertMode::Before);
        last = node;
    }
    ASSERT_TRUE(GncProjectWriter::Write(Path("sq.gnc"), p, {L"sq.gis"}, GncForm::Binary));

    std::vector<GxTaskLayer*> layers;
    auto add = [&](float x, float y)
    {
        layers.push_back(new GxTaskLayer(m_Root));
        layers.back()->SetPos(GxVector4(x, y, 0, 0));
        return layers.back();
    };
    ASSERT_TRUE(add(0, 0)->SetSolidColor(0xFF203040u, 0));
    GxTaskLayer* picture = add(16, 16);
    ASSERT_TRUE(picture->SetImage(WidePath("a.png"), 0, L""));
    picture->GetCurrentContent().SetSubLayerCount(1);
    ASSERT_TRUE(picture->SetSubLayerImage(WidePath("c.png"), 0));
    picture->GetCurrentContent().GetSubLayer(0)->m_OffsetPos = GxVector2(40, 8);
    ASSERT_TRUE(add(120, 16)->SetImageSet(WidePath("s.gis"), L"p.png", 1, 0));
    for (int mode = 0; mode < 4; ++mode)
    {
        GxTaskLayer* fade = add(-496.0f + 64 * mode, -312.0f);
        fade->SetLocalTransitMode(mode == 0 ? 4 : mode);
        std::wstring group;
        ASSERT_TRUE(fade->SetMotion(WidePath("sq.gnc"), Folder(), group, L"sq", 0, 1000));
    }
    ASSERT_TRUE(add(16, 120)->SetImage(L"gone.png", 0, WidePath("c.png"))); // the label shows the name asked for
    for (GxTaskLayer* layer : layers)
        layer->Update(0, 300000); // 0.3 of the fades
    ASSERT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0));
    for (GxTaskLayer* layer : layers)
        layer->Draw(0, 5);
    const std::vector<size_t> off =
        KvCompareWithGolden("../../task/golden/layers.png", Screen(320, 240), 320, 240, {8, 64});
    EXPECT_LE(off[0], 200u); // label glyph edges may differ by a few levels between drivers
    EXPECT_LE(off[1], 40u);
    const std::wstring log = ReadLog("error.log"); // the missing picture's line alone
    EXPECT_EQ(std::count(log.begin(), log.end(), L'\n'), 1) << GxString::ToUtf8(log);
    ReleaseGlobalRenderTargets();
}

TEST_F(GxTaskLayerTest, AMovieIsDrawnAtTheSizeAskedForAndItsPlayerIsTheSlots)
{
    EXPECT_EQ(m_Layer->GetMoviePlayer(), nullptr) << "empty";
    ASSERT_TRUE(m_Layer->SetSolidColor(0xFF203040u, 0));
    EXPECT_EQ(m_Layer->GetMoviePlayer(), nullptr) << "not a movie";
    // A 320 x 240 movie asked for at 1024 x 768, as @mv("op", 500, 1024, 768, 1) does.
    const std::wstring movie = GxString::FromUtf8(KvMovie("320x240x1-silent.mpg"));
    ASSERT_TRUE(m_Layer->SetMovie(movie, 1024, 768, 1, 0.0, 0, false, 0));
    EXPECT_FALSE(m_Layer->IsMoviePlaying());
    ASSERT_TRUE(m_Layer->PlayMovie(0));
    ASSERT_NE(m_Layer->GetMoviePlayer(), nullptr);
    EXPECT_EQ(m_Layer->GetMoviePlayer(), GxMovie::GetPlayer(1)) << "the first record plays in slot 1";
    auto* texture = static_cast<GxTextureMovie*>(m_Layer->GetCurrentContent().m_pTexture);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!(texture->IsFilled() && texture->GetFrameWidth() > 0) && std::chrono::steady_clock::now() < end)
    {
        GxMovie::UpdateAll();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    GxMovie::Stop(1);
    KvExpectEq<uint32_t>({{texture->GetFrameWidth(), 320}, {texture->GetFrameHeight(), 240}});
    EXPECT_EQ(texture->GetSurface(), texture->GetD3DTexture());

    // The four corners of the screen show the movie's: the white and black bars above, grey below.
    ASSERT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0));
    m_Layer->Draw(0, 5);
    const std::vector<uint32_t> screen = Screen(1024, 768);
    auto at = [&](int x, int y) { return screen[(size_t)y * 1024 + x] & 0xFFFFFF; };
    // (A one-second movie has no all-white frame.)
    for (auto [x, y, want] :
         {std::tuple{4, 4, 0xFFFFFFu}, {1019, 4, 0x000000u}, {4, 763, 0x404040u}, {1019, 763, 0x404040u}})
        EXPECT_LE(ChannelDistance(at(x, y), want), 24) << x << "," << y << ": " << std::hex << at(x, y);
    // The slots let go of the texture before the layer deletes it.
    GxMovie::DestroyAll();
}
