// Image files: the five readers on good, truncated and corrupt pictures, sizes from headers, the colour
// key and the PNG writer.
#include "GraphicsTestSupport.h"
#include "ImageTestSupport.h"

#include "platform/PfImageResample.h"

#include <tuple>

using namespace kvimg;

namespace
{

using GxImageTest = KvScratchFixture;

bool Decode(const std::vector<uint8_t>& bytes, PfImage& image)
{
    std::string error;
    return PfImageDecoder::Decode(bytes.data(), bytes.size(), image, error);
}

void ExpectSamePicture(const PfImage& a, const PfImage& b)
{
    ASSERT_EQ(a.GetWidth(), b.GetWidth());
    ASSERT_EQ(a.GetHeight(), b.GetHeight());
    for (uint32_t y = 0; y < a.GetHeight(); ++y)
        ASSERT_EQ(0, std::memcmp(a.GetRow(y), b.GetRow(y), (size_t)a.GetWidth() * 4)) << "row " << y;
}

} // namespace

TEST_F(GxImageTest, EveryReaderDecodesThePatternExactly)
{
    const PfImage pattern = Pattern(37, 23);
    for (const auto& bytes : {EncodeBmp(pattern), EncodeTga(pattern), EncodeTga(pattern, true), EncodeDds(pattern)})
    {
        PfImage image;
        ASSERT_TRUE(Decode(bytes, image));
        ExpectSamePicture(image, pattern);
    }
    ASSERT_TRUE(WritePng(Path("p.png"), pattern));
    PfImage png;
    ASSERT_TRUE(Decode(ReadFile(Path("p.png")), png));
    ExpectSamePicture(png, pattern);
}

TEST_F(GxImageTest, JpegDecodesCloseToItsSource)
{
    ASSERT_TRUE(WriteJpeg(Path("p.jpg"), 64, 48));
    PfImage image;
    ASSERT_TRUE(Decode(ReadFile(Path("p.jpg")), image));
    // Opaque, and a grid line (white) at the top-left corner.
    KvExpectEq<uint32_t>({{image.GetWidth(), 64}, {image.GetHeight(), 48}, {image.GetPixel(10, 10) >> 24, 0xFF}});
    EXPECT_GT(image.GetPixel(0, 0) & 0xFF, 200u);
}

TEST_F(GxImageTest, SizesComeFromHeadersWhateverTheCase)
{
    const PfImage pattern = Pattern(300, 200);
    ASSERT_TRUE(WritePng(Path("a.PNG"), pattern));
    WriteFile(Path("b.dds"), DdsHeader(64, 32, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u, 4));
    WriteFile(Path("c.bmp"), EncodeBmp(pattern));
    WriteFile(Path("d.tga"), EncodeTga(pattern));
    ASSERT_TRUE(WriteJpeg(Path("e.jpg"), 300, 200));
    for (auto [name, width, height, depth] : {std::tuple{"a.PNG", 300u, 200u, 0u},
                                              {"b.dds", 64u, 32u, 4u},
                                              {"c.bmp", 300u, 200u, 0u},
                                              {"d.tga", 300u, 200u, 0u},
                                              {"e.jpg", 300u, 200u, 0u}})
    {
        GxImageInfo info;
        ASSERT_TRUE(GxImage::GetInfoFromFile(Wide(Path(name)), info)) << name;
        KvExpectEq<uint32_t>({{info.Width, width}, {info.Height, height}, {info.Depth, depth}});
    }
}

TEST_F(GxImageTest, ContentDecidesExceptForThePngExtension)
{
    ASSERT_TRUE(WriteJpeg(Path("jpeg.png"), 16, 16));
    ASSERT_TRUE(WritePng(Path("png.jpg"), Pattern(20, 10)));
    GxImageInfo info;
    EXPECT_FALSE(GxImage::GetInfoFromFile(Wide(Path("jpeg.png")), info));
    EXPECT_TRUE(Logged(L"Error/GetInfoFromFile This file is not PNG image(Name:\"" + Wide(Path("jpeg.png"))));
    ASSERT_TRUE(GxImage::GetInfoFromFile(Wide(Path("png.jpg")), info));
    EXPECT_EQ(info.Width, 20u);
}

