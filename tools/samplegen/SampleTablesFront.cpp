// The sample game's adventure tables. Rows are small on purpose: one of each kind of thing the screens
// and builtins look up, named so the later screens, pictures and scripts can be added beside them.
#include "SampleTable.h"
#include "SampleTablesAvg.h"

namespace
{

SampleTable AvgChar()
{
    return {"DBAvgChar",
            "data/db_avgchar.txt",
            80,
            {{"ID"},
             {"CharName"},
             {"SubLayerNum"},
             {"StandPath"},
             {"NCProjFileName"},
             {"VoicePath"},
             {"VoiceVolumeID"},
             {"Comment"}},
            {
                {{"ID", "0"}, {"VoicePath", "*"}, {"Comment", "なし"}},
                {{"ID", "1"},
                 {"CharName", "リリス"},
                 {"SubLayerNum", "2"},
                 {"StandPath", "cg/st/lilith/"},
                 {"NCProjFileName", "lilith"},
                 {"VoicePath", "voices/lilith/"},
                 {"VoiceVolumeID", "1"},
                 {"Comment", "ヒロイン"}},
                {{"ID", "2"},
                 {"CharName", "ゾルデ"},
                 {"SubLayerNum", "1"},
                 {"StandPath", "cg/st/zorde/"},
                 {"NCProjFileName", "zorde"},
                 {"VoicePath", "voices/zorde/"},
                 {"VoiceVolumeID", "2"},
                 {"Comment", "魔王"}},
                {{"ID", "3"},
                 {"CharName", "村人"},
                 {"StandPath", "cg/st/villager/"},
                 {"VoicePath", "*"},
                 {"VoiceVolumeID", "0"},
                 {"Comment", "声なし"}},
            }};
}

SampleTable BGMMode()
{
    return {"DBBGMMode",
            "data/db_bgmmode.txt",
            60,
            {{"ID"}, {"Name"}, {"FileName"}, {"LoopPosTime"}, {"ButtonIndex"}},
            {
                {{"ID", "1"}, {"Name", "タイトル"}, {"FileName", "bgm01"}, {"LoopPosTime", "0"}, {"ButtonIndex", "0"}},
                {{"ID", "2"}, {"Name", "日常"}, {"FileName", "bgm02"}, {"LoopPosTime", "12000"}, {"ButtonIndex", "1"}},
                {{"ID", "3"}, {"Name", "迷宮"}, {"FileName", "bgm03"}, {"LoopPosTime", "0x2710"}, {"ButtonIndex", "2"}},
            }};
}

SampleTable CGMode()
{
    return {"DBCGMode",
            "data/db_cgmode.txt",
            200,
            {{"ID"}, {"Group"}, {"Thumbnail"}, {"FileName", 32}, {"Count"}},
            {
                {{"ID", "1"},
                 {"Group", "1"},
                 {"Thumbnail", "thumb_ev01"},
                 {"FileName", "ev01a|ev01b|ev01c"},
                 {"Count", "3"}},
                {{"ID", "2"}, {"Group", "1"}, {"Thumbnail", "thumb_ev02"}, {"FileName", "ev02a"}, {"Count", "1"}},
                {{"ID", "3"}, {"Group", "2"}, {"Thumbnail", "thumb_ev03"}, {"FileName", "ev03a|ev03b"}},
            }};
}

SampleTable RPMode()
{
    return {
        "DBRPMode",
        "data/db_rpmode.txt",
        200,
        {{"ID"}, {"Group"}, {"Thumbnail"}, {"Label"}, {"Help"}},
        // Pages count from 1, as the page buttons do: every row of a page takes a slot, so page 0 would be the
        // table's empty rows. One scene a page, the forest's and the castle's, so each page button has its own.
        {
            {{"ID", "1"}, {"Group", "1"}, {"Thumbnail", "thumb_rp01"}, {"Label", "REPLAY_01"}, {"Help", "出会い"}},
            {{"ID", "2"}, {"Group", "2"}, {"Thumbnail", "thumb_rp02"}, {"Label", "REPLAY_02"}, {"Help", "決戦前夜"}},
        }};
}

const std::vector<SampleColumn>& UIModuleColumns()
{
    static const std::vector<SampleColumn> s_Columns = {
        {"ID"},         {"UIType"},    {"ModuleName"},  {"ImageSetName"}, {"ImageName"}, {"Width"},    {"Height"},
        {"ClientLeft"}, {"ClientTop"}, {"ClientWidth"}, {"ClientHeight"}, {"ShapeType"}, {"FontIndex"}};
    return s_Columns;
}

const std::vector<SampleColumn>& UILayoutColumns()
{
    static const std::vector<SampleColumn> s_Columns = {
        {"ID"},      {"ParentName"}, {"ParentIndex"}, {"ModuleName"}, {"TaskName"},     {"TaskIndex"}, {"Create"},
        {"Visible"}, {"Enabled"},    {"Left"},        {"Top"},        {"OrderZ"},       {"GroupID"},   {"Text"},
        {"Label"},   {"Value"},      {"Min"},         {"Max"},        {"AutoHelpTime"}, {"Descript"}};
    return s_Columns;
}

// A push button module (widget type 18) drawn from an image set.
SampleRow ButtonModule(const std::string& id, const std::string& name, const std::string& imageSet,
                       const std::string& image)
{
    return {{"ID", id},           {"UIType", "18"},       {"ModuleName", name},   {"ImageSetName", imageSet},
            {"ImageName", image}, {"Width", "240"},       {"Height", "48"},       {"ClientLeft", "0"},
            {"ClientTop", "0"},   {"ClientWidth", "240"}, {"ClientHeight", "48"}, {"ShapeType", "0"},
            {"FontIndex", "0"}};
}

// A widget placed under a folder, created, visible and enabled.
SampleRow Placed(const std::string& id, const std::string& parent, const std::string& module, const std::string& name,
                 const std::string& left, const std::string& top, const std::string& help)
{
    return {{"ID", id},         {"ParentName", parent}, {"ParentIndex", "0"}, {"ModuleName", module},
            {"TaskName", name}, {"TaskIndex", "0"},     {"Create", "1"},      {"Visible", "1"},
            {"Enabled", "1"},   {"Left", left},         {"Top", top},         {"OrderZ", "0.5"},
            {"GroupID", "0"},   {"AutoHelpTime", "0"},  {"Descript", help}};
}

const char* const s_TitleButtons[][3] = {
    {"btn_title_start", "btn_start", "はじめから"},   {"btn_title_load", "btn_load", "つづきから"},
    {"btn_title_visual", "btn_visual", "ギャラリー"}, {"btn_title_event", "btn_event", "回想"},
    {"btn_title_music", "btn_music", "音楽鑑賞"},     {"btn_title_config", "btn_config", "設定"},
    {"btn_title_extra", "btn_extra", "おまけ"},       {"btn_title_exit", "btn_exit", "終了"},
};

SampleTable UIModule()
{
    SampleTable table{"DBUIModule", "data/db_uimodule.txt", 256, UIModuleColumns(), {}};
    int id = 1;
    for (const auto& button : s_TitleButtons)
        table.rows.push_back(ButtonModule(std::to_string(id++), button[0], "ui_title", button[1]));
    return table;
}

SampleTable UILayout()
{
    SampleTable table{"DBUILayout", "data/db_uilayout.txt", 512, UILayoutColumns(), {}};
    int id = 1;
    int top = 360;
    for (const auto& button : s_TitleButtons)
    {
        table.rows.push_back(
            Placed(std::to_string(id++), "$UI:SeqTitle", button[0], button[0], "392", std::to_string(top), button[2]));
        top += 48;
    }
    return table;
}

SampleTable Effect()
{
    return {"DBEffect",
            "data/db_effect.txt",
            80,
            {{"ID"}, {"GNCName"}, {"MotionGroup"}, {"Motion"}, {"Name"}, {"Descript"}},
            {
                {{"ID", "1"},
                 {"GNCName", "effect.gnc"},
                 {"MotionGroup", "hit"},
                 {"Motion", "slash"},
                 {"Name", "eff_slash"},
                 {"Descript", "斬撃"}},
                {{"ID", "2"},
                 {"GNCName", "effect.gnc"},
                 {"MotionGroup", "hit"},
                 {"Motion", "fire"},
                 {"Name", "eff_fire"},
                 {"Descript", "火炎"}},
                {{"ID", "3"},
                 {"GNCName", "effect.gnc"},
                 {"MotionGroup", "heal"},
                 {"Motion", "heal"},
                 {"Name", "eff_heal"},
                 {"Descript", "回復"}},
            }};
}

} // namespace

