// Reading of the geometry file (".geo"): a content record "TGEO" (text) or "BGEO" (binary) holding the
// parts list, the skeleton tree and the mesh list with each mesh's bones and subsets.
//
// The file's counts and indices are checked before they reach a buffer or an array: vertex lists longer
// than the vertex count and UV layers past the buffers made are read and dropped; a subset whose indices
// pass its vertices, or that names more triangles than it has indices, is kept but never drawn; a mesh or
// bone naming no part is dropped; a mesh part whose entity names no mesh becomes a plain part. Each case
// logs one line. A file the reader found damaged is not loaded at all.
//
// Every count the file gives is held to what the bytes after it can hold, each item at its least encoded
// size in the file's form (GxContentReaderBase::LeastSize), before anything is reserved or made for it;
// and every list stops at the first value that fails to read, since nothing of such a file is kept. So a
// damaged count costs no more than the file's own size.
#include "graphics/GxModel.h"

#include "core/GxColor.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "graphics/GxContentFile.h"
#include "graphics/GxSkeleton.h"
#include "graphics/GxVertexLayer.h"

#include <cstring>

namespace
{

// Skeleton strata nest no deeper than this; a deeper file is taken as damaged rather than read by
// recursion without end.
constexpr uint32_t kMaxSkeletonDepth = 256;

// Where the vertices of one list go: a locked buffer and its stride, or nowhere.
struct LayerTarget
{
    uint8_t* m_Data = nullptr;
    uint32_t m_Stride = 0;
    uint32_t m_Offset = 0;
    uint32_t m_Count = 0;

    uint8_t* At(uint32_t i) const
    {
        return (m_Data && i < m_Count) ? m_Data + (size_t)i * m_Stride + m_Offset : nullptr;
    }
};

struct SubsetReadContext
{
    const std::wstring& m_Path;
    GxMeshSubset& m_Subset;
    bool m_Legacy;
    // Vertices the buffers hold (0 when there are none).
    uint32_t m_Writable;
    bool m_SurplusLogged = false;