TEST_F(GxImageTest, PngShorterThanItsHeaderIsRefused)
{
    ASSERT_TRUE(WritePng(Path("full.png"), Pattern(8, 8)));
    std::vector<uint8_t> bytes = ReadFile(Path("full.png"));
    bytes.resize(20);
    WriteFile(Path("short.png"), bytes);
    GxImageInfo info;
    info.Width = 5;
    EXPECT_FALSE(GxImage::GetInfoFromFile(Wide(Path("short.png")), info));
    EXPECT_EQ(info.Width, 0u);
    EXPECT_TRUE(Logged(L"Error/GetInfoFromFile Read error"));
    GxImageInfo none;
    EXPECT_FALSE(GxImage::GetInfoFromFile(Wide(Path("absent.png")), none));
    EXPECT_TRUE(Logged(L"Error/GetInfoFromFile Open error"));
}

TEST_F(GxImageTest, DxtBlocksDecode)
{
    // DXT1: end points red (0xF800) and blue (0x001F), indices 0,1,2,3 in the first row.
    std::vector<uint8_t> dxt1 = DdsHeader(4, 4, 0x4, PF_MAKEFOURCC('D', 'X', 'T', '1'), 0, 0, 0, 0, 0);
    dxt1.insert(dxt1.end(), {0x00, 0xF8, 0x1F, 0x00, 0xE4, 0x00, 0x00, 0x00});
    PfImage image;
    ASSERT_TRUE(Decode(dxt1, image));
    KvExpectPixels(image, {{0, 0, 0xFFFF0000u}, {1, 0, 0xFF0000FFu}, {2, 0, 0xFFAA0055u}, {0, 1, 0xFFFF0000u}});
    // DXT1 in three-colour mode: index 3 is transparent black.
    std::vector<uint8_t> punch = DdsHeader(4, 4, 0x4, PF_MAKEFOURCC('D', 'X', 'T', '1'), 0, 0, 0, 0, 0);
    punch.insert(punch.end(), {0x1F, 0x00, 0x00, 0xF8, 0xFF, 0xFF, 0xFF, 0xFF});
    ASSERT_TRUE(Decode(punch, image));
    EXPECT_EQ(image.GetPixel(3, 3), 0u);
    // DXT5: alpha end points 255 and 0, every alpha index 1 (alpha 0); colour all white.
    std::vector<uint8_t> dxt5 = DdsHeader(4, 4, 0x4, PF_MAKEFOURCC('D', 'X', 'T', '5'), 0, 0, 0, 0, 0);
    dxt5.insert(dxt5.end(), {0xFF, 0x00, 0x49, 0x92, 0x24, 0x49, 0x92, 0x24, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});
    ASSERT_TRUE(Decode(dxt5, image));
    EXPECT_EQ(image.GetPixel(2, 2), 0x00FFFFFFu);
}

TEST_F(GxImageTest, TruncatedAndCorruptFilesFailCleanly)
{
    const PfImage pattern = Pattern(40, 30);
    ASSERT_TRUE(WritePng(Path("p.png"), pattern));
    ASSERT_TRUE(WriteJpeg(Path("p.jpg"), 40, 30));
    std::vector<std::vector<uint8_t>> files = {ReadFile(Path("p.png")), ReadFile(Path("p.jpg")),  EncodeBmp(pattern),
                                               EncodeTga(pattern),      EncodeTga(pattern, true), EncodeDds(pattern)};
    srand(7);
    for (const auto& whole : files)
    {
        for (size_t cut : {size_t(0), size_t(1), size_t(2), size_t(8), size_t(17), size_t(18), size_t(23), size_t(54),
                           size_t(100), size_t(128), whole.size() / 2, whole.size() - 1})
        {
            if (cut >= whole.size())
                continue;
            std::vector<uint8_t> part(whole.begin(), whole.begin() + (long)cut);
            PfImage image;
            std::string error;
            if (!PfImageDecoder::Decode(part.data(), part.size(), image, error))
            {
                EXPECT_TRUE(image.IsEmpty());
                EXPECT_FALSE(error.empty());
            }
        }
        for (int round = 0; round < 200; ++round)
        {
            std::vector<uint8_t> bad = whole;
            for (int k = 0; k < 4; ++k)
                bad[(size_t)rand() % std::min<size_t>(bad.size(), 160)] = (uint8_t)rand();
            PfImage image;
            std::string error;
            if (PfImageDecoder::Decode(bad.data(), bad.size(), image, error))
            {
                EXPECT_TRUE(PfImage::IsSizeAllowed(image.GetWidth(), image.GetHeight()));
            }
        }
    }
}

