#pragma once

// Geometry (".geo") and material (".mtl") files made by the tests and benchmarks, in either content form,
// from plain descriptions that can also be bent into every kind of damaged file.

#include "core/GxContentBinaryWriter.h"
#include "core/GxContentTextWriter.h"
#include "core/GxContentWriterBase.h"
#include "core/GxFColor.h"
#include "core/GxMatrix.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

struct KvTestVertex
{
    float m_Pos[3] = {};
    float m_Normal[3] = {0, 0, 1};
    GxFColor m_Diffuse = {1, 1, 1, 1};
    float m_UV[2] = {};
    float m_Weight[3] = {};
    int32_t m_BoneIndex[4] = {};
    float m_Tangent[3] = {};
};

struct KvTestSubset
{
    uint32_t m_PolygonCount = 0;
    // The count written to the file; -1 writes the number of vertices given.
    int64_t m_VertexCount = -1;
    std::wstring m_MaterialName = L"mat";
    int32_t m_MaterialIndex = 0;
    uint32_t m_TextureCount = 1;
    uint32_t m_UVLayerCount = 1;
    // UV layers written (each a copy of the vertices' m_UV plus the layer number); -1 means m_UVLayerCount.
    int32_t m_UVLayersWritten = -1;
    std::vector<uint16_t> m_Indices{};
    std::vector<KvTestVertex> m_Vertices{};
};

struct KvTestBone
{
    int32_t m_PartsIndex = 0;
    GxMatrix m_Link{};
};

struct KvTestMesh
{
    std::wstring m_PartsName{};
    int32_t m_PartsIndex = 0;
    uint32_t m_VertexLayer = 1;
    GxMatrix m_GeometricPose{};
    std::vector<KvTestBone> m_Bones{};
    std::vector<KvTestSubset> m_Subsets{};
};

struct KvTestPart
{
    std::wstring m_Name{};
    uint32_t m_Type = 1;
    int32_t m_EntityIndex = -1;
    float m_Size = 1.0f;
    GxMatrix m_InitPose{};
    GxMatrix m_FirstFramePose{};
};

struct KvTestSkeletonNode
{
    std::wstring m_Name{};
    int32_t m_Index = 0;
    std::vector<KvTestSkeletonNode> m_Children{};
};

struct KvTestGeometry
{
    std::vector<KvTestPart> m_Parts{};
    std::vector<KvTestSkeletonNode> m_Skeleton{};
    std::vector<KvTestMesh> m_Meshes{};

    void Write(GxContentWriterBase& w, bool text) const
    {
        w.WriteHeader(text ? "TGEO" : "BGEO", 1);
        w.ListBegin("m_PartsList", "GxParts", (uint32_t)m_Parts.size());
        for (const KvTestPart& p : m_Parts)
        {
            const GxVector3 zero;
            const GxQuaternion quat;
            w.WriteString("m_PartsName", p.m_Name);
            w.Write("m_Enabled", (uint32_t)1);
            w.Write("m_PartsType", p.m_Type);
            w.Write("m_PartsSize", p.m_Size);
            w.Write("m_EntityIndex", p.m_EntityIndex);
            w.Write("m_InitPoseMatrix", &p.m_InitPose);
            w.Write("m_FirstFramePoseMatrix", &p.m_FirstFramePose);
            w.Write("m_FirstFramePoseTrans", &zero);
            w.Write("m_FirstFramePoseRot", &zero);
            w.Write("m_FirstFramePoseRotQuat", &quat);
            w.Write("m_FirstFramePoseScale", &zero);
        }
        w.ListEnd();
        w.TreeBegin("m_PartsSkeleton", "GxSkeleton");
        WriteStrata(w, m_Skeleton);
        w.TreeEnd();
        w.ListBegin("m_MeshList", "GxMesh", (uint32_t)m_Meshes.size());
        for (const KvTestMesh& m : m_Meshes)
            WriteMesh(w, m);
        w.ListEnd();
    }

    static void WriteStrata(GxContentWriterBase& w, const std::vector<KvTestSkeletonNode>& nodes)
    {
        for (const KvTestSkeletonNode& n : nodes)
        {
            w.TreeStratumBegin();
            w.WriteString("m_PartsName", n.m_Name);
            w.Write("m_PartsIndex", n.m_Index);
            WriteStrata(w, n.m_Children);
            w.TreeStratumEnd();
        }
    }

