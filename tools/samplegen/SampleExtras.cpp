// The extra screens of the sample game (see SampleExtras.h). Module IDs 100..105, 80..85 and 90..92, layout IDs
// 160..228 and 154..156 are theirs. Each event picture has a plain colour of its own and every thumbnail is
// its picture made small (a gallery entry's first picture, a replay scene's background), while the plates
// of what has not been seen are brown: a captured frame tells them apart by a probe pixel.
#include "SampleExtras.h"

#include "SampleButtonLook.h"
#include "SampleLabel.h"
#include "SamplePictures.h"
#include "SamplePng.h"

#include "../gncwriter/GisPacker.h"

#include "core/GxString.h"

#include <cstdint>
#include <tuple>

namespace
{

constexpr int kFirstLayout = 160;
// The music room's track names: one picture panel per track, lying in its select button (whose looks are a
// frame only), so a click on a name chooses its track.
constexpr int kFirstNameModule = 90;
constexpr int kFirstNameLayout = 154;
constexpr int kTracks = 3;
constexpr int kSlots = 25;

// Colours the run's probes look for: the plates and each event picture.
constexpr uint32_t kPlateColour = 0xFF806020; // brown plates
constexpr uint32_t kScreenWidth = 1024, kScreenHeight = 768;
constexpr uint32_t kThumbWidth = 160, kThumbHeight = 90;
const struct
{
    const char* name;
    uint32_t argb;
} s_Events[] = {{"ev01a", 0xFFC03030}, {"ev01b", 0xFF3030C0}, {"ev01c", 0xFFC0C030}, {"ev02a", 0xFF30A0A0},
                {"ev03a", 0xFFA040C0}, {"ev03b", 0xFFE08030}, {"ev04a", 0xFF6070E0}, {"ev04b", 0xFFE070A0}};

std::vector<uint32_t> EventPixels(const std::string& name, uint32_t width = kScreenWidth)
{
    for (const auto& ev : s_Events)
        if (name == ev.name)
            return std::vector<uint32_t>((size_t)width * kScreenHeight, ev.argb);
    return {};
}

// A screen-sized picture made thumbnail-sized: each thumbnail pixel takes the picture's pixel at the
// middle of the area it covers.
std::vector<uint32_t> Shrink(const std::vector<uint32_t>& screen)
{
    std::vector<uint32_t> thumb((size_t)kThumbWidth * kThumbHeight);
    for (uint32_t y = 0; y < kThumbHeight; ++y)
        for (uint32_t x = 0; x < kThumbWidth; ++x)
            thumb[(size_t)y * kThumbWidth + x] =
                screen[(size_t)((2 * y + 1) * kScreenHeight / (2 * kThumbHeight)) * kScreenWidth +
                       (2 * x + 1) * kScreenWidth / (2 * kThumbWidth)];
    return thumb;
}

// One module per button the screens use, so each carries its own label: (name, UIType, width, height,
// label, ID). The thumbnails and the music rows show pictures of their own and have no label.
const struct
{
    const char* name;
    const char* type;
    int width;
    int height;
    const char* label;
    int id;
} s_Modules[] = {
    {"extra_back", "18", 120, 40, "戻る", 100},  {"extra_play", "20", 120, 40, "再生", 101},
    {"extra_page1", "20", 40, 40, "1", 102},     {"extra_thumb", "18", 160, 90, "", 103},
    {"extra_track", "20", 240, 32, "", 104},     {"extra_tip", "18", 32, 32, "♪", 105},
    {"extra_prev", "18", 120, 40, "前へ", 80},   {"extra_next", "18", 120, 40, "次へ", 81},
    {"extra_stop", "20", 120, 40, "停止", 82},   {"extra_bgmprev", "18", 120, 40, "前の曲", 83},
    {"extra_bgmnext", "18", 120, 40, "次の曲", 84}, {"extra_page2", "20", 40, 40, "2", 85},
};

SampleTable* Find(std::vector<SampleTable>& tables, const std::string& className, const std::string& file)
{
    for (SampleTable& table : tables)
    {
        if (table.className == className && table.file == file)
            return &table;
    }
    return nullptr;
}

SampleRow Module(int id, const std::string& name, const char* type, int w, int h, const char* set = "ui_extra")
{
    const std::string ws = std::to_string(w), hs = std::to_string(h);
    return {{"ID", std::to_string(id)}, {"UIType", type},    {"ModuleName", name}, {"ImageSetName", set},
            {"ImageName", name},        {"Width", ws},       {"Height", hs},       {"ClientLeft", "0"},
            {"ClientTop", "0"},         {"ClientWidth", ws}, {"ClientHeight", hs}, {"ShapeType", "0"},
            {"FontIndex", "0"}};
}

SampleRow Layout(int id, const std::string& screen, const char* module, const char* name, int index, int left, int top,
                 int group = 0, int value = 0, const char* help = "")
{
    return {{"ID", std::to_string(id)},
            {"ParentName", "$UI:" + screen},
            {"ParentIndex", "0"},
            {"ModuleName", module},
            {"TaskName", name},
            {"TaskIndex", std::to_string(index)},
            {"Create", "1"},
            {"Visible", "1"},
            {"Enabled", "1"},
            {"Left", std::to_string(left)},
            {"Top", std::to_string(top)},
            {"OrderZ", "0.5"},
            {"GroupID", std::to_string(group)},
            {"Value", std::to_string(value)},
            {"AutoHelpTime", "0"},
            {"Descript", help}};
}

// btn_back, btn_prev, btn_next, the page buttons 1 and 2 (firstPage on) and the 25 thumbnail buttons of a
// page screen.
void PageLayout(std::vector<SampleRow>& rows, int& id, const std::string& screen, const char* select, int firstPage)
{
    rows.push_back(Layout(id++, screen, "extra_back", "btn_back", 0, 880, 700, 0, 0, "タイトルへ戻る"));
    rows.push_back(Layout(id++, screen, "extra_prev", "btn_prev", 0, 24, 700, 0, 0, "前のページを見る"));
    rows.push_back(Layout(id++, screen, "extra_next", "btn_next", 0, 160, 700, 0, 0, "次のページを見る"));
    for (int page = 1; page <= 2; ++page)
        rows.push_back(Layout(id++, screen, page == 1 ? "extra_page1" : "extra_page2", "btn_pageselect", page,
                              300 + 48 * page, 700, 3, page == firstPage, page == 1 ? "1ページ目" : "2ページ目"));
    for (int slot = 0; slot < kSlots; ++slot)
        rows.push_back(
            Layout(id++, screen, "extra_thumb", select, slot, 112 + 164 * (slot % 5), 100 + 116 * (slot / 5)));
}

GisPicture Solid(const std::wstring& name, uint32_t w, uint32_t h, uint32_t argb)
{
    GisPicture pic;
    pic.m_FileName = name;
    pic.m_Width = w;
    pic.m_Height = h;
    pic.m_Pixels.assign((size_t)w * h, argb);
    return pic;
}

// The track names in capitals of 5 x 7 cells, rows top first ('1' is ink).
const char* NameGlyph(char c)
{
    static const std::pair<char, const char*> s_Glyphs[] = {
        {'1', "00100011000010000100001000010001110"}, {'2', "01110100010000100010001000100011111"},
        {'3', "11110000010000101110000010000111110"}, {'A', "01110100011000111111100011000110001"},
        {'D', "11110100011000110001100011000111110"}, {'E', "11111100001000011110100001000011111"},
        {'I', "01110001000010000100001000010001110"}, {'L', "10000100001000010000100001000011111"},
        {'M', "10001110111010110101100011000110001"}, {'T', "11111001000010000100001000010000100"},
        {'Y', "10001100010101000100001000010000100"}, {'Z', "11111000010001000100010001000011111"},
    };
    for (const auto& [ch, bits] : s_Glyphs)
        if (ch == c)
            return bits;
    return nullptr;
}

// A name picture: the text in light ink, three pixels to a cell, on the track's colour.
GisPicture NamePicture(const std::wstring& file, const char* text, uint32_t argb)
{
    GisPicture pic = Solid(file, 240, 32, argb);
    constexpr uint32_t kInk = 0xFFF0F0E0, kScale = 3;
    uint32_t left = 12;
    for (const char* c = text; *c; ++c, left += 6 * kScale)
    {
        const char* bits = NameGlyph(*c);
        for (uint32_t cell = 0; bits && cell < 35; ++cell)
            if (bits[cell] == '1')
                for (uint32_t dy = 0; dy < kScale; ++dy)
                    for (uint32_t dx = 0; dx < kScale; ++dx)
                        pic.m_Pixels[(size_t)(5 + (cell / 5) * kScale + dy) * 240 + left + (cell % 5) * kScale + dx] =
                            kInk;
    }
    return pic;
}

// The names of the music table's tracks 1..3 (タイトル, 日常, 迷宮) and their plates' colours.
const struct
{
    const char* text;
    uint32_t argb;
} s_TrackNames[kTracks] = {{"1 TITLE", 0xFF304050}, {"2 DAILY", 0xFF305040}, {"3 MAZE", 0xFF504030}};

std::string TrackNameModule(int track)
{
    return "bgmname_0" + std::to_string(track);
}

// The four looks of a button module: a frame only (so thumbnails drawn over them stay visible).
void ButtonLooks(std::vector<GisPicture>& pictures, const char* name, uint32_t w, uint32_t h)
{
    const wchar_t* suffixes[] = {L"_off.png", L"_on.png", L"_over.png", L"_na.png"};
    const uint32_t edges[] = {0xFF8090A0, 0xFFFFFFFF, 0xFFE0E040, 0xFF404040};
    for (int i = 0; i < 4; ++i)
    {
        GisPicture pic = Solid(GxString::FromUtf8(name) + suffixes[i], w, h, 0x00000000);
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x)
                if (x < 2 || y < 2 || x + 2 >= w || y + 2 >= h)
                    pic.m_Pixels[(size_t)y * w + x] = edges[i];
        pictures.push_back(std::move(pic));
    }
}

} // namespace

