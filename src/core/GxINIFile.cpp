#include "core/GxINIFile.h"

#include "core/GxBinBuffer.h"
#include "core/GxFile.h"
#include "core/GxString.h"

#include <climits>
#include <cstring>
#include <vector>

void GxINIFile::Clear()
{
    m_Values.clear();
    m_KeyLines.clear();
    m_NotPairs.clear();
    m_Asked.clear();
    m_Empty = false;
    m_NulOffset = std::wstring::npos;
}

bool GxINIFile::Load(const std::wstring& path)
{
    Clear();
    GxBinBuffer buffer;
    if (!GxFile::LoadToBufferTerminated(buffer, path))
        return false;
    Parse(buffer, Encoding::CodePage, nullptr);
    return true;
}

bool GxINIFile::LoadSection(const std::wstring& path, const std::wstring& section)
{
    Clear();
    // Asked first, so that a file the desktop lacks (most of the places searched) logs nothing.
    GxBinBuffer buffer;
    if (!GxFile::CanOpen(path) || !GxFile::LoadToBufferTerminated(buffer, path))
        return false;
    Parse(buffer, Encoding::Utf8, &section);
    return true;
}

void GxINIFile::Parse(const GxBinBuffer& buffer, Encoding encoding, const std::wstring* section)
{
    const char* bytes = reinterpret_cast<const char*>(buffer.GetData());
    // The buffer holds the file and two terminating NULs; a NUL inside the file ends the text early.
    const size_t size = buffer.GetSize() >= 2 ? buffer.GetSize() - 2 : 0;
    const size_t length = bytes ? strnlen(bytes, size) : 0;
    m_Empty = size == 0;
    if (length < size)
        m_NulOffset = length;
    const std::string narrow = length ? std::string(bytes, length) : std::string();
    const std::wstring text = encoding == Encoding::Utf8 ? GxString::FromUtf8(narrow) : GxString::ToWide(narrow);

    int number = 0;
    bool inSection = section == nullptr;
    for (size_t start = 0; start < text.size();)
    {
        size_t stop = text.find(L'\n', start);
        if (stop == std::wstring::npos)
            stop = text.size();
        const std::wstring piece = GxString::Trim(text.substr(start, stop - start), 4);
        start = stop + 1;
        ++number;
        if (section && !piece.empty() && piece[0] == L'[')
        {
            inSection = piece == L"[" + *section + L"]";
            continue;
        }
        if (!inSection)
            continue;
        const size_t equals = piece.find(L'=');
        if (equals == std::wstring::npos)
        {
            if (!piece.empty())
                m_NotPairs.push_back({number, piece});
            continue;
        }
        std::wstring key = GxString::Trim(piece.substr(0, equals), 3);
        std::wstring value = GxString::Trim(piece.substr(equals + 1), 3);
        if (m_Values.emplace(key, std::move(value)).second) // the first occurrence of a key wins
            m_KeyLines.push_back({number, std::move(key)});
    }
}

const std::wstring* GxINIFile::Find(const std::wstring& key) const
{
    m_Asked.insert(key);
    auto it = m_Values.find(key);
    return it != m_Values.end() ? &it->second : nullptr;
}

std::wstring GxINIFile::GetString(const std::wstring& key, const std::wstring& defaultValue) const
{
    const std::wstring* value = Find(key);
    return value ? *value : defaultValue;
}

// A line quoted in a message: control characters (as garbage bytes make them) shown as "?", and no more
// than 40 characters.
static std::wstring Quote(const std::wstring& text)
{
    std::wstring shown = text.substr(0, 40);
    for (wchar_t& c : shown)
        if (c < L' ')
            c = L'?';
    return L"\"" + shown + (text.size() > 40 ? L"…\"" : L"\"");
}

std::wstring GxINIFile::DescribeProblems() const
{
    if (m_Empty)
        return L"the file is empty: every setting keeps its default";
    std::wstring out;
    if (m_NulOffset != std::wstring::npos)
        out = GxString::Format(L"a NUL byte at offset %d ends the text: nothing after it is read",
                               static_cast<int>(m_NulOffset));
    std::vector<const LineRef*> ignored;
    for (const LineRef& line : m_NotPairs)
        ignored.push_back(&line);
    for (const LineRef& key : m_KeyLines)
        if (!m_Asked.count(key.m_Text))
            ignored.push_back(&key);
    if (ignored.empty())
        return out;
    const LineRef* first = ignored.front();
    for (const LineRef* line : ignored)
        if (line->m_Number < first->m_Number)
            first = line;
    if (!out.empty())
        out += L"; ";
    out += GxString::Format(L"%d line(s) are no known \"key=value\" and were ignored (the first is line %d: %s)",
                            static_cast<int>(ignored.size()), first->m_Number, Quote(first->m_Text).c_str());
    return out;
}

// The runtime library's base-10 conversion, without its dependence on the process locale: leading white
// space and one sign, digits up to the first other character, clamped to the 32-bit range.
static int ParseDecimal(const std::wstring& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+'))
        negative = text[i++] == L'-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
    {
        value = value * 10 + (text[i] - L'0');
        if (value > static_cast<int64_t>(INT_MAX) + 1)
            value = static_cast<int64_t>(INT_MAX) + 1; // further digits cannot bring it back in range
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

int GxINIFile::GetInt(const std::wstring& key, int defaultValue) const
{
    const std::wstring* value = Find(key);
    return value ? ParseDecimal(*value) : defaultValue;
}

bool GxINIFile::GetBool(const std::wstring& key, bool defaultValue) const
{
    const std::wstring* value = Find(key);
    return value ? ParseDecimal(*value) > 0 : defaultValue;
}
