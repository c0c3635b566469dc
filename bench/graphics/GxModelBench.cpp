// Models: loading a 50,000-triangle geometry file in the text and the binary form against a plain read of
// the same file, refusing a damaged geometry file and material file whose first count is raised to four
// million (four million zero bytes after them) against a plain read of them, and drawing 200 placed models
// a frame against the same triangles drawn from memory. Compare each group's times within one run.
#include "../../tests/graphics/ModelFileWriter.h"

#include "core/GxBinBuffer.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "graphics/GxGraphics.h"
#include "graphics/GxMaterialSet.h"
#include "graphics/GxModel.h"
#include "graphics/GxVertexLayer.h"
#include "platform/PfGLDevice.h"
#include "support/BenchDevice.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

// A 50 x 50 grid of quads: 2,601 vertices and 5,000 triangles.
KvTestSubset Grid(int32_t material)
{
    KvTestSubset s;
    s.m_MaterialIndex = material;
    const int n = 50;
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x)
        {
            KvTestVertex v;
            v.m_Pos[0] = (float)x / n;
            v.m_Pos[1] = (float)y / n;
            v.m_Diffuse = {(float)x / n, (float)y / n, 0.5f, 1.0f};
            v.m_UV[0] = v.m_Pos[0];
            v.m_UV[1] = v.m_Pos[1];
            s.m_Vertices.push_back(v);
        }
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
        {
            const uint16_t a = (uint16_t)(y * (n + 1) + x), b = (uint16_t)(a + 1), c = (uint16_t)(a + n + 1),
                           d = (uint16_t)(c + 1);
            s.m_Indices.insert(s.m_Indices.end(), {a, c, d, a, d, b});
        }
    s.m_PolygonCount = (uint32_t)(n * n * 2);
    return s;
}

// Ten meshes of one 5,000-triangle grid each.
KvTestGeometry LargeModel()
{
    KvTestGeometry g;
    for (int i = 0; i < 10; ++i)
    {
        KvTestPart part;
        part.m_Name = L"part" + std::to_wstring(i);
        g.m_Parts.push_back(part);
        KvTestMesh m;
        m.m_PartsName = part.m_Name;
        m.m_PartsIndex = i;
        m.m_Subsets = {Grid(0)};
        g.m_Meshes.push_back(m);
    }
    return g;
}

// A room piece: a cube of two subsets (floor material and wall material).
KvTestGeometry RoomPiece()
{
    KvTestGeometry g;
    KvTestPart part;
    part.m_Name = L"room";
    g.m_Parts = {part};
    KvTestMesh m;
    m.m_PartsName = L"room";
    KvTestSubset cube = KvCubeSubset(0);
    KvTestSubset top = cube;
    top.m_MaterialIndex = 1;
    top.m_Indices.assign(cube.m_Indices.begin() + 12, cube.m_Indices.begin() + 18);
    top.m_PolygonCount = 2;
    m.m_Subsets = {cube, top};
    g.m_Meshes = {m};
    return g;
}

struct BenchFiles
{
    std::string m_Dir;
    std::wstring m_Text, m_Binary, m_Room, m_Material, m_RaisedGeometry, m_RaisedMaterial;

