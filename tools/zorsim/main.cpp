// zorsim GAME --seed N --ticks T [--units N] [--save-at T2 --form text|binary] [--reseed-at T2] [--check]
// zorsim GAME --seed N --ticks T --first-defence [--next-round]
//
// Plays defence stages of a game folder (as tools/samplegen writes it) without a window: loads the
// strategy tables and the dungeon maps, starts a new game, places the first ready unit and summons N more
// into the dug rooms, begins a stage and runs T ticks, beginning a new stage whenever one is won or
// lost. Prints a line every 600 ticks and, last, a 64-bit FNV-1a digest of the final state's text-form
// save, so two runs can be compared byte for byte through one number.
//
// At tick T2, --save-at writes the state in the given form, loads it back and reseeds the random source
// with seed + T2; --reseed-at only reseeds. A save that loses nothing gives the digest of the uninterrupted
// run reseeded at the same tick. --check tests the invariants after every tick and fails on the first
// breach: resources 0..99999, master HP >= 0, leadership in use equal to the owned units' costs, room
// slots and units pointing at each other, and enemies left never rising within a stage.
//
// --first-defence plays instead the story's first stage the way the lord's lesson teaches it, doing what
// its lines ask and nothing more: the lines and what each asks come from one table,
// tools/samplegen/SampleDefenceLesson.h, from which samplegen writes them into the game's scripts/war.txt,
// and the run refuses a game whose script at CASTLE_DEFENCE does not say them. With the new game's five
// goblins ready, the lesson as it stands puts a goblin in each of the throne room's four slots and builds
// an ossuary in a dug room beside the throne; the stage is the one the "@zor_" lines that the script runs
// at CASTLE_DEFENCE set up before it opens the screen. It stops when that stage ends, or after T ticks,
// and prints "won", "lost" or "unfinished" with the invaders beaten before the digest.
//
// --next-round goes on, as a player who won that stage and chose "新たな周回" on the command screen: the
// round file is written (the units go back to the ready list first), the story's "ZOR_CMD_NEWROUND"
// grants its permanent take-over bonuses ("@setextraoption" lines of scripts/campaign.txt), the title
// starts a new game and the story leads through the same lessons into the same stage again, on the
// random draws that follow. Its outcome line follows the first's; then the take-over the campaign opens
// after it: every choice those bonuses offer ticked and the saved units chosen in order within the
// capacity, printed as "carried N units, gold G, weeks W, leadership base L, ready R".
//
// Motion lengths come from the units' animation projects in the game folder (loaded without textures);
// a unit kind without a readable project gets fixed lengths (stand 60, attack 30, damage 20, walk 40
// frames), since a unit without motions would never hit.
// Voices, effects and cut-ins are skipped, as the user settings allow, so no draw depends on them.
#include "appdata/DBZorCommand.h"
#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorSkill.h"
#include "appdata/DBZorStruct.h"
#include "appdata/DBZorTown.h"
#include "appdata/DBZorUnit.h"
#include "appdata/DBZorVoice.h"
#include "appdata/ZorGlobals.h"
#include "core/GxBinBuffer.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "core/GxRandom.h"
#include "core/GxString.h"
#include "script/GxMoaVariable.h"
#include "strategy/ZorCore.h"
#include "strategy/ZorMapData.h"
#include "strategy/ZorNcPoolUnit.h"
#include "strategy/ZorNcProjectFactorySource.h"
#include "strategy/ZorNcProjectSource.h"
#include "strategy/ZorScriptBuiltins.h"
#include "strategy/ZorTaskUnitEntity.h"
#include "strategy/ZorUserData.h"
#include "strategy/screens/SeqZorTakeOver.h"
#include "task/GxTaskManage.h"

#include "SampleDefenceLesson.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{

