// The vertex and index buffers of a mesh subset: creation (zero-filled), whole-buffer locks and release.
//
// Declaration kinds: 1 to 4 are the separate-stream forms (default layer on stream 0, UV layer 0 on
// stream 1, then bone weights and tangents by the mask), 5 the single 52-byte stream; 0 means no buffers.
// OpenGL buffers need no pool or processing choice, and they survive what a device reset would have lost,
// so they are not registered with the resource manager.
#include "graphics/GxMeshSubset.h"

#include "core/GxLog.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxVertexLayer.h"
#include "platform/PfGLDevice.h"
#include "platform/PfGLIndexBuffer.h"
#include "platform/PfGLVertexBuffer.h"
#include "platform/PfGLVertexDeclaration.h"

#include <cstring>

namespace
{

using Element = D3DVERTEXELEMENT9;

// Position, normal and colour open stream 0 in every kind.
constexpr Element kPosition = {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0};
constexpr Element kNormal = {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0};
constexpr Element kColour = {0, 24, D3DDECLTYPE_D3DCOLOR, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0};

constexpr Element TexCoord(uint16_t stream, uint16_t offset)
{
    return {stream, offset, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0};
}
constexpr Element BlendWeight(uint16_t stream, uint16_t offset)
{
    return {stream, offset, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_BLENDWEIGHT, 0};
}
constexpr Element BlendIndices(uint16_t stream, uint16_t offset)
{
    return {stream, offset, D3DDECLTYPE_UBYTE4, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_BLENDINDICES, 0};
}
constexpr Element Tangent(uint16_t stream)
{
    return {stream, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TANGENT, 0};
}

constexpr Element kDeclaration1[] = {kPosition, kNormal, kColour, TexCoord(1, 0), D3DDECL_END};
constexpr Element kDeclaration2[] = {
    kPosition, kNormal, kColour, TexCoord(1, 0), BlendWeight(2, 0), BlendIndices(2, 12), D3DDECL_END,
};
constexpr Element kDeclaration3[] = {kPosition, kNormal, kColour, TexCoord(1, 0), Tangent(2), D3DDECL_END};
constexpr Element kDeclaration4[] = {
    kPosition, kNormal, kColour, TexCoord(1, 0), BlendWeight(2, 0), BlendIndices(2, 12), Tangent(3), D3DDECL_END,
};
constexpr Element kDeclaration5[] = {
    kPosition, kNormal, kColour, TexCoord(0, 28), BlendWeight(0, 36), BlendIndices(0, 48), D3DDECL_END,
};

const D3DVERTEXELEMENT9* DeclarationOf(uint32_t kind)
{
    switch (kind)
    {
    case 1:
        return kDeclaration1;
    case 2:
        return kDeclaration2;
    case 3:
        return kDeclaration3;
    case 4:
        return kDeclaration4;
    case 5:
        return kDeclaration5;
    default:
        return nullptr;
    }
}

bool HasDevice()
{
    const PfGLDevice* device = GxGraphics::GetDevice();
    return device && device->IsCreated();
}

std::wstring ErrorText(PfResult hr)
{
    return GxGraphics::GetErrorText(hr);
}

// Makes a vertex or index buffer of `bytes` and fills it with zeros under a lock of its own, before the
// next buffer is made; on failure the buffer is deleted and left null.
template <class Buffer, class Format> PfResult CreateZeroed(Buffer*& buffer, uint32_t bytes, Format format)
{
    buffer = new Buffer();
    PfResult hr = buffer->Create(bytes, format);
    if (PfSucceeded(hr))
    {
        void* data = buffer->Lock(0, 0, 0);
        if (data)
        {
            std::memset(data, 0, bytes);
            buffer->Unlock();
            return hr;
        }
        hr = D3DERR_INVALIDCALL;
    }
    delete buffer;
    buffer = nullptr;
    return hr;
}

void LogCreateFailure(const wchar_t* layer, uint32_t n, PfResult hr)
{
    GxLog::Error(L"Error/CreateVertexBuffer Failed(VertexBuffer/%d/%s/%s)\n", (int)n, layer, ErrorText(hr).c_str());
}

} // namespace

GxMeshSubset::~GxMeshSubset()
{
    ReleaseBuffers();
}

