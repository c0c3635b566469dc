// The sample game's image sets and effect project, drawn and packed at run time (see SampleAnimation.h).
#include "SampleAnimation.h"

#include "SampleButtonLook.h"
#include "SampleLabel.h"
#include "SampleUnitAnimation.h"
#include "SampleZorCaptions.h"
#include "SampleZorDefence.h"
#include "SampleZorNumberFields.h"
#include "SampleZorWindows.h"

#include "../gncwriter/GisPacker.h"
#include "../gncwriter/GncProjectWriter.h"

#include "animation/GxNcLayerNode.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>

namespace
{

// A framed panel: a transparent margin (so packed pieces are trimmed), a one-pixel edge, a fill with
// diagonal stripes a little darker, so a misplaced piece shows.
GisPicture Panel(const std::wstring& name, uint32_t w, uint32_t h, uint32_t fill, uint32_t margin = 2)
{
    GisPicture pic;
    pic.m_FileName = name;
    pic.m_Width = w;
    pic.m_Height = h;
    pic.m_Pixels.assign((size_t)w * h, 0u);
    const uint32_t darker = (fill & 0xFF000000u) | ((fill >> 1) & 0x7F7F7Fu);
    for (uint32_t y = margin; y + margin < h; ++y)
        for (uint32_t x = margin; x + margin < w; ++x)
        {
            const bool edge = x == margin || y == margin || x + margin + 1 == w || y + margin + 1 == h;
            const bool stripe = ((x + y) / 6) % 2 == 1;
            pic.m_Pixels[(size_t)y * w + x] = edge ? 0xFFFFFFFFu : (stripe ? darker : fill);
        }
    return pic;
}

// Round shapes of the effects: a soft disc, or a ring of the given radius, in `frames` columns of size x size
// whose radius grows from one column to the next.
GisPicture Round(const std::wstring& name, uint32_t size, uint32_t frames, uint32_t rgb, bool ring)
{
    GisPicture pic;
    pic.m_FileName = name;
    pic.m_Width = size * frames;
    pic.m_Height = size;
    pic.m_Columns = frames;
    pic.m_Pixels.assign((size_t)pic.m_Width * size, 0u);
    const float c = (size - 1) * 0.5f;
    for (uint32_t f = 0; f < frames; ++f)
    {
        const float radius = c * (0.4f + 0.6f * (f + 1) / frames);
        for (uint32_t y = 0; y < size; ++y)
            for (uint32_t x = 0; x < size; ++x)
            {
                const float d = std::sqrt((x - c) * (x - c) + (y - c) * (y - c));
                float a = ring ? 1.0f - std::fabs(d - radius * 0.8f) / 3.0f : 1.0f - d / radius;
                if (a <= 0.0f)
                    continue;
                a = a > 1.0f ? 1.0f : a;
                pic.m_Pixels[(size_t)y * pic.m_Width + f * size + x] = (uint32_t)(a * 255.0f) << 24 | rgb;
            }
    }
    return pic;
}

// A standing figure of the colour, w wide and h tall, its rim one pixel soft: a round head on a body
// rounded at the shoulders and flat at the feet. The units' sprite; their motions stand it on its feet.
// The player's units are orange with a round head, the invaders red with a pointed (diamond) head, so the
// two sides read apart at a glance.
GisPicture Figure(const std::wstring& name, uint32_t w, uint32_t h, uint32_t rgb, bool pointedHead = false)
{
    GisPicture pic;
    pic.m_FileName = name;
    pic.m_Width = w;
    pic.m_Height = h;
    pic.m_Pixels.assign((size_t)w * h, 0u);
    const float cx = (w - 1) * 0.5f;
    const float head = w * 0.4f;        // the head's radius
    const float neck = head * 2.0f + 2; // the body starts below the head
    const float shoulder = w * 0.5f;    // the body's rounded top
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
        {
            const float dx = x - cx;
            const float dh = y - head;
            float a = head + 0.5f - (pointedHead ? std::fabs(dx) + std::fabs(dh) : std::sqrt(dx * dx + dh * dh));
            if (y >= neck)
            {
                const float top = neck + shoulder;
                const float dy = y < top ? top - y : 0.0f;
                a = std::max(a, shoulder + 0.5f - std::sqrt(dx * dx + dy * dy));
            }
            if (a > 0.0f)
                pic.m_Pixels[(size_t)y * w + x] = (uint32_t)((a > 1.0f ? 1.0f : a) * 255.0f) << 24 | rgb;
        }
    return pic;
}

bool Pack(const std::filesystem::path& folder, const std::wstring& setName, const std::vector<GisPicture>& pictures,
          std::vector<std::string>& problems)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    GxNcCrammedImageSet set;
    if (!GisPacker::Build(folder.string() + "/", setName, pictures, GncForm::Binary, set, 512))
    {
        problems.push_back("cannot write the image set " + folder.string() + "/" + GxString::ToUtf8(setName));
        return false;
    }
    return true;
}

