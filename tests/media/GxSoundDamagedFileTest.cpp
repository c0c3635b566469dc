#include "SoundTestSupport.h"

#include "media/GxSoundLoaderAcm.h"
#include "media/GxSoundLoaderOgg.h"
#include "media/GxSoundLoaderWav.h"
#include "media/GxWavData.h"

#include <cstring>
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
    std::vector<Case> cases;
    auto add = [&](const char* name, std::vector<uint8_t> bytes, const char* ext, int64_t frames, const wchar_t* m) {
        cases.push_back({name, std::move(bytes), ext, frames, frames, m});
    };
    {
        auto b = pcm;
        b.resize(44 + 4000 + 2); // cut inside a frame: whole frames play
        add("cut file", b, ".wav", 1000, nullptr);
    }
    {
        auto b = pcm;
        b[32] = b[33] = 0; // block align 0
        add("zero block align", b, ".wav", -1, L"変換フォーマットが識別できません");
    }
    {
        auto b = pcm;
        Put32(b, Find(b, "data") + 4, 0xFFFFFFF0u); // clamped to what is there
        add("huge data size", b, ".wav", 44100, nullptr);
    }
    {
        auto b = list;
        Put32(b, Find(b, "LIST") + 4, 0xFFFFFFF0u); // the scan runs out of the file
        add("huge chunk size", b, ".wav", -1, L"dataチャンクが見つかりません");
    }
    {
        auto b = pcm;
        std::memcpy(b.data() + Find(b, "data"), "junk", 4);
        add("no data chunk", b, ".wav", -1, L"dataチャンクが見つかりません");
    }
    {
        // An odd "LIST" written without its pad byte still finds "data" right after it.
        auto b = list;
        const size_t at = Find(b, "LIST");
        b.erase(b.begin() + static_cast<long>(at + 8 + 13));
        Put32(b, 4, static_cast<uint32_t>(b.size() - 8));
        add("unpadded odd chunk", b, ".wav", 44100, nullptr);
    }
    {
        auto b = ima;
        b[Find(b, "fmt ") + 20] = 0; // block align 0 in a compressed file
        b[Find(b, "fmt ") + 21] = 0;
        add("compressed zero block align", b, ".wav", -1, L"変換フォーマットが識別できません");
    }
    {
        auto b = ima;
        b.resize(b.size() / 2);
        cases.push_back({"cut compressed file", b, ".wav", 20000, 23000, nullptr});
    }
    {
        std::vector<uint8_t> b(5000);
        std::mt19937 random(3);
        for (auto& x : b)
            x = static_cast<uint8_t>(random());
        add("garbage ogg", b, ".ogg", -1, L"GxSoundLoaderOgg::OpenStream");
    }
    {
        auto b = ogg;
        b.resize(b.size() / 2);
        cases.push_back({"cut ogg", b, ".ogg", 0, 44099, nullptr});
    }
    {
        auto b = ogg;
        for (size_t i = b.size() / 3; i < b.size() / 3 + 600; ++i)
            b[i] ^= 0x5A;
        cases.push_back({"damaged ogg", b, ".ogg", 0, 44099, nullptr});
    }
    ScratchFolder folder;
    for (Case& c : cases)
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