    BenchFiles()
    {
        char pattern[] = "/tmp/kvmodelbenchXXXXXX";
        m_Dir = mkdtemp(pattern);
        m_Text = Write("large_t.geo", KvWriteRecord(LargeModel(), true));
        m_Binary = Write("large_b.geo", KvWriteRecord(LargeModel(), false));
        m_Room = Write("room.geo", KvWriteRecord(RoomPiece(), false));
        KvTestMaterialFile mtl;
        mtl.m_Materials = {KvTestMaterial{}, KvTestMaterial{}};
        mtl.m_Materials[1].m_Ambient = {0.8f, 0.6f, 0.4f, 1.0f};
        m_Material = Write("room.mtl", KvWriteRecord(mtl, false));
        m_RaisedGeometry = Write("raised.geo", Raised(KvWriteRecord(RoomPiece(), false)));
        m_RaisedMaterial = Write("raised.mtl", Raised(KvWriteRecord(mtl, false)));
    }
    // The record's first list (right after the 16-byte root name and the version) counted at four million,
    // and four million zero bytes after the record: the count fits the file at one byte an item.
    static std::string Raised(std::string bytes)
    {
        const uint32_t count = 4000000;
        for (int i = 0; i < 4; ++i)
            bytes[21 + i] = (char)((count >> (24 - 8 * i)) & 0xFF);
        return bytes.append(count, '\0');
    }
    ~BenchFiles()
    {
        for (const std::wstring& w : {m_Text, m_Binary, m_Room, m_Material, m_RaisedGeometry, m_RaisedMaterial})
            std::remove(std::string(w.begin(), w.end()).c_str());
        rmdir(m_Dir.c_str());
    }
    std::wstring Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = m_Dir + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return std::wstring(path.begin(), path.end());
    }
};

// The started device on a hidden window, for the whole run; closed at exit.
struct Screen
{
    BenchDevice m_Device;
    bool m_Ready = false;

    Screen()
    {
        GxLog::SetErrorLogPath(L"");
        GxLog::SetDeviceLogPath(L"");
        m_Ready = m_Device.Open("GxModelBench", BenchDevice::kSwapCopy);
    }
    ~Screen() { m_Device.Close(); }
};

Screen& Device()
{
    static Screen s_Device;
    return s_Device;
}

BenchFiles& Files()
{
    static BenchFiles s_Files;
    return s_Files;
}

void LoadModel(benchmark::State& state, bool text)
{
    if (!Device().m_Ready)
    {
        state.SkipWithError("no device");
        return;
    }
    const std::wstring& path = text ? Files().m_Text : Files().m_Binary;
    GxModel model;
    for (auto _ : state)
    {
        if (!model.LoadGeometry(path, true))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(model.GetMeshCount());
    }
}

void ReadFile(benchmark::State& state, bool text)
{
    const std::wstring& path = text ? Files().m_Text : Files().m_Binary;
    for (auto _ : state)
    {
        GxBinBuffer buffer;
        GxFile::LoadToBuffer(buffer, path, true);
        benchmark::DoNotOptimize(buffer.GetData());
        state.counters["bytes"] = buffer.GetSize();
    }
}

void BM_LoadModelText(benchmark::State& state)
{
    LoadModel(state, true);
}
void BM_LoadModelBinary(benchmark::State& state)
{
    LoadModel(state, false);
}
void BM_ReadFileText_Reference(benchmark::State& state)
{
    ReadFile(state, true);
}
void BM_ReadFileBinary_Reference(benchmark::State& state)
{
    ReadFile(state, false);
}
void BM_RefuseRaisedGeometry(benchmark::State& state)
{
    GxModel model;
    for (auto _ : state)
        if (model.LoadGeometry(Files().m_RaisedGeometry, true))
            state.SkipWithError("a raised count was taken");
}
void BM_RefuseRaisedMaterial(benchmark::State& state)
{
    GxMaterialSet set;
    for (auto _ : state)
        if (set.Load(Files().m_RaisedMaterial))
            state.SkipWithError("a raised count was taken");
}
void BM_ReadRaisedFile_Reference(benchmark::State& state)
{
    for (auto _ : state)
    {
        GxBinBuffer buffer;
        GxFile::LoadToBuffer(buffer, Files().m_RaisedGeometry, true);
        benchmark::DoNotOptimize(buffer.GetData());
    }
}

BENCHMARK(BM_LoadModelText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFileText_Reference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadModelBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFileBinary_Reference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefuseRaisedGeometry)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefuseRaisedMaterial)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRaisedFile_Reference)->Unit(benchmark::kMillisecond);

constexpr int kModels = 200;

