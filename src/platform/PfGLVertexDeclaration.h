// A vertex declaration over several streams, as the mesh buffers describe their layers, with the one
// OpenGL vertex array that feeds it. The array is built for the stream buffers of the first draw and
// rebuilt only when a draw brings other buffers, so a mesh subset that owns its declaration and always
// binds the same buffers sets its layout up once.
//
// Only the elements the fixed-function shader reads become attributes: position, normal, the first two
// colours and the first two texture coordinates. Blend weights, blend indices and tangents are kept in
// the buffers and skipped here.
#pragma once

#include "platform/PfD3DTypes.h"

#include <cstdint>
#include <vector>

class PfGLIndexBuffer;
class PfGLVertexBuffer;

enum D3DDECLTYPE : uint8_t
{
    D3DDECLTYPE_FLOAT1 = 0,
    D3DDECLTYPE_FLOAT2 = 1,
    D3DDECLTYPE_FLOAT3 = 2,
    D3DDECLTYPE_FLOAT4 = 3,
    D3DDECLTYPE_D3DCOLOR = 4,
    D3DDECLTYPE_UBYTE4 = 5,
    D3DDECLTYPE_UNUSED = 17,
};

enum D3DDECLUSAGE : uint8_t
{
    D3DDECLUSAGE_POSITION = 0,
    D3DDECLUSAGE_BLENDWEIGHT = 1,
    D3DDECLUSAGE_BLENDINDICES = 2,
    D3DDECLUSAGE_NORMAL = 3,
    D3DDECLUSAGE_TEXCOORD = 5,
    D3DDECLUSAGE_TANGENT = 6,
    D3DDECLUSAGE_COLOR = 10,
};

enum : uint8_t
{
    D3DDECLMETHOD_DEFAULT = 0,
};

struct D3DVERTEXELEMENT9
{
    uint16_t Stream;
    uint16_t Offset;
    uint8_t Type;
    uint8_t Method;
    uint8_t Usage;
    uint8_t UsageIndex;
};

// The element that ends a declaration.
inline constexpr D3DVERTEXELEMENT9 D3DDECL_END = {0xFF, 0, D3DDECLTYPE_UNUSED, 0, 0, 0};

class PfGLVertexDeclaration
{
public:
    static constexpr uint32_t MAX_STREAMS = 4;

    PfGLVertexDeclaration() = default;
    ~PfGLVertexDeclaration();
    PfGLVertexDeclaration(const PfGLVertexDeclaration&) = delete;
    PfGLVertexDeclaration& operator=(const PfGLVertexDeclaration&) = delete;

    // Elements up to D3DDECL_END; streams 0 to 3, types FLOAT1..UBYTE4. Needs the device's context.
    PfResult Create(const D3DVERTEXELEMENT9* elements);
    void Destroy();
    bool IsCreated() const { return m_VertexArray != 0; }
    const std::vector<D3DVERTEXELEMENT9>& GetElements() const { return m_Elements; }
    // The flexible vertex format that names the same inputs of the shader (position, normal, colours,
    // texture coordinate count), for the shader's switches.
    uint32_t GetEquivalentFVF() const { return m_FVF; }
    // Bit s set when the shader reads stream s.
    uint32_t GetUsedStreams() const { return m_UsedStreams; }
    // The bytes one vertex needs in stream s: the end of its last element.
    uint32_t GetStreamExtent(uint32_t stream) const { return stream < MAX_STREAMS ? m_Extent[stream] : 0; }

    // Binds the vertex array with these streams and this index buffer, rebuilding its layout when they
    // are not those of the last bind. The caller has checked every used stream is present.
    void Bind(PfGLVertexBuffer* const* streams, const uint32_t* offsets, const uint32_t* strides,
              PfGLIndexBuffer* indices);

    // Vertices handed over in memory come as stream 0 alone, `stride` bytes each: whether the shader's
    // inputs all lie in such a vertex.
    bool ReadsFromMemory(uint32_t stride) const { return (m_UsedStreams & ~1u) == 0 && stride >= m_Extent[0]; }
    // Points the vertex array bound now (the device's own) at such vertices in `buffer` from byte `offset`
    // on; the inputs the declaration does not feed are switched off. Checked by ReadsFromMemory first.
    void BindMemoryLayout(uint32_t buffer, uint32_t stride, uintptr_t offset) const;

private:
    // Points the attribute the element feeds at its place in vertices `stride` bytes apart from `offset`
    // on, in the array buffer bound now.
    static void PointElement(const D3DVERTEXELEMENT9& e, uint32_t stride, uintptr_t offset);

    std::vector<D3DVERTEXELEMENT9> m_Elements;
    uint32_t m_VertexArray = 0;
    uint32_t m_FVF = 0;
    uint32_t m_UsedStreams = 0;
    uint32_t m_Extent[MAX_STREAMS] = {};
    // What the vertex array was last built for: buffer objects and their GL names (a deleted buffer's
    // name may come back for a new one), offsets and strides.
    const PfGLVertexBuffer* m_BoundBuffer[MAX_STREAMS] = {};
    uint32_t m_BoundName[MAX_STREAMS] = {};
    uint32_t m_BoundOffset[MAX_STREAMS] = {};
    uint32_t m_BoundStride[MAX_STREAMS] = {};
    bool m_Built = false;
};