// Every unit kind has one project whose four motions have fixed lengths.
class FixedMotionSource : public ZorNcProjectSource
{
public:
    const void* GetProject(const std::wstring&, const std::wstring&) override { return this; }
    const void* FindMotion(const void*, const std::wstring&, const std::wstring& name) override
    {
        if (name == L"attack")
            return &m_Lengths[1];
        if (name == L"damage")
            return &m_Lengths[2];
        if (name == L"walk")
            return &m_Lengths[3];
        return &m_Lengths[0];
    }
    int32_t GetMotionLength(const void* motion) const override { return *static_cast<const int32_t*>(motion); }
    void ReleaseProject(const void*) override {}
    bool Owns(const void* p) const { return p == this || (p >= m_Lengths && p < m_Lengths + 4); }

private:
    const int32_t m_Lengths[4] = {60, 30, 20, 40};
};

// The game's projects first, the fixed lengths for a kind whose project cannot be read.
class SimMotionSource : public ZorNcProjectSource
{
public:
    const void* GetProject(const std::wstring& path, const std::wstring& textures) override
    {
        if (const void* project = m_Projects.GetProject(path, textures))
        {
            ++m_Loaded;
            return project;
        }
        return m_Fixed.GetProject(path, textures);
    }
    const void* FindMotion(const void* project, const std::wstring& group, const std::wstring& name) override
    {
        return m_Fixed.Owns(project) ? m_Fixed.FindMotion(project, group, name)
                                     : m_Projects.FindMotion(project, group, name);
    }
    int32_t GetMotionLength(const void* motion) const override
    {
        return m_Fixed.Owns(motion) ? m_Fixed.GetMotionLength(motion) : m_Projects.GetMotionLength(motion);
    }
    void ReleaseProject(const void* project) override
    {
        if (!m_Fixed.Owns(project))
            m_Projects.ReleaseProject(project);
    }
    int32_t GetLoaded() const { return m_Loaded; }

private:
    ZorNcProjectFactorySource m_Projects{false};
    FixedMotionSource m_Fixed;
    int32_t m_Loaded = 0;
};

struct Options
{
    std::string game;
    uint32_t seed = 1;
    int64_t ticks = 6000;
    int32_t units = 8;
    int64_t saveAt = -1;
    int64_t reseedAt = -1;
    bool binary = false;
    bool check = false;
    bool firstDefence = false;
    bool nextRound = false;
};

bool Parse(int argc, char** argv, Options& o)
{
    if (argc < 2)
        return false;
    o.game = argv[1];
    for (int i = 2; i < argc; ++i)
    {
        const std::string a = argv[i];
        const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
        if (a == "--check")
            o.check = true;
        else if (a == "--first-defence")
            o.firstDefence = true;
        else if (a == "--next-round")
            o.nextRound = o.firstDefence = true;
        else if (!v)
            return false;
        else if (a == "--seed")
            o.seed = static_cast<uint32_t>(std::strtoul(v, nullptr, 10)), ++i;
        else if (a == "--ticks")
            o.ticks = std::strtoll(v, nullptr, 10), ++i;
        else if (a == "--units")
            o.units = static_cast<int32_t>(std::strtol(v, nullptr, 10)), ++i;
        else if (a == "--save-at")
            o.saveAt = std::strtoll(v, nullptr, 10), ++i;
        else if (a == "--reseed-at")
            o.reseedAt = std::strtoll(v, nullptr, 10), ++i;
        else if (a == "--form")
            o.binary = std::string(v) == "binary", ++i;
        else
            return false;
    }
    return true;
}

uint64_t Fnv1a(const uint8_t* data, size_t size)
{
    uint64_t h = 1469598103934665603ull;
    for (size_t i = 0; i < size; ++i)
        h = (h ^ data[i]) * 1099511628211ull;
    return h;
}

