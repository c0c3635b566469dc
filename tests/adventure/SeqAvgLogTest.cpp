// The backlog's paging over logs of 3 and 12 entries and its line text.
#include "adventure/SeqAvgLog.h"
#include "appdata/GxMessageLogElement.h"

#include <gtest/gtest.h>

TEST(SeqAvgLog, PagingClampsToTheNewestPage)
{
    // Three entries: one page, every button does nothing.
    EXPECT_EQ(SeqAvgLog::LastTop(3), 0);
    for (const wchar_t* b : {L"btn_b", L"btn_bb", L"btn_f", L"btn_ff"})
        EXPECT_EQ(SeqAvgLog::Scroll(0, b, 3), 0) << b;
    // Twelve: entering shows 7 to 11; bb twice gives 3 then 0; ff from 5 gives 7, not 9.
    const struct
    {
        int32_t top;
        const wchar_t* button;
        int32_t want;
    } cases[] = {{7, L"btn_bb", 3}, {3, L"btn_bb", 0}, {0, L"btn_bb", 0}, {5, L"btn_ff", 7}, {7, L"btn_ff", 7},
                 {7, L"btn_f", 7},  {6, L"btn_f", 7},  {1, L"btn_b", 0},  {0, L"btn_b", 0},  {4, L"btn_back", 4}};
    EXPECT_EQ(SeqAvgLog::LastTop(12), 7);
    for (const auto& c : cases)
        EXPECT_EQ(SeqAvgLog::Scroll(c.top, c.button, 12), c.want) << c.top << " " << c.button;
}

TEST(SeqAvgLog, LineTextPutsTheNameOnItsOwnLine)
{
    GxMessageLogElement e;
    e.m_Message = L"こんにちは";
    EXPECT_EQ(SeqAvgLog::LineText(e), L"こんにちは");
    e.m_Name = L"リリス";
    EXPECT_EQ(SeqAvgLog::LineText(e), L"【リリス】%rこんにちは");
}
