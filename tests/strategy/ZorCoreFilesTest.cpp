#include "ZorTestSupport.h"

#include "strategy/ZorRoundData.h"
#include "support/KvHeapPeak.h"
#include "support/KvRaisedCount.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

std::string ReadAll(const std::wstring& path)
{
    std::ifstream in(GxString::ToUtf8(path), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

struct UnitView
{
    int32_t m_UnitID;
    int32_t m_Level;
    uint64_t m_TaskID;
    size_t m_PathSteps;
    size_t m_FlagWords;
    bool operator==(const UnitView&) const = default;
};

std::vector<UnitView> Units(GxTaskBase* list)
{
    std::vector<UnitView> units;
    for (GxTaskBase* t = list->GetFirstChild(); t; t = t->GetNextSibling())
        if (auto* u = dynamic_cast<ZorTaskUnitEntity*>(t))
            units.push_back({u->m_UnitID, u->m_Level, u->GetTaskID(), u->m_MovePath.size(), u->m_RoomFlags.size()});
    return units;
}

} // namespace

class ZorCoreFilesTest : public zortest::ZorTest
{
protected:
    // Two ready units, a placed one with a route and room flags, an invader, and one being removed.
    void Populate()
    {
        AddUnit(ZorCore::kUnitReadyList, 12, 2);
        AddUnit(ZorCore::kUnitReadyList, 3, 7);
        ZorTaskUnitEntity* placed = AddUnit(ZorCore::kUnitPlayerList, 12, 4);
        placed->m_RoughPosX = 2;
        placed->m_RoughPosY = 1;
        placed->m_SlotIndex = 0;
        placed->m_MovePath.emplace_back(3, 11, 6);
        placed->m_MovePath.emplace_back(1, 11, 7);
        placed->m_RoomFlags = {0x40u, 0u, 0x8u, 0x1u};
        State().GetRoughRoom(2, 1)->m_UnitEntityIDs[0] = static_cast<int64_t>(placed->GetTaskID());
        AddUnit(ZorCore::kUnitEnemyList, 4, 9)->m_WorldPos = GxVector3(1.5f, 0.0f, -2.25f);
        AddUnit(ZorCore::kUnitEnemyList, 4, 1)->Kill();
        State().m_NextEnemies.emplace_back();
        State().m_NextEnemies.emplace_back();
        State().m_NextEnemies.back().m_PartyID = 1;
        State().m_Resource_Gold = 4321;
        State().m_InvBGM = L"侵攻";
    }

    std::wstring Path(const wchar_t* name) { return m_Folder.File(name); }

    // Writes a save, edits its text form, and checks that loading it is refused with nothing changed.
    void ExpectRefused(const std::string& from, const std::string& to)
    {
        const std::wstring path = Path(L"edited.gd");
        ASSERT_TRUE(m_Core->SaveGameData(path, false));
        std::string text =
            std::regex_replace(ReadAll(path), std::regex(from), to, std::regex_constants::format_first_only);
        dbtest::WriteBytes(path, text);
        const auto ready = Units(List(ZorCore::kUnitReadyList));
        const int32_t gold = State().m_Resource_Gold;
        EXPECT_FALSE(m_Core->LoadGameData(path)) << from;
        EXPECT_EQ(Units(List(ZorCore::kUnitReadyList)), ready) << from;
        EXPECT_EQ(State().m_Resource_Gold, gold) << from;
    }
};

TEST_F(ZorCoreFilesTest, SavesRoundTripInBothFormsWithUnitsInOrder)
{
    Populate();
    const auto ready = Units(List(ZorCore::kUnitReadyList));
    const auto player = Units(List(ZorCore::kUnitPlayerList));
    const auto enemy = Units(List(ZorCore::kUnitEnemyList));
    ASSERT_EQ(enemy.size(), 2u);
    for (bool binary : {false, true})
    {
        const std::wstring path = Path(binary ? L"zordata001.gd" : L"zordata_quick.gd");
        ASSERT_TRUE(m_Core->SaveGameData(path, binary));
        EXPECT_EQ(ReadAll(path)[0] == 'T', !binary);
        ZorUserData before = State();
        State().InitNewGame();
        m_Core->ClearUnitList(List(ZorCore::kUnitEnemyList));
        ASSERT_TRUE(m_Core->LoadGameData(path)) << binary;
        EXPECT_EQ(Units(List(ZorCore::kUnitReadyList)), ready);
        EXPECT_EQ(Units(List(ZorCore::kUnitPlayerList)), player);
        EXPECT_EQ(Units(List(ZorCore::kUnitEnemyList)), std::vector<UnitView>(enemy.begin(), enemy.begin() + 1));
        EXPECT_EQ(State().m_Resource_Gold, 4321);
        EXPECT_EQ(State().m_InvBGM, L"侵攻");
        EXPECT_EQ(State().m_NextEnemies.size(), 2u);
        EXPECT_EQ(State().m_NextEnemies[1].m_PartyID, 1);
        EXPECT_EQ(State().m_NextUnitTaskID, before.m_NextUnitTaskID);
        EXPECT_EQ(State().GetRoughRoom(2, 1)->m_UnitEntityIDs[0], before.GetRoughRoom(2, 1)->m_UnitEntityIDs[0]);
        EXPECT_EQ(State().GetRoughRoom(2, 1)->m_MapRoom, ZorMapData::GetSlot(1)->GetMapRoughRoom(2, 1));
        auto* invader = dynamic_cast<ZorTaskUnitEntity*>(List(ZorCore::kUnitEnemyList)->GetFirstChild());
        EXPECT_FLOAT_EQ(invader->m_WorldPos.z, -2.25f);
        EXPECT_EQ(invader->GetGlobalState(), GX_TASKSTATE_SUSPENDED);
        EXPECT_EQ(m_Manage.FindTaskByID(invader->GetTaskID()), invader);
    }
}

TEST_F(ZorCoreFilesTest, OtherVersionsReadAndDamagedFilesAreRefusedUnchanged)
{
    Populate();
    const std::wstring path = Path(L"v99.gd");
    ASSERT_TRUE(m_Core->SaveGameData(path, false));
    std::string text = ReadAll(path);
    dbtest::WriteBytes(path, std::regex_replace(text, std::regex("^TZOR\t100"), "TZOR\t99"));
    EXPECT_TRUE(m_Core->LoadGameData(path));

    ExpectRefused("(m_UsingMapIndex\t)1", "$017");
    ExpectRefused("(m_NextEnemyCount\t)2", "$012147483648");
    ExpectRefused("(m_TaskID\t)1001", "$011000");  // the first ready unit's ID again
    ExpectRefused("(m_TaskID\t)1003", "$0199999"); // at or above the next ID
    ExpectRefused("(Flags\t)4", "$01999999");
    ExpectRefused("(m_UnitID\t)4", "$01160");
    for (bool binary : {false, true})
    {
        ASSERT_TRUE(m_Core->SaveGameData(path, binary));
        const std::string whole = ReadAll(path);
        for (size_t cut : {whole.size() / 3, whole.size() - 23})
        {
            dbtest::WriteBytes(path, whole.substr(0, cut));
            EXPECT_FALSE(m_Core->LoadGameData(path)) << binary << " " << cut;
            EXPECT_EQ(Units(List(ZorCore::kUnitReadyList)).size(), 2u);
        }
    }
    dbtest::WriteBytes(path, "XZOR\t100\n");
    EXPECT_FALSE(m_Core->LoadGameData(path));
    EXPECT_FALSE(m_Core->LoadGameData(Path(L"absent.gd")));

    // A value of another name does not stop the load; the result is false.
    ASSERT_TRUE(m_Core->SaveGameData(path, false));
    dbtest::WriteBytes(path, std::regex_replace(ReadAll(path), std::regex("m_InvBGM"), "m_Other"));
    EXPECT_FALSE(m_Core->LoadGameData(path));
    EXPECT_EQ(Units(List(ZorCore::kUnitReadyList)).size(), 2u);
}

TEST_F(ZorCoreFilesTest, UnitLevelExperienceAndHitPointsOutOfBoundsAreRefusedWithTheirLine)
{
    Populate();
    auto* unit = dynamic_cast<ZorTaskUnitEntity*>(List(ZorCore::kUnitReadyList)->GetFirstChild());
    unit->m_Level = 37;
    unit->m_Exp = 1234;
    unit->m_HP = 321;
    // A unit kind's level and experience (a unique unit summoned takes them over) and a class's
    // reinforcement level (ten hit points a level) are bounded like the unit's own.
    State().m_UnitStates[5].m_Level = 41;
    State().m_UnitStates[5].m_Exp = 4567;
    State().m_ReinforceMonster[2] = 7;
    dbtest::LogCapture log(m_Folder);
    auto logged = [&](const wchar_t* line)
    {
        return std::any_of(log.Lines().begin(), log.Lines().end(),
                           [&](const std::wstring& l) { return l.find(line) != std::wstring::npos; });
    };
    // A level of 2147483647 would overflow the maximum hit points and the experience steps.
    const struct
    {
        const char* from;
        const char* to;
        const wchar_t* line;
    } cases[] = {
        {"(m_Level\t)37", "$012147483647", L"m_Level=2147483647"},
        {"(m_Level\t)37", "$010", L"m_Level=0"},
        {"(m_Level\t)37", "$011000", L"m_Level=1000"},
        {"(m_Exp\t)1234", "$01-1", L"m_Exp=-1"},
        {"(m_Exp\t)1234", "$012147483647", L"m_Exp=2147483647"},
        {"(m_HP\t)321", "$01-5", L"m_HP=-5"},
        {"(m_HP\t)321", "$012147483647", L"m_HP=2147483647"},
        {"(m_Level\t)41", "$012147483647", L"m_Level=2147483647,UnitID=5"},
        {"(m_Level\t)41", "$010", L"m_Level=0,UnitID=5"},
        {"(m_Exp\t)4567", "$01-1", L"m_Exp=-1,UnitID=5"},
        {"(m_Exp\t)4567", "$012147483647", L"m_Exp=2147483647,UnitID=5"},
        {"(m_ReinforceMonster\t)7", "$01300000000", L"m_ReinforceMonster=300000000"},
        {"(m_ReinforceMonster\t)7", "$01-1", L"m_ReinforceMonster=-1"},
    };
    for (const auto& c : cases)
    {
        ExpectRefused(c.from, c.to);
        EXPECT_TRUE(logged(c.line)) << c.from << " " << c.to;
        EXPECT_EQ(unit->m_Level, 37);
        EXPECT_EQ(State().m_UnitStates[5].m_Level, 41);
        EXPECT_EQ(State().m_ReinforceMonster[2], 7);
    }
    // The take-over file carries the kinds' levels and experience too: refused the same way, the
    // take-over data and its units as they were.
    const std::wstring roundPath = Path(L"zordata_round.gd");
    for (const auto& c : {cases[7], cases[8], cases[9], cases[10]})
    {
        ASSERT_TRUE(m_Core->SaveRoundData(roundPath, false));
        dbtest::WriteBytes(roundPath, std::regex_replace(ReadAll(roundPath), std::regex(c.from), c.to,
                                                         std::regex_constants::format_first_only));
        ZorRoundData round;
        round.m_UnitStates[5].m_Level = 3;
        const size_t saved = Units(List(ZorCore::kSavedUnitList)).size();
        EXPECT_FALSE(m_Core->LoadRoundData(round, roundPath)) << c.from << " " << c.to;
        EXPECT_EQ(round.m_UnitStates[5].m_Level, 3);
        EXPECT_EQ(Units(List(ZorCore::kSavedUnitList)).size(), saved);
        EXPECT_TRUE(logged(c.line)) << c.from << " " << c.to;
    }
    // The bounds themselves load.
    unit->m_Level = ZorUnitRecord::kMaxLevel;
    unit->m_HP = ZorUnitRecord::kMaxHP;
    unit->m_Exp = ZorUnitRecord::kMaxExp;
    State().m_UnitStates[5].m_Level = ZorUnitRecord::kMaxLevel;
    State().m_UnitStates[5].m_Exp = ZorUnitRecord::kMaxExp;
    State().m_ReinforceMonster[2] = ZorUserData::kMaxReinforceLevel;
    ASSERT_TRUE(m_Core->SaveGameData(Path(L"bounds.gd"), true));
    EXPECT_TRUE(m_Core->LoadGameData(Path(L"bounds.gd")));
    ASSERT_TRUE(m_Core->SaveRoundData(roundPath, true));
    ZorRoundData round;
    EXPECT_TRUE(m_Core->LoadRoundData(round, roundPath));
    EXPECT_EQ(round.m_UnitStates[5].m_Level, ZorUnitRecord::kMaxLevel);
}

TEST_F(ZorCoreFilesTest, FailedWriteKeepsThePreviousFileByteForByte)
{
    Populate();
    const std::wstring path = Path(L"zordata002.gd");
    ASSERT_TRUE(m_Core->SaveGameData(path, true));
    const std::string before = ReadAll(path);
    State().m_Resource_Gold = 1;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        // A small file-size limit stands in for a full disk.
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{64, 64};
        setrlimit(RLIMIT_FSIZE, &limit);
        GxLog::SetErrorLogPath(L"");
        _exit(m_Core->SaveGameData(path, false) ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save reported success";
    EXPECT_EQ(ReadAll(path), before);
}

TEST_F(ZorCoreFilesTest, TakeOverFileCarriesCommonReadyUnitsAndEveryLevel)
{
    Populate();
    State().m_UnitStates[3].m_Level = 9;
    State().m_UnitStates[3].m_Exp = 33;
    for (bool binary : {false, true})
    {
        const std::wstring path = Path(L"zordata_round.gd");
        ASSERT_TRUE(m_Core->SaveRoundData(path, binary));
        // The placed unit went back to the ready list first.
        EXPECT_EQ(Units(List(ZorCore::kUnitPlayerList)).size(), 0u);
        ZorRoundData round;
        ASSERT_TRUE(m_Core->LoadRoundData(round, path));
        EXPECT_EQ(round.m_Resource_Gold, 4321);
        EXPECT_EQ(round.m_UnitStates[3].m_Level, 9);
        EXPECT_EQ(round.m_UnitStates[3].m_Exp, 33);
        const auto saved = Units(List(ZorCore::kSavedUnitList));
        ASSERT_EQ(saved.size(), 2u); // unit 3 is unique
        EXPECT_EQ(saved[0].m_UnitID, 12);
        EXPECT_EQ(saved[1].m_Level, 4);
    }
    const std::wstring path = Path(L"cut.gd");
    ASSERT_TRUE(m_Core->SaveRoundData(path, true));
    dbtest::WriteBytes(path, ReadAll(path).substr(0, 200));
    ZorRoundData round;
    EXPECT_FALSE(m_Core->LoadRoundData(round, path));
    EXPECT_EQ(round.m_Resource_Gold, 0);
    EXPECT_EQ(Units(List(ZorCore::kSavedUnitList)).size(), 2u);
}

// The strategy seeds of the fuzz corpus (binary form) with their ready-unit count raised and a mebibyte of
// zero bytes after the file: a count that fits the file at 40 bytes a unit but not at a unit record's least
// size, and one that fits at that size too but whose records beyond the seed's two fail to read. The slot's
// check and load and the take-over file's load refuse each well within a second, at about the seed's own
// cost.
TEST_F(ZorCoreFilesTest, RaisedUnitCountsInTheSeedFilesCostNoMoreThanTheFile)
{
    const struct
    {
        const char* seed;
        size_t at; // the count's tag
        bool slot;
        uint32_t fitting; // a count the bytes left hold at a record's least size
    } cases[] = {{"fuzz_strategy_save/zordata001.gd", 67869, true, 3000},
                 {"fuzz_strategy_save/round.gd", 1655, false, 6000}};
    const std::wstring path = Path(L"raised.gd");
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.seed);
        const std::string seed = kvtest::CorpusSeedBytes(c.seed);
        ASSERT_GT(seed.size(), c.at + 5);
        ASSERT_EQ(seed.substr(c.at, 5), std::string("\x05\0\0\0\x02", 5)); // a 32-bit value, two units
        auto load = [&](const std::string& bytes, uint64_t& peakBytes)
        {
            dbtest::WriteBytes(path, bytes);
            const auto start = std::chrono::steady_clock::now();
            KvHeapPeak peak;
            bool read = false;
            if (c.slot)
                read = m_Core->CheckGameData(path) && m_Core->LoadGameData(path);
            else
            {
                ZorRoundData round;
                read = m_Core->LoadRoundData(round, path);
            }
            peakBytes = peak.Bytes();
            // The heap's peak is the measure of cost; the clock only catches a read that runs on over the
            // raised count, with a bound no loaded machine reaches for a file this size.
            EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 20.0);
            return read;
        };
        uint64_t own = 0;
        ASSERT_TRUE(load(seed, own)); // the seed itself reaches its units
        constexpr size_t kZeros = 1u << 20;
        for (uint32_t count : {static_cast<uint32_t>((seed.size() + kZeros) / 40), c.fitting})
        {
            SCOPED_TRACE(count);
            const size_t ready = Units(List(ZorCore::kUnitReadyList)).size();
            const size_t saved = Units(List(ZorCore::kSavedUnitList)).size();
            uint64_t raised = 0;
            EXPECT_FALSE(load(kvtest::RaiseListCount(seed, c.at, count, kZeros), raised));
            EXPECT_LT(raised, own + kZeros + (1u << 20));
            EXPECT_EQ(Units(List(ZorCore::kUnitReadyList)).size(), ready);
            EXPECT_EQ(Units(List(ZorCore::kSavedUnitList)).size(), saved);
        }
    }
}