// The click-wait mark of an animated panel (UI type 16): a downward arrow in `frames` patterns side by
// side, bobbing down and back up.
GisPicture WaitMark(const std::wstring& name, uint32_t w, uint32_t h, uint32_t frames)
{
    GisPicture pic;
    pic.m_FileName = name;
    pic.m_Width = w * frames;
    pic.m_Height = h;
    pic.m_Columns = frames;
    pic.m_Pixels.assign((size_t)pic.m_Width * h, 0u);
    for (uint32_t f = 0; f < frames; ++f)
    {
        const uint32_t drop = (f <= frames / 2 ? f : frames - f) * 2;
        const uint32_t top = 3 + drop, size = h / 2;
        for (uint32_t y = 0; y < size && top + y < h; ++y)
            for (uint32_t x = 0; x < w; ++x)
            {
                const uint32_t half = (size - y) * w / (2 * size);
                const int32_t dx = (int32_t)x - (int32_t)(w / 2);
                if (dx >= -(int32_t)half && dx <= (int32_t)half)
                    pic.m_Pixels[(size_t)(top + y) * pic.m_Width + f * w + x] =
                        (dx == -(int32_t)half || dx == (int32_t)half || y == 0) ? 0xFF101018u : SampleLabel::kColour;
            }
    }
    return pic;
}

