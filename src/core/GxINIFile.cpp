#include "core/GxINIFile.h"

#include "core/GxBinBuffer.h"
#include "core/GxFile.h"
#include "core/GxString.h"

#include <climits>
#include <cstring>
#include <vector>

bool GxINIFile::Load(const std::wstring& path)
{
    m_Values.clear();
    GxBinBuffer buffer;
    if (!GxFile::LoadToBufferTerminated(buffer, path))
        return false;
    const char* bytes = reinterpret_cast<const char*>(buffer.GetData());
    Parse(bytes ? GxString::ToWide(std::string(bytes, strnlen(bytes, buffer.GetSize()))) : L"", nullptr);
    return true;
}

bool GxINIFile::LoadSection(const std::wstring& path, const std::wstring& section)
{
    m_Values.clear();
    // Asked first, so that a file the desktop lacks (most of the places searched) logs nothing.
    GxBinBuffer buffer;
    if (!GxFile::CanOpen(path) || !GxFile::LoadToBufferTerminated(buffer, path))
        return false;
    const char* bytes = reinterpret_cast<const char*>(buffer.GetData());
    Parse(bytes ? GxString::FromUtf8(std::string(bytes, strnlen(bytes, buffer.GetSize()))) : L"", &section);
    return true;
}

void GxINIFile::Parse(const std::wstring& text, const std::wstring* section)
{
    std::vector<std::wstring> pieces;
    GxString::TokenizeW(pieces, text, L"\n");
    bool inSection = section == nullptr;
    for (const std::wstring& raw : pieces)
    {
        const std::wstring piece = GxString::Trim(raw, 4);
        if (section && !piece.empty() && piece[0] == L'[')
        {
            inSection = piece == L"[" + *section + L"]";
            continue;
        }
        if (!inSection)
            continue;
        const size_t equals = piece.find(L'=');
        if (equals == std::wstring::npos)
            continue;
        std::wstring key = GxString::Trim(piece.substr(0, equals), 3);
        std::wstring value = GxString::Trim(piece.substr(equals + 1), 3);
        m_Values.emplace(std::move(key), std::move(value)); // the first occurrence of a key wins
    }
}

std::wstring GxINIFile::GetString(const std::wstring& key, const std::wstring& defaultValue) const
{
    auto it = m_Values.find(key);
    return it != m_Values.end() ? it->second : defaultValue;
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
    auto it = m_Values.find(key);
    return it != m_Values.end() ? ParseDecimal(it->second) : defaultValue;
}

bool GxINIFile::GetBool(const std::wstring& key, bool defaultValue) const
{
    auto it = m_Values.find(key);
    return it != m_Values.end() ? ParseDecimal(it->second) > 0 : defaultValue;
}