std::vector<SampleTable> FrontTables()
{
    SampleTable modules = UIModule();
    SampleTable layouts = UILayout();
    AddAvgMainRows(modules, layouts);
    return {AvgChar(), BGMMode(), CGMode(), RPMode(), modules, layouts, Effect()};
}

// The strategy game's UI rows live in their own files but share the ID space of the tables above:
// modules from 128, layout rows from 256.
// The command list ends above the command window's help text (y 394 of the window). Its text is font 4
// (22 pixels on a 24-pixel row); a cost cell ("　骨　   100") then runs about 135 pixels past the code's
// first column of 232, more than the window's 360-pixel width holds, so the list stands 20 pixels out
// over the window's left edge.
SampleTable ZorUIModule()
{
    SampleTable table{"DBUIModule", "data/db_uimodule_zor.txt", 256, UIModuleColumns(), {}};
    table.rows.push_back({{"ID", "128"},
                          {"UIType", "50"},
                          {"ModuleName", "lbox_command"},
                          {"ImageSetName", ""},
                          {"ImageName", "cg/ui/panel_list"},
                          {"Width", "380"},
                          {"Height", "288"},
                          {"ClientLeft", "4"},
                          {"ClientTop", "8"},
                          {"ClientWidth", "372"},
                          {"ClientHeight", "272"},
                          {"ShapeType", "0"},
                          {"FontIndex", "4"}});
    table.rows.push_back({{"ID", "129"},
                          {"UIType", "31"},
                          {"ModuleName", "vsld_selectitem"},
                          {"ImageSetName", "ui_zormain"},
                          {"ImageName", "vslider"},
                          {"Width", "24"},
                          {"Height", "288"},
                          {"ClientLeft", "0"},
                          {"ClientTop", "12"},
                          {"ClientWidth", "24"},
                          {"ClientHeight", "264"},
                          {"ShapeType", "0"},
                          {"FontIndex", "0"}});
    table.rows.push_back(ButtonModule("130", "btn_zorrun", "ui_zormain", "btn_run"));
    return table;
}

SampleTable ZorUILayout()
{
    SampleTable table{"DBUILayout", "data/db_uilayout_zor.txt", 512, UILayoutColumns(), {}};
    // The command window stands at depth 12000: its list, scroll bar and button go just above it, or its
    // picture would cover them.
    table.rows.push_back(
        Placed("256", "$ZORCOMMAND:SeqZorCommand", "lbox_command", "lbox_command", "-20", "96", "今週の行動を選びます"));
    // Every command fits in the list's rows, so its scroll bar stays hidden: the cost column runs where it
    // would stand.
    table.rows.push_back(
        Placed("257", "$ZORCOMMAND:SeqZorCommand", "vsld_selectitem", "vsld_selectitem", "336", "96", ""));
    for (auto& [column, value] : table.rows.back())
        if (column == "Visible")
            value = "0";
    table.rows.push_back(
        Placed("258", "$ZORCOMMAND:SeqZorCommand", "btn_zorrun", "btn_zorrun", "16", "440", "選んだ行動を実行します"));
    for (SampleRow& row : table.rows)
        for (auto& [column, value] : row)
            if (column == "OrderZ")
                value = "12001";
    return table;
}