bool GxMeshSubset::CreateLayer(PfGLVertexBuffer*& buffer, uint32_t bytes)
{
    PfResult hr = D3DERR_NOTAVAILABLE;
    if (HasDevice() && bytes > 0)
        hr = CreateZeroed(buffer, bytes, 0);
    m_LastError = hr;
    return PfSucceeded(hr);
}

bool GxMeshSubset::CreateBuffers(uint32_t n, uint32_t mask, uint32_t uv, bool single)
{
    ReleaseVertexBuffers();
    if (uv > MAX_UV_LAYERS)
        uv = MAX_UV_LAYERS;
    // Sizes in 32 bits: n is bounded by what 16-bit indices reach.
    if (n > MAX_VERTICES)
    {
        GxLog::Error(L"Error/CreateVertexBuffer Failed(VertexBuffer/%d/vertex count)\n", (int)n);
        return false;
    }
    uint32_t kind;
    if (single)
        kind = 5;
    else if ((mask & GXVERTEXLAYER_BONEWEIGHT) && (mask & GXVERTEXLAYER_TANGENT))
        kind = 4;
    else if (mask & GXVERTEXLAYER_TANGENT)
        kind = 3;
    else if (mask & GXVERTEXLAYER_BONEWEIGHT)
        kind = 2;
    else
        kind = 1;
    PfResult hr = D3DERR_NOTAVAILABLE;
    if (HasDevice())
    {
        m_pDeclaration = new PfGLVertexDeclaration();
        hr = m_pDeclaration->Create(DeclarationOf(kind));
    }
    if (PfFailed(hr))
    {
        GxLog::Error(L"Error/CreateVertexDeclaration Failed(%d/%s)\n", (int)kind, ErrorText(hr).c_str());
        ReleaseVertexBuffers();
        return false;
    }
    if (single)
    {
        if (!CreateLayer(m_pLayerLegacy, n * (uint32_t)sizeof(GxVertexLayer_Legacy)))
        {
            LogCreateFailure(L"GxVertexLayer_Legacy", n, m_LastError);
            ReleaseVertexBuffers();
            return false;
        }
    }
    else
    {
        bool failed = false;
        if ((mask & GXVERTEXLAYER_DEFAULT) &&
            !CreateLayer(m_pLayerDefault, n * (uint32_t)sizeof(GxVertexLayer_Default)))
        {
            LogCreateFailure(L"GxVertexLayer_Default", n, m_LastError);
            failed = true;
        }
        for (uint32_t k = 0; k < uv; ++k)
        {
            if (!CreateLayer(m_pLayerUV[k], n * (uint32_t)sizeof(GxVertexLayer_UV)))
            {
                LogCreateFailure(L"GxVertexLayer_UV", n, m_LastError);
                failed = true;
            }
        }
        if ((mask & GXVERTEXLAYER_BONEWEIGHT) &&
            !CreateLayer(m_pLayerBoneWeight, n * (uint32_t)sizeof(GxVertexLayer_BoneWeight)))
        {
            LogCreateFailure(L"GxVertexLayer_BoneWeight", n, m_LastError);
            failed = true;
        }
        if ((mask & GXVERTEXLAYER_TANGENT) &&
            !CreateLayer(m_pLayerTangent, n * (uint32_t)sizeof(GxVertexLayer_Tangent)))
        {
            LogCreateFailure(L"GxVertexLayer_Tangent", n, m_LastError);
            ReleaseVertexBuffers();
            return false;
        }
        if (failed)
        {
            ReleaseVertexBuffers();
            return false;
        }
    }
    m_BufferMask = mask;
    m_BufferUVLayerCount = uv;
    m_BufferVertexCount = n;
    m_DeclKind = kind;
    m_SingleStream = single;
    return true;
}

bool GxMeshSubset::CreateIndexBuffer(uint32_t count)
{
    ReleaseIndexBuffer();
    PfResult hr = D3DERR_NOTAVAILABLE;
    const uint64_t bytes = (uint64_t)count * 2;
    if (HasDevice() && count > 0 && bytes <= 0xFFFFFFFFu)
    {
        hr = CreateZeroed(m_pIndexBuffer, (uint32_t)bytes, D3DFMT_INDEX16);
        if (PfSucceeded(hr))
            return true;
    }
    GxLog::Error(L"Error/CreateIndexBuffer Failed(IndexBuffer/%d/%s)\n", (int)count, ErrorText(hr).c_str());
    return false;
}

