#include "script/GxMoaVariableTable.h"

#include "ScriptTestUtil.h"
#include "script/GxMoa.h"
#include "script/GxMoaScope.h"
#include "script/GxMoaWorker.h"
#include "support/KvRaisedCount.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <cwchar>

using namespace ScriptTest;

namespace
{
GxMoaVariableDefinition Def(const std::wstring& name, int32_t scope, int64_t init, const std::wstring& script = L"",
                            int32_t arraySize = -1)
{
    GxMoaVariableDefinition d;
    d.m_Name = name;
    d.m_Scope = scope;
    d.m_InitValue.SetInt(init);
    d.m_ScriptName = script;
    d.m_ArraySize = arraySize;
    return d;
}

// A program with one variable of every saved scope: "sp", "si", "sn" STATIC in script "a";
// "gp", "gi", "gn" GLOBAL; "ep", "ei", "en" EXTERN; each starts at 1, and "v" is declared at every
// level with the level's number (EXTERN 4, GLOBAL 3, STATIC 2).
void MakeProgram(GxMoa& moa)
{
    auto a = std::make_unique<GxMoaScript>();
    a->m_ScriptName = L"a";
    a->m_Lines.resize(3);
    a->m_Lines[0].m_Tokens.emplace_back(TK_LABEL);
    a->m_VariableDefine = {Def(L"sp", SCOPE_STATIC_PERMAN, 1, L"a"), Def(L"si", SCOPE_STATIC_INGAME, 1, L"a"),
                           Def(L"sn", SCOPE_STATIC_NOSAVE, 1, L"a"), Def(L"v", SCOPE_STATIC_INGAME, 2, L"a")};
    moa.AddScript(std::move(a));
    auto b = std::make_unique<GxMoaScript>();
    b->m_ScriptName = L"b";
    moa.AddScript(std::move(b));
    for (const auto& d :
         {Def(L"gp", SCOPE_GLOBAL_PERMAN, 1), Def(L"gi", SCOPE_GLOBAL_INGAME, 1), Def(L"gn", SCOPE_GLOBAL_NOSAVE, 1),
          Def(L"ep", SCOPE_EXTERN_PERMAN, 1), Def(L"ei", SCOPE_EXTERN_INGAME, 1), Def(L"en", SCOPE_EXTERN_NOSAVE, 1),
          Def(L"v", SCOPE_GLOBAL_INGAME, 3)})
        moa.AddVariableDefinition(d);
    // A second "v" at EXTERN level: definitions are looked up by name, so it is added directly.
    moa.m_VariableDefine.push_back(Def(L"v", SCOPE_EXTERN_INGAME, 4));
    moa.AddLabel(Label(L"start", L"a", 0));
}

struct Loaded
{
    GxMoa moa;
    GxMoaWorker worker{&moa};
    Loaded()
    {
        MakeProgram(moa);
        moa.CreateExternVariables();
        worker.CreateGlobalVariables();
    }
    GxMoaScriptEntity* A() { return worker.FindScriptEntity(L"a"); }
    int64_t Value(const std::wstring& name) { return A()->FindVariable(name)->m_Value.ToInt64(); }
    // The values of the named variables, separated by blanks.
    std::wstring Values(std::initializer_list<const wchar_t*> names)
    {
        std::wstring out;
        for (const wchar_t* n : names)
            out += (out.empty() ? L"" : L" ") + std::to_wstring(Value(n));
        return out;
    }
    void SetAll(int64_t v)
    {
        for (const wchar_t* n : {L"sp", L"si", L"sn", L"gp", L"gi", L"gn", L"ep", L"ei", L"en"})
            A()->FindVariable(n)->m_Value.SetInt(v);
    }
};

// The least thread CPU time, in seconds, that `run` takes over three tries, each after its own `prepare`
// (untimed). The cost tests compare two sizes of one input by it: CPU time leaves out the waits of a loaded
// machine, and the least of three leaves out most of its cache misses.
double LeastCpuSeconds(const std::function<void()>& prepare, const std::function<void()>& run)
{
    auto now = []()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    };
    double least = 1e30;
    for (int i = 0; i < 3; ++i)
    {
        prepare();
        const double start = now();
        run();
        least = std::min(least, now() - start);
    }
    return least;
}