// The pictures of one module row: a help text names what the label says when the module has no short name.
void ModulePictures(std::map<std::string, std::string>& cells, const std::string& help, std::vector<GisPicture>& pictures)
{
    const std::string& image = cells["ImageName"];
    const std::string& type = cells["UIType"];
    const uint32_t w = (uint32_t)std::stoi(cells["Width"]);
    const uint32_t h = (uint32_t)std::stoi(cells["Height"]);
    const std::wstring base = GxString::FromUtf8(image);
    const std::wstring label = SampleButtonLook::Label(cells["ModuleName"], help);
    // A caption: its text alone on a clear ground, so the panel under it shows through.
    const std::wstring caption = ZorCaptionText(cells["ModuleName"]);
    if (type == "15" && !caption.empty())
    {
        GisPicture pic;
        pic.m_FileName = base + L".png";
        pic.m_Width = w;
        pic.m_Height = h;
        pic.m_Pixels.assign((size_t)w * h, 0u);
        SampleLabel::DrawLeft(pic.m_Pixels, w, h, caption, kSampleCaptionColour, kSampleCaptionSize, 1, 0, (int32_t)h);
        pictures.push_back(std::move(pic));
        return;
    }
    // A number's field: a plain dark fill the bar shows around.
    if (type == "15" && IsZorNumberField(cells["ModuleName"]))
    {
        GisPicture pic;
        pic.m_FileName = base + L".png";
        pic.m_Width = w;
        pic.m_Height = h;
        pic.m_Pixels.assign((size_t)w * h, kSampleNumberFieldColour);
        pictures.push_back(std::move(pic));
        return;
    }
    // Panels and tips (types 15, 17, 45) show one picture under the plain name.
    if (type == "15" || type == "17" || type == "45")
    {
        GisPicture panel = SampleButtonLook::Plate(base + L".png", w, h, 0xE0203048);
        if (type == "15" && !label.empty())
            SampleLabel::DrawCentred(panel.m_Pixels, w, h, label, SampleLabel::kColour, (int32_t)h - 6, 2, 2,
                                     (int32_t)w - 4, (int32_t)h - 4);
        pictures.push_back(std::move(panel));
        return;
    }
    // An animated panel (type 16) plays the patterns of its picture in turn.
    if (type == "16")
    {
        pictures.push_back(WaitMark(base + L".png", w, h, 6));
        return;
    }
    // Menus (type 40) are drawn from a head, a body repeated per item and a foot.
    if (type == "40")
    {
        // Plain fills, so the entries' text reads on them.
        pictures.push_back(SampleButtonLook::Plate(base + L"_head.png", w, 12, 0xF0304060, 0));
        pictures.push_back(SampleButtonLook::Plate(base + L"_body.png", w, 24, 0xF0182030, 0));
        pictures.push_back(SampleButtonLook::Plate(base + L"_foot.png", w, 12, 0xF0304060, 0));
        return;
    }
    // A gauge (type 41): a dark track, the bar shown up to the value, a frame over both.
    if (type == "41")
    {
        pictures.push_back(Panel(base + L"_back.png", w, h, 0xFF181820, 0));
        pictures.push_back(SampleButtonLook::Plate(base + L"_on.png", w, h, 0xFF40C070, 0));
        GisPicture front = Panel(base + L"_front.png", w, h, 0xFFFFFFFF, 0);
        for (uint32_t y = 1; y + 1 < h; ++y)
            for (uint32_t x = 1; x + 1 < w; ++x)
                front.m_Pixels[(size_t)y * w + x] = 0;
        pictures.push_back(std::move(front));
        return;
    }
    const bool slider = type == "30" || type == "31";
    if (!slider)
    {
        SampleButtonLook::Append(pictures, base, w, h, label, SampleButtonLook::LabelAtBottom(cells["ModuleName"]));
        return;
    }
    const uint32_t kw = type == "30" ? 24 : w;
    const uint32_t kh = type == "31" ? 24 : h;
    pictures.push_back(Panel(base + L"_off.png", kw, kh, 0xFF305080));
    pictures.push_back(Panel(base + L"_on.png", kw, kh, 0xFF6090D0));
    pictures.push_back(Panel(base + L"_over.png", kw, kh, 0xFF4070B0));
    pictures.push_back(Panel(base + L"_na.png", kw, kh, 0xFF505050));
    pictures.push_back(Panel(base + L"_back.png", w, h, 0xFF202830, 0));
}

// The image sets the UI module rows name: buttons get their four looks, sliders also their track.
void WriteModuleSets(const std::filesystem::path& folder, const std::vector<SampleTable>& tables,
                     std::vector<std::string>& problems)
{
    std::map<std::string, std::vector<GisPicture>> sets;
    // The start-up pools' common and adventure sets hold module pictures too (the system dialogs', the
    // adventure screen's buttons).
    sets["ui_common"] = {Panel(L"cursor.png", 32, 32, 0xFFE0C040), Panel(L"frame.png", 64, 64, 0xC0203040)};
    sets["ui_avgmain"] = {Panel(L"msgwin.png", 200, 60, 0xC0102040), Panel(L"namewin.png", 120, 32, 0xC0204060)};
    // The help text of the first layout row placing each module.
    std::map<std::string, std::string> help;
    for (const SampleTable& table : tables)
        if (table.className == "DBUILayout")
            for (const SampleRow& row : table.rows)
            {
                std::map<std::string, std::string> cells(row.begin(), row.end());
                if (!cells["Descript"].empty())
                    help.emplace(cells["ModuleName"], cells["Descript"]);
            }
    std::set<std::string> seen;
    for (const SampleTable& table : tables)
    {
        if (table.className != "DBUIModule")
            continue;
        for (const SampleRow& row : table.rows)
        {
            std::map<std::string, std::string> cells(row.begin(), row.end());
            const std::string& set = cells["ImageSetName"];
            const std::string& image = cells["ImageName"];
            if (set.empty() || image.empty() || !seen.insert(set + "/" + image).second)
                continue;
            ModulePictures(cells, help[cells["ModuleName"]], sets[set]);
        }
    }
    for (const auto& [set, pictures] : sets)
        Pack(folder / "uigis", GxString::FromUtf8(set) + L".gis", pictures, problems);
}

