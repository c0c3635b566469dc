// The file layer: mounting a large pack, opening and reading random entries from plain and scrambled
// packs against the same bytes from loose files, cache hits against misses, and reading and splitting a
// 20,000-row table. Compare each group's times within one run.
#include "../../tools/gxpack/GxPackWriter.h"

#include "core/GxBinBuffer.h"
#include "core/GxFile.h"
#include "core/GxFileCache.h"
#include "core/GxFileHandle.h"
#include "core/GxPack.h"
#include "core/GxString.h"
#include "core/GxText.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <ftw.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

const int kEntryCount = 10000;
const int kReadEntries = 2000;
const size_t kReadEntrySize = 16 * 1024;

int RemoveOne(const char* path, const struct stat*, int, struct FTW*)
{
    return remove(path);
}

// One temporary folder holding every file the benchmarks read, built on first use.
struct BenchData
{
    std::string dir;
    std::vector<std::string> names; // entries of the read packs, also present as loose files
    std::vector<int> order;         // random order of entry indexes

    BenchData()
    {
        char pattern[] = "/tmp/kvbenchXXXXXX";
        dir = mkdtemp(pattern);
        mkdir((dir + "/loose").c_str(), 0755);
        mkdir((dir + "/loose/data").c_str(), 0755);

        GxPackWriter big;
        for (int i = 0; i < kEntryCount; ++i)
            big.Add(L"data/many/entry_" + std::to_wstring(i) + L".bin", std::string(64, 'x'), 0);
        big.Write(dir + "/many.gxp", GxPackWriter::kNamesUtf16LE, GxPackWriter::kScrambled);

        GxPackWriter reads;
        std::mt19937 rng(12345);
        std::string bytes(kReadEntrySize, '\0');
        for (int i = 0; i < kReadEntries; ++i)
        {
            for (char& c : bytes)
                c = static_cast<char>(rng());
            std::string name = "data/r" + std::to_string(i) + ".bin";
            names.push_back(name);
            std::ofstream(dir + "/loose/" + name, std::ios::binary).write(bytes.data(), bytes.size());
            reads.Add(std::wstring(name.begin(), name.end()), bytes, 0);
        }
        reads.Write(dir + "/plain.gxp", GxPackWriter::kNamesUtf16LE, GxPackWriter::kPlain);
        reads.Write(dir + "/scrambled.gxp", GxPackWriter::kNamesUtf16LE, GxPackWriter::kScrambled);
        for (int i = 0; i < kReadEntries; ++i)
            order.push_back(i);
        std::shuffle(order.begin(), order.end(), rng);

        for (size_t size : {size_t{64 * 1024}, size_t{1024 * 1024}})
        {
            std::string data(size, 'c');
            std::ofstream(dir + "/cache" + std::to_string(size) + ".bin", std::ios::binary)
                .write(data.data(), data.size());
        }

        std::string table = "\xEF\xBB\xBF#id\tname\tvalue\tnote\tflag\n";
        for (int i = 1; i <= 20000; ++i)
            table += std::to_string(i) + "\t名前" + std::to_string(i) + "\t0x" + std::to_string(i % 4096) +
                     "\t\"説明の文章。\"\t" + std::to_string(i % 2) + "\n";
        std::ofstream(dir + "/table.txt", std::ios::binary).write(table.data(), table.size());
    }
    ~BenchData() { nftw(dir.c_str(), &RemoveOne, 16, FTW_DEPTH | FTW_PHYS); }

    std::wstring Wide(const std::string& relative) const
    {
        std::string a = dir + "/" + relative;
        return std::wstring(a.begin(), a.end());
    }
};

BenchData& Data()
{
    static BenchData s_Data;
    return s_Data;
}

// --- mounting -------------------------------------------------------------------------------------

void BM_MountPack10000Entries(benchmark::State& state)
{
    const std::wstring pack = Data().Wide("many.gxp");
    for (auto _ : state)
    {
        if (!GxFile::MountPack(pack))
            state.SkipWithError("mount failed");
        GxFile::UnmountAll();
    }
    state.counters["entries"] = kEntryCount;
}
BENCHMARK(BM_MountPack10000Entries)->Unit(benchmark::kMillisecond);

// Reference: reading the same pack file whole with plain POSIX calls.
void BM_MountReference_RawReadOfPack(benchmark::State& state)
{
    const std::string path = Data().dir + "/many.gxp";
    std::vector<char> buffer(4 << 20);
    for (auto _ : state)
    {
        int fd = open(path.c_str(), O_RDONLY);
        ssize_t n = read(fd, buffer.data(), buffer.size());
        benchmark::DoNotOptimize(n);
        close(fd);
    }
}
BENCHMARK(BM_MountReference_RawReadOfPack)->Unit(benchmark::kMillisecond);

// --- open + read of random entries -------------------------------------------------------------------