void AddExtraRows(std::vector<SampleTable>& tables)
{
    if (SampleTable* cg = Find(tables, "DBCGMode", "data/db_cgmode.txt"))
        cg->rows.push_back({{"ID", "4"}, {"Group", "2"}, {"Thumbnail", "thumb_ev04"}, {"FileName", "ev04a|ev04b"}});
    if (SampleTable* modules = Find(tables, "DBUIModule", "data/db_uimodule.txt"))
    {
        for (const auto& m : s_Modules)
            modules->rows.push_back(Module(m.id, m.name, m.type, m.width, m.height));
        for (int track = 1; track <= kTracks; ++track)
            modules->rows.push_back(
                Module(kFirstNameModule + track - 1, TrackNameModule(track), "15", 240, 32, "ui_bgmname"));
    }
    SampleTable* layout = Find(tables, "DBUILayout", "data/db_uilayout.txt");
    if (!layout)
        return;
    std::vector<SampleRow>& rows = layout->rows;
    int id = kFirstLayout;
    const std::string music = "SeqBGMMode";
    rows.push_back(Layout(id++, music, "extra_back", "btn_back", 0, 880, 700, 0, 0, "タイトルへ戻る"));
    rows.push_back(Layout(id++, music, "extra_play", "btn_bgmplay", 0, 300, 600, 1, 0, "選んだ曲を流す"));
    rows.push_back(Layout(id++, music, "extra_stop", "btn_bgmstop", 0, 440, 600, 1, 0, "曲を止める"));
    rows.push_back(Layout(id++, music, "extra_bgmprev", "btn_bgmprev", 0, 160, 600, 0, 0, "一つ前の曲を流す"));
    rows.push_back(Layout(id++, music, "extra_bgmnext", "btn_bgmnext", 0, 580, 600, 0, 0, "一つ後の曲を流す"));
    for (int track = 1; track <= 3; ++track)
        rows.push_back(Layout(id++, music, "extra_track", "btn_bgmselect", track, 400, 120 + 48 * track, 2));
    rows.push_back(Layout(id++, music, "extra_tip", "tip_playing", 0, 363, 168));
    for (int track = 1; track <= kTracks; ++track)
    {
        const std::string module = TrackNameModule(track);
        rows.push_back(
            Layout(kFirstNameLayout + track - 1, music, module.c_str(), "tip_bgmname", track, 400, 120 + 48 * track));
        // A panel that takes input would catch the click meant for the button under it.
        for (auto& [column, value] : rows.back())
            if (column == "Enabled")
                value = "0";
    }
    // Both open on page 1, its button on: the page buttons' index is the page their rows name in Group.
    PageLayout(rows, id, "SeqCGMode", "btn_cgselect", 1);
    PageLayout(rows, id, "SeqRPMode", "btn_rpselect", 1);
}