// Calls take(line) for each line of a script after the line `label` up to the line `last`; false, with a
// word on stderr, when the label or its end is missing, and false at once when take refuses a line.
template <typename Take>
bool ForEachLineOfLabel(const std::string& script, const std::string& label, const std::string& last, Take take)
{
    std::ifstream in(script);
    std::string line;
    bool inLabel = false;
    while (std::getline(in, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!inLabel)
        {
            inLabel = line == label;
            continue;
        }
        if (line == last)
            return true;
        if (!take(line))
            return false;
    }
    std::fprintf(stderr, "zorsim: %s has no %s ending in %s\n", script.c_str(), label.c_str(), last.c_str());
    return false;
}

// Runs the "@zor_name(arguments)" lines of a script from a label up to its "@zor_jumptodef" through the
// builtins, arguments being whole numbers or quoted texts without commas; false for a line the
// builtins refuse or when the label or the jump is missing.
bool RunStageSetUp(const std::string& script, const std::string& label)
{
    return ForEachLineOfLabel(script, label, "@zor_jumptodef",
                              [&](const std::string& line)
                              {
                                  const size_t open = line.find('(');
                                  if (line.rfind("@zor_", 0) != 0 || open == std::string::npos || line.back() != ')')
                                      return true;
                                  GxMoaVariable args;
                                  GxMoaVariable result;
                                  args.MakeArray(0);
                                  const std::string inner = line.substr(open + 1, line.size() - open - 2);
                                  int32_t index = 0;
                                  for (size_t at = 0; at <= inner.size() && !inner.empty(); ++index)
                                  {
                                      const size_t comma = std::min(inner.find(',', at), inner.size());
                                      std::string arg = inner.substr(at, comma - at);
                                      arg.erase(0, arg.find_first_not_of(' '));
                                      GxMoaVariable value;
                                      if (arg.size() >= 2 && arg.front() == '"' && arg.back() == '"')
                                          value.SetString(GxString::FromUtf8(arg.substr(1, arg.size() - 2)));
                                      else
                                          value.SetInt(std::strtoll(arg.c_str(), nullptr, 10));
                                      args.Store(index, value);
                                      at = comma + 1;
                                  }
                                  const std::string name = line.substr(1, open - 1);
                                  if (ZorScriptBuiltins::Call(GxString::FromUtf8(name), args, result))
                                      return true;
                                  std::fprintf(stderr, "zorsim: %s refused: %s\n", script.c_str(), line.c_str());
                                  return false;
                              });
}

// The permanent flags the "@setextraoption(bit, on)" lines of a label set, up to its "@jumptotitle"; false
// when the label or its end is missing.
bool ReadExtraOptions(const std::string& script, const std::string& label, uint32_t& bits)
{
    return ForEachLineOfLabel(script, label, "@jumptotitle",
                              [&](const std::string& line)
                              {
                                  int bit = 0;
                                  int on = 0;
                                  if (std::sscanf(line.c_str(), "@setextraoption(%d, %d)", &bit, &on) == 2 &&
                                      bit >= 0 && bit < 32)
                                      bits = on != 0 ? bits | (1u << bit) : bits & ~(1u << bit);
                                  return true;
                              });
}

// True when the lines of a script's label up to its "@zor_jumptodef" say the lesson's lines in their
// order (other lines may come between them); otherwise false, with the first line missing on stderr.
bool ScriptSaysTheLesson(const std::string& script, const std::string& label)
{
    size_t next = 0;
    const size_t count = std::size(kSampleDefenceLesson);
    if (!ForEachLineOfLabel(script, label, "@zor_jumptodef",
                            [&](const std::string& line)
                            {
                                if (next < count && line == SampleDefenceLessonLine(kSampleDefenceLesson[next]))
                                    ++next;
                                return true;
                            }))
        return false;
    if (next == count)
        return true;
    std::fprintf(stderr, "zorsim: %s does not say at %s: %s\n", script.c_str(), label.c_str(),
                 SampleDefenceLessonLine(kSampleDefenceLesson[next]).c_str());
    return false;
}

