// The sample game's rows for the screens every run passes through: the system dialogs and the help tip
// (owned by the system sequence), the save and load screens and the configuration screen. Module IDs from
// 106, layout rows from 64 (below the strategy game's 128 and 256),
// in the adventure's files; their pictures are made from these rows like every module's.
#include "SamplePng.h"
#include "SampleTable.h"

#include <algorithm>
#include <string>

namespace
{

SampleRow Module(int id, int type, const std::string& name, const std::string& set, const std::string& image, int w,
                 int h, int clientLeft = 0, int clientTop = 0)
{
    return {{"ID", std::to_string(id)},
            {"UIType", std::to_string(type)},
            {"ModuleName", name},
            {"ImageSetName", set},
            {"ImageName", image},
            {"Width", std::to_string(w)},
            {"Height", std::to_string(h)},
            {"ClientLeft", std::to_string(clientLeft)},
            {"ClientTop", std::to_string(clientTop)},
            {"ClientWidth", std::to_string(w - 2 * clientLeft)},
            {"ClientHeight", std::to_string(h - 2 * clientTop)},
            {"ShapeType", "0"},
            {"FontIndex", "0"}};
}

SampleRow Layout(int id, const std::string& parent, const std::string& module, const std::string& name, int index,
                 int left, int top, bool visible = true, int group = 0)
{
    return {{"ID", std::to_string(id)},
            {"ParentName", parent},
            {"ParentIndex", "0"},
            {"ModuleName", module},
            {"TaskName", name},
            {"TaskIndex", std::to_string(index)},
            {"Create", "1"},
            {"Visible", visible ? "1" : "0"},
            {"Enabled", "1"},
            {"Left", std::to_string(left)},
            {"Top", std::to_string(top)},
            {"OrderZ", "0.5"},
            {"GroupID", std::to_string(group)},
            {"AutoHelpTime", "0"}};
}

// A slider or a radio button with its value (and a slider's range).
SampleRow Valued(int id, const std::string& parent, const std::string& module, const std::string& name, int index,
                 int left, int top, int group, int value, int min = 0, int max = 1)
{
    SampleRow row = Layout(id, parent, module, name, index, left, top, true, group);
    row.push_back({"Value", std::to_string(value)});
    row.push_back({"Min", std::to_string(min)});
    row.push_back({"Max", std::to_string(max)});
    return row;
}

SampleTable* Find(std::vector<SampleTable>& tables, const std::string& file)
{
    for (SampleTable& table : tables)
        if (table.file == file)
            return &table;
    return nullptr;
}

} // namespace

