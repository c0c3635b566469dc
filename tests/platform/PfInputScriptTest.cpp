#include "platform/PfInputScript.h"

#include "platform/PfAudioDevice.h"
#include "platform/PfEventTranslator.h"
#include "platform/PfPictureFit.h"
#include "platform/PfSoundBuffer.h"
#include "platform/PfWaveFormat.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

using Action = PfInputScript::Action;

TEST(PfInputScript, ParsesEveryActionWithAbsoluteAndRelativeSteps)
{
    PfInputScript script;
    EXPECT_TRUE(script.Parse("# title\n"
                             "wave out.wav\n"
                             "10 move 100 200\n"
                             "+5 click 300 400 right\r\n"
                             "+0 press\n"
                             "20 release 1 2 middle\n"
                             "21 wheel -2\n"
                             "22 key esc\n"
                             "22 keydown VK_RETURN\n"
                             "23 keyup a\n"
                             "30 close\n"
                             "31 capture shot.png\n"));
    EXPECT_EQ(script.GetWavePath(), "out.wav");
    const auto& l = script.GetLines();
    ASSERT_EQ(l.size(), 10u);
    struct Want
    {
        uint64_t step;
        Action action;
        bool point;
        int32_t x, y;
        uint8_t button;
    };
    const Want want[] = {{10, Action::Move, true, 100, 200, 1}, {15, Action::Click, true, 300, 400, 3},
                         {15, Action::Press, false, 0, 0, 1},   {20, Action::Release, true, 1, 2, 2},
                         {21, Action::Wheel, false, 0, 0, 1},   {22, Action::Key, false, 0, 0, 1},
                         {22, Action::KeyDown, false, 0, 0, 1}, {23, Action::KeyUp, false, 0, 0, 1},
                         {30, Action::Close, false, 0, 0, 1},   {31, Action::Capture, false, 0, 0, 1}};
    for (size_t i = 0; i < l.size(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(l[i].step, want[i].step);
        EXPECT_EQ(l[i].action, want[i].action);
        EXPECT_EQ(l[i].hasPoint, want[i].point);
        EXPECT_EQ(l[i].x, want[i].x);
        EXPECT_EQ(l[i].y, want[i].y);
        EXPECT_EQ(l[i].button, want[i].button);
    }
    EXPECT_EQ(l[4].value, -2);
    EXPECT_EQ(l[5].value, SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(l[6].value, SDL_SCANCODE_RETURN);
    EXPECT_EQ(l[7].value, SDL_SCANCODE_A);
    EXPECT_EQ(l[9].path, "shot.png");
}

TEST(PfInputScript, MalformedLinesAreReportedAndSkippedAndLateLinesSorted)
{
    PfInputScript script;
    EXPECT_FALSE(script.Parse("5 key ESCAPE\n"
                              "x move 1 2\n"
                              "-3 close\n"
                              "4 move 1024 0\n"
                              "4 move 1\n"
                              "4 click\n"
                              "4 key NOSUCHKEY\n"
                              "4 wheel 0\n"
                              "4 jump\n"
                              "4 press 1 2 sideways\n"
                              "wave\n"
                              "2 close\n"));
    const auto& l = script.GetLines();
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0].action, Action::Close);
    EXPECT_EQ(l[0].step, 2u);
    EXPECT_EQ(l[1].action, Action::Key);
    const auto messages = script.TakeMessages();
    EXPECT_EQ(messages.size(), 10u);
    EXPECT_NE(messages[0].find("line 2"), std::string::npos);
    EXPECT_TRUE(script.TakeMessages().empty());
}

TEST(PfInputScript, VirtualPointsMapBackToTheSamePixelInLargerWindows)
{
    const int sizes[][2] = {{1024, 768}, {1280, 720}, {800, 600}, {1920, 1200}, {640, 480}};
    for (const auto& s : sizes)
    {
        for (const auto& p : {std::pair{0, 0}, std::pair{1023, 767}, std::pair{446, 544}, std::pair{512, 384}})
        {
            int32_t wx = 0, wy = 0;
            PfInputScript::MapToWindow(s[0], s[1], p.first, p.second, wx, wy);
            // The engine's own mapping: subtract the picture's corner, divide by the scale.
            const PfRect pic = PfPictureFit::Fit(1024, 768, s[0], s[1]);
            const float scale = static_cast<float>(pic.right - pic.left) / 1024.0f;
            // A window smaller than the virtual screen cannot reach every virtual pixel: one off at most.
            const int slack = scale < 1.0f ? 1 : 0;
            EXPECT_NEAR(static_cast<int>((wx - pic.left) / scale), p.first, slack) << s[0] << "x" << s[1];
            EXPECT_NEAR(static_cast<int>((wy - pic.top) / scale), p.second, slack) << s[0] << "x" << s[1];
        }
    }
}