void ReadRandomEntries(benchmark::State& state, const std::string& prefix)
{
    BenchData& d = Data();
    std::vector<std::wstring> names;
    for (int i : d.order)
    {
        std::string n = prefix + d.names[i];
        names.emplace_back(n.begin(), n.end());
    }
    std::vector<char> buffer(kReadEntrySize);
    size_t next = 0;
    for (auto _ : state)
    {
        GxFileHandle handle;
        if (!GxFile::Open(handle, names[next]))
        {
            state.SkipWithError("open failed");
            break;
        }
        benchmark::DoNotOptimize(GxFile::Read(buffer.data(), static_cast<uint32_t>(buffer.size()), handle));
        GxFile::Close(handle);
        next = (next + 1) % names.size();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kReadEntrySize));
}

void BM_OpenRead_LooseReference(benchmark::State& state)
{
    ReadRandomEntries(state, Data().dir + "/loose/");
}
BENCHMARK(BM_OpenRead_LooseReference);

void BM_OpenRead_PlainPack(benchmark::State& state)
{
    GxFile::MountPack(Data().Wide("plain.gxp"));
    ReadRandomEntries(state, "");
    GxFile::UnmountAll();
}
BENCHMARK(BM_OpenRead_PlainPack);

void BM_OpenRead_ScrambledPack(benchmark::State& state)
{
    GxFile::MountPack(Data().Wide("scrambled.gxp"));
    ReadRandomEntries(state, "");
    GxFile::UnmountAll();
}
BENCHMARK(BM_OpenRead_ScrambledPack);

// Descrambling alone against a plain copy of the same bytes.
void BM_Descramble1MiB(benchmark::State& state)
{
    std::vector<uint8_t> bytes(1 << 20, 0x5A);
    for (auto _ : state)
    {
        GxPack::Descramble(bytes.data(), static_cast<uint32_t>(bytes.size()), 7);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (1 << 20));
}
BENCHMARK(BM_Descramble1MiB);

void BM_DescrambleReference_Memcpy1MiB(benchmark::State& state)
{
    std::vector<uint8_t> from(1 << 20, 0x5A), to(1 << 20);
    for (auto _ : state)
    {
        std::memcpy(to.data(), from.data(), to.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (1 << 20));
}
BENCHMARK(BM_DescrambleReference_Memcpy1MiB);

// --- the file cache ------------------------------------------------------------------------------------

void LoadThroughCache(benchmark::State& state, bool hit)
{
    const std::wstring name = Data().Wide("cache" + std::to_string(state.range(0)) + ".bin");
    GxFile::ClearCache();
    GxFile::SetCacheCapacity(0xB400000);
    GxFile::SetCacheFileLimit(0x100000);
    GxFile::SetCacheEnabled(hit);
    GxBinBuffer buffer;
    GxFile::LoadToBuffer(buffer, name, hit);
    for (auto _ : state)
    {
        GxBinBuffer out;
        if (!GxFile::LoadToBuffer(out, name, hit))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(out.GetData());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
    GxFile::SetCacheEnabled(false);
    GxFile::ClearCache();
}

void BM_LoadToBuffer_CacheMiss(benchmark::State& state)
{
    LoadThroughCache(state, false);
}
BENCHMARK(BM_LoadToBuffer_CacheMiss)->Arg(64 * 1024)->Arg(1024 * 1024);

void BM_LoadToBuffer_CacheHit(benchmark::State& state)
{
    LoadThroughCache(state, true);
}
BENCHMARK(BM_LoadToBuffer_CacheHit)->Arg(64 * 1024)->Arg(1024 * 1024);

// --- tables ----------------------------------------------------------------------------------------------

void BM_Table20000Rows_LoadAndSplit(benchmark::State& state)
{
    const std::wstring name = Data().Wide("table.txt");
    std::vector<std::wstring> lines, fields;
    for (auto _ : state)
    {
        lines.clear();
        GxText::LoadLines(lines, name, false);
        int64_t sum = 0;
        for (const std::wstring& line : lines)
        {
            if (line.empty() || line[0] == L'#')
                continue;
            GxString::Split(fields, line, L"\t", 5);
            sum += GxString::ToInt(fields[0].c_str(), nullptr, 0, false) + GxString::ToInt(fields[2].c_str());
            benchmark::DoNotOptimize(GxString::Unquote(fields[3], 0));
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["rows"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_Table20000Rows_LoadAndSplit)->Unit(benchmark::kMillisecond);

// Reference: the same file loaded whole, without decoding.
void BM_TableReference_LoadBytes(benchmark::State& state)
{
    const std::wstring name = Data().Wide("table.txt");
    for (auto _ : state)
    {
        GxBinBuffer buffer;
        GxFile::LoadToBuffer(buffer, name, false);
        benchmark::DoNotOptimize(buffer.GetData());
    }
}
BENCHMARK(BM_TableReference_LoadBytes)->Unit(benchmark::kMillisecond);

} // namespace