// The cost tests compare one input at two sizes far enough apart that no build type or load can make a
// linear cost look quadratic or the other way round. A cost in proportion to its input grows 128 times
// from one size to 128 times that size, and up to about six times more on a loaded machine when the larger
// size no longer fits the processor's caches; one that grows with the square grows about ten thousand
// times. The bound lies between, over three times from each.
constexpr int kSizeStep = 128;
constexpr double kMostGrowthAtTheLargerSize = 20.0 * kSizeStep;

// A count of the names compared, for the lookup cost tests: two std::wstring of one length compare through
// wmemcmp, and this program's own wmemcmp counts its calls on the thread that opened a count. A lookup
// through an index compares the name it finds; a search from the front compares every definition it
// passes (in full when all names have one length), however loaded the machine.
thread_local bool t_CountingNames = false;
thread_local size_t t_NamesCompared = 0;

size_t NamesCompared(const std::function<void()>& run)
{
    t_NamesCompared = 0;
    t_CountingNames = true;
    run();
    t_CountingNames = false;
    return t_NamesCompared;
}

// A name of the lookup cost test: a six-letter word and a five-digit number, so all have one length.
std::wstring NumberedName(const wchar_t* word, int number)
{
    wchar_t name[16];
    swprintf(name, 16, L"%ls_%05d", word, number);
    return name;
}

// The program and the slot's script record of the fuzz corpus's slot seed (a 4-byte little-endian length,
// the program, then the record).
struct SlotSeed
{
    std::vector<uint8_t> m_Program;
    std::vector<uint8_t> m_Record;
};

SlotSeed ReadSlotSeed()
{
    const std::string bytes = kvtest::CorpusSeedBytes("fuzz_MoaProgram/slot_record.bin");
    SlotSeed seed;
    if (bytes.size() < 4)
        return seed;
    const size_t length =
        static_cast<uint8_t>(bytes[0]) | static_cast<uint8_t>(bytes[1]) << 8 | static_cast<uint8_t>(bytes[2]) << 16;
    if (4 + length > bytes.size())
        return seed;
    seed.m_Program.assign(bytes.begin() + 4, bytes.begin() + 4 + static_cast<ptrdiff_t>(length));
    seed.m_Record.assign(bytes.begin() + 4 + static_cast<ptrdiff_t>(length), bytes.end());
    return seed;
}

// A program read from its bytes as start-up reads it, with its EXTERN, GLOBAL and STATIC variables made.
struct Started
{
    GxMoa moa;
    GxMoaWorker worker{&moa};
    explicit Started(const std::vector<uint8_t>& program)
    {
        auto reader = MakeReader(Form::Binary, program);
        EXPECT_TRUE(moa.Read(reader.get()));
        moa.CreateExternVariables();
        worker.CreateGlobalVariables();
    }
    // The slot's variables of the saved class read as a slot load reads them.
    bool Reload(const std::vector<uint8_t>& record)
    {
        auto reader = MakeReader(Form::Binary, record);
        return moa.ReloadVariables(reader.get(), PERSIST_INGAME) &&
               worker.ReloadScriptEntities(reader.get(), PERSIST_INGAME);
    }
    std::wstring ExternNames()
    {
        std::wstring out;
        for (size_t i = 0; i < moa.GetVariableTable()->GetCount(); ++i)
            out += moa.GetVariableTable()->GetAt(i)->m_Name + L" ";
        return out;
    }
};
} // namespace

extern "C" int wmemcmp(const wchar_t* a, const wchar_t* b, size_t n) noexcept
{
    if (t_CountingNames)
        ++t_NamesCompared;
    for (; n > 0; --n, ++a, ++b)
        if (*a != *b)
            return *a < *b ? -1 : 1;
    return 0;
}

TEST(GxMoaVariableTable, DefinitionsCreateArraysOrPlainValues)
{
    GxMoaVariableTable t(TABLE_GLOBAL);
    t.AddFromDefinition(Def(L"arr", SCOPE_GLOBAL_INGAME, 7, L"", 3));
    t.AddFromDefinition(Def(L"n", SCOPE_GLOBAL_INGAME, 7, L"", -1));
    t.AddFromDefinition(Def(L"n", SCOPE_GLOBAL_PERMAN, 8, L"", -1)); // present: nothing changes
    ASSERT_TRUE(t.Find(L"arr")->m_Value.IsArray());
    EXPECT_EQ(t.Find(L"arr")->m_Value.GetArraySize(), 3);
    EXPECT_TRUE(t.Find(L"arr")->m_Value.PeekElement(0)->IsNull());
    EXPECT_EQ(t.Find(L"n")->m_Value.ToInt64(), 7);
    EXPECT_EQ(t.Find(L"n")->m_Scope, SCOPE_GLOBAL_INGAME);
    EXPECT_EQ(t.StoreByName(L"new", 2, nullptr)->m_Scope, SCOPE_GLOBAL_INGAME);
    EXPECT_EQ(t.Find(L"new")->m_Value.GetArraySize(), 3);
    EXPECT_EQ(t.StoreByName(L"big", GxMoaVariable::kMaxArraySize, nullptr), nullptr);
    GxMoaVariableTable local;
    local.Add(L"_", IntV(1));
    local.Add(L"_", IntV(2));
    EXPECT_EQ(local.Find(L"_")->m_Value.ToInt64(), 1);
    EXPECT_EQ(local.Find(L"_")->m_Scope, SCOPE_LOCAL);
}

