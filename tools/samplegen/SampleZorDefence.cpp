// The defence screen's sample data (see SampleZorDefence.h).
//
// [SECTION] UI and effect rows
// [SECTION] pictures
// [SECTION] models: boxes in flat vertex colours, written as binary geometry and material records
// [SECTION] effect project
#include "SampleZorDefence.h"

#include "SampleLabel.h"

#include "../gncwriter/GisPacker.h"
#include "../gncwriter/GncProjectWriter.h"
#include "SamplePng.h"

#include "animation/GxNcLayerNode.h"
#include "core/GxContentBinaryWriter.h"
#include "core/GxFColor.h"
#include "core/GxMatrix.h"
#include "core/GxQuaternion.h"
#include "core/GxVector2.h"
#include "core/GxVector3.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

namespace
{

// ---------------------------------------------------------------------------------------------------
// [SECTION] UI and effect rows

constexpr int kFirstModule = 165;
constexpr int kLastModule = 194;
constexpr int kFirstLayout = 300;
constexpr int kLastLayout = 369;
constexpr int kFirstEffect = 40;
constexpr int kLastEffect = 69;

SampleRow Module(int id, const char* type, const std::string& name, int w, int h)
{
    return UIModuleRow(id, type, name, "ui_zormain", name, w, h);
}

// The bars and windows of the screen stand at depth 11000 and above: their widgets are placed just over
// their bar, or the bar's picture would cover them.
SampleRow Layout(int id, const std::string& parent, const std::string& module, const std::string& name, int left,
                 int top, const std::string& help, int group = 0, int value = 0, const char* order = "11001")
{
    SampleRow row = UILayoutRow(id, parent, module, name, 0, left, top, order, group, help);
    if (group != 0)
        row.push_back({"Value", std::to_string(value)});
    return row;
}

SampleTable* Find(std::vector<SampleTable>& tables, const std::string& file)
{
    for (SampleTable& table : tables)
        if (table.file == file)
            return &table;
    return nullptr;
}

// The effects the rules and the screen play, each a motion of "zoreffect.gnc": the banners of the
// opening and of the defence's and the invasion's end, a small puff for everything shown on the map, and
// a line that lights up under a resource's digits when it rises or falls (the pop-up stands on them).
// The project also holds the skill cut-in "cutin", a band across the screen.
struct EffectSpec
{
    const char* name;
    const char* motion;
};
const EffectSpec kEffects[] = {
    {"EFE_DEF_START", "start"},       {"EFE_DEF_VICTORY", "victory"},     {"EFE_DEF_DEFEATED", "defeated"},
    {"EFE_BUILD_STRUCT", "puff"},     {"EFE_APPEAR_ENEMY", "puff"},       {"EFE_APPEAR_FRIEND", "puff"},
    {"EFE_APPEAR_TRAP", "puff"},      {"EFE_DEAD_ENEMY", "puff"},         {"EFE_DEAD_FRIEND", "puff"},
    {"EFE_DISAPPEAR", "puff"},        {"EFE_DISAPPEAR_ENEMY", "puff"},    {"EFE_MISS", "puff"},
    {"EFE_RECOVER", "puff"},          {"EFE_PAUP", "gain"},               {"EFE_PADOWN", "loss"},
    {"EFE_HEALING", "room"},          {"EFE_DEADWALL", "room"},           {"EFE_COBWEB", "room"},
    {"EFE_DAZZLE", "room"},           {"EFE_MUCUS", "room"},              {"EFE_CURSE", "room"},
    {"EFE_MANA02", "room"},           {"EFE_SUMMONS01", "room"},          {"EFE_SUMMONS02", "room"},
    {"EFE_INV_VICTORY", "victory"},   {"EFE_INV_DEFEATED", "defeated"},
};

// ---------------------------------------------------------------------------------------------------
// [SECTION] pictures

std::string Solid(uint32_t w, uint32_t h, uint32_t argb)
{
    return EncodePng(w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, argb));
}

GisPicture Flat(const std::wstring& name, uint32_t w, uint32_t h, uint32_t argb)
{
    GisPicture pic;
    pic.m_FileName = name;
    pic.m_Width = w;
    pic.m_Height = h;
    pic.m_Pixels.assign(static_cast<size_t>(w) * h, argb);
    return pic;
}

