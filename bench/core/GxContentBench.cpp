// Reading and writing a 5 MB content record in both forms, against plain byte copies of the same size
// (memcpy for reading, fwrite of the finished bytes for writing) measured in the same run.
#include "core/GxContentBinaryReader.h"
#include "core/GxContentBinaryWriter.h"
#include "core/GxContentTextReader.h"
#include "core/GxContentTextWriter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace
{

constexpr size_t kRecordBytes = 5u << 20;

// The items of a typical large record (a save's unit list, a model's keys): numbers, a vector, a name.
void WriteItems(GxContentWriterBase& w, uint32_t count)
{
    w.WriteHeader("BENCH", 1);
    w.ListBegin("m_Items", "Item", count);
    const std::wstring name = L"ユニット名 unit";
    for (uint32_t i = 0; i < count; ++i)
    {
        w.Write("m_Id", int32_t(i));
        w.Write("m_Flags", uint64_t(i) * 2654435761u);
        w.Write("m_Speed", float(i % 1000) * 0.25f);
        GxVector3 p(float(i % 40), float(i / 40 % 40), 0.5f);
        w.Write("m_Pos", &p);
        w.Write("m_Alive", (i & 1) != 0);
        w.WriteString("m_Name", name);
    }
    w.ListEnd();
}

uint32_t ReadItems(GxContentReaderBase& r)
{
    uint32_t version = 0;
    r.ReadHeader("BENCH", version);
    uint32_t count = 0;
    r.ListBegin("m_Items", count);
    uint32_t sum = 0;
    std::wstring name;
    for (uint32_t i = 0; i < count; ++i)
    {
        sum += uint32_t(r.GetS32("m_Id"));
        sum += uint32_t(r.GetU64("m_Flags"));
        sum += uint32_t(r.GetF32("m_Speed"));
        sum += uint32_t(r.GetVector3("m_Pos").x);
        sum += r.GetBool("m_Alive");
        r.ReadString("m_Name", name);
        sum += uint32_t(name.size());
    }
    r.ListEnd();
    return sum + r.GetErrorCount();
}

std::string WriteToMemory(bool text, uint32_t count)
{
    char* data = nullptr;
    size_t size = 0;
    FILE* file = open_memstream(&data, &size);
    {
        std::unique_ptr<GxContentWriterBase> w;
        if (text)
            w = std::make_unique<GxContentTextWriter>(file);
        else
            w = std::make_unique<GxContentBinaryWriter>(file);
        WriteItems(*w, count);
    }
    std::fclose(file);
    std::string bytes(data, size);
    std::free(data);
    return bytes;
}

// The number of items that makes the form's record about 5 MB.
uint32_t ItemsFor(bool text)
{
    const size_t per = WriteToMemory(text, 1000).size() / 1000;
    return uint32_t(kRecordBytes / per);
}

const std::string& Record(bool text)
{
    static const std::string s_Binary = WriteToMemory(false, ItemsFor(false));
    static const std::string s_Text = WriteToMemory(true, ItemsFor(true));
    return text ? s_Text : s_Binary;
}

void BM_ReadReferenceMemcpy(benchmark::State& state)
{
    const std::string& bytes = Record(false);
    std::vector<char> copy(bytes.size());
    for (auto _ : state)
    {
        std::memcpy(copy.data(), bytes.data(), bytes.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void BM_ReadBinary(benchmark::State& state)
{
    const std::string& bytes = Record(false);
    for (auto _ : state)
    {
        GxContentBinaryReader r(bytes.data(), uint32_t(bytes.size()));
        benchmark::DoNotOptimize(ReadItems(r));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void BM_ReadText(benchmark::State& state)
{
    const std::string& bytes = Record(true);
    for (auto _ : state)
    {
        GxContentTextReader r(bytes.data(), uint32_t(bytes.size()));
        benchmark::DoNotOptimize(ReadItems(r));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void BM_WriteReferenceFwrite(benchmark::State& state)
{
    const std::string& bytes = Record(false);
    FILE* null = std::fopen("/dev/null", "wb");
    for (auto _ : state)
    {
        for (size_t at = 0; at < bytes.size(); at += 4096)
            std::fwrite(bytes.data() + at, 1, std::min<size_t>(4096, bytes.size() - at), null);
    }
    std::fclose(null);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void WriteBench(benchmark::State& state, bool text)
{
    const uint32_t count = ItemsFor(text);
    const size_t size = Record(text).size();
    FILE* null = std::fopen("/dev/null", "wb");
    for (auto _ : state)
    {
        std::unique_ptr<GxContentWriterBase> w;
        if (text)
            w = std::make_unique<GxContentTextWriter>(null);
        else
            w = std::make_unique<GxContentBinaryWriter>(null);
        WriteItems(*w, count);
    }
    std::fclose(null);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}

void BM_WriteBinary(benchmark::State& state)
{
    WriteBench(state, false);
}
void BM_WriteText(benchmark::State& state)
{
    WriteBench(state, true);
}

} // namespace

BENCHMARK(BM_ReadReferenceMemcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteReferenceFwrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteText)->Unit(benchmark::kMillisecond);