void AddSystemUIRows(std::vector<SampleTable>& tables)
{
    SampleTable* modules = Find(tables, "data/db_uimodule.txt");
    SampleTable* layout = Find(tables, "data/db_uilayout.txt");
    if (!modules || !layout)
        return;
    int id = 106;
    // Text panels (type 17) carry the dialogs' messages; buttons are type 18, the page buttons radio
    // buttons (type 20), the help tip type 45.
    modules->rows.push_back(Module(id++, 17, "dlg_shutdown", "ui_common", "dlg", 480, 200, 24, 24));
    modules->rows.push_back(Module(id++, 17, "dlg_user", "ui_common", "dlg", 480, 200, 24, 24));
    modules->rows.push_back(Module(id++, 18, "btn_yes", "ui_common", "btn_yes", 120, 40));
    modules->rows.push_back(Module(id++, 18, "btn_no", "ui_common", "btn_no", 120, 40));
    modules->rows.push_back(Module(id++, 18, "btn_ok", "ui_common", "btn_ok", 120, 40));
    modules->rows.push_back(Module(id++, 18, "btn_cancel", "ui_common", "btn_cancel", 120, 40));
    modules->rows.push_back(Module(id++, 45, "tip_help", "ui_common", "tip", 240, 40, 8, 8));
    modules->rows.push_back(Module(id++, 20, "btn_page", "ui_saveload", "page", 40, 40));
    modules->rows.push_back(Module(id++, 18, "btn_fileplate", "ui_saveload", "plate", 460, 120));
    modules->rows.push_back(Module(id++, 15, "tip_new", "ui_saveload", "new", 48, 24));
    modules->rows.push_back(Module(id++, 18, "btn_back", "ui_saveload", "back", 120, 40));

    int row = 64;
    for (const std::string screen : {"$UI:SeqSave", "$UI:SeqLoad"})
    {
        for (int k = 1; k <= 10; ++k)
        {
            const std::string name = (k < 10 ? "b0" : "b") + std::to_string(k);
            layout->rows.push_back(Layout(row++, screen, "btn_page", name, 0, 52 + 48 * (k - 1), 80, true, 1));
        }
        // Plate i: column i / 4, row i % 4, framing the thumbnail at (52 + 484 c, 150 + 131 r).
        for (int i = 0; i < 8; ++i)
            layout->rows.push_back(
                Layout(row++, screen, "btn_fileplate", "btn_fileplate", i, 40 + 484 * (i / 4), 140 + 131 * (i % 4)));
        layout->rows.push_back(Layout(row++, screen, "tip_new", "tip_new", 0, 446, 151, false));
        layout->rows.push_back(Layout(row++, screen, "btn_back", "btn_back", 0, 880, 700));
    }

    // The configuration screen: tabs and screen buttons in $UI, one folder per tab. On/off pairs are
    // radio buttons of a group of their own; the waits and the opacity are shown negated.
    modules->rows.push_back(Module(id++, 20, "btn_tabconf", "ui_config", "tab", 160, 40));
    modules->rows.push_back(Module(id++, 20, "btn_switch", "ui_config", "switch", 64, 32));
    modules->rows.push_back(Module(id++, 30, "hsld_config", "ui_config", "hslider", 320, 24));
    modules->rows.push_back(Module(id++, 18, "btn_config", "ui_config", "button", 160, 40));
    const std::string ui = "$UI:SeqConfig", sys = "$UI_SYSTEM:SeqConfig", snd = "$UI_SOUND:SeqConfig",
                      voice = "$UI_VOICE:SeqConfig", game = "$UI_GAME:SeqConfig";
    int tab = 0;
    for (const char* name : {"btn_tabconf_system", "btn_tabconf_sound", "btn_tabconf_voice", "btn_tabconf_game"})
        layout->rows.push_back(Valued(row++, ui, "btn_tabconf", name, 0, 64 + 176 * tab, 40, 1, tab == 0 ? 1 : 0)),
            ++tab;
    int x = 64;
    for (const char* name : {"btn_title", "btn_init", "btn_exit", "btn_back"})
        layout->rows.push_back(Layout(row++, ui, "btn_config", name, 0, x, 700)), x += 224;
    auto pair = [&](const std::string& folder, const char* on, const char* off, int index, int top, int group)
    {
        layout->rows.push_back(Valued(row++, folder, "btn_switch", on, index, 600, top, group, 0));
        layout->rows.push_back(Valued(row++, folder, "btn_switch", off, index, 680, top, group, 1));
    };
    auto slider = [&](const std::string& folder, const char* name, int index, int top, int min, int max)
    { layout->rows.push_back(Valued(row++, folder, "hsld_config", name, index, 560, top, 0, min, min, max)); };
    pair(sys, "btn_window", "btn_fullscreen", 1, 120, 10);
    slider(sys, "hsld_textspeed", 0, 170, -200, 0);
    slider(sys, "hsld_autospeed", 0, 210, -10000, -500);
    slider(sys, "hsld_winalpha", 0, 250, -255, 0);
    for (int i = 2; i <= 7; ++i)
        pair(sys, "btn_on", "btn_off", i, 250 + 50 * (i - 1), 10 + i);
    int top = 120;
    for (const char* name : {"hsld_vol_master", "hsld_vol_bgm", "hsld_vol_se", "hsld_vol_movie", "hsld_vol_rest"})
        slider(snd, name, 0, top, 0, 100), top += 50;
    pair(snd, "btn_nextvoice", "btn_nexttext", 1, 400, 20);
    pair(snd, "btn_on", "btn_off", 2, 450, 21);
    slider(voice, "hsld_vol_voicemaster", 0, 120, 0, 100);
    for (int i = 0; i < 4; ++i)
        slider(voice, "hsld_vol_voice", i, 170 + 50 * i, 0, 100);
    for (int i = 1; i <= 3; ++i)
        pair(game, "btn_on", "btn_off", i, 70 + 50 * i, 30 + i);
}

// The front end's full-screen pictures: the title, save and load backgrounds and the picture shown for
// any missing one, each a plain gradient so a capture shows which is up.
std::vector<std::pair<std::string, std::string>> FrontPictures()
{
    auto gradient = [](uint32_t top, uint32_t bottom)
    {
        const uint32_t w = 1024, h = 768;
        std::vector<uint32_t> argb(static_cast<size_t>(w) * h);
        for (uint32_t y = 0; y < h; ++y)
        {
            uint32_t c = 0xFF000000;
            for (int shift = 0; shift < 24; shift += 8)
            {
                const uint32_t a = (top >> shift) & 0xFF, b = (bottom >> shift) & 0xFF;
                c |= ((a * (h - 1 - y) + b * y) / (h - 1)) << shift;
            }
            std::fill(argb.begin() + static_cast<size_t>(y) * w, argb.begin() + static_cast<size_t>(y + 1) * w, c);
        }
        return EncodePng(w, h, argb);
    };
    return {{"cg/ui/bg_title.png", gradient(0x203060, 0x602040)},
            {"cg/ui/bg_save.png", gradient(0x204020, 0x103010)},
            {"cg/ui/bg_load.png", gradient(0x202040, 0x101030)},
            {"cg/ui/bg_avglog.png", gradient(0x101010, 0x303030)},
            {"cg/ui/bg_config_system.png", gradient(0x203040, 0x102030)},
            {"cg/ui/bg_config_sound.png", gradient(0x204030, 0x103020)},
            {"cg/ui/bg_config_voice.png", gradient(0x402030, 0x301020)},
            {"cg/ui/bg_config_game.png", gradient(0x403020, 0x302010)},
            {"cg/error.png", gradient(0xFF00FF, 0x400040)}};
}
