#include "SoundTestSupport.h"

#include "media/GxSoundAcmConverter.h"
#include "media/GxSoundLoaderAcm.h"
#include "media/GxSoundLoaderFactory.h"
#include "media/GxSoundLoaderMemory.h"
#include "media/GxSoundLoaderOgg.h"
#include "media/GxSoundLoaderWav.h"
#include "media/GxSoundMsecToBytes.h"
#include "media/GxWavData.h"

#include <cstring>

using namespace sndtest;

namespace
{
enum class Check
{
    Exact,   // bit for bit the reference
    Within1, // each sample within 1 of the reference decode
    SnrOnly, // only the signal-to-noise ratio against the source
};

struct Fixture
{
    const char* file;
    Check check;
    double minSnr; // against the PCM that went in, per channel
};

std::unique_ptr<GxSoundLoaderBase> OpenDecoder(const std::string& file, bool plainWav = false)
{
    const std::wstring path = Fixtures().Wide(file);
    if (file.ends_with(".ogg"))
    {
        auto ogg = std::make_unique<GxSoundLoaderOgg>();
        return ogg->Open(path) ? std::move(ogg) : nullptr;
    }
    if (plainWav)
    {
        auto wav = std::make_unique<GxSoundLoaderWav>();
        return wav->Open(path) ? std::move(wav) : nullptr;
    }
    auto acm = std::make_unique<GxSoundLoaderAcm>();
    return acm->Open(path) ? std::move(acm) : nullptr;
}
} // namespace

// Every fixture decodes to its reference; stereo keeps its sides (1 kHz left, 500 Hz right), a "LIST"
// chunk before the data and a block cut short at the end included.
TEST(GxSoundLoader, FixturesDecodeToTheirReferences)
{
    const Fixture fixtures[] = {
        {"pcm16_stereo.wav", Check::Exact, 100}, {"pcm16_list.wav", Check::Exact, 100},
        {"ima_stereo.wav", Check::Within1, 25},  {"ima_mono.wav", Check::Within1, 25},
        {"ima_cut.wav", Check::Within1, 25},     {"ms_stereo.wav", Check::Within1, 25},
        {"ms_mono.wav", Check::Within1, 25},     {"ms_cut.wav", Check::Within1, 25},
        {"alaw_stereo.wav", Check::SnrOnly, 35}, {"mulaw_mono.wav", Check::SnrOnly, 35},
        {"vorbis_stereo.ogg", Check::Exact, 10}, {"vorbis_mono.ogg", Check::Exact, 10},
    };
    for (const Fixture& f : fixtures)
    {
        SCOPED_TRACE(f.file);
        auto decoder = OpenDecoder(f.file);
        ASSERT_TRUE(decoder);
        const PfWaveFormat format = decoder->GetFormat();
        EXPECT_EQ(format.wBitsPerSample, 16);
        const std::vector<int16_t> out = AsSamples(DecodeAll(*decoder));
        EXPECT_TRUE(decoder->IsEnd());
        EXPECT_EQ(out.size() * 2, static_cast<size_t>(decoder->GetLength()) * format.nBlockAlign);
        const std::vector<int16_t> reference = ReadRaw(Fixtures().Path(std::string(f.file) + ".ref.raw"));
        const std::vector<int16_t> source = ReadRaw(Fixtures().Path(std::string(f.file) + ".src.raw"));
        if (f.check != Check::SnrOnly)
        {
            ASSERT_EQ(out.size(), reference.size());
            const int tolerance = f.check == Check::Exact ? 0 : 1;
            for (size_t i = 0; i < out.size(); ++i)
                ASSERT_LE(std::abs(out[i] - reference[i]), tolerance) << "sample " << i;
        }
        for (int c = 0; c < format.nChannels; ++c)
            EXPECT_GE(Snr(source, out, format.nChannels, c), f.minSnr) << "channel " << c;
    }
    // 8-bit PCM stays 8-bit, unchanged, through both WAVE decoders.
    for (bool plain : {false, true})
    {
        auto decoder = OpenDecoder("pcm8_mono.wav", plain);
        ASSERT_TRUE(decoder);
        EXPECT_EQ(decoder->GetFormat().wBitsPerSample, 8);
        EXPECT_EQ(DecodeAll(*decoder), ReadBytes(Fixtures().Path("pcm8_mono.wav.ref.raw")));
    }
}

