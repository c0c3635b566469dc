#include "platform/PfInputScript.h"

#include "platform/PfAudioDevice.h"
#include "platform/PfGLDevice.h"
#include "platform/PfGLSwapChain.h"
#include "platform/PfKeyTable.h"
#include "platform/PfPictureFit.h"
#include "platform/PfPngWriter.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace
{
PfInputScript* s_Active = nullptr;

// A non-zero epoch: the frame timer takes a reading of 0 as "never started".
constexpr uint64_t kEpochUs = 1000000;
constexpr int32_t kVirtualWidth = 1024;
constexpr int32_t kVirtualHeight = 768;

uint32_t VirtualClockMs()
{
    return s_Active ? static_cast<uint32_t>(s_Active->GetTimeUs() / 1000) : 0;
}

bool ParseInt(const std::string& word, int64_t& value)
{
    if (word.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(word.c_str(), &end, 10);
    if (errno != 0 || *end != '\0')
        return false;
    value = v;
    return true;
}

bool ParseButton(const std::string& word, uint8_t& button)
{
    if (word == "left")
        button = SDL_BUTTON_LEFT;
    else if (word == "middle")
        button = SDL_BUTTON_MIDDLE;
    else if (word == "right")
        button = SDL_BUTTON_RIGHT;
    else
        return false;
    return true;
}

struct KeyName
{
    const char* name;
    uint8_t vk;
};

// Virtual-key names without their "VK_" prefix; letters and digits are their own names.
constexpr KeyName kKeyNames[] = {
    {"BACK", 0x08},     {"TAB", 0x09},     {"RETURN", 0x0D}, {"SHIFT", 0x10}, {"CONTROL", 0x11},  {"MENU", 0x12},
    {"PAUSE", 0x13},    {"CAPITAL", 0x14}, {"ESCAPE", 0x1B}, {"SPACE", 0x20}, {"PRIOR", 0x21},    {"NEXT", 0x22},
    {"END", 0x23},      {"HOME", 0x24},    {"LEFT", 0x25},   {"UP", 0x26},    {"RIGHT", 0x27},    {"DOWN", 0x28},
    {"SNAPSHOT", 0x2C}, {"INSERT", 0x2D},  {"DELETE", 0x2E}, {"ADD", 0x6B},   {"SUBTRACT", 0x6D}, {"F1", 0x70},
    {"F2", 0x71},       {"F3", 0x72},      {"F4", 0x73},     {"F5", 0x74},    {"F6", 0x75},       {"F7", 0x76},
    {"F8", 0x77},       {"F9", 0x78},      {"F10", 0x79},    {"F11", 0x7A},   {"F12", 0x7B},
};
} // namespace

PfInputScript::PfInputScript() = default;

PfInputScript::~PfInputScript()
{
    CloseWave();
    if (s_Active == this)
    {
        s_Active = nullptr;
        PfAudioDevice::SetClock(nullptr);
    }
}

bool PfInputScript::StartFromEnvironment()
{
    Stop();
    const char* path = std::getenv("KV_INPUT_SCRIPT");
    if (!path || !*path)
        return false;
    auto script = std::make_unique<PfInputScript>();
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    if (in)
        text << in.rdbuf();
    if (!in || in.bad())
    {
        // Still the active script (with no lines), so the run stays deterministic and the message is
        // logged; a run that was meant to be scripted must not quietly wait for a person.
        script->Report(0, std::string("cannot read the input script ") + path);
    }
    else
        script->Parse(text.str());
    s_Active = script.release();
    PfAudioDevice::SetClock(&VirtualClockMs);
    s_Active->OpenOutput();
    return true;
}

void PfInputScript::Stop()
{
    delete s_Active;
    s_Active = nullptr;
    PfAudioDevice::SetClock(nullptr);
}

PfInputScript* PfInputScript::GetActive()
{
    return s_Active;
}

void PfInputScript::Report(int32_t sourceLine, const std::string& text)
{
    if (sourceLine > 0)
        m_Messages.push_back("input script line " + std::to_string(sourceLine) + ": " + text);
    else
        m_Messages.push_back("input script: " + text);
}

std::vector<std::string> PfInputScript::TakeMessages()
{
    std::vector<std::string> out;
    out.swap(m_Messages);
    return out;
}

int32_t PfInputScript::ScancodeFromKeyName(const std::string& given)
{
    std::string name;
    for (char c : given)
        name.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    if (name.rfind("VK_", 0) == 0)
        name.erase(0, 3);
    if (name == "ESC")
        name = "ESCAPE";
    else if (name == "ENTER")
        name = "RETURN";
    int32_t vk = 0;
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        vk = static_cast<unsigned char>(name[0]);
    for (const KeyName& k : kKeyNames)
        if (name == k.name)
            vk = k.vk;
    if (vk == 0)
        return SDL_SCANCODE_UNKNOWN;
    // The first physical key that gives the virtual key (the left one of a pair, the main block's
    // Return rather than the keypad's).
    for (int sc = 1; sc < SDL_NUM_SCANCODES; ++sc)
        if (PfKeyTable::ToVirtualKey(static_cast<SDL_Scancode>(sc)) == vk)
            return sc;
    return SDL_SCANCODE_UNKNOWN;
}

bool PfInputScript::Parse(const std::string& text)
{
    m_Lines.clear();
    m_Next = 0;
    std::istringstream in(text);
    std::string raw;
    int32_t number = 0;
    uint64_t previous = 0;
    bool clean = true;
    while (std::getline(in, raw))
    {
        ++number;
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        std::istringstream words(raw);
        std::vector<std::string> w;
        for (std::string word; words >> word;)
            w.push_back(word);
        if (w.empty() || w[0][0] == '#')
            continue;
        auto bad = [&](const std::string& why)
        {
            Report(number, why + ": \"" + raw + "\"");
            clean = false;
        };
        if (w[0] == "wave")
        {
            if (w.size() != 2)
                bad("wave takes one file name");
            else
                m_WavePath = w[1];
            continue;
        }
        Line line;
        line.sourceLine = number;
        int64_t step = 0;
        const bool relative = w[0][0] == '+';
        if (!ParseInt(relative ? w[0].substr(1) : w[0], step) || step < 0 || w.size() < 2)
        {
            bad("expected a step number and an action");
            continue;
        }
        line.step = relative ? previous + static_cast<uint64_t>(step) : static_cast<uint64_t>(step);
        const std::string& action = w[1];
        const size_t argc = w.size() - 2;
        auto arg = [&](size_t i) -> const std::string& { return w[2 + i]; };
        // Optional "<x> <y>" then an optional button name.
        auto pointAndButton = [&](bool pointRequired)
        {
            size_t i = 0;
            int64_t x = 0, y = 0;
            if (argc >= 2 && ParseInt(arg(0), x) && ParseInt(arg(1), y))
            {
                if (x < 0 || y < 0 || x >= kVirtualWidth || y >= kVirtualHeight)
                    return false;
                line.hasPoint = true;
                line.x = static_cast<int32_t>(x);
                line.y = static_cast<int32_t>(y);
                i = 2;
            }
            else if (pointRequired)
                return false;
            if (i < argc && !ParseButton(arg(i++), line.button))
                return false;
            return i == argc;
        };
        bool ok = true;
        if (action == "move")
        {
            line.action = Action::Move;
            ok = argc == 2 && pointAndButton(true);
        }
        else if (action == "press" || action == "release" || action == "click")
        {
            line.action = action == "press" ? Action::Press : action == "release" ? Action::Release : Action::Click;
            ok = pointAndButton(line.action == Action::Click);
        }
        else if (action == "wheel")
        {
            int64_t notches = 0;
            line.action = Action::Wheel;
            ok = argc == 1 && ParseInt(arg(0), notches) && notches != 0 && notches >= -100 && notches <= 100;
            line.value = static_cast<int32_t>(notches);
        }
        else if (action == "key" || action == "keydown" || action == "keyup")
        {
            line.action = action == "key" ? Action::Key : action == "keydown" ? Action::KeyDown : Action::KeyUp;
            ok = argc == 1 && (line.value = ScancodeFromKeyName(arg(0))) != SDL_SCANCODE_UNKNOWN;
        }
        else if (action == "close")
        {
            line.action = Action::Close;
            ok = argc == 0;
        }
        else if (action == "capture")
        {
            line.action = Action::Capture;
            ok = argc == 1;
            if (ok)
                line.path = arg(0);
        }
        else
            ok = false;
        if (!ok)
        {
            bad("malformed " + action + " action");
            continue;
        }
        previous = line.step;
        m_Lines.push_back(std::move(line));
    }
    // A line for a step already passed would otherwise never run: order by step, keeping file order
    // within a step.
    std::stable_sort(m_Lines.begin(), m_Lines.end(), [](const Line& a, const Line& b) { return a.step < b.step; });
    return clean;
}

uint64_t PfInputScript::GetTimeUs() const
{
    // Computed from the pass number rather than summed, so 1/60 s never drifts.
    return kEpochUs + m_Pass * 1000000u / kStepsPerSecond;
}

void PfInputScript::MapToWindow(int32_t clientWidth, int32_t clientHeight, int32_t x, int32_t y, int32_t& wx,
                                int32_t& wy)
{
    const PfRect picture = PfPictureFit::Fit(kVirtualWidth, kVirtualHeight, clientWidth, clientHeight);
    const int32_t pw = picture.right - picture.left;
    const int32_t ph = picture.bottom - picture.top;
    if (pw <= 0 || ph <= 0)
    {
        wx = x;
        wy = y;
        return;
    }
    // The centre of the virtual pixel, so the mapping back lands on the same pixel at any scale.
    wx = picture.left + static_cast<int32_t>((static_cast<int64_t>(x) * 2 + 1) * pw / (2 * kVirtualWidth));
    wy = picture.top + static_cast<int32_t>((static_cast<int64_t>(y) * 2 + 1) * ph / (2 * kVirtualHeight));
}

void PfInputScript::BeginPass(PfWindowHandle window)
{
    // A scripted run plays as a person at a focused window would: the offscreen driver never gives the
    // window the focus, and the screens that follow the pointer (edge scrolling, picking) wait for it.
    if (m_Pass == 0 && window)
    {
        SDL_Event e{};
        e.window.type = SDL_WINDOWEVENT;
        e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
        e.window.timestamp = SDL_GetTicks();
        e.window.windowID = SDL_GetWindowID(window);
        SDL_PushEvent(&e);
    }
    while (m_Next < m_Lines.size() && m_Lines[m_Next].step <= m_Pass)
        Push(window, m_Lines[m_Next++]);
}

void PfInputScript::Push(PfWindowHandle window, const Line& line)
{
    const Uint32 windowId = window ? SDL_GetWindowID(window) : 0;
    const Uint32 now = SDL_GetTicks();
    if (line.hasPoint)
    {
        int32_t cw = kVirtualWidth, ch = kVirtualHeight;
        if (window)
            SDL_GetWindowSize(window, &cw, &ch);
        int32_t wx = 0, wy = 0;
        MapToWindow(cw, ch, line.x, line.y, wx, wy);
        SDL_Event e{};
        e.motion.type = SDL_MOUSEMOTION;
        e.motion.timestamp = now;
        e.motion.windowID = windowId;
        e.motion.state = m_Buttons;
        e.motion.x = wx;
        e.motion.y = wy;
        e.motion.xrel = wx - m_PointerX;
        e.motion.yrel = wy - m_PointerY;
        m_PointerX = wx;
        m_PointerY = wy;
        SDL_PushEvent(&e);
    }
    auto button = [&](bool down)
    {
        SDL_Event e{};
        e.button.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.timestamp = now;
        e.button.windowID = windowId;
        e.button.button = line.button;
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = 1;
        e.button.x = m_PointerX;
        e.button.y = m_PointerY;
        if (down)
            m_Buttons |= SDL_BUTTON(line.button);
        else
            m_Buttons &= ~SDL_BUTTON(line.button);
        SDL_PushEvent(&e);
    };
    auto key = [&](bool down)
    {
        SDL_Event e{};
        e.key.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.timestamp = now;
        e.key.windowID = windowId;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.scancode = static_cast<SDL_Scancode>(line.value);
        e.key.keysym.sym = SDL_GetKeyFromScancode(e.key.keysym.scancode);
        SDL_PushEvent(&e);
    };
    switch (line.action)
    {
    case Action::Move:
        break;
    case Action::Press:
        button(true);
        break;
    case Action::Release:
        button(false);
        break;
    case Action::Click:
        button(true);
        button(false);
        break;
    case Action::Wheel:
    {
        SDL_Event e{};
        e.wheel.type = SDL_MOUSEWHEEL;
        e.wheel.timestamp = now;
        e.wheel.windowID = windowId;
        e.wheel.y = line.value;
        e.wheel.preciseY = static_cast<float>(line.value);
        e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
        e.wheel.mouseX = m_PointerX;
        e.wheel.mouseY = m_PointerY;
        SDL_PushEvent(&e);
        break;
    }
    case Action::KeyDown:
        key(true);
        break;
    case Action::KeyUp:
        key(false);
        break;
    case Action::Key:
        key(true);
        key(false);
        break;
    case Action::Close:
    {
        SDL_Event e{};
        e.window.type = SDL_WINDOWEVENT;
        e.window.timestamp = now;
        e.window.windowID = windowId;
        e.window.event = SDL_WINDOWEVENT_CLOSE;
        SDL_PushEvent(&e);
        break;
    }
    case Action::Capture:
        // The frame is whole only after this pass's present.
        m_PendingCaptures.push_back(line.path);
        break;
    }
}

void PfInputScript::EndPass(PfGLDevice* device)
{
    for (const std::string& path : m_PendingCaptures)
        Capture(device, path);
    m_PendingCaptures.clear();
    if (m_Pulling)
    {
        m_Mix.assign(static_cast<size_t>(kFramesPerStep) * 2, 0);
        PfAudioDevice::Pull(m_Mix.data(), kFramesPerStep);
    }
    if (m_Wave)
    {
        const size_t bytes = m_Mix.size() * sizeof(int16_t);
        // The WAVE format is little-endian, as is every machine this runs on.
        if (std::fwrite(m_Mix.data(), 1, bytes, m_Wave) != bytes)
        {
            Report(0, "cannot write the WAVE file " + m_WavePath);
            CloseWave();
        }
        else
            m_WaveBytes += bytes;
    }
    ++m_Pass;
}

void PfInputScript::Capture(PfGLDevice* device, const std::string& path)
{
    PfGLSwapChain* chain = device ? device->GetSwapChain(0) : nullptr;
    PfGLTexture* back = chain ? chain->GetBackBuffer() : nullptr;
    if (!back || back->ReadBack() != D3D_OK || back->GetPitch() != back->GetWidth() * 4)
    {
        Report(0, "no presented frame to capture into " + path);
        return;
    }
    if (!PfPngWriter::Write(path, back->GetWidth(), back->GetHeight(), back->GetData()))
        Report(0, "cannot write the capture " + path);
}

void PfInputScript::MakeWaveHeader(uint32_t dataBytes, uint8_t h[44])
{
    auto put32 = [&](int at, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            h[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    auto put16 = [&](int at, uint16_t v)
    {
        h[at] = static_cast<uint8_t>(v);
        h[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    std::memcpy(h, "RIFF", 4);
    put32(4, 36 + dataBytes);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1); // PCM
    put16(22, 2);
    put32(24, 44100);
    put32(28, 44100 * 4);
    put16(32, 4);
    put16(34, 16);
    std::memcpy(h + 36, "data", 4);
    put32(40, dataBytes);
}

bool PfInputScript::OpenOutput()
{
    // The pull output replaces the sound device for the whole run, WAVE file or not: a device's own thread
    // would play the sound by the wall clock, and with it the ends that scenes wait for and the streams'
    // refills. The sound system keeps an output that is already open when it starts.
    if (!PfAudioDevice::Open(PfAudioDevice::kOutputPull))
    {
        Report(0, "cannot open the pull sound output");
        return false;
    }
    m_Pulling = true;
    if (m_WavePath.empty())
        return true;
    m_Wave = std::fopen(m_WavePath.c_str(), "wb");
    if (!m_Wave)
    {
        Report(0, "cannot create the WAVE file " + m_WavePath);
        return false;
    }
    uint8_t header[44];
    MakeWaveHeader(0, header);
    if (std::fwrite(header, 1, sizeof header, m_Wave) != sizeof header)
    {
        Report(0, "cannot write the WAVE file " + m_WavePath);
        CloseWave();
        return false;
    }
    m_WaveBytes = 0;
    return true;
}

void PfInputScript::CloseWave()
{
    if (!m_Wave)
        return;
    // The sizes are known only now; a run that stops early still leaves a playable file with them 0.
    const uint32_t bytes = static_cast<uint32_t>(std::min<uint64_t>(m_WaveBytes, 0xFFFFFFFFu - 36u) & ~3ull);
    uint8_t header[44];
    MakeWaveHeader(bytes, header);
    if (std::fseek(m_Wave, 0, SEEK_SET) != 0 || std::fwrite(header, 1, sizeof header, m_Wave) != sizeof header)
        Report(0, "cannot finish the WAVE file " + m_WavePath);
    std::fclose(m_Wave);
    m_Wave = nullptr;
}