    // One line per subset for lists longer than the vertex count.
    void CheckLength(const char* list, uint32_t count)
    {
        if (count <= m_Subset.m_VertexCount || m_SurplusLogged)
            return;
        m_SurplusLogged = true;
        GxLog::Error(L"ReadMeshSubset/頂点数を超える頂点リストを読み捨てます(%s:%S:%u>%u)\n", m_Path.c_str(), list,
                     count, m_Subset.m_VertexCount);
    }
};

// True while nothing has failed to read: every item loop stops at the first failure.
bool Intact(const GxContentReaderBase& reader)
{
    return reader.GetErrorCount() == 0;
}

// Closes a vertex list. A list that does not end where it should stops the read, except in the legacy
// form, which reads on.
bool EndLayerList(const SubsetReadContext& c, GxContentReaderBase& reader, const wchar_t* list)
{
    if (reader.ListEnd() || c.m_Legacy)
        return true;
    GxLog::Error(L"ReadMeshSubset stop at %s\n", list);
    return false;
}

void Put3(uint8_t* at, const GxVector3& v)
{
    const float f[3] = {v.x, v.y, v.z};
    std::memcpy(at, f, sizeof(f));
}

bool ReadLayerDefault(SubsetReadContext& c, GxContentReaderBase& reader)
{
    GxMeshSubset& s = c.m_Subset;
    uint32_t count = 0;
    reader.ListBegin("m_pVertexLayerDefault", count,
                     reader.LeastSize({g_ContentValueVector3, g_ContentValueVector3, g_ContentValueFColor}));
    c.CheckLength("m_pVertexLayerDefault", count);
    void* data = nullptr;
    bool locked = false;
    LayerTarget t;
    if (c.m_Legacy)
        locked = s.LockLayerLegacy(0, &data);
    else if (s.HasLayerDefault())
        locked = s.LockLayerDefault(0, &data);
    if (locked)
        t = {(uint8_t*)data, c.m_Legacy ? 52u : 28u, 0, c.m_Writable};
    for (uint32_t i = 0; i < count && Intact(reader); ++i)
    {
        const GxVector3 pos = reader.GetVector3("m_Pos");
        const GxVector3 normal = reader.GetVector3("m_Normal");
        const GxFColor diffuse = reader.GetFColor("m_Diffuse");
        if (uint8_t* at = t.At(i))
        {
            Put3(at, pos);
            Put3(at + 12, normal);
            const uint32_t argb = GxColor::ToARGB(GxVector4(diffuse.r, diffuse.g, diffuse.b, diffuse.a));
            std::memcpy(at + 24, &argb, 4);
        }
    }
    if (locked)
        c.m_Legacy ? s.UnlockLayerLegacy() : s.UnlockLayerDefault();
    return EndLayerList(c, reader, L"m_pVertexLayerDefault");
}

bool ReadLayerUV(SubsetReadContext& c, GxContentReaderBase& reader)
{
    GxMeshSubset& s = c.m_Subset;
    uint32_t layers = 0;
    reader.ListBegin("m_pVertexLayerUV", layers, reader.LeastSize({g_ContentValueEmptyList}));
    const uint32_t made = c.m_Legacy ? 1 : s.GetBufferUVLayerCount();
    // The single stream keeps layer 0 by design; otherwise layers past the buffers made are a mismatch.
    if (layers > GxMeshSubset::MAX_UV_LAYERS || (!c.m_Legacy && c.m_Writable > 0 && layers > made))
        GxLog::Error(L"ReadMeshSubset/UVレイヤがバッファより多いので超過分を読み捨てます(%s:%u>%u)\n", c.m_Path.c_str(),
                     layers, made);
    for (uint32_t k = 0; k < layers && Intact(reader); ++k)
    {
        uint32_t count = 0;
        reader.ListBegin("m_UVAry", count, reader.LeastSize({g_ContentValueVector2}));
        c.CheckLength("m_UVAry", count);
        void* data = nullptr;
        bool locked = false;
        LayerTarget t;
        // The single stream keeps layer 0; other layers beyond the buffers made are dropped.
        if (k < made && c.m_Writable > 0)
        {
            locked = c.m_Legacy ? s.LockLayerLegacy(0, &data) : s.LockLayerUV(k, 0, &data);
            if (locked)
                t = {(uint8_t*)data, c.m_Legacy ? 52u : 8u, c.m_Legacy ? 28u : 0u, c.m_Writable};
        }
        for (uint32_t i = 0; i < count && Intact(reader); ++i)
        {
            const GxVector2 uv = reader.GetVector2("m_UV");
            if (uint8_t* at = t.At(i))
            {
                const float f[2] = {uv.x, uv.y};
                std::memcpy(at, f, sizeof(f));
            }
        }
        if (locked)
            c.m_Legacy ? s.UnlockLayerLegacy() : s.UnlockLayerUV(k);
        if (!EndLayerList(c, reader, L"m_pVertexLayerUV j loop"))
            return false;
    }
    return EndLayerList(c, reader, L"m_pVertexLayerUV i loop");
}

bool ReadLayerBoneWeight(SubsetReadContext& c, GxContentReaderBase& reader)
{
    GxMeshSubset& s = c.m_Subset;
    uint32_t count = 0;
    reader.ListBegin("m_pVertexLayerBoneWeight", count,
                     reader.LeastSize({g_ContentValueU32, g_ContentValueVector4, g_ContentValueS32, g_ContentValueS32,
                                       g_ContentValueS32, g_ContentValueS32}));
    c.CheckLength("m_pVertexLayerBoneWeight", count);
    void* data = nullptr;
    bool locked = false;
    LayerTarget t;
    if (c.m_Legacy)
        locked = s.HasLayerLegacy() && s.LockLayerLegacy(0, &data);
    else
        locked = s.HasLayerBoneWeight() && s.LockLayerBoneWeight(0, &data);
    if (locked)
        t = {(uint8_t*)data, c.m_Legacy ? 52u : 16u, c.m_Legacy ? 36u : 0u, c.m_Writable};
    for (uint32_t i = 0; i < count && Intact(reader); ++i)
    {
        reader.GetU32("m_AffectBoneCount");
        const GxVector4 weight = reader.GetVector4("m_Weight");
        uint8_t index[4];
        for (uint8_t& b : index)
            b = (uint8_t)(reader.GetS32("m_Index") & 0xFF);
        if (uint8_t* at = t.At(i))
        {
            const float f[3] = {weight.x, weight.y, weight.z};
            std::memcpy(at, f, sizeof(f));
            std::memcpy(at + 12, index, 4);
        }
    }
    if (locked)
        c.m_Legacy ? s.UnlockLayerLegacy() : s.UnlockLayerBoneWeight();
    return EndLayerList(c, reader, L"m_pVertexLayerBoneWeight");
}

bool ReadLayerTangent(SubsetReadContext& c, GxContentReaderBase& reader)
{
    GxMeshSubset& s = c.m_Subset;
    uint32_t count = 0;
    reader.ListBegin("m_pVertexLayerTangent", count, reader.LeastSize({g_ContentValueVector3}));
    c.CheckLength("m_pVertexLayerTangent", count);
    void* data = nullptr;
    // The single stream has no room for tangents: they are read and dropped.
    const bool locked = !c.m_Legacy && s.HasLayerTangent() && s.LockLayerTangent(0, &data);
    LayerTarget t;
    if (locked)
        t = {(uint8_t*)data, 12u, 0u, c.m_Writable};
    for (uint32_t i = 0; i < count && Intact(reader); ++i)
    {
        const GxVector3 tangent = reader.GetVector3("m_Tangent");
        if (uint8_t* at = t.At(i))
            Put3(at, tangent);
    }
    if (locked)
        s.UnlockLayerTangent();
    return EndLayerList(c, reader, L"m_pVertexLayerTangent");
}

// Reads one subset into its buffers. The result says whether the layer lists ended where they should;
// the subset's m_Drawable says whether it is safe to draw.
bool ReadMeshSubset(GxMeshSubset& s, uint32_t mask, bool legacy, const std::wstring& path, GxContentReaderBase& reader)
{
    s.m_Drawable = false;
    reader.Read("m_PolygonCount", s.m_PolygonCount);
    reader.Read("m_VertexIndexCount", s.m_VertexIndexCount);
    reader.Read("m_VertexCount", s.m_VertexCount);
    reader.ReadString("m_MaterialName", s.m_MaterialName);
    reader.Read("m_MaterialIndex", s.m_MaterialIndex);
    reader.Read("m_TextureCount", s.m_TextureCount);
    uint32_t fileUV = 0;
    reader.Read("m_UVLayerCount", fileUV);
    s.m_UVLayerCount = fileUV == 0 ? 1 : fileUV;

    bool drawable = true;
    // Vertices past what 16-bit indices reach would only cost memory; a count that large is damage.
    const bool vertexCountOk = s.m_VertexCount <= GxMeshSubset::MAX_VERTICES;
    if (!vertexCountOk)
    {
        GxLog::Error(L"ReadMeshSubset/頂点数が多すぎます(%s:%u)\n", path.c_str(), s.m_VertexCount);
        drawable = false;
    }

    uint32_t indexCount = 0;
    reader.ListBegin("m_pVertexIndexAry", indexCount, reader.LeastSize({g_ContentValueU16}));
    s.m_VertexIndexCount = indexCount;
    uint16_t* indices = nullptr;
    if (indexCount > 0 && s.CreateIndexBuffer(indexCount))
    {
        void* data = nullptr;
        if (s.LockIndexBuffer(0, &data))
            indices = (uint16_t*)data;
    }
    if (indexCount > 0 && !indices)
        drawable = false;
    uint32_t outOfRange = 0;
    for (uint32_t i = 0; i < indexCount && Intact(reader); ++i)
    {
        const uint16_t v = reader.GetU16("");
        if (indices)
            indices[i] = v;
        if (v >= s.m_VertexCount)
            ++outOfRange;
    }
    if (indices)
        s.UnlockIndexBuffer();
    reader.ListEnd();
    if (outOfRange > 0)
    {
        GxLog::Error(L"ReadMeshSubset/頂点数を超えるインデックスがあります。描画しません(%s:%u個,頂点数%u)\n",
                     path.c_str(), outOfRange, s.m_VertexCount);
        drawable = false;
    }
    if ((uint64_t)s.m_PolygonCount * 3 > indexCount)
    {
        GxLog::Error(L"ReadMeshSubset/ポリゴン数がインデックス数を超えています。描画しません(%s:%u>%u/3)\n",
                     path.c_str(), s.m_PolygonCount, indexCount);
        drawable = false;
    }

    const uint32_t bufferUV =
        s.m_UVLayerCount > GxMeshSubset::MAX_UV_LAYERS ? GxMeshSubset::MAX_UV_LAYERS : s.m_UVLayerCount;
    bool buffers = false;
    if (vertexCountOk && s.m_VertexCount > 0)
        buffers = s.CreateBuffers(s.m_VertexCount, mask, bufferUV, legacy);
    if (!buffers)
        drawable = false;
    if (!legacy && !(mask & GXVERTEXLAYER_DEFAULT))
    {
        // Without the default layer there are no positions to draw from.
        GxLog::Error(L"ReadMeshSubset/既定の頂点レイヤがありません。描画しません(%s)\n", path.c_str());
        drawable = false;
    }

    SubsetReadContext c{path, s, legacy, buffers ? s.m_VertexCount : 0};
    bool ok = ReadLayerDefault(c, reader);
    if (ok && fileUV > 0)
        ok = ReadLayerUV(c, reader);
    if (ok && (mask & GXVERTEXLAYER_BONEWEIGHT))
        ok = ReadLayerBoneWeight(c, reader);
    if (ok && (mask & GXVERTEXLAYER_TANGENT))
        ok = ReadLayerTangent(c, reader);
    s.m_Drawable = drawable;
    return ok;
}

} // namespace

