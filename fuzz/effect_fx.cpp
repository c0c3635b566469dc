// Feeds arbitrary bytes to the effect loader as an ".fx" file: the declaration scanner and the tables
// the effect builds from what it found (techniques with their annotations, parameters and their types,
// the index of well-known names). No device is needed for any of it. A refused file leaves an empty,
// unregistered effect.
#include "FuzzSupport.h"
#include "core/GxFile.h"
#include "graphics/GxD3DResourceManage.h"
#include "graphics/GxEffectScanner.h"
#include "graphics/GxShaderEffect.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    static const FuzzScratchFile s_File("kv_fuzz_effect_", ".fx");
    if (!s_File.Write(data, size))
        return 0;
    GxShaderEffect effect;
    if (effect.CreateFromFile(s_File.WidePath(), false))
    {
        if (effect.GetParameterIndex().size() != GxShaderEffect::PARAM_COUNT)
            std::abort();
        for (int32_t i : effect.GetParameterIndex())
            if (i >= static_cast<int32_t>(effect.GetParameters().size()))
                std::abort();
        effect.Release();
    }
    else if (effect.GetRefCount() != 0 || GxD3DResourceManage::GetInstance().IsRegistered(&effect))
        std::abort();
    // The next input reuses the file name: the cached bytes of this one must not answer for it.
    GxFile::ClearCache();
    return 0;
}
