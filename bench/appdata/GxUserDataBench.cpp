// The player's files against their references, measured in the same run:
//   a save slot (100 log entries, a scene of 21 tasks) saved, against the atomic writer storing the same
//   bytes (the save's own overhead is building the record in memory);
//   the same slot loaded with its checks and snapshot, against a bare reader pass over the file (loading
//   it and reading every value by its type), and, for scale, a pass that only skips the values;
//   the thumbnail made from a capture, against the capture's read-back alone.
#include "appdata/GxGlobalRenderTargets.h"
#include "appdata/GxUserData.h"
#include "core/GxAtomicFile.h"
#include "core/GxBinBuffer.h"
#include "core/GxContentBinaryReader.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentValueType.h"
#include "core/GxContentWriterBase.h"
#include "core/GxCore.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "support/BenchDevice.h"
#include "task/GxTaskFolder.h"
#include "task/GxTaskManage.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace
{

class RecordTask : public GxTaskFolder
{
public:
    using GxTaskFolder::GxTaskFolder;
    bool Save(GxContentWriterBase* w) override
    {
        w->WriteString("Record", m_Text);
        w->Write("Value", m_Value);
        return true;
    }
    bool Load(GxContentReaderBase* r) override
    {
        r->ReadString("Record", m_Text);
        r->Read("Value", m_Value);
        return r->GetErrorCount() == 0;
    }
    std::wstring m_Text = L"a layer's record";
    int32_t m_Value = 7;
};

// The adventure screen's named tasks, the filled slot and its file, made once.
struct SlotScene
{
    GxCore core;
    GxTaskManage manage{&core};
    std::unique_ptr<GxUserData> data;
    std::filesystem::path folder;
    std::wstring path;
    std::wstring reference;

    SlotScene()
    {
        folder = std::filesystem::temp_directory_path() / ("kv_bench_slot_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        GxLog::SetErrorLogPath(GxString::FromUtf8((folder / "error.log").string()));
        path = GxString::FromUtf8((folder / "gamedata001.gd").string());
        reference = GxString::FromUtf8((folder / "reference.gd").string());
        core.m_TaskManage = &manage;
        GxTaskBase* root = new GxTaskBase(&manage);
        for (const wchar_t* name : {L"$VISUAL:SeqAvgMain", L"$BGLAYER:SeqAvgMain", L"$BGWLAYER:SeqAvgMain",
                                    L"$MOVIELAYER:SeqAvgMain", L"$GLOBALFLASH:SeqAvgMain", L"$GLOBALFADE:SeqAvgMain",
                                    L"$MESWIN:SeqAvgMain", L"$NAMEWIN:SeqAvgMain", L"$NAMEIMAGE:SeqAvgMain"})
            new RecordTask(root, name);
        new RecordTask(root, L"$STAND:SeqAvgMain");
        GxTaskFolder* select = new RecordTask(root, L"$SELECT:SeqAvgMain");
        for (int i = 1; i <= 10; ++i)
            new RecordTask(select, nullptr, L"btn_select", i);
        data = std::make_unique<GxUserData>(&core);
        for (int i = 0; i < 100; ++i)
            data->AddMessageLog(L"名前", L"本文の一行、バックログに残る程度の長さのメッセージ " + std::to_wstring(i),
                                false, false);
        data->Save(path, true);
    }
    ~SlotScene()
    {
        core.m_TaskManage = nullptr;
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

SlotScene& Slot()
{
    static SlotScene scene;
    return scene;
}

void BM_SlotSave(benchmark::State& state)
{
    SlotScene& s = Slot();
    for (auto _ : state)
        benchmark::DoNotOptimize(s.data->Save(s.path, true));
}
BENCHMARK(BM_SlotSave)->Unit(benchmark::kMicrosecond);

void BM_SlotSaveReference_AtomicWriteOfTheSameBytes(benchmark::State& state)
{
    SlotScene& s = Slot();
    std::string bytes;
    std::wstring missing;
    s.data->WriteToMemory(bytes, true, missing);
    for (auto _ : state)
        benchmark::DoNotOptimize(GxAtomicFile::WriteFile(s.reference, bytes.data(), bytes.size()));
}
BENCHMARK(BM_SlotSaveReference_AtomicWriteOfTheSameBytes)->Unit(benchmark::kMicrosecond);

void BM_SlotLoadWithChecks(benchmark::State& state)
{
    SlotScene& s = Slot();
    for (auto _ : state)
        benchmark::DoNotOptimize(s.data->Load(s.path, true));
}
BENCHMARK(BM_SlotLoadWithChecks)->Unit(benchmark::kMicrosecond);

// The reader over the file once, every value read by its type (strings decoded), nothing kept: what
// any load of the file must do at the least.
void BM_SlotLoadReference_BareReaderPass(benchmark::State& state)
{
    SlotScene& s = Slot();
    for (auto _ : state)
    {
        GxBinBuffer buffer;
        GxFile::LoadToBuffer(buffer, s.path, false);
        GxContentBinaryReader reader(buffer);
        uint32_t version = 0;
        reader.ReadHeader("BGD", version);
        std::wstring text;
        uint32_t count = 0;
        while (!reader.IsEnd() && reader.GetErrorCount() == 0)
        {
            switch (reader.PeekValueType())
            {
            case VALTYPE_GxStringUTF8:
                reader.ReadString("", text);
                break;
            case VALTYPE_GxS32:
                benchmark::DoNotOptimize(reader.GetS32(""));
                break;
            case VALTYPE_GxU32:
                benchmark::DoNotOptimize(reader.GetU32(""));
                break;
            case VALTYPE_GxBool:
                benchmark::DoNotOptimize(reader.GetBool(""));
                break;
            case VALTYPE_ListBegin:
                reader.ListBegin("", count);
                break;
            default:
                reader.SkipValue();
                break;
            }
        }
        benchmark::DoNotOptimize(reader.GetErrorCount());
    }
}
BENCHMARK(BM_SlotLoadReference_BareReaderPass)->Unit(benchmark::kMicrosecond);

// Skipping every value without decoding it: the floor of a pass over the file.
void BM_SlotLoadReference_SkipPass(benchmark::State& state)
{
    SlotScene& s = Slot();
    for (auto _ : state)
    {
        GxBinBuffer buffer;
        GxFile::LoadToBuffer(buffer, s.path, false);
        GxContentBinaryReader reader(buffer);
        uint32_t version = 0;
        reader.ReadHeader("BGD", version);
        while (!reader.IsEnd() && reader.GetErrorCount() == 0)
            reader.SkipValue();
        benchmark::DoNotOptimize(reader.GetErrorCount());
    }
}
BENCHMARK(BM_SlotLoadReference_SkipPass)->Unit(benchmark::kMicrosecond);

struct Device
{
    BenchDevice device;
    bool ready = false;
    ~Device()
    {
        // Before the static objects go: the textures need the context to be released.
        ReleaseGlobalRenderTargets();
        device.Close();
    }
    Device() { ready = device.Open("KvUserDataBench") && CreateGlobalRenderTargets(); }
};

Device& GetDevice()
{
    static Device device;
    return device;
}

void BM_Thumbnail(benchmark::State& state)
{
    if (!GetDevice().ready)
        return state.SkipWithError("no graphics device");
    for (auto _ : state)
        benchmark::DoNotOptimize(MakeThumbnailImage());
}
BENCHMARK(BM_Thumbnail)->Unit(benchmark::kMicrosecond);

void BM_ThumbnailReference_CaptureReadBack(benchmark::State& state)
{
    if (!GetDevice().ready)
        return state.SkipWithError("no graphics device");
    GxTexture& capture = g_GlobalRenderTargets.m_RenderTexture[0];
    for (auto _ : state)
    {
        void* bits = nullptr;
        capture.LockRect(nullptr, &bits, nullptr, nullptr, nullptr, nullptr, true);
        benchmark::DoNotOptimize(bits);
        capture.UnlockRect();
    }
}
BENCHMARK(BM_ThumbnailReference_CaptureReadBack)->Unit(benchmark::kMicrosecond);

} // namespace
