#include "adventure/GxMoaDumpFile.h"

#include "core/GxAtomicFile.h"
#include "core/GxPath.h"
#include "core/GxString.h"

std::string GxMoaDumpFile::Encode(const std::wstring& text)
{
    std::wstring lines;
    lines.reserve(text.size() + text.size() / 16 + 1);
    lines += L'\uFEFF';
    for (wchar_t c : text)
    {
        if (c == L'\n')
            lines += L'\r';
        lines += c;
    }
    return GxString::ToUtf16LE(lines);
}

bool GxMoaDumpFile::Write(const std::wstring& path, const std::wstring& text)
{
    const std::wstring folder = GxPath::GetDirectory(path);
    if (!folder.empty() && !GxPath::DirectoryExists(folder))
        return false;
    const std::string bytes = Encode(text);
    return GxAtomicFile::WriteFile(path, bytes.data(), bytes.size());
}