void FrameStates()
{
    GxGraphics::SetLighting(true);
    GxGraphics::SetCullMode(D3DCULL_CW);
    GxMatrix view, projection;
    view.LookAt(GxVector3(0, 30, 30), GxVector3(0, 0, 0), GxVector3(0, 1, 0));
    projection.Ortho(64, 48, 0.1f, 200);
    D3DMATRIX v, p;
    std::memcpy(&v, view.m, sizeof(v));
    std::memcpy(&p, projection.m, sizeof(p));
    GxGraphics::GetDevice()->SetTransform(D3DTS_VIEW, v);
    GxGraphics::GetDevice()->SetTransform(D3DTS_PROJECTION, p);
}

GxMatrix Place(int i)
{
    GxMatrix world;
    world.Translation((float)(i % 20) * 3.0f - 30.0f, 0.0f, (float)(i / 20) * 3.0f - 15.0f);
    return world;
}

void BM_Draw200Models(benchmark::State& state)
{
    if (!Device().m_Ready)
    {
        state.SkipWithError("no device");
        return;
    }
    std::vector<std::unique_ptr<GxModel>> models;
    for (int i = 0; i < kModels; ++i)
    {
        models.push_back(std::make_unique<GxModel>());
        models.back()->LoadGeometry(Files().m_Room, true);
        models.back()->LoadMaterial(Files().m_Material);
    }
    FrameStates();
    for (auto _ : state)
    {
        GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        GxGraphics::BeginScene();
        for (int i = 0; i < kModels; ++i)
        {
            models[(size_t)i]->SetWorldMatrix(Place(i));
            models[(size_t)i]->Draw(-1, 0, nullptr);
        }
        GxGraphics::EndScene();
        GxGraphics::GetDevice()->Finish();
    }
    state.counters["draws/frame"] = kModels * 2;
}

// The same 200 x 2 draws of the same triangles from memory, each with its world matrix and material.
void BM_Draw200ModelsFromMemory_Reference(benchmark::State& state)
{
    if (!Device().m_Ready)
    {
        state.SkipWithError("no device");
        return;
    }
    const KvTestGeometry room = RoomPiece();
    std::vector<GxVertexLayer_Legacy> vertices;
    for (const KvTestVertex& v : room.m_Meshes[0].m_Subsets[0].m_Vertices)
    {
        GxVertexLayer_Legacy l = {};
        std::memcpy(l.m_Pos, v.m_Pos, sizeof(l.m_Pos));
        std::memcpy(l.m_Normal, v.m_Normal, sizeof(l.m_Normal));
        l.m_Diffuse = 0xFFFFFFFF;
        std::memcpy(l.m_UV, v.m_UV, sizeof(l.m_UV));
        vertices.push_back(l);
    }
    const std::vector<uint16_t>& cube = room.m_Meshes[0].m_Subsets[0].m_Indices;
    const std::vector<uint16_t>& top = room.m_Meshes[0].m_Subsets[1].m_Indices;
    FrameStates();
    PfGLDevice* d = GxGraphics::GetDevice();
    const D3DMATERIAL9 material = GxMaterial().ToD3DMaterial(1.0f);
    for (auto _ : state)
    {
        GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        GxGraphics::BeginScene();
        for (int i = 0; i < kModels; ++i)
        {
            D3DMATRIX world;
            std::memcpy(&world, Place(i).m, sizeof(world));
            d->SetTransform(D3DTS_WORLD, world);
            d->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1);
            for (const std::vector<uint16_t>* list : {&cube, &top})
            {
                d->SetMaterial(material);
                d->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, (uint32_t)vertices.size(),
                                          (uint32_t)(list->size() / 3), list->data(), D3DFMT_INDEX16, vertices.data(),
                                          sizeof(GxVertexLayer_Legacy));
            }
        }
        GxGraphics::EndScene();
        d->Finish();
    }
}

BENCHMARK(BM_Draw200Models)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Draw200ModelsFromMemory_Reference)->Unit(benchmark::kMillisecond);

} // namespace
