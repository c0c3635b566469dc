#include "SampleTablesZorScreens.h"

#include "SamplePng.h"

namespace
{

SampleRow Module(int id, const char* type, const std::string& name, const std::string& imageSet,
                 const std::string& image, int w, int h)
{
    return UIModuleRow(id, type, name, imageSet, image, w, h);
}

// The bottom panels stand at depth 11000: the buttons on them go just above.
SampleRow Layout(int id, const std::string& parent, const std::string& module, const std::string& name, int left,
                 int top, const std::string& help, int value = 0)
{
    const bool onPanel = parent.rfind("$UI:", 0) != 0;
    SampleRow row = UILayoutRow(id, parent, module, name, 0, left, top, onPanel ? "11001" : "0.5", 0, help);
    if (value != 0)
        row.push_back({"Value", std::to_string(value)});
    return row;
}

std::string Solid(uint32_t w, uint32_t h, uint32_t argb)
{
    return EncodePng(w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, argb));
}

// A fill with a one-pixel edge.
std::string Framed(uint32_t w, uint32_t h, uint32_t fill, uint32_t edge)
{
    std::vector<uint32_t> argb(static_cast<size_t>(w) * h, fill);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
            if (x == 0 || y == 0 || x + 1 == w || y + 1 == h)
                argb[static_cast<size_t>(y) * w + x] = edge;
    return EncodePng(w, h, argb);
}

} // namespace

void AddZorScreenRows(SampleTable& modules, SampleTable& layouts)
{
    int m = 140;
    // The windows are plain picture panels; the views draw over them.
    modules.rows.push_back(Module(m++, "15", "tip_zorwindow_command", "ui_zormain", "window_command", 360, 507));
    modules.rows.push_back(Module(m++, "15", "tip_zorcommand_bottom", "ui_zormain", "bottom_command", 309, 261));
    for (const char* button : {"btn_zorconfig", "btn_zorsave", "btn_zorload", "btn_stopthewar"})
        modules.rows.push_back(Module(m++, "18", button, "ui_zormain", button, 96, 32));
    // The take-over screen loads only the invasion's set.
    modules.rows.push_back(Module(m++, "18", "btn_gamestart", "ui_zorinvmain", "btn_gamestart", 96, 32));
    // The towns and the take-over choices: a module each, so each picture carries its own name.
    for (const char* town : {"btn_town_village", "btn_town_fort", "btn_town_capital"})
        modules.rows.push_back(Module(m++, "18", town, "ui_zormain", town, 64, 64));
    // The defence and invasion screens' windows and menu: panels the views draw over.
    const struct
    {
        const char* name;
        int w, h;
    } windows[] = {{"tip_zorwindow_room", 360, 507},   {"tip_zorwindow_struct", 360, 507},
                   {"tip_zorwindow_trap", 360, 507},   {"tip_zorwindow_summon", 360, 507},
                   {"tip_zorwindow_bottom0", 1024, 64}, {"tip_zorwindow_bottom1", 1024, 197},
                   {"tip_zorinvwindow_bottom", 1024, 261}};
    for (const auto& w : windows)
        // Each its own picture: pictures are made once per name, in the size of the first row naming it.
        modules.rows.push_back(Module(m++, "15", w.name, "ui_zormain", w.name, w.w, w.h));
    // A menu module's height is the height of one of its lines (head, each item, foot).
    modules.rows.push_back(Module(m++, "40", "menu_zor", "ui_zormain", "menu_zor", 160, 24));
    // The take-over screen's pieces live in the set that screen adds itself.
    for (const char* choice : {"btn_takeover_time", "btn_takeover_struct", "btn_takeover_gold", "btn_takeover_lerdership"})
        modules.rows.push_back(Module(m++, "19", choice, "ui_zorinvmain", choice, 160, 32));
    modules.rows.push_back(Module(m++, "31", "vsld_selectunit", "ui_zorinvmain", "vsld_selectunit", 24, 560));

    int l = 280;
    const std::string bottom = "$ZORCOMBOTTOM:SeqZorCommand";
    layouts.rows.push_back(Layout(l++, bottom, "btn_zorconfig", "btn_zorconfig", 8, 200, "文字の速さや音量を変える"));
    layouts.rows.push_back(Layout(l++, bottom, "btn_zorsave", "btn_zorsave", 108, 200, "今の週を保存する"));
    layouts.rows.push_back(Layout(l++, bottom, "btn_zorload", "btn_zorload", 208, 200, "保存した場面を読み込む"));
    // The towns of db_zortown.txt: button name and its place on the map, the town ID as the value.
    const struct
    {
        const char* name;
        int id, x, y;
        const char* help;
    } towns[] = {{"btn_town_village", 1, 188, 448, "村"}, {"btn_town_fort", 2, 428, 288, "砦"},
                 {"btn_town_capital", 3, 728, 148, "王都"}};
    for (const auto& t : towns)
        layouts.rows.push_back(Layout(l++, "$UI:SeqZorStrategy", t.name, t.name, t.x, t.y, t.help, t.id));
    layouts.rows.push_back(
        Layout(l++, "$ZORSTRBOTTOM:SeqZorStrategy", "btn_stopthewar", "btn_stopthewar", 8, 200, "攻めずに指令画面へ戻る"));
    layouts.rows.push_back(
        Layout(l++, "$UI:SeqZorTakeOver", "vsld_selectunit", "vsld_selectunit", 920, 115, "スクロール"));
    int left = 48;
    for (const auto& [choice, help] : {std::pair{"btn_takeover_time", "時間を引継ぐ"},
                                       {"btn_takeover_struct", "施設を引継ぐ（この見本では得られない）"},
                                       {"btn_takeover_gold", "資金を引継ぐ"},
                                       {"btn_takeover_lerdership", "統率を引継ぐ"}})
    {
        layouts.rows.push_back(Layout(l++, "$UI:SeqZorTakeOver", choice, choice, left, 64, help));
        left += 170;
    }
    layouts.rows.push_back(
        Layout(l++, "$UI:SeqZorTakeOver", "btn_gamestart", "btn_gamestart", 880, 700, "ゲームを始める"));
}

std::vector<std::pair<std::string, std::string>> ZorScreenPictures()
{
    return {
        {"cg/bg/bg_zorcommand.png", Solid(1024, 768, 0xFF302018)},
        {"cg/bg/bg_zorstrategy.png", Solid(1024, 768, 0xFF284020)},
        {"cg/bg/bg_takeover.png", Solid(1024, 768, 0xFF202838)},
        {"cg/uizor/bg_zorinvmain.png", Solid(1024, 768, 0xFF382028)},
        // The command list's frame (a picture file of its own, as the list box reads it); its edge shows
        // where it stands out over the command window's.
        {"cg/ui/panel_list.png", Framed(380, 288, 0xFF182030, 0xFF8090B0)},
    };
}