bool GxModel::LoadGeometry(const std::wstring& path, bool legacy)
{
    ClearGeometry();
    m_pState->m_Parts.clear();
    GxContentFile file;
    if (!file.Open(path, "TGEO", "BGEO"))
    {
        // An emptied file is as damaged as a cut one and named the same way.
        if (file.IsEmpty())
            GxLog::Error(L"GxModel::LoadGeometry/ジオメトリファイルが空です(%s)\n", path.c_str());
        return false;
    }
    GxContentReaderBase& reader = file.GetReader();
    // The name is in place while reading, for the messages; it stays only when the load succeeds.
    m_Name = GxString::ToLower(path);
    bool result = ReadGeometry(legacy, reader);
    if (reader.GetErrorCount() != 0)
    {
        // What was read past the first error cannot be trusted: nothing of it is kept.
        GxLog::Error(L"GxModel::LoadGeometry/ジオメトリファイルが壊れています(%s:%u)\n", path.c_str(),
                     reader.GetErrorCount());
        ClearGeometry();
        result = false;
    }
    else
    {
        ValidateGeometry();
    }
    if (!result)
        m_Name.clear();
    ComputeBoneOffsets(m_pMeshes.get(), m_MeshCount, *m_pParts);
    m_pState->m_Parts.assign(m_pParts->m_PartsList.size(), GxModelGeometryPart{});
    return result;
}