// The unit cards' ground (280 x 180): a plain fill with the captions of the numbers the card draws over
// it (level at y 50, hit points 78, attack 92 and leadership 106 from x 104; the defence rates from
// (236, 50) down), each caption just left of its number.
GisPicture CardBack()
{
    GisPicture back = SampleButtonLook::Plate(L"tip_unitinfo_back.png", 280, 180, 0xF0202028);
    const struct
    {
        const wchar_t* text;
        int32_t x, y;
    } captions[] = {{L"LV", 88, 48}, {L"HP", 88, 76}, {L"攻撃", 88, 90}, {L"統率", 88, 104}, {L"耐性", 206, 48}};
    for (const auto& c : captions)
        SampleLabel::DrawLeft(back.m_Pixels, 280, 180, c.text, kSampleCaptionColour, 12, c.x, c.y, 14);
    return back;
}

// The frame drawn over a card: its edge alone, so the card's texts stay clear.
GisPicture CardFrame()
{
    GisPicture frame = Panel(L"tip_unitinfo_over.png", 280, 180, 0x40FFFFFF, 0);
    for (uint32_t y = 1; y + 1 < 180; ++y)
        for (uint32_t x = 1; x + 1 < 280; ++x)
            frame.m_Pixels[(size_t)y * 280 + x] = 0;
    return frame;
}

// The icon set of the start-up pools (the common and adventure sets are made with the modules' sets).
void WriteStartUpSets(const std::filesystem::path& folder, std::vector<std::string>& problems)
{
    const std::filesystem::path uigis = folder / "uigis";
    std::vector<GisPicture> icons = {Panel(L"hbar_time_large_on.png", 54, 6, 0xFF40C0FF, 0),
          // The next party's arrival gauge under its 56-pixel face, and the invaders' small gauge.
          Panel(L"hbar_exceed_large_back.png", 56, 8, 0xFF202020, 0), Panel(L"hbar_exceed_large_on.png", 54, 6, 0xFFE08040, 0),
          Panel(L"hbar_exceed_small_back.png", 40, 6, 0xFF202020, 0), Panel(L"hbar_exceed_small_on.png", 38, 4, 0xFFE08040, 0),
          Panel(L"hbar_unithp_large_on.png", 56, 8, 0xFF40FF60, 0), Panel(L"icon_gold.png", 24, 24, 0xFFE0C000),
          Panel(L"icon_mana.png", 24, 24, 0xFF4060FF), Panel(L"icon_dominionflag.png", 24, 32, 0xFFC02020),
          CardBack(), CardFrame(),
          Panel(L"tip_unitinfo_player.png", 280, 8, 0xFF3060C0), Panel(L"tip_unitinfo_enemy.png", 280, 8, 0xFFC03030),
          Panel(L"tip_unitinfo_trap.png", 280, 8, 0xFF808030),
          // The invasion field's slot cursor and small hit-point bars.
          Panel(L"icon_targetcursor.png", 78, 78, 0x60FFFFFF), Panel(L"hbar_unithp_small_back.png", 40, 6, 0xFF202020, 0),
          Panel(L"hbar_unithp_small_on.png", 38, 4, 0xFF40FF60, 0)};
    for (const SampleIcon& icon : ZorWindowIcons())
        icons.push_back(Panel(icon.name, icon.w, icon.h, icon.argb, icon.margin));
    Pack(uigis, L"ui_iconpool.gis", icons, problems);
}

