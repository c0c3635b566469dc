// The sample game's rows for the screens every run passes through: the system dialogs and the help tip
// (owned by the system sequence), the save and load screens and the configuration screen. Module IDs from
// 106 and from 50 (one per labelled button), layout rows from 64 (below the strategy game's 128 and 256),
// in the adventure's files; their pictures are made from these rows like every module's.
#include "SampleLabel.h"
#include "SamplePng.h"
#include "SampleTable.h"

#include <algorithm>
#include <string>

namespace
{

SampleRow Module(int id, int type, const std::string& name, const std::string& set, const std::string& image, int w,
                 int h, int clientLeft = 0, int clientTop = 0, int font = 0)
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
            {"FontIndex", std::to_string(font)}};
}

SampleRow Layout(int id, const std::string& parent, const std::string& module, const std::string& name, int index,
                 int left, int top, bool visible = true, int group = 0, const std::string& help = "")
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
            {"AutoHelpTime", "0"},
            {"Descript", help}};
}

// A slider or a radio button with its value (and a slider's range).
SampleRow Valued(int id, const std::string& parent, const std::string& module, const std::string& name, int index,
                 int left, int top, int group, int value, int min = 0, int max = 1, const std::string& help = "")
{
    SampleRow row = Layout(id, parent, module, name, index, left, top, true, group, help);
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
    // The dialogs' questions in font 4 (22 pixels), the help tip's text in font 1 (15 pixels).
    modules->rows.push_back(Module(id++, 17, "dlg_shutdown", "ui_common", "dlg", 480, 200, 24, 24, 4));
    modules->rows.push_back(Module(id++, 17, "dlg_user", "ui_common", "dlg", 480, 200, 24, 24, 4));
    modules->rows.push_back(Module(id++, 18, "btn_yes", "ui_common", "btn_yes", 120, 40));
    modules->rows.push_back(Module(id++, 18, "btn_no", "ui_common", "btn_no", 120, 40));
    modules->rows.push_back(Module(id++, 18, "btn_ok", "ui_common", "btn_ok", 120, 40));
    modules->rows.push_back(Module(id++, 18, "btn_cancel", "ui_common", "btn_cancel", 120, 40));
    modules->rows.push_back(Module(id++, 45, "tip_help", "ui_common", "tip", 240, 40, 8, 8, 1));
    // One page button per page, each with its number. These and the configuration screen's own buttons
    // take module IDs from 50, below the extra screens'.
    int own = 50;
    for (int k = 1; k <= 10; ++k)
        modules->rows.push_back(
            Module(own++, 20, "btn_page" + std::to_string(k), "ui_saveload", "page" + std::to_string(k), 40, 40));
    modules->rows.push_back(Module(id++, 18, "btn_fileplate", "ui_saveload", "plate", 460, 120));
    modules->rows.push_back(Module(id++, 15, "tip_new", "ui_saveload", "new", 48, 24));
    modules->rows.push_back(Module(id++, 18, "btn_back", "ui_saveload", "back", 120, 40));

    int row = 64;
    for (const std::string screen : {"$UI:SeqSave", "$UI:SeqLoad"})
    {
        for (int k = 1; k <= 10; ++k)
        {
            const std::string name = (k < 10 ? "b0" : "b") + std::to_string(k);
            layout->rows.push_back(Layout(row++, screen, "btn_page" + std::to_string(k), name, 0, 52 + 48 * (k - 1), 80,
                                          true, 1, std::to_string(k) + "ページ目のスロット"));
        }
        // Plate i: column i / 4, row i % 4, framing the thumbnail at (52 + 484 c, 150 + 131 r).
        for (int i = 0; i < 8; ++i)
            layout->rows.push_back(
                Layout(row++, screen, "btn_fileplate", "btn_fileplate", i, 40 + 484 * (i / 4), 140 + 131 * (i % 4)));
        layout->rows.push_back(Layout(row++, screen, "tip_new", "tip_new", 0, 446, 151, false));
        layout->rows.push_back(Layout(row++, screen, "btn_back", "btn_back", 0, 880, 700, true, 0, "元の画面に戻る"));
    }

    // The configuration screen: tabs and screen buttons in $UI, one folder per tab. On/off pairs are
    // radio buttons of a group of their own; the waits and the opacity are shown negated.
    // Every tab, screen button and switch is a module of its own, so each picture carries its own label.
    const std::string ui = "$UI:SeqConfig", sys = "$UI_SYSTEM:SeqConfig", snd = "$UI_SOUND:SeqConfig",
                      voice = "$UI_VOICE:SeqConfig", game = "$UI_GAME:SeqConfig";
    // Help texts say what a tab or button holds; the labels are the short names in SampleButtonLook.cpp.
    const char* const tabs[][2] = {{"btn_tabconf_system", "画面と文章の設定"},
                                   {"btn_tabconf_sound", "音量と文章の進み方"},
                                   {"btn_tabconf_voice", "人物ごとの声の音量"},
                                   {"btn_tabconf_game", "戦いの演出の設定"}};
    int tab = 0;
    for (const auto& [name, help] : tabs)
    {
        modules->rows.push_back(Module(own++, 20, name, "ui_config", std::string(name).substr(4), 160, 40));
        layout->rows.push_back(Valued(row++, ui, name, name, 0, 64 + 176 * tab, 40, 1, tab == 0 ? 1 : 0, 0, 1, help));
        ++tab;
    }
    const char* const screenButtons[][3] = {{"btn_title", "btn_conf_title", "タイトル画面に戻る"},
                                            {"btn_init", "btn_conf_init", "すべての設定を最初の値にする"},
                                            {"btn_exit", "btn_conf_exit", "ゲームを終える"},
                                            {"btn_back", "btn_conf_back", "元の画面に戻る"}};
    int x = 64;
    for (const auto& [name, module, help] : screenButtons)
    {
        modules->rows.push_back(Module(own++, 18, module, "ui_config", std::string(module).substr(4), 160, 40));
        layout->rows.push_back(Layout(row++, ui, module, name, 0, x, 700, true, 0, help));
        x += 224;
    }
    modules->rows.push_back(Module(id++, 30, "hsld_config", "ui_config", "hslider", 320, 24));
    // The switches: (task name, module, label) for each side of a pair.
    const char* const switches[][3] = {{"btn_window", "btn_sw_window", "ウィンドウで遊ぶ"},
                                       {"btn_fullscreen", "btn_sw_full", "画面いっぱいで遊ぶ"},
                                       {"btn_on", "btn_sw_on", "この項目を使う"},
                                       {"btn_off", "btn_sw_off", "この項目を使わない"},
                                       {"btn_nextvoice", "btn_sw_voice", "声が終わってから次へ"},
                                       {"btn_nexttext", "btn_sw_text", "文字が出たら次へ"}};
    for (const auto& sw : switches)
        modules->rows.push_back(Module(own++, 20, sw[1], "ui_config", std::string(sw[1]).substr(4), 64, 32));
    auto switchOf = [&](const char* task) -> const char* const*
    {
        for (const auto& sw : switches)
            if (std::string(task) == sw[0])
                return sw;
        return switches[0];
    };
    auto pair = [&](const std::string& folder, const char* on, const char* off, int index, int top, int group)
    {
        const char* const* a = switchOf(on);
        const char* const* b = switchOf(off);
        layout->rows.push_back(Valued(row++, folder, a[1], on, index, 600, top, group, 0, 0, 1, a[2]));
        layout->rows.push_back(Valued(row++, folder, b[1], off, index, 680, top, group, 1, 0, 1, b[2]));
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

void GiveHelpTextsADelay(std::vector<SampleTable>& tables)
{
    constexpr const char* kHelpDelay = "600"; // milliseconds
    for (SampleTable& table : tables)
    {
        if (table.className != "DBUILayout")
            continue;
        for (SampleRow& row : table.rows)
        {
            const auto help = std::find_if(row.begin(), row.end(), [](const auto& c) { return c.first == "Descript"; });
            if (help == row.end() || help->second.empty())
                continue;
            auto delay = std::find_if(row.begin(), row.end(), [](const auto& c) { return c.first == "AutoHelpTime"; });
            if (delay == row.end())
                row.push_back({"AutoHelpTime", kHelpDelay});
            else if (delay->second.empty() || delay->second == "0")
                delay->second = kHelpDelay;
        }
    }
}

namespace
{

// A plain top-to-bottom gradient of the full screen.
std::vector<uint32_t> Gradient(uint32_t top, uint32_t bottom)
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
    return argb;
}

// A screen's background with its title at the top left and captions beside its rows: (text, top of
// the row, height of the row), written from x 120.
struct Caption
{
    const wchar_t* text;
    int32_t top;
    int32_t height;
};
std::string Titled(uint32_t top, uint32_t bottom, const wchar_t* title, int32_t titleLeft, int32_t titleTop,
                   std::initializer_list<Caption> captions = {})
{
    std::vector<uint32_t> argb = Gradient(top, bottom);
    SampleLabel::DrawLeft(argb, 1024, 768, title, SampleLabel::kColour, 36, titleLeft, titleTop, 40);
    for (const Caption& c : captions)
        SampleLabel::DrawLeft(argb, 1024, 768, c.text, SampleLabel::kColour, 22, 120, c.top, c.height);
    return EncodePng(1024, 768, argb);
}

} // namespace

// The front end's full-screen pictures: the title, save, load, backlog and configuration backgrounds (a
// plain gradient each, so a capture shows which is up, with the screen's title and the configuration
// rows' captions) and the picture shown for any missing one.
std::vector<std::pair<std::string, std::string>> FrontPictures()
{
    const int32_t titleLeft = 780, titleTop = 8;
    std::vector<uint32_t> title = Gradient(0x203060, 0x602040);
    SampleLabel::DrawCentred(title, 1024, 768, L"Kestrelvane", SampleLabel::kColour, 72, 0, 120, 1024, 80);
    return {{"cg/ui/bg_title.png", EncodePng(1024, 768, title)},
            {"cg/ui/bg_save.png", Titled(0x204020, 0x103010, L"セーブ", 40, 24)},
            {"cg/ui/bg_load.png", Titled(0x202040, 0x101030, L"ロード", 40, 24)},
            {"cg/ui/bg_avglog.png", EncodePng(1024, 768, Gradient(0x101010, 0x303030))},
            {"cg/ui/bg_config_system.png",
             Titled(0x203040, 0x102030, L"設定", titleLeft, titleTop,
                    {{L"画面モード", 120, 32},
                     {L"文字の速さ", 170, 24},
                     {L"オートの速さ", 210, 24},
                     {L"ウィンドウの透明度", 250, 24},
                     {L"未読もスキップする", 300, 32},
                     {L"既読の文章は一度に表示", 350, 32},
                     {L"既読の文章の色を変える", 400, 32},
                     {L"選んだ選択肢の色を変える", 450, 32},
                     {L"選択後もオートを続ける", 500, 32},
                     {L"選択後もスキップを続ける", 550, 32}})},
            {"cg/ui/bg_config_sound.png",
             Titled(0x204030, 0x103020, L"設定", titleLeft, titleTop,
                    {{L"全体の音量", 120, 24},
                     {L"音楽", 170, 24},
                     {L"効果音", 220, 24},
                     {L"ムービー", 270, 24},
                     {L"声の間の音楽", 320, 24},
                     {L"次の文章へ進むのは", 400, 32},
                     {L"オートで声を待つ", 450, 32}})},
            {"cg/ui/bg_config_voice.png",
             Titled(0x402030, 0x301020, L"設定", titleLeft, titleTop,
                    {{L"声の音量", 120, 24},
                     {L"声 1", 170, 24},
                     {L"声 2", 220, 24},
                     {L"声 3", 270, 24},
                     {L"声 4", 320, 24}})},
            {"cg/ui/bg_config_game.png",
             Titled(0x403020, 0x302010, L"設定", titleLeft, titleTop,
                    {{L"戦闘の演出を飛ばす", 120, 32},
                     {L"必殺技の演出を飛ばす", 170, 32},
                     {L"戦闘の声を飛ばす", 220, 32}})},
            {"cg/error.png", EncodePng(1024, 768, Gradient(0xFF00FF, 0x400040))}};
}
