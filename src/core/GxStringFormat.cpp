// The printf-style formatter behind GxString::Format, FormatA and FormatNarrow.
//
// glibc's printf family reads "%s" in a wide format as a narrow string, knows no "%I64d" and cannot
// tell "buffer too small" from other failures, so the formatter is our own. One template serves the
// wide and the narrow format; only the string and character conversions differ between the two.
// Integers and strings are printed here; floating-point numbers go to snprintf under the "C" locale
// so the decimal point never follows the process locale.
#include "core/GxString.h"

#include <clocale>
#include <climits>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <locale.h>
#include <type_traits>

namespace
{

enum class LengthMod
{
    Default,
    Char,       // hh
    Short,      // h (also "narrow" for s and c)
    Long32,     // l, I32 (also "wide" for s and c; Microsoft's long is 32-bit)
    Int64,      // ll, I64, j, q
    Size,       // z, t, I
    LongDouble, // L
    Wide,       // w
};

struct Spec
{
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alt = false;
    bool zero = false;
    int width = 0;
    int precision = -1; // -1: not given
    LengthMod length = LengthMod::Default;
};

locale_t CLocale()
{
    static locale_t s_Locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return s_Locale;
}

// Appends count copies of c.
template <class Str> void Pad(Str& out, size_t count, typename Str::value_type c)
{
    if (count > 0)
        out.append(count, c);
}

template <class Str> void AppendAscii(Str& out, const char* text, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        out.push_back(static_cast<typename Str::value_type>(static_cast<unsigned char>(text[i])));
}

// Places body (already converted) into its field: width, left adjustment, padding character.
template <class Str> void PutField(Str& out, const Spec& spec, const typename Str::value_type* body, size_t length)
{
    using Ch = typename Str::value_type;
    size_t width = spec.width > 0 ? static_cast<size_t>(spec.width) : 0;
    size_t pad = width > length ? width - length : 0;
    if (!spec.left)
        Pad(out, pad, spec.zero ? Ch('0') : Ch(' '));
    out.append(body, length);
    if (spec.left)
        Pad(out, pad, Ch(' '));
}

template <class Str>
void PutInteger(Str& out, const Spec& spec, char conversion, unsigned long long magnitude, bool negative)
{
    char digits[72];
    size_t n = 0;
    unsigned base = 10;
    const char* alphabet = "0123456789abcdef";
    if (conversion == 'o')
        base = 8;
    else if (conversion == 'x' || conversion == 'p')
        base = 16;
    else if (conversion == 'X')
    {
        base = 16;
        alphabet = "0123456789ABCDEF";
    }
    if (conversion == 'p')
        alphabet = "0123456789ABCDEF";
    for (unsigned long long v = magnitude; v != 0; v /= base)
        digits[n++] = alphabet[v % base];

    // Minimum digit count: the precision; a zero value with precision 0 prints no digits at all.
    size_t minDigits = spec.precision >= 0 ? static_cast<size_t>(spec.precision) : 1;
    if (conversion == 'p')
        minDigits = sizeof(void*) * 2;
    if (conversion == 'o' && spec.alt && (n == 0 || digits[n - 1] != '0') && minDigits <= n)
        minDigits = n + 1;

    char prefix[3] = {0, 0, 0};
    size_t prefixLength = 0;
    bool isSigned = conversion == 'd' || conversion == 'i';
    if (negative)
        prefix[prefixLength++] = '-';
    else if (isSigned && spec.plus)
        prefix[prefixLength++] = '+';
    else if (isSigned && spec.space)
        prefix[prefixLength++] = ' ';
    if (spec.alt && magnitude != 0 && (conversion == 'x' || conversion == 'X'))
    {
        prefix[prefixLength++] = '0';
        prefix[prefixLength++] = conversion;
    }

    size_t zeros = minDigits > n ? minDigits - n : 0;
    size_t length = prefixLength + zeros + n;
    size_t width = spec.width > 0 ? static_cast<size_t>(spec.width) : 0;
    size_t pad = width > length ? width - length : 0;
    using Ch = typename Str::value_type;
    bool zeroPad = spec.zero && !spec.left && spec.precision < 0;
    if (!spec.left && !zeroPad)
        Pad(out, pad, Ch(' '));
    AppendAscii(out, prefix, prefixLength);
    if (zeroPad)
        Pad(out, pad, Ch('0'));
    Pad(out, zeros, Ch('0'));
    for (size_t i = n; i > 0; --i)
        out.push_back(static_cast<Ch>(digits[i - 1]));
    if (spec.left)
        Pad(out, pad, Ch(' '));
}

template <class Str> void PutFloat(Str& out, const Spec& spec, char conversion, va_list& args)
{
    // Rebuild the conversion directive for snprintf; width and precision are already numbers.
    char fmt[48];
    size_t f = 0;
    fmt[f++] = '%';
    if (spec.left)
        fmt[f++] = '-';
    if (spec.plus)
        fmt[f++] = '+';
    if (spec.space)
        fmt[f++] = ' ';
    if (spec.alt)
        fmt[f++] = '#';
    if (spec.zero)
        fmt[f++] = '0';
    fmt[f++] = '*';
    fmt[f++] = '.';
    fmt[f++] = '*';
    bool isLong = spec.length == LengthMod::LongDouble;
    if (isLong)
        fmt[f++] = 'L';
    fmt[f++] = conversion;
    fmt[f] = 0;

    int precision = spec.precision >= 0 ? spec.precision : (conversion == 'a' || conversion == 'A' ? -1 : 6);
    long double longValue = 0;
    double value = 0;
    if (isLong)
        longValue = va_arg(args, long double);
    else
        value = va_arg(args, double);

    locale_t previous = uselocale(CLocale());
    char stackBuffer[128];
    int length = isLong ? std::snprintf(stackBuffer, sizeof stackBuffer, fmt, spec.width, precision, longValue)
                        : std::snprintf(stackBuffer, sizeof stackBuffer, fmt, spec.width, precision, value);
    if (length >= static_cast<int>(sizeof stackBuffer))
    {
        std::string big(static_cast<size_t>(length) + 1, '\0');
        if (isLong)
            std::snprintf(big.data(), big.size(), fmt, spec.width, precision, longValue);
        else
            std::snprintf(big.data(), big.size(), fmt, spec.width, precision, value);
        AppendAscii(out, big.data(), static_cast<size_t>(length));
    }
    else if (length > 0)
        AppendAscii(out, stackBuffer, static_cast<size_t>(length));
    uselocale(previous);
}

// --- string and character arguments, per output width ---

size_t BoundedLength(const char* s, int precision)
{
    return precision >= 0 ? strnlen(s, static_cast<size_t>(precision)) : std::strlen(s);
}

size_t BoundedLength(const wchar_t* s, int precision)
{
    return precision >= 0 ? wcsnlen(s, static_cast<size_t>(precision)) : std::wcslen(s);
}

// A string argument of the same width as the output.
template <class Str> void PutSameString(Str& out, const Spec& spec, const typename Str::value_type* s)
{
    using Ch = typename Str::value_type;
    static const Ch s_Null[] = {'(', 'n', 'u', 'l', 'l', ')', 0};
    if (s == nullptr)
        s = s_Null;
    PutField(out, spec, s, BoundedLength(s, spec.precision));
}

// A string argument of the other width: converted first, then cut to the precision.
void PutOtherString(std::wstring& out, const Spec& spec, const char* s)
{
    if (s == nullptr)
        s = "(null)";
    std::wstring wide = GxString::ToWide(std::string(s, BoundedLength(s, spec.precision)));
    if (spec.precision >= 0 && wide.size() > static_cast<size_t>(spec.precision))
        wide.resize(static_cast<size_t>(spec.precision));
    PutField(out, spec, wide.data(), wide.size());
}

void PutOtherString(std::string& out, const Spec& spec, const wchar_t* s)
{
    if (s == nullptr)
        s = L"(null)";
    std::string narrow = GxString::ToMultiByte(std::wstring(s, BoundedLength(s, spec.precision)));
    if (spec.precision >= 0 && narrow.size() > static_cast<size_t>(spec.precision))
        narrow.resize(static_cast<size_t>(spec.precision));
    PutField(out, spec, narrow.data(), narrow.size());
}

void PutOtherChar(std::wstring& out, const Spec& spec, int c)
{
    char text[2] = {static_cast<char>(c), 0};
    std::wstring wide = c == 0 ? std::wstring(1, L'\0') : GxString::ToWide(text);
    PutField(out, spec, wide.data(), wide.size());
}

void PutOtherChar(std::string& out, const Spec& spec, int c)
{
    wchar_t text[2] = {static_cast<wchar_t>(c), 0};
    std::string narrow = c == 0 ? std::string(1, '\0') : GxString::ToMultiByte(text);
    PutField(out, spec, narrow.data(), narrow.size());
}

template <class Ch> int ReadNumber(const Ch*& p)
{
    long long value = 0;
    while (*p >= Ch('0') && *p <= Ch('9'))
    {
        if (value < INT_MAX / 2)
            value = value * 10 + (*p - Ch('0'));
        ++p;
    }
    return static_cast<int>(value < INT_MAX / 2 ? value : INT_MAX / 2);
}

template <class Str> void FormatInto(Str& out, const typename Str::value_type* format, va_list& args)
{
    using Ch = typename Str::value_type;
    constexpr bool wideOutput = std::is_same_v<Ch, wchar_t>;
    if (format == nullptr)
        return;
    const Ch* p = format;
    while (*p != 0)
    {
        if (*p != Ch('%'))
        {
            const Ch* run = p;
            while (*p != 0 && *p != Ch('%'))
                ++p;
            out.append(run, static_cast<size_t>(p - run));
            continue;
        }
        const Ch* start = p++;
        Spec spec;
        for (bool flags = true; flags;)
        {
            switch (*p)
            {
            case '-':
                spec.left = true;
                ++p;
                break;
            case '+':
                spec.plus = true;
                ++p;
                break;
            case ' ':
                spec.space = true;
                ++p;
                break;
            case '#':
                spec.alt = true;
                ++p;
                break;
            case '0':
                spec.zero = true;
                ++p;
                break;
            default:
                flags = false;
                break;
            }
        }
        if (*p == Ch('*'))
        {
            int w = va_arg(args, int);
            if (w < 0)
            {
                spec.left = true;
                w = w == INT_MIN ? INT_MAX / 2 : -w;
            }
            spec.width = w < INT_MAX / 2 ? w : INT_MAX / 2;
            ++p;
        }
        else
            spec.width = ReadNumber(p);
        if (*p == Ch('.'))
        {
            ++p;
            if (*p == Ch('*'))
            {
                int prec = va_arg(args, int);
                spec.precision = prec < 0 ? -1 : (prec < INT_MAX / 2 ? prec : INT_MAX / 2);
                ++p;
            }
            else
                spec.precision = ReadNumber(p);
        }
        switch (*p)
        {
        case 'h':
            ++p;
            spec.length = LengthMod::Short;
            if (*p == Ch('h'))
            {
                spec.length = LengthMod::Char;
                ++p;
            }
            break;
        case 'l':
            ++p;
            spec.length = LengthMod::Long32;
            if (*p == Ch('l'))
            {
                spec.length = LengthMod::Int64;
                ++p;
            }
            break;
        case 'I':
            ++p;
            if (p[0] == Ch('6') && p[1] == Ch('4'))
            {
                spec.length = LengthMod::Int64;
                p += 2;
            }
            else if (p[0] == Ch('3') && p[1] == Ch('2'))
            {
                spec.length = LengthMod::Long32;
                p += 2;
            }
            else
                spec.length = LengthMod::Size;
            break;
        case 'j':
        case 'q':
            spec.length = LengthMod::Int64;
            ++p;
            break;
        case 'z':
        case 't':
            spec.length = LengthMod::Size;
            ++p;
            break;
        case 'L':
            spec.length = LengthMod::LongDouble;
            ++p;
            break;
        case 'w':
            spec.length = LengthMod::Wide;
            ++p;
            break;
        default:
            break;
        }

        Ch conversion = *p;
        if (conversion == 0)
        {
            // The format ends inside a conversion directive: keep its text as it is.
            out.append(start, static_cast<size_t>(p - start));
            break;
        }
        ++p;
        switch (conversion)
        {
        case '%':
            out.push_back(Ch('%'));
            break;
        case 'd':
        case 'i':
        {
            long long v;
            switch (spec.length)
            {
            case LengthMod::Char:
                v = static_cast<signed char>(va_arg(args, int));
                break;
            case LengthMod::Short:
                v = static_cast<short>(va_arg(args, int));
                break;
            case LengthMod::Int64:
                v = va_arg(args, long long);
                break;
            case LengthMod::Size:
                v = va_arg(args, ptrdiff_t);
                break;
            default:
                v = va_arg(args, int);
                break;
            }
            unsigned long long magnitude =
                v < 0 ? 0ull - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
            PutInteger(out, spec, 'd', magnitude, v < 0);
            break;
        }
        case 'u':
        case 'o':
        case 'x':
        case 'X':
        {
            unsigned long long v;
            switch (spec.length)
            {
            case LengthMod::Char:
                v = static_cast<unsigned char>(va_arg(args, unsigned));
                break;
            case LengthMod::Short:
                v = static_cast<unsigned short>(va_arg(args, unsigned));
                break;
            case LengthMod::Int64:
                v = va_arg(args, unsigned long long);
                break;
            case LengthMod::Size:
                v = va_arg(args, size_t);
                break;
            default:
                v = va_arg(args, unsigned);
                break;
            }
            PutInteger(out, spec, static_cast<char>(conversion), v, false);
            break;
        }
        case 'p':
        {
            auto v = reinterpret_cast<uintptr_t>(va_arg(args, void*));
            Spec pointerSpec = spec;
            pointerSpec.alt = false;
            pointerSpec.precision = -1;
            PutInteger(out, pointerSpec, 'p', v, false);
            break;
        }
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            PutFloat(out, spec, static_cast<char>(conversion), args);
            break;
        case 's':
        case 'S':
        {
            // Same width as the format unless h/l/w or the capital letter says otherwise.
            bool sameWidth = conversion == Ch('s');
            if (spec.length == LengthMod::Short)
                sameWidth = !wideOutput;
            else if (spec.length == LengthMod::Long32 || spec.length == LengthMod::Wide)
                sameWidth = wideOutput;
            if (sameWidth)
                PutSameString(out, spec, va_arg(args, const Ch*));
            else if constexpr (wideOutput)
                PutOtherString(out, spec, va_arg(args, const char*));
            else
                PutOtherString(out, spec, va_arg(args, const wchar_t*));
            break;
        }
        case 'c':
        case 'C':
        {
            bool sameWidth = conversion == Ch('c');
            if (spec.length == LengthMod::Short)
                sameWidth = !wideOutput;
            else if (spec.length == LengthMod::Long32 || spec.length == LengthMod::Wide)
                sameWidth = wideOutput;
            int c = va_arg(args, int);
            if (sameWidth)
            {
                Ch ch = static_cast<Ch>(c);
                Spec charSpec = spec;
                charSpec.zero = false;
                PutField(out, charSpec, &ch, 1);
            }
            else
                PutOtherChar(out, spec, c);
            break;
        }
        case 'n':
            // Writing through a pointer from a format is never wanted; skip the argument.
            (void)va_arg(args, void*);
            break;
        default:
            // Unknown conversion: keep the directive visible in the text.
            out.append(start, static_cast<size_t>(p - start));
            break;
        }
    }
}

template <class Str> Str FormatToString(const typename Str::value_type* format, va_list args)
{
    Str out;
    out.reserve(256);
    va_list copy;
    va_copy(copy, args);
    FormatInto(out, format, copy);
    va_end(copy);
    // As the system's formatter did: the text ends at the first NUL.
    size_t nul = out.find(typename Str::value_type(0));
    if (nul != Str::npos)
        out.resize(nul);
    return out;
}

} // namespace

std::wstring GxString::FormatV(const wchar_t* format, va_list args)
{
    return FormatToString<std::wstring>(format, args);
}

std::wstring GxString::Format(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring text = FormatV(format, args);
    va_end(args);
    return text;
}

std::string GxString::FormatNarrowV(const char* format, va_list args)
{
    return FormatToString<std::string>(format, args);
}

std::string GxString::FormatNarrow(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = FormatNarrowV(format, args);
    va_end(args);
    return text;
}

std::wstring GxString::FormatAV(const char* format, va_list args)
{
    return ToWide(FormatNarrowV(format, args));
}

std::wstring GxString::FormatA(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring text = FormatAV(format, args);
    va_end(args);
    return text;
}

std::wstring GxString::FromInt(int32_t n)
{
    return Format(L"%d", n);
}

std::wstring GxString::FromFloat(double x)
{
    return Format(L"%f", x);
}