TEST_F(GxImageTest, HugeSizesAreRefusedBeforeAllocating)
{
    PfImage image;
    std::string error;
    // A DDS announcing 65536 x 65536 with no data, a TGA of 65535 x 65535 with four bytes of data, a BMP
    // whose pixel block lies beyond the file.
    std::vector<uint8_t> dds = DdsHeader(65536, 65536, 0x41, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u);
    EXPECT_FALSE(PfImageDecoder::Decode(dds.data(), dds.size(), image, error));
    std::vector<uint8_t> tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 32, 8, 1, 2, 3, 4};
    EXPECT_FALSE(PfImageDecoder::Decode(tga.data(), tga.size(), image, error));
    EXPECT_EQ(error, "TGA data truncated");
    std::vector<uint8_t> bmp = EncodeBmp(Pattern(4, 4));
    bmp[22] = 0xFF, bmp[23] = 0x7F;
    EXPECT_FALSE(PfImageDecoder::Decode(bmp.data(), bmp.size(), image, error));
    EXPECT_TRUE(image.IsEmpty());
}

TEST_F(GxImageTest, ColourKeyMakesMatchingPixelsTransparentBlack)
{
    PfImage pattern = Pattern(4, 4);
    pattern.SetPixel(1, 1, 0xFFFF00FFu);
    WriteFile(Path("k.bmp"), EncodeBmp(pattern));
    PfImage image;
    ASSERT_TRUE(
        GxImage::CreateScratchSurfaceFromFile(Wide(Path("k.bmp")), image, D3DFMT_A8R8G8B8, nullptr, 0xFFFF00FFu));
    KvExpectPixels(image, {{1, 1, 0u}, {0, 0, pattern.GetPixel(0, 0)}});
}

TEST_F(GxImageTest, SaveToPngWritesRgbaFromBgraAndReloads)
{
    std::vector<uint8_t> pixels(128 * 96 * 4);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = (uint8_t)(i * 7);
    ASSERT_EQ(GxImage::SaveToPNG(Wide(Path("thumb000.png")), 128, 96, pixels.data()), 1);
    const std::vector<uint8_t> file = ReadFile(Path("thumb000.png"));
    ASSERT_GT(file.size(), 33u);
    EXPECT_EQ(file[25], 6); // colour type RGBA
    PfImage image;
    ASSERT_TRUE(Decode(file, image));
    ASSERT_EQ(image.GetWidth(), 128u);
    EXPECT_EQ(0, std::memcmp(image.GetData(), pixels.data(), pixels.size()));
    // No temporary file is left beside it, and a folder that does not exist fails.
    EXPECT_TRUE(ReadFile(Path("thumb000.png.tmp")).empty());
    EXPECT_EQ(GxImage::SaveToPNG(Wide(Path("none/thumb.png")), 4, 4, pixels.data()), 0);
}

TEST_F(GxImageTest, TriangleResampleKeepsFlatColourAndEdges)
{
    PfImage flat;
    flat.Allocate(30, 20);
    for (uint32_t i = 0; i < 30 * 20; ++i)
        flat.SetPixel(i % 30, i / 30, 0xFF336699u);
    PfImage out;
    ASSERT_TRUE(PfImageResample::Triangle(flat, 64, 32, out));
    KvExpectPixels(out, {{0, 0, 0xFF336699u}, {63, 31, 0xFF336699u}});
    // A transparent neighbour does not darken an opaque texel's colour.
    flat.SetPixel(0, 0, 0);
    ASSERT_TRUE(PfImageResample::Triangle(flat, 64, 32, out));
    EXPECT_EQ(out.GetPixel(1, 1) & 0xFFFFFF, 0x336699u);
}

TEST_F(GxImageTest, InfoFromMemoryReadsAnyFormatAndLogsFailures)
{
    const std::vector<uint8_t> bmp = EncodeBmp(Pattern(12, 34));
    uint32_t w = 0, h = 0;
    ASSERT_TRUE(GxImage::GetInfoFromMemory(bmp.data(), (uint32_t)bmp.size(), &w, &h));
    KvExpectEq<uint32_t>({{w, 12}, {h, 34}});
    const uint8_t junk[5] = {1, 2, 3, 4, 5};
    EXPECT_FALSE(GxImage::GetInfoFromMemory(junk, sizeof(junk), &w, &h));
    EXPECT_TRUE(Logged(L"Error/GetInfoFromMemory Failed(Addr:"));
    EXPECT_TRUE(Logged(L",size:5,"));
}
