// Feeds arbitrary bytes to the picture file layer the way a texture is made from a file: the size read
// from the file's header by its extension (".png" and ".dds" from their first bytes, the others through
// the file cache and their reader), the texture size made from it, the whole decode with a colour key,
// the scratch surface, and the fill of texture memory of the chosen format, stretched or not. The device
// texture itself is left out (no device is started): what it is given is exactly this memory.
//
// The first input byte chooses the extension, the texture format, the stretch and the colour key; the
// rest is the file.
#include "FuzzSupport.h"
#include "core/GxBinBuffer.h"
#include "core/GxFile.h"
#include "graphics/GxImage.h"
#include "graphics/GxTexture.h"
#include "graphics/GxTextureBase.h"
#include "platform/PfImage.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace
{
const char* const kExtensions[] = {".png", ".dds", ".tga", ".jpg", ".bmp", ".PNG", ".jpeg", ".gif"};
const D3DFORMAT kFormats[] = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_A4R4G4B4, D3DFMT_R5G6B5};
// Texture memory larger than this is not made here (the picture itself is already bounded by its reader).
constexpr uint64_t kMaxTexels = 1u << 20;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    if (size < 1)
        return 0;
    static const FuzzScratchFile s_Files[] = {
        {"kv_fuzz_image_", kExtensions[0]}, {"kv_fuzz_image_", kExtensions[1]}, {"kv_fuzz_image_", kExtensions[2]},
        {"kv_fuzz_image_", kExtensions[3]}, {"kv_fuzz_image_", kExtensions[4]}, {"kv_fuzz_image_", kExtensions[5]},
        {"kv_fuzz_image_", kExtensions[6]}, {"kv_fuzz_image_", kExtensions[7]}};
    const uint8_t choice = data[0];
    const FuzzScratchFile& file = s_Files[choice & 7];
    const D3DFORMAT format = kFormats[(choice >> 3) & 3];
    const bool stretch = choice & 0x20;
    const uint32_t colourKey = choice & 0x40 ? 0xFF000000u : 0;
    if (!file.Write(data + 1, size - 1))
        return 0;
    const std::wstring path = file.WidePath();

    GxImageInfo info;
    if (GxImage::GetInfoFromFile(path, info))
    {
        uint32_t width = 0, height = 0;
        GxTextureBase::GetTextureSize(info.Width, info.Height, width, height);
        GxBinBuffer buffer;
        GxFile::LoadToBuffer(buffer, path, true);
        PfImage image;
        std::string error;
        if (buffer.GetSize() != 0 && GxImage::DecodeMemory(buffer.GetData(), buffer.GetSize(), image, colourKey, error))
        {
            if (!PfImage::IsSizeAllowed(image.GetWidth(), image.GetHeight()))
                std::abort();
            if ((uint64_t)width * height <= kMaxTexels && width && height)
            {
                const uint32_t pitch = width * 4;
                std::vector<uint8_t> texels((size_t)pitch * height);
                GxTexture::FillRows(image, format, width, height, stretch, texels.data(), pitch);
            }
        }
    }
    PfImage scratch;
    GxImageInfo scratchInfo;
    GxImage::CreateScratchSurfaceFromFile(path, scratch, format, &scratchInfo, colourKey);
    // The next input reuses the file names: the cached bytes of this one must not answer for it.
    GxFile::ClearCache();
    return 0;
}
