// Saving a slot (`SeqSave::SaveSlot`: adventure file, thumbnail, settings, progress, strategy file, and the
// page refreshed) against writing the same bytes raw; the load screen's entry (8 headers, 8 thumbnails,
// plus its background) against raw reads of those files. Compare the pairs in one run.
#include "adventure/SeqAvgMain.h"
#include "adventure/SeqLoad.h"
#include "adventure/SeqSave.h"
#include "adventure/SeqSaveSlots.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "platform/PfImage.h"
#include "platform/PfImageDecoderPng.h"
#include "support/BenchDevice.h"
#include "support/BenchGameCore.h"
#include "task/GxTaskManage.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

struct Stage
{
    BenchDevice device;
    BenchGameCore core;
    SeqSave* save = nullptr;
    SeqLoad* load = nullptr;
    std::string folder; // the save folder, with its slash
    bool ready = false;

    // The sample game on the offscreen device, the adventure screen entered and a thumbnail taken (as
    // the message window's save button does), then slots 1 to 8 saved so the load screen's page is full.
    bool Start()
    {
        GxLog::SetErrorLogPath(L"");
        if (!g_Core && !StartCore())
            return false;
        GxTaskManage* manage = g_Core->m_TaskManage;
        folder = GxString::ToUtf8(g_Core->m_SavePath);
        save = dynamic_cast<SeqSave*>(manage->FindTaskByName(L"SeqSave"));
        load = dynamic_cast<SeqLoad*>(manage->FindTaskByName(L"SeqLoad"));
        SeqAvgMain* screen = SeqAvgMain::Find();
        if (!save || !load || !screen)
            return false;
        if (manage->GetCurrentSequence() != screen)
        {
            manage->ChangeSequence(L"SeqAvgMain", 0, 0);
            manage->ApplyPendingSequence();
        }
        screen->ShowMessage(L"セーブとロードの速さを測ります。", false, false, false);
        screen->PrepareSave();
        for (int32_t slot = 1; slot <= SeqSaveSlots::kPlates; ++slot)
            if (!save->SaveSlot(slot))
                return false;
        ready = true;
        return true;
    }

    bool StartCore()
    {
        if (!device.Open("SeqSaveLoadBench") || !core.Start())
            return false;
        GxLog::SetErrorLogPath(L"");
        return true;
    }

    std::string Path(const std::string& name) const { return folder + name; }
};

Stage& GetStage()
{
    static Stage s_Stage;
    if (!s_Stage.ready)
        s_Stage.Start();
    return s_Stage;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The five files one save writes.
const char* const kSlotFiles[] = {"gamedata003.gd", "thumb003.png", "userconf.dat", "permanent.dat", "zordata003.gd"};

void BM_SaveSlot(benchmark::State& state)
{
    Stage& stage = GetStage();
    if (!stage.ready)
    {
        state.SkipWithError("no stage");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(stage.save->SaveSlot(3));
}
BENCHMARK(BM_SaveSlot)->Unit(benchmark::kMicrosecond);

// The same bytes written raw, each file once: with fsync (the durability the save itself gives) and
// without.
void RawWrite(benchmark::State& state, bool sync)
{
    Stage& stage = GetStage();
    if (!stage.ready)
    {
        state.SkipWithError("no stage");
        return;
    }
    std::vector<std::pair<std::string, std::string>> files;
    int64_t bytes = 0;
    for (const char* name : kSlotFiles)
    {
        files.emplace_back(stage.Path(std::string("raw_") + name), ReadAll(stage.Path(name)));
        bytes += static_cast<int64_t>(files.back().second.size());
    }
    for (auto _ : state)
        for (const auto& [path, data] : files)
        {
            const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0 || write(fd, data.data(), data.size()) != static_cast<ssize_t>(data.size()) ||
                (sync && fsync(fd) != 0))
                state.SkipWithError("raw write failed");
            if (fd >= 0)
                close(fd);
        }
    state.SetBytesProcessed(state.iterations() * bytes);
}
void BM_RawWriteSlotBytesSynced(benchmark::State& state)
{
    RawWrite(state, true);
}
void BM_RawWriteSlotBytes(benchmark::State& state)
{
    RawWrite(state, false);
}
BENCHMARK(BM_RawWriteSlotBytesSynced)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawWriteSlotBytes)->Unit(benchmark::kMicrosecond);

// Entering the load screen: its background picture and the page's plates.
void BM_LoadScreenEntry(benchmark::State& state)
{
    Stage& stage = GetStage();
    if (!stage.ready)
    {
        state.SkipWithError("no stage");
        return;
    }
    for (auto _ : state)
    {
        stage.load->OnSequenceEnter();
        stage.load->OnSequenceLeave();
    }
}
BENCHMARK(BM_LoadScreenEntry)->Unit(benchmark::kMicrosecond);

// The plates alone: 8 headers read and 8 thumbnails decoded into textures.
void BM_LoadScreenPlates(benchmark::State& state)
{
    Stage& stage = GetStage();
    if (!stage.ready)
    {
        state.SkipWithError("no stage");
        return;
    }
    for (auto _ : state)
        stage.load->RefreshPlates();
}
BENCHMARK(BM_LoadScreenPlates)->Unit(benchmark::kMicrosecond);

std::vector<std::string> PlateFiles(const Stage& stage)
{
    std::vector<std::string> paths;
    for (int32_t slot = 1; slot <= SeqSaveSlots::kPlates; ++slot)
    {
        char name[32];
        std::snprintf(name, sizeof name, "gamedata%03d.gd", slot);
        paths.push_back(stage.Path(name));
        std::snprintf(name, sizeof name, "thumb%03d.png", slot);
        paths.push_back(stage.Path(name));
    }
    return paths;
}

// The 16 files read raw and the 8 thumbnails decoded bare (no texture): what the plates cannot avoid.
void BM_RawReadAndDecodePlateFiles(benchmark::State& state)
{
    Stage& stage = GetStage();
    if (!stage.ready)
    {
        state.SkipWithError("no stage");
        return;
    }
    const std::vector<std::string> paths = PlateFiles(stage);
    PfImage image;
    std::string error;
    for (auto _ : state)
        for (const std::string& path : paths)
        {
            const std::string bytes = ReadAll(path);
            if (path.size() > 4 && path.compare(path.size() - 4, 4, ".png") == 0 &&
                !PfImageDecoderPng::Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image, error))
                state.SkipWithError("decode failed");
        }
}
BENCHMARK(BM_RawReadAndDecodePlateFiles)->Unit(benchmark::kMicrosecond);

// Raw reads of the same 16 files, whole.
void BM_RawReadPlateFiles(benchmark::State& state)
{
    Stage& stage = GetStage();
    if (!stage.ready)
    {
        state.SkipWithError("no stage");
        return;
    }
    const std::vector<std::string> paths = PlateFiles(stage);
    std::vector<char> buffer(1 << 20);
    int64_t bytes = 0;
    for (auto _ : state)
        for (const std::string& path : paths)
        {
            std::FILE* f = std::fopen(path.c_str(), "rb");
            if (!f)
            {
                state.SkipWithError("raw read failed");
                break;
            }
            for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), f)) > 0;)
                bytes += static_cast<int64_t>(n);
            std::fclose(f);
        }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_RawReadPlateFiles)->Unit(benchmark::kMicrosecond);

} // namespace
