#include "strategy/ZorMapModelPool.h"

#include "appdata/GxSystemConfig.h"
#include "core/GxCore.h"
#include "core/GxFile.h"
#include "core/GxString.h"
#include "graphics/GxModel.h"

#include <memory>

namespace
{

struct Pool
{
    std::unique_ptr<GxModel> m_Bases[ZorMapModelPool::kBases];
    std::unique_ptr<GxModel> m_Gates[ZorMapModelPool::kBases * 4];
    std::unique_ptr<GxModel> m_Walls[ZorMapModelPool::kBases * 4];
    std::unique_ptr<GxModel> m_Shared[ZorMapModelPool::kShared];
    int32_t m_LoadIndex = 0;
};

Pool& Models()
{
    static Pool s_Pool;
    return s_Pool;
}

GxModel* Slot(std::unique_ptr<GxModel>& slot)
{
    if (!slot)
        slot = std::make_unique<GxModel>();
    return slot.get();
}

// A filled slot is emptied first; then geometry, materials and textures (the model loader reports what
// fails). The dungeon's models always load in the single-stream layout.
void LoadModel(GxModel* model, const std::wstring& stem, const std::wstring& textureDir)
{
    if (model->GetMeshCount() > 0)
        model->Release();
    if (!model->LoadGeometry(stem + L".geo", true))
        return;
    model->LoadMaterial(stem + L".mtl");
    model->LoadTexture(textureDir, -1, 0, 1);
}

} // namespace

int32_t ZorMapModelPool::PrepareLoading(GxCore* core)
{
    if (!core || !core->m_SystemConfig)
        return PrepareLoading(std::wstring(), std::wstring());
    return PrepareLoading(core->m_SystemConfig->GetString(SYSSTR_MODEL_DIR),
                          core->m_SystemConfig->GetString(SYSSTR_MODEL_TEXTURE_DIR));
}

int32_t ZorMapModelPool::PrepareLoading(const std::wstring& modelDir, const std::wstring& textureDir)
{
    Pool& pool = Models();
    const int32_t i = pool.m_LoadIndex;
    if (i >= kBases)
        return 0;
    if (i == 0)
    {
        static const wchar_t* s_Names[kShared] = {L"path00",   L"path01",   L"cursor00",
                                                  L"cursor01", L"cursor02", L"scaffold"};
        for (int32_t k = 0; k < kShared; ++k)
        {
            GxModel* model = Slot(pool.m_Shared[k]);
            // The scaffold is loaded again on every pass; the others only while they are empty.
            if (k < kShared - 1 && model->GetMeshCount() > 0)
                continue;
            LoadModel(model, modelDir + s_Names[k], textureDir);
        }
    }
    else
    {
        const std::wstring prefix = modelDir + GxString::Format(L"room_%02d", i);
        if (GxFile::Exists(prefix + L"_base00.geo") != GxFile::kAbsent)
        {
            LoadModel(Slot(pool.m_Bases[i]), prefix + L"_base00", textureDir);
            for (int32_t j = 0; j < 4; ++j)
            {
                LoadModel(Slot(pool.m_Gates[i * 4 + j]), prefix + GxString::Format(L"_gate%02d", j), textureDir);
                LoadModel(Slot(pool.m_Walls[i * 4 + j]), prefix + GxString::Format(L"_wall%02d", j), textureDir);
            }
        }
    }
    pool.m_LoadIndex = i + 1;
    return kBases - (i + 1);
}

void ZorMapModelPool::ReleaseAll()
{
    Pool& pool = Models();
    pool.m_LoadIndex = 0;
    for (auto& m : pool.m_Bases)
        if (m)
            m->Release();
    for (auto& m : pool.m_Gates)
        if (m)
            m->Release();
    for (auto& m : pool.m_Walls)
        if (m)
            m->Release();
    for (auto& m : pool.m_Shared)
        if (m)
            m->Release();
}

GxModel* ZorMapModelPool::GetBase(int32_t n)
{
    return (n >= 0 && n < kBases) ? Slot(Models().m_Bases[n]) : nullptr;
}

GxModel* ZorMapModelPool::GetGate(int32_t n, int32_t j)
{
    return (n >= 0 && n < kBases && j >= 0 && j < 4) ? Slot(Models().m_Gates[n * 4 + j]) : nullptr;
}

GxModel* ZorMapModelPool::GetWall(int32_t n, int32_t j)
{
    return (n >= 0 && n < kBases && j >= 0 && j < 4) ? Slot(Models().m_Walls[n * 4 + j]) : nullptr;
}

GxModel* ZorMapModelPool::GetShared(int32_t i)
{
    return (i >= 0 && i < kShared) ? Slot(Models().m_Shared[i]) : nullptr;
}

int32_t ZorMapModelPool::GetLoadIndex()
{
    return Models().m_LoadIndex;
}
