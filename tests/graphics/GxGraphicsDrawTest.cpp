// The vertices the 2D drawers produce, recorded without a device: quads, sprites turning about their
// centre with the half-pixel offset, tiled pictures, filled rectangles, frames and viewport culling.
#include "graphics/GxGraphics.h"

#include "core/GxMatrix.h"
#include "core/GxVector2.h"
#include "core/GxVector3.h"
#include "core/GxVector4.h"
#include "graphics/GxDrawRecorder.h"
#include "graphics/GxSurfaceBase.h"

#include "KvExpect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace
{

class SizedTexture : public GxSurfaceBase
{
public:
    SizedTexture(uint32_t w, uint32_t h)
    {
        m_Width = m_ImageWidth = w;
        m_Height = m_ImageHeight = h;
    }
};

class GxGraphicsDrawTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const PfRect screen = {0, 0, 1024, 768};
        GxGraphics::SetViewport(&screen);
        GxGraphics::SetDrawRecorder(&m_Recorder);
    }
    void TearDown() override { GxGraphics::SetDrawRecorder(nullptr); }
    const GxDrawRecorder::Primitive& Only()
    {
        EXPECT_EQ(m_Recorder.m_Primitives.size(), 1u);
        return m_Recorder.m_Primitives.front();
    }
    // One field of every vertex, in order.
    template <typename T> static std::vector<T> Each(const std::vector<GxVertex2D>& v, T GxVertex2D::*field)
    {
        std::vector<T> out;
        for (const GxVertex2D& vertex : v)
            out.push_back(vertex.*field);
        return out;
    }
    GxDrawRecorder m_Recorder;
};

using F = std::vector<float>;
using U = std::vector<uint32_t>;

const uint32_t WHITE4[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
const uint32_t ZERO4[4] = {0, 0, 0, 0};

} // namespace

TEST_F(GxGraphicsDrawTest, QuadTakesCornersColoursAndCoordinatesInFanOrder)
{
    const GxVector2 corners[4] = {{10, 20}, {10, 60}, {50, 60}, {50, 20}};
    const uint32_t diffuse[4] = {1, 2, 3, 4};
    const uint32_t specular[4] = {5, 6, 7, 8};
    GxGraphics::DrawQuad(nullptr, corners, GxFRect{0.25f, 0.5f, 0.75f, 1.0f}, diffuse, specular, 2);
    const auto& p = Only();
    EXPECT_EQ(p.m_Type, D3DPT_TRIANGLEFAN);
    EXPECT_EQ(p.m_pTexture, nullptr);
    EXPECT_EQ(p.m_BlendPreset, 2u);
    const auto& v = p.m_Vertices;
    EXPECT_EQ(Each(v, &GxVertex2D::x), (F{9.5f, 9.5f, 49.5f, 49.5f}));
    EXPECT_EQ(Each(v, &GxVertex2D::y), (F{19.5f, 59.5f, 59.5f, 19.5f}));
    EXPECT_EQ(Each(v, &GxVertex2D::z), (F{0, 0, 0, 0}));
    EXPECT_EQ(Each(v, &GxVertex2D::rhw), (F{1, 1, 1, 1}));
    EXPECT_EQ(Each(v, &GxVertex2D::diffuse), (U{1, 2, 3, 4}));
    EXPECT_EQ(Each(v, &GxVertex2D::specular), (U{5, 6, 7, 8}));
    EXPECT_EQ(Each(v, &GxVertex2D::u), (F{0.25f, 0.25f, 0.75f, 0.75f}));
    EXPECT_EQ(Each(v, &GxVertex2D::v), (F{0.5f, 1.0f, 1.0f, 0.5f}));
}

