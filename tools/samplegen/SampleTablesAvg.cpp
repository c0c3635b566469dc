#include "SampleTablesAvg.h"

#include "SamplePng.h"

#include <algorithm>

namespace
{

SampleRow Module(int id, const char* type, const std::string& name, const std::string& imageSet,
                 const std::string& image, int w, int h, int clientLeft = 0, int clientTop = 0, int clientW = -1,
                 int clientH = -1, int font = 0)
{
    return {{"ID", std::to_string(id)},
            {"UIType", type},
            {"ModuleName", name},
            {"ImageSetName", imageSet},
            {"ImageName", image},
            {"Width", std::to_string(w)},
            {"Height", std::to_string(h)},
            {"ClientLeft", std::to_string(clientLeft)},
            {"ClientTop", std::to_string(clientTop)},
            {"ClientWidth", std::to_string(clientW < 0 ? w : clientW)},
            {"ClientHeight", std::to_string(clientH < 0 ? h : clientH)},
            {"ShapeType", "0"},
            {"FontIndex", std::to_string(font)}};
}

SampleRow Layout(int id, const std::string& parent, const std::string& module, const std::string& name, int left,
                 int top, const std::string& z, bool visible, const std::string& help = "")
{
    return {{"ID", std::to_string(id)},
            {"ParentName", parent},
            {"ParentIndex", "0"},
            {"ModuleName", module},
            {"TaskName", name},
            {"TaskIndex", "0"},
            {"Create", "1"},
            {"Visible", visible ? "1" : "0"},
            {"Enabled", "1"},
            {"Left", std::to_string(left)},
            {"Top", std::to_string(top)},
            {"OrderZ", z},
            {"GroupID", "0"},
            {"AutoHelpTime", "0"},
            {"Descript", help}};
}

// The window's buttons: module name, UI type (18 push, 19 on/off), help text (what the button does; its
// label is its short name in SampleButtonLook.cpp).
const char* const s_Buttons[][3] = {
    {"btn_save", "18", "セーブ画面を開く"},
    {"btn_load", "18", "ロード画面を開く"},
    {"btn_qsave", "18", "今の場面をすぐに保存する"},
    {"btn_qload", "18", "クイックセーブした場面に戻る"},
    {"btn_rend", "18", "回想を終えてタイトルへ戻る"},
    {"btn_auto", "19", "文章を自動で進める"},
    {"btn_skip", "19", "読んだ文章を飛ばす"},
    {"btn_log", "18", "これまでの文章を読み返す"},
    {"btn_voice", "18", "今の台詞の声をもう一度聞く"},
    {"btn_config", "18", "文字の速さや音量を変える"},
    {"btn_hide", "18", "ウィンドウを隠す（右クリックでも）"},
};

std::string Solid(uint32_t w, uint32_t h, uint32_t argb)
{
    return EncodePng(w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, argb));
}

// A translucent frame for text: a dark fill the picture behind shows through, a two-pixel light edge with
// cut corners.
std::vector<uint32_t> TextFrame(uint32_t w, uint32_t h, uint32_t fill)
{
    std::vector<uint32_t> argb(static_cast<size_t>(w) * h, 0);
    constexpr uint32_t kCorner = 6;
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
        {
            const uint32_t dx = std::min(x, w - 1 - x), dy = std::min(y, h - 1 - y);
            if (dx + dy < kCorner)
                continue;
            const bool edge = dx < 2 || dy < 2 || dx + dy < kCorner + 2;
            argb[static_cast<size_t>(y) * w + x] = edge ? 0xE0D8E0F0u : fill;
        }
    return argb;
}

} // namespace

void AddAvgMainRows(SampleTable& modules, SampleTable& layouts)
{
    int moduleID = 32;
    // The message window reads on its translucent frame in font 2 (23 pixels; a line takes the ruby's
    // 11 above it, so 35 pixels a line); the name plate in font 3 (24 pixels), its text area the plate's
    // whole height, so the name (11 pixels down for the ruby) sits inside the plate's edge.
    modules.rows.push_back(
        Module(moduleID++, "9", "tip_msgwindow", "", "cg/ui/msgwin", 900, 180, 40, 28, 820, 120, 2));
    modules.rows.push_back(
        Module(moduleID++, "10", "tip_namewindow", "", "cg/ui/namewin", 240, 40, 16, 0, 208, 40, 3));
    // A choice bar draws its text from the top of its client area: 8 pixels down, a 24-pixel line sits in
    // the middle of the 40-pixel bar.
    modules.rows.push_back(Module(moduleID++, "21", "btn_select0", "ui_avgmain", "btn_select", 480, 40, 0, 8, 480, 24, 3));
    // The click-wait mark: an arrow bobbing through the patterns of its picture.
    modules.rows.push_back(Module(moduleID++, "16", "icon_wait", "ui_avgmain", "icon_wait", 24, 24));
    for (const auto& button : s_Buttons)
        modules.rows.push_back(Module(moduleID++, button[1], button[0], "ui_avgmain", button[0], 64, 24));

    // The window's buttons draw over the window (15000) and the name plate (15001), and so over the
    // characters, whose depths come from the story (1000 and up).
    int layoutID = 229;
    layouts.rows.push_back(
        Layout(layoutID++, "$UI:SeqAvgMain", "tip_msgwindow", "$MESWIN:SeqAvgMain", 62, 570, "15000.0", true));
    layouts.rows.push_back(
        Layout(layoutID++, "$UI:SeqAvgMain", "tip_namewindow", "$NAMEWIN:SeqAvgMain", 62, 524, "15001.0", true));
    int left = 120;
    for (const auto& button : s_Buttons)
    {
        layouts.rows.push_back(
            Layout(layoutID++, "$MESWIN:SeqAvgMain", button[0], button[0], left, 150, "15002.0", true, button[2]));
        left += 68;
    }
    layouts.rows.push_back(
        Layout(layoutID++, "$MESWIN:SeqAvgMain", "icon_wait", "icon_wait", 860, 120, "15002.0", false));
}

std::vector<std::pair<std::string, std::string>> AvgMainPictures()
{
    std::vector<uint32_t> rule(1024u * 768u);
    for (uint32_t y = 0; y < 768; ++y)
        for (uint32_t x = 0; x < 1024; ++x)
            rule[y * 1024 + x] = 0xFF000000u | ((x / 4) * 0x010101u); // dark on the left goes first
    return {
        {"cg/bg/黒.png", Solid(1024, 768, 0xFF000000)},
        {"cg/bg/room.png", Solid(1024, 768, 0xFF806040)},
        {"cg/ev/ev01a.png", Solid(1024, 768, 0xFF4060A0)},
        {"cg/ev/ev01a_w.png", Solid(1280, 768, 0xFF4060A0)},
        {"cg/error.png", Solid(64, 64, 0xFFFF00FF)},
        {"cg/tr/wipe.png", EncodePng(1024, 768, rule)},
        {"cg/st/lilith/normal.png", Solid(300, 600, 0xFFE0A0C0)},
        {"cg/st/lilith/smile.png", Solid(120, 60, 0xFFFFD0E0)},
        {"cg/st/zorde/normal.png", Solid(320, 640, 0xFF402040)},
        {"cg/ui/msgwin.png", EncodePng(900, 180, TextFrame(900, 180, 0xB0101830))},
        {"cg/ui/namewin.png", EncodePng(240, 40, TextFrame(240, 40, 0xD0182848))},
    };
}