uint32_t GxMeshSubset::GetIndexBufferCount() const
{
    return m_pIndexBuffer ? m_pIndexBuffer->GetLength() / 2 : 0;
}

bool GxMeshSubset::LockBuffer(PfGLVertexBuffer* buffer, uint32_t flags, void** data)
{
    *data = buffer ? buffer->Lock(0, 0, flags) : nullptr;
    if (buffer && !*data)
        GxLog::SlightError(L"Error/VertexBuffer Lock Failed\n");
    return *data != nullptr;
}

bool GxMeshSubset::UnlockBuffer(PfGLVertexBuffer* buffer)
{
    return buffer && PfSucceeded(buffer->Unlock());
}

bool GxMeshSubset::LockIndexBuffer(uint32_t flags, void** data)
{
    *data = m_pIndexBuffer ? m_pIndexBuffer->Lock(0, 0, flags) : nullptr;
    if (m_pIndexBuffer && !*data)
        GxLog::SlightError(L"Error/IndexBuffer Lock Failed\n");
    return *data != nullptr;
}

bool GxMeshSubset::UnlockIndexBuffer()
{
    return m_pIndexBuffer && PfSucceeded(m_pIndexBuffer->Unlock());
}

bool GxMeshSubset::LockLayerDefault(uint32_t flags, void** data)
{
    return LockBuffer(m_pLayerDefault, flags, data);
}

bool GxMeshSubset::UnlockLayerDefault()
{
    return UnlockBuffer(m_pLayerDefault);
}

bool GxMeshSubset::LockLayerUV(uint32_t layer, uint32_t flags, void** data)
{
    if (layer >= MAX_UV_LAYERS)
    {
        *data = nullptr;
        return false;
    }
    return LockBuffer(m_pLayerUV[layer], flags, data);
}

bool GxMeshSubset::UnlockLayerUV(uint32_t layer)
{
    return layer < MAX_UV_LAYERS && UnlockBuffer(m_pLayerUV[layer]);
}

bool GxMeshSubset::LockLayerBoneWeight(uint32_t flags, void** data)
{
    return LockBuffer(m_pLayerBoneWeight, flags, data);
}

bool GxMeshSubset::UnlockLayerBoneWeight()
{
    return UnlockBuffer(m_pLayerBoneWeight);
}

bool GxMeshSubset::LockLayerTangent(uint32_t flags, void** data)
{
    return LockBuffer(m_pLayerTangent, flags, data);
}

bool GxMeshSubset::UnlockLayerTangent()
{
    return UnlockBuffer(m_pLayerTangent);
}

bool GxMeshSubset::LockLayerLegacy(uint32_t flags, void** data)
{
    return LockBuffer(m_pLayerLegacy, flags, data);
}

bool GxMeshSubset::UnlockLayerLegacy()
{
    return UnlockBuffer(m_pLayerLegacy);
}

void GxMeshSubset::ReleaseVertexBuffers()
{
    m_BufferMask = 0;
    m_BufferUVLayerCount = 0;
    m_BufferVertexCount = 0;
    m_DeclKind = 0;
    m_SingleStream = false;
    delete m_pDeclaration;
    m_pDeclaration = nullptr;
    delete m_pLayerDefault;
    m_pLayerDefault = nullptr;
    for (PfGLVertexBuffer*& uv : m_pLayerUV)
    {
        delete uv;
        uv = nullptr;
    }
    delete m_pLayerBoneWeight;
    m_pLayerBoneWeight = nullptr;
    delete m_pLayerTangent;
    m_pLayerTangent = nullptr;
    delete m_pLayerLegacy;
    m_pLayerLegacy = nullptr;
}

void GxMeshSubset::ReleaseIndexBuffer()
{
    delete m_pIndexBuffer;
    m_pIndexBuffer = nullptr;
}

void GxMeshSubset::ReleaseBuffers()
{
    ReleaseVertexBuffers();
    ReleaseIndexBuffer();
}
