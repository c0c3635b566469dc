// The gallery's entry work: rebuilding the shown state of 200 entries of 32 pictures against 6,400 shown
// names, beside a bare loop of the same 6,400 lookups in the same map. Compare the two in one run.
#include "adventure/SeqCGMode.h"
#include "animation/GxNcCrammedImageSet.h"
#include "appdata/DBCGMode.h"
#include "appdata/GxUserDataPerman.h"
#include "core/GxLog.h"
#include "task/GxTaskBase.h"
#include "task/GxTaskManage.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace
{

struct Gallery
{
    GxTaskManage manage;
    GxTaskBase* root = new GxTaskBase(&manage);
    SeqCGMode* screen = new SeqCGMode(root);
    GxUserDataPerman perman{nullptr};
    GxNcCrammedImageSet thumbnails;
    std::vector<std::wstring> names;

    Gallery()
    {
        GxLog::SetErrorLogPath(L"");
        for (int32_t row = 0; row < 200; ++row)
        {
            DBCGModeData* entry = g_DBCGMode.GetRow(row);
            entry->m_Group = 1 + row / 25;
            entry->m_Count = 32;
            entry->m_Thumbnail = L"thumb" + std::to_wstring(row);
            GxNcOriginImage image;
            image.m_FileName = entry->m_Thumbnail;
            thumbnails.m_OriginImages.push_back(image);
            for (int32_t cell = 0; cell < 32; ++cell)
            {
                entry->m_FileName[cell] = L"ev" + std::to_wstring(row) + L"_" + std::to_wstring(cell);
                names.push_back(entry->m_FileName[cell]);
                perman.m_ShowedCGFlags[entry->m_FileName[cell]] = 1;
            }
        }
        SeqExtraBase::SetTargets(nullptr, &perman);
        // Every thumbnail present, as in a well-formed game: the rebuild looks each one up.
        screen->SetImageSets(&thumbnails, nullptr);
    }
    ~Gallery() { SeqExtraBase::SetTargets(nullptr, nullptr); }
};

Gallery& Shared()
{
    static Gallery s_Gallery;
    return s_Gallery;
}

void BM_GalleryRebuildShownState(benchmark::State& state)
{
    Gallery& g = Shared();
    for (auto _ : state)
    {
        g.screen->RebuildShownState();
        benchmark::DoNotOptimize(g.screen->GetShownTotal());
    }
}
BENCHMARK(BM_GalleryRebuildShownState);

void BM_BareShownLookups(benchmark::State& state)
{
    Gallery& g = Shared();
    for (auto _ : state)
    {
        int32_t shown = 0;
        for (const std::wstring& name : g.names)
            shown += g.perman.m_ShowedCGFlags.count(name) != 0;
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(BM_BareShownLookups);

} // namespace
