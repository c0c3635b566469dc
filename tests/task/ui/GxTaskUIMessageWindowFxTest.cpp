#include "WidgetTestSupport.h"

#include "../TaskSaveSupport.h"
#include "support/KvHeapPeak.h"
#include "task/ui/GxTaskUIMessageWindowFx.h"
#include "task/ui/GxTaskUITextWindowFx.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace
{
using Points = std::vector<std::pair<int32_t, int32_t>>;

// Where each body character of the page sits, relative to the text region.
Points BodyAt(const GxUIMessageLayout& layout)
{
    Points at;
    for (const auto& ch : layout.m_ShowChars)
        at.push_back({static_cast<int32_t>(ch.m_OffsetPos.x), static_cast<int32_t>(ch.m_OffsetPos.y)});
    return at;
}

GxTaskUIMessageWindowFx* Window(WidgetTree& t, int32_t regionWidth = 800)
{
    auto* w = new GxTaskUIMessageWindowFx(t.seq, nullptr, L"mes", 0);
    w->SetTextRegion(0, 0, regionWidth, 600);
    return w;
}
} // namespace

TEST(GxTaskUIMessageWindowFx, TypesAtTheTextSpeedAndStopsTheFrameAtAStop)
{
    WidgetTree t;
    auto* w = Window(t);
    w->SetMessage(L"あいうえおかきくけこさしすせそたちつてと", false, false, false, false);
    std::vector<int32_t> typed;
    for (int step = 1; step <= 60; ++step)
    {
        t.Step(0, 16667);
        if (step == 1 || step == 4 || step == 8 || step == 60)
            typed.push_back(w->GetShowCharCount());
    }
    EXPECT_EQ(typed, (std::vector<int32_t>{1, 2, 3, 17}));

    auto* stops = new GxTaskUIMessageWindowFx(t.seq, nullptr, L"stops", 0);
    stops->SetMessage(L"%cabc", false, false, false, false);
    t.Step(0, 16667);
    EXPECT_TRUE(t.manage.IsFrameStop()) << "a stop ends the frame's catch-up steps";
    EXPECT_EQ(stops->GetShowCharCount(), 0);

    w->SetMessage(L"abc%cdef", false, false, false, false);
    w->ShowAtOnce(false, false);
    EXPECT_TRUE(w->IsClickWaiting());
    EXPECT_EQ(w->GetShowCharCount(), 3);
    EXPECT_FALSE(w->ProceedClick()) << "characters remain";
    t.manage.SetFrameStop(false);
    t.Step(0, 16667);
    EXPECT_EQ(w->GetShowCharCount(), 4);
    w->SetMessage(L"ab%c", false, false, false, false);
    w->ShowAtOnce(false, false);
    EXPECT_TRUE(w->ProceedClick()) << "the click wait ended the message";
    w->SetMessage(L"ab", true, false, false, false);
    w->ShowAtOnce(false, false);
    EXPECT_TRUE(w->IsClickWaiting()) << "automatic click wait at the end";
    w->SetMessage(L"", false, false, false, false);
    EXPECT_TRUE(w->ShowNextChar());
    EXPECT_FALSE(w->IsClickWaiting());
}

TEST(GxTaskUIMessageWindowFx, TagsWaitColourAndEscape)
{
    WidgetTree t;
    auto* w = Window(t);
    const uint32_t white = 0xFFFFFFFF;
    for (auto [text, wait, colour, shown] : {std::tuple{L"%w(500)a", 500, white, L""},
                                             {L"%wa", 480, white, L""},
                                             {L"%w(-5)a", -5, white, L""},
                                             {L"%w(010)a", 8, white, L""},
                                             {L"%w(x)a", 0, white, L""},
                                             {L"%a(0x00FF0000)a", 60, 0xFFFF0000, L"a"},
                                             {L"%a(0xFF00)%aa", 60, white, L"a"},
                                             {L"%%", 60, white, L"%"}})
    {
        w->SetMessage(text, false, false, false, false);
        const int32_t before = w->GetLayout().m_WaitTimeLeft;
        w->ShowNextChar();
        std::wstring got;
        for (const auto& ch : w->GetLayout().m_ShowChars)
            got += static_cast<wchar_t>(ch.m_Char);
        EXPECT_EQ(w->GetLayout().m_WaitTimeLeft - before, wait) << text;
        EXPECT_EQ(w->GetLayout().m_TextColor, colour) << text;
        EXPECT_EQ(got, shown) << text;
    }
    w->SetMessage(L"%w(x)a", false, false, false, false);
    w->ShowAtOnce(true, false);
    EXPECT_EQ(w->GetShowCharCount(), 3) << "an unread number shows what follows as text: \"x)a\"";

    w->SetMessage(L"既読の文", false, true, false, false);
    EXPECT_EQ(w->GetShowCharCount(), 4) << "read before, fast show: whole at once";
}

