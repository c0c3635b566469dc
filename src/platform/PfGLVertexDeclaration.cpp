#include "platform/PfGLVertexDeclaration.h"

#include "platform/PfGLDevice.h"
#include "platform/PfGLIndexBuffer.h"
#include "platform/PfGLShader.h"
#include "platform/PfGLVertexBuffer.h"

#include <epoxy/gl.h>

namespace
{

uint32_t TypeBytes(uint8_t type)
{
    switch (type)
    {
    case D3DDECLTYPE_FLOAT1:
        return 4;
    case D3DDECLTYPE_FLOAT2:
        return 8;
    case D3DDECLTYPE_FLOAT3:
        return 12;
    case D3DDECLTYPE_FLOAT4:
        return 16;
    case D3DDECLTYPE_D3DCOLOR:
    case D3DDECLTYPE_UBYTE4:
        return 4;
    default:
        return 0;
    }
}

// The shader attribute an element feeds, or -1 when the shader does not read it.
int32_t AttributeOf(const D3DVERTEXELEMENT9& e)
{
    switch (e.Usage)
    {
    case D3DDECLUSAGE_POSITION:
        return e.UsageIndex == 0 ? PfGLShader::A_POSITION : -1;
    case D3DDECLUSAGE_NORMAL:
        return e.UsageIndex == 0 ? PfGLShader::A_NORMAL : -1;
    case D3DDECLUSAGE_COLOR:
        return e.UsageIndex == 0 ? PfGLShader::A_DIFFUSE : e.UsageIndex == 1 ? PfGLShader::A_SPECULAR : -1;
    case D3DDECLUSAGE_TEXCOORD:
        return e.UsageIndex == 0 ? PfGLShader::A_TEX0 : e.UsageIndex == 1 ? PfGLShader::A_TEX1 : -1;
    default:
        return -1;
    }
}

} // namespace

PfGLVertexDeclaration::~PfGLVertexDeclaration()
{
    Destroy();
}

PfResult PfGLVertexDeclaration::Create(const D3DVERTEXELEMENT9* elements)
{
    Destroy();
    if (!elements)
        return D3DERR_INVALIDCALL;
    std::vector<D3DVERTEXELEMENT9> list;
    uint32_t fvf = 0, used = 0, texCount = 0;
    uint32_t extent[MAX_STREAMS] = {};
    for (const D3DVERTEXELEMENT9* e = elements; e->Stream != 0xFF; ++e)
    {
        const uint32_t bytes = TypeBytes(e->Type);
        if (e->Stream >= MAX_STREAMS || bytes == 0 || list.size() >= 64)
            return D3DERR_INVALIDCALL;
        list.push_back(*e);
        if (e->Offset + bytes > extent[e->Stream])
            extent[e->Stream] = e->Offset + bytes;
        const int32_t attribute = AttributeOf(*e);
        if (attribute < 0)
            continue;
        used |= 1u << e->Stream;
        switch (attribute)
        {
        case PfGLShader::A_POSITION:
            fvf |= D3DFVF_XYZ;
            break;
        case PfGLShader::A_NORMAL:
            fvf |= D3DFVF_NORMAL;
            break;
        case PfGLShader::A_DIFFUSE:
            fvf |= D3DFVF_DIFFUSE;
            break;
        case PfGLShader::A_SPECULAR:
            fvf |= D3DFVF_SPECULAR;
            break;
        case PfGLShader::A_TEX0:
            texCount = texCount < 1 ? 1 : texCount;
            break;
        case PfGLShader::A_TEX1:
            texCount = 2;
            break;
        }
    }
    fvf |= texCount << D3DFVF_TEXCOUNT_SHIFT;
    GLuint name = 0;
    glGenVertexArrays(1, &name);
    if (!name)
        return D3DERR_OUTOFVIDEOMEMORY;
    m_VertexArray = name;
    m_Elements = std::move(list);
    m_FVF = fvf;
    m_UsedStreams = used;
    for (uint32_t s = 0; s < MAX_STREAMS; ++s)
        m_Extent[s] = extent[s];
    return D3D_OK;
}