// Seeks land on the frame a decode from the start reaches, also inside an ADPCM block; loop frames past
// the end read as 0.
TEST(GxSoundLoader, SeekMatchesTheDecodeFromTheStart)
{
    for (const char* file : {"pcm16_stereo.wav", "ima_stereo.wav", "ms_mono.wav", "vorbis_stereo.ogg", "mp3_stereo.wav"})
    {
        SCOPED_TRACE(file);
        auto decoder = OpenDecoder(file);
        ASSERT_TRUE(decoder);
        const uint32_t align = decoder->GetFormat().nBlockAlign;
        const std::vector<uint8_t> whole = DecodeAll(*decoder);
        for (uint32_t frame : {0u, 1u, 1000u, 1017u, 12345u})
        {
            ASSERT_TRUE(decoder->Seek(frame));
            EXPECT_EQ(decoder->Tell(), frame);
            std::vector<uint8_t> piece(400);
            uint32_t got = 0;
            ASSERT_TRUE(decoder->Read(piece.data(), 400, &got));
            ASSERT_EQ(got, 400u);
            EXPECT_TRUE(std::equal(piece.begin(), piece.end(), whole.begin() + frame * align)) << frame;
        }
        EXPECT_FALSE(decoder->Seek(decoder->GetLength() + 1));
        decoder->SetLoopFrame(decoder->GetLength() + 1);
        EXPECT_EQ(decoder->GetLoopFrame(), 0u);
        decoder->SetLoopFrame(100);
        EXPECT_EQ(decoder->GetLoopFrame(), 100u);
    }
    EXPECT_EQ(GxSoundMsecToBytes(1500, 44100), 66150u);
}

// The plain decoder refuses compressed data with its message; the whole-sound decode takes it.
TEST(GxSoundLoader, CompressedWaveNeedsTheConverter)
{
    LogCapture log;
    GxSoundLoaderWav wav;
    EXPECT_FALSE(wav.Open(Fixtures().Wide("ima_stereo.wav")));
    EXPECT_TRUE(log.Has(L"PCMWAVEFORMAT"));
    GxWavData data;
    ASSERT_TRUE(data.Create(Fixtures().Wide("ima_stereo.wav")));
    EXPECT_EQ(data.GetLength(), 44 * 1017u);
    int16_t left = 0, right = 0;
    ASSERT_TRUE(data.GetSample(&left, &right, 11));
    const std::vector<int16_t> reference = ReadRaw(Fixtures().Path("ima_stereo.wav.ref.raw"));
    EXPECT_NEAR(left, reference[22], 1);
    EXPECT_NEAR(right, reference[23], 1);

    // Decoded sounds play from memory exactly as decoded.
    GxSoundLoaderMemory memory;
    ASSERT_TRUE(memory.Open(&data));
    const std::vector<uint8_t> bytes = DecodeAll(memory);
    ASSERT_EQ(bytes.size(), data.GetDataSize());
    EXPECT_EQ(std::memcmp(bytes.data(), data.GetData(), bytes.size()), 0);
    EXPECT_FALSE(memory.Open(nullptr));

    // Streamed channels take the converter for a compressed file (mono and stereo), the plain decoder
    // for PCM.
    for (const char* file : {"ima_mono.wav", "ima_stereo.wav", "pcm16_stereo.wav"})
    {
        std::unique_ptr<GxSoundLoaderBase> stream = GxSoundLoaderFactory::CreateForFile(Fixtures().Wide(file));
        ASSERT_TRUE(stream) << file;
        ASSERT_TRUE(GxSoundLoaderFactory::Open(*stream, Fixtures().Wide(file))) << file;
        const std::vector<uint8_t> pcm = DecodeAll(*stream);
        const std::vector<int16_t> ref = ReadRaw(Fixtures().Path(std::string(file) + ".ref.raw"));
        ASSERT_EQ(pcm.size(), ref.size() * 2) << file;
        EXPECT_NEAR(reinterpret_cast<const int16_t*>(pcm.data())[ref.size() / 2], ref[ref.size() / 2], 1) << file;
    }
}

