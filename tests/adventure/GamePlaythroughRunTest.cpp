// The sample game played through the real program, headless, as a player meets it: the story with a
// save to slot 3 while a choice is offered, the choice taken and the slot loaded back, the backlog with a
// voice replayed, the configuration (music 50, skipping unread text), a quick save and quick load, skip
// mode to the story's end; then a second run on the same save folder for the configuration kept, the
// gallery and its viewer, the music room and a replay scene, ended with Esc and Yes. The player's files
// are read back with the game's own readers; a shorter opening played twice gives the same bytes.
//
// Steps come from the sample's layout rows (tools/samplegen): title buttons 240 x 48 from (392, 360),
// the message window's buttons 64 x 24 from (182, 720) every 68, choice buttons at y 255 and 305, save
// and load plates 460 x 120 from (40, 140) (slot 3 is the third of the first column), the dialogs' Yes at
// (436, 304), the backlog's voice buttons at (72, 68 + 120 i), extra screens' thumbnails from (112, 100) and
// their page buttons 40 x 40 from (348, 700) every 48.
#include "support/GameRun.h"

#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"
#include "appdata/GxUserDataPerman.h"
#include "appdata/GxSaveSlotHeader.h"
#include "core/GxString.h"
#include "platform/PfImage.h"
#include "platform/PfImageResample.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace
{

// Tones of the sample's sounds (tools/samplegen/SampleStory.cpp).
constexpr double kTitleHz = 220.0;
constexpr double kStoryMusicHz = 247.0;
constexpr double kLilithHz = 660.0;
constexpr double kEffectHz = 1760.0;

const char* const kStoryScript = "wave story.wav\n"
                                 "90 capture play_title.png\n"
                                 "120 click 512 384\n" // Start
                                 // The opening: a click a second, each shows a message whole or goes on.
                                 "181 click 512 640\n"
                                 "241 click 512 640\n"
                                 "301 click 512 640\n"
                                 "360 capture play_rule.png\n" // the forest comes in through "wipe_lr"
                                 "361 click 512 640\n"
                                 "421 click 512 640\n"
                                 "481 click 512 640\n"
                                 "541 click 512 640\n"
                                 "601 click 512 640\n"
                                 "630 capture play_named.png\n" // リリス's first line, voiced
                                 "661 click 512 640\n"
                                 "721 click 512 640\n"
                                 "781 click 512 640\n"
                                 "841 click 512 640\n"
                                 "901 click 512 640\n"
                                 "961 click 512 640\n"
                                 "1021 click 512 640\n"
                                 "1081 click 512 640\n"
                                 // リリス's "きゃっ" line, its voice over (it ends near 1124): the
                                 // window's voice button (the ninth, at x 726) plays it again.
                                 "1130 click 758 732\n"
                                 "1141 click 512 640\n"
                                 // The first choice: save to slot 3 (Yes to the question), back, take
                                 // the village, then load slot 3 and take the castle.
                                 "1210 capture play_choice.png\n"
                                 "1220 click 214 732\n"
                                 "1270 click 270 462\n"
                                 "1310 click 436 304\n"
                                 "1360 capture play_save.png\n"
                                 "1370 click 940 720\n"
                                 "1430 click 512 305\n"
                                 "1560 click 282 732\n"
                                 "1610 click 270 462\n"
                                 "1650 click 436 304\n"
                                 "1760 capture choice_back.png\n"
                                 "1770 click 512 255\n"
                                 "1831 click 512 640\n"
                                 "1891 click 512 640\n"
                                 "1951 click 512 640\n"
                                 // The backlog by the wheel; リリス's "きゃっ" line (fourth) replayed.
                                 "1990 wheel 1\n"
                                 "2030 capture play_backlog.png\n"
                                 "2040 click 96 444\n"
                                 "2090 click 940 720\n"
                                 // Configuration: sound tab, music to the slider's middle; system tab,
                                 // skipping unread text on; back.
                                 "2140 click 826 732\n"
                                 "2190 click 320 60\n"
                                 "2230 click 720 182\n"
                                 "2270 click 144 60\n"
                                 "2310 click 632 316\n"
                                 "2340 click 768 712\n"
                                 // Quick save and quick load.
                                 "2390 click 350 732\n"
                                 "2430 click 418 732\n"
                                 // Skip mode to the second choice, the fight, skip on to the castle's
                                 // question (Yes); the ending's lines over its two pictures read by
                                 // clicks (above the title's buttons, where the title takes none) and
                                 // the story's end on the title.
                                 "2540 click 622 732\n"
                                 "2630 click 512 305\n"
                                 "2650 click 622 732\n"
                                 "2760 click 436 304\n"
                                 "2770 click 622 732\n"
                                 "2830 click 512 200\n"
                                 "2860 click 512 200\n"
                                 "2890 click 512 200\n"
                                 "2920 click 512 200\n"
                                 "2950 click 512 200\n"
                                 "2980 click 512 200\n"
                                 "3010 click 512 200\n"
                                 "3040 click 512 200\n"
                                 "3150 capture title_again.png\n"
                                 "3160 key ESCAPE\n"
                                 "3200 click 436 304\n";

const char* const kExtrasScript = "wave extras.wav\n"
                                  // The configuration shows the music at 50.
                                  "120 click 512 624\n"
                                  "170 click 320 60\n"
                                  "210 capture play_config.png\n"
                                  "220 click 768 712\n"
                                  // Gallery, the first entry in the viewer and back.
                                  "300 click 512 480\n"
                                  "400 capture play_gallery.png\n"
                                  "420 click 192 145\n"
                                  "510 capture play_viewer.png\n"
                                  "530 click 600 400\n"
                                  "620 click 600 400\n"
                                  "720 click 940 720\n"
                                  // Music room: track 2, stop, back.
                                  "820 click 512 576\n"
                                  "920 click 520 232\n"
                                  "1100 click 500 620\n"
                                  "1200 click 940 720\n"
                                  // Replay: the second scene (page 2's first) to its end.
                                  "1300 click 512 528\n"
                                  "1400 click 416 720\n"
                                  "1420 click 192 145\n"
                                  "1590 capture play_replay.png\n"
                                  "1600 key RETURN\n"
                                  "1700 key RETURN\n"
                                  "1800 key RETURN\n"
                                  "1900 key RETURN\n"
                                  "2000 key RETURN\n"
                                  "2100 capture replay_back.png\n"
                                  "2120 click 940 720\n"
                                  "2220 key ESCAPE\n"
                                  "2270 click 436 304\n";

std::wstring Wide(const std::string& path)
{
    return GxString::FromUtf8(path);
}

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The mean difference per channel between a picture and a capture scaled to its size.
double MeanDifference(const PfImage& picture, const PfImage& capture)
{
    PfImage small;
    if (!PfImageResample::Triangle(capture, picture.GetWidth(), picture.GetHeight(), small))
        return 255.0;
    double sum = 0.0;
    const size_t pixels = static_cast<size_t>(picture.GetWidth()) * picture.GetHeight();
    for (size_t i = 0; i < pixels * 4; ++i)
        if (i % 4 != 3)
            sum += std::abs(int(picture.GetData()[i]) - int(small.GetData()[i]));
    return sum / (pixels * 3.0);
}

// The mean blue level of a 9 x 9 box: the sample's slider knob (0x305080, stripes half as bright) stands
// out of its track (0x202830).
double MeanBlue(const PfImage& image, uint32_t x, uint32_t y)
{
    double sum = 0.0;
    for (uint32_t dy = 0; dy < 9; ++dy)
        for (uint32_t dx = 0; dx < 9; ++dx)
            sum += GameRun::PixelAt(image, x - 4 + dx, y - 4 + dy) & 0xFF;
    return sum / 81.0;
}

bool HasLine(const GxUserData& data, const std::wstring& name, const std::wstring& part)
{
    return std::any_of(data.m_MessageLog.begin(), data.m_MessageLog.end(), [&](const GxMessageLogElement& e)
                       { return e.m_Name == name && e.m_Message.find(part) != std::wstring::npos; });
}

// A slot file with its save time blanked, both as UTF-16LE and UTF-8 text, so two runs compare.
std::vector<uint8_t> SlotBytesWithoutTime(const std::string& path)
{
    std::vector<uint8_t> bytes = ReadBytes(path);
    GxUserData data(nullptr);
    GxSaveSlotHeader header;
    if (!data.ReadHeader(Wide(path), header) || header.m_SaveTime.empty())
        return bytes;
    std::vector<std::vector<uint8_t>> forms(2);
    for (wchar_t c : header.m_SaveTime)
    {
        forms[0].push_back(static_cast<uint8_t>(c & 0xFF));
        forms[0].push_back(static_cast<uint8_t>((c >> 8) & 0xFF));
    }
    const std::string narrow = GxString::ToUtf8(header.m_SaveTime);
    forms[1].assign(narrow.begin(), narrow.end());
    for (const std::vector<uint8_t>& form : forms)
        for (auto at = std::search(bytes.begin(), bytes.end(), form.begin(), form.end()); at != bytes.end();
             at = std::search(at, bytes.end(), form.begin(), form.end()))
            std::fill(at, at + static_cast<std::ptrdiff_t>(form.size()), uint8_t{0});
    return bytes;
}

} // namespace

