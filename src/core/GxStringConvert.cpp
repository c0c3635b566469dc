// Conversions between wide text and its byte forms: the ANSI code page CP932 (ASCII here, the rest
// through platform/PfCodePage, never through the process locale), UTF-8 and UTF-16 (by hand: they are
// exact and hot).
#include "core/GxString.h"

#include "platform/PfCodePage.h"

#include <cstring>

static_assert(sizeof(wchar_t) == 4, "wide strings hold one code point per character");

namespace
{

constexpr char32_t kReplacement = 0xFFFD;

bool IsAscii(const char* p, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (static_cast<unsigned char>(p[i]) >= 0x80)
            return false;
    return true;
}

bool IsValidScalar(char32_t c)
{
    return c < 0xD800 || (c > 0xDFFF && c <= 0x10FFFF);
}

size_t WideLength(const std::wstring& s)
{
    size_t n = s.find(L'\0');
    return n == std::wstring::npos ? s.size() : n;
}

size_t NarrowLength(const std::string& s)
{
    size_t n = s.find('\0');
    return n == std::string::npos ? s.size() : n;
}

std::wstring Cp932ToWide(const char* p, size_t n)
{
    if (n == 0)
        return std::wstring();
    if (IsAscii(p, n))
        return std::wstring(p, p + n);
    return PfCodePage::Cp932ToWide(p, n);
}

} // namespace

std::wstring GxString::ToWide(const char* narrow)
{
    if (narrow == nullptr)
        return std::wstring();
    return Cp932ToWide(narrow, std::strlen(narrow));
}

std::wstring GxString::ToWide(const std::string& narrow)
{
    return Cp932ToWide(narrow.data(), NarrowLength(narrow));
}

std::string GxString::ToMultiByte(const std::wstring& wide)
{
    std::string out;
    size_t n = WideLength(wide);
    bool ascii = true;
    for (size_t i = 0; i < n && ascii; ++i)
        ascii = static_cast<uint32_t>(wide[i]) < 0x80;
    if (ascii)
    {
        out.reserve(n);
        for (size_t i = 0; i < n; ++i)
            out.push_back(static_cast<char>(wide[i]));
        return out;
    }
    return PfCodePage::WideToCp932(wide.data(), n);
}

std::wstring GxString::FromUtf8(const char* narrow)
{
    if (narrow == nullptr)
        return std::wstring();
    return FromUtf8(std::string(narrow));
}

std::wstring GxString::FromUtf8(const std::string& narrow)
{
    const auto* p = reinterpret_cast<const unsigned char*>(narrow.data());
    size_t n = NarrowLength(narrow);
    std::wstring out;
    out.reserve(n);
    size_t i = 0;
    while (i < n)
    {
        unsigned char b = p[i];
        if (b < 0x80)
        {
            out.push_back(static_cast<wchar_t>(b));
            ++i;
            continue;
        }
        // Length and the allowed range of the second byte, so overlong forms, surrogates and values
        // beyond U+10FFFF are refused at the first byte that makes them so (one U+FFFD per maximal
        // ill-formed part, as Unicode recommends).
        size_t length;
        unsigned char low = 0x80, high = 0xBF;
        char32_t c;
        if (b >= 0xC2 && b <= 0xDF)
        {
            length = 2;
            c = b & 0x1F;
        }
        else if (b >= 0xE0 && b <= 0xEF)
        {
            length = 3;
            c = b & 0x0F;
            if (b == 0xE0)
                low = 0xA0;
            else if (b == 0xED)
                high = 0x9F;
        }
        else if (b >= 0xF0 && b <= 0xF4)
        {
            length = 4;
            c = b & 0x07;
            if (b == 0xF0)
                low = 0x90;
            else if (b == 0xF4)
                high = 0x8F;
        }
        else
        {
            out.push_back(static_cast<wchar_t>(kReplacement));
            ++i;
            continue;
        }
        size_t j = 1;
        for (; j < length; ++j)
        {
            if (i + j >= n)
                break;
            unsigned char t = p[i + j];
            unsigned char lo = j == 1 ? low : 0x80;
            unsigned char hi = j == 1 ? high : 0xBF;
            if (t < lo || t > hi)
                break;
            c = (c << 6) | (t & 0x3F);
        }
        if (j == length)
            out.push_back(static_cast<wchar_t>(c));
        else
            out.push_back(static_cast<wchar_t>(kReplacement));
        i += j;
    }
    return out;
}