TEST(PfInputScript, WaveHeaderDescribesSixteenBitStereo)
{
    uint8_t h[44];
    PfInputScript::MakeWaveHeader(735 * 4 * 3, h);
    EXPECT_EQ(std::memcmp(h, "RIFF", 4), 0);
    EXPECT_EQ(std::memcmp(h + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(std::memcmp(h + 36, "data", 4), 0);
    auto u32 = [&](int at) { return h[at] | h[at + 1] << 8 | h[at + 2] << 16 | uint32_t(h[at + 3]) << 24; };
    EXPECT_EQ(u32(4), 36u + 735 * 12);
    EXPECT_EQ(u32(24), 44100u);
    EXPECT_EQ(u32(28), 44100u * 4);
    EXPECT_EQ(h[22], 2);
    EXPECT_EQ(h[34], 16);
    EXPECT_EQ(u32(40), 735u * 12);
}

// The pushed events reach the window-message translator as a person's would, at their pass only.
TEST(PfInputScript, EventsArePushedAtTheirPassAndTranslateLikeRealInput)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
    SDL_Window* window = SDL_CreateWindow("PfInputScriptTest", 0, 0, 1024, 768, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);

    PfInputScript script;
    ASSERT_TRUE(script.Parse("1 click 10 20\n+1 key ESCAPE\n+0 wheel 1\n3 close\n"));
    PfEventTranslator translator;
    std::vector<uint32_t> perPass[4];
    for (int pass = 0; pass < 4; ++pass)
    {
        EXPECT_EQ(script.GetTimeUs(), 1000000u + pass * 1000000u / 60);
        script.BeginPass(window);
        std::vector<GxWindowMessage> out;
        for (SDL_Event e; SDL_PollEvent(&e);)
            if (e.type != SDL_WINDOWEVENT || e.window.event == SDL_WINDOWEVENT_CLOSE)
                translator.Translate(e, out);
        for (const GxWindowMessage& m : out)
            perPass[pass].push_back(m.message);
        if (pass == 1 && !out.empty())
        {
            EXPECT_EQ(GxPointParamX(out[1].lParam), 10);
            EXPECT_EQ(GxPointParamY(out[1].lParam), 20);
        }
        script.EndPass(nullptr);
    }
    EXPECT_TRUE(perPass[0].empty());
    EXPECT_EQ(perPass[1], (std::vector<uint32_t>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_EQ(perPass[2], (std::vector<uint32_t>{WM_KEYDOWN, WM_KEYUP, WM_MOUSEWHEEL}));
    EXPECT_EQ(perPass[3], (std::vector<uint32_t>{WM_CLOSE}));
    EXPECT_TRUE(script.IsFinished());
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

// A scripted run without a WAVE file still mixes its sound through the pull output, one step a pass, so a
// sound ends on the same pass whatever the machine's speed (a device would play it by the wall clock).
TEST(PfInputScript, WithoutAWaveFileTheSoundIsStillMixedOneStepAPass)
{
    const std::string path = ::testing::TempDir() + "PfInputScriptNoWave.txt";
    {
        std::FILE* out = std::fopen(path.c_str(), "wb");
        ASSERT_NE(out, nullptr);
        std::fputs("5 close\n", out);
        std::fclose(out);
    }
    setenv("KV_INPUT_SCRIPT", path.c_str(), 1);
    ASSERT_TRUE(PfInputScript::StartFromEnvironment());
    unsetenv("KV_INPUT_SCRIPT");
    EXPECT_TRUE(PfAudioDevice::IsOpen());
    EXPECT_EQ(PfAudioDevice::GetDriverName(), "pull");

    PfWaveFormat format;
    format.wFormatTag = PF_WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = 44100 * 4;
    std::unique_ptr<PfSoundBuffer> sound = PfSoundBuffer::Create(format, 44100 * 4);
    ASSERT_NE(sound, nullptr);
    ASSERT_EQ(sound->Play(PfSoundBuffer::kPlayOnce), PfSoundBuffer::kOk);
    for (int pass = 0; pass < 3; ++pass)
        PfInputScript::GetActive()->EndPass(nullptr);
    uint32_t play = 0;
    sound->GetCurrentPosition(&play, nullptr);
    EXPECT_EQ(play, 3 * PfInputScript::kFramesPerStep * 4);
    sound.reset();
    PfInputScript::Stop();
    PfAudioDevice::Close();
    std::remove(path.c_str());
}
