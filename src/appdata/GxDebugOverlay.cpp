#include "appdata/GxDebugOverlay.h"

#include "core/GxFRect.h"
#include "core/GxString.h"
#include "core/GxVector2.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxGraphics.h"
#include "script/GxMoaExecStackElement.h"
#include "script/GxMoaWorker.h"

#include <algorithm>

std::wstring GxDebugOverlay::FormatStatus(uint32_t resourceBytes, const GxDebugOverlayHolds& holds)
{
    // The 8.0 stands for the frame buffers, which the resource registry does not count.
    const double megabytes = static_cast<double>(resourceBytes) / 1048576.0 + 8.0;
    std::wstring text = GxString::Format(
        L"※エラー無し/VRAM %3.1fMB/Clk(%d) Time(%d) Mov(%d) AA(%d) AS(%d:%ls) BGM(%d) BGV(%d) SE(%d) VO(%d)", megabytes,
        holds.m_WaitClick, holds.m_WaitTime, holds.m_EndOfMovie, holds.m_EndOfLayerActionAll,
        holds.m_EndOfLayerActionSeparate, holds.m_LayerName.c_str(), holds.m_EndOfBGM, holds.m_EndOfBGV,
        holds.m_EndOfSE, holds.m_EndOfVoice);
    if (text.size() > kMaxStatusLength)
        text.resize(kMaxStatusLength);
    return text;
}

std::vector<std::wstring> GxDebugOverlay::FormatScript(const GxMoaWorker* worker, bool errorStop)
{
    std::vector<std::wstring> lines;
    if (!worker || !worker->IsRunning())
    {
        lines.emplace_back(L"Script:実行していません");
        return lines;
    }
    const GxMoaExecStack& stack = worker->m_ExecStack;
    for (size_t i = 0; i < stack.size(); ++i)
    {
        const GxMoaExecStackElement* frame = stack[i].get();
        const bool top = i + 1 == stack.size();
        std::wstring line = GxString::Format(
            top ? L"実行位置:%ls/Line=%d/%ls" : L"呼出し元:%ls/Line=%d/%ls", worker->GetPositionText(frame).c_str(),
            worker->GetCurrentOpcodePos(frame) + 1, GxMoaExecStackElement::BlockTypeLabel(frame->m_BlockType));
        if (top && errorStop)
            line += L"/エラー停止中";
        lines.push_back(std::move(line));
    }
    return lines;
}

float GxDebugOverlay::TextWidth(const std::wstring& text, int32_t h)
{
    return static_cast<float>(GxString::GetWidthUnits(text)) * static_cast<float>(h) / 2.0f;
}

std::vector<GxDebugOverlay::Line> GxDebugOverlay::BuildLines(const GxDebugOverlayState& state, int32_t h)
{
    std::vector<Line> lines;
    if (state.m_ErrorCount > 0)
        lines.push_back({L"※エラー発生。error.logを確認してください", kErrorColor, kStatusBoxWidth});
    else
        lines.push_back({FormatStatus(state.m_ResourceBytes, state.m_Holds), kTextColor, kStatusBoxWidth});

    const float wide = 24.0f * static_cast<float>(h);
    std::vector<std::wstring> script = FormatScript(state.m_Worker, state.m_ErrorStop);
    const bool running = state.m_Worker && state.m_Worker->IsRunning();
    for (size_t i = 0; i < script.size(); ++i)
    {
        // Only the running position's box hugs its text; the callers and the idle line get the wide box.
        const bool current = running && i + 1 == script.size();
        const float width = current ? TextWidth(script[i], h) : wide;
        lines.push_back({std::move(script[i]), kTextColor, width});
    }

    for (const std::wstring& console : state.m_ConsoleLines)
    {
        // Log lines end in a line break, which the font map would turn into a second line.
        std::wstring text = console;
        while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r'))
            text.pop_back();
        const float width = std::max(wide, TextWidth(text, h));
        lines.push_back({std::move(text), kTextColor, width});
    }
    return lines;
}

void GxDebugOverlay::Draw(const std::vector<Line>& lines, float x, float y, GxGDIFontMap* map)
{
    if (!map)
        return;
    const float h = static_cast<float>(map->GetSize());
    const uint32_t box[5] = {kBoxColor, kBoxColor, kBoxColor, kBoxColor, kBoxColor};
    const uint32_t none[5] = {0, 0, 0, 0, 0};
    // All boxes first, then all texts: every text still lies over its box, and the two passes go out as
    // two batches instead of two draw calls per line.
    float top = y;
    for (const Line& line : lines)
    {
        GxGraphics::FillRect(GxFRect{x, top, x + line.m_BoxWidth, top + h}, box, none, kBlendPreset);
        top += h;
    }
    for (const Line& line : lines)
    {
        GxGraphics::DrawText(map, line.m_Text.c_str(), x, y, GxVector2(1.0f, 1.0f), line.m_Color, 0, kBlendPreset);
        y += h;
    }
}
