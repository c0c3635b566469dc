// Progressive text: steps of n characters, line breaks and tags that cost nothing, wrapping at the right
// edge, colour tags, and fonts that are missing.
#include "graphics/GxTextReveal.h"

#include "graphics/GxImageFontParam.h"
#include "graphics/GxPackedFont.h"

#include "KvExpect.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace
{

struct Drawn
{
    wchar_t c;
    int32_t x, y;
    uint32_t color;
};

class RecordingText : public GxTextReveal
{
public:
    RecordingText() { SetLayoutRect(0, 0, 512, 512); }
    std::vector<Drawn> drawn;

protected:
    void DrawRevealedChar(wchar_t c, int32_t x, int32_t y) override { drawn.push_back({c, x, y, GetCurrentColor()}); }
};

} // namespace

TEST(GxTextReveal, StepRevealsNCharactersAndReturnsWhatIsLeft)
{
    RecordingText t;
    t.SetText(L"abcdef");
    KvExpectEq<size_t>({{t.Step(3), 3}, {t.drawn.size(), 3}, {t.Step(0), 3}, {t.drawn.size(), 3}});
    KvExpectEq<size_t>({{t.Step(3), 0}, {t.drawn.size(), 6}, {(size_t)t.drawn.back().x, 40}, {t.Step(3), 0}});
}

TEST(GxTextReveal, LineBreaksAndTagsDoNotCountTowardsTheStep)
{
    RecordingText t;
    t.SetSpacing(2, 4);
    t.SetText(L"ab\ncd\u00013\u0001ef");
    EXPECT_EQ(t.StepTagged(3), 6u); // a, b, line break, c
    ASSERT_EQ(t.drawn.size(), 3u);
    // c at the start of the next line, line spacing + height down.
    KvExpectEq<uint32_t>({{t.drawn[2].c, L'c'}, {(uint32_t)t.drawn[2].x, 0}, {(uint32_t)t.drawn[2].y, 20}});
    EXPECT_EQ(t.StepTagged(2), 1u); // d, tag, e
    ASSERT_EQ(t.drawn.size(), 5u);
    KvExpectEq<uint32_t>({{t.drawn[3].color, 0xFFFFFFFFu},
                          {t.drawn[4].c, L'e'},
                          {(uint32_t)t.drawn[4].x, 20},
                          {t.drawn[4].color, 0xFFFF0000u}});
}

TEST(GxTextReveal, ThirteenthHalfWidthCharacterWrapsAtRightEdge100)
{
    RecordingText t;
    t.SetLayoutRect(4, 10, 100, 200);
    t.SetPen(0, 10);
    t.SetText(std::wstring(13, L'x'));
    t.DrawAll();
    ASSERT_EQ(t.drawn.size(), 13u);
    KvExpectEq<int32_t>({{t.drawn[11].x, 88}, {t.drawn[11].y, 10}, {t.drawn[12].x, 4}, {t.drawn[12].y, 26}});
    // Full-width characters measure the whole size.
    RecordingText k;
    k.SetLayoutRect(0, 0, 40, 100);
    k.SetText(L"あいう");
    k.DrawAll();
    ASSERT_EQ(k.drawn.size(), 3u);
    KvExpectEq<int32_t>({{k.drawn[1].x, 16}, {k.drawn[2].x, 0}, {k.drawn[2].y, 16}});
}

TEST(GxTextReveal, ColourTagsSwitchAndReturnToTheDefaultOnlyInTheTaggedReveal)
{
    RecordingText t;
    t.SetColor(0xFF123456);
    t.SetText(L"a\u00013\u0001b\u0001-\u0001c\u0001x2\u0001d");
    t.DrawAllTagged();
    ASSERT_EQ(t.drawn.size(), 4u);
    // Unknown characters inside a tag are skipped: "x2" sets colour 2.
    KvExpectEq<uint32_t>({{t.drawn[0].color, 0xFF123456u},
                          {t.drawn[1].color, 0xFFFF0000u},
                          {t.drawn[2].color, 0xFF123456u},
                          {t.drawn[3].color, 0xFF00FF00u},
                          {(uint32_t)t.drawn[3].x, 24}});
    // The untagged reveal draws tag characters as they are.
    RecordingText u;
    u.SetText(L"a\u00013\u0001b");
    u.DrawAll();
    ASSERT_EQ(u.drawn.size(), 5u);
    KvExpectEq<uint32_t>({{u.drawn[1].c, 1}, {u.drawn[4].color, 0xFFFFFFFFu}});
}

TEST(GxTextReveal, TagHandlerCannotPushTheIndexPastTheEnd)
{
    RecordingText t;
    t.SetTagCallback([](GxTextReveal*, const wchar_t*, wchar_t, uint32_t) -> uint32_t { return 1000; });
    t.SetText(L"ab\u0001cd");
    KvExpectEq<size_t>({{t.StepTagged(10), 0}, {t.GetIndex(), 5}, {t.drawn.size(), 2}});
    // An unterminated tag ends the text.
    RecordingText u;
    u.SetText(L"a\u00013");
    KvExpectEq<size_t>({{u.StepTagged(5), 0}, {u.GetIndex(), 3}});
}

TEST(GxTextReveal, MissingImageOrPackedFontMeasuresZeroAndDrawsNothing)
{
    RecordingText t;
    t.UseImageFont(nullptr);
    t.SetText(L"abc");
    EXPECT_EQ(t.Step(2), 1u);
    EXPECT_TRUE(t.drawn.empty());
    int32_t x = -1, y = -1;
    t.GetPen(&x, &y);
    EXPECT_EQ(x, 0);
    t.UsePackedFont(nullptr, 0);
    t.SetText(L"abc");
    t.DrawAll();
    EXPECT_TRUE(t.drawn.empty());
    EXPECT_EQ(t.GetIndex(), 3u);
}

TEST(GxTextReveal, ImageFontMeasuresItsCellsByTheSingleByteCode)
{
    GxImageFontParam font;
    std::tie(font.m_FirstCode, font.m_LastCode, font.m_CellWidth, font.m_CellHeight, font.m_Columns) =
        std::tuple(32, 127, 10, 12, 16);
    RecordingText t;
    t.UseImageFont(&font);
    t.SetText(L"ab\nc");
    t.DrawAll();
    ASSERT_EQ(t.drawn.size(), 3u);
    KvExpectEq<int32_t>({{t.drawn[1].x, 10}, {t.drawn[2].y, 12}});
    uint32_t column = 9, row = 9;
    font.GetCellPos('A', column, row);
    KvExpectEq<uint32_t>({{column, 1}, {row, 2}});
    font.GetCellPos(20, column, row); // below the first code: cell 0
    EXPECT_EQ(column + row, 0u);
}

TEST(GxTextReveal, SetTextKeepsThePenAndIndexCanBeSet)
{
    RecordingText t;
    t.SetText(L"ab");
    t.DrawAll();
    t.SetText(L"c");
    t.DrawAll();
    ASSERT_EQ(t.drawn.size(), 3u);
    EXPECT_EQ(t.drawn[2].x, 16);
    t.SetIndex(0);
    t.AppendText(L"d");
    EXPECT_EQ(t.Step(1), 1u);
    EXPECT_EQ(t.drawn.back().c, L'c');
    t.ClearText();
    EXPECT_EQ(t.Step(1), 0u);
}