bool GxModel::ReadGeometry(bool legacy, GxContentReaderBase& reader)
{
    ReadPartsList(reader);

    reader.TreeBegin("m_PartsSkeleton");
    if (reader.PeekValueType() == VALTYPE_TreeStratumBegin)
        ReadSkeleton(m_pParts->m_Skeleton, nullptr, reader);
    reader.TreeEnd();

    // A mesh is at least its values and its two lists, empty.
    const uint64_t leastMesh =
        reader.LeastSize({g_ContentValueString, g_ContentValueS32, g_ContentValueU32, g_ContentValueU32,
                          g_ContentValueVector3, g_ContentValueVector3, g_ContentValueVector3, g_ContentValueF32,
                          g_ContentValueMatrix, g_ContentValueEmptyList, g_ContentValueEmptyList});
    uint32_t count = 0;
    reader.ListBegin("m_MeshList", count, leastMesh);
    if (count > 0 && Intact(reader))
    {
        m_pMeshes = std::make_unique<GxMesh[]>(count);
        m_MeshCount = count;
    }
    for (uint32_t i = 0; i < m_MeshCount && Intact(reader); ++i)
        ReadMesh(m_pMeshes[i], legacy, reader);
    reader.ListEnd();

    // Each part learns its mesh; a later mesh of the same part wins.
    std::vector<GxParts>& parts = m_pParts->m_PartsList;
    for (uint32_t i = 0; i < m_MeshCount; ++i)
    {
        const int32_t p = m_pMeshes[i].m_PartsIndex;
        if (p >= 0 && (size_t)p < parts.size())
            parts[(size_t)p].m_EntityIndex = (int32_t)i;
    }
    return true;
}