TEST(GamePlaythroughRun, TheStoryToItsEndThenTheExtras)
{
    GameRun run("play");
    ASSERT_TRUE(run.Generate());
    // Each run's bound only ends a hang: with every core busy a run has taken about 2 minutes.
    const GameRun::Result story = run.Run(kStoryScript, {}, 480);
    ASSERT_FALSE(story.timedOut);
    EXPECT_EQ(story.exitCode, 0);
    EXPECT_EQ(run.ReadSaveText("error.log"), "");

    for (const char* name : {"play_title.png", "play_rule.png", "play_named.png", "play_choice.png", "play_save.png",
                             "play_backlog.png"})
        EXPECT_TRUE(GameRun::MatchesGolden(run.Path(name), "adventure", name));
    // Slot 3 loaded back shows the same choice; the story ended on the title, now with its extra button.
    // (Not while goldens are rewritten: it would put the loaded frame over the first.)
    const char* update = std::getenv("KV_UPDATE_GOLDEN");
    if (update == nullptr || std::string(update) == "0")
    {
        EXPECT_TRUE(GameRun::MatchesGolden(run.Path("choice_back.png"), "adventure", "play_choice.png"));
    }
    EXPECT_TRUE(GameRun::MatchesGolden(run.Path("title_again.png"), "adventure", "play_title_end.png"));

    // Slot 3, saved while the first choice was offered, and the quick save, taken after the castle's lord
    // spoke, read back by the game's reader.
    GxUserData slot(nullptr);
    ASSERT_TRUE(slot.Load(Wide(run.SaveDir() + "/gamedata003.gd"), false));
    EXPECT_EQ(slot.m_GameDataTitle, L"森の出会い");
    EXPECT_EQ(slot.m_RestoreSequence, L"SeqAvgMain");
    EXPECT_TRUE(slot.m_IsSelecting);
    EXPECT_EQ(slot.m_SelectHash, L"forest_path");
    EXPECT_EQ(slot.m_SelectMenuItemList[1].m_Text, L"城へ向かう");
    EXPECT_EQ(slot.m_SelectMenuItemList[1].m_Label, L"PATH_CASTLE");
    EXPECT_TRUE(HasLine(slot, L"リリス", L"こんにちは"));
    EXPECT_TRUE(HasLine(slot, L"村人", L"旅の方"));
    // The voiced block's two pages, each its own entry with the speaker.
    EXPECT_TRUE(HasLine(slot, L"リリス", L"私はリリス。%rこの森で生まれ育ったの。"));
    EXPECT_TRUE(HasLine(slot, L"リリス", L"城までなら案内できるわ。"));
    EXPECT_FALSE(HasLine(slot, L"リリス", L"%p"));
    GxUserData quick(nullptr);
    ASSERT_TRUE(quick.Load(Wide(run.SaveDir() + "/gamedata_quick.gd"), false));
    EXPECT_EQ(quick.m_GameDataTitle, L"森の出会い");
    EXPECT_EQ(quick.m_RestoreSequence, L"SeqAvgMain");
    EXPECT_FALSE(quick.m_IsSelecting);
    EXPECT_TRUE(HasLine(quick, L"ゾルデ", L"よく来たな"));

    // The slot's thumbnail is the choice's frame, scaled.
    PfImage thumb, choice;
    ASSERT_TRUE(GameRun::LoadPicture(run.SaveDir() + "/thumb003.png", thumb));
    ASSERT_TRUE(GameRun::LoadPicture(run.Path("play_choice.png"), choice));
    EXPECT_EQ(thumb.GetWidth(), 128u);
    EXPECT_EQ(thumb.GetHeight(), 96u);
    EXPECT_LT(MeanDifference(thumb, choice), 6.0);

    // Progress: read messages, both answers of the first choice and the fight, the gallery's names, both
    // replay scenes and the extras bit.
    GxUserDataPerman perman(nullptr);
    ASSERT_TRUE(perman.Load(Wide(run.SaveDir() + "/permanent.dat")));
    ASSERT_EQ(perman.m_ReadedMessageFlags.count(L"main"), 1u);
    const auto& read = perman.m_ReadedMessageFlags[L"main"];
    EXPECT_GE(std::count_if(read.begin(), read.end(), [](uint32_t w) { return w != 0; }), 1);
    // Choices count from 1.
    EXPECT_TRUE(perman.IsSelectedMenu(L"forest_path", 1));
    EXPECT_TRUE(perman.IsSelectedMenu(L"forest_path", 2));
    EXPECT_TRUE(perman.IsSelectedMenu(L"talk_to_lord", 2));
    EXPECT_FALSE(perman.IsSelectedMenu(L"talk_to_lord", 1));
    // Leaving the castle shows the gallery's third entry; the fourth is the castle's war's.
    for (const wchar_t* name : {L"ev01a", L"ev01b", L"ev01c", L"ev02a", L"ev03a", L"ev03b"})
        EXPECT_EQ(perman.m_ShowedCGFlags.count(name), 1u) << GxString::ToUtf8(name);
    EXPECT_EQ(perman.m_ShowedCGFlags.count(L"ev04a"), 0u);
    EXPECT_EQ(perman.m_PassedReplayLabels.count(L"REPLAY_01"), 1u);
    EXPECT_EQ(perman.m_PassedReplayLabels.count(L"REPLAY_02"), 1u);
    EXPECT_TRUE(perman.m_ExtraOption.IsSet(10));
    GxUserConfig config;
    ASSERT_TRUE(config.Load(Wide(run.SaveDir() + "/userconf.dat")));
    EXPECT_EQ(config.m_Volume_BGM, 50);
    EXPECT_TRUE(config.m_AllowSkipUnreadText);

    // The mixed sound: the title music, リリス's voice at her line and again from the backlog, the
    // effects (the footstep, the hit of the shaking, the door and bell together, the fight's hit), and
    // the story music's drop from 80 to 50 on the volume curve.
    GameRun::Wave wave;
    ASSERT_TRUE(GameRun::LoadWave(run.Path("story.wav"), wave));
    auto at = [&](uint64_t step, double seconds, double hz)
    { return GameRun::ToneLevel(wave, GameRun::StepSeconds(step), seconds, hz); };
    EXPECT_GT(at(30, 1.0, kTitleHz), 0.02) << "title music";
    EXPECT_GT(at(600, 0.5, kLilithHz), 0.02) << "voiced line";
    EXPECT_GT(at(2045, 0.5, kLilithHz), 0.02) << "backlog replay";
    // The voice button: silent before it, her voice again right after it.
    EXPECT_LT(at(1127, 0.04, kLilithHz), 0.01) << "the line's voice is over";
    EXPECT_GT(at(1131, 0.15, kLilithHz), 0.02) << "voice button replay";
    for (const uint64_t step : {1140u, 1875u, 2670u})
        EXPECT_GT(at(step, 0.2, kEffectHz), 0.02) << "effect at step " << step;
    // The footstep (the mono IMA ADPCM "step.wav", streamed on an effect channel) before her line.
    double footstep = 0;
    for (uint64_t step = 60; step < 600; step += 6)
        footstep = std::max(footstep, at(step, 0.2, kEffectHz));
    EXPECT_GT(footstep, 0.02) << "footstep";
    const double before = 20.0 * std::log10(at(1960, 0.4, kStoryMusicHz) + 1e-9);
    const double after = 20.0 * std::log10(at(2350, 0.4, kStoryMusicHz) + 1e-9);
    const double curve = (GxUserConfig::LevelToAttenuation(50) - GxUserConfig::LevelToAttenuation(80)) / 100.0;
    EXPECT_NEAR(after - before, curve, 1.0);

    // Second run on the same save folder.
    const GameRun::Result extras = run.Run(kExtrasScript, {}, 480);
    ASSERT_FALSE(extras.timedOut);
    EXPECT_EQ(extras.exitCode, 0);
    EXPECT_EQ(run.ReadSaveText("error.log"), "");
    // The music slider (560..880 at y 170, knob 24 wide) keeps its knob at 50, not at the default 80.
    PfImage settings;
    ASSERT_TRUE(GameRun::LoadPicture(run.Path("play_config.png"), settings));
    EXPECT_GT(MeanBlue(settings, 720, 182), 0x50);
    EXPECT_LT(MeanBlue(settings, 809, 182), 0x40);
    for (const char* name : {"play_config.png", "play_gallery.png", "play_viewer.png", "play_replay.png"})
        EXPECT_TRUE(GameRun::MatchesGolden(run.Path(name), "adventure", name));
}