std::string GxString::ToUtf8(const std::wstring& wide)
{
    size_t n = WideLength(wide);
    std::string out(n * 4, '\0'); // at most four bytes per character; shrunk at the end
    char* d = out.data();
    for (size_t i = 0; i < n; ++i)
    {
        auto c = static_cast<char32_t>(wide[i]);
        if (c < 0x80)
        {
            *d++ = static_cast<char>(c);
            continue;
        }
        if (!IsValidScalar(c))
            c = kReplacement;
        if (c < 0x800)
        {
            *d++ = static_cast<char>(0xC0 | (c >> 6));
            *d++ = static_cast<char>(0x80 | (c & 0x3F));
        }
        else if (c < 0x10000)
        {
            *d++ = static_cast<char>(0xE0 | (c >> 12));
            *d++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *d++ = static_cast<char>(0x80 | (c & 0x3F));
        }
        else
        {
            *d++ = static_cast<char>(0xF0 | (c >> 18));
            *d++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *d++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *d++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    out.resize(static_cast<size_t>(d - out.data()));
    return out;
}

std::u16string GxString::ToUtf16(const std::wstring& wide)
{
    size_t n = WideLength(wide);
    std::u16string out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i)
    {
        auto c = static_cast<uint32_t>(wide[i]);
        if (c < 0x10000)
            out.push_back(static_cast<char16_t>(c)); // lone surrogates pass through
        else if (c <= 0x10FFFF)
        {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        }
        else
            out.push_back(static_cast<char16_t>(kReplacement));
    }
    return out;
}

std::wstring GxString::FromUtf16(const char16_t* units, size_t count)
{
    std::wstring out;
    if (units == nullptr)
        return out;
    out.reserve(count);
    for (size_t i = 0; i < count; ++i)
    {
        char16_t u = units[i];
        if (u == 0)
            break;
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF)
        {
            char32_t c = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            out.push_back(static_cast<wchar_t>(c));
            ++i;
        }
        else
            out.push_back(static_cast<wchar_t>(u));
    }
    return out;
}

std::wstring GxString::FromUtf16(const std::u16string& units)
{
    return FromUtf16(units.data(), units.size());
}

std::string GxString::ToUtf16LE(const std::wstring& wide)
{
    std::u16string units = ToUtf16(wide);
    std::string out(units.size() * 2, '\0');
    for (size_t i = 0; i < units.size(); ++i)
    {
        out[i * 2] = static_cast<char>(units[i] & 0xFF);
        out[i * 2 + 1] = static_cast<char>(units[i] >> 8);
    }
    return out;
}

std::wstring GxString::FromUtf16LE(const void* bytes, size_t byteCount)
{
    if (bytes == nullptr)
        return std::wstring();
    const auto* p = static_cast<const unsigned char*>(bytes);
    std::u16string units(byteCount / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(p[i * 2] | (p[i * 2 + 1] << 8));
    return FromUtf16(units);
}

size_t GxString::CountUtf16Units(const std::wstring& wide)
{
    size_t n = WideLength(wide);
    size_t units = 0;
    for (size_t i = 0; i < n; ++i)
        units += (static_cast<uint32_t>(wide[i]) >= 0x10000 && static_cast<uint32_t>(wide[i]) <= 0x10FFFF) ? 2 : 1;
    return units;
}