TEST(GxTaskUIMessageWindowFx, RubiesAnchorAndCentreOverTheirBase)
{
    WidgetTree t;
    auto* w = Window(t);
    w->SetRubyFontIndex(0);
    w->SetMessage(L"ああ≪漢字／かんじ≫%r≪木／き≫≪林／はやし≫", false, false, false, false);
    w->ShowAtOnce(true, false);
    const GxUIMessageLayout& layout = w->GetLayout();
    ASSERT_EQ(layout.m_Rubies.size(), 3u) << "a ruby right after a ruby is a ruby again";
    EXPECT_EQ(layout.m_Rubies[0].m_RubyUnderCharWidth, 54);
    EXPECT_EQ(layout.m_Rubies[0].m_RubyCharWidth, 33);
    EXPECT_EQ(layout.m_Rubies[0].m_OffsetPos.x, 39.0f);
    std::vector<int32_t> xs;
    layout.ForEachRubyGlyph([&](wchar_t, int32_t x, int32_t) { xs.push_back(x); });
    EXPECT_EQ(std::vector<int32_t>(xs.begin(), xs.begin() + 3), (std::vector<int32_t>{60, 71, 82}));
    EXPECT_EQ(BodyAt(layout), (Points{{0, 0}, {27, 0}, {54, 0}, {81, 0}, {0, 35}, {27, 35}}))
        << "\"%r\" after the ruby is a tag, and readings are never body text";

    w->SetMessage(L"≪ab", false, false, false, false);
    w->ShowAtOnce(true, false);
    EXPECT_EQ(w->GetShowCharCount(), 2);
    EXPECT_TRUE(w->GetLayout().m_Rubies.empty());
}

TEST(GxTaskUIMessageWindowFx, KinsokuHangsClosingAndMovesOpeningPunctuation)
{
    WidgetTree t;
    auto* w = Window(t, 270);
    w->SetMessage(L"あああああああああ。い", false, false, false, false);
    w->ShowAtOnce(true, false);
    EXPECT_EQ(BodyAt(w->GetLayout())[9], (std::pair<int32_t, int32_t>{243, 0}));
    EXPECT_EQ(BodyAt(w->GetLayout())[10], (std::pair<int32_t, int32_t>{0, 35}));
    w->SetMessage(L"あああああああああ。い", false, false, true, false);
    w->ShowAtOnce(true, false);
    EXPECT_EQ(BodyAt(w->GetLayout())[9], (std::pair<int32_t, int32_t>{0, 35}));
    w->SetMessage(L"ああああああああ「い」", false, false, false, false);
    w->ShowAtOnce(true, false);
    EXPECT_EQ(BodyAt(w->GetLayout())[8], (std::pair<int32_t, int32_t>{0, 35}));
    w->SetMessage(L"ああああああああああああ", false, false, false, true);
    w->ShowAtOnce(true, false);
    EXPECT_EQ(BodyAt(w->GetLayout())[11], (std::pair<int32_t, int32_t>{297, 0})) << "no automatic new line";
}

