// The movie's byte stream over the file layer: refused positions, reads clipped at the end, packed files.
#include "MovieTestSupport.h"

#include "core/GxFile.h"
#include "media/GxMovieSourceFilterFile.h"

#include <cstdint>

TEST(GxMovieSourceFilterFile, PositionsOutsideTheFileAreRefusedAndReadsStopAtTheEnd)
{
    KvTempDir dir;
    dir.Write("m.mpg", KvPatternBytes(5000, 3));
    GxMovieSourceFilterFile stream(dir.Wide("m.mpg"), GxMovieSourceFilterFile::kUnlimitedRate);
    ASSERT_TRUE(stream.IsOpen());
    int64_t available = 0;
    EXPECT_EQ(stream.Size(&available), 5000);
    EXPECT_EQ(available, 5000);
    EXPECT_EQ(stream.SetPointer(-1), kPfResultFalse);
    EXPECT_EQ(stream.SetPointer(5001), kPfResultFalse);
    // The last 1000 bytes asked for from 4500: 500 arrive, then nothing (the end for the demuxer).
    uint8_t buffer[1000];
    uint32_t got = 0;
    ASSERT_EQ(stream.SetPointer(4500), S_OK);
    EXPECT_EQ(stream.Read(buffer, 1000, false, &got), S_OK);
    EXPECT_EQ(got, 500u);
    EXPECT_EQ(std::string((char*)buffer, 500), KvPatternBytes(5000, 3).substr(4500));
    EXPECT_EQ(stream.Read(buffer, 1000, false, &got), kPfResultFalse);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(stream.SetPointer(5000), S_OK);

    GxMovieSourceFilterFile missing(dir.Wide("none.mpg"), GxMovieSourceFilterFile::kUnlimitedRate);
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.SetPointer(0), kPfResultFalse);
    EXPECT_EQ(missing.Read(buffer, 10, false, &got), kPfResultFalse);
}

// A read waits until its bytes have arrived at the rate; the unlimited rate (the player's) never waits,
// however far into the file. Taken as a rate of 0xFFFFFFFF bytes a millisecond it would wait 0 ms in any
// file under 4 GiB, and then longer the further into a larger movie the read is.
TEST(GxMovieSourceFilterFile, ReadsWaitForTheirBytesToArriveUnlessTheRateIsUnlimited)
{
    constexpr uint32_t kUnlimited = GxMovieSourceFilterFile::kUnlimitedRate;
    constexpr uint64_t kLarge = uint64_t(1) << 40;
    const struct
    {
        uint64_t end;
        uint32_t rate;
        uint64_t ms;
    } cases[] = {
        {5000, 1000, 5},       {4999, 1000, 4},         {kLarge, 1 << 20, 1 << 20},
        {5000, kUnlimited, 0}, {kLarge, kUnlimited, 0}, {kLarge, 0, 0}, // 0 is taken as unlimited
    };
    for (const auto& c : cases)
        EXPECT_EQ(GxMovieSourceFilterFile::ArrivalMs(c.end, c.rate), c.ms) << c.end << " bytes at " << c.rate;
}

using GxMovieSourceFilterFileTest = KvMovieFixture;

TEST_F(GxMovieSourceFilterFileTest, PackedMovieGivesTheFramesOfTheLooseOne)
{
    const std::string loose = KvMovie("64x48x4.mpg");
    GxPackWriter writer;
    writer.Add(L"kvpacked/op.mpg", KvFileBytes(loose));
    std::vector<uint8_t> pack;
    ASSERT_TRUE(writer.Build(pack, GxPackWriter::kNamesUtf16LE, GxPackWriter::kScrambled));
    Write("movies.gxp", std::string(pack.begin(), pack.end()));
    ASSERT_TRUE(GxFile::MountPack(WidePath("movies.gxp")));
    ASSERT_EQ(GxFile::Exists(L"kvpacked/op.mpg"), GxFile::kPacked);

    // The same instants of both: the first frame, and one after a seek into the second half.
    std::vector<std::vector<uint32_t>> frames[2];
    const std::wstring names[2] = {Wide(loose), L"kvpacked/op.mpg"};
    for (int i = 0; i < 2; ++i)
    {
        ASSERT_TRUE(GxMovie::Open(i, names[i], nullptr, false, false));
        for (double at : {-1.0, 2.52})
        {
            if (at >= 0)
            {
                ASSERT_TRUE(GxMovie::SetPosition(i, at));
            }
            ASSERT_TRUE(PlayOneFrame(i));
            GxTextureMovie* texture = GxMovie::GetPlayer(i)->GetTextureMovie();
            std::vector<uint32_t> pixels;
            for (int y = 0; y < 48; ++y)
                for (int x = 0; x < 64; ++x)
                    pixels.push_back(TexturePixel(texture, x, y));
            frames[i].push_back(pixels);
        }
    }
    GxMovie::DestroyAll();
    GxFile::UnmountAll();
    EXPECT_EQ(frames[0], frames[1]);
    EXPECT_EQ(frames[1].size(), 2u);
}
