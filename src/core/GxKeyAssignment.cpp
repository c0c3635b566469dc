#include "core/GxKeyAssignment.h"

#include "core/GxBinBuffer.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "core/GxString.h"

#include <string>

// DirectInput key codes of the default assignments: the arrow keys and Z X C V A S D F.
static constexpr int32_t kDikUp = 200;
static constexpr int32_t kDikDown = 208;
static constexpr int32_t kDikRight = 205;
static constexpr int32_t kDikLeft = 203;
static constexpr int32_t kDikButtons[GxKeyAssignment::kButtons] = {44, 45, 46, 47, 30, 31, 32, 33};

// Lines of one block, and the line (counted from 1) of each entry.
static constexpr int kBlockLines = 24;
static constexpr int kLineDeviceType = 2;
static constexpr int kLineUp = 4;
static constexpr int kLineDown = 5;
static constexpr int kLineRight = 6;
static constexpr int kLineLeft = 7;
static constexpr int kLineFirstButton = 8;
static constexpr int kLineFirstPadButton = 17;

// The file is read with a line buffer of 256 bytes: a longer line is taken in pieces of 255
// characters, each counting as a line.
static constexpr size_t kMaxLine = 255;

GxKeyAssignment::GxKeyAssignment()
{
    SetDefault();
}

void GxKeyAssignment::SetDefault()
{
    for (int c = 0; c < kColumns; ++c)
    {
        m_Up[c] = kDikUp;
        m_Down[c] = kDikDown;
        m_Right[c] = kDikRight;
        m_Left[c] = kDikLeft;
        for (int b = 0; b < kButtons; ++b)
        {
            m_Button[c][b] = kDikButtons[b];
            m_PadButton[c][b] = b;
        }
    }
    m_DeviceType[0] = 0;
    m_DeviceType[1] = 1;
}

// Reads a decimal integer the way the C library's atoi does: blanks skipped, an optional sign, then
// digits up to the first other character; no digits give 0. Saturates instead of overflowing.
static int32_t ReadInt(const std::string& line)
{
    size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\v' || line[i] == '\f' ||
                               line[i] == '\r' || line[i] == '\n'))
        ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-'))
        negative = line[i++] == '-';
    int64_t value = 0;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9')
    {
        if (value < 0x80000000LL)
            value = value * 10 + (line[i] - '0');
        ++i;
    }
    if (negative)
        value = -value;
    if (value > 0x7FFFFFFF)
        value = 0x7FFFFFFF;
    if (value < -0x80000000LL)
        value = -0x80000000LL;
    return static_cast<int32_t>(value);
}

// True when the line holds a number where the format expects one: blanks, then a sign or a digit.
static bool HoldsNumber(const std::string& line)
{
    size_t i = line.find_first_not_of(" \t\v\f\r\n");
    if (i != std::string::npos && (line[i] == '+' || line[i] == '-'))
        ++i;
    return i < line.size() && line[i] >= '0' && line[i] <= '9';
}

std::wstring GxKeyAssignment::Parse(const char* text, size_t size)
{
    size_t pos = 0;
    auto nextLine = [&](std::string& line) -> bool
    {
        if (pos >= size)
            return false;
        line.clear();
        while (pos < size && line.size() < kMaxLine)
        {
            const char ch = text[pos++];
            line += ch;
            if (ch == '\n')
                break;
        }
        return true;
    };

    int bad = 0;
    int firstBad = 0;
    int lineNumber = 0;
    int endedInBlock = 0; // the block (from 1) the text ended inside, 0 when it ended between blocks
    // A value in [0, limit) is taken (a line with no number reads as 0, as atoi has it); a value out of
    // range keeps the default. Both kinds of line are counted for the report.
    auto take = [&](int32_t& entry, const std::string& line, int32_t value, int32_t limit)
    {
        const bool inRange = value >= 0 && value < limit;
        if (inRange)
            entry = value;
        if ((!inRange || !HoldsNumber(line)) && bad++ == 0)
            firstBad = lineNumber;
    };

    std::string line;
    for (int column = 0; column < kColumns && !endedInBlock; ++column)
    {
        for (int n = 1; n <= kBlockLines; ++n)
        {
            if (!nextLine(line))
            {
                if (n > 1)
                    endedInBlock = column + 1;
                else
                    column = kColumns; // a file that ends between blocks keeps the rest at their defaults
                break;
            }
            ++lineNumber;
            const int32_t v = ReadInt(line);
            if (n == kLineDeviceType)
            {
                // Any value is kept, as before; a type no device has reads as no input and is reported.
                m_DeviceType[column] = v;
                if (!HoldsNumber(line) || v < 0 || v > 2)
                {
                    if (bad++ == 0)
                        firstBad = lineNumber;
                }
            }
            else if (n == kLineUp)
                take(m_Up[column], line, v, kKeyCodes);
            else if (n == kLineDown)
                take(m_Down[column], line, v, kKeyCodes);
            else if (n == kLineRight)
                take(m_Right[column], line, v, kKeyCodes);
            else if (n == kLineLeft)
                take(m_Left[column], line, v, kKeyCodes);
            else if (n >= kLineFirstButton && n < kLineFirstButton + kButtons)
                take(m_Button[column][n - kLineFirstButton], line, v, kKeyCodes);
            else if (n >= kLineFirstPadButton && n < kLineFirstPadButton + kButtons)
                take(m_PadButton[column][n - kLineFirstPadButton], line, v, kPadButtons);
        }
    }

    std::wstring problems;
    if (bad)
        problems = std::to_wstring(bad) + L" value line(s) hold no number, or one out of range that keeps its default (the first " +
                   L"is line " + std::to_wstring(firstBad) + L")";
    if (endedInBlock)
    {
        if (!problems.empty())
            problems += L"; ";
        problems += L"the file ends at line " + std::to_wstring(lineNumber) + L", inside block " +
                    std::to_wstring(endedInBlock) + L" of 24 lines: the rest keep their defaults";
    }
    return problems;
}

bool GxKeyAssignment::Load(const char* path)
{
    // Through the file layer, so a pack or a loose copy can hold it. The file is optional: its absence is
    // asked first so that it is not logged as a failed read.
    const std::wstring name = GxString::FromUtf8(path);
    GxBinBuffer buffer;
    if (GxFile::Exists(name) == GxFile::kAbsent || !GxFile::LoadToBuffer(buffer, name, true))
        return false;
    const std::wstring problems = Parse(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
    if (!problems.empty())
        GxLog::Error(L"GxKeyAssignment/%s: %s\n", name.c_str(), problems.c_str());
    return true;
}