    static void WriteMesh(GxContentWriterBase& w, const KvTestMesh& m)
    {
        const GxVector3 zero;
        w.WriteString("m_PartsName", m.m_PartsName);
        w.Write("m_PartsIndex", m.m_PartsIndex);
        w.Write("m_Visible", (uint32_t)1);
        w.Write("m_VertexLayer", m.m_VertexLayer);
        for (const char* name : {"m_BBMin", "m_BBMax", "m_BSCenter"})
            w.Write(name, &zero);
        w.Write("m_BSRadius", 1.0f);
        w.Write("m_GeometricPoseMatrix", &m.m_GeometricPose);
        w.ListBegin("m_pLocalBoneTableAry", "GxLocalBone", (uint32_t)m.m_Bones.size());
        for (const KvTestBone& b : m.m_Bones)
        {
            w.Write("m_PartsIndex", b.m_PartsIndex);
            w.Write("m_TransformLinkMatrix", &b.m_Link);
        }
        w.ListEnd();
        w.ListBegin("m_pMeshSubsetAry", "GxMeshSubset", (uint32_t)m.m_Subsets.size());
        for (const KvTestSubset& s : m.m_Subsets)
            WriteSubset(w, s, m.m_VertexLayer | 8);
        w.ListEnd();
    }

    static void WriteSubset(GxContentWriterBase& w, const KvTestSubset& s, uint32_t mask)
    {
        const uint32_t n = (uint32_t)s.m_Vertices.size();
        w.Write("m_PolygonCount", s.m_PolygonCount);
        w.Write("m_VertexIndexCount", (uint32_t)s.m_Indices.size());
        w.Write("m_VertexCount", s.m_VertexCount < 0 ? n : (uint32_t)s.m_VertexCount);
        w.WriteString("m_MaterialName", s.m_MaterialName);
        w.Write("m_MaterialIndex", s.m_MaterialIndex);
        w.Write("m_TextureCount", s.m_TextureCount);
        w.Write("m_UVLayerCount", s.m_UVLayerCount);
        w.ListBegin("m_pVertexIndexAry", "GxU16", (uint32_t)s.m_Indices.size());
        for (uint16_t i : s.m_Indices)
            w.Write("", i);
        w.ListEnd();
        w.ListBegin("m_pVertexLayerDefault", "GxVertexLayer_Default", n);
        for (const KvTestVertex& v : s.m_Vertices)
        {
            const GxVector3 pos(v.m_Pos[0], v.m_Pos[1], v.m_Pos[2]);
            const GxVector3 normal(v.m_Normal[0], v.m_Normal[1], v.m_Normal[2]);
            w.Write("m_Pos", &pos);
            w.Write("m_Normal", &normal);
            w.Write("m_Diffuse", &v.m_Diffuse);
        }
        w.ListEnd();
        if (s.m_UVLayerCount > 0)
        {
            const uint32_t layers = s.m_UVLayersWritten < 0 ? s.m_UVLayerCount : (uint32_t)s.m_UVLayersWritten;
            w.ListBegin("m_pVertexLayerUV", "GxVertexLayer_UV", layers);
            for (uint32_t k = 0; k < layers; ++k)
            {
                w.ListBegin("m_UVAry", "GxVector2", n);
                for (const KvTestVertex& v : s.m_Vertices)
                {
                    const GxVector2 uv(v.m_UV[0] + (float)k, v.m_UV[1]);
                    w.Write("m_UV", &uv);
                }
                w.ListEnd();
            }
            w.ListEnd();
        }
        if (mask & 0x40)
        {
            w.ListBegin("m_pVertexLayerBoneWeight", "GxVertexLayer_BoneWeight", n);
            for (const KvTestVertex& v : s.m_Vertices)
            {
                const GxVector4 weight(v.m_Weight[0], v.m_Weight[1], v.m_Weight[2], 0.0f);
                w.Write("m_AffectBoneCount", (uint32_t)4);
                w.Write("m_Weight", &weight);
                for (int32_t b : v.m_BoneIndex)
                    w.Write("m_Index", b);
            }
            w.ListEnd();
        }
        if (mask & 0x04)
        {
            w.ListBegin("m_pVertexLayerTangent", "GxVertexLayer_Tangent", n);
            for (const KvTestVertex& v : s.m_Vertices)
            {
                const GxVector3 t(v.m_Tangent[0], v.m_Tangent[1], v.m_Tangent[2]);
                w.Write("m_Tangent", &t);
            }
            w.ListEnd();
        }
    }
};

struct KvTestTextureParam
{
    std::wstring m_FileName{};
    uint32_t m_Type = 1;
    uint32_t m_MipLevel = 0;
};

struct KvTestMaterial
{
    std::wstring m_Name{};
    GxFColor m_Diffuse = {1, 1, 1, 1};
    GxFColor m_Specular = {0, 0, 0, 1};
    GxFColor m_Ambient = {0.5f, 0.5f, 0.5f, 1};
    GxFColor m_Emissive = {0, 0, 0, 1};
    float m_SpecularPower = 10.0f;
    float m_Alpha = 1.0f;
    uint32_t m_BlendMode = 0;
    uint32_t m_TextureCount = 0;
    std::vector<KvTestTextureParam> m_Params{};
};

