// Feeds arbitrary bytes to the line and quoted-string readers in both narrow charsets and as UTF-16:
// every call must advance or stop, and never read past the end.
#include "core/GxText.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* begin = reinterpret_cast<const char*>(data);
    const char* end = begin + size;
    std::string out;
    uint32_t lines = 0;
    for (GxText::Charset charset : {GxText::kCharsetAnsi, GxText::kCharsetUtf8})
    {
        for (const char* p = begin; p < end;)
        {
            const char* next = p;
            if (*p == '"')
                GxText::ReadQuotedString(out, p, next, lines, end, charset);
            else
                GxText::ReadLine(out, p, next, lines, end, charset);
            p = next > p ? next : p + 1;
        }
    }
    std::vector<char16_t> units(size / 2);
    // An empty vector's data() may be null, which memcpy must not be given even for 0 bytes.
    if (!units.empty())
        std::memcpy(units.data(), data, units.size() * 2);
    std::wstring wide;
    const char16_t* wend = units.data() + units.size();
    for (const char16_t* p = units.data(); p < wend;)
    {
        const char16_t* next = p;
        if (*p == u'"')
            GxText::ReadQuotedStringW(wide, p, next, lines, wend);
        else
            GxText::ReadLineW(wide, p, next, lines, wend);
        p = next > p ? next : p + 1;
    }
    return 0;
}
