#include "platform/PfCodePage.h"

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

} // namespace

std::wstring PfCodePage::Cp932ToWide(const char* p, size_t n)
{
    std::wstring out;
    if (n == 0)
        return out;
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

std::string PfCodePage::WideToCp932(const wchar_t* wide, size_t n)
{
    std::string out;
    if (n == 0)
        return out;
    iconv_t cd = Utf32ToCp932();
    if (cd == reinterpret_cast<iconv_t>(-1))
        return out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    out.resize(n * 2); // at most two bytes per character
    char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(wide));
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