std::vector<std::pair<std::filesystem::path, std::string>> ExtraFiles()
{
    std::vector<std::pair<std::filesystem::path, std::string>> files;
    const struct
    {
        const char* name;
        uint32_t argb;
        const wchar_t* title;
        bool completion;
    } backgrounds[] = {{"bg_bgmmode.png", 0xFF102030, L"音楽鑑賞", false},
                       {"bg_cgmode.png", 0xFF201030, L"ギャラリー", true},
                       {"bg_rpmode.png", 0xFF102018, L"回想", true}};
    // Screen-sized, the title at the top left. The gallery and the replay screen draw how much of them is
    // seen as a number ("%3d" from (868, 53)): its caption stands before it and the per cent sign after.
    for (const auto& bg : backgrounds)
    {
        std::vector<uint32_t> pixels(1024 * 768, bg.argb);
        SampleLabel::DrawLeft(pixels, 1024, 768, bg.title, SampleLabel::kColour, 40, 24, 16, 48);
        if (bg.completion)
        {
            SampleLabel::DrawLeft(pixels, 1024, 768, L"達成率", SampleLabel::kColour, 22, 780, 54, 28);
            SampleLabel::DrawLeft(pixels, 1024, 768, L"%", SampleLabel::kColour, 22, 946, 54, 28);
        }
        files.emplace_back(std::filesystem::path("cg") / "ui" / bg.name, EncodePng(1024, 768, pixels));
    }
    // Event pictures fill the screen (the story shows ev01a and ev02a as its scenes, the viewer each).
    for (const auto& ev : s_Events)
        files.emplace_back(std::filesystem::path("cg") / "ev" / (std::string(ev.name) + ".png"),
                           EncodePng(kScreenWidth, kScreenHeight, EventPixels(ev.name)));
    // The wide version of the first, which "ev" loads beside it and a save's thumbnail shows: the same
    // picture, twice as wide.
    files.emplace_back(std::filesystem::path("cg") / "ev" / "ev01a_w.png",
                       EncodePng(2 * kScreenWidth, kScreenHeight, EventPixels("ev01a", 2 * kScreenWidth)));
    return files;
}