TEST(GxMoaVariableTable, RecordsOfTheClassAreWrittenMergedOnReadAndRefusedWhenDamaged)
{
    GxMoaVariableTable t;
    const int32_t scopes[] = {SCOPE_LOCAL, SCOPE_STATIC_INGAME, SCOPE_GLOBAL_PERMAN, SCOPE_GLOBAL_INGAME};
    for (int32_t s : scopes)
        t.StoreByName(std::wstring(GxMoaScope::Name(s)), -1, nullptr)->m_Scope = s;
    const auto bytes = WriteBytes(Form::Binary, [&](GxContentWriterBase* w) { t.Write(w, PERSIST_INGAME); });
    Bytes expected;
    expected.S32(3);
    for (const auto& [scope, name] : {std::pair{1, "LOCAL"}, {3, "STATIC_INGAME"}, {6, "GLOBAL_INGAME"}})
        expected.U32(254).S32(scope).Str(name);
    EXPECT_EQ(bytes, expected.Get());

    // Reading keeps the scopes of present variables and skips records of other classes.
    GxMoaVariableTable source;
    source.StoreByName(L"keep", -1, nullptr)->m_Scope = SCOPE_GLOBAL_INGAME;
    source.Find(L"keep")->m_Value.SetInt(5);
    source.StoreByName(L"perm", -1, nullptr)->m_Scope = SCOPE_GLOBAL_PERMAN;
    source.StoreByName(L"added", -1, nullptr)->m_Scope = SCOPE_EXTERN_INGAME;
    for (Form form : {Form::Binary, Form::Text})
    {
        const auto record = WriteBytes(form, [&](GxContentWriterBase* w) { source.Write(w, PERSIST_ALL); });
        GxMoaVariableTable target(TABLE_GLOBAL);
        target.StoreByName(L"keep", -1, nullptr)->m_Scope = SCOPE_LOCAL;
        auto reader = MakeReader(form, record);
        ASSERT_TRUE(target.Read(reader.get(), PERSIST_INGAME));
        EXPECT_EQ(target.Find(L"keep")->m_Value.ToInt64(), 5);
        EXPECT_EQ(target.Find(L"keep")->m_Scope, SCOPE_LOCAL); // the scope stays
        EXPECT_EQ(target.Find(L"perm"), nullptr);              // another class: skipped
        ASSERT_NE(target.Find(L"added"), nullptr);
        EXPECT_EQ(target.Find(L"added")->m_Scope, SCOPE_EXTERN_INGAME);
    }

    // Damaged counts are refused.
    for (int32_t count : {-1, 0x7FFFFFFF})
    {
        const auto bytes = Bytes().S32(count).U32(254).S32(1).Str("x").Get();
        GxMoaVariableTable t;
        auto reader = MakeReader(Form::Binary, bytes);
        EXPECT_FALSE(t.Read(reader.get(), PERSIST_ALL));
        EXPECT_LE(t.GetCount(), 1u);
    }
}

TEST(GxMoaVariableTable, LookupOrderIsLocalStaticGlobalExtern)
{
    Loaded l;
    ASSERT_TRUE(l.worker.StartAtLabel(L"start"));
    l.worker.GetTopFrame()->m_LocalTable.Add(L"v", IntV(1));
    EXPECT_EQ(l.worker.LookupVariable(L"v")->m_Value.ToInt64(), 1);
    l.worker.GetTopFrame()->m_LocalTable.Clear();
    EXPECT_EQ(l.worker.LookupVariable(L"v")->m_Value.ToInt64(), 2);
    l.A()->m_Table.Clear();
    EXPECT_EQ(l.worker.LookupVariable(L"v")->m_Value.ToInt64(), 3);
    l.worker.m_GlobalTable.Clear();
    EXPECT_EQ(l.worker.LookupVariable(L"v")->m_Value.ToInt64(), 4);
    l.moa.GetVariableTable()->Clear();
    EXPECT_EQ(l.worker.LookupVariable(L"v"), nullptr);
    // A worker without a runtime finds nothing.
    GxMoaWorker lone(nullptr);
    EXPECT_EQ(lone.FindVariable(L"v"), nullptr);
    lone.ResetVariablesOfClass(PERSIST_ALL);
}