void PfGLVertexDeclaration::Destroy()
{
    PfGLDevice::UnbindFromCurrent(this);
    if (m_VertexArray)
    {
        GLuint name = m_VertexArray;
        glDeleteVertexArrays(1, &name);
    }
    m_VertexArray = 0;
    m_Elements.clear();
    m_FVF = 0;
    m_UsedStreams = 0;
    for (uint32_t s = 0; s < MAX_STREAMS; ++s)
    {
        m_Extent[s] = 0;
        m_BoundBuffer[s] = nullptr;
        m_BoundName[s] = m_BoundOffset[s] = m_BoundStride[s] = 0;
    }
    m_Built = false;
}

void PfGLVertexDeclaration::Bind(PfGLVertexBuffer* const* streams, const uint32_t* offsets, const uint32_t* strides,
                                 PfGLIndexBuffer* indices)
{
    glBindVertexArray(m_VertexArray);
    bool same = m_Built;
    for (uint32_t s = 0; s < MAX_STREAMS && same; ++s)
    {
        if (!(m_UsedStreams & (1u << s)))
            continue;
        same = m_BoundBuffer[s] == streams[s] && m_BoundName[s] == streams[s]->GetGLName() &&
               m_BoundOffset[s] == offsets[s] && m_BoundStride[s] == strides[s];
    }
    if (!same)
    {
        for (GLuint a = PfGLShader::A_POSITION; a <= PfGLShader::A_TEX1; ++a)
            glDisableVertexAttribArray(a);
        for (const D3DVERTEXELEMENT9& e : m_Elements)
        {
            const int32_t attribute = AttributeOf(e);
            if (attribute < 0)
                continue;
            glBindBuffer(GL_ARRAY_BUFFER, streams[e.Stream]->GetGLName());
            PointElement(e, strides[e.Stream], offsets[e.Stream]);
        }
        for (uint32_t s = 0; s < MAX_STREAMS; ++s)
        {
            const bool usedStream = (m_UsedStreams & (1u << s)) != 0;
            m_BoundBuffer[s] = usedStream ? streams[s] : nullptr;
            m_BoundName[s] = usedStream ? streams[s]->GetGLName() : 0;
            m_BoundOffset[s] = usedStream ? offsets[s] : 0;
            m_BoundStride[s] = usedStream ? strides[s] : 0;
        }
        m_Built = true;
    }
    // The element binding belongs to the vertex array. Bound at every draw: a vertex array keeps a deleted
    // buffer alive under its old binding, while the name may already stand for a new one.
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices ? indices->GetGLName() : 0);
}

void PfGLVertexDeclaration::PointElement(const D3DVERTEXELEMENT9& e, uint32_t stride, uintptr_t offset)
{
    const int32_t attribute = AttributeOf(e);
    if (attribute < 0)
        return;
    const void* at = (const void*)(offset + e.Offset);
    glEnableVertexAttribArray((GLuint)attribute);
    switch (e.Type)
    {
    case D3DDECLTYPE_D3DCOLOR:
        // Packed ARGB is the bytes B, G, R, A in memory: OpenGL's BGRA size keeps that order.
        glVertexAttribPointer((GLuint)attribute, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, (GLsizei)stride, at);
        break;
    case D3DDECLTYPE_UBYTE4:
        glVertexAttribPointer((GLuint)attribute, 4, GL_UNSIGNED_BYTE, GL_FALSE, (GLsizei)stride, at);
        break;
    default:
        glVertexAttribPointer((GLuint)attribute, (GLint)(TypeBytes(e.Type) / 4), GL_FLOAT, GL_FALSE, (GLsizei)stride,
                              at);
        break;
    }
}

void PfGLVertexDeclaration::BindMemoryLayout(uint32_t buffer, uint32_t stride, uintptr_t offset) const
{
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    for (GLuint a = PfGLShader::A_POSITION; a <= PfGLShader::A_TEX1; ++a)
        glDisableVertexAttribArray(a);
    for (const D3DVERTEXELEMENT9& e : m_Elements)
        if (e.Stream == 0)
            PointElement(e, stride, offset);
    // Coordinates not fed read (0, 0), as the flexible formats' layouts leave them.
    glVertexAttrib2f(PfGLShader::A_TEX0, 0.0f, 0.0f);
    glVertexAttrib2f(PfGLShader::A_TEX1, 0.0f, 0.0f);
}