TEST_F(GxGraphicsDrawTest, QuadsWhollyOutsideTheViewportAreCulledButEdgesCount)
{
    const GxVector2 left[4] = {{-20, 0}, {-20, 10}, {-1, 10}, {-1, 0}};
    GxGraphics::DrawQuad(nullptr, left, GxFRect{0, 0, 1, 1}, WHITE4, ZERO4, 2);
    EXPECT_TRUE(m_Recorder.m_Primitives.empty());
    // With the half-pixel offset, x = 0.5 lands exactly on the left edge: drawn.
    const GxVector2 touching[4] = {{-20, 0}, {-20, 10}, {0.5f, 10}, {0.5f, 0}};
    GxGraphics::DrawQuad(nullptr, touching, GxFRect{0, 0, 1, 1}, WHITE4, ZERO4, 2);
    EXPECT_EQ(m_Recorder.m_Primitives.size(), 1u);
    m_Recorder.Clear();
    const GxVector2 outside[3][4] = {{{1030, 0}, {1030, 10}, {1040, 10}, {1040, 0}},
                                     {{0, -30}, {0, -10}, {10, -10}, {10, -30}},
                                     {{0, 780}, {0, 790}, {10, 790}, {10, 780}}};
    for (const auto& quad : outside)
        GxGraphics::DrawQuad(nullptr, quad, GxFRect{0, 0, 1, 1}, WHITE4, ZERO4, 2);
    EXPECT_TRUE(m_Recorder.m_Primitives.empty());
    // A quad spanning the screen from outside on every side is drawn.
    const GxVector2 around[4] = {{-100, -100}, {-100, 900}, {1100, 900}, {1100, -100}};
    GxGraphics::DrawQuad(nullptr, around, GxFRect{0, 0, 1, 1}, WHITE4, ZERO4, 2);
    EXPECT_EQ(m_Recorder.m_Primitives.size(), 1u);
    // The frame culls, the filled rectangle never does.
    m_Recorder.Clear();
    const uint32_t five[5] = {1, 2, 3, 4, 5};
    GxGraphics::DrawRectFrame(GxFRect{-50, -50, -10, -10}, 1, 0, 2);
    GxGraphics::FillRect(GxFRect{-50, -50, -10, -10}, five, five, 2);
    EXPECT_EQ(m_Recorder.m_Primitives.size(), 2u);
}

TEST_F(GxGraphicsDrawTest, SpriteTurnsAboutItsCentreWithTheHalfPixelOffset)
{
    SizedTexture texture(256, 128);
    const float pi = 3.14159265f;
    GxGraphics::DrawSprite(&texture, 512, 384, GxFRect{64, 32, 128, 64}, GxVector2(1, 1), GxVector3(0, 0, pi / 2),
                           GxVector2(0.5f, 0.5f), GxVector2(0, 0), 0xFF112233, 0x00010203, 3);
    const auto& p = Only();
    ASSERT_EQ(p.m_Vertices.size(), 4u);
    EXPECT_EQ(Each(p.m_Vertices, &GxVertex2D::diffuse), U(4, 0xFF112233u));
    EXPECT_EQ(Each(p.m_Vertices, &GxVertex2D::specular), U(4, 0x00010203u));
    float cx = 0, cy = 0;
    for (const auto& v : p.m_Vertices)
    {
        cx += v.x / 4;
        cy += v.y / 4;
    }
    EXPECT_NEAR(cx, 511.5f, 1e-3);
    EXPECT_NEAR(cy, 383.5f, 1e-3);
    // Turned a quarter: the 64 x 32 sprite now stands 32 wide and 64 high.
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (const auto& v : p.m_Vertices)
    {
        minX = std::fmin(minX, v.x);
        maxX = std::fmax(maxX, v.x);
        minY = std::fmin(minY, v.y);
        maxY = std::fmax(maxY, v.y);
    }
    EXPECT_NEAR(maxX - minX, 32.0f, 1e-3);
    EXPECT_NEAR(maxY - minY, 64.0f, 1e-3);
    // Texture coordinates of the source rectangle over the texture's size, in fan order.
    EXPECT_EQ(Each(p.m_Vertices, &GxVertex2D::u), (F{0.25f, 0.25f, 0.5f, 0.5f}));
    EXPECT_EQ(Each(p.m_Vertices, &GxVertex2D::v), (F{0.25f, 0.5f, 0.5f, 0.25f}));
}

