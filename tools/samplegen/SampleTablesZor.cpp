// The sample game's strategy tables: a handful of skills, facilities, units (the player's, a trap and
// the invaders), enemy parties built from those units, towns that send those parties and the weekly
// commands. Rows refer to each other by ID or by Name; CheckTables keeps the references whole.
#include "SampleTable.h"
#include "SampleTablesZorScreens.h"
#include "SampleZorInvasion.h"
#include "SampleZorCaptions.h"
#include "SampleZorNumberFields.h"
#include "SampleZorWindows.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

SampleTable ZorUIModule();
SampleTable ZorUILayout();

namespace
{

// The parties the arrival rules name, each made of the invaders (rows 61-69) its name suggests: a class
// word and a size ("X2".."X4"), or a mixed band for the named troops. "強化", "精鋭" and "異形" parties
// are stronger. Rows 57-65 are the unique parties the script may send; the towns' own parties follow.
const char* const s_PartyNames[] = {
    "PTファイターX2",
    "PTシーフX2",
    "PTソーサラーX2",
    "PTシャーマンX2",
    "PTプリーストX2",
    "PTファイターX3",
    "PTシーフX3",
    "PTソーサラーX3",
    "PTシャーマンX3",
    "PTプリーストX3",
    "PTファイター強化X3",
    "PTシーフ強化X3",
    "PTソーサラー強化X3",
    "PTシャーマン強化X3",
    "PTプリースト強化X3",
    "PTガーディアンX3",
    "PTパラディンX3",
    "PT退魔師X3",
    "PTメイガスX3",
    "PTシノビX3",
    "PTガーディアン強化X2",
    "PTパラディン強化X2",
    "PT退魔師強化X2",
    "PTメイガス強化X2",
    "PTシノビ強化X2",
    "PTガーディアン強化X3",
    "PTパラディン強化X3",
    "PT退魔師強化X3",
    "PTメイガス強化X3",
    "PTシノビ強化X3",
    "PT精鋭討伐隊",
    "PT精鋭探索隊",
    "PTファイターX4",
    "PTシーフX4",
    "PTソーサラーX4",
    "PTシャーマンX4",
    "PTプリーストX4",
    "PT討伐隊",
    "PT探索隊",
    "PT盗賊隊",
    "PT精鋭盗賊",
    "PT精鋭司祭",
    "PTウォーロード",
    "PTプロフェット",
    "PTオーバーテイカー",
    "PTトウリョウ",
    "PT異形のガーディアンX3",
    "PT異形のパラディンX3",
    "PT異形の退魔師X3",
    "PT異形のメイガスX3",
    "PT異形のシノビX3",
    "PT異形の討伐隊",
    "PT異形の探索隊",
    "PT異形の盗賊隊",
    "PT異形の精鋭討伐隊",
    "PT異形の精鋭探索隊",
    "PT異形の精鋭盗賊",
    "PT異形の精鋭司祭",
    "PT異形のウォーロード",
    "PT異形のプロフェット",
    "PT異形のオーバーテイカー",
    "PT異形のトウリョウ",
    "PT異形のファイターX4",
    "PT異形のシーフX2",
    "PT異形のソーサラーX2",
    "PT異形のシャーマンX2",
    "PT異形のプリーストX2",
    "PT異形のシーフX4",
    "PT異形のソーサラーX4",
    "PT異形のシャーマンX4",
    "PT異形のプリーストX4",
    "PTイーガー御一行",
    "PTリッチ御一行",
    "PTダイダロス御一行",
    "PTカラクード御一行",
    "PTダリアン御一行",
};

SampleRow Party(int id, const std::string& name, const std::string& units, const char* factor, const char* text)
{
    return SampleRow{{"ID", std::to_string(id)},
                     {"Name", name},
                     {"UnitName", units},
                     {"LevelMultiFactor", factor},
                     {"AIType", "0"},
                     {"AutoAppear", "1"},
                     {"Descript", text}};
}

std::string PartyUnits(const std::string& name)
{
    static const std::pair<const char*, const char*> s_Classes[] = {
        {"ファイター", "soldier"}, {"シーフ", "thief"},        {"ソーサラー", "sorcerer"}, {"シャーマン", "shaman"},
        {"プリースト", "priest"},  {"ガーディアン", "knight"}, {"パラディン", "knight"},   {"退魔師", "exorcist"},
        {"メイガス", "sorcerer"},  {"シノビ", "ninja"}};
    int count = 0;
    for (int n = 2; n <= 4; ++n)
        if (name.find("X" + std::to_string(n)) != std::string::npos)
            count = n;
    for (const auto& [word, unit] : s_Classes)
        if (count > 0 && name.find(word) != std::string::npos)
        {
            std::string units = unit;
            for (int i = 1; i < count; ++i)
                units += std::string("|") + unit;
            return units;
        }
    if (name.find("御一行") != std::string::npos)
        return "hero|knight|priest|sorcerer|soldier";
    return "knight|soldier|thief|sorcerer|priest";
}

SampleTable ZorEnemy()
{
    std::vector<SampleRow> rows;
    int id = 1;
    for (const char* name : s_PartyNames)
    {
        if (id == 57)
            id = 66;
        const std::string n = name;
        const bool strong = n.find("強化") != std::string::npos || n.find("精鋭") != std::string::npos ||
                            n.find("異形") != std::string::npos || n.find("御一行") != std::string::npos;
        rows.push_back(Party(id++, n, PartyUnits(n), strong ? "1.3" : "1.0", "冒険者の一行"));
    }
    for (int unique = 57; unique <= 65; ++unique)
        rows.push_back(Party(unique, "PT勇者の一行" + std::to_string(unique - 56), "hero|knight|priest", "1.2",
                             "勇者が率いる一行"));
    // The village's watch: six, its elder the leader in slot 5, weak enough for the first unit of a new
    // game to win the field alone, so a battle is fought there before the leader falls.
    rows.push_back(Party(id++, "militia", "villager|villager|villager|villager|villager|villager", "1.0",
                         "村の自警団"));
    rows.push_back(Party(id++, "knights", "knight|knight|soldier", "1.2", "騎士団の小隊"));
    rows.push_back(Party(id++, "heroes", "hero|knight|knight|soldier|soldier", "1.5", "勇者の一行"));
    // The story's first defence names this pair as its first and its named party (war.txt), so a new
    // player meets two scouts first and no hero's party.
    rows.push_back(Party(id++, "scouts", "thief|thief", "1.0", "城を探りに来た斥候"));
    return {"DBZorEnemy",
            "data/db_zorenemy.txt",
            120,
            {{"ID"}, {"Name"}, {"UnitName", 9}, {"LevelMultiFactor"}, {"AIType"}, {"AutoAppear"}, {"Descript"}},
            rows};
}

SampleTable ZorSkill()
{
    std::vector<SampleColumn> columns = {{"ID"},
                                         {"Name"},
                                         {"ShowName"},
                                         {"Type"},
                                         {"Element"},
                                         {"Range"},
                                         {"Power"},
                                         {"HitRate"},
                                         {"SpecialType"},
                                         {"SpecialRate"},
                                         {"RoomEffect"},
                                         {"SealFlag"},
                                         {"RestrictFlag"},
                                         {"SelfDamage"},
                                         {"ReadyTime"},
                                         {"CoolingTime"},
                                         {"DamageEffect"},
                                         {"CutinGNCName"},
                                         {"CutinMotionGroup"},
                                         {"CutinMotion"},
                                         {"Descript"}};
    auto skill = [](const char* id, const char* name, const char* shown, const char* type, const char* range,
                    const char* power, const char* effect, const char* text)
    {
        return SampleRow{{"ID", id},
                         {"Name", name},
                         {"ShowName", shown},
                         {"Type", type},
                         {"Element", "0"},
                         {"Range", range},
                         {"Power", power},
                         {"HitRate", "95"},
                         {"SpecialType", "0"},
                         {"SpecialRate", "0"},
                         {"RoomEffect", "0"},
                         {"SealFlag", "0"},
                         {"RestrictFlag", "0"},
                         {"SelfDamage", "0"},
                         {"ReadyTime", "30"},
                         {"CoolingTime", "60"},
                         {"DamageEffect", effect},
                         {"Descript", text}};
    };
    // Lilith's dark flame shows a cut-in (a motion of "zoreffect.gnc") that holds the game while it plays;
    // it charges slowly, so her other skills come first.
    SampleRow flame = skill("4", "darkflame", "闇の炎", "1", "1", "150", "eff_fire", "闇の炎で一体を焼く");
    for (auto& [column, value] : flame)
        if (column == "ReadyTime")
            value = "240";
    flame.insert(flame.end() - 1,
                 {{"CutinGNCName", "zoreffect.gnc"}, {"CutinMotionGroup", "zor"}, {"CutinMotion", "cutin"}});
    return {"DBZorSkill",
            "data/db_zorskill.txt",
            160,
            columns,
            {
                skill("1", "slash", "斬撃", "1", "1", "100", "eff_slash", "一体を斬りつける"),
                skill("2", "fire", "火炎", "1", "2", "80", "eff_fire", "周囲を焼き払う"),
                skill("3", "heal", "治癒", "2", "1", "50", "eff_heal", "味方一体を癒す"),
                flame,
            }};
}

SampleTable ZorStruct()
{
    std::vector<SampleColumn> columns = {
        {"ID"},       {"Name"},       {"ShowName"},          {"VisualImage"},     {"Enabled"},
        {"Limit"},    {"Capacity"},   {"PassCenter"},        {"CostBone"},        {"CostMagic"},
        {"CostGold"}, {"CreateTime"}, {"RequireExtendRank"}, {"RequireStructID"}, {"RequireInveigleUnitID"},
        {"Descript"}};
    auto facility = [](const char* id, const char* name, const char* shown, const char* enabled, const char* required,
                       const char* text)
    {
        return SampleRow{{"ID", id},
                         {"Name", name},
                         {"ShowName", shown},
                         {"VisualImage", std::string("struct_") + name},
                         {"Enabled", enabled},
                         {"Limit", "1"},
                         {"Capacity", "4"},
                         {"PassCenter", "1"},
                         {"CostBone", "100"},
                         {"CostMagic", "50"},
                         {"CostGold", "0"},
                         {"CreateTime", "600"},
                         {"RequireExtendRank", "0"},
                         {"RequireStructID", required},
                         {"RequireInveigleUnitID", "0"},
                         {"Descript", text}};
    };
    // The rules name some IDs: 1 a plain dug room, 6 the trap workshop (its centre blocks the way), 7-9
    // the bone, magic and gold income rooms, 15 the command post, 16 an entrance, 17 the throne, 18 a
    // locked room.
    auto fixed = [&](const char* id, const char* name, const char* shown, const char* enabled, const char* text)
    {
        SampleRow row = facility(id, name, shown, enabled, "0", text);
        for (auto& [column, value] : row)
            if (column == "Limit" || column == "CostBone" || column == "CostMagic" || column == "CreateTime")
                value = "0";
        return row;
    };
    SampleRow workshop = facility("6", "workshop", "罠工房", "1", "0", "罠を仕掛けられる");
    for (auto& [column, value] : workshop)
        if (column == "PassCenter")
            value = "0";
    return {"DBZorStruct",
            "data/db_zorstruct.txt",
            30,
            columns,
            {
                fixed("1", "room", "部屋", "1", "掘り広げた部屋"),
                facility("2", "barracks", "兵舎", "1", "0", "魔物を召喚できる"),
                facility("3", "treasury", "宝物庫", "0", "2", "財宝を蓄える"),
                // Facilities 2-5 are the ones the status bars count; 4 and 5 are not built in the sample.
                facility("4", "training", "訓練場", "0", "2", "配下を鍛える"),
                facility("5", "prison", "牢獄", "0", "2", "捕らえた者を閉じ込める"),
                workshop,
                facility("7", "ossuary", "骨置き場", "1", "0", "骨を集める"),
                facility("8", "altar", "魔力の祭壇", "1", "0", "魔力を集める"),
                facility("9", "vault", "金庫", "1", "2", "金貨を集める"),
                facility("15", "ST司令所", "司令所", "0", "2", "統率力を高める"),
                fixed("16", "entrance", "入口", "0", "侵入者の入口"),
                fixed("17", "throne", "玉座", "0", "魔王の座す部屋"),
                fixed("18", "locked", "封印の間", "0", "封じられた部屋"),
            }};
}

SampleTable ZorUnit()
{
    std::vector<SampleColumn> columns = {{"ID"},
                                         {"Name"},
                                         {"ShowName"},
                                         {"Class"},
                                         {"FaceIconImage"},
                                         {"VisualImage"},
                                         {"Enabled"},
                                         {"UniqueFlag"},
                                         {"HPMax"},
                                         {"ATK"},
                                         {"LevelLimit"},
                                         {"ExpMulti"},
                                         {"AutoHealHPRate"},
                                         {"DefRate", 6},
                                         {"CostBone"},
                                         {"CostMagic"},
                                         {"CostGold"},
                                         {"CostLeadership"},
                                         {"CreateTime"},
                                         {"RequireStructID"},
                                         {"RequireStructRank"},
                                         {"RequireInveigleUnitID"},
                                         {"GNCName"},
                                         {"MotionGroup"},
                                         {"Motion_stand"},
                                         {"Motion_attack"},
                                         {"Range"},
                                         {"Skill", 6},
                                         {"Descript"}};
    auto unit = [](const char* id, const char* name, const char* shown, const char* unitClass, const char* unique,
                   const char* hp, const char* atk, const char* skills, const char* structID, const char* text)
    {
        // Only the player's own kinds (classes 1-4) and traps start unlocked: the invaders' kinds are
        // never offered in the summon list.
        const int kind = std::atoi(unitClass);
        return SampleRow{{"ID", id},
                         {"Name", name},
                         {"ShowName", shown},
                         {"Class", unitClass},
                         {"FaceIconImage", std::string("icon_") + name},
                         {"VisualImage", std::string("card_") + name},
                         {"Enabled", kind <= 4 || kind == 20 ? "1" : "0"},
                         {"UniqueFlag", unique},
                         {"HPMax", hp},
                         {"ATK", atk},
                         {"LevelLimit", "30"},
                         {"ExpMulti", "1.0"},
                         {"AutoHealHPRate", "0.5"},
                         {"DefRate", "100|100|100|100|100|0"},
                         {"CostBone", "30"},
                         {"CostMagic", "10"},
                         {"CostGold", "20"},
                         {"CostLeadership", "1"},
                         {"CreateTime", "300"},
                         {"RequireStructID", structID},
                         {"RequireStructRank", "0"},
                         {"RequireInveigleUnitID", "0"},
                         {"GNCName", std::string("unit_") + name + ".gnc"},
                         {"MotionGroup", "unit"},
                         {"Motion_stand", "stand"},
                         {"Motion_attack", "attack"},
                         {"Range", "1"},
                         {"Skill", skills},
                         {"Descript", text}};
    };
    return {"DBZorUnit",
            "data/db_zorunit.txt",
            160,
            columns,
            {
                // Player units; 12 is the first unit of every new game.
                unit("1", "skeleton", "スケルトン", "2", "0", "150", "12", "1", "2", "倒れても起き上がる骸骨"),
                unit("3", "lilith", "リリス", "3", "1", "300", "30", "2|3|4", "2", "魔王に仕える魔女"),
                unit("4", "spike", "棘の罠", "20", "0", "1", "40", "", "6", "踏んだ者を刺す罠"),
                // Hitting hard enough, and lasting long enough against the rush party of four or five, that
                // four of the new game's five, in the throne room, win the story's first defence whatever
                // invaders it brings, in the first round and in the next (the lesson, SampleDefenceLesson.h,
                // tells a player so; tools/zorsim --first-defence and --next-round play it).
                unit("12", "goblin", "ゴブリン", "1", "0", "240", "30", "1", "0", "素早い小鬼"),
                // Invaders, rows 61-69.
                unit("61", "soldier", "兵士", "5", "0", "100", "10", "1", "0", "王国の兵士"),
                unit("62", "knight", "騎士", "6", "0", "200", "18", "1", "0", "重装の騎士"),
                unit("63", "hero", "勇者", "7", "1", "400", "35", "1|2|3", "0", "魔王を討つ者"),
                unit("64", "thief", "盗賊", "7", "0", "90", "12", "1", "0", "素早い盗賊"),
                unit("65", "sorcerer", "魔導師", "9", "0", "80", "16", "2", "0", "炎を操る魔導師"),
                unit("66", "shaman", "呪術師", "10", "0", "90", "12", "2|3", "0", "精霊を呼ぶ呪術師"),
                unit("67", "priest", "司祭", "11", "0", "90", "8", "3|1", "0", "仲間を癒す司祭"),
                unit("68", "ninja", "忍者", "8", "0", "110", "20", "1", "0", "影に潜む忍者"),
                unit("69", "exorcist", "退魔師", "12", "0", "120", "18", "1|2", "0", "魔を祓う者"),
                // The village's watch, who only defend their town.
                unit("70", "villager", "村人", "5", "0", "24", "1", "1", "0", "村を守る村人"),
            }};
}

std::string MasterVoices()
{
    std::string cells;
    for (int i = 0; i < 22; ++i)
    {
        char name[32];
        std::snprintf(name, sizeof name, "zv_astaros_%03d", i + 1);
        cells += (i ? "|" : "") + std::string(name);
    }
    return cells;
}

SampleTable ZorVoice()
{
    return {"DBZorVoice",
            "data/db_zorvoice.txt",
            160,
            {{"ID"}, {"Name"}, {"VoicePath"}, {"VoiceVolumeID"}, {"Voice", 24}},
            {
                {{"ID", "3"},
                 {"Name", "lilith"},
                 {"VoicePath", "voices/lilith/"},
                 {"VoiceVolumeID", "1"},
                 {"Voice", "zv_lilith_001|zv_lilith_002|zv_lilith_003"}},
                // Row 45 holds the dungeon master's voices: the rules call cells 7-9 (a treasure taken),
                // 16-18 (the stage's opening, victory and defeat), 19 (an invasion's battle begins) and
                // 20-21 (the invasion won or lost).
                {{"ID", "45"},
                 {"Name", "astaros"},
                 {"VoicePath", "voices/astaros/"},
                 {"VoiceVolumeID", "1"},
                 {"Voice", MasterVoices()}},
            }};
}

SampleTable ZorTown()
{
    std::vector<SampleColumn> columns = {
        {"ID"},           {"Name"},          {"ShowName"},   {"Enabled"},       {"ButtonName"},
        {"FlagPosX"},     {"FlagPosY"},      {"Occupied"},   {"RequireTownID"}, {"StartLabel"},
        {"VictoryLabel"}, {"DefeatedLabel"}, {"RewardBone"}, {"RewardMagic"},   {"RewardGold"},
        {"Notoriety"},    {"EnemyLevel"},    {"Order"},      {"DefaultParty"}};
    auto town = [](const char* id, const char* name, const char* shown, const char* enabled, const char* x,
                   const char* y, const char* required, const char* level, const char* party)
    {
        std::string upper = std::string("ZOR_") + name;
        return SampleRow{{"ID", id},
                         {"Name", name},
                         {"ShowName", shown},
                         {"Enabled", enabled},
                         {"ButtonName", std::string("btn_town_") + name},
                         {"FlagPosX", x},
                         {"FlagPosY", y},
                         {"Occupied", "0"},
                         {"RequireTownID", required},
                         {"StartLabel", upper + "_START"},
                         {"VictoryLabel", upper + "_VICTORY"},
                         {"DefeatedLabel", upper + "_DEFEATED"},
                         {"RewardBone", "200"},
                         {"RewardMagic", "100"},
                         {"RewardGold", "300"},
                         {"Notoriety", "1"},
                         {"EnemyLevel", level},
                         {"Order", id},
                         {"DefaultParty", party}};
    };
    return {"DBZorTown",
            "data/db_zortown.txt",
            20,
            columns,
            {
                town("1", "village", "辺境の村", "1", "220.0", "480.5", "0", "1", "militia"),
                town("2", "fort", "国境の砦", "1", "460.0", "320.0", "1", "5", "knights"),
                town("3", "capital", "王都", "0", "760.5", "180.0", "2", "10", "heroes"),
            }};
}

SampleTable ZorCommand()
{
    auto command = [](const char* id, const char* name, const char* shown, const char* enabled, const char* function,
                      const char* type, const char* amount, const char* help)
    {
        std::string label = std::string("ZOR_CMD_") + name;
        for (char& c : label)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return SampleRow{{"ID", id},
                         {"Name", name},
                         {"ShowName", shown},
                         {"Enabled", enabled},
                         {"Function", function},
                         {"Label", label},
                         {"ResourceType", type},
                         {"ResourceAmount", amount},
                         {"Descript", help}};
    };
    // Resource letters: B bone, M magic, G gold, N free, S a heading row.
    return {"DBZorCommand",
            "data/db_zorcommand.txt",
            120,
            {{"ID"},
             {"Name"},
             {"ShowName"},
             {"Enabled"},
             {"Function"},
             {"Label"},
             {"ResourceType"},
             {"ResourceAmount"},
             {"Descript"}},
            {
                command("1", "heading", "【今週の行動】", "1", "0", "S", "0", ""),
                command("2", "harvest", "骨集め", "1", "0", "B", "100", "骨で人手を雇い、骨を集める"),
                command("3", "ritual", "儀式", "1", "0", "M", "50", "魔力を捧げる儀式で、魔力を蓄える"),
                command("4", "plunder", "略奪", "0", "0", "G", "200", "近くの村から金を300奪う"),
                command("5", "rest", "休息", "1", "0", "N", "0", "何もせずに１週間休む"),
                command("6", "invade", "侵攻", "1", "1", "N", "0", "地図を開いて攻める町を選ぶ"),
                command("7", "newround", "新たな周回", "1", "0", "N", "0", "今の配下を連れて次の周回へ"),
            }};
}

} // namespace

std::vector<SampleTable> ZorTables()
{
    SampleTable modules = ZorUIModule();
    SampleTable layouts = ZorUILayout();
    AddZorScreenRows(modules, layouts);
    AddZorInvasionRows(modules, layouts);
    std::vector<std::string> problems;
    AddZorWindowRows(modules, layouts, problems);
    AddZorCaptionRows(modules, layouts, problems);
    AddZorNumberFieldRows(modules, layouts);
    for (const std::string& problem : problems)
        std::fprintf(stderr, "%s\n", problem.c_str());
    return {modules, layouts, ZorEnemy(), ZorSkill(), ZorStruct(), ZorUnit(), ZorVoice(), ZorTown(), ZorCommand()};
}
