// Feeds arbitrary bytes to the WAVE decoders as a ".wav" file: the plain PCM decoder, and the decoded
// sound that every WAVE goes through (the converter's formats: PCM, IMA and Microsoft ADPCM, A-law,
// mu-law, and the formats handed to libavcodec). Reads, seeks and the whole decode must end and stay in
// their buffers.
#include "FuzzSupport.h"
#include "media/GxSoundLoaderAcm.h"
#include "media/GxSoundLoaderWav.h"
#include "media/GxWavData.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzQuietLogs();
    static const FuzzScratchFile s_File("kv_fuzz_sound_", ".wav");
    if (!s_File.Write(data, size))
        return 0;
    const std::wstring path = s_File.WidePath();
    std::vector<uint8_t> block(4096);
    GxSoundLoaderWav wav;
    if (wav.Open(path))
    {
        uint32_t got = 0;
        wav.Read(block.data(), static_cast<uint32_t>(block.size()), &got);
        wav.Seek(wav.GetLength() / 2);
        wav.Read(block.data(), static_cast<uint32_t>(block.size()), &got);
    }
    GxSoundLoaderAcm acm;
    if (acm.Open(path))
    {
        uint32_t got = 0;
        acm.Seek(acm.GetLength() / 3);
        for (int i = 0; i < 8 && !acm.IsEnd(); ++i)
            acm.Read(block.data(), static_cast<uint32_t>(block.size()), &got);
    }
    GxWavData sound;
    sound.Create(path);
    return 0;
}
