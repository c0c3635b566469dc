#include "SampleZorWindows.h"

namespace
{

constexpr int kFirstModule = 195;
constexpr int kLastModule = 215; // 216-224: the list headers' captions (SampleZorCaptions.cpp)
constexpr int kFirstLayout = 370;
constexpr int kLastLayout = 419; // 420-439: the same

SampleRow Module(int id, const char* type, const std::string& name, int w, int h, bool picture = true)
{
    return UIModuleRow(id, type, name, picture ? "ui_zormain" : "", picture ? name : "", w, h, 0, 1);
}

// The windows stand at depth 12000 and the bar at 11000: their widgets go just above them, or the
// window's picture would cover them.
SampleRow Layout(int id, const std::string& parent, const std::string& module, const std::string& name, int index,
                 int left, int top, const char* order, const std::string& help)
{
    return UILayoutRow(id, parent, module, name, index, left, top, order, 0, help);
}

} // namespace

void AddZorWindowRows(SampleTable& modules, SampleTable& layouts, std::vector<std::string>& problems)
{
    int m = kFirstModule;
    // The list box draws no picture of its own (the window's is behind it): its rows fill the client area.
    modules.rows.push_back(Module(m++, "50", "lbox_zorwin", 328, 306, false));
    modules.rows.push_back(Module(m++, "31", "vsld_zorwin", 16, 306));
    modules.rows.push_back(Module(m++, "30", "hsld_zorwin_units", 300, 16));
    const struct
    {
        const char* name;
        int w, h;
    } buttons[] = {{"btn_zorwin_run", 80, 20},    {"btn_zorwin_cancel", 80, 20},  {"btn_zorwin_ok", 80, 28},
                   {"btn_zorwin_build", 80, 28},  {"btn_zorwin_summon", 36, 24},  {"btn_zorwin_trap", 36, 24},
                   {"btn_zorwin_remove", 36, 24}, {"btn_zorwin_dispose", 36, 24}, {"btn_zorwin_pick", 64, 40},
                   {"btn_zorwin_delete", 20, 20}};
    for (const auto& b : buttons)
        modules.rows.push_back(Module(m++, "18", b.name, b.w, b.h));

    int l = kFirstLayout;
    const struct
    {
        const char* window;
        const char* list;
        const char* help;
    } lists[] = {{"$ZORSTRUCT:SeqZorMain", "lbox_struct", "建てる施設を選びます"},
                 {"$ZORTRAP:SeqZorMain", "lbox_trap", "仕掛ける罠を選びます"},
                 {"$ZORSUMMON:SeqZorMain", "lbox_summon", "召喚するユニットを選びます"}};
    for (const auto& w : lists)
    {
        layouts.rows.push_back(Layout(l++, w.window, "lbox_zorwin", w.list, 0, 8, 40, "12001", w.help));
        layouts.rows.push_back(Layout(l++, w.window, "vsld_zorwin", "vsld_selectitem", 0, 336, 40, "12001", ""));
        // The run and cancel buttons keep to the window's top 22 pixels: the list's column headings stand
        // under them.
        layouts.rows.push_back(
            Layout(l++, w.window, "btn_zorwin_run", "btn_zorrun", 0, 184, 2, "12001", "選んだものを作る"));
        layouts.rows.push_back(
            Layout(l++, w.window, "btn_zorwin_cancel", "btn_zorcancel", 0, 272, 2, "12001", "作らずに閉じる"));
    }
    const std::string room = "$ZORROOM:SeqZorMain";
    layouts.rows.push_back(
        Layout(l++, room, "btn_zorwin_build", "btn_structbuild", 0, 180, 134, "12001", "施設を建てる"));
    layouts.rows.push_back(Layout(l++, room, "btn_zorwin_ok", "btn_zorok", 0, 270, 134, "12001", "閉じる"));
    const struct
    {
        const char* module;
        const char* name;
        int x;
        const char* help;
    } slots[] = {{"btn_zorwin_summon", "btn_unitsummon", 190, "召喚"},
                 {"btn_zorwin_trap", "btn_trapcreate", 230, "罠設置"},
                 {"btn_zorwin_remove", "btn_unitremove", 270, "回収"},
                 {"btn_zorwin_dispose", "btn_unitdispose", 310, "解雇/廃棄"}};
    for (int i = 0; i < 5; ++i)
        for (const auto& s : slots)
            layouts.rows.push_back(Layout(l++, room, s.module, s.name, i, s.x, 175 + 68 * i, "12001", s.help));
    // The cards of the unit list stand at x 260 + 90 i of the bar: the pick-up button over the face, the
    // dismiss button beside it.
    const std::string bar = "$ZORBOTTOM1:SeqZorMain";
    for (int i = 0; i < 6; ++i)
    {
        layouts.rows.push_back(
            Layout(l++, bar, "btn_zorwin_pick", "btn_unitlist", i, 260 + 90 * i, 48, "11001", "部屋へ配置する"));
        layouts.rows.push_back(
            Layout(l++, bar, "btn_zorwin_delete", "btn_unitdelete", i, 326 + 90 * i, 48, "11001", "解雇する"));
    }
    layouts.rows.push_back(Layout(l++, bar, "hsld_zorwin_units", "hsld_unitlist", 0, 520, 176, "11001", ""));
    if (m - 1 > kLastModule || l - 1 > kLastLayout)
        problems.push_back("the defence windows' UI rows overflow their ID range");
}

