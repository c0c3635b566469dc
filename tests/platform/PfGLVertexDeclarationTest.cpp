// Indexed drawing through a vertex declaration over separate streams: the colour keeps the packed ARGB
// byte order, the texture coordinate comes from its own stream, and a draw that would read past a
// stream's buffer is refused before it reaches OpenGL.
#include "PlatformTestSupport.h"

#include "platform/PfGLIndexBuffer.h"
#include "platform/PfGLVertexBuffer.h"
#include "platform/PfGLVertexDeclaration.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace
{

struct Position
{
    float x, y, z;
    float nx, ny, nz;
    uint32_t diffuse;
};

constexpr D3DVERTEXELEMENT9 kTwoStreams[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {0, 24, D3DDECLTYPE_D3DCOLOR, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0},
    {1, 0, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    {2, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TANGENT, 0},
    D3DDECL_END,
};

class PfGLVertexDeclarationTest : public KvGLDeviceFixture
{
protected:
    PfGLVertexDeclarationTest() : KvGLDeviceFixture(64, 64) {}
    void SetUp() override
    {
        KvGLDeviceFixture::SetUp();
        Modulate2D();

        // A square over the whole target, coloured 0xFF20C040, its texture coordinates all at the centre of
        // texel (1, 0) of a 2 x 1 texture.
        const float corner[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        ASSERT_EQ(m_Positions.Create(4 * sizeof(Position), 0), D3D_OK);
        auto* p0 = (Position*)m_Positions.Lock(0, 0, 0);
        ASSERT_NE(p0, nullptr);
        for (int i = 0; i < 4; ++i)
            p0[i] = {corner[i][0], corner[i][1], 0.5f, 0, 0, 1, 0xFF20C040};
        m_Positions.Unlock();
        ASSERT_EQ(m_UVs.Create(4 * 8, 0), D3D_OK);
        auto* uv = (float*)m_UVs.Lock(0, 0, 0);
        for (int i = 0; i < 4; ++i)
        {
            uv[i * 2] = 0.75f;
            uv[i * 2 + 1] = 0.5f;
        }
        m_UVs.Unlock();
        ASSERT_EQ(m_Tangents.Create(4 * 12, 0), D3D_OK);
        ASSERT_EQ(m_Indices.Create(12, D3DFMT_INDEX16), D3D_OK);
        const uint16_t tri[6] = {0, 1, 2, 0, 2, 3};
        std::memcpy(m_Indices.Lock(0, 0, 0), tri, sizeof(tri));
        m_Indices.Unlock();
        ASSERT_EQ(m_Texture.Create(2, 1, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
        uint32_t pitch = 0;
        const uint32_t texels[2] = {0xFFFF0000, 0xFFFFFFFF};
        std::memcpy(m_Texture.LockRect(nullptr, 0, &pitch), texels, 8);
        m_Texture.UnlockRect();
        ASSERT_EQ(m_Declaration.Create(kTwoStreams), D3D_OK);
    }
    void TearDown() override
    {
        m_Declaration.Destroy();
        m_Positions.Destroy();
        m_UVs.Destroy();
        m_Tangents.Destroy();
        m_Indices.Destroy();
        m_Texture.Destroy();
        KvGLDeviceFixture::TearDown();
    }
    void Bind()
    {
        m_Device.SetFVF(0);
        ASSERT_EQ(m_Device.SetVertexDeclaration(&m_Declaration), D3D_OK);
        m_Device.SetIndices(&m_Indices);
        m_Device.SetStreamSource(0, &m_Positions, 0, sizeof(Position));
        m_Device.SetStreamSource(1, &m_UVs, 0, 8);
        m_Device.SetStreamSource(2, &m_Tangents, 0, 12);
        m_Device.SetTexture(0, &m_Texture);
    }

    PfGLVertexDeclaration m_Declaration;
    PfGLVertexBuffer m_Positions, m_UVs, m_Tangents;
    PfGLIndexBuffer m_Indices;
    PfGLTexture m_Texture;
};

TEST_F(PfGLVertexDeclarationTest, StreamsFeedPositionColourAndTextureCoordinate)
{
    EXPECT_EQ(m_Declaration.GetEquivalentFVF(), (uint32_t)(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1));
    EXPECT_EQ(m_Declaration.GetUsedStreams(), 3u); // the tangent stream is not read by the shader
    Bind();
    m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    ASSERT_EQ(m_Device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
    // White texel times the vertex colour: the colour's bytes kept their ARGB meaning.
    EXPECT_EQ(BackPixel(32, 32) & 0xFFFFFF, 0x20C040u);
    // Drawn again with the same buffers: the vertex array is reused and gives the same picture.
    m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    ASSERT_EQ(m_Device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
    EXPECT_EQ(BackPixel(5, 60) & 0xFFFFFF, 0x20C040u);
}

// Every kind of draw, from buffers or from memory, indexed or not, takes the colour the declaration gives
// the vertices; vertices in memory come as one stream, so a declaration that reads another, or a vertex too
// short for the elements, is refused.
TEST_F(PfGLVertexDeclarationTest, EveryDrawTakesTheDeclaredColour)
{
    constexpr D3DVERTEXELEMENT9 kOneStream[] = {
        {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
        {0, 24, D3DDECLTYPE_D3DCOLOR, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0},
        D3DDECL_END,
    };
    PfGLVertexDeclaration oneStream;
    ASSERT_EQ(oneStream.Create(kOneStream), D3D_OK);
    Bind();
    ASSERT_EQ(m_Device.SetVertexDeclaration(&oneStream), D3D_OK);
    m_Device.SetTexture(0, nullptr);
    const Position* square = (const Position*)m_Positions.Lock(0, 0, 0);
    ASSERT_NE(square, nullptr);
    const std::vector<Position> vertices(square, square + 4);
    m_Positions.Unlock();
    const uint16_t fan[4] = {0, 1, 2, 3};
    const std::pair<const char*, std::function<PfResult()>> draws[] = {
        {"from buffers, indexed", [&] { return m_Device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2); }},
        {"from buffers", [&] { return m_Device.DrawPrimitive(D3DPT_TRIANGLEFAN, 0, 2); }},
        {"from memory",
         [&] { return m_Device.DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, vertices.data(), sizeof(Position)); }},
        {"from memory, indexed",
         [&]
         {
             return m_Device.DrawIndexedPrimitiveUP(D3DPT_TRIANGLEFAN, 0, 4, 2, fan, D3DFMT_INDEX16, vertices.data(),
                                                    sizeof(Position));
         }},
    };
    for (const auto& [name, draw] : draws)
    {
        SCOPED_TRACE(name);
        m_Device.Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        ASSERT_EQ(draw(), D3D_OK);
        EXPECT_EQ(BackPixel(32, 32), 0xFF20C040u);
    }
    EXPECT_EQ(m_Device.DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, vertices.data(), 24), D3DERR_INVALIDCALL);
    ASSERT_EQ(m_Device.SetVertexDeclaration(&m_Declaration), D3D_OK);
    EXPECT_EQ(m_Device.DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, vertices.data(), sizeof(Position)), D3DERR_INVALIDCALL);
    m_Device.SetVertexDeclaration(nullptr);
}

TEST_F(PfGLVertexDeclarationTest, DrawPastAStreamOrTheIndicesIsRefused)
{
    Bind();
    const uint64_t calls = m_Device.GetDrawCallCount();
    EXPECT_EQ(m_Device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 5, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_Device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 3), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_Device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 1, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    m_Device.SetStreamSource(1, nullptr, 0, 0);
    EXPECT_EQ(m_Device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_Device.GetDrawCallCount(), calls);
}

TEST_F(PfGLVertexDeclarationTest, SettingAnFVFReplacesTheDeclaration)
{
    Bind();
    ASSERT_EQ(m_Device.SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE), D3D_OK);
    EXPECT_EQ(m_Device.GetVertexDeclaration(), nullptr);
    ASSERT_EQ(m_Device.SetVertexDeclaration(&m_Declaration), D3D_OK);
    EXPECT_EQ(m_Device.GetFVF(), 0u);
    PfGLVertexDeclaration empty;
    EXPECT_EQ(m_Device.SetVertexDeclaration(&empty), D3DERR_INVALIDCALL);
}

// Each kind of object the device keeps, freed while it is set: the device lets go of it, so the next draw
// neither reads the freed object nor draws with it.
TEST_F(PfGLVertexDeclarationTest, ObjectFreedWhileSetIsDroppedByTheDevice)
{
    enum Kind
    {
        TEXTURE_STAGE_1,
        RENDER_TARGET,
        DEPTH_STENCIL,
        STREAM,
        INDICES,
        DECLARATION
    };
    for (Kind kind : {TEXTURE_STAGE_1, RENDER_TARGET, DEPTH_STENCIL, STREAM, INDICES, DECLARATION})
    {
        SCOPED_TRACE(kind);
        Bind();
        ASSERT_EQ(m_Device.SetRenderTarget(0, m_Device.GetSwapChain(0)->GetBackBuffer()), D3D_OK);
        auto texture = std::make_unique<PfGLTexture>();
        auto buffer = std::make_unique<PfGLVertexBuffer>();
        auto indices = std::make_unique<PfGLIndexBuffer>();
        auto declaration = std::make_unique<PfGLVertexDeclaration>();
        switch (kind)
        {
        case TEXTURE_STAGE_1:
            ASSERT_EQ(texture->Create(2, 2, 1, 0, D3DFMT_A8R8G8B8), D3D_OK);
            m_Device.SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
            m_Device.SetTexture(1, texture.get());
            break;
        case RENDER_TARGET:
            ASSERT_EQ(texture->Create(64, 64, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8), D3D_OK);
            ASSERT_EQ(m_Device.SetRenderTarget(0, texture.get()), D3D_OK);
            break;
        case DEPTH_STENCIL:
            ASSERT_EQ(texture->Create(64, 64, 1, D3DUSAGE_DEPTHSTENCIL, D3DFMT_D24S8), D3D_OK);
            ASSERT_EQ(m_Device.SetDepthStencilSurface(texture.get()), D3D_OK);
            m_Device.SetRenderState(D3DRS_ZENABLE, 1);
            break;
        case STREAM:
            ASSERT_EQ(buffer->Create(4 * sizeof(Position), 0), D3D_OK);
            m_Device.SetStreamSource(0, buffer.get(), 0, sizeof(Position));
            break;
        case INDICES:
            ASSERT_EQ(indices->Create(12, D3DFMT_INDEX16), D3D_OK);
            m_Device.SetIndices(indices.get());
            break;
        case DECLARATION:
            ASSERT_EQ(declaration->Create(kTwoStreams), D3D_OK);
            ASSERT_EQ(m_Device.SetVertexDeclaration(declaration.get()), D3D_OK);
            break;
        }
        texture.reset();
        buffer.reset();
        indices.reset();
        declaration.reset();
        const PfResult hr = m_Device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2);
        EXPECT_EQ(m_Device.GetTexture(1), nullptr);
        EXPECT_EQ(m_Device.GetRenderTarget(0) == nullptr, kind == RENDER_TARGET);
        EXPECT_EQ(m_Device.GetDepthStencilSurface(), nullptr);
        EXPECT_EQ(m_Device.GetVertexDeclaration() == nullptr, kind == DECLARATION);
        if (kind != DECLARATION)
        {
            EXPECT_EQ(hr == D3D_OK, kind == TEXTURE_STAGE_1 || kind == DEPTH_STENCIL);
        }
        m_Device.SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
        m_Device.SetRenderState(D3DRS_ZENABLE, 0);
    }
}

} // namespace
