#include "core/GxText.h"

#include "core/GxBinBuffer.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "core/GxString.h"

#include <algorithm>
#include <cstring>

// Bytes taken by the narrow character at p: a CP932 lead byte joins the byte after it unless that byte
// is a NUL or lies past the end.
static inline size_t CharLength(const char* p, const char* end, GxText::Charset charset)
{
    if (charset == GxText::kCharsetAnsi && GxText::IsLeadByte(static_cast<uint8_t>(*p)) && p + 1 < end && p[1] != 0)
        return 2;
    return 1;
}

// Appends one UTF-16 unit to wide text, joining a low surrogate to the high surrogate before it.
static inline void AppendUnit(std::wstring& out, uint32_t unit)
{
    if (unit >= 0xDC00 && unit <= 0xDFFF && !out.empty())
    {
        uint32_t high = static_cast<uint32_t>(out.back());
        if (high >= 0xD800 && high <= 0xDBFF)
        {
            out.back() = static_cast<wchar_t>(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(unit));
}

int GxText::DetectBOM(const uint8_t* bytes, size_t size)
{
    if (!bytes)
        return kBomNone;
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return kBomUtf8;
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return kBomUtf16LE;
    if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return kBomUtf16BE;
    return kBomNone;
}

// The line walk shared by ReadLine and ReadLineW. Unit is char or char16_t; Take appends (or skips) the
// character at p and returns how many units it took.
template <typename Unit, typename Take>
static const Unit* WalkLine(const Unit* p, uint32_t& lineCount, const Unit* end, Take take)
{
    bool passedLF = false;
    while (p < end)
    {
        const Unit c = *p;
        if (c == 0)
            break;
        if (passedLF && c != '\r' && c != '\f')
            break; // begins the next line (a second LF too)
        if (c == '\n')
        {
            ++lineCount;
            passedLF = true;
            ++p;
            continue;
        }
        if (c == '\r' || c == '\f')
        {
            ++p;
            continue;
        }
        p += take(p);
    }
    return p;
}

void GxText::ReadLine(std::string& out, const char* start, const char*& position, uint32_t& lineCount, const char* end,
                      Charset charset)
{
    out.clear();
    position = WalkLine(start, lineCount, end,
                        [&](const char* p)
                        {
                            size_t n = CharLength(p, end, charset);
                            out.append(p, n);
                            return n;
                        });
}

void GxText::ReadLineW(std::wstring& out, const char16_t* start, const char16_t*& position, uint32_t& lineCount,
                       const char16_t* end)
{
    out.clear();
    position = WalkLine(start, lineCount, end,
                        [&](const char16_t* p)
                        {
                            AppendUnit(out, *p);
                            return size_t{1};
                        });
}

void GxText::ReadLineW(std::wstring& out, const wchar_t* start, const wchar_t*& position, uint32_t& lineCount,
                       const wchar_t* end)
{
    out.clear();
    position = WalkLine(start, lineCount, end,
                        [&](const wchar_t* p)
                        {
                            out.push_back(*p);
                            return size_t{1};
                        });
}

void GxText::SkipLine(const char* start, const char*& position, uint32_t& lineCount, const char* end)
{
    position = WalkLine(start, lineCount, end, [](const char*) { return size_t{1}; });
}

// The control character an escape letter stands for (\f \n \r \t \v), or 0 for a character that stands
// for itself after a backslash.
static char EscapedControl(uint32_t letter)
{
    switch (letter)
    {
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case 'v':
        return '\v';
    }
    return 0;
}

// The quoted-string walk shared by ReadQuotedString and ReadQuotedStringW: from the opening quote to just
// past the closing one (or to a NUL or the end), bare CR and FF dropped. Returns start when the text does
// not open with a quote. Take appends the character at p to out and returns how many units it took.
template <typename Unit, typename String, typename Take>
static const Unit* WalkQuoted(String& out, const Unit* start, uint32_t& lineCount, const Unit* end, Take take)
{
    out.clear();
    if (!start || start >= end || *start != '"')
        return start;
    const Unit* p = start + 1;
    while (p < end)
    {
        const Unit c = *p;
        if (c == 0)
            break;
        if (c == '"')
        {
            ++p;
            break;
        }
        if (c == '\\' && p + 1 < end && p[1] != 0)
        {
            ++p;
            if (const char control = EscapedControl(static_cast<uint32_t>(*p)))
            {
                out.push_back(control);
                ++p;
                continue;
            }
            if (*p == '\n')
                ++lineCount;
            p += take(p);
            continue;
        }
        if (c == '\n')
        {
            ++lineCount;
            ++p;
            continue;
        }
        if (c == '\r' || c == '\f')
        {
            ++p;
            continue;
        }
        p += take(p);
    }
    return p;
}

void GxText::ReadQuotedString(std::string& out, const char* start, const char*& position, uint32_t& lineCount,
                              const char* end, Charset charset)
{
    position = WalkQuoted(out, start, lineCount, end,
                          [&](const char* p)
                          {
                              size_t n = CharLength(p, end, charset);
                              out.append(p, n);
                              return n;
                          });
}

template <typename Unit>
static void ReadQuotedWide(std::wstring& out, const Unit* start, const Unit*& position, uint32_t& lineCount,
                           const Unit* end)
{
    position = WalkQuoted(out, start, lineCount, end,
                          [&](const Unit* p)
                          {
                              AppendUnit(out, static_cast<uint32_t>(*p));
                              return size_t{1};
                          });
}

void GxText::ReadQuotedStringW(std::wstring& out, const char16_t* start, const char16_t*& position, uint32_t& lineCount,
                               const char16_t* end)
{
    ReadQuotedWide(out, start, position, lineCount, end);
}

void GxText::ReadQuotedStringW(std::wstring& out, const wchar_t* start, const wchar_t*& position, uint32_t& lineCount,
                               const wchar_t* end)
{
    ReadQuotedWide(out, start, position, lineCount, end);
}

// The line (from 1) of the unit at `at`: one more than the line feeds before it.
template <typename Unit> static uint32_t LineOf(const Unit* begin, const Unit* at)
{
    return 1 + static_cast<uint32_t>(std::count(begin, at, static_cast<Unit>('\n')));
}

static bool IsPlainAscii(const std::string& s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool GxText::LoadLines(std::vector<std::wstring>& lines, const std::wstring& name, bool skipEmpty, bool* endsInsideLine)
{
    return LoadLines(
        name, skipEmpty, [&](const std::wstring& line) { lines.push_back(line); }, endsInsideLine);
}

bool GxText::ReadLines(std::vector<std::wstring>& lines, const uint8_t* bytes, size_t size, bool skipEmpty,
                       bool* endsInsideLine, uint32_t* nulLine)
{
    return ReadLines(
        bytes, size, skipEmpty, [&](const std::wstring& line) { lines.push_back(line); }, endsInsideLine, nulLine);
}

bool GxText::LoadLines(const std::wstring& name, bool skipEmpty, const LineVisitor& each, bool* endsInsideLine)
{
    if (endsInsideLine)
        *endsInsideLine = false;
    GxBinBuffer buffer;
    // A file that is missing or cannot be read has been logged by the file layer.
    if (!GxFile::LoadToBuffer(buffer, name, false))
        return false;
    const size_t size = buffer.GetSize();
    const uint8_t* bytes = static_cast<const uint8_t*>(buffer.GetData());
    if (size == 0 || !bytes)
    {
        GxLog::Error(L"File read error:%s (the file is empty)\n", name.c_str());
        return false;
    }
    if (DetectBOM(bytes, size) == kBomUtf16BE)
    {
        GxLog::Error(L"File read error:%s (UTF-16 big-endian text is not read; save it as UTF-8 or UTF-16LE)\n",
                     name.c_str());
        return false;
    }
    uint32_t nulLine = 0;
    const bool read = ReadLines(bytes, size, skipEmpty, each, endsInsideLine, &nulLine);
    // A text file holds no NUL: one there is damage (a garbled copy, a disk that lost a block), and
    // every line from it on is missing from what the caller gets.
    if (nulLine != 0)
        GxLog::Error(L"File read error:%s (a NUL byte on line %u ends the text: what comes before it is "
                     L"read, nothing after it)\n",
                     name.c_str(), nulLine);
    return read;
}

bool GxText::ReadLines(const uint8_t* bytes, size_t size, bool skipEmpty, const LineVisitor& each, bool* endsInsideLine,
                       uint32_t* nulLine)
{
    if (endsInsideLine)
        *endsInsideLine = false;
    if (nulLine)
        *nulLine = 0;
    if (size == 0 || !bytes)
        return false;
    const int bom = DetectBOM(bytes, size);
    if (bom == kBomUtf16BE)
        return false;

    uint32_t lineCount = 0;
    if (bom == kBomUtf16LE)
    {
        // Copied into units so that the walk never reads a 16-bit value at an odd address; an odd last
        // byte is no whole unit and is left out.
        std::u16string units(size / 2, u'\0');
        std::memcpy(units.data(), bytes, units.size() * 2);
        const char16_t* begin = units.data() + 1; // past U+FEFF
        const char16_t* whole = units.data() + units.size();
        const char16_t* end = std::find(begin, whole, u'\0'); // a NUL ends the text
        const bool endedByNul = end != whole;
        if (endedByNul && nulLine)
            *nulLine = LineOf(begin, end);
        if (endsInsideLine)
            *endsInsideLine = end > begin && end[-1] != u'\n' && !endedByNul;
        std::wstring line;
        for (const char16_t* p = begin; p < end;)
        {
            const char16_t* next = p;
            ReadLineW(line, p, next, lineCount, end);
            if (next == p)
                break;
            p = next;
            if (!(skipEmpty && line.empty()))
                each(line);
        }
        return true;
    }

    const char* begin = reinterpret_cast<const char*>(bytes) + (bom == kBomUtf8 ? 3 : 0);
    const char* end = reinterpret_cast<const char*>(bytes) + size;
    bool endedByNul = false;
    if (const void* nul = std::memchr(begin, 0, static_cast<size_t>(end - begin)))
    {
        end = static_cast<const char*>(nul); // a NUL ends the text
        endedByNul = true;
        if (nulLine)
            *nulLine = LineOf(begin, end);
    }
    if (endsInsideLine)
        *endsInsideLine = end > begin && end[-1] != '\n' && !endedByNul;
    const Charset charset = bom == kBomUtf8 ? kCharsetUtf8 : kCharsetAnsi;
    std::string line;
    std::wstring wide;
    for (const char* p = begin; p < end;)
    {
        const char* next = p;
        ReadLine(line, p, next, lineCount, end, charset);
        if (next == p)
            break;
        p = next;
        if (skipEmpty && line.empty())
            continue;
        if (IsPlainAscii(line))
            wide.assign(line.begin(), line.end());
        else
            wide = charset == kCharsetUtf8 ? GxString::FromUtf8(line) : GxString::ToWide(line);
        each(wide);
    }
    return true;
}