TEST_F(GxGraphicsDrawTest, SpriteScalesFromItsTopLeftWithCentreZero)
{
    SizedTexture texture(64, 64);
    GxGraphics::DrawSprite(&texture, 100, 200, GxFRect{0, 0, 16, 8}, GxVector2(2, 3), GxVector3(0, 0, 0),
                           GxVector2(0, 0), GxVector2(0.5f, 0.25f), 0xFFFFFFFF, 0, 2);
    const auto& v = Only().m_Vertices;
    EXPECT_EQ(Each(v, &GxVertex2D::x), (F{99.5f, 99.5f, 99.5f + 32, 99.5f + 32}));
    EXPECT_EQ(Each(v, &GxVertex2D::y), (F{199.5f, 199.5f + 24, 199.5f + 24, 199.5f}));
    EXPECT_EQ(Each(v, &GxVertex2D::u), (F{0.5f, 0.5f, 0.25f + 0.5f, 0.25f + 0.5f}));
    EXPECT_EQ(Each(v, &GxVertex2D::v), (F{0.25f, 0.125f + 0.25f, 0.125f + 0.25f, 0.25f}));
    // A texture without a size draws nothing.
    m_Recorder.Clear();
    SizedTexture empty(0, 0);
    GxGraphics::DrawSprite(&empty, 0, 0, GxFRect{0, 0, 16, 8}, GxVector2(1, 1), GxVector3(), GxVector2(), GxVector2(),
                           0xFFFFFFFF, 0, 2);
    GxGraphics::DrawSprite(nullptr, 0, 0, GxFRect{0, 0, 16, 8}, GxVector2(1, 1), GxVector3(), GxVector2(), GxVector2(),
                           0xFFFFFFFF, 0, 2);
    EXPECT_TRUE(m_Recorder.m_Primitives.empty());
}

TEST_F(GxGraphicsDrawTest, FilledRectangleMeetsInTheCentreWithColourFour)
{
    const uint32_t diffuse[5] = {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004, 0xFF000005};
    const uint32_t specular[5] = {11, 12, 13, 14, 15};
    GxGraphics::FillRect(GxFRect{0, 0, 100, 50}, diffuse, specular, 1);
    ASSERT_EQ(m_Recorder.m_Primitives.size(), 2u);
    const auto& a = m_Recorder.m_Primitives[0].m_Vertices;
    const auto& b = m_Recorder.m_Primitives[1].m_Vertices;
    // First fan top-left, bottom-left, centre, top-right; second centre, bottom-left, bottom-right, top-right;
    // no half-pixel offset.
    EXPECT_EQ(Each(a, &GxVertex2D::diffuse), (U{diffuse[0], diffuse[1], diffuse[4], diffuse[3]}));
    EXPECT_EQ(Each(b, &GxVertex2D::diffuse), (U{diffuse[4], diffuse[1], diffuse[2], diffuse[3]}));
    EXPECT_EQ(Each(b, &GxVertex2D::specular), (U{15, 12, 13, 14}));
    EXPECT_EQ(Each(a, &GxVertex2D::x), (F{0, 0, 50, 100}));
    EXPECT_EQ(Each(a, &GxVertex2D::y), (F{0, 50, 25, 0}));
    EXPECT_EQ(Each(b, &GxVertex2D::x), (F{50, 0, 100, 100}));
    EXPECT_EQ(Each(b, &GxVertex2D::y), (F{25, 50, 50, 0}));
    EXPECT_EQ(m_Recorder.m_Primitives[0].m_pTexture, nullptr);
}

TEST_F(GxGraphicsDrawTest, FrameIsALineStripClosedOnItsFirstCorner)
{
    GxGraphics::DrawRectFrame(GxFRect{10, 20, 30, 40}, 0xFF00FF00, 0, 2);
    const auto& p = Only();
    EXPECT_EQ(p.m_Type, D3DPT_LINESTRIP);
    EXPECT_EQ(Each(p.m_Vertices, &GxVertex2D::x), (F{10, 10, 30, 30, 10}));
    EXPECT_EQ(Each(p.m_Vertices, &GxVertex2D::y), (F{20, 40, 40, 20, 20}));
}

