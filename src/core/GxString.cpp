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
    auto u = static_cast<uint32_t>(c);
    if (u < 0x80)
        return 1;
    // Half-width katakana and the half-width forms.
    if ((u >= 0xFF61 && u <= 0xFF9F) || (u >= 0xFFE8 && u <= 0xFFEE))
        return 1;
    // Full-width: the East Asian wide and full-width blocks, plus the symbols a Japanese font sets at
    // full width because the system code page holds them as double-byte characters (Greek, Cyrillic,
    // punctuation such as quotes and the ellipsis, arrows, mathematical signs, box drawing, shapes).
    struct Range
    {
        uint32_t first, last;
    };
    static const Range s_Full[] = {
        {0x00A7, 0x00A8},   {0x00B0, 0x00B1},   {0x00B4, 0x00B4},   {0x00B6, 0x00B6}, {0x00D7, 0x00D7},
        {0x00F7, 0x00F7},   {0x0391, 0x03C9},   {0x0401, 0x0451},   {0x1100, 0x115F}, {0x2010, 0x203B},
        {0x2100, 0x22FF},   {0x2300, 0x23FF},   {0x2460, 0x24FF},   {0x2500, 0x257F}, {0x25A0, 0x25FF},
        {0x2600, 0x26FF},   {0x2700, 0x27BF},   {0x2E80, 0x303E},   {0x3040, 0xA4CF}, {0xAC00, 0xD7A3},
        {0xE000, 0xF8FF},   {0xF900, 0xFAFF},   {0xFE30, 0xFE4F},   {0xFF01, 0xFF60}, {0xFFE0, 0xFFE6},
        {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x3FFFD},
    };
    for (const Range& r : s_Full)
        if (u >= r.first && u <= r.last)
            return 2;
    return 1;
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