TEST(GxMoaVariableTable, SaveSlotKeepsIngameAndResetsNosaveAndPermanentProgressKeepsOnlyPerman)
{
    Loaded l;
    l.SetAll(5);
    const auto bytes = WriteBytes(Form::Binary,
                                  [&](GxContentWriterBase* w)
                                  {
                                      EXPECT_TRUE(l.moa.WriteVariables(w, PERSIST_INGAME));
                                      EXPECT_TRUE(l.worker.WriteScriptEntities(w, PERSIST_INGAME));
                                  });
    l.SetAll(9);
    l.moa.ResetGameVariables();
    l.worker.ResetGame();
    EXPECT_EQ(l.Values({L"gi", L"gp"}), L"1 9"); // PERMAN survives a return to the title
    auto reader = MakeReader(Form::Binary, bytes);
    ASSERT_TRUE(l.moa.ReloadVariables(reader.get(), PERSIST_INGAME));
    ASSERT_TRUE(l.worker.ReloadScriptEntities(reader.get(), PERSIST_INGAME));
    EXPECT_EQ(l.Values({L"si", L"gi", L"ei", L"sn", L"en", L"sp"}), L"5 5 5 1 1 9");

    Loaded perm;
    perm.SetAll(6);
    const auto permBytes = WriteBytes(Form::Text,
                                      [&](GxContentWriterBase* w)
                                      {
                                          perm.moa.WriteVariables(w, PERSIST_PERMAN);
                                          perm.worker.WriteScriptEntities(w, PERSIST_PERMAN);
                                      });
    perm.moa.ResetVariablesOfClass(PERSIST_ALL);
    perm.worker.ResetVariablesOfClass(PERSIST_ALL);
    EXPECT_EQ(perm.Value(L"sp"), 1);
    auto permReader = MakeReader(Form::Text, permBytes);
    ASSERT_TRUE(perm.moa.ReadVariables(permReader.get(), PERSIST_PERMAN));
    ASSERT_TRUE(perm.worker.ReadScriptEntities(permReader.get(), PERSIST_PERMAN));
    EXPECT_EQ(perm.Values({L"sp", L"gp", L"ep", L"si"}), L"6 6 6 1");
}

TEST(GxMoaVariableTable, ResetByClassTouchesOnlyItsScopes)
{
    Loaded l;
    l.SetAll(7);
    l.worker.ResetVariablesOfClass(PERSIST_NOSAVE);
    EXPECT_EQ(l.Values({L"gn", L"sn", L"gi", L"en"}), L"1 1 7 7"); // EXTERN belongs to the runtime's own reset
    l.moa.ResetVariablesOfClass(PERSIST_NOSAVE);
    EXPECT_EQ(l.Value(L"en"), 1);
    // A variable whose definition has gone from the program becomes Null.
    l.moa.m_VariableDefine.erase(l.moa.m_VariableDefine.begin() + 1); // "gi"
    l.worker.ResetVariablesOfClass(PERSIST_INGAME);
    EXPECT_TRUE(l.A()->FindVariable(L"gi")->m_Value.IsNull());
}

TEST(GxMoaVariableTable, EntitiesOfScriptsNoLongerInTheProgramAreSkipped)
{
    Loaded l;
    l.SetAll(3);
    // Save from a program that had a script "old" besides "a" and "b".
    auto old = std::make_unique<GxMoaScript>();
    old->m_ScriptName = L"old";
    old->m_VariableDefine = {Def(L"o", SCOPE_STATIC_INGAME, 1, L"old")};
    l.moa.AddScript(std::move(old));
    l.worker.CreateGlobalVariables();
    l.SetAll(3);
    const auto bytes = WriteBytes(Form::Binary, [&](GxContentWriterBase* w) { l.worker.WriteScriptEntities(w, 3); });
    l.moa.m_ScriptDefine.erase(L"old");
    l.worker.CreateGlobalVariables();
    auto reader = MakeReader(Form::Binary, bytes);
    ASSERT_TRUE(l.worker.ReadScriptEntities(reader.get(), PERSIST_INGAME));
    EXPECT_TRUE(reader->IsEnd());
    EXPECT_EQ(l.Value(L"si"), 3);
    EXPECT_EQ(l.worker.FindScriptEntity(L"old"), nullptr);
}