TEST_F(GxGraphicsDrawTest, TilesDrawOneFanPerVisibleTileWithItsTexture)
{
    PfGLTexture* tiles[6];
    for (int i = 0; i < 6; ++i)
        tiles[i] = reinterpret_cast<PfGLTexture*>(static_cast<uintptr_t>(0x1000 + 16 * i));
    GxGraphics::DrawTiles(tiles, 3, 2, 128, 128, 300, 200, 0, 0, GxVector2(1, 1), GxVector3(), GxVector2(), 0xFFFFFFFF,
                          0, 2);
    ASSERT_EQ(m_Recorder.m_Primitives.size(), 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(m_Recorder.m_Primitives[i].m_pTexture, tiles[i]);
    const auto& last = m_Recorder.m_Primitives[5].m_Vertices;
    KvExpectEq<float>({{last[0].x, 256 - 0.5f}, {last[0].y, 128 - 0.5f}, {last[2].x, 384 - 0.5f}});
    KvExpectEq<float>({{last[2].u, 1.0f}, {last[2].v, 1.0f}});
    // Moved left so that only the last column stays on screen.
    m_Recorder.Clear();
    GxGraphics::DrawTiles(tiles, 3, 2, 128, 128, 300, 200, -300, 0, GxVector2(1, 1), GxVector3(), GxVector2(),
                          0xFFFFFFFF, 0, 2);
    ASSERT_EQ(m_Recorder.m_Primitives.size(), 2u);
    EXPECT_EQ(m_Recorder.m_Primitives[0].m_pTexture, tiles[2]);
    EXPECT_EQ(m_Recorder.m_Primitives[1].m_pTexture, tiles[5]);
    m_Recorder.Clear();
    GxGraphics::DrawTiles(tiles, 3, 2, 128, 128, 300, 200, -400, 0, GxVector2(1, 1), GxVector3(), GxVector2(),
                          0xFFFFFFFF, 0, 2);
    EXPECT_TRUE(m_Recorder.m_Primitives.empty());
}

TEST_F(GxGraphicsDrawTest, FivePointQuadsTakeTheirOwnColoursOrWhite)
{
    const GxVector4 points[5] = {
        {0, 0, 0.5f, 1}, {0, 10, 0.5f, 1}, {10, 10, 0.5f, 1}, {10, 0, 0.5f, 1}, {5, 5, 0.5f, 1}};
    const GxVector2 uv[5] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}, {0.5f, 0.5f}};
    GxGraphics::DrawTransformedQuads(nullptr, points, uv, nullptr, nullptr, GxVector2(0.25f, 0), 5);
    ASSERT_EQ(m_Recorder.m_Primitives.size(), 2u);
    const auto& a = m_Recorder.m_Primitives[0].m_Vertices;
    KvExpectEq<uint32_t>({{a[2].diffuse, 0xFFFFFFFFu}, {a[2].specular, 0u}});
    KvExpectEq<float>({{a[2].x, 4.5f}, {a[2].z, 0.5f}, {a[2].u, 0.75f}});
    EXPECT_EQ(m_Recorder.m_Primitives[1].m_BlendPreset, 5u);
}

TEST_F(GxGraphicsDrawTest, ProjectionIsOrthographicWithOffsets)
{
    GxGraphics::SetProjection(200, 100, 1, 11, 0.25f, -0.5f);
    const GxMatrix& m = GxGraphics::GetProjectionMatrix();
    for (auto [r, c, value] :
         {std::tuple{0, 0, 0.01f}, {1, 1, 0.02f}, {2, 2, -0.1f}, {3, 2, -0.1f}, {3, 0, 0.25f}, {3, 1, -0.5f}})
        EXPECT_FLOAT_EQ(m.m[r][c], value) << r << "," << c;
}