TEST(GamePlaythroughRun, TheOpeningPlayedTwiceGivesTheSameCapturesAndSaves)
{
    const char* const script = "90 capture title.png\n"
                                "120 click 512 384\n"
                                "181 click 512 640\n"
                                "241 click 512 640\n"
                                "301 click 512 640\n"
                                "360 capture rule.png\n"
                                "361 click 512 640\n"
                                "421 click 512 640\n"
                                "450 click 350 732\n" // quick save
                                "500 capture message.png\n"
                                "510 key ESCAPE\n"
                                "550 click 436 304\n";
    GameRun first("play1");
    GameRun second("play2");
    for (GameRun* run : {&first, &second})
    {
        ASSERT_TRUE(run->Generate());
        const GameRun::Result result = run->Run(script, {}, 240);
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0);
    }
    for (const char* name : {"title.png", "rule.png", "message.png"})
        EXPECT_EQ(ReadBytes(first.Path(name)), ReadBytes(second.Path(name))) << name;
    for (const char* name : {"permanent.dat", "userconf.dat"})
        EXPECT_EQ(ReadBytes(first.SaveDir() + "/" + name), ReadBytes(second.SaveDir() + "/" + name)) << name;
    const std::vector<uint8_t> quick = SlotBytesWithoutTime(first.SaveDir() + "/gamedata_quick.gd");
    EXPECT_FALSE(quick.empty());
    EXPECT_EQ(quick, SlotBytesWithoutTime(second.SaveDir() + "/gamedata_quick.gd"));
}