// Effect project helpers.
GxNcLayer& Layer(GxNcMotion& m, const std::wstring& name)
{
    m.m_Layers.push_back(std::make_unique<GxNcLayer>());
    m.m_Layers.back()->m_LayerName = name;
    m.m_Layers.back()->m_LoopMode = 1;
    return *m.m_Layers.back();
}
GxNcMotion& Motion(GxNcProject& p, const std::wstring& group, const std::wstring& name, int32_t end)
{
    GxNcMotionGroup* g = nullptr;
    for (auto& existing : p.m_MotionGroups)
        if (existing->m_MotionGroupName == group)
            g = existing.get();
    if (!g)
    {
        p.m_MotionGroups.push_back(std::make_unique<GxNcMotionGroup>());
        g = p.m_MotionGroups.back().get();
        g->m_MotionGroupName = group;
    }
    g->m_Motions.push_back(std::make_unique<GxNcMotion>());
    GxNcMotion& m = *g->m_Motions.back();
    m.m_MotionName = name;
    m.m_EndTime = m.m_TotalDuration = end;
    return m;
}
GxNcImageKey Image(int32_t t, const std::wstring& file, int32_t pattern)
{
    GxNcImageKey k;
    k.m_Time = t;
    k.m_ImageSetName = L"effect.gis";
    k.m_ImageFileName = file;
    k.m_PatternIndex = pattern;
    return k;
}
GxNcVector4Key V4(int32_t t, float x, float y, float z, uint32_t mode = 1, float p = 0.0f)
{
    GxNcVector4Key k;
    k.m_Time = t;
    k.m_Value = GxVector4(x, y, z, 1.0f);
    k.m_InterMode = mode;
    k.m_InterParam0 = p;
    return k;
}
GxNcFloatKey F(int32_t t, float v)
{
    GxNcFloatKey k;
    k.m_Time = t;
    k.m_Value = v;
    return k;
}
// Layers as a chain of parents: the first layer at the top, each next one the child of the one before.
void Chain(GxNcMotion& m)
{
    GxNcLayerNode* below = nullptr;
    for (size_t i = m.m_Layers.size(); i-- > 0;)
    {
        GxNcLayerNode* node = new GxNcLayerNode();
        node->m_LayerName = m.m_Layers[i]->m_LayerName;
        node->m_LayerIndex = (int32_t)i;
        if (below)
            m.m_LayerTree.InsertChild(node, below, GxSimpleTree::InsertMode::Before);
        below = node;
    }
    if (below)
        m.m_LayerTree.SetRoot(below, GxSimpleTree::InsertMode::Before);
}