struct KvTestMaterialFile
{
    std::vector<KvTestMaterial> m_Materials{};

    void Write(GxContentWriterBase& w, bool text) const
    {
        w.WriteHeader(text ? "TMTL" : "BMTL", 1);
        w.ListBegin("m_MaterialList", "GxMaterial", (uint32_t)m_Materials.size());
        for (const KvTestMaterial& m : m_Materials)
        {
            w.WriteString("m_MaterialName", m.m_Name);
            for (auto [name, colour] : {std::pair{"m_Diffuse", &m.m_Diffuse},
                                        {"m_Specular", &m.m_Specular},
                                        {"m_Ambient", &m.m_Ambient},
                                        {"m_Emissive", &m.m_Emissive}})
                w.Write(name, colour);
            w.Write("m_SpecularPower", m.m_SpecularPower);
            w.Write("m_Alpha", m.m_Alpha);
            w.Write("m_Shininess", 0.25f);
            w.Write("m_Reflectivity", 0.5f);
            w.Write("m_BlendMode", m.m_BlendMode);
            w.Write("m_UseShader", (uint32_t)0);
            w.Write("m_TextureCount", m.m_TextureCount);
            w.Write("m_UVLayerCount", (uint32_t)1);
            w.ListBegin("m_TextureParamList", "GxMaterialTextureParam", (uint32_t)m.m_Params.size());
            for (const KvTestTextureParam& p : m.m_Params)
            {
                w.WriteString("m_FileName", p.m_FileName);
                w.Write("m_TextureType", p.m_Type);
                w.Write("m_MipLevel", p.m_MipLevel);
            }
            w.ListEnd();
        }
        w.ListEnd();
    }
};

// The bytes of a record written in the chosen form.
template <typename Record> std::string KvWriteRecord(const Record& record, bool text)
{
    char* data = nullptr;
    size_t size = 0;
    FILE* file = open_memstream(&data, &size);
    {
        GxContentTextWriter textWriter(file);
        GxContentBinaryWriter binaryWriter(file);
        record.Write(text ? (GxContentWriterBase&)textWriter : (GxContentWriterBase&)binaryWriter, text);
    }
    std::fclose(file);
    std::string bytes(data, size);
    std::free(data);
    return bytes;
}

// A cube of 2 x 2 x 2 around the origin: 24 vertices (four per face, each face with its own normal and
// colour), 36 indices. Texture coordinates run 0 to 1 over every face.
inline KvTestSubset KvCubeSubset(int32_t materialIndex)
{
    KvTestSubset s;
    s.m_MaterialIndex = materialIndex;
    const float n[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    const GxFColor colour[6] = {{1, 0.3f, 0.3f, 1}, {0.3f, 1, 0.3f, 1}, {0.3f, 0.3f, 1, 1},
                                {1, 1, 0.3f, 1},    {0.3f, 1, 1, 1},    {1, 0.3f, 1, 1}};
    for (int f = 0; f < 6; ++f)
    {
        // Two axes in the face's plane, chosen so that (u x v) points along the normal.
        const float* N = n[f];
        const float a[3] = {std::abs(N[1]) > 0.5f ? 1.0f : 0.0f, std::abs(N[1]) > 0.5f ? 0.0f : 1.0f, 0.0f};
        float u[3], v[3];
        for (int i = 0; i < 3; ++i) // u = a x N
            u[i] = a[(i + 1) % 3] * N[(i + 2) % 3] - a[(i + 2) % 3] * N[(i + 1) % 3];
        for (int i = 0; i < 3; ++i) // v = N x u
            v[i] = N[(i + 1) % 3] * u[(i + 2) % 3] - N[(i + 2) % 3] * u[(i + 1) % 3];
        const float corner[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        const uint16_t base = (uint16_t)s.m_Vertices.size();
        for (int c = 0; c < 4; ++c)
        {
            KvTestVertex vx;
            for (int i = 0; i < 3; ++i)
            {
                vx.m_Pos[i] = N[i] + corner[c][0] * u[i] + corner[c][1] * v[i];
                vx.m_Normal[i] = N[i];
            }
            vx.m_Diffuse = colour[f];
            for (int i = 0; i < 2; ++i)
                vx.m_UV[i] = (corner[c][i] + 1) * 0.5f;
            s.m_Vertices.push_back(vx);
        }
        for (int k : {0, 1, 2, 0, 2, 3})
            s.m_Indices.push_back((uint16_t)(base + k));
    }
    s.m_PolygonCount = 12;
    return s;
}