TEST(GxMoaVariableTable, DumpTexts)
{
    GxMoa moa;
    moa.m_VariableDefine.push_back(Def(L"count", SCOPE_EXTERN_INGAME, 5));
    moa.CreateExternVariables();
    std::wstring out;
    moa.m_ExternTable.Dump(out, 0);
    EXPECT_EQ(out, L"Scope:EXTERN_INGAME\n$count=5(Int)\n");
    out.clear();
    moa.Dump(out, 0);
    EXPECT_EQ(out, L"--MoaInstance:\nScope:EXTERN_INGAME\n$count=5(Int)\n");

    Loaded l;
    ASSERT_TRUE(l.worker.StartAtLabel(L"start"));
    out.clear();
    l.worker.Dump(out, 1);
    EXPECT_EQ(out.rfind(L"----Worker:MAIN_WORKER\n", 0), 0u);
    EXPECT_NE(out.find(L"------Script:a\nScope:STATIC_PERMAN\n    $sp=1(Int)\n"), std::wstring::npos);
    EXPECT_NE(out.find(L"------ExecStack:0\n"), std::wstring::npos);
}

// A refused slot load puts the script state back by reading a snapshot over what the damaged record
// added: the reset before each read must drop variables only a file named (no definition), or the
// snapshot would leave them behind, emptied, and the refused load would have changed the game.
TEST(GxMoaVariableTable, ReloadingASnapshotDropsVariablesOnlyAFileNamed)
{
    auto record = [](Loaded& l)
    {
        return WriteBytes(Form::Binary,
                          [&](GxContentWriterBase* w)
                          {
                              l.moa.WriteVariables(w, PERSIST_INGAME);
                              l.worker.WriteScriptEntities(w, PERSIST_INGAME);
                          });
    };
    auto reload = [](Loaded& l, const std::vector<uint8_t>& bytes)
    {
        auto reader = MakeReader(Form::Binary, bytes);
        return l.moa.ReloadVariables(reader.get(), PERSIST_INGAME) &&
               l.worker.ReloadScriptEntities(reader.get(), PERSIST_INGAME);
    };
    Loaded live;
    live.SetAll(5);
    const auto snapshot = record(live);

    Loaded damaged;
    damaged.A()->m_Table.Add(L"static_gone", IntV(7));
    damaged.worker.m_GlobalTable.Add(L"global_gone", IntV(7));
    damaged.moa.GetVariableTable()->Add(L"extern_gone", IntV(7));
    ASSERT_TRUE(reload(live, record(damaged)));
    ASSERT_NE(live.A()->FindVariable(L"static_gone"), nullptr);

    ASSERT_TRUE(reload(live, snapshot));
    EXPECT_EQ(live.A()->FindVariable(L"static_gone"), nullptr);
    EXPECT_EQ(live.worker.m_GlobalTable.Find(L"global_gone"), nullptr);
    EXPECT_EQ(live.moa.GetVariableTable()->Find(L"extern_gone"), nullptr);
    EXPECT_EQ(record(live), snapshot);
    EXPECT_EQ(live.Values({L"si", L"gi", L"ei"}), L"5 5 5");
}