// The converter's own coefficient table: a block predicted by the file's single pair (1, 0 in 8.8
// fixed point: each sample is the last one plus nibble x delta).
TEST(GxSoundLoader, MsAdpcmTakesTheFilesCoefficients)
{
    std::vector<uint8_t> format = {2, 0, 1, 0, 0x44, 0xAC, 0, 0, 0, 0x40, 0, 0, 9,
                                   0, 4, 0, 6, 0,    4,    0, 1, 0, 0,    1, 0, 0};
    GxSoundAcmConverter converter;
    ASSERT_TRUE(converter.Setup(format));
    EXPECT_EQ(converter.GetFramesPerBlock(), 6u);
    // predictor 0, delta 16, sample1 100, sample2 50, then nibbles +1 +2 -1 -8
    const uint8_t block[9] = {0, 16, 0, 100, 0, 50, 0, 0x12, 0xF8};
    int16_t out[6];
    ASSERT_EQ(converter.Convert(block, 9, reinterpret_cast<uint8_t*>(out)), 12u);
    EXPECT_EQ(out[0], 50);
    EXPECT_EQ(out[1], 100);
    EXPECT_EQ(out[2], 116);       // 100 + 1 x 16
    EXPECT_EQ(out[3], 116 + 32);  // delta stays 16 (230 x 16 / 256 < 16)
    EXPECT_EQ(out[4], 148 - 16);  // nibble 0xF = -1
    EXPECT_EQ(out[5], 132 - 128); // nibble 8 = -8
    format[0] = 0x55;             // MPEG layer 3: not convertible
    EXPECT_FALSE(converter.Setup(format));
}

// MPEG layer 3 and GSM 6.10 in WAVE go through libavcodec: the decode is libavcodec's own decode of the
// same frames (the reference soundgen wrote), its length the one the WAVE header implies give or take
// the codec's last frame, and the whole-sound decode takes both files (seeks are with the other formats').
TEST(GxSoundLoader, LibavcodecFormatsDecodeToTheirReferencesAndSeek)
{
    struct Case
    {
        const char* file;
        uint16_t channels;
        uint32_t rate;
        uint32_t codecFrame; // samples of one codec frame
    } cases[] = {{"mp3_stereo.wav", 2, 44100, 1152}, {"gsm_mono.wav", 1, 8000, 320}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.file);
        auto decoder = OpenDecoder(c.file);
        ASSERT_TRUE(decoder);
        EXPECT_EQ(decoder->GetType(), GxSoundLoaderBase::kTypeAcm);
        const PfWaveFormat format = decoder->GetFormat();
        EXPECT_EQ(format.wFormatTag, PF_WAVE_FORMAT_PCM);
        EXPECT_EQ(format.nChannels, c.channels);
        EXPECT_EQ(format.nSamplesPerSec, c.rate);
        EXPECT_EQ(format.nBlockAlign, c.channels * 2);
        const std::vector<int16_t> out = AsSamples(DecodeAll(*decoder));
        EXPECT_TRUE(decoder->IsEnd());
        const std::vector<int16_t> reference = ReadRaw(Fixtures().Path(std::string(c.file) + ".ref.raw"));
        const size_t frames = out.size() / c.channels;
        EXPECT_LE(frames, static_cast<size_t>(decoder->GetLength()) + c.codecFrame);
        EXPECT_GE(frames + c.codecFrame, static_cast<size_t>(decoder->GetLength()));
        ASSERT_EQ(out.size(), reference.size());
        EXPECT_TRUE(out == reference);

        GxWavData sound;
        ASSERT_TRUE(sound.Create(Fixtures().Wide(c.file)));
        EXPECT_GT(sound.GetDataSize(), 0u);
        EXPECT_EQ(std::memcmp(sound.GetData(), reference.data(), sound.GetDataSize()), 0);
    }

    // A file cut inside its data still gives the frames it holds, and a plain WAVE decoder refuses it.
    const std::vector<uint8_t> bytes = ReadBytes(Fixtures().Path("mp3_stereo.wav"));
    const std::string cut = Fixtures().Path("mp3_cut.wav");
    WriteBytes(cut, std::vector<uint8_t>(bytes.begin(), bytes.begin() + bytes.size() / 2));
    GxSoundLoaderAcm acm;
    ASSERT_TRUE(acm.Open(Fixtures().Wide("mp3_cut.wav")));
    const std::vector<int16_t> half = AsSamples(DecodeAll(acm));
    EXPECT_GT(half.size(), 0u);
    GxSoundLoaderWav wav;
    EXPECT_FALSE(wav.Open(Fixtures().Wide("mp3_stereo.wav")));
}