void WriteExtraSets(const std::filesystem::path& folder, std::vector<std::string>& problems)
{
    const std::filesystem::path uigis = folder / "uigis";
    std::error_code error;
    std::filesystem::create_directories(uigis, error);
    auto pack = [&](const std::wstring& name, const std::vector<GisPicture>& pictures)
    {
        GxNcCrammedImageSet set;
        if (!GisPacker::Build(uigis.string() + "/", name, pictures, GncForm::Binary, set, 512))
            problems.push_back("cannot write the image set uigis/" + GxString::ToUtf8(name));
    };
    // The buttons' looks share "ui_extra.gis" with the plates: the screens pool that set on entry. A plate
    // stands for a picture or a scene not seen yet, and says so along its lower edge.
    std::vector<GisPicture> extra;
    for (const wchar_t* plate : {L"tip_cgplate.png", L"tip_rpplate.png"})
    {
        GisPicture pic = Solid(plate, kThumbWidth, kThumbHeight, kPlateColour);
        SampleLabel::DrawCentred(pic.m_Pixels, kThumbWidth, kThumbHeight, L"まだ見ていない", SampleLabel::kColour, 18,
                                 0, 66, kThumbWidth, 22);
        extra.push_back(std::move(pic));
    }
    for (const auto& m : s_Modules)
    {
        if (*m.label)
            SampleButtonLook::Append(extra, GxString::FromUtf8(m.name), (uint32_t)m.width, (uint32_t)m.height,
                                     GxString::FromUtf8(m.label), false);
        else
            ButtonLooks(extra, m.name, (uint32_t)m.width, (uint32_t)m.height);
    }
    pack(L"ui_extra.gis", extra);
    std::vector<GisPicture> names;
    for (int track = 1; track <= kTracks; ++track)
        names.push_back(NamePicture(GxString::FromUtf8(TrackNameModule(track) + ".png"), s_TrackNames[track - 1].text,
                                    s_TrackNames[track - 1].argb));
    pack(L"ui_bgmname.gis", names);
    std::vector<GisPicture> cg, rp;
    auto thumbnail = [](const wchar_t* name, const std::vector<uint32_t>& screen)
    {
        GisPicture thumb = Solid(name, kThumbWidth, kThumbHeight, 0);
        thumb.m_Pixels = Shrink(screen);
        return thumb;
    };
    // A gallery entry's thumbnail is its first picture (the table's first FileName cell).
    for (const auto& [t, first] : {std::pair{L"thumb_ev01", "ev01a"},
                                   {L"thumb_ev02", "ev02a"},
                                   {L"thumb_ev03", "ev03a"},
                                   {L"thumb_ev04", "ev04a"}})
        cg.push_back(thumbnail(t, EventPixels(first)));
    // A replay thumbnail is the background its scene opens on, with the scene's name (the row's help
    // text) along its lower edge.
    for (const auto& [t, name, background] :
         {std::tuple{L"thumb_rp01", L"出会い", "forest"}, std::tuple{L"thumb_rp02", L"決戦前夜", "castle"}})
    {
        GisPicture thumb = thumbnail(t, StoryBackground(background));
        SampleLabel::DrawCentred(thumb.m_Pixels, kThumbWidth, kThumbHeight, name, SampleLabel::kColour, 18, 0, 66,
                                 kThumbWidth, 22);
        rp.push_back(std::move(thumb));
    }
    pack(L"th_cgmode.gis", cg);
    pack(L"th_rpmode.gis", rp);
}
