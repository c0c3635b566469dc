// Feeds arbitrary bytes to the Ogg Vorbis decoder as an ".ogg" file: open, read, seek and the whole
// decode into a decoded sound must end and stay in their buffers.
#include "FuzzSupport.h"
#include "media/GxSoundLoaderOgg.h"
#include "media/GxWavData.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    static const FuzzScratchFile s_File("kv_fuzz_sound_", ".ogg");
    if (!s_File.Write(data, size))
        return 0;
    const std::wstring path = s_File.WidePath();
    GxSoundLoaderOgg ogg;
    if (ogg.Open(path))
    {
        std::vector<uint8_t> block(4096);
        uint32_t got = 0;
        ogg.Read(block.data(), static_cast<uint32_t>(block.size()), &got);
        ogg.Seek(ogg.GetLength() / 2);
        ogg.Read(block.data(), static_cast<uint32_t>(block.size()), &got);
    }
    GxWavData sound;
    sound.Create(path);
    return 0;
}