// A banner: its colour with its word along the upper part (the middle row stays the plain colour).
GisPicture Banner(const std::wstring& name, uint32_t argb, const std::wstring& word)
{
    GisPicture pic = Flat(name, 480, 96, argb);
    SampleLabel::DrawCentred(pic.m_Pixels, 480, 96, word, SampleLabel::kColour, 38, 0, 4, 480, 38);
    return pic;
}

// A soft round spot of the colour, opaque in the middle and fading out to its edge; as a ring, only a
// band around 3/4 of the radius.
GisPicture Spot(const std::wstring& name, uint32_t size, uint32_t rgb, bool ring)
{
    GisPicture pic = Flat(name, size, size, 0);
    const float c = (size - 1) * 0.5f;
    for (uint32_t y = 0; y < size; ++y)
        for (uint32_t x = 0; x < size; ++x)
        {
            const float d = std::sqrt((x - c) * (x - c) + (y - c) * (y - c)) / c;
            float a = ring ? 1.0f - std::fabs(d - 0.75f) * 5.0f : 1.0f - d * d;
            if (a <= 0.0f)
                continue;
            pic.m_Pixels[static_cast<size_t>(y) * size + x] = static_cast<uint32_t>(std::min(a, 1.0f) * 255.0f) << 24 | rgb;
        }
    return pic;
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] models

