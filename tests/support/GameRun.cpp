#include "GameRun.h"

#include "platform/PfImage.h"
#include "platform/PfImageDecoder.h"
#include "platform/PfImageResample.h"
#include "platform/PfPngWriter.h"
#include "support/KvSignalName.h"
#include "support/SampleGameCache.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace
{

std::string EnvOr(const char* name, const std::string& fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

bool ReadBytes(const std::string& path, std::vector<uint8_t>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// UTF-16LE (with or without its byte-order mark) to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(const std::vector<uint8_t>& bytes)
{
    size_t i = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE ? 2 : 0;
    std::string out;
    auto unit = [&](size_t at) { return static_cast<uint32_t>(bytes[at] | (bytes[at + 1] << 8)); };
    for (; i + 1 < bytes.size(); i += 2)
    {
        uint32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000)
        {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        }
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;
        if (c == '\r')
            continue;
        if (c < 0x80)
            out += static_cast<char>(c);
        else if (c < 0x800)
        {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
        else if (c < 0x10000)
        {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
        else
        {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string MakeScratchFolder(const std::string& name)
{
    std::string pattern = "/tmp/kve2e-" + name + "-XXXXXX";
    return mkdtemp(pattern.data()) ? pattern : std::string();
}

} // namespace

GameRun::GameRun(const std::string& name) : m_Root(MakeScratchFolder(name)), m_Guard(m_Root)
{
    m_Keep = EnvOr("KV_KEEP_E2E", "0") != "0";
    std::error_code error;
    std::filesystem::create_directories(HomeDir(), error);
    std::filesystem::create_directories(Path("run"), error);
    chmod(Path("run").c_str(), 0700);
}

GameRun::~GameRun()
{
    // A case that returned between Start and Finish: its program would go on writing to the folder.
    for (const pid_t child : m_Running)
    {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    if (m_Root.empty())
        return;
    if (m_Keep)
        std::cout << "[ kept    ] " << m_Root << std::endl;
    else
    {
        std::error_code error;
        std::filesystem::remove_all(m_Root, error);
    }
    m_Guard.Release();
}

bool GameRun::Generate()
{
    if (m_Root.empty())
    {
        ADD_FAILURE() << "no scratch folder";
        return false;
    }
    return kvtest::CopySampleGame(GameDir());
}

GameRun::Result GameRun::Run(const std::string& script, const std::vector<std::pair<std::string, std::string>>& env,
                             int timeoutSeconds)
{
    const pid_t child = Start(script, env);
    if (child < 0)
        return Result();
    return Finish(child, std::chrono::seconds(timeoutSeconds));
}

pid_t GameRun::Start(const std::string& script, const std::vector<std::pair<std::string, std::string>>& env)
{
    const std::string exe = EnvOr("KV_GAME_EXE", "");
    if (exe.empty() || m_Root.empty())
    {
        ADD_FAILURE() << "KV_GAME_EXE is not set";
        return -1;
    }
    const std::string scriptPath = Path("input.txt");
    {
        std::ofstream out(scriptPath, std::ios::binary | std::ios::trunc);
        // Relative capture and wave names land in the scratch folder, whatever the program's folder is.
        size_t start = 0;
        while (start < script.size())
        {
            size_t end = script.find('\n', start);
            if (end == std::string::npos)
                end = script.size();
            std::string line = script.substr(start, end - start);
            start = end + 1;
            const size_t capture = line.find(" capture ");
            if (capture != std::string::npos && line.find('/', capture) == std::string::npos)
                line = line.substr(0, capture + 9) + m_Root + "/" + line.substr(capture + 9);
            if (line.rfind("wave ", 0) == 0 && line.find('/') == std::string::npos)
                line = "wave " + m_Root + "/" + line.substr(5);
            out << line << '\n';
        }
    }

    std::vector<std::pair<std::string, std::string>> settings = {
        {"SDL_VIDEODRIVER", "offscreen"}, {"SDL_AUDIODRIVER", "dummy"}, {"HOME", HomeDir()},
        {"XDG_RUNTIME_DIR", Path("run")}, {"XDG_DOCUMENTS_DIR", HomeDir() + "/Documents"},
        {"KV_INPUT_SCRIPT", scriptPath}};
    // The exit-time leak check can crash on llvmpipe's worker threads still winding down (the test
    // programs skip it for the same reason once they have opened a window); the program's address and
    // undefined-behaviour checks stay on.
    const std::string asan = EnvOr("ASAN_OPTIONS", "");
    settings.push_back({"ASAN_OPTIONS", (asan.empty() ? "" : asan + ":") + "detect_leaks=0"});
    settings.insert(settings.end(), env.begin(), env.end());

    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry)
    {
        const std::string text = *entry;
        const std::string key = text.substr(0, text.find('='));
        if (std::none_of(settings.begin(), settings.end(), [&](const auto& s) { return s.first == key; }))
            variables.push_back(text);
    }
    for (const auto& [key, value] : settings)
        variables.push_back(key + "=" + value);
    std::vector<char*> envp;
    for (std::string& text : variables)
        envp.push_back(text.data());
    envp.push_back(nullptr);
    std::string program = exe;
    char* argv[] = {program.data(), nullptr};

    const std::string gameDir = GameDir();
    const std::string outPath = Path("stdout.log");
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child < 0)
    {
        ADD_FAILURE() << "fork failed";
        return -1;
    }
    if (child == 0)
    {
        // A test process killed by the runner's time limit takes its program with it (the signal runs'
        // script has no end of its own).
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(125);
        // The program answers a hang-up unless it starts with it ignored, as under a runner started by nohup.
        signal(SIGHUP, SIG_DFL);
        if (chdir(gameDir.c_str()) != 0)
            _exit(126);
        if (FILE* out = std::freopen(outPath.c_str(), "w", stdout))
            dup2(fileno(out), STDERR_FILENO);
        execve(program.c_str(), argv, envp.data());
        _exit(127);
    }
    m_Running.push_back(child);
    return child;
}

GameRun::Result GameRun::Finish(pid_t child, std::chrono::milliseconds limit)
{
    Result result;
    const std::string outPath = Path("stdout.log");
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    for (;;)
    {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        if (std::chrono::steady_clock::now() > deadline)
        {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            result.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    m_Running.erase(std::remove(m_Running.begin(), m_Running.end(), child), m_Running.end());
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.exitCode = 128 + WTERMSIG(status);
    // The log and captures of a run that went wrong are what tells why: the folder stays for reading.
    if (result.timedOut)
        m_Keep = true;
    else if (WIFSIGNALED(status))
    {
        m_Keep = true;
        ADD_FAILURE() << "the program was ended by " << KvSignalName(WTERMSIG(status))
                      << "; its folder is kept: " << m_Root;
    }
    if (result.exitCode != 0 || result.timedOut)
    {
        // The program's own output (sanitizer reports among it) says why; show its end with the failure.
        std::ifstream in(outPath, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (text.size() > 4000)
            text = "..." + text.substr(text.size() - 4000);
        std::cout << "[ program ] exit " << result.exitCode << (result.timedOut ? " (timed out)" : "") << ", output:\n"
                  << text << std::endl;
    }
    return result;
}

std::string GameRun::ReadSaveText(const std::string& fileName) const
{
    std::vector<uint8_t> bytes;
    if (!ReadBytes(SaveDir() + "/" + fileName, bytes))
        return "";
    return Utf16ToUtf8(bytes);
}

bool GameRun::SetGameSetting(const std::string& fileName, const std::string& key, const std::string& value) const
{
    const std::string path = GameDir() + "/" + fileName;
    std::vector<uint8_t> bytes;
    ReadBytes(path, bytes);
    std::string text(bytes.begin(), bytes.end());
    std::string out;
    bool replaced = false;
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind(key + "=", 0) == 0)
        {
            line = key + "=" + value;
            replaced = true;
        }
        out += line + "\r\n";
    }
    if (!replaced)
        out += key + "=" + value + "\r\n";
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << out;
    return static_cast<bool>(file);
}

bool GameRun::LoadPicture(const std::string& path, PfImage& image)
{
    std::vector<uint8_t> bytes;
    std::string error;
    return ReadBytes(path, bytes) && PfImageDecoder::Decode(bytes.data(), bytes.size(), image, error);
}

uint32_t GameRun::CapturePixel(const std::string& name, uint32_t x, uint32_t y) const
{
    PfImage image;
    return LoadPicture(Path(name), image) ? PixelAt(image, x, y) : 0;
}

uint32_t GameRun::PixelAt(const PfImage& image, uint32_t x, uint32_t y)
{
    if (image.IsEmpty() || x >= image.GetWidth() || y >= image.GetHeight())
        return 0;
    const uint8_t* p = image.GetData() + (static_cast<size_t>(y) * image.GetWidth() + x) * 4;
    return (uint32_t(p[3]) << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

::testing::AssertionResult GameRun::MatchesGolden(const std::string& capturePath, const std::string& folder,
                                                  const std::string& goldenName)
{
    constexpr uint32_t kWidth = 256;
    constexpr uint32_t kHeight = 192;
    PfImage capture;
    if (!LoadPicture(capturePath, capture))
        return ::testing::AssertionFailure() << "no capture at " << capturePath;
    PfImage small;
    if (!PfImageResample::Triangle(capture, kWidth, kHeight, small))
        return ::testing::AssertionFailure() << "cannot scale " << capturePath;
    // Captures are opaque frames; alpha is not part of the comparison.
    for (uint32_t i = 0; i < kWidth * kHeight; ++i)
        small.GetData()[i * 4 + 3] = 0xFF;

    const std::string goldenPath = EnvOr("KV_SOURCE_DIR", ".") + "/tests/" + folder + "/golden/" + goldenName;
    if (EnvOr("KV_UPDATE_GOLDEN", "0") != "0")
    {
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(goldenPath).parent_path(), error);
        if (!PfPngWriter::Write(goldenPath, kWidth, kHeight, small.GetData()))
            return ::testing::AssertionFailure() << "cannot write " << goldenPath;
        return ::testing::AssertionSuccess() << "wrote " << goldenPath;
    }
    PfImage golden;
    if (!LoadPicture(goldenPath, golden) || golden.GetWidth() != kWidth || golden.GetHeight() != kHeight)
        return ::testing::AssertionFailure() << "no 256 x 192 golden at " << goldenPath
                                             << " (KV_UPDATE_GOLDEN=1 writes it)";
    uint64_t sum = 0;
    uint32_t off = 0;
    for (uint32_t i = 0; i < kWidth * kHeight; ++i)
    {
        int worst = 0;
        for (int c = 0; c < 3; ++c)
        {
            const int d = std::abs(int(small.GetData()[i * 4 + c]) - int(golden.GetData()[i * 4 + c]));
            sum += d;
            worst = std::max(worst, d);
        }
        if (worst > 24)
            ++off;
    }
    const double mean = double(sum) / (double(kWidth) * kHeight * 3);
    const double offShare = double(off) / (double(kWidth) * kHeight);
    if (mean <= 2.0 && offShare <= 0.005)
        return ::testing::AssertionSuccess();
    // Keep the scaled capture beside the original for a look at what changed.
    PfPngWriter::Write(capturePath + ".small.png", kWidth, kHeight, small.GetData());
    return ::testing::AssertionFailure() << goldenName << ": mean difference " << mean << ", " << offShare * 100.0
                                         << " % of pixels off by more than 24 (" << capturePath << ")";
}

bool GameRun::LoadWave(const std::string& path, Wave& wave)
{
    std::vector<uint8_t> bytes;
    if (!ReadBytes(path, bytes) || bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return false;
    auto u16 = [&](size_t at) { return uint32_t(bytes[at] | (bytes[at + 1] << 8)); };
    auto u32 = [&](size_t at) { return u16(at) | (u16(at + 2) << 16); };
    uint32_t channels = 0;
    uint32_t bits = 0;
    size_t at = 12;
    while (at + 8 <= bytes.size())
    {
        const uint32_t size = u32(at + 4);
        const size_t body = at + 8;
        if (std::memcmp(bytes.data() + at, "fmt ", 4) == 0 && size >= 16 && body + 16 <= bytes.size())
        {
            channels = u16(body + 2);
            wave.rate = u32(body + 4);
            bits = u16(body + 14);
        }
        else if (std::memcmp(bytes.data() + at, "data", 4) == 0)
        {
            if (bits != 16 || channels == 0)
                return false;
            const size_t end = std::min(bytes.size(), body + size);
            const size_t frameBytes = channels * 2;
            wave.left.clear();
            wave.right.clear();
            for (size_t p = body; p + frameBytes <= end; p += frameBytes)
            {
                const auto sample = [&](size_t q) { return float(int16_t(u16(q))) / 32768.0f; };
                wave.left.push_back(sample(p));
                wave.right.push_back(channels > 1 ? sample(p + 2) : sample(p));
            }
            return true;
        }
        at = body + size + (size & 1);
    }
    return false;
}

double GameRun::ToneLevel(const Wave& wave, double startSeconds, double lengthSeconds, double hz)
{
    const size_t first = static_cast<size_t>(std::max(0.0, startSeconds) * wave.rate);
    const size_t count = std::min(static_cast<size_t>(lengthSeconds * wave.rate),
                                  first < wave.left.size() ? wave.left.size() - first : 0);
    if (count < 16)
        return 0.0;
    const double pi = 3.14159265358979323846;
    const double w = 2.0 * pi * hz / wave.rate;
    const double coefficient = 2.0 * std::cos(w);
    double s1 = 0.0;
    double s2 = 0.0;
    double windowSum = 0.0;
    for (size_t i = 0; i < count; ++i)
    {
        const double window = 0.5 - 0.5 * std::cos(2.0 * pi * double(i) / double(count - 1));
        windowSum += window;
        const double s0 = wave.left[first + i] * window + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    return 2.0 * std::sqrt(std::max(0.0, power)) / windowSum;
}

double GameRun::LevelDb(const Wave& wave, double startSeconds, double lengthSeconds)
{
    const size_t first = static_cast<size_t>(std::max(0.0, startSeconds) * wave.rate);
    const size_t count = std::min(static_cast<size_t>(lengthSeconds * wave.rate),
                                  first < wave.left.size() ? wave.left.size() - first : 0);
    double sum = 0.0;
    for (size_t i = 0; i < count; ++i)
        sum += double(wave.left[first + i]) * wave.left[first + i];
    if (count == 0 || sum <= 0.0)
        return -200.0;
    return 10.0 * std::log10(sum / double(count));
}