TEST(GxTaskUIMessageWindowFx, ClosingPunctuationRunNeverBeginsALine)
{
    // "！」" at the edge: only "！" may hang, so "け" goes down with both rather than leave "」" alone
    // at the start of the next line. Both windows, every position of the run against the edge.
    WidgetTree t;
    auto* message = Window(t, 270);
    auto* text = new GxTaskUITextWindowFx(t.seq, nullptr, L"text", 0);
    text->SetTextRegion(0, 0, 270, 600);
    const std::wstring noStart = L"！」";
    for (int32_t lead = 0; lead < 12; ++lead)
    {
        const std::wstring line = std::wstring(static_cast<size_t>(lead), L'あ') + L"行け！」";
        message->SetMessage(line, false, false, false, false);
        message->ShowAtOnce(true, false);
        text->SetMessage(line, false, false);
        for (const GxUIMessageLayout* layout : {&message->GetLayout(), &text->GetLayout()})
            for (const auto& ch : layout->m_ShowChars)
                EXPECT_FALSE(ch.m_OffsetPos.x == 0.0f && ch.m_OffsetPos.y > 0.0f &&
                             noStart.find(static_cast<wchar_t>(ch.m_Char)) != std::wstring::npos)
                    << "lead " << lead << " mode " << static_cast<int>(layout->m_Mode);
    }
    message->SetMessage(L"ああああああああけ！」", false, false, false, false);
    message->ShowAtOnce(true, false);
    EXPECT_EQ(BodyAt(message->GetLayout())[8], (std::pair<int32_t, int32_t>{0, 35})) << "け goes down";
    EXPECT_EQ(BodyAt(message->GetLayout())[10], (std::pair<int32_t, int32_t>{54, 35}));
    message->SetMessage(L"あああああああけ！」", false, false, false, false);
    message->ShowAtOnce(true, false);
    EXPECT_EQ(BodyAt(message->GetLayout())[9], (std::pair<int32_t, int32_t>{243, 0})) << "a run that fits hangs";
    message->SetMessage(L"ああああああああけ！」", false, false, true, false);
    message->ShowAtOnce(true, false);
    EXPECT_EQ(BodyAt(message->GetLayout())[8], (std::pair<int32_t, int32_t>{216, 0})) << "kinsoku ignored";

    // The sample game's line in its 820-wide message window, where "」" once stood alone.
    auto* sample = Window(t, 820);
    sample->SetMessage(L"「Tキーで玉座へ戻る。侵入者をすべて倒せば我らの勝ちだ。行け！」", false, false, false, false);
    sample->ShowAtOnce(true, false);
    const Points at = BodyAt(sample->GetLayout());
    ASSERT_EQ(at.size(), 32u);
    EXPECT_EQ(at[29], (std::pair<int32_t, int32_t>{0, 35})) << "け starts the second line";
    EXPECT_EQ(at[31], (std::pair<int32_t, int32_t>{54, 35}));
}

TEST(GxTaskUIMessageWindowFx, PageSavedMidTypingGoesOnIdentically)
{
    for (ContentForm form : {ContentForm::Binary, ContentForm::Text})
    {
        WidgetTree t;
        auto* a = Window(t);
        const std::wstring text = L"前の頁%p≪漢字／かんじ≫%a(0x0000FF)青い😀字%cあと";
        a->SetMessage(text, true, false, false, false);
        for (int i = 0; i < 9; ++i)
            a->ShowNextChar();
        const auto bytes = SaveRecord(form, [&](GxContentWriterBase* w) { return a->Save(w); });
        auto* b = new GxTaskUIMessageWindowFx(t.seq, nullptr, L"loaded", 0);
        auto reader = OpenRecord(form, bytes);
        ASSERT_TRUE(b->Load(reader.get()));
        for (auto* w : {a, b})
            w->ShowAtOnce(true, false);
        EXPECT_EQ(BodyAt(b->GetLayout()), BodyAt(a->GetLayout()));
        ASSERT_EQ(b->GetShowCharCount(), a->GetShowCharCount());
        for (int i = 0; i < a->GetShowCharCount(); ++i)
        {
            EXPECT_EQ(b->GetLayout().m_ShowChars[i].m_Char, a->GetLayout().m_ShowChars[i].m_Char);
            EXPECT_EQ(b->GetLayout().m_ShowChars[i].m_Color, a->GetLayout().m_ShowChars[i].m_Color);
        }
        EXPECT_EQ(b->GetLayout().m_Rubies.size(), 1u);
        EXPECT_EQ(b->GetTextLength(), a->GetTextLength());
    }
}