void GxModel::ReadPartsList(GxContentReaderBase& reader)
{
    const uint64_t least =
        reader.LeastSize({g_ContentValueString, g_ContentValueU32, g_ContentValueU32, g_ContentValueF32,
                          g_ContentValueS32, g_ContentValueMatrix, g_ContentValueMatrix, g_ContentValueVector3,
                          g_ContentValueVector3, g_ContentValueQuat, g_ContentValueVector3});
    uint32_t count = 0;
    reader.ListBegin("m_PartsList", count, least);
    std::vector<GxParts>& parts = m_pParts->m_PartsList;
    parts.reserve(count);
    for (uint32_t i = 0; i < count && Intact(reader); ++i)
    {
        GxParts p;
        reader.ReadString("m_PartsName", p.m_PartsName);
        reader.Read("m_Enabled", p.m_Enabled);
        reader.Read("m_PartsType", p.m_PartsType);
        reader.Read("m_PartsSize", p.m_PartsSize);
        reader.Read("m_EntityIndex", p.m_EntityIndex);
        reader.Read("m_InitPoseMatrix", p.m_InitPoseMatrix);
        reader.Read("m_FirstFramePoseMatrix", p.m_FirstFramePoseMatrix);
        reader.Read("m_FirstFramePoseTrans", p.m_FirstFramePoseTrans);
        reader.Read("m_FirstFramePoseRot", p.m_FirstFramePoseRot);
        reader.Read("m_FirstFramePoseRotQuat", p.m_FirstFramePoseRotQuat);
        reader.Read("m_FirstFramePoseScale", p.m_FirstFramePoseScale);
        parts.push_back(p);
    }
    reader.ListEnd();
}

void GxModel::ReadMesh(GxMesh& mesh, bool legacy, GxContentReaderBase& reader)
{
    reader.ReadString("m_PartsName", mesh.m_PartsName);
    reader.Read("m_PartsIndex", mesh.m_PartsIndex);
    reader.Read("m_Visible", mesh.m_Visible);
    reader.Read("m_VertexLayer", mesh.m_VertexLayer);
    mesh.m_VertexLayer |= GXVERTEXLAYER_UV;
    reader.Read("m_BBMin", mesh.m_BBMin);
    reader.Read("m_BBMax", mesh.m_BBMax);
    reader.Read("m_BSCenter", mesh.m_BSCenter);
    reader.Read("m_BSRadius", mesh.m_BSRadius);
    reader.Read("m_GeometricPoseMatrix", mesh.m_GeometricPoseMatrix);

    uint32_t bones = 0;
    reader.ListBegin("m_pLocalBoneTableAry", bones, reader.LeastSize({g_ContentValueS32, g_ContentValueMatrix}));
    mesh.m_LocalBones.reserve(bones);
    for (uint32_t i = 0; i < bones && Intact(reader); ++i)
    {
        GxLocalBone bone;
        reader.Read("m_PartsIndex", bone.m_PartsIndex);
        reader.Read("m_TransformLinkMatrix", bone.m_TransformLinkMatrix);
        mesh.m_LocalBones.push_back(bone);
    }
    reader.ListEnd();
    mesh.m_HasBones = !mesh.m_LocalBones.empty();
    mesh.m_SingleStream = legacy;

    // A subset is at least its counts and names, its index list and its default vertex list, both empty.
    const uint64_t leastSubset = reader.LeastSize(
        {g_ContentValueU32, g_ContentValueU32, g_ContentValueU32, g_ContentValueString, g_ContentValueS32,
         g_ContentValueU32, g_ContentValueU32, g_ContentValueEmptyList, g_ContentValueEmptyList});
    uint32_t subsets = 0;
    reader.ListBegin("m_pMeshSubsetAry", subsets, leastSubset);
    if (subsets > 0 && Intact(reader))
    {
        mesh.m_pSubsets = std::make_unique<GxMeshSubset[]>(subsets);
        mesh.m_SubsetCount = subsets;
    }
    for (uint32_t i = 0; i < mesh.m_SubsetCount && Intact(reader); ++i)
    {
        mesh.m_pSubsets[i].m_pMesh = &mesh;
        ReadMeshSubset(mesh.m_pSubsets[i], mesh.m_VertexLayer, legacy, m_Name, reader);
    }
    reader.ListEnd();
}

