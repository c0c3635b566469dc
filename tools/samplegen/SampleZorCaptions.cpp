#include "SampleZorCaptions.h"

#include "SampleLabel.h"

#include "core/GxString.h"

#include <map>

namespace
{

// The IDs after the defence windows' rows and after the invasion screen's rows, then those after the
// command window's rows.
constexpr int kModuleRanges[][2] = {{216, 224}, {240, 255}, {131, 139}};
constexpr int kLayoutRanges[][2] = {{420, 439}, {468, 511}, {259, 279}};

struct Caption
{
    const char* module;
    const char* text;
};

// One module per text, shared by every screen that shows it.
const Caption s_Captions[] = {
    {"cap_bone", "骨"},
    {"cap_magic", "魔力"},
    {"cap_gold", "金"},
    {"cap_leadership", "統率"},
    {"cap_barracks", "兵舎"},
    {"cap_treasury", "宝物庫"},
    {"cap_training", "訓練場"},
    {"cap_prison", "牢獄"},
    {"cap_weeks", "残り週"},
    {"cap_invaders", "残る侵入者"},
    {"cap_nextenemy", "↑ 次に来る侵入者と人数"},
    {"cap_seconds", "残り秒"},
    {"cap_takeover", "次の周回へ連れていく配下と特典を選び、「開始」を押してください"},
    {"cap_takeovergold", "引継ぎ資金"},
    {"cap_takeovercost", "選んだ配下の統率"},
    // Under the facility choice, which stays grey: a disabled button takes no hover, so its help tip
    // never shows, and this line says why instead.
    {"cap_takeoverstruct", "↑ この見本には引継ぐ施設がない"},
    // The headings of the build, summon and trap lists' columns.
    {"cap_facility", "施設"},
    {"cap_capacity", "定員"},
    {"cap_count", "数"},
    {"cap_unit", "配下"},
    {"cap_class", "種"},
    {"cap_trap", "罠"},
    {"cap_range", "範囲"},
    {"cap_attack", "攻撃"},
    // The room window's six effect levels and the command list's two columns.
    {"cap_roomeffect", "部屋の効果"},
    {"cap_command", "行動"},
    {"cap_cost", "費用"},
};

// Where a caption stands: its module, the layout group and the place within the group's widget.
struct Place
{
    const char* parent;
    const char* module;
    int left, top;
};

// The status bar of the command screen, the strategy map, the defence screen and the invasion screens
// draws its numbers at the same screen places: bone, magic and gold at y 630 from x 794, 847 and 900,
// the leadership in use over its maximum at (952, 616), the counts of facilities 2-5 ("LV%d") at y 685
// from x 797, 850, 903 and 956. Each caption stands above its number, the resources' and the
// leadership's clear of the "+n" pop-ups that rise over the resources at y 619 when they change. `dx`,
// `dy`: the screen place of the bar's panel.
void StatusBar(std::vector<Place>& out, const char* parent, int dx, int dy)
{
    const Place bar[] = {{parent, "cap_bone", 796, 598},      {parent, "cap_magic", 847, 598},
                         {parent, "cap_gold", 902, 598},      {parent, "cap_leadership", 954, 584},
                         {parent, "cap_barracks", 797, 667},  {parent, "cap_treasury", 848, 667},
                         {parent, "cap_training", 901, 667},  {parent, "cap_prison", 956, 667}};
    for (Place p : bar)
    {
        p.left -= dx;
        p.top -= dy;
        out.push_back(p);
    }
}

std::vector<Place> Places()
{
    std::vector<Place> out;
    StatusBar(out, "$ZORCOMBOTTOM:SeqZorCommand", 715, 507);
    StatusBar(out, "$ZORSTRBOTTOM:SeqZorStrategy", 715, 507);
    StatusBar(out, "$ZORBOTTOM1:SeqZorMain", 0, 571);
    StatusBar(out, "$ZORINVBOTTOM:SeqZorInvMain", 0, 507);
    // The weeks left (27, 37) of the command screen and the map; the invaders still to come (16, 40) and
    // the queue of the next parties of the defence screen (up to eight icons from (105, 14), 64 apart,
    // their sizes at +40, +40, the first one's arrival bar at y 70: a stage often shows only two or three,
    // so the caption stands under the first, where every queue begins); the seconds left (948, 37) and the
    // two formations' leadership (88, 264) and (128, 492) of the invasion screen.
    out.push_back({"$UI:SeqZorCommand", "cap_weeks", 28, 16});
    out.push_back({"$UI:SeqZorStrategy", "cap_weeks", 28, 16});
    out.push_back({"$UI:SeqZorMain", "cap_invaders", 8, 22});
    out.push_back({"$UI:SeqZorMain", "cap_nextenemy", 105, 80});
    // Each unit card of the defence screen's list draws its unit's leadership at (x + 2, 90) of the list
    // (card 0 at screen x 262, y 661): the caption stands before the first card's number.
    out.push_back({"$ZORBOTTOM1:SeqZorMain", "cap_leadership", 228, 90});
    // The invasion screen's cards do the same from (80, 619): card 0's leadership at (85, 661).
    out.push_back({"$ZORINVBOTTOM:SeqZorInvMain", "cap_leadership", 46, 154});
    // The room window draws its six effect levels in two columns of three from (276, 22); the command
    // list (at (-20, 96) of its window, text from 4 pixels in) its names and, 232 pixels on, their costs.
    out.push_back({"$ZORROOM:SeqZorMain", "cap_roomeffect", 276, 4});
    out.push_back({"$ZORCOMMAND:SeqZorCommand", "cap_command", -14, 78});
    out.push_back({"$ZORCOMMAND:SeqZorCommand", "cap_cost", 218, 78});
    out.push_back({"$UI:SeqZorInvMain", "cap_seconds", 950, 16});
    out.push_back({"$UI:SeqZorInvMain", "cap_leadership", 52, 265});
    out.push_back({"$UI:SeqZorInvMain", "cap_leadership", 92, 493});
    // The take-over screen: what to do there, the gold carried over (723, 28) and the chosen units'
    // leadership against the capacity (105, 706).
    out.push_back({"$UI:SeqZorTakeOver", "cap_takeover", 48, 24});
    out.push_back({"$UI:SeqZorTakeOver", "cap_takeovergold", 640, 32});
    out.push_back({"$UI:SeqZorTakeOver", "cap_takeovercost", 8, 686});
    // The facility choice (at (218, 64), 160 x 32): the line just under it, above the unit grid (y 115).
    out.push_back({"$UI:SeqZorTakeOver", "cap_takeoverstruct", 218, 98});
    // The defence windows' lists (at (8, 40) of their windows) draw a name and five columns each, the
    // columns starting where the widths the screen gives them add up to; each heading stands over its
    // column, in the 16 pixels between the window's buttons and the list.
    const struct
    {
        const char* window;
        const char* headings[6];
        int widths[5];
    } lists[] = {
        {"$ZORSTRUCT:SeqZorMain", {"cap_facility", "cap_capacity", "cap_count", "cap_bone", "cap_magic", "cap_gold"},
         {128, 32, 32, 40, 40}},
        {"$ZORSUMMON:SeqZorMain", {"cap_unit", "cap_class", "cap_leadership", "cap_bone", "cap_magic", "cap_gold"},
         {124, 38, 30, 40, 40}},
        {"$ZORTRAP:SeqZorMain", {"cap_trap", "cap_range", "cap_attack", "cap_bone", "cap_magic", "cap_gold"},
         {124, 36, 32, 40, 40}},
    };
    for (const auto& list : lists)
    {
        int x = 8;
        for (int column = 0; column < 6; ++column)
        {
            out.push_back({list.window, list.headings[column], x + 2, 23});
            if (column < 5)
                x += list.widths[column];
        }
    }
    return out;
}

// Just above the widget the caption stands on: windows 12000, panels 11000, the screens' own folders
// nothing drawn.
const char* Depth(const std::string& parent)
{
    if (parent.rfind("$UI:", 0) == 0)
        return "0.5";
    return parent.find("BOTTOM") != std::string::npos ? "11001" : "12001";
}

} // namespace