// The new game's five goblins ready, then what each line of the lesson asks, in its order: units of a
// kind dragged from the ready list into the throne room's slots, one to a slot from the first, and a
// facility built in the first room beside the throne that takes it.
bool FollowTheLesson(ZorCore& core)
{
    ZorUserData& s = *core.GetUserData();
    for (int i = 0; i < 5; ++i)
        if (!core.AddFirstReadyUnit())
            return false;
    for (const SampleDefenceLesson& line : kSampleDefenceLesson)
    {
        const std::wstring name = GxString::FromUtf8(line.m_Name);
        if (line.m_Act == SampleDefenceLesson::Act::PlaceInThrone)
        {
            // "One in each slot" holds only while the count is the throne room's capacity.
            const ZorRoomState* throne = s.GetRoughRoom(s.m_ThroneRoomPosX, s.m_ThroneRoomPosY);
            const DBZorStructData* row = throne ? g_DBZorStruct.GetRow(throne->m_StructID) : nullptr;
            if (!row || row->m_Capacity != line.m_Count)
            {
                std::fprintf(stderr, "zorsim: the lesson fills %d slots of the throne room, which has %d\n",
                             line.m_Count, row ? row->m_Capacity : 0);
                return false;
            }
            int32_t slot = 0;
            for (int64_t id : core.SnapshotUnits(ZorCore::kUnitReadyList))
            {
                const ZorTaskUnitEntity* unit = core.FindUnit(id);
                if (slot < line.m_Count && unit &&
                    g_DBZorUnit.GetRow(static_cast<uint32_t>(unit->m_UnitID))->m_Name == name &&
                    core.ArrangeUnit(id, s.m_ThroneRoomPosX, s.m_ThroneRoomPosY, slot))
                    ++slot;
            }
            if (slot < line.m_Count)
            {
                std::fprintf(stderr, "zorsim: %d of the %d %s units the lesson places are ready\n", slot, line.m_Count,
                             line.m_Name);
                return false;
            }
        }
        else if (line.m_Act == SampleDefenceLesson::Act::BuildBeside)
        {
            const int32_t facility = ZorGlobals::FindStruct(name);
            const int32_t steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
            bool built = false;
            for (int32_t i = 0; i < 4 && facility != 0 && !built; ++i)
                built = core.BuildStruct(facility, s.m_ThroneRoomPosX + steps[i][0], s.m_ThroneRoomPosY + steps[i][1]);
            if (!built)
            {
                std::fprintf(stderr, "zorsim: no room beside the throne takes the %s\n", line.m_Name);
                return false;
            }
        }
    }
    return true;
}

// The invariants; a message for the first one broken, empty when all hold.
std::string CheckInvariants(ZorCore& core, int32_t& lastLeft)
{
    ZorUserData& s = *core.GetUserData();
    for (int32_t r : {s.m_Resource_Bone, s.m_Resource_Magic, s.m_Resource_Gold})
        if (r < 0 || r > 99999)
            return "resource out of 0..99999: " + std::to_string(r);
    if (s.m_Resource_AstarosHP < 0)
        return "master HP below 0";
    if (s.m_RemainEnemyLeft > lastLeft)
        return "enemies left rose";
    lastLeft = s.m_RemainEnemyLeft;
    int32_t leadership = 0;
    for (const wchar_t* name : {ZorCore::kUnitReadyList, ZorCore::kUnitPlayerList})
        for (int64_t id : core.SnapshotUnits(name))
        {
            const ZorTaskUnitEntity* unit = core.FindUnit(id);
            leadership += g_DBZorUnit.GetRow(static_cast<uint32_t>(unit->m_UnitID))->m_CostLeadership;
            if (std::wstring(name) == ZorCore::kUnitPlayerList)
            {
                const ZorRoomState* room = unit->GetRoom();
                if (!room || unit->m_SlotIndex < 0 || room->m_UnitEntityIDs[unit->m_SlotIndex] != id)
                    return "a placed unit's slot does not hold it: " + std::to_string(id);
            }
        }
    if (leadership != s.m_Resource_LeadershipUsing)
        return "leadership in use " + std::to_string(s.m_Resource_LeadershipUsing) + " but units cost " +
               std::to_string(leadership);
    for (int32_t i = 0; i < ZorUserData::kRoomCount; ++i)
        for (int32_t slot = 0; slot < 5; ++slot)
        {
            const int64_t id = s.m_Rooms[i].m_UnitEntityIDs[slot];
            const ZorTaskUnitEntity* unit = core.FindUnit(id);
            if (id != 0 && (!unit || unit->IsBeingRemoved() || unit->m_SlotIndex != slot ||
                            unit->m_RoughPosX + unit->m_RoughPosY * 10 != i))
                return "room slot holds a unit that is not there: " + std::to_string(id);
        }
    return {};
}