TEST_F(ZorCoreFilesTest, TakeOverAppliesChoicesAndCarriesUnitsWithNewIDs)
{
    g_DBZorStruct.GetRow(11)->m_Name = L"STオベリスク";
    g_DBZorStruct.GetRow(11)->m_Enabled = 0;
    State().InitNewGame();
    ZorRoundData round;
    round.m_Resource_Gold = 1001;
    round.m_UnitStates[3].m_Level = 12;
    round.m_UnitStates[12].m_Level = 8;
    round.m_ChoiceFlags =
        ZorCore::kChoiceWeeks | ZorCore::kChoiceGold | ZorCore::kChoiceUnlocks | ZorCore::kChoiceLeadership;
    auto* carried = new ZorTaskUnitEntity(List(ZorCore::kSavedUnitList));
    carried->m_UnitID = 12;
    carried->m_Level = 6;
    carried->m_Skills[4].m_SkillID = 9;
    const int64_t next = State().m_NextUnitTaskID;
    ASSERT_TRUE(m_Core->ApplyTakeOver({carried, carried}, round, 0x1u | 0x4u | (1u << 11)));
    EXPECT_EQ(State().m_AstarosWeekLimit, 60);
    EXPECT_EQ(State().m_Resource_Gold, 1500);
    EXPECT_EQ(State().m_Resource_LeadershipBase, 150);
    EXPECT_EQ(State().GetStructState(11)->m_Enabled, 1);
    EXPECT_EQ(State().GetStructState(0)->m_Enabled, 0);
    EXPECT_EQ(State().m_UnitStates[3].m_Level, 12); // unique
    EXPECT_EQ(State().m_UnitStates[12].m_Level, 1);
    EXPECT_EQ(State().m_Resource_LeadershipUsing, 4);
    EXPECT_EQ(State().m_UnitStates[12].m_UnitCreateCount, 2);
    const auto ready = Units(List(ZorCore::kUnitReadyList));
    ASSERT_EQ(ready.size(), 2u);
    EXPECT_EQ(ready[0].m_TaskID, static_cast<uint64_t>(next));
    EXPECT_EQ(ready[1].m_TaskID, static_cast<uint64_t>(next + 1));
    auto* unit = dynamic_cast<ZorTaskUnitEntity*>(List(ZorCore::kUnitReadyList)->GetFirstChild());
    EXPECT_EQ(unit->m_Level, 6);
    EXPECT_EQ(unit->m_HP, unit->GetMaxHP());
    EXPECT_EQ(unit->GetMaxHP(), 200); // trunc((1 + 5 / 5) x 100)
    EXPECT_EQ(unit->m_Skills[4].m_SkillID, 9);
    EXPECT_EQ(unit->m_Skills[0].m_SkillID, 1);
    EXPECT_EQ(State().m_NextUnitTaskID, next + 2);

    ZorRoundData nothing;
    nothing.m_ChoiceFlags = ZorCore::kChoiceUnlocks;
    g_DBZorStruct.GetRow(11)->m_Enabled = 0;
    State().InitNewGame();
    m_Core->ApplyTakeOver({}, nothing, 0);
    EXPECT_EQ(State().GetStructState(11)->m_Enabled, 0);
}