// The slot seed's record with `extra` EXTERN variables no program defines (Null, as a damaged or foreign
// slot may carry): reloading it adds them, and the reset before the next load removes them all again. That
// reset must cost in proportion to the table, not remove them one at a time from the middle of it.
TEST(GxMoaVariableTable, ResetDropsVariablesOnlyASlotNamedAtACostInProportionToThem)
{
    const SlotSeed seed = ReadSlotSeed();
    ASSERT_FALSE(seed.m_Record.empty());
    auto grown = [&](int extra)
    {
        Started saved(seed.m_Program);
        EXPECT_TRUE(saved.Reload(seed.m_Record));
        for (int i = 0; i < extra; ++i)
            saved.moa.GetVariableTable()->StoreNullByName(L"slot_only_" + std::to_wstring(i), -1);
        return WriteBytes(Form::Binary,
                          [&](GxContentWriterBase* w)
                          {
                              saved.moa.WriteVariables(w, PERSIST_INGAME);
                              saved.worker.WriteScriptEntities(w, PERSIST_INGAME);
                          });
    };
    auto resetSeconds = [&](int extra)
    {
        const std::vector<uint8_t> record = grown(extra);
        std::unique_ptr<Started> live;
        return LeastCpuSeconds(
            [&]()
            {
                live = std::make_unique<Started>(seed.m_Program);
                ASSERT_TRUE(live->Reload(record));
                ASSERT_GE(live->moa.GetVariableTable()->GetCount(), static_cast<size_t>(extra));
            },
            [&]() { live->moa.ResetGameVariables(); });
    };
    // Every slot-only variable goes; the program's own stay, in their order.
    Started fresh(seed.m_Program);
    Started live(seed.m_Program);
    ASSERT_TRUE(live.Reload(grown(100)));
    live.moa.ResetGameVariables();
    EXPECT_EQ(live.ExternNames(), fresh.ExternNames());

    const double small = resetSeconds(512);
    const double large = resetSeconds(kSizeStep * 512);
    EXPECT_LT(large, kMostGrowthAtTheLargerSize * small) << small << " s, then " << large << " s";
}

// The sample program of the fuzz corpus with 256 more EXTERN, GLOBAL and STATIC definitions each, and
// `others` definitions before them that make no variable (scope NONE), read as start-up reads it. A reset
// looks up the definition of every variable it resets: the names that compares must not grow with the
// number of other definitions, as they do (256 times) when the lookup searches them from the front.
TEST(GxMoaVariableTable, ResetLooksUpDefinitionsAtACostThatTheirNumberDoesNotRaise)
{
    const std::string seedBytes = kvtest::CorpusSeedBytes("fuzz_MoaProgram/sample_program.bin");
    ASSERT_GT(seedBytes.size(), 4u);
    const std::vector<uint8_t> seed(seedBytes.begin() + 4, seedBytes.end());
    constexpr int kReset = 256;
    auto program = [&](int others)
    {
        Started sample(seed);
        GxMoaScript& script = *sample.moa.m_ScriptDefine.begin()->second;
        for (int i = 0; i < others; ++i)
        {
            sample.moa.m_VariableDefine.push_back(Def(NumberedName(L"others", i), SCOPE_NONE, i));
            script.m_VariableDefine.push_back(Def(NumberedName(L"others", i), SCOPE_NONE, i, script.m_ScriptName));
        }
        for (int i = 0; i < kReset; ++i)
        {
            sample.moa.m_VariableDefine.push_back(Def(NumberedName(L"extern", i), SCOPE_EXTERN_INGAME, i));
            sample.moa.m_VariableDefine.push_back(Def(NumberedName(L"global", i), SCOPE_GLOBAL_INGAME, i));
            script.m_VariableDefine.push_back(
                Def(NumberedName(L"static", i), SCOPE_STATIC_INGAME, i, script.m_ScriptName));
        }
        return WriteBytes(Form::Binary, [&](GxContentWriterBase* w) { sample.moa.Write(w); });
    };
    struct Compared
    {
        size_t m_Runtime = 0, m_Worker = 0;
    };
    auto resetCompares = [&](int others)
    {
        Started live(program(others));
        GxMoaVariableSet* probe = live.moa.GetVariableTable()->Find(NumberedName(L"extern", 7));
        EXPECT_NE(probe, nullptr);
        if (!probe)
            return Compared{};
        probe->m_Value.SetInt(-1);
        Compared compared;
        compared.m_Runtime = NamesCompared([&]() { live.moa.ResetGameVariables(); });
        EXPECT_EQ(probe->m_Value.ToInt64(), 7);
        compared.m_Worker = NamesCompared([&]() { live.worker.ResetGame(); });
        return compared;
    };
    const Compared few = resetCompares(kReset);
    const Compared many = resetCompares(256 * kReset);
    // The count sees the lookups: one name found at least for every variable reset.
    EXPECT_GE(few.m_Runtime, static_cast<size_t>(kReset));
    EXPECT_GE(few.m_Worker, static_cast<size_t>(2 * kReset));
    EXPECT_LE(many.m_Runtime, 2 * few.m_Runtime) << few.m_Runtime << " names compared, then " << many.m_Runtime;
    EXPECT_LE(many.m_Worker, 2 * few.m_Worker) << few.m_Worker << " names compared, then " << many.m_Worker;
}
