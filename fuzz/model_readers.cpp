// Feeds arbitrary bytes to the geometry and material readers, as a text or binary record by the first
// byte, in both stream forms. No device is started, so every subset's buffers are refused: what is
// exercised is the reading and checking of counts, indices and part references, which must never read
// outside the data, allocate without bound or leave a drawable subset whose indices pass its vertices.
#include "core/GxLog.h"
#include "graphics/GxMaterialSet.h"
#include "graphics/GxModel.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace
{

std::wstring TempPath()
{
    static const std::wstring s_Path = []
    {
        GxLog::SetErrorLogPath(L"");
        GxLog::SetDebugLogPath(L"");
        const std::string path = "/tmp/kvfuzz_model_" + std::to_string(getpid());
        return std::wstring(path.begin(), path.end());
    }();
    return s_Path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::wstring path = TempPath();
    const std::string narrow(path.begin(), path.end());
    FILE* file = std::fopen(narrow.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    for (bool legacy : {true, false})
    {
        GxModel model;
        model.LoadGeometry(path, legacy);
        for (uint32_t i = 0; i < model.GetMeshCount(); ++i)
        {
            const GxMesh& mesh = model.GetMesh(i);
            for (uint32_t k = 0; k < mesh.m_SubsetCount; ++k)
                if (mesh.m_pSubsets[k].m_Drawable)
                    std::abort(); // no buffers can exist without a device
        }
        model.SetWorldMatrix(GxMatrix());
    }
    GxMaterialSet set;
    set.Load(path);
    std::remove(narrow.c_str());
    return 0;
}
