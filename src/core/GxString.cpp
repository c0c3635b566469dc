// Case changes, trimming, searching and character widths. Formatting lives in GxStringFormat.cpp,
// the code-page conversions in GxStringConvert.cpp.
#include "core/GxString.h"

#include <cwchar>

namespace
{

wchar_t LowerAscii(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
}

wchar_t UpperAscii(wchar_t c)
{
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - (L'a' - L'A')) : c;
}

bool IsBlank(wchar_t c)
{
    return c >= 0 && c <= 32;
}

bool IsLineEnd(wchar_t c)
{
    return c == L'\r' || c == L'\n';
}

} // namespace

std::wstring GxString::ToLower(const std::wstring& s)
{
    std::wstring out(s);
    for (wchar_t& c : out)
        c = LowerAscii(c);
    return out;
}

std::wstring GxString::ToUpper(const std::wstring& s)
{
    std::wstring out(s);
    for (wchar_t& c : out)
        c = UpperAscii(c);
    return out;
}

int GxString::CompareNoCase(const std::wstring& a, const std::wstring& b)
{
    // Compared up to the first NUL of either, as the C comparison does.
    const wchar_t* p = a.c_str();
    const wchar_t* q = b.c_str();
    for (;; ++p, ++q)
    {
        wchar_t x = LowerAscii(*p);
        wchar_t y = LowerAscii(*q);
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
}

std::wstring GxString::Trim(const std::wstring& s, int mode)
{
    if (mode == TrimNone || s.empty())
        return s;
    bool (*removed)(wchar_t) = mode > TrimBoth ? IsLineEnd : IsBlank;
    bool leading = mode > TrimBoth || mode == TrimLeading || mode == TrimBoth;
    bool trailing = mode > TrimBoth || mode == TrimTrailing || mode == TrimBoth;
    size_t begin = 0;
    size_t end = s.size();
    if (leading)
        while (begin < end && removed(s[begin]))
            ++begin;
    if (trailing)
        while (end > begin && removed(s[end - 1]))
            --end;
    return s.substr(begin, end - begin);
}

std::wstring GxString::CharAt(const std::wstring& s, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= s.size())
        return std::wstring();
    return std::wstring(1, s[static_cast<size_t>(index)]);
}

std::wstring GxString::Join(const std::vector<std::wstring>& list, const std::wstring& separator)
{
    std::wstring out;
    for (size_t i = 0; i < list.size(); ++i)
    {
        if (i > 0)
            out += separator;
        out += list[i];
    }
    return out;
}

wchar_t* GxString::Copy(wchar_t* destination, const wchar_t* source)
{
    return std::wcscpy(destination, source);
}

int GxString::Find(const std::wstring& s, const std::wstring& what, int from)
{
    if (from < 0)
        from = 0;
    size_t at = s.find(what, static_cast<size_t>(from));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int GxString::FindFirstOf(const std::wstring& s, const std::wstring& set, int from)
{
    if (from < 0)
        from = 0;
    size_t at = s.find_first_of(set, static_cast<size_t>(from));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int GxString::FindLastOf(const std::wstring& s, const std::wstring& set, int from)
{
    size_t start = from < 0 ? std::wstring::npos : static_cast<size_t>(from);
    size_t at = s.find_last_of(set, start);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

std::wstring GxString::ReplaceAll(const std::wstring& s, const std::wstring& what, const std::wstring& with)
{
    if (what.empty())
        return s;
    std::wstring out;
    out.reserve(s.size());
    size_t pos = 0;
    for (;;)
    {
        size_t at = s.find(what, pos);
        if (at == std::wstring::npos)
            break;
        out.append(s, pos, at - pos);
        out += with;
        pos = at + what.size();
    }
    out.append(s, pos, std::wstring::npos);
    return out;
}

std::wstring GxString::ReplaceChar(const std::wstring& s, wchar_t from, wchar_t to)
{
    std::wstring out(s);
    for (wchar_t& c : out)
        if (c == from)
            c = to;
    return out;
}

int GxString::GetCharWidthUnits(wchar_t c)
{
    // Half-width: ASCII, the half-width katakana, Hangul and forms block (U+FF61..U+FFDC) and the
    // half-width symbols U+FFE8..U+FFEE. Everything else, Latin-1 and the other characters a Japanese
    // font may set either way included, takes a full-width cell.
    auto u = static_cast<uint32_t>(c);
    if (u < 0x80 || (u >= 0xFF61 && u <= 0xFFDC) || (u >= 0xFFE8 && u <= 0xFFEE))
        return 1;
    return 2;
}

uint32_t GxString::ToSingleByteCode(wchar_t c)
{
    const auto u = static_cast<uint32_t>(c);
    if (u <= 0x80)
        return u;
    if (u >= 0xFF61 && u <= 0xFF9F)
        return u - 0xFEC0;
    if (u >= 0xF8F1 && u <= 0xF8F3)
        return u - 0xF8F1 + 0xFD;
    return (u & ~0xFFu) | (u == 0xF8F0 ? 0xA0u : 0x20u);
}

int GxString::GetWidthUnits(const std::wstring& s)
{
    int units = 0;
    for (wchar_t c : s)
    {
        if (c == 0)
            break;
        units += GetCharWidthUnits(c);
    }
    return units;
}