void GxModel::ValidateGeometry()
{
    std::vector<GxParts>& parts = m_pParts->m_PartsList;
    for (uint32_t i = 0; i < m_MeshCount; ++i)
    {
        GxMesh& mesh = m_pMeshes[i];
        if (mesh.m_PartsIndex < 0 || (size_t)mesh.m_PartsIndex >= parts.size())
        {
            GxLog::Error(L"GxModel::LoadGeometry/メッシュ%uのパーツ番号%dが範囲外です。メッシュを捨てます\n", i,
                         mesh.m_PartsIndex);
            mesh.m_pSubsets.reset();
            mesh.m_SubsetCount = 0;
            mesh.m_LocalBones.clear();
            mesh.m_HasBones = false;
            continue;
        }
        size_t kept = 0;
        for (size_t b = 0; b < mesh.m_LocalBones.size(); ++b)
        {
            const GxLocalBone& bone = mesh.m_LocalBones[b];
            if (bone.m_PartsIndex < 0 || (size_t)bone.m_PartsIndex >= parts.size())
            {
                GxLog::Error(
                    L"GxModel::LoadGeometry/メッシュ%uのボーン%uのパーツ番号%dが範囲外です。ボーンを捨てます\n", i,
                    (uint32_t)b, bone.m_PartsIndex);
                continue;
            }
            mesh.m_LocalBones[kept++] = bone;
        }
        mesh.m_LocalBones.resize(kept);
        mesh.m_HasBones = kept > 0;
    }
    for (size_t p = 0; p < parts.size(); ++p)
    {
        GxParts& part = parts[p];
        if (part.m_PartsType != GxParts::TYPE_MESH)
            continue;
        if (part.m_EntityIndex >= 0 && (uint32_t)part.m_EntityIndex < m_MeshCount &&
            m_pMeshes[(uint32_t)part.m_EntityIndex].m_PartsIndex == (int32_t)p)
            continue;
        GxLog::Error(
            L"GxModel::LoadGeometry/パーツ%s(%u)はメッシュを指していません。変換だけのパーツとして扱います(%d)\n",
            part.m_PartsName.c_str(), (uint32_t)p, part.m_EntityIndex);
        part.m_PartsType = 0;
    }
}

bool GxModel::ReadSkeleton(GxSimpleTree& tree, GxSimpleNode* parent, GxContentReaderBase& reader)
{
    uint32_t depth = 0;
    for (const GxSimpleNode* n = parent; n; n = n->GetParent())
        ++depth;
    if (depth >= kMaxSkeletonDepth)
    {
        GxLog::Error(L"GxModel::ReadSkeleton/スケルトンの階層が深すぎます(%u)\n", depth);
        return false;
    }
    GxSkeleton* node = new GxSkeleton();
    const bool inserted = parent ? tree.InsertChild(parent, node, GxSimpleTree::InsertMode::Before)
                                 : tree.SetRoot(node, GxSimpleTree::InsertMode::Before);
    if (!inserted)
    {
        delete node;
        return false;
    }
    if (!reader.TreeStratumBegin())
        return false;
    for (;;)
    {
        reader.ReadString("m_PartsName", node->m_PartsName);
        reader.Read("m_PartsIndex", node->m_PartsIndex);
        if (reader.PeekValueType() == VALTYPE_TreeStratumBegin)
            ReadSkeleton(tree, node, reader);
        if (!reader.TreeStratumEnd())
            return false;
        if (reader.PeekValueType() != VALTYPE_TreeStratumBegin)
            return true;
        GxSkeleton* next = new GxSkeleton();
        if (!tree.InsertNext(node, next, GxSimpleTree::InsertMode::Before))
        {
            delete next;
            return false;
        }
        node = next;
        if (!reader.TreeStratumBegin())
            return false;
    }
}
