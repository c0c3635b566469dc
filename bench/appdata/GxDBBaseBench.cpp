// Table loading against its own input: the sample data set (all fourteen tables, sixteen files, written
// by tools/samplegen) and a synthetic 20,000-row table, each measured beside the reference of reading
// and decoding the same files into lines with GxText::LoadLines, so the ratio is the cost of splitting
// and converting the cells.
#include "appdata/DBAvgChar.h"
#include "appdata/DBBGMMode.h"
#include "appdata/DBCGMode.h"
#include "appdata/DBEffect.h"
#include "appdata/DBRPMode.h"
#include "appdata/DBUILayout.h"
#include "appdata/DBUIModule.h"
#include "appdata/DBZorCommand.h"
#include "appdata/DBZorEnemy.h"
#include "appdata/DBZorSkill.h"
#include "appdata/DBZorStruct.h"
#include "appdata/DBZorTown.h"
#include "appdata/DBZorUnit.h"
#include "appdata/DBZorVoice.h"
#include "appdata/GxDBTable.h"
#include "core/GxString.h"
#include "core/GxText.h"
#include "support/BenchSampleGame.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace
{

const wchar_t* const s_SampleFiles[] = {
    L"data/db_avgchar.txt",      L"data/db_bgmmode.txt",  L"data/db_cgmode.txt",   L"data/db_rpmode.txt",
    L"data/db_uimodule.txt",     L"data/db_uilayout.txt", L"data/db_effect.txt",   L"data/db_uimodule_zor.txt",
    L"data/db_uilayout_zor.txt", L"data/db_zorenemy.txt", L"data/db_zorskill.txt", L"data/db_zorstruct.txt",
    L"data/db_zorunit.txt",      L"data/db_zorvoice.txt", L"data/db_zortown.txt",  L"data/db_zorcommand.txt"};

// The sample data set and the synthetic table live in the program's generated sample game.
std::wstring SamplePath(const wchar_t* file)
{
    return GxString::FromUtf8((BenchSampleGame::Folder() / GxString::ToUtf8(file)).string());
}

// All fourteen tables, each a fresh object per load so every pass does the same work.
struct SampleTables
{
    DBAvgChar avgChar;
    DBBGMMode bgmMode;
    DBCGMode cgMode;
    DBRPMode rpMode;
    DBUIModule uiModule;
    DBUILayout uiLayout;
    DBEffect effect;
    DBZorEnemy zorEnemy;
    DBZorSkill zorSkill;
    DBZorStruct zorStruct;
    DBZorUnit zorUnit;
    DBZorVoice zorVoice;
    DBZorTown zorTown;
    DBZorCommand zorCommand;

    std::vector<GxDBBase*> InLoadOrder()
    {
        return {&avgChar,  &bgmMode,  &cgMode,   &rpMode,    &uiModule, &uiLayout, &effect,  &uiModule,
                &uiLayout, &zorEnemy, &zorSkill, &zorStruct, &zorUnit,  &zorVoice, &zorTown, &zorCommand};
    }
};

void BM_ReferenceSampleLines(benchmark::State& state)
{
    BenchSampleGame::Folder();
    for (auto _ : state)
    {
        for (const wchar_t* file : s_SampleFiles)
        {
            std::vector<std::wstring> lines;
            benchmark::DoNotOptimize(GxText::LoadLines(lines, SamplePath(file), false));
        }
    }
}
BENCHMARK(BM_ReferenceSampleLines)->Unit(benchmark::kMicrosecond);

void BM_LoadSampleTables(benchmark::State& state)
{
    BenchSampleGame::Folder();
    for (auto _ : state)
    {
        auto tables = std::make_unique<SampleTables>();
        std::vector<GxDBBase*> order = tables->InLoadOrder();
        for (size_t i = 0; i < order.size(); ++i)
            benchmark::DoNotOptimize(order[i]->Load(SamplePath(s_SampleFiles[i])));
    }
}
BENCHMARK(BM_LoadSampleTables)->Unit(benchmark::kMicrosecond);

// A synthetic table the size no game table reaches, with every kind of cell.
struct SyntheticData
{
    int32_t m_ID = 0;
    std::wstring m_Name;
    int32_t m_Value[6] = {};
    float m_Rate = 0.0f;
    uint32_t m_Time = 0;
    std::wstring m_Descript;
};

constexpr int32_t s_SyntheticRows = 20000;

constexpr GxDBColumn s_SyntheticColumns[] = {GX_DB_COLUMN(SyntheticData, ID),    GX_DB_COLUMN(SyntheticData, Name),
                                             GX_DB_COLUMN(SyntheticData, Value), GX_DB_COLUMN(SyntheticData, Rate),
                                             GX_DB_COLUMN(SyntheticData, Time),  GX_DB_COLUMN(SyntheticData, Descript)};

class DBSynthetic : public GxDBTable<SyntheticData, s_SyntheticRows>
{
public:
    DBSynthetic() : GxDBTable(L"DBSynthetic", s_SyntheticColumns) {}
};

const std::wstring& SyntheticPath()
{
    static const std::wstring s_Path = []
    {
        std::filesystem::path path = BenchSampleGame::Folder() / "synthetic.txt";
        std::wstring text = L"#ID\tName\tValue x6\tRate\tTime\tDescript\n";
        for (int32_t i = 0; i < s_SyntheticRows; ++i)
            text += GxString::Format(L"%d\tunit_%05d\t%d\t0x%x\t-%d\t010\t+7\t%d\t%d.25\t%u\t説明文その%d\n", i, i, i,
                                     i, i, i % 100, i % 50, static_cast<unsigned>(i) * 1000u, i);
        std::ofstream out(path, std::ios::binary);
        out << "\xEF\xBB\xBF" << GxString::ToUtf8(text);
        return GxString::FromUtf8(path.string());
    }();
    return s_Path;
}

void BM_ReferenceSyntheticLines(benchmark::State& state)
{
    const std::wstring& path = SyntheticPath();
    for (auto _ : state)
    {
        std::vector<std::wstring> lines;
        benchmark::DoNotOptimize(GxText::LoadLines(lines, path, false));
    }
}
BENCHMARK(BM_ReferenceSyntheticLines)->Unit(benchmark::kMillisecond);

void BM_LoadSyntheticTable(benchmark::State& state)
{
    const std::wstring& path = SyntheticPath();
    for (auto _ : state)
    {
        auto table = std::make_unique<DBSynthetic>();
        benchmark::DoNotOptimize(table->Load(path));
    }
}
BENCHMARK(BM_LoadSyntheticTable)->Unit(benchmark::kMillisecond);

} // namespace
