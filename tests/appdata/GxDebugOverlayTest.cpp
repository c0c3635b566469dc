#include "appdata/GxDebugOverlay.h"

#include "graphics/GraphicsTestSupport.h"
#include "graphics/GxGDIFontMap.h"
#include "script/GxMoa.h"
#include "script/GxMoaWorker.h"

#include <gtest/gtest.h>

namespace
{

// A worker whose stack holds the given frames, outermost first: script, line index, block type.
struct FrameSpec
{
    const wchar_t* m_Script;
    int32_t m_Line;
    int32_t m_Block;
};

void Push(GxMoaWorker& worker, std::initializer_list<FrameSpec> frames)
{
    for (const FrameSpec& f : frames)
    {
        auto frame = std::make_unique<GxMoaExecStackElement>();
        frame->m_Pos = GxMoaScriptPos(f.m_Line, 0, f.m_Script);
        frame->m_BlockType = f.m_Block;
        worker.m_ExecStack.push_back(std::move(frame));
    }
}

std::vector<std::wstring> Texts(const std::vector<GxDebugOverlay::Line>& lines)
{
    std::vector<std::wstring> out;
    for (const auto& line : lines)
        out.push_back(line.m_Text);
    return out;
}

} // namespace

TEST(GxDebugOverlay, LinesForEachStateOfTheLogAndTheScript)
{
    GxMoa moa;
    GxMoaWorker idle(&moa), deep(&moa);
    Push(deep, {{L"main", 4, 1}, {L"sub", 9, 1}, {L"sub", 12, 5}});
    GxDebugOverlayHolds holds;
    holds.m_WaitClick = 15;
    holds.m_EndOfLayerActionSeparate = 3;
    holds.m_LayerName = L"立ち絵";
    holds.m_EndOfVoice = 1;

    struct Case
    {
        const char* m_Name;
        GxDebugOverlayState m_State;
        std::vector<std::wstring> m_Expected;
        uint32_t m_StatusColor;
    };
    const Case cases[] = {
        {"no error, no hold, idle",
         {0, 0, {}, &idle, false, {}},
         {L"※エラー無し/VRAM 8.0MB/Clk(0) Time(0) Mov(0) AA(0) AS(0:) BGM(0) BGV(0) SE(0) VO(0)",
          L"Script:実行していません"},
         0xFFFFFFFF},
        {"holds, no worker",
         {0, 3 * 1048576 + 524288, holds, nullptr, false, {}},
         {L"※エラー無し/VRAM 11.5MB/Clk(15) Time(0) Mov(0) AA(0) AS(3:立ち絵) BGM(0) BGV(0) SE(0) VO(1)",
          L"Script:実行していません"},
         0xFFFFFFFF},
        {"an error, a worker two calls deep",
         {2, 0, holds, &deep, false, {L"first\n", L"second\r\n"}},
         {L"※エラー発生。error.logを確認してください", L"呼出し元:main/Line=5/通常ブロック",
          L"呼出し元:sub/Line=10/通常ブロック", L"実行位置:sub/Line=13/WHILEブロック", L"first", L"second"},
         0xFFFFFF00},
        {"halted on an error",
         {1, 0, {}, &deep, true, {}},
         {L"※エラー発生。error.logを確認してください", L"呼出し元:main/Line=5/通常ブロック",
          L"呼出し元:sub/Line=10/通常ブロック", L"実行位置:sub/Line=13/WHILEブロック/エラー停止中"},
         0xFFFFFF00},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.m_Name);
        const auto lines = GxDebugOverlay::BuildLines(c.m_State, 10);
        EXPECT_EQ(Texts(lines), c.m_Expected);
        EXPECT_EQ(lines[0].m_Color, c.m_StatusColor);
        EXPECT_EQ(lines[0].m_BoxWidth, 800.0f);
        for (size_t i = 1; i < lines.size(); ++i)
            EXPECT_EQ(lines[i].m_Color, 0xFFFFFFFFu);
    }

    // Boxes: callers and the idle line 24 h; the running position hugs its text; console lines at least 24 h.
    const auto lines = GxDebugOverlay::BuildLines({0, 0, {}, &deep, false, {L"short", std::wstring(60, L'あ')}}, 10);
    EXPECT_EQ(lines[1].m_BoxWidth, 240.0f);
    EXPECT_EQ(lines[3].m_BoxWidth, GxString::GetWidthUnits(lines[3].m_Text) * 5.0f);
    EXPECT_EQ(lines[4].m_BoxWidth, 240.0f);
    EXPECT_EQ(lines[5].m_BoxWidth, 600.0f);
}

using GxDebugOverlayDraw = KvGraphicsFixture;

TEST_F(GxDebugOverlayDraw, BoxesLieWhereTheLinesAre)
{
    GxMoa moa;
    GxMoaWorker worker(&moa);
    Push(worker, {{L"main", 0, 1}});
    GxGDIFontMap map;
    map.SetFont(16, nullptr);
    const auto lines = GxDebugOverlay::BuildLines({0, 0, {}, &worker, false, {L"log line"}}, 16);
    ASSERT_EQ(lines.size(), 3u);

    ASSERT_TRUE(GxGraphics::Clear(D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0));
    ASSERT_TRUE(GxGraphics::BeginScene());
    GxGraphics::ResetRenderStates();
    GxDebugOverlay::Draw(lines, 10, 20, &map);
    ASSERT_TRUE(GxGraphics::EndScene());

    // The box is 0x80000050 over black, blue about 0x28; text is white; outside stays black. A column of a
    // line reads 'b' when most of its pixels are box-coloured (glyphs may cover some), '.' when all are black.
    const std::vector<uint32_t> screen = Screen(1024, 768);
    auto column = [&screen](int x, int line)
    {
        int box = 0, black = 0;
        for (int y = 20 + 16 * line; y < 36 + 16 * line; ++y)
        {
            box += ChannelDistance(screen[(size_t)y * 1024 + x], 0xFF000028) <= 2 ? 1 : 0;
            black += (screen[(size_t)y * 1024 + x] & 0xFFFFFF) == 0 ? 1 : 0;
        }
        return box >= 8 ? 'b' : black == 16 ? '.' : '?';
    };
    const int current = 10 + (int)lines[1].m_BoxWidth;
    std::string probes;
    // Status box 800 wide, the position box as wide as its text, the console box 24 h, nothing below or left.
    for (auto [x, line] : {std::pair{808, 0},
                           {812, 0},
                           {current - 2, 1},
                           {current + 2, 1},
                           {10 + 24 * 16 - 2, 2},
                           {10 + 24 * 16 + 2, 2},
                           {100, 3},
                           {8, 0}})
        probes += column(x, line);
    EXPECT_EQ(probes, "b.b.b...");
    size_t white = 0;
    for (int x = 10; x < 300; ++x)
        for (int y = 20; y < 36; ++y)
            white += (screen[(size_t)y * 1024 + x] & 0xFFFFFF) == 0xFFFFFF ? 1 : 0;
    EXPECT_GT(white, 20u) << "the status text is drawn";
}