// Begins a stage and runs it for up to T ticks, beginning a new one whenever one ends; a lesson stage
// stops at its end instead, its outcome ("won", "lost" or "unfinished") and invaders beaten printed. False
// when a save fails or an invariant breaks.
bool PlayStage(ZorCore& core, GxTaskManage& manage, GxTaskBase* root, const Options& o, const char*& outcome)
{
    ZorUserData& s = *core.GetUserData();
    std::error_code ignored;
    core.BeginDefence();
    const int32_t total = s.m_RemainEnemyLeft;
    outcome = "unfinished";

    int32_t lastLeft = s.m_RemainEnemyLeft;
    int32_t stages = 1;
    for (int64_t tick = 0; tick < o.ticks; ++tick)
    {
        if (tick == o.saveAt)
        {
            const std::wstring path = GxString::FromUtf8(
                (std::filesystem::temp_directory_path() / ("zorsim_" + std::to_string(getpid()) + ".gd")).string());
            if (!core.SaveGameData(path, o.binary) || !core.LoadGameData(path))
            {
                std::fprintf(stderr, "zorsim: save and load at tick %" PRId64 " failed\n", tick);
                return false;
            }
            std::filesystem::remove(GxString::ToUtf8(path), ignored);
        }
        if (tick == o.saveAt || tick == o.reseedAt)
            GxRandom::Seed(o.seed + static_cast<uint32_t>(tick));
        if (s.m_GamePhase == 5)
            s.m_GamePhase = 0; // the opening effect has ended
        if (core.UpdateDefence(1) == 0)
        {
            if (o.firstDefence)
            {
                outcome = s.m_Resource_AstarosHP > 0 ? "won" : "lost";
                break;
            }
            core.EndDefence();
            core.BeginDefence();
            lastLeft = s.m_RemainEnemyLeft;
            ++stages;
        }
        manage.DeleteDeadTasks(root);
        if (o.check)
            if (std::string broken = CheckInvariants(core, lastLeft); !broken.empty())
            {
                std::fprintf(stderr, "zorsim: tick %" PRId64 ": %s\n", tick, broken.c_str());
                return false;
            }
        if ((tick + 1) % 600 == 0)
            std::printf("tick %" PRId64 " stage %d bone %d magic %d gold %d hp %d left %d queued %zu units %zu/%zu\n",
                        tick + 1, stages, s.m_Resource_Bone, s.m_Resource_Magic, s.m_Resource_Gold,
                        s.m_Resource_AstarosHP, s.m_RemainEnemyLeft, s.m_NextEnemies.size(),
                        core.SnapshotUnits(ZorCore::kUnitPlayerList).size(),
                        core.SnapshotUnits(ZorCore::kUnitEnemyList).size());
    }

    if (o.firstDefence)
        std::printf("%s %d of %d invaders beaten, lord %d/%d\n", outcome, total - s.m_RemainEnemyLeft, total,
                    s.m_Resource_AstarosHP, s.m_Resource_AstarosHPMax);
    return true;
}