std::wstring ZorCaptionText(const std::string& module)
{
    for (const Caption& c : s_Captions)
        if (module == c.module)
            return GxString::FromUtf8(c.text);
    return {};
}

void AddZorCaptionRows(SampleTable& modules, SampleTable& layouts, std::vector<std::string>& problems)
{
    std::vector<int> moduleIDs, layoutIDs;
    for (const auto& r : kModuleRanges)
        for (int id = r[0]; id <= r[1]; ++id)
            moduleIDs.push_back(id);
    for (const auto& r : kLayoutRanges)
        for (int id = r[0]; id <= r[1]; ++id)
            layoutIDs.push_back(id);
    size_t m = 0;
    for (const Caption& c : s_Captions)
    {
        if (m == moduleIDs.size())
        {
            problems.push_back("the strategy captions overflow their module IDs");
            return;
        }
        // A picture as wide as its text and one line high: the text is written into it left-aligned.
        const int w = SampleLabel::Measure(GxString::FromUtf8(c.text), kSampleCaptionSize) + 4;
        modules.rows.push_back(UIModuleRow(moduleIDs[m++], "15", c.module, "ui_common", c.module, w < 8 ? 8 : w,
                                           kSampleCaptionSize + 2));
    }
    size_t l = 0;
    std::map<std::string, int> indexes; // a caption shown twice in one group takes the next index
    for (const Place& p : Places())
    {
        const int index = indexes[std::string(p.parent) + "/" + p.module]++;
        if (l == layoutIDs.size())
        {
            problems.push_back("the strategy captions overflow their layout IDs");
            return;
        }
        // Captions take no clicks: they pass the mouse to what is below (the map, the panel).
        SampleRow row = UILayoutRow(layoutIDs[l++], p.parent, p.module, p.module, index, p.left, p.top,
                                    Depth(p.parent), 0, "");
        for (auto& [column, value] : row)
            if (column == "Enabled")
                value = "0";
        layouts.rows.push_back(row);
    }
}
