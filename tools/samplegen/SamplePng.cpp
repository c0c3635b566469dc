#include "SamplePng.h"

#include <algorithm>

namespace
{

uint32_t Crc32(const std::string& bytes, size_t begin)
{
    static uint32_t table[256];
    static bool ready = false;
    if (!ready)
    {
        for (uint32_t n = 0; n < 256; ++n)
        {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = begin; i < bytes.size(); ++i)
        crc = table[(crc ^ static_cast<uint8_t>(bytes[i])) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void PutU32(std::string& out, uint32_t v)
{
    out += static_cast<char>(v >> 24);
    out += static_cast<char>(v >> 16);
    out += static_cast<char>(v >> 8);
    out += static_cast<char>(v);
}

void PutChunk(std::string& out, const char* type, const std::string& data)
{
    PutU32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out += type;
    out += data;
    PutU32(out, Crc32(out, start));
}

} // namespace

std::string EncodePng(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb)
{
    // Raw scanlines: filter byte 0, then R G B A per pixel.
    std::string raw;
    raw.reserve(static_cast<size_t>(height) * (width * 4 + 1));
    for (uint32_t y = 0; y < height; ++y)
    {
        raw += '\0';
        for (uint32_t x = 0; x < width; ++x)
        {
            const uint32_t p = argb[static_cast<size_t>(y) * width + x];
            raw += static_cast<char>(p >> 16);
            raw += static_cast<char>(p >> 8);
            raw += static_cast<char>(p);
            raw += static_cast<char>(p >> 24);
        }
    }

    // zlib stream: header, stored blocks of at most 65535 bytes, Adler-32 of the raw data.
    std::string z = "\x78\x01";
    size_t offset = 0;
    do
    {
        const size_t length = std::min<size_t>(65535, raw.size() - offset);
        const bool last = offset + length == raw.size();
        z += static_cast<char>(last ? 1 : 0);
        z += static_cast<char>(length & 0xFF);
        z += static_cast<char>(length >> 8);
        z += static_cast<char>(~length & 0xFF);
        z += static_cast<char>((~length >> 8) & 0xFF);
        z.append(raw, offset, length);
        offset += length;
    } while (offset < raw.size());
    uint32_t a = 1, b = 0;
    for (char c : raw)
    {
        a = (a + static_cast<uint8_t>(c)) % 65521;
        b = (b + a) % 65521;
    }
    PutU32(z, (b << 16) | a);

    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    PutU32(header, width);
    PutU32(header, height);
    header += '\x08'; // bit depth
    header += '\x06'; // RGBA
    header += std::string(3, '\0');
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", std::string());
    return png;
}
