// The recorded-input player for headless runs. When the environment variable KV_INPUT_SCRIPT names a
// script, the program plays it instead of waiting for a person: each line is one action at an update
// step, pushed into SDL's event queue at the start of that main-loop pass, so it takes the same path
// as real input (translation to window messages, mouse mapping, the task tree's listeners).
//
// Under a script the run is deterministic: the frame clock is virtual (each main-loop pass is one update
// step of 1/60 s, with no sleeping), the sound system's millisecond clock follows it, and the sound goes
// to the pull output, which mixes one step of samples (735 frames) per pass: into the WAVE file when the
// script names one, else nowhere.
//
// Script lines (blank lines and lines starting with '#' are skipped; words separated by blanks):
//   <step> move <x> <y>                  pointer to virtual-screen (1024 x 768) coordinates
//   <step> press [<x> <y>] [left|right|middle]
//   <step> release [<x> <y>] [left|right|middle]
//   <step> click <x> <y> [left|right|middle]   move, press and release in the same pass
//   <step> wheel <notches>               positive turns away from the player
//   <step> key <NAME>                    key down and up; NAME is a virtual-key name (ESCAPE, RETURN,
//   <step> keydown <NAME>                SPACE, F1..F12, A..Z, 0..9, LEFT, UP, ...; "VK_" may lead)
//   <step> keyup <NAME>
//   <step> close                         the window's close button
//   <step> capture <file.png>            the presented frame, written after the pass's present
//   wave <file.wav>                      (no step) the mixed sound of the whole run
// <step> is an absolute pass number (0 is the first pass of the main loop) or +n, n passes after the
// previous action line. Lines of one step run in file order. A malformed line is reported and skipped.
#pragma once

#include "platform/PfD3DTypes.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class PfGLDevice;

class PfInputScript
{
public:
    enum class Action
    {
        Move,
        Press,
        Release,
        Click,
        Wheel,
        KeyDown,
        KeyUp,
        Key,
        Close,
        Capture,
    };
    struct Line
    {
        uint64_t step = 0;
        Action action = Action::Move;
        bool hasPoint = false;
        int32_t x = 0;
        int32_t y = 0;
        uint8_t button = 1; // SDL_BUTTON_LEFT, _MIDDLE (2), _RIGHT (3)
        int32_t value = 0;  // wheel notches, or the key's SDL scancode
        std::string path;   // capture file
        int32_t sourceLine = 0;
    };

    // The update rate the virtual clock steps at, and the sound frames mixed per step.
    static constexpr uint32_t kStepsPerSecond = 60;
    static constexpr uint32_t kFramesPerStep = 44100 / kStepsPerSecond;

    PfInputScript();
    ~PfInputScript();
    PfInputScript(const PfInputScript&) = delete;
    PfInputScript& operator=(const PfInputScript&) = delete;

    // Reads the script named by KV_INPUT_SCRIPT, if any, makes it the active one, and opens the pull
    // output and the WAVE file it names (before the sound system starts, which then keeps it). False when
    // the variable is unset or the file cannot be read; problems are in TakeMessages.
    static bool StartFromEnvironment();
    // Flushes the WAVE file and forgets the active script.
    static void Stop();
    // The running script, or null when none plays.
    static PfInputScript* GetActive();

    // Parses script text; bad lines are reported and skipped. Lines come out ordered by step.
    bool Parse(const std::string& text);
    const std::vector<Line>& GetLines() const { return m_Lines; }
    // Window coordinates of the last pointer action; the window reports these as the cursor position while
    // a script plays, since pushed events do not move the system's pointer.
    void GetPointer(int32_t& x, int32_t& y) const
    {
        x = m_PointerX;
        y = m_PointerY;
    }
    const std::string& GetWavePath() const { return m_WavePath; }

    // Virtual time of the current pass: pass n starts at n steps after a fixed non-zero epoch.
    uint64_t GetTimeUs() const;
    uint64_t GetPass() const { return m_Pass; }
    // Called at the start of every main-loop pass: pushes the events of the lines due at this pass.
    // window is the game window (its size maps virtual-screen points to window points).
    void BeginPass(PfWindowHandle window);
    // Called after the pass's present: writes due captures from the device's back buffer, mixes one
    // step of sound (into the WAVE file, if any), and moves the clock on to the next pass.
    void EndPass(PfGLDevice* device);
    // True once every line has been played.
    bool IsFinished() const { return m_Next >= m_Lines.size(); }

    // Messages for the log (problems in the script, files that could not be written), taken once.
    std::vector<std::string> TakeMessages();

    // Names of virtual keys to SDL scancodes; SDL_SCANCODE_UNKNOWN (0) for an unknown name.
    static int32_t ScancodeFromKeyName(const std::string& name);
    // Virtual-screen point to window point, for a window of the given client size (the picture is
    // fitted and centred as the swap chain shows it).
    static void MapToWindow(int32_t clientWidth, int32_t clientHeight, int32_t x, int32_t y, int32_t& wx, int32_t& wy);

    // The WAVE file's 44-byte header for a data size in bytes (44,100 Hz, 16-bit stereo).
    static void MakeWaveHeader(uint32_t dataBytes, uint8_t header[44]);

private:
    void Report(int32_t sourceLine, const std::string& text);
    void Push(PfWindowHandle window, const Line& line);
    // The pull output, and the WAVE file when the script names one.
    bool OpenOutput();
    void CloseWave();
    void Capture(PfGLDevice* device, const std::string& path);

    std::vector<Line> m_Lines;
    size_t m_Next = 0;
    uint64_t m_Pass = 0;
    std::string m_WavePath;
    bool m_Pulling = false; // the pull output opened by this script, mixed every pass
    FILE* m_Wave = nullptr;
    uint64_t m_WaveBytes = 0;
    std::vector<int16_t> m_Mix;
    std::vector<std::string> m_PendingCaptures;
    std::vector<std::string> m_Messages;
    int32_t m_PointerX = 0; // window coordinates of the last pointer action
    int32_t m_PointerY = 0;
    uint32_t m_Buttons = 0; // SDL button mask held by the script
};