std::vector<SampleIcon> ZorWindowIcons()
{
    std::vector<SampleIcon> icons = {
        {L"tip_unitroom.png", 350, 64, 0x60304060, 0},         {L"icon_na.png", 56, 56, 0xC0802020, 8},
        {L"hbar_time_large_back.png", 56, 8, 0xFF202020, 0}, {L"hbar_unithp_large_back.png", 58, 10, 0xFF202020, 0},
        {L"hbar_unitexp_back.png", 82, 6, 0xFF202020, 0},      {L"hbar_unitexp_on.png", 80, 4, 0xFFE0E040, 0},
        {L"icon_build.png", 56, 56, 0x80C08040, 12},           {L"icon_unitsummon.png", 56, 56, 0x80A040C0, 12},
        {L"icon_unitarrange.png", 56, 56, 0x8040A0C0, 12},     {L"icon_unitheal.png", 56, 56, 0x8040C040, 16},
        {L"icon_position.png", 16, 24, 0xFFFFE040, 2},         {L"uniticon_bos_ast.png", 56, 56, 0xFF802060, 2},
    };
    const uint32_t effects[6] = {0xFF40C040, 0xFFA0A0A0, 0xFFC0C0C0, 0xFFC040C0, 0xFF40A040, 0xFF6020A0};
    for (int i = 0; i < 6; ++i)
        icons.push_back({L"icon_roomeffect_0" + std::to_wstring(i + 1) + L".png", 16, 16, effects[i], 2});
    // Faces (FaceIconImage) and pictures (VisualImage) of the sample's player units and facilities.
    for (const wchar_t* unit : {L"skeleton", L"lilith", L"spike", L"goblin"})
        icons.push_back({std::wstring(L"icon_") + unit + L".png", 56, 56, kSampleUnitFaceColour, 4});
    // The invaders' faces (the next-enemy queue shows the first unit of each party), and the cards'
    // pictures of both sides.
    const wchar_t* const invaders[] = {L"soldier", L"knight",  L"hero",     L"thief",   L"sorcerer",
                                       L"shaman",  L"priest", L"ninja",    L"exorcist", L"villager"};
    for (const wchar_t* unit : invaders)
        icons.push_back({std::wstring(L"icon_") + unit + L".png", 56, 56, kSampleInvaderFaceColour, 4});
    for (const wchar_t* unit : {L"skeleton", L"lilith", L"spike", L"goblin"})
        icons.push_back({std::wstring(L"card_") + unit + L".png", 84, 112, kSampleUnitFaceColour, 2});
    for (const wchar_t* unit : invaders)
        icons.push_back({std::wstring(L"card_") + unit + L".png", 84, 112, kSampleInvaderFaceColour, 2});
    for (const wchar_t* facility : {L"room", L"barracks", L"treasury", L"training", L"prison", L"workshop", L"ossuary", L"altar", L"vault",
                                    L"entrance", L"throne", L"locked"})
        icons.push_back({std::wstring(L"struct_") + facility + L".png", 208, 112, kSampleFacilityPictureColour, 4});
    return icons;
}
