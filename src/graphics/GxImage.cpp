#include "graphics/GxImage.h"

#include "core/GxAtomicFile.h"
#include "core/GxBinBuffer.h"
#include "core/GxFile.h"
#include "core/GxFileHandle.h"
#include "core/GxLog.h"
#include "core/GxPath.h"
#include "core/GxString.h"
#include "graphics/GxGraphics.h"
#include "platform/PfImageDecoder.h"
#include "platform/PfImageDecoderDds.h"
#include "platform/PfImageDecoderPng.h"
#include "platform/PfPngWriter.h"

#include <cstring>

namespace
{

// Reads the first bytes of a file into a zero-filled buffer; the count read, or -1 when it cannot open.
int ReadHead(const std::wstring& fileName, uint8_t* buffer, uint32_t count)
{
    std::memset(buffer, 0, count);
    GxFileHandle handle;
    if (!GxFile::Open(handle, fileName))
        return -1;
    const uint32_t read = GxFile::Read(buffer, count, handle);
    GxFile::Close(handle);
    return (int)read;
}

} // namespace

bool GxImage::GetInfoFromFile(const std::wstring& fileName, GxImageInfo& info)
{
    info = GxImageInfo();
    const bool png = GxPath::HasExtension(fileName, L".png");
    if (png || GxPath::HasExtension(fileName, L".dds"))
    {
        uint8_t head[PfImageDecoderDds::kHeaderSize];
        const uint32_t want = png ? 32 : (uint32_t)PfImageDecoderDds::kHeaderSize;
        const int read = ReadHead(fileName, head, want);
        if (read < 0)
        {
            GxLog::Error(L"Error/GetInfoFromFile Open error(Name:\"%s\")\n", fileName.c_str());
            return false;
        }
        if (read == 0)
        {
            GxLog::Error(L"Error/GetInfoFromFile Read error(Name:\"%s\")\n", fileName.c_str());
            return false;
        }
        PfImageInfo header;
        std::string error;
        const size_t size = (size_t)read;
        if (!(png ? PfImageDecoderPng::IsSignature(head, size) : PfImageDecoderDds::IsSignature(head, size)))
        {
            GxLog::Error(L"Error/GetInfoFromFile This file is not %s image(Name:\"%s\")\n", png ? L"PNG" : L"DDS",
                         fileName.c_str());
            return false;
        }
        // A PNG signature without its IHDR chunk has no size: the file is refused, not taken as 0 x 0.
        if (!(png ? PfImageDecoderPng::ReadInfo(head, size, header, error)
                  : PfImageDecoderDds::ReadInfo(head, size, header, error)))
        {
            GxLog::Error(L"Error/GetInfoFromFile Read error(Name:\"%s\")\n", fileName.c_str());
            return false;
        }
        info.Width = header.Width;
        info.Height = header.Height;
        info.Depth = header.Depth;
        return true;
    }
    GxBinBuffer buffer;
    GxFile::LoadToBuffer(buffer, fileName, true);
    PfImageInfo header;
    std::string error;
    if (buffer.GetSize() == 0 || !PfImageDecoder::ReadInfo(buffer.GetData(), buffer.GetSize(), header, error))
    {
        GxLog::Error(L"Error/GetInfoFromFile Failed(Name:\"%s\")\n", fileName.c_str());
        return false;
    }
    info.Width = header.Width;
    info.Height = header.Height;
    info.Depth = header.Depth;
    return true;
}

bool GxImage::GetInfoFromMemory(const void* data, uint32_t size, uint32_t* width, uint32_t* height)
{
    PfImageInfo header;
    std::string error;
    if (!data || size == 0 || !PfImageDecoder::ReadInfo(static_cast<const uint8_t*>(data), size, header, error))
    {
        GxLog::Error(L"Error/GetInfoFromMemory Failed(Addr:%08x,size:%u,%s)\n", (uint32_t)(uintptr_t)data, size,
                     GxGraphics::GetErrorText(D3DXERR_INVALIDDATA).c_str());
        return false;
    }
    if (width)
        *width = header.Width;
    if (height)
        *height = header.Height;
    return true;
}

void GxImage::ApplyColourKey(PfImage& image, uint32_t colourKey)
{
    if (colourKey == 0 || image.IsEmpty())
        return;
    uint8_t* p = image.GetData();
    const size_t count = (size_t)image.GetWidth() * image.GetHeight();
    for (size_t i = 0; i < count; ++i, p += 4)
    {
        const uint32_t argb = (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
        if (argb == colourKey)
            std::memset(p, 0, 4);
    }
}

bool GxImage::DecodeMemory(const void* data, uint32_t size, PfImage& image, uint32_t colourKey, std::string& error)
{
    if (!PfImageDecoder::Decode(static_cast<const uint8_t*>(data), size, image, error))
        return false;
    ApplyColourKey(image, colourKey);
    return true;
}

bool GxImage::CreateScratchSurfaceFromFile(const std::wstring& fileName, PfImage& image, D3DFORMAT format,
                                           GxImageInfo* info, uint32_t colourKey)
{
    (void)format;
    image.Clear();
    GxImageInfo header;
    if (!GetInfoFromFile(fileName, header))
        return false;
    if (info)
        *info = header;
    if (!PfImage::IsSizeAllowed(header.Width, header.Height))
    {
        GxLog::Error(L"Error/CreateScratchSurfaceFromFile Failed(Name:\"%s\" %s)\n", fileName.c_str(),
                     GxGraphics::GetErrorText(D3DERR_INVALIDCALL).c_str());
        return false;
    }
    GxBinBuffer buffer;
    GxFile::LoadToBuffer(buffer, fileName, true);
    std::string error;
    if (buffer.GetSize() == 0 || !DecodeMemory(buffer.GetData(), buffer.GetSize(), image, colourKey, error))
    {
        GxLog::Error(L"Error/ImageLoadFromFile Failed(Name:\"%s\")\n", fileName.c_str());
        if (!error.empty())
            GxLog::Debug(L"%s: %S\n", fileName.c_str(), error.c_str());
        image.Clear();
        return false;
    }
    return true;
}

std::string GxImage::ToSystemPath(const std::wstring& fileName)
{
    return GxString::ToUtf8(GxString::ReplaceChar(fileName, L'\\', L'/'));
}

int GxImage::SaveToPNG(const std::wstring& fileName, uint32_t width, uint32_t height, const void* pixels)
{
    std::vector<uint8_t> png;
    if (!PfPngWriter::Encode(width, height, static_cast<const uint8_t*>(pixels), png))
    {
        GxLog::Error(L"GxImage::SaveToPNG/PNGを作成できません(%s)\n", fileName.c_str());
        return 0;
    }
    return GxAtomicFile::WriteFile(fileName, png.data(), png.size()) ? 1 : 0;
}