// A saved page whose ruby count is raised to the most a page may hold, with as many zero bytes after the
// record: the count fits at one byte a ruby but not at a ruby's four values, and is refused before anything
// is set aside for it.
TEST(GxTaskUIMessageWindowFx, RaisedRubyCountCostsNoMoreThanThePage)
{
    WidgetTree t;
    auto* a = Window(t);
    a->SetMessage(L"≪漢字／かんじ≫です", true, false, false, false);
    a->ShowAtOnce(true, false);
    const auto saved = SaveRecord(ContentForm::Text, [&](GxContentWriterBase* w) { return a->Save(w); });
    std::string text(saved.begin(), saved.end());
    const std::string list = "\tm_Rubies\t\t1\t";
    const size_t at = text.find(list);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, list.size(), "\tm_Rubies\t\t65536\t");
    text.append(65536, '\0');
    const std::vector<uint8_t> bytes(text.begin(), text.end());

    auto* b = new GxTaskUIMessageWindowFx(t.seq, nullptr, L"loaded", 0);
    auto reader = OpenRecord(ContentForm::Text, bytes);
    KvHeapPeak peak;
    EXPECT_FALSE(b->Load(reader.get()));
    EXPECT_LT(peak.Bytes(), 512u * 1024);
    EXPECT_TRUE(b->GetLayout().m_Rubies.empty());
}

TEST(GxTaskUIMessageWindowFx, ProcessPositionAndFontIndicesAreKeptInRange)
{
    WidgetTree t;
    auto* w = Window(t);
    w->SetMessage(L"abc", false, false, false, false);
    w->SetProcessPos(-7);
    EXPECT_EQ(w->GetProcessPos(), 0);
    w->SetProcessPos(99);
    EXPECT_EQ(w->GetRemainCharCount(), 0);
    w->SetTextFontIndex(6);
    w->SetRubyFontIndex(-1);
    EXPECT_EQ(w->GetLayout().m_TextFontIndex, 2);
    EXPECT_EQ(w->GetLayout().m_RubyFontIndex, 0);
}

TEST(GxTaskUIMessageWindowFx, AMessageEndsAtItsFirstNul)
{
    WidgetTree t;
    auto* w = Window(t);
    // Shown at once (as text already read), then typed: both stop at the NUL and a click finishes it.
    const std::wstring withNul(L"ab\0cd", 5);
    w->SetMessage(withNul, true, false, false, false);
    w->ShowAtOnce(false, false);
    EXPECT_EQ(w->GetShowCharCount(), 2);
    EXPECT_EQ(w->GetRemainCharCount(), 0);
    EXPECT_TRUE(w->ProceedClick());
    w->SetMessage(withNul, true, false, false, false);
    for (int step = 0; step < 30; ++step)
        t.Step(0, 16667);
    EXPECT_EQ(w->GetShowCharCount(), 2);
    EXPECT_TRUE(w->ProceedClick());

    auto* text = new GxTaskUITextWindowFx(t.seq);
    text->SetTextRegion(0, 0, 800, 600);
    text->SetMessage(std::wstring(L"x\0yz", 4), false, false);
    EXPECT_EQ(text->GetShowCharCount(), 1);
    EXPECT_EQ(text->GetRemainCharCount(), 0);
}

TEST(GxTaskUITextWindowFx, LaysOutAtOnceWithoutWaitsAndRubyLinesSetThePitch)
{
    WidgetTree t;
    auto* w = new GxTaskUITextWindowFx(t.seq);
    w->SetTextRegion(0, 0, 800, 600);
    w->DisableRubyLine();
    w->SetText(L"ab%c%w(500)c%rd");
    EXPECT_EQ(w->GetShowCharCount(), 4);
    EXPECT_EQ(w->GetText(), L"ab%c%w(500)c%rd");
    EXPECT_EQ(BodyAt(w->GetLayout()), (Points{{0, 0}, {11, 0}, {22, 0}, {0, 24}})) << "no margin, pitch 23 + 1";
    w->EnableRubyLine();
    w->SetText(L"a%rb");
    EXPECT_EQ(BodyAt(w->GetLayout())[1].second, 35);
}
