#include "SoundTestSupport.h"

#include "media/GxSoundLoaderAcm.h"
#include "media/GxSoundLoaderOgg.h"
#include "media/GxSoundLoaderWav.h"
#include "media/GxWavData.h"

#include <cstring>
#include <functional>
#include <random>

using namespace sndtest;

namespace
{
void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t v)
{
    std::memcpy(bytes.data() + at, &v, 4);
}
size_t Find(const std::vector<uint8_t>& bytes, const char* tag)
{
    for (size_t i = 0; i + 4 <= bytes.size(); ++i)
        if (std::memcmp(bytes.data() + i, tag, 4) == 0)
            return i;
    return 0;
}
} // namespace

// Damaged files give a log line and a refusal or a short sound, never a crash or an endless decode.
TEST(GxSoundDamagedFile, RefusedOrShortNeverACrash)
{
    const std::vector<uint8_t> pcm = ReadBytes(Fixtures().Path("pcm16_stereo.wav"));
    const std::vector<uint8_t> list = ReadBytes(Fixtures().Path("pcm16_list.wav"));
    const std::vector<uint8_t> ima = ReadBytes(Fixtures().Path("ima_stereo.wav"));
    const std::vector<uint8_t> ogg = ReadBytes(Fixtures().Path("vorbis_stereo.ogg"));
    struct Case
    {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* extension;
        int64_t minFrames; // -1: refused; 0: may be refused or short
        int64_t maxFrames;
        const wchar_t* message; // a part of the log line, or null for none
    };
    // A copy of the bytes with one change made.
    auto damaged = [](std::vector<uint8_t> b, const std::function<void(std::vector<uint8_t>&)>& change)
    {
        change(b);
        return b;
    };
    std::vector<uint8_t> garbage(5000);
    std::mt19937 random(3);
    for (auto& x : garbage)
        x = static_cast<uint8_t>(random());
    const std::vector<Case> cases = {
        // Cut inside a frame: whole frames play.
        {"cut file", damaged(pcm, [](auto& b) { b.resize(44 + 4000 + 2); }), ".wav", 1000, 1000, nullptr},
        {"zero block align", damaged(pcm, [](auto& b) { b[32] = b[33] = 0; }), ".wav", -1, -1,
         L"変換フォーマットが識別できません"},
        // A data size past the file is clamped to what is there.
        {"huge data size", damaged(pcm, [](auto& b) { Put32(b, Find(b, "data") + 4, 0xFFFFFFF0u); }), ".wav", 44100,
         44100, nullptr},
        // The chunk scan runs out of the file.
        {"huge chunk size", damaged(list, [](auto& b) { Put32(b, Find(b, "LIST") + 4, 0xFFFFFFF0u); }), ".wav", -1,
         -1, L"dataチャンクが見つかりません"},
        {"no data chunk", damaged(pcm, [](auto& b) { std::memcpy(b.data() + Find(b, "data"), "junk", 4); }), ".wav",
         -1, -1, L"dataチャンクが見つかりません"},
        // An odd "LIST" written without its pad byte still finds "data" right after it.
        {"unpadded odd chunk",
         damaged(list,
                 [](auto& b)
                 {
                     b.erase(b.begin() + static_cast<long>(Find(b, "LIST") + 8 + 13));
                     Put32(b, 4, static_cast<uint32_t>(b.size() - 8));
                 }),
         ".wav", 44100, 44100, nullptr},
        {"compressed zero block align",
         damaged(ima, [](auto& b) { b[Find(b, "fmt ") + 20] = b[Find(b, "fmt ") + 21] = 0; }), ".wav", -1, -1,
         L"変換フォーマットが識別できません"},
        {"cut compressed file", damaged(ima, [](auto& b) { b.resize(b.size() / 2); }), ".wav", 20000, 23000, nullptr},
        {"garbage ogg", garbage, ".ogg", -1, -1, L"GxSoundLoaderOgg::OpenStream"},
        {"cut ogg", damaged(ogg, [](auto& b) { b.resize(b.size() / 2); }), ".ogg", 0, 44099, nullptr},
        {"damaged ogg",
         damaged(ogg,
                 [](auto& b)
                 {
                     for (size_t i = b.size() / 3; i < b.size() / 3 + 600; ++i)
                         b[i] ^= 0x5A;
                 }),
         ".ogg", 0, 44099, nullptr},
    };
    ScratchFolder folder;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        LogCapture log;
        const std::string path = folder.Path(std::string("damaged") + c.extension);
        WriteBytes(path, c.bytes);
        GxWavData data;
        const bool created = data.Create(GxString::FromUtf8(path));
        if (c.minFrames == -1)
        {
            EXPECT_FALSE(created);
            EXPECT_GT(log.Count(), 0u);
        }
        else if (c.minFrames > 0 || created)
        {
            ASSERT_TRUE(created);
            EXPECT_GE(data.GetLength(), c.minFrames);
            EXPECT_LE(data.GetLength(), c.maxFrames);
        }
        if (c.message)
        {
            EXPECT_TRUE(log.Has(c.message));
        }
        // The streaming decoders give up as cleanly.
        GxSoundLoaderWav wav;
        GxSoundLoaderOgg vorbis;
        GxSoundLoaderBase& decoder = c.extension == std::string(".ogg") ? static_cast<GxSoundLoaderBase&>(vorbis) : wav;
        const bool opened = c.extension == std::string(".ogg") ? vorbis.Open(GxString::FromUtf8(path))
                                                               : wav.Open(GxString::FromUtf8(path));
        if (opened)
        {
            EXPECT_LE(DecodeAll(decoder).size(),
                      static_cast<size_t>(decoder.GetLength()) * decoder.GetFormat().nBlockAlign);
        }
    }
}
