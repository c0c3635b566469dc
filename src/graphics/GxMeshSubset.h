#pragma once

#include <cstdint>
#include <string>

class GxMaterial;
class GxMaterialSet;
class GxMesh;
struct GxModelState;
class PfGLIndexBuffer;
class PfGLVertexBuffer;
class PfGLVertexDeclaration;

// A run of triangles of one mesh that share a material, with its vertex buffers (one per vertex layer, or
// one buffer of 52-byte vertices in the single-stream form), its 16-bit index buffer and the vertex
// declaration that binds them.
class GxMeshSubset
{
public:
    static constexpr uint32_t MAX_UV_LAYERS = 8;
    // 16-bit indices address this many vertices.
    static constexpr uint32_t MAX_VERTICES = 65536;

    GxMeshSubset() = default;
    GxMeshSubset(const GxMeshSubset&) = delete;
    GxMeshSubset& operator=(const GxMeshSubset&) = delete;
    virtual ~GxMeshSubset();

    // [buffers]
    // Creates zero-filled vertex buffers for n vertices: one 52-byte stream when single, else the layers
    // the mask names plus uv texture-coordinate layers (1 to 8). False, with no buffers left, on failure.
    bool CreateBuffers(uint32_t n, uint32_t mask, uint32_t uv, bool single);
    // A zero-filled buffer of count 16-bit indices.
    bool CreateIndexBuffer(uint32_t count);
    // Each lock covers the whole buffer; true with the bytes in *data, false (null) when the buffer is
    // missing or cannot be locked.
    bool LockIndexBuffer(uint32_t flags, void** data);
    bool UnlockIndexBuffer();
    bool LockLayerDefault(uint32_t flags, void** data);
    bool UnlockLayerDefault();
    bool LockLayerUV(uint32_t layer, uint32_t flags, void** data);
    bool UnlockLayerUV(uint32_t layer);
    bool LockLayerBoneWeight(uint32_t flags, void** data);
    bool UnlockLayerBoneWeight();
    bool LockLayerTangent(uint32_t flags, void** data);
    bool UnlockLayerTangent();
    bool LockLayerLegacy(uint32_t flags, void** data);
    bool UnlockLayerLegacy();
    void ReleaseVertexBuffers();
    void ReleaseIndexBuffer();
    void ReleaseBuffers();

    // [drawing]
    // Draws the subset with its material (or the override, or the default material) at its part's world
    // matrix. True when drawn or left out by the group filter; false when the subset cannot be drawn or
    // the draw call failed.
    bool Draw(const GxMesh& mesh, const GxMaterialSet& set, const GxModelState& state, int32_t group, int32_t blend,
              const GxMaterial* material, float alpha);
    // The material Draw uses: the override, else the set's material at the index when valid, else the
    // default material.
    const GxMaterial& SelectMaterial(const GxMaterialSet& set, const GxMaterial* material) const;

    uint32_t GetDeclarationKind() const { return m_DeclKind; }
    bool IsSingleStream() const { return m_SingleStream; }
    uint32_t GetBufferVertexCount() const { return m_BufferVertexCount; }
    uint32_t GetBufferUVLayerCount() const { return m_BufferUVLayerCount; }
    uint32_t GetIndexBufferCount() const;
    bool HasLayerDefault() const { return m_pLayerDefault != nullptr; }
    bool HasLayerUV(uint32_t layer) const { return layer < MAX_UV_LAYERS && m_pLayerUV[layer] != nullptr; }
    bool HasLayerBoneWeight() const { return m_pLayerBoneWeight != nullptr; }
    bool HasLayerTangent() const { return m_pLayerTangent != nullptr; }
    bool HasLayerLegacy() const { return m_pLayerLegacy != nullptr; }

    // [file values]
    uint32_t m_PolygonCount = 0;
    uint32_t m_VertexIndexCount = 0;
    uint32_t m_VertexCount = 0;
    std::wstring m_MaterialName;
    int32_t m_MaterialIndex = -1;
    uint32_t m_TextureCount = 0;
    uint32_t m_UVLayerCount = 0;
    GxMesh* m_pMesh = nullptr;
    // Cleared when loading found the subset unsafe to draw (indices past the vertices, more triangles than
    // indices, a missing buffer); such a subset is never handed to the device.
    bool m_Drawable = false;

private:
    bool CreateLayer(PfGLVertexBuffer*& buffer, uint32_t bytes);
    static bool LockBuffer(PfGLVertexBuffer* buffer, uint32_t flags, void** data);
    static bool UnlockBuffer(PfGLVertexBuffer* buffer);
    bool Bind();

    uint32_t m_BufferMask = 0;
    uint32_t m_BufferUVLayerCount = 0;
    uint32_t m_BufferVertexCount = 0;
    uint32_t m_DeclKind = 0;
    bool m_SingleStream = false;
    PfGLVertexDeclaration* m_pDeclaration = nullptr;
    PfGLVertexBuffer* m_pLayerDefault = nullptr;
    PfGLVertexBuffer* m_pLayerUV[MAX_UV_LAYERS] = {};
    PfGLVertexBuffer* m_pLayerBoneWeight = nullptr;
    PfGLVertexBuffer* m_pLayerTangent = nullptr;
    PfGLVertexBuffer* m_pLayerLegacy = nullptr;
    PfGLIndexBuffer* m_pIndexBuffer = nullptr;
    int32_t m_LastError = 0;
};