// "effect.gnc": hit/slash (a spark sweeping across, a ring opening), hit/fire (a growing core and the
// slash nested in it), heal/heal (a green ring with a spark as its child).
void WriteEffects(const std::filesystem::path& folder, std::vector<std::string>& problems)
{
    Pack(folder / "gnc" / "gis", L"effect.gis",
         {Round(L"spark.png", 32, 1, 0xFFC040, false), Round(L"ring.png", 64, 4, 0x80E0FF, true),
          Figure(L"unit.png", kUnitFigureWidth, kUnitFigureHeight, kSamplePlayerUnitColour),
          Figure(L"unit_invader.png", kUnitFigureWidth, kUnitFigureHeight, kSampleInvaderUnitColour, true)},
         problems);

    GxNcProject p;
    p.m_ProjectName = L"effect";
    GxNcMotion& slash = Motion(p, L"hit", L"slash", 30);
    GxNcLayer& blade = Layer(slash, L"blade");
    blade.m_ImageKeys = {Image(0, L"spark.png", 0)};
    blade.m_PositionKeys = {V4(0, -40, -20, 0), V4(20, 40, 20, 0)};
    blade.m_RotationKeys = {V4(0, 0, 0, 0), V4(29, 0, 0, 90)};
    blade.m_OpacityKeys = {F(0, 1.0f), F(29, 0.0f)};
    // Sparks and glows light up what is under them (additive); the ring is mixed in by its alpha. A layer
    // left on the default opaque copy would show its transparent corners as a black square.
    blade.m_BlendMode = 3;
    GxNcLayer& flash = Layer(slash, L"flash");
    for (int32_t i = 0; i < 4; ++i)
        flash.m_ImageKeys.push_back(Image(i * 6, L"ring.png", i));
    flash.m_ScaleKeys = {V4(0, 0.5f, 0.5f, 1, 2, 0.5f), V4(29, 1.5f, 1.5f, 1)};
    flash.m_BlendMode = 2;
    GxNcMotion& fire = Motion(p, L"hit", L"fire", 40);
    GxNcLayer& core = Layer(fire, L"core");
    core.m_ImageKeys = {Image(0, L"spark.png", 0)};
    core.m_ScaleKeys = {V4(0, 1, 1, 1, 3, 0.5f), V4(39, 3, 3, 1)};
    core.m_BlendMode = 3;
    GxNcLayer& nested = Layer(fire, L"nested");
    GxNcImageKey play;
    play.m_MotionGroupName = L"hit";
    play.m_MotionName = L"slash";
    nested.m_ImageKeys = {play};
    nested.m_BlendMode = 2;
    GxNcMotion& heal = Motion(p, L"heal", L"heal", 45);
    GxNcLayer& glow = Layer(heal, L"glow");
    glow.m_ImageKeys = {Image(0, L"ring.png", 3)};
    GxNcVector4x5Key green;
    for (GxVector4& c : green.m_Value)
        c = GxVector4(0.4f, 1.0f, 0.5f, 1.0f);
    glow.m_VertexColorKeys = {green};
    glow.m_BlendMode = 3;
    glow.m_OpacityKeys = {F(0, 0.0f), F(15, 1.0f), F(44, 0.0f)};
    GxNcLayer& rise = Layer(heal, L"rise");
    rise.m_ImageKeys = {Image(0, L"spark.png", 0)};
    rise.m_PositionKeys = {V4(0, 0, 20, 0), V4(44, 0, -40, 0)};
    rise.m_BlendMode = 3;
    for (GxNcMotion* m : {&slash, &fire})
    {
        GxNcLayerNode* last = nullptr;
        for (size_t i = 0; i < m->m_Layers.size(); ++i)
        {
            GxNcLayerNode* node = new GxNcLayerNode();
            node->m_LayerName = m->m_Layers[i]->m_LayerName;
            node->m_LayerIndex = (int32_t)i;
            if (last)
                m->m_LayerTree.InsertNext(last, node, GxSimpleTree::InsertMode::Before);
            else
                m->m_LayerTree.SetRoot(node, GxSimpleTree::InsertMode::Before);
            last = node;
        }
    }
    Chain(heal);

    std::error_code error;
    std::filesystem::create_directories(folder / "gnc", error);
    const std::filesystem::path path = folder / "gnc" / "effect.gnc";
    if (!GncProjectWriter::Write(path.string(), p, {L"effect.gis"}, GncForm::Binary))
        problems.push_back("cannot write " + path.string());
}

} // namespace

void WriteAnimationData(const std::filesystem::path& folder, const std::vector<SampleTable>& tables,
                        std::vector<std::string>& problems)
{
    WriteModuleSets(folder, tables, problems);
    WriteStartUpSets(folder, problems);
    WriteEffects(folder, problems);
}