GxFColor Colour(uint32_t argb)
{
    return {((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
            ((argb >> 24) & 0xFF) / 255.0f};
}

uint32_t Darker(uint32_t argb)
{
    return (argb & 0xFF000000u) | ((argb >> 1) & 0x7F7F7Fu);
}

struct Vertex
{
    GxVector3 m_Pos;
    GxVector3 m_Normal;
    GxFColor m_Colour;
};

// An axis-aligned box from lo to hi: its top in the given colour, the other faces darker, so the top
// (which the map's camera sees from above) is the one flat colour a check names.
void AddBox(std::vector<Vertex>& v, std::vector<uint16_t>& idx, GxVector3 lo, GxVector3 hi, uint32_t top)
{
    const GxFColor topColour = Colour(top);
    const GxFColor side = Colour(Darker(top));
    auto quad = [&](GxVector3 a, GxVector3 b, GxVector3 c, GxVector3 d, GxVector3 n, const GxFColor& col)
    {
        const uint16_t base = static_cast<uint16_t>(v.size());
        for (const GxVector3& p : {a, b, c, d})
            v.push_back({p, n, col});
        for (int k : {0, 1, 2, 0, 2, 3})
            idx.push_back(static_cast<uint16_t>(base + k));
    };
    quad({lo.x, hi.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}, {0, 1, 0}, topColour);
    quad({lo.x, lo.y, lo.z}, {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, lo.y, lo.z}, {0, -1, 0}, side);
    quad({lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z}, {0, 0, -1}, side);
    quad({lo.x, lo.y, hi.z}, {lo.x, hi.y, hi.z}, {hi.x, hi.y, hi.z}, {hi.x, lo.y, hi.z}, {0, 0, 1}, side);
    quad({lo.x, lo.y, lo.z}, {lo.x, hi.y, lo.z}, {lo.x, hi.y, hi.z}, {lo.x, lo.y, hi.z}, {-1, 0, 0}, side);
    quad({hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {hi.x, hi.y, lo.z}, {1, 0, 0}, side);
}

// One part, one mesh of one subset (default vertex layer and one UV layer), material 0.
std::string GeometryRecord(const std::vector<Vertex>& v, const std::vector<uint16_t>& idx)
{
    char* data = nullptr;
    size_t size = 0;
    FILE* file = open_memstream(&data, &size);
    {
        GxContentBinaryWriter w(file);
        const GxMatrix identity;
        const GxVector3 zero;
        const GxQuaternion quat;
        w.WriteHeader("BGEO", 1);
        w.ListBegin("m_PartsList", "GxParts", 1);
        w.WriteString("m_PartsName", L"room");
        w.Write("m_Enabled", 1u);
        w.Write("m_PartsType", 1u);
        w.Write("m_PartsSize", 1.0f);
        w.Write("m_EntityIndex", -1);
        w.Write("m_InitPoseMatrix", &identity);
        w.Write("m_FirstFramePoseMatrix", &identity);
        w.Write("m_FirstFramePoseTrans", &zero);
        w.Write("m_FirstFramePoseRot", &zero);
        w.Write("m_FirstFramePoseRotQuat", &quat);
        w.Write("m_FirstFramePoseScale", &zero);
        w.ListEnd();
        w.TreeBegin("m_PartsSkeleton", "GxSkeleton");
        w.TreeStratumBegin();
        w.WriteString("m_PartsName", L"room");
        w.Write("m_PartsIndex", 0);
        w.TreeStratumEnd();
        w.TreeEnd();
        w.ListBegin("m_MeshList", "GxMesh", 1);
        w.WriteString("m_PartsName", L"room");
        w.Write("m_PartsIndex", 0);
        w.Write("m_Visible", 1u);
        w.Write("m_VertexLayer", 1u);
        for (const char* name : {"m_BBMin", "m_BBMax", "m_BSCenter"})
            w.Write(name, &zero);
        w.Write("m_BSRadius", 100.0f);
        w.Write("m_GeometricPoseMatrix", &identity);
        w.ListBegin("m_pLocalBoneTableAry", "GxLocalBone", 0);
        w.ListEnd();
        w.ListBegin("m_pMeshSubsetAry", "GxMeshSubset", 1);
        const uint32_t n = static_cast<uint32_t>(v.size());
        w.Write("m_PolygonCount", static_cast<uint32_t>(idx.size() / 3));
        w.Write("m_VertexIndexCount", static_cast<uint32_t>(idx.size()));
        w.Write("m_VertexCount", n);
        w.WriteString("m_MaterialName", L"room");
        w.Write("m_MaterialIndex", 0);
        w.Write("m_TextureCount", 0u);
        w.Write("m_UVLayerCount", 1u);
        w.ListBegin("m_pVertexIndexAry", "GxU16", static_cast<uint32_t>(idx.size()));
        for (uint16_t i : idx)
            w.Write("", i);
        w.ListEnd();
        w.ListBegin("m_pVertexLayerDefault", "GxVertexLayer_Default", n);
        for (const Vertex& x : v)
        {
            w.Write("m_Pos", &x.m_Pos);
            w.Write("m_Normal", &x.m_Normal);
            w.Write("m_Diffuse", &x.m_Colour);
        }
        w.ListEnd();
        w.ListBegin("m_pVertexLayerUV", "GxVertexLayer_UV", 1);
        w.ListBegin("m_UVAry", "GxVector2", n);
        const GxVector2 uv;
        for (uint32_t i = 0; i < n; ++i)
            w.Write("m_UV", &uv);
        w.ListEnd();
        w.ListEnd();
        w.ListEnd();
        w.ListEnd();
    }
    std::fclose(file);
    std::string bytes(data, size);
    std::free(data);
    return bytes;
}

// One untextured white material: the unlit map draws the vertex colours as they are.
std::string MaterialRecord()
{
    char* data = nullptr;
    size_t size = 0;
    FILE* file = open_memstream(&data, &size);
    {
        GxContentBinaryWriter w(file);
        const GxFColor white = {1, 1, 1, 1}, black = {0, 0, 0, 1};
        w.WriteHeader("BMTL", 1);
        w.ListBegin("m_MaterialList", "GxMaterial", 1);
        w.WriteString("m_MaterialName", L"room");
        w.Write("m_Diffuse", &white);
        w.Write("m_Specular", &black);
        w.Write("m_Ambient", &white);
        w.Write("m_Emissive", &black);
        w.Write("m_SpecularPower", 10.0f);
        w.Write("m_Alpha", 1.0f);
        w.Write("m_Shininess", 0.0f);
        w.Write("m_Reflectivity", 0.0f);
        w.Write("m_BlendMode", 0u);
        w.Write("m_UseShader", 0u);
        w.Write("m_TextureCount", 0u);
        w.Write("m_UVLayerCount", 1u);
        w.ListBegin("m_TextureParamList", "GxMaterialTextureParam", 0);
        w.ListEnd();
        w.ListEnd();
    }
    std::fclose(file);
    std::string bytes(data, size);
    std::free(data);
    return bytes;
}

bool WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

void WriteBoxModel(const std::filesystem::path& stem, const std::vector<std::pair<GxVector3, GxVector3>>& boxes,
                   uint32_t top, std::vector<std::string>& problems)
{
    std::vector<Vertex> v;
    std::vector<uint16_t> idx;
    for (const auto& [lo, hi] : boxes)
        AddBox(v, idx, lo, hi, top);
    std::filesystem::path geo = stem, mtl = stem;
    geo += ".geo";
    mtl += ".mtl";
    if (!WriteBytes(geo, GeometryRecord(v, idx)) || !WriteBytes(mtl, MaterialRecord()))
        problems.push_back("cannot write the model " + stem.string());
}

// Side j of a room: 0 towards -z, 1 +z, 2 -x, 3 +x (the order the map view asks for gates and walls).
std::pair<GxVector3, GxVector3> SideBox(int32_t j, float offset, float halfLength, float halfDepth, float top)
{
    const float sx[4] = {0, 0, -1, 1}, sz[4] = {-1, 1, 0, 0};
    const float cx = sx[j] * offset, cz = sz[j] * offset;
    const float hx = sx[j] != 0 ? halfDepth : halfLength, hz = sz[j] != 0 ? halfDepth : halfLength;
    return {GxVector3(cx - hx, 0.0f, cz - hz), GxVector3(cx + hx, top, cz + hz)};
}

void WriteModels(const std::filesystem::path& folder, std::vector<std::string>& problems)
{
    const std::filesystem::path models = folder / "models";
    char name[64];
    // Sets 1-19 (set 0 is never drawn; the map view keeps 20 slots).
    for (int32_t set = 1; set < 20; ++set)
    {
        std::snprintf(name, sizeof name, "room_%02d_", set);
        WriteBoxModel(models / (std::string(name) + "base00"), {{GxVector3(-30, -6, -30), GxVector3(30, 0, 30)}},
                      SampleRoomColour(set), problems);
        for (int32_t j = 0; j < 4; ++j)
        {
            std::snprintf(name, sizeof name, "room_%02d_gate%02d", set, j);
            WriteBoxModel(models / name, {SideBox(j, kSampleGateOffset, 10.0f, 10.0f, kSampleGateTop)},
                          kSampleGateColour, problems);
            std::snprintf(name, sizeof name, "room_%02d_wall%02d", set, j);
            WriteBoxModel(models / name, {SideBox(j, kSampleWallOffset, 30.0f, 4.0f, kSampleWallTop)},
                          kSampleWallColour, problems);
        }
    }
    WriteBoxModel(models / "path00", {{GxVector3(-10, -1, -10), GxVector3(10, 0.5f, 10)}}, 0xFF806040u, problems);
    WriteBoxModel(models / "path01", {{GxVector3(-10, -1, -10), GxVector3(10, 0.5f, 10)}}, 0xFF705838u, problems);
    WriteBoxModel(models / "cursor00", {{GxVector3(-10, 0, -10), GxVector3(10, 1, 10)}}, 0xFF4060FFu, problems);
    WriteBoxModel(models / "cursor01", {{GxVector3(-10, 0, -10), GxVector3(10, 1, 10)}}, 0xFF40C0FFu, problems);
    WriteBoxModel(models / "cursor02", {{GxVector3(-40, 0, -40), GxVector3(40, 1, 40)}}, 0xFF2040A0u, problems);
    WriteBoxModel(models / "scaffold", {{GxVector3(-16, 0, -16), GxVector3(16, kSampleScaffoldTop, 16)}},
                  kSampleScaffoldColour, problems);
}

// ---------------------------------------------------------------------------------------------------
// [SECTION] effect project

GxNcMotion& AddMotion(GxNcMotionGroup& g, const std::wstring& name, int32_t end, const std::wstring& picture,
                      float fromScale, float toScale)
{
    g.m_Motions.push_back(std::make_unique<GxNcMotion>());
    GxNcMotion& m = *g.m_Motions.back();
    m.m_MotionName = name;
    m.m_EndTime = m.m_TotalDuration = end;
    m.m_Layers.push_back(std::make_unique<GxNcLayer>());
    GxNcLayer& layer = *m.m_Layers.back();
    layer.m_LayerName = L"body";
    layer.m_LoopMode = 1;
    // Normal alpha blending: the soft edges of the puffs and rings show the map through them.
    layer.m_BlendMode = 2;
    GxNcImageKey image;
    image.m_ImageSetName = L"zoreffect.gis";
    image.m_ImageFileName = picture;
    layer.m_ImageKeys = {image};
    GxNcVector4Key s0, s1;
    s0.m_Time = 0;
    s0.m_Value = GxVector4(fromScale, fromScale, 1.0f, 1.0f);
    s0.m_InterMode = 1;
    s1.m_Time = end - 1;
    s1.m_Value = GxVector4(toScale, toScale, 1.0f, 1.0f);
    s1.m_InterMode = 1;
    layer.m_ScaleKeys = {s0, s1};
    GxNcLayerNode* node = new GxNcLayerNode();
    node->m_LayerName = layer.m_LayerName;
    node->m_LayerIndex = 0;
    m.m_LayerTree.SetRoot(node, GxSimpleTree::InsertMode::Before);
    return m;
}

void WriteEffectProject(const std::filesystem::path& folder, std::vector<std::string>& problems)
{
    std::error_code error;
    std::filesystem::create_directories(folder / "gnc" / "gis", error);
    GxNcCrammedImageSet set;
    if (!GisPacker::Build((folder / "gnc" / "gis").string() + "/", L"zoreffect.gis",
                          {Banner(L"banner_start.png", 0xFF2060C0u, L"防衛開始"),
                           Banner(L"banner_victory.png", 0xFFE0C020u, L"勝利"),
                           Banner(L"banner_defeated.png", 0xFF802020u, L"敗北"), Spot(L"puff.png", 32, 0xE0E0F0u, false),
                           Spot(L"room.png", 24, 0x60E0A0u, true),
                           Flat(L"cutin.png", 480, 120, 0xFF6020A0u), Flat(L"gain.png", 44, 3, 0xFF40FF60u),
                           Flat(L"loss.png", 44, 3, 0xFFFF4020u)},
                          GncForm::Binary, set, 512))
        problems.push_back("cannot write the image set zoreffect.gis");

    GxNcProject p;
    p.m_ProjectName = L"zoreffect";
    p.m_MotionGroups.push_back(std::make_unique<GxNcMotionGroup>());
    GxNcMotionGroup& g = *p.m_MotionGroups.back();
    g.m_MotionGroupName = L"zor";
    // The banners last 90 steps: the opening holds the stage (phase 5) and the end the switch that long.
    AddMotion(g, L"start", 90, L"banner_start.png", 1.0f, 1.0f);
    AddMotion(g, L"victory", 90, L"banner_victory.png", 1.0f, 1.0f);
    AddMotion(g, L"defeated", 90, L"banner_defeated.png", 1.0f, 1.0f);
    AddMotion(g, L"puff", 20, L"puff.png", 0.5f, 1.5f);
    AddMotion(g, L"room", 60, L"room.png", 1.0f, 1.0f);
    AddMotion(g, L"cutin", 45, L"cutin.png", 1.0f, 1.0f);
    // The resource pop-ups play at the digits' middle: their line shows 20 pixels lower, under the
    // digits, and keeps the number itself clear.
    for (const wchar_t* name : {L"gain", L"loss"})
    {
        GxNcMotion& line = AddMotion(g, name, 40, std::wstring(name) + L".png", 1.0f, 1.0f);
        GxNcVector4Key at;
        at.m_Value = GxVector4(0.0f, 20.0f, 0.0f, 1.0f);
        line.m_Layers.back()->m_PositionKeys = {at};
    }
    const std::filesystem::path path = folder / "gnc" / "zoreffect.gnc";
    if (!GncProjectWriter::Write(path.string(), p, {L"zoreffect.gis"}, GncForm::Binary))
        problems.push_back("cannot write " + path.string());
}

} // namespace

void AddZorDefenceRows(std::vector<SampleTable>& tables, std::vector<std::string>& problems)
{
    SampleTable* modules = Find(tables, "data/db_uimodule_zor.txt");
    SampleTable* layouts = Find(tables, "data/db_uilayout_zor.txt");
    SampleTable* effects = Find(tables, "data/db_effect.txt");
    if (!modules || !layouts || !effects)
    {
        problems.push_back("the defence screen's tables are missing");
        return;
    }
    int m = kFirstModule;
    for (const char* radio : {"btn_zorpause", "btn_zorplay", "btn_zorplay2x"})
        modules->rows.push_back(Module(m++, "20", radio, 40, 40));
    for (const char* button : {"btn_lookthrone", "btn_zoom_in", "btn_zoom_out"})
        modules->rows.push_back(Module(m++, "18", button, 40, 40));
    // One module per unit-list tab, so each picture carries its own label.
    const char* const tabs[][3] = {{"btn_unittab_all", "btn_zortab_all", "全員"},
                                   {"btn_unittab_ready", "btn_zortab_ready", "配置可能"},
                                   {"btn_unittab_heroine", "btn_zortab_heroine", "ヒロイン"},
                                   {"btn_unittab_healing", "btn_zortab_healing", "治療中"}};
    for (const auto& tab : tabs)
        modules->rows.push_back(Module(m++, "20", tab[1], 72, 28));
    modules->rows.push_back(Module(m++, "15", "tip_timelimit", 240, 40));

    // The bottom bar "$ZORBOTTOM1" (1024 x 197 at y 571): speed buttons (group 1), the camera's buttons, the
    // unit-list tabs (group 2), the system buttons along its lower edge; the minimap (36, 49 in the bar) and
    // the numbers (from x 780) keep their places clear.
    const std::string bar = "$ZORBOTTOM1:SeqZorMain";
    int l = kFirstLayout;
    int x = 200;
    int value = 0;
    for (const char* radio : {"btn_zorpause", "btn_zorplay", "btn_zorplay2x"})
    {
        static const char* s_Help[] = {"一時停止 (Z)", "通常速度 (X)", "倍速 (C)"};
        layouts->rows.push_back(Layout(l++, bar, radio, radio, x, 12, s_Help[value], 1, value));
        x += 44;
        ++value;
    }
    x += 8;
    for (const auto& [button, help] : {std::pair{"btn_lookthrone", "玉座を見る"}, {"btn_zoom_in", "拡大"},
                                       {"btn_zoom_out", "縮小"}})
    {
        layouts->rows.push_back(Layout(l++, bar, button, button, x, 12, help));
        x += 44;
    }
    value = 0;
    for (const auto& tab : tabs)
        layouts->rows.push_back(Layout(l++, bar, tab[1], tab[0], 480 + 76 * value, 16, tab[2], 2, value)), ++value;
    x = 200;
    for (const auto& [button, help] : {std::pair{"btn_zorconfig", "文字の速さや音量を変える"},
                                       {"btn_zorsave", "防衛の途中を保存する"},
                                       {"btn_zorload", "保存した場面を読み込む"}})
    {
        layouts->rows.push_back(Layout(l++, bar, button, button, x, 160, help));
        x += 100;
    }
    layouts->rows.push_back(Layout(l++, "$UI:SeqZorMain", "tip_timelimit", "tip_timelimit", 392, 8, "", 0, 0, "0.5"));
    if (m - 1 > kLastModule || l - 1 > kLastLayout)
        problems.push_back("the defence screen's UI rows overflow their ID range");

    int e = kFirstEffect;
    for (const EffectSpec& spec : kEffects)
        effects->rows.push_back({{"ID", std::to_string(e++)},
                                 {"GNCName", "zoreffect.gnc"},
                                 {"MotionGroup", "zor"},
                                 {"Motion", spec.motion},
                                 {"Name", spec.name},
                                 {"Descript", ""}});
    if (e - 1 > kLastEffect)
        problems.push_back("the defence screen's effect rows overflow their ID range");
}

std::vector<std::pair<std::string, std::string>> ZorDefencePictures()
{
    // The grid tile: the background colour with a lighter line along its top and left edges.
    std::vector<uint32_t> grid(16 * 16, kSampleMapBackColour);
    for (int i = 0; i < 16; ++i)
        grid[i] = grid[i * 16] = 0xFF284058u;
    return {{"cg/uizor/bg_zor.png", Solid(1024, 768, kSampleMapBackColour)},
            {"cg/uizor/bg_zorgrid.png", EncodePng(16, 16, grid)},
            {"cg/ui/bg_nowloading.png", Solid(1024, 768, kSampleLoadingColour)}};
}

void WriteZorDefenceData(const std::filesystem::path& folder, std::vector<std::string>& problems)
{
    WriteModels(folder, problems);
    WriteEffectProject(folder, problems);
}
