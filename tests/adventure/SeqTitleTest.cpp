// The title music: started with its record, left running on a return, faded out when none is named.
#include "adventure/SeqTitle.h"
#include "appdata/GxSoundControl.h"
#include "appdata/GxUserConfig.h"
#include "appdata/GxUserData.h"

#include <gtest/gtest.h>

TEST(SeqTitle, TitleMusicKeptOnReturnAndFadedWhenUnnamed)
{
    GxUserConfig config;
    GxUserData data(nullptr);
    GxSoundControl::SetTargets(&config, &data);
    SeqTitle::PlayTitleMusic(L"bgms/", L"title.ogg", 1234);
    EXPECT_EQ(data.m_BGMRecord.m_FileName, L"bgms/title.ogg");
    EXPECT_EQ(data.m_BGMRecord.m_LoopPosTime, 1234u);
    EXPECT_EQ(data.m_BGMRecord.m_FadeInTime, 500);
    EXPECT_EQ(data.m_BGMRecord.m_Loop, 0);
    // Back at the title: the record (and the music it describes) is left alone.
    data.m_BGMRecord.m_StartSeekPosTime = 777;
    SeqTitle::PlayTitleMusic(L"bgms/", L"title.ogg", 1234);
    EXPECT_EQ(data.m_BGMRecord.m_StartSeekPosTime, 777u);
    // Another name replaces it; no name empties the record.
    SeqTitle::PlayTitleMusic(L"bgms/", L"other.ogg", 0);
    EXPECT_EQ(data.m_BGMRecord.m_FileName, L"bgms/other.ogg");
    SeqTitle::PlayTitleMusic(L"bgms/", L"", 0);
    EXPECT_TRUE(data.m_BGMRecord.IsEmpty());
    GxSoundControl::SetTargets(nullptr, nullptr);
}
