// Conversions between wide text and its byte forms: the ANSI code page CP932 (through iconv, never
// through the process locale), UTF-8 and UTF-16 (by hand: they are exact and hot).
#include "core/GxString.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

static_assert(sizeof(wchar_t) == 4, "wide strings hold one code point per character");
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "wide characters are handed to iconv as UTF-32LE");

namespace
{

// What a CP932 byte sequence CP932 does not define turns into (the code page's default wide character).
constexpr wchar_t kCp932DefaultWide = 0x30FB;
// What a character CP932 cannot hold turns into.
constexpr char kCp932DefaultChar = '?';
constexpr char32_t kReplacement = 0xFFFD;

// One conversion descriptor per thread and direction: iconv descriptors keep shift state and must not
// be shared between threads.
class IconvHandle
{
public:
    IconvHandle(const char* to, const char* from) : m_Handle(iconv_open(to, from)) {}
    ~IconvHandle()
    {
        if (Valid())
            iconv_close(m_Handle);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    bool Valid() const { return m_Handle != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return m_Handle; }

private:
    iconv_t m_Handle;
};

iconv_t Cp932ToUtf32()
{
    thread_local IconvHandle s_Handle("UTF-32LE", "CP932");
    return s_Handle.Valid() ? s_Handle.Get() : reinterpret_cast<iconv_t>(-1);
}

iconv_t Utf32ToCp932()
{
    thread_local IconvHandle s_Handle("CP932", "UTF-32LE");
    return s_Handle.Valid() ? s_Handle.Get() : reinterpret_cast<iconv_t>(-1);
}

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
    std::wstring out;
    if (n == 0)
        return out;
    if (IsAscii(p, n))
    {
        out.assign(p, p + n);
        return out;
    }
    iconv_t cd = Cp932ToUtf32();
    if (cd == reinterpret_cast<iconv_t>(-1))
        return out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    out.resize(n); // a CP932 character never takes fewer bytes than one
    char* in = const_cast<char*>(p);
    size_t inLeft = n;
    char* dst = reinterpret_cast<char*>(out.data());
    size_t outLeft = out.size() * sizeof(wchar_t);
    while (inLeft > 0)
    {
        size_t r = iconv(cd, &in, &inLeft, &dst, &outLeft);
        if (r != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG)
            break; // cannot happen: the output has room for one character per byte
        // EILSEQ (an undefined byte or pair) or EINVAL (a lead byte at the very end): the default
        // character for one byte, then go on with the next.
        if (outLeft < sizeof(wchar_t))
            break;
        wchar_t d = kCp932DefaultWide;
        std::memcpy(dst, &d, sizeof d);
        dst += sizeof d;
        outLeft -= sizeof d;
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(out.size() - outLeft / sizeof(wchar_t));
    return out;
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
    iconv_t cd = Utf32ToCp932();
    if (cd == reinterpret_cast<iconv_t>(-1))
        return out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    out.resize(n * 2); // at most two bytes per character
    char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(wide.data()));
    size_t inLeft = n * sizeof(wchar_t);
    char* dst = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0)
    {
        size_t r = iconv(cd, &in, &inLeft, &dst, &outLeft);
        if (r != static_cast<size_t>(-1))
            break;
        if (errno != EILSEQ && errno != EINVAL)
            break;
        if (outLeft < 1)
            break;
        *dst++ = kCp932DefaultChar;
        --outLeft;
        size_t skip = inLeft < sizeof(wchar_t) ? inLeft : sizeof(wchar_t);
        in += skip;
        inLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(out.size() - outLeft);
    return out;
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
