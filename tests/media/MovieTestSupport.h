#pragma once

// Test movies made once per test program by tools/moviegen into a folder removed at exit, and a fixture
// with a started graphics device, the movie slots emptied after each test and helpers to drive playback.

#include "../core/FileTestSupport.h"
#include "../graphics/GraphicsTestSupport.h"
#include "../../tools/moviegen/MoviePattern.h"

#include "core/GxTimeSource.h"
#include "graphics/GxTextureMovie.h"
#include "media/GxMovie.h"
#include "media/GxMoviePlayerFile.h"
#include "media/GxMovieRenderer.h"
#include "platform/PfGLTexture.h"

#include <chrono>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>

// The folder of the generated movies, made with the first movie and removed when the tests end (the test
// main leaves without running static destructors, so a test environment does it).
class KvMovieFolder : public ::testing::Environment
{
public:
    static KvTempDir& Get()
    {
        if (!s_Folder)
            s_Folder = new KvTempDir();
        return *s_Folder;
    }
    void TearDown() override
    {
        delete s_Folder;
        s_Folder = nullptr;
    }
    static inline KvTempDir* s_Folder = nullptr;
    static inline std::map<std::string, std::string> s_Made;
};
inline ::testing::Environment* const g_KvMovieFolderRegistered = ::testing::AddGlobalTestEnvironment(new KvMovieFolder);

// Generates the movie "<name>" once: "<width>x<height>x<seconds>.mpg|.avi", "-silent" without sound,
// "-short" with only the first second of sound.
inline std::string KvMovie(const std::string& name)
{
    KvTempDir* folder = &KvMovieFolder::Get();
    std::map<std::string, std::string>& made = KvMovieFolder::s_Made;
    auto found = made.find(name);
    if (found != made.end())
        return found->second;
    int w = 0, h = 0, s = 0;
    char extension[8] = {};
    std::sscanf(name.c_str(), "%dx%dx%d", &w, &h, &s);
    const size_t dot = name.rfind('.');
    std::snprintf(extension, sizeof(extension), "%s", name.c_str() + dot);
    const std::string path = folder->Path() + "/" + name;
    const char* tools = std::getenv("KV_TOOLS_DIR");
    const std::string command = std::string(tools ? tools : "tools") + "/moviegen " + path + " " + std::to_string(w) +
                                " " + std::to_string(h) + " " + std::to_string(s) +
                                (name.find("silent") != std::string::npos ? " --no-sound" : "") +
                                (name.find("short") != std::string::npos ? " --sound-seconds 1" : "");
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    made[name] = path;
    return path;
}

// A scripted run's pass clock: the test moves it on by hand, one pass at a time.
class KvPassClock final : public GxTimeSource
{
public:
    uint64_t GetTimeMs() override { return m_Us / 1000; }
    uint64_t GetTimeUs() override { return m_Us; }
    void Sleep(uint32_t) override {}
    uint64_t m_Us = 5000000;
};

class KvMovieFixture : public KvGraphicsFixture
{
protected:
    void TearDown() override
    {
        GxMovie::DestroyAll();
        KvGraphicsFixture::TearDown();
    }

    static std::wstring Wide(const std::string& path) { return GxString::FromUtf8(path); }

    // Runs the main loop's movie update until done() holds or the time is up; false on time-out.
    template <typename Done> static bool PumpUntil(Done done, double seconds = 120.0)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!done())
        {
            if (std::chrono::steady_clock::now() > end)
                return false;
            GxMovie::UpdateAll();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }
    static size_t Copies(int slot) { return GxMovie::GetPlayer(slot)->GetRenderer()->GetCopyRecords().size(); }
    // Plays the slot (without sound) until one more frame has been copied, then stops it. The clock runs
    // at a twentieth of its speed meanwhile, so a loaded machine cannot let a second frame through.
    static bool PlayOneFrame(int slot)
    {
        const size_t before = Copies(slot);
        GxMovie::GetPlayer(slot)->SetRate(0.05);
        if (!GxMovie::Play(slot, 0, 0))
            return false;
        const bool copied = PumpUntil([&] { return Copies(slot) > before; });
        GxMovie::Stop(slot);
        GxMovie::GetPlayer(slot)->SetRate(1.0);
        return copied;
    }
    // The 0xRRGGBB of a pixel of the movie texture's current processor copy, any format widened to 8 bits.
    static uint32_t TexturePixel(GxTextureMovie* texture, int x, int y)
    {
        const PfGLTexture* t = texture->GetD3DResource();
        const uint8_t* row = t->GetData() + (size_t)y * t->GetPitch();
        if (PfGLTexture::GetBytesPerPixel(texture->GetFormat()) == 4)
        {
            uint32_t argb;
            std::memcpy(&argb, row + 4 * x, 4);
            return argb;
        }
        uint16_t v;
        std::memcpy(&v, row + 2 * x, 2);
        return v;
    }
    // The frame number shown in the texture (its movie's size given).
    static int ShownFrame(GxTextureMovie* texture, int width, int height)
    {
        return MoviePattern::ReadFrameNumber([&](int x, int y) { return TexturePixel(texture, x, y) & 0xFFFFFF; },
                                             width, height);
    }
};
