// The extension table that picks a movie's demuxer.
#include "media/GxMovieReader.h"

#include <gtest/gtest.h>

#include <string>

TEST(GxMovieReader, ExtensionsPickTheirDemuxerAndOthersNone)
{
    const struct
    {
        const wchar_t* Name;
        const char* Demuxer; // null: unlisted
    } cases[] = {
        {L"movies/op.avi", "avi"}, {L"OP.MPG", "mpeg"},         {L"a.b/op.Mpeg", "mpeg"}, {L"op.mpv", "mpegvideo"},
        {L"AVSEQ01.DAT", "mpeg"},  {L"op.mov", "mov"},          {L"op.mpa", "mp3"},       {L"op.wav", "wav"},
        {L"op.wmv", nullptr},      {L"movies.mpg/op", nullptr}, {L"op", nullptr},         {L"op.mpg.bak", nullptr},
    };
    for (const auto& c : cases)
    {
        const char* demuxer = GxMovieReader::DemuxerOf(GxMovieReader::SubtypeOf(c.Name));
        EXPECT_EQ(std::string(demuxer ? demuxer : "-"), std::string(c.Demuxer ? c.Demuxer : "-"))
            << std::wstring(c.Name).size();
    }
}
