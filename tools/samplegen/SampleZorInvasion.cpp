#include "SampleZorInvasion.h"

#include <string>

namespace
{

// This screen's ID ranges: modules 225-239, layouts 440-467 (the captions take the rest).
constexpr int kFirstModule = 225;
constexpr int kFirstLayout = 440;

SampleRow Module(int id, const char* type, const std::string& name, int w, int h)
{
    return UIModuleRow(id, type, name, "ui_zorinvmain", name, w, h);
}

// The bottom panel stands at depth 11000: the widgets on it go just above, or its picture covers them.
SampleRow Layout(int id, const std::string& parent, const std::string& module, const std::string& name, int index,
                 int left, int top, const std::string& help, int group = 0)
{
    const char* order = parent == "$ZORINVBOTTOM:SeqZorInvMain" ? "11001" : "0.5";
    return UILayoutRow(id, parent, module, name, index, left, top, order, group, help);
}

} // namespace

void AddZorInvasionRows(SampleTable& modules, SampleTable& layouts)
{
    int m = kFirstModule;
    for (const char* tab : {"btn_unittab_all", "btn_unittab_ready", "btn_unittab_heroine", "btn_unittab_employment"})
        modules.rows.push_back(Module(m++, "20", tab, 96, 28));
    modules.rows.push_back(Module(m++, "18", "btn_unitlist", 84, 128));
    modules.rows.push_back(Module(m++, "30", "hsld_unitlist", 720, 16));
    for (const char* button : {"btn_openthewar", "btn_cancelthewar", "btn_autoform", "btn_removeall"})
        modules.rows.push_back(Module(m++, "18", button, 96, 32));
    modules.rows.push_back(Module(m++, "18", "btn_remove", 20, 20));

    int l = kFirstLayout;
    const std::string bottom = "$ZORINVBOTTOM:SeqZorInvMain";
    const char* const tabs[][2] = {{"btn_unittab_all", "すべて"},
                                   {"btn_unittab_ready", "編成可能"},
                                   {"btn_unittab_heroine", "ヒロイン"},
                                   // Units standing in the dungeon's rooms, not those being healed
                                   // (the defence screen's fourth tab).
                                   {"btn_unittab_employment", "部屋の配下"}};
    for (int i = 0; i < 4; ++i)
        layouts.rows.push_back(Layout(l++, bottom, tabs[i][0], tabs[i][0], 0, 80 + 100 * i, 76, tabs[i][1], 1));
    // The cards are drawn by the unit list over these buttons (80 + 90 i, from y 112 of the bar).
    for (int i = 0; i < 8; ++i)
        layouts.rows.push_back(Layout(l++, bottom, "btn_unitlist", "btn_unitlist", i, 78 + 90 * i, 110, "この配下を編成に加える"));
    layouts.rows.push_back(Layout(l++, bottom, "hsld_unitlist", "hsld_unitlist", 0, 80, 240, "スクロール"));
    layouts.rows.push_back(Layout(l++, bottom, "btn_autoform", "btn_autoform", 0, 800, 8,
                                  "部屋にいない傷の癒えた配下を、敵によく効く順に両方の枠へ並べる"));
    layouts.rows.push_back(Layout(l++, bottom, "btn_removeall", "btn_removeall", 0, 904, 8, "編成をすべて空ける"));
    // The war buttons sit on the bar's lower edge: a help tip opens 24 pixels above the pointer, and from
    // there it ends below the facility counts' row (to y 701 of the screen).
    layouts.rows.push_back(Layout(l++, bottom, "btn_openthewar", "btn_openthewar", 0, 800, 229, "この編成で戦を始める"));
    layouts.rows.push_back(Layout(l++, bottom, "btn_cancelthewar", "btn_cancelthewar", 0, 904, 229, "攻めるのをやめて戻る"));
    layouts.rows.push_back(Layout(l++, bottom, "btn_zorconfig", "btn_zorconfig", 0, 8, 8, "文字の速さや音量を変える"));
    // One remove button at the top right of each formation slot: formation 0 slots 0-4 are indexes 0-4,
    // formation 1 slots 0-4 are 5-9 (78 x 78 slots from (64, 150) and (104, 378), 100 apart).
    for (int i = 0; i < 10; ++i)
    {
        const int left = (i < 5 ? 64 : 104) + 100 * (i % 5) + 58;
        const int top = i < 5 ? 150 : 378;
        layouts.rows.push_back(Layout(l++, "$UIFIELD:SeqZorInvMain", "btn_remove", "btn_remove", i, left, top, "外す"));
    }
}
