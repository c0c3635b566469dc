// GxString: cutting text into fields and reading numbers from them (tables, maps, the content text form
// and text input fields).
#include "core/GxString.h"

static int DigitValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'z')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'Z')
        return c - L'A' + 10;
    return -1;
}

template <typename String>
static int TokenizeAny(std::vector<String>& fields, const String& text, const String& separator)
{
    fields.clear();
    if (separator.empty())
    {
        fields.push_back(text);
        return 1;
    }
    size_t start = 0;
    for (;;)
    {
        size_t at = text.find(separator, start);
        if (at == String::npos)
            break;
        fields.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    fields.push_back(text.substr(start));
    return static_cast<int>(fields.size());
}

int GxString::Tokenize(std::vector<std::string>& fields, const std::string& text, const std::string& separator)
{
    return TokenizeAny(fields, text, separator);
}

int GxString::TokenizeW(std::vector<std::wstring>& fields, const std::wstring& text, const std::wstring& separator)
{
    return TokenizeAny(fields, text, separator);
}

int GxString::Split(std::vector<std::wstring>& fields, const std::wstring& text, const std::wstring& separator,
                    int count)
{
    fields.clear();
    if (count <= 0)
        return 0;
    const size_t want = static_cast<size_t>(count);
    fields.reserve(want);
    size_t start = 0;
    bool rest = true;
    if (!separator.empty())
    {
        for (;;)
        {
            size_t at = text.find(separator, start);
            if (at == std::wstring::npos)
                break;
            if (fields.size() == want)
            {
                rest = false; // the rest of the line is dropped
                break;
            }
            fields.push_back(text.substr(start, at - start));
            start = at + separator.size();
        }
    }
    if (rest && fields.size() < want)
        fields.push_back(text.substr(start));
    fields.resize(want);
    return count;
}

int32_t GxString::ToInt(const wchar_t* text, const wchar_t** end, int base, bool noOctal)
{
    if (!text)
    {
        if (end)
            *end = nullptr;
        return 0;
    }
    const wchar_t* p = text;
    while (*p == L' ' || *p == L'\t')
        ++p;
    bool negative = false;
    if (*p == L'-' || *p == 0xFF0D)
    {
        negative = true;
        ++p;
    }
    else if (*p == L'+' || *p == 0xFF0B)
        ++p;

    const bool hexPrefix = p[0] == L'0' && (p[1] == L'x' || p[1] == L'X');
    const bool binPrefix = p[0] == L'0' && (p[1] == L'b' || p[1] == L'B');
    int maxDigits;
    if (base == 0)
    {
        if (hexPrefix)
        {
            base = 16;
            maxDigits = 8;
            p += 2;
        }
        else if (binPrefix)
        {
            base = 2;
            maxDigits = 32;
            p += 2;
        }
        else if (p[0] == L'0' && !noOctal)
        {
            base = 8;
            maxDigits = 11;
            p += 1;
        }
        else
        {
            base = 10;
            maxDigits = 10;
        }
    }
    else if (base == 8)
    {
        maxDigits = 11;
        if (*p == L'0')
            ++p;
    }
    else if (base == 16)
    {
        maxDigits = 8;
        if (hexPrefix)
            p += 2;
    }
    else if (base == 2)
    {
        maxDigits = 32;
        if (binPrefix)
            p += 2;
    }
    else if (base == 10)
        maxDigits = 10;
    else if (base >= 3 && base <= 35)
        maxDigits = 32;
    else
    {
        if (end)
            *end = p;
        return 0;
    }

    // Gathered in 64 unsigned bits (wrapping for the long digit runs of the large bases); the result is
    // the low 32 bits with the sign.
    uint64_t value = 0;
    for (int n = 0; n < maxDigits; ++n, ++p)
    {
        int digit = DigitValue(*p);
        if (digit < 0 || digit >= base)
            break;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    }
    if (end)
        *end = p;
    uint32_t low = static_cast<uint32_t>(value);
    return static_cast<int32_t>(negative ? 0u - low : low);
}

int GxString::ScanNumber(const wchar_t* text, int* length, const wchar_t* end)
{
    int taken = 0;
    if (length)
        *length = 0;
    if (!text || text >= end)
        return 0;
    const wchar_t* p = text;
    if (*p == L'-' || *p == L'+')
        ++p;
    const wchar_t* digits = p;
    bool hex = false;
    if (p < end && *p == L'0')
    {
        ++p;
        // The "x" must be the token's second character, counting any sign, so "-0x1" reads as "-0".
        if (p < end && (*p == L'x' || *p == L'X') && p - text == 1)
        {
            hex = true;
            ++p;
        }
    }
    while (p < end && (hex ? (DigitValue(*p) >= 0 && DigitValue(*p) < 16) : (*p >= L'0' && *p <= L'9')))
        ++p;
    taken = static_cast<int>(p - digits);
    int kind = 0;
    if (hex)
        kind = taken > 2 ? 2 : 0;
    else if (taken >= 1)
        kind = 1;
    if (kind != 0 && length)
        *length = static_cast<int>(p - text);
    return kind;
}

std::wstring GxString::Unquote(const std::wstring& text, size_t position)
{
    if (position >= text.size())
        return std::wstring();
    const wchar_t quote = text[position];
    if (quote != L'"' && quote != L'\'')
        return text.substr(position);
    bool escaped = false;
    for (size_t i = position + 1; i < text.size(); ++i)
    {
        const wchar_t c = text[i];
        if (c == L'\\')
        {
            const wchar_t next = i + 1 < text.size() ? text[i + 1] : L'\0';
            escaped = (next == L'"' || next == L'\'') ? !escaped : false;
        }
        else if (c == quote && !escaped)
            return text.substr(position + 1, i - position - 1);
        else
            escaped = false;
    }
    return text.substr(position + 1);
}