// "新たな周回" after a won lesson stage, the new game the title starts with the next round's lessons and
// stage, and the take-over the campaign opens after it.
bool PlayNextRound(ZorCore& core, GxTaskManage& manage, GxTaskBase* root, const Options& o, const char* firstOutcome)
{
    if (std::strcmp(firstOutcome, "won") != 0)
    {
        std::fprintf(stderr, "zorsim: the first round's stage was not won, so no new round follows\n");
        return false;
    }
    uint32_t bonuses = 0;
    if (!ReadExtraOptions("scripts/campaign.txt", "*ZOR_CMD_NEWROUND", bonuses))
        return false;
    core.EndDefence();
    std::error_code ignored;
    const std::wstring path = GxString::FromUtf8(
        (std::filesystem::temp_directory_path() / ("zorsim_round_" + std::to_string(getpid()) + ".gd")).string());
    if (!core.SaveRoundData(path, false))
    {
        std::fprintf(stderr, "zorsim: cannot write the round file\n");
        return false;
    }
    // The title's new game: the campaign's units and the state back to the start.
    core.ClearCampaignTasks();
    core.ResetGame();
    manage.DeleteDeadTasks(root);
    if (!RunStageSetUp("scripts/war.txt", "*CASTLE_DEFENCE") || !FollowTheLesson(core))
        return false;
    Options next = o;
    next.saveAt = next.reseedAt = -1;
    const char* outcome = "unfinished";
    if (!PlayStage(core, manage, root, next, outcome))
        return false;
    core.EndDefence();

    ZorRoundData round;
    const bool read = core.LoadRoundData(round, path);
    std::filesystem::remove(GxString::ToUtf8(path), ignored);
    if (!read)
    {
        std::fprintf(stderr, "zorsim: cannot read the round file back\n");
        return false;
    }
    std::vector<ZorTaskUnitEntity*> chosen;
    int32_t cost = 0;
    const int32_t capacity = SeqZorTakeOver::CapacityOf(bonuses);
    GxTaskBase* saved = core.FindList(ZorCore::kSavedUnitList);
    for (GxTaskBase* t = saved ? saved->GetFirstChild() : nullptr; t; t = t->GetNextSibling())
        if (auto* unit = dynamic_cast<ZorTaskUnitEntity*>(t))
        {
            const int32_t unitCost = g_DBZorUnit.GetRow(static_cast<uint32_t>(unit->m_UnitID))->m_CostLeadership;
            if (cost + unitCost <= capacity)
            {
                chosen.push_back(unit);
                cost += unitCost;
            }
        }
    for (const SeqZorTakeOver::Choice& choice : SeqZorTakeOver::kChoices)
        if (SeqZorTakeOver::IsChoiceOffered(bonuses, choice.m_Bit))
            round.m_ChoiceFlags |= choice.m_Bit;
    core.ApplyTakeOver(chosen, round, bonuses);
    core.ClearUnitList(saved);
    const ZorUserData& s = *core.GetUserData();
    std::printf("carried %zu units, gold %d, weeks %d, leadership base %d, ready %zu\n", chosen.size(),
                s.m_Resource_Gold, s.m_AstarosWeekLimit, s.m_Resource_LeadershipBase,
                core.SnapshotUnits(ZorCore::kUnitReadyList).size());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!Parse(argc, argv, o))
    {
        std::fprintf(stderr, "usage: zorsim GAME --seed N --ticks T [--units N] [--save-at T2 --form text|binary] "
                             "[--reseed-at T2] [--check] [--first-defence [--next-round]]\n");
        return 2;
    }
    std::error_code ignored;
    std::filesystem::current_path(o.game, ignored);
    if (ignored)
    {
        std::fprintf(stderr, "zorsim: no game folder %s\n", o.game.c_str());
        return 2;
    }
    GxLog::SetErrorLogPath(std::getenv("ZORSIM_LOG") ? L"/tmp/zorsim_err.log" : L"");
    const std::pair<GxDBBase*, const wchar_t*> tables[] = {
        {&g_DBZorEnemy, L"data/db_zorenemy.txt"},    {&g_DBZorSkill, L"data/db_zorskill.txt"},
        {&g_DBZorStruct, L"data/db_zorstruct.txt"},  {&g_DBZorUnit, L"data/db_zorunit.txt"},
        {&g_DBZorVoice, L"data/db_zorvoice.txt"},    {&g_DBZorTown, L"data/db_zortown.txt"},
        {&g_DBZorCommand, L"data/db_zorcommand.txt"}};
    for (const auto& [table, file] : tables)
        if (!table->Load(file))
        {
            std::fprintf(stderr, "zorsim: cannot read %s\n", GxString::ToUtf8(file).c_str());
            return 1;
        }
    ZorMapData::LoadAllMaps();
    SimMotionSource motions;
    ZorNcPoolUnit::SetProjectSource(&motions);
    ZorNcPoolUnit::Initialize();
    while (ZorNcPoolUnit::PrepareLoading(L"gnc/", L"gnc/gis/") > 0)
    {
    }
    std::printf("unit projects %d\n", motions.GetLoaded());

    GxTaskManage manage;
    GxTaskBase* root = new GxTaskBase(&manage);
    for (const wchar_t* name : {ZorCore::kUnitReadyList, ZorCore::kUnitPlayerList, ZorCore::kUnitEnemyList,
                                ZorCore::kSavedUnitList, ZorCore::kInvPlayerList, ZorCore::kInvEnemyList})
        new GxTaskBase(root, name);
    ZorCore core(nullptr, &manage);
    core.m_SkipBattleEffect = core.m_SkipSpecialAttackEffect = core.m_SkipBattleVoice = true;

    GxRandom::Seed(o.seed);
    core.ResetGame();
    ZorUserData& s = *core.GetUserData();
    if (o.firstDefence)
    {
        if (!ScriptSaysTheLesson("scripts/war.txt", "*CASTLE_DEFENCE") ||
            !RunStageSetUp("scripts/war.txt", "*CASTLE_DEFENCE") || !FollowTheLesson(core))
            return 1;
    }
    else
    {
        core.AddFirstReadyUnit();
        s.m_Resource_Bone = s.m_Resource_Magic = s.m_Resource_Gold = 99999;
        int32_t placed = 0;
        for (int32_t i = 0; i < ZorUserData::kRoomCount && placed < o.units; ++i)
            for (int32_t slot = 0; slot < 5 && placed < o.units; ++slot)
            {
                const int32_t kind = 12;
                if (s.GetRoomState(i % 10, i / 10) == 8 && core.SummonUnit(i % 10, i / 10, slot, kind))
                    ++placed;
            }
    }
    const char* outcome = "unfinished";
    if (!PlayStage(core, manage, root, o, outcome) || (o.nextRound && !PlayNextRound(core, manage, root, o, outcome)))
        return 1;

    const std::wstring path = GxString::FromUtf8(
        (std::filesystem::temp_directory_path() / ("zorsim_final_" + std::to_string(getpid()) + ".gd")).string());
    GxBinBuffer buffer;
    if (!core.SaveGameData(path, false) || !GxFile::LoadToBuffer(buffer, path, false))
    {
        std::fprintf(stderr, "zorsim: cannot write the final save\n");
        return 1;
    }
    std::filesystem::remove(GxString::ToUtf8(path), ignored);
    std::printf("digest %016" PRIx64 "\n", Fnv1a(buffer.GetData(), buffer.GetSize()));
    ZorNcPoolUnit::ReleaseAll();
    ZorNcPoolUnit::SetProjectSource(nullptr);
    return 0;
}
