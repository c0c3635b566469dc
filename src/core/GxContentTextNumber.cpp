#include "core/GxContentTextNumber.h"

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <limits>
#include <locale.h>

static bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Skips white space and a sign; returns true for '-'.
static bool SkipSpaceAndSign(std::string_view& text)
{
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    {
        negative = text[i] == '-';
        ++i;
    }
    text.remove_prefix(i);
    return negative;
}

static int DigitValue(char c, int base)
{
    int v;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'z')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'Z')
        v = c - 'A' + 10;
    else
        return -1;
    return v < base ? v : -1;
}

// The magnitude of the digits at the front of text, saturated at limit; overflow tells whether it was.
static uint64_t ParseMagnitude(std::string_view text, int base, uint64_t limit, bool& overflow)
{
    overflow = false;
    uint64_t value = 0;
    for (char c : text)
    {
        const int d = DigitValue(c, base);
        if (d < 0)
            break;
        if (value > (limit - uint64_t(d)) / uint64_t(base))
        {
            overflow = true;
            value = limit;
            continue; // strtol consumes every digit even after it has saturated
        }
        value = value * uint64_t(base) + uint64_t(d);
    }
    return value;
}

static int64_t ParseSigned(std::string_view text, int base, int64_t minimum, int64_t maximum)
{
    const bool negative = SkipSpaceAndSign(text);
    if (base == 16 && text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') &&
        DigitValue(text.size() > 2 ? text[2] : '\0', 16) >= 0)
        text.remove_prefix(2);
    const uint64_t limit = negative ? uint64_t(-(minimum + 1)) + 1 : uint64_t(maximum);
    bool overflow = false;
    const uint64_t magnitude = ParseMagnitude(text, base, limit, overflow);
    if (!negative)
        return int64_t(magnitude);
    return magnitude == limit ? minimum : -int64_t(magnitude);
}

static uint64_t ParseUnsigned(std::string_view text, uint64_t maximum)
{
    const bool negative = SkipSpaceAndSign(text);
    bool overflow = false;
    const uint64_t magnitude = ParseMagnitude(text, 10, maximum, overflow);
    if (overflow)
        return maximum;
    return negative ? (uint64_t(0) - magnitude) & maximum : magnitude;
}

int32_t GxContentTextNumber::ParseInt(std::string_view text)
{
    return int32_t(ParseSigned(text, 10, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

uint32_t GxContentTextNumber::ParseU32(std::string_view text)
{
    return uint32_t(ParseUnsigned(text, std::numeric_limits<uint32_t>::max()));
}

int64_t GxContentTextNumber::ParseS64(std::string_view text)
{
    return ParseSigned(text, 10, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max());
}

uint64_t GxContentTextNumber::ParseU64(std::string_view text)
{
    return ParseUnsigned(text, std::numeric_limits<uint64_t>::max());
}

int32_t GxContentTextNumber::ParseHex(std::string_view text)
{
    return int32_t(ParseSigned(text, 16, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// strtod in the "C" locale, for what from_chars does not take (hexadecimal floats, values out of range).
static double ParseDoubleC(std::string_view text)
{
    static const locale_t s_CLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    const std::string copy(text);
    return strtod_l(copy.c_str(), nullptr, s_CLocale);
}

double GxContentTextNumber::ParseDouble(std::string_view text)
{
    std::string_view rest = text;
    const bool negative = SkipSpaceAndSign(rest);
    if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X'))
        return ParseDoubleC(text);
    // from_chars takes no sign of its own: a second sign ("+-1") is no number, as for atof.
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-'))
        return 0.0;
    double value = 0.0;
    const auto result = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return ParseDoubleC(text);
    if (result.ec != std::errc())
        return 0.0;
    return negative ? -value : value;
}

void GxContentTextNumber::AppendInt(std::string& out, int64_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void GxContentTextNumber::AppendUInt(std::string& out, uint64_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// Fixed notation with six decimals, correctly rounded like glibc's "%f" (the largest double needs
// 309 digits before the point).
void GxContentTextNumber::AppendFloat(std::string& out, double value)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    out.append(buffer, result.ptr);
}

void GxContentTextNumber::AppendTag(std::string& out, uint32_t tag)
{
    static const char s_Digits[] = "0123456789abcdef";
    if (tag > 0xFF)
    {
        char buffer[12];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, tag, 16);
        out.append(buffer, result.ptr);
        return;
    }
    out.push_back(s_Digits[tag >> 4]);
    out.push_back(s_Digits[tag & 15]);
}
