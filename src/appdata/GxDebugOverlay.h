#pragma once

#include <cstdint>
#include <string>
#include <vector>

class GxGDIFontMap;
class GxMoaWorker;

// The hold (wait) values of the user data that the overlay's status line shows.
struct GxDebugOverlayHolds
{
    int32_t m_WaitClick = 0;
    int32_t m_WaitTime = 0;
    int32_t m_EndOfMovie = 0;
    int32_t m_EndOfLayerActionAll = 0;
    int32_t m_EndOfLayerActionSeparate = 0;
    std::wstring m_LayerName;
    int32_t m_EndOfBGM = 0;
    int32_t m_EndOfBGV = 0;
    int32_t m_EndOfSE = 0;
    int32_t m_EndOfVoice = 0;
};

// Everything one overlay frame shows, gathered by the core on the main thread.
struct GxDebugOverlayState
{
    uint32_t m_ErrorCount = 0;
    uint32_t m_ResourceBytes = 0; // managed device resources
    GxDebugOverlayHolds m_Holds;
    const GxMoaWorker* m_Worker = nullptr; // the main script worker; null counts as not running
    bool m_ErrorStop = false;              // the runtime halted the script on an error
    std::vector<std::wstring> m_ConsoleLines;
};

// The developer's overlay: a status line (error state or holds and video memory), the main worker's call
// chain and the debug console's lines, each over a translucent box one font-map line high. The lines are
// built by pure functions, so they can be checked without a device; Draw puts them on the screen.
class GxDebugOverlay
{
public:
    static constexpr uint32_t kBoxColor = 0x80000050;
    static constexpr uint32_t kTextColor = 0xFFFFFFFF;
    static constexpr uint32_t kErrorColor = 0xFFFFFF00;
    static constexpr float kStatusBoxWidth = 800.0f;
    static constexpr uint32_t kBlendPreset = 2;
    static constexpr size_t kMaxStatusLength = 512;

    struct Line
    {
        std::wstring m_Text;
        uint32_t m_Color = kTextColor;
        float m_BoxWidth = 0.0f;
    };

    // The status line when no error has been logged: the resource total in MB plus 8.0 and the holds.
    static std::wstring FormatStatus(uint32_t resourceBytes, const GxDebugOverlayHolds& holds);
    // "Script:実行していません", or one line per frame: the callers from the outermost frame on, then the
    // running position (with "/エラー停止中" while halted on an error).
    static std::vector<std::wstring> FormatScript(const GxMoaWorker* worker, bool errorStop);
    // Every line of the overlay with its colour and box width, for a font-map line height h.
    static std::vector<Line> BuildLines(const GxDebugOverlayState& state, int32_t h);
    // Width of a text in the font map's fixed pitch: its width units x h / 2.
    static float TextWidth(const std::wstring& text, int32_t h);
    // Draws the lines from (x, y) down, h apart: every box, then every text over it, with the blend preset.
    static void Draw(const std::vector<Line>& lines, float x, float y, GxGDIFontMap* map);
};
