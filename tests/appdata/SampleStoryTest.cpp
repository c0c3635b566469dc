// The sample story's files as tools/samplegen writes them: the same bytes on every run, every sound the
// pure tone it stands for when the game's own decoders read it, and the story, settings and tables naming
// the same labels and files.
#include "DBTestSupport.h"

#include "core/GxString.h"
#include "graphics/GxImage.h"
#include "media/GxSoundLoaderAcm.h"
#include "media/GxSoundLoaderFactory.h"
#include "platform/PfImage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace dbtest;

namespace
{

std::string Read(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The pitch of a decoded 16-bit sound from its rising zero crossings (first channel), measured from the
// first to the last, so silence padding a last block does not count.
double Pitch(GxSoundLoaderBase& decoder)
{
    const PfWaveFormat format = decoder.GetFormat();
    std::vector<int16_t> samples;
    std::vector<int16_t> chunk(4096);
    uint32_t got = 0;
    while (decoder.Read(chunk.data(), static_cast<uint32_t>(chunk.size() * 2), &got) && got > 0)
        samples.insert(samples.end(), chunk.begin(), chunk.begin() + got / 2);
    const size_t step = format.nChannels ? format.nChannels : 1;
    std::vector<size_t> crossings;
    for (size_t i = step; i < samples.size(); i += step)
        if (samples[i - step] < 0 && samples[i] >= 0)
            crossings.push_back(i / step);
    if (crossings.size() < 2 || format.nSamplesPerSec == 0)
        return 0.0;
    return (crossings.size() - 1) * static_cast<double>(format.nSamplesPerSec) / (crossings.back() - crossings.front());
}

} // namespace

TEST(SampleStoryTest, TwoRunsWriteTheSameBytes)
{
    // The shared game was written by one run of samplegen; the second run is this case's own.
    TempFolder first, second;
    GenerateSample(first);
    RunSamplegen(second);
    int compared = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(first.Path()))
    {
        if (!entry.is_regular_file())
            continue;
        const std::filesystem::path relative = std::filesystem::relative(entry.path(), first.Path());
        EXPECT_EQ(Read(entry.path()), Read(second.Path() / relative)) << relative.string();
        ++compared;
    }
    EXPECT_GT(compared, 50);
}

TEST(SampleStoryTest, EverySoundIsItsTone)
{
    TempFolder folder;
    GenerateSample(folder);
    const struct
    {
        const wchar_t* file;
        double hz;
    } sounds[] = {{L"bgms/bgm01.ogg", 220},
                  {L"bgms/bgm02.ogg", 247},
                  {L"sounds/bgvs/wind.ogg", 330},
                  {L"voices/lilith/lilith_0001.ogg", 660},
                  {L"voices/zorde/zorde_0001.ogg", 880},
                  {L"sounds/se/hit.ogg", 1760},
                  {L"sounds/se/bell.wav", 1760},
                  {L"sounds/se/step.wav", 1760},
                  {L"sounds/sys/push.wav", 2640}};
    for (const auto& sound : sounds)
    {
        const std::wstring path = folder.File(sound.file);
        std::unique_ptr<GxSoundLoaderBase> decoder;
        if (std::wstring(sound.file) == L"sounds/se/step.wav")
        {
            auto adpcm = std::make_unique<GxSoundLoaderAcm>();
            ASSERT_TRUE(adpcm->Open(path));
            decoder = std::move(adpcm);
        }
        else
        {
            decoder = GxSoundLoaderFactory::CreateForFile(path);
            ASSERT_TRUE(decoder && GxSoundLoaderFactory::Open(*decoder, path)) << GxString::ToUtf8(path);
        }
        EXPECT_NEAR(Pitch(*decoder), sound.hz, sound.hz * 0.03) << GxString::ToUtf8(sound.file);
    }
}

TEST(SampleStoryTest, StorySettingsAndTablesAgree)
{
    TempFolder folder;
    GenerateSample(folder);
    const std::string scripts = Read(folder.Path() / "scripts" / "main.txt") + Read(folder.Path() / "scripts" / "extra.txt");
    const std::string sysconf = Read(folder.Path() / "system" / "sysconf.ini");
    const std::string replays = Read(folder.Path() / "data" / "db_rpmode.txt");
    for (const char* label : {"REPLAY_01", "REPLAY_02"})
    {
        EXPECT_NE(replays.find(label), std::string::npos) << label;
        EXPECT_NE(scripts.find(std::string("\n*") + label), std::string::npos) << label;
    }
    EXPECT_NE(sysconf.find("LABEL_NAME_EXTRA=EXTRA\r\n"), std::string::npos);
    EXPECT_NE(scripts.find("\n*EXTRA"), std::string::npos);
    for (const char* music : {"bgm01", "bgm02", "bgm03"})
        EXPECT_TRUE(std::filesystem::exists(folder.Path() / "bgms" / (std::string(music) + ".ogg"))) << music;
    for (const char* key : {"BGM_NAME_TITLE=bgm01", "BGM_NAME_CGMODE=bgm03", "BGM_NAME_RPMODE=bgm02"})
        EXPECT_NE(sysconf.find(key), std::string::npos) << key;
    for (const char* picture : {"cg/bg/黒.png", "cg/ev/ev01a.png", "cg/ev/ev01a_w.png", "cg/tr/フェード.png",
                                "cg/name/リリス.png", "cg/st/lilith/eyes1.png", "movies/op.mpg", "gnc/lilith.gnc",
                                "bincode/moacode.mwb"})
        EXPECT_TRUE(std::filesystem::exists(folder.Path() / std::filesystem::u8path(picture))) << picture;
}

// A wide picture ("<name>_w", which "ev" loads beside the event picture and a save's thumbnail shows) is
// the wide version of the picture the player sees: as high, at least as wide, and the same where the two
// overlap.
TEST(SampleStoryTest, EachWidePictureIsTheWideVersionOfItsPicture)
{
    TempFolder folder;
    GenerateSample(folder);
    auto decode = [](const std::filesystem::path& path, PfImage& image)
    {
        const std::string bytes = Read(path);
        std::string error;
        return GxImage::DecodeMemory(bytes.data(), static_cast<uint32_t>(bytes.size()), image, 0, error);
    };
    int wides = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path() / "cg" / "ev"))
    {
        const std::string name = entry.path().stem().string();
        if (name.size() < 2 || name.compare(name.size() - 2, 2, "_w") != 0)
            continue;
        ++wides;
        PfImage wide, picture;
        ASSERT_TRUE(decode(entry.path(), wide)) << name;
        ASSERT_TRUE(decode(entry.path().parent_path() / (name.substr(0, name.size() - 2) + ".png"), picture)) << name;
        EXPECT_EQ(wide.GetHeight(), picture.GetHeight()) << name;
        ASSERT_GE(wide.GetWidth(), picture.GetWidth()) << name;
        int differing = 0;
        for (uint32_t y = 0; y < std::min(wide.GetHeight(), picture.GetHeight()); ++y)
            for (uint32_t x = 0; x < picture.GetWidth(); ++x)
                differing += wide.GetPixel(x, y) != picture.GetPixel(x, y) ? 1 : 0;
        EXPECT_EQ(differing, 0) << name;
    }
    EXPECT_GE(wides, 1);
}
