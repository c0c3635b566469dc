#include "core/GxPath.h"

#include "core/GxString.h"
#include "platform/PfFileSystem.h"

namespace
{

bool IsSeparator(wchar_t c)
{
    return c == L'/' || c == L'\\';
}

// Index of the last "\\", "/" or ":", or npos.
size_t LastSeparatorOrDrive(const std::wstring& path)
{
    return path.find_last_of(L"\\/:");
}

} // namespace

std::string GxPath::ToNative(const std::wstring& path)
{
    return GxString::ToUtf8(path);
}

std::wstring GxPath::GetCurrentDir()
{
    const std::string current = PfFileSystem::GetCurrentFolder();
    if (current.empty())
        return std::wstring();
    std::wstring dir = GxString::ReplaceChar(GxString::FromUtf8(current), L'\\', L'/');
    if (dir.empty() || dir.back() != L'/')
        dir += L'/';
    return dir;
}

std::wstring GxPath::GetMyDocumentsDir()
{
    const std::string dir = PfFileSystem::GetDocumentsFolder();
    if (dir.empty())
        return std::wstring();
    std::wstring wide = GxString::ReplaceChar(GxString::FromUtf8(dir), L'\\', L'/');
    while (wide.size() > 1 && wide.back() == L'/')
        wide.pop_back();
    return wide;
}

bool GxPath::DirectoryExists(const std::wstring& path)
{
    PfFileInfo info;
    std::string native = ToNative(path);
    return !native.empty() && PfFileSystem::GetInfo(native, info) && info.m_IsDirectory;
}

bool GxPath::CreateDirectory(const std::wstring& path)
{
    std::string native = ToNative(path);
    return !native.empty() && PfFileSystem::MakeFolder(native);
}

std::wstring GxPath::AddTrailingSeparator(const std::wstring& path, wchar_t separator)
{
    if (path.empty() || IsSeparator(path.back()))
        return path;
    return path + separator;
}

std::wstring GxPath::RemoveTrailingSeparator(const std::wstring& path)
{
    if (!path.empty() && IsSeparator(path.back()))
        return path.substr(0, path.size() - 1);
    return path;
}

std::wstring GxPath::Combine(const std::wstring& folder, const std::wstring& name, wchar_t separator)
{
    if (folder.empty())
        return name;
    if (IsSeparator(folder.back()))
        return folder + name;
    return folder + separator + name;
}

std::wstring GxPath::GetDirectory(const std::wstring& path)
{
    size_t at = LastSeparatorOrDrive(path);
    return at == std::wstring::npos ? std::wstring() : path.substr(0, at + 1);
}

std::wstring GxPath::GetFileName(const std::wstring& path)
{
    size_t at = LastSeparatorOrDrive(path);
    return at == std::wstring::npos ? path : path.substr(at + 1);
}

std::wstring GxPath::GetBaseName(const std::wstring& path)
{
    std::wstring name = GetFileName(path);
    size_t dot = name.find(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::wstring GxPath::GetExtension(const std::wstring& path)
{
    size_t at = path.find_last_of(L".\\/:");
    if (at == std::wstring::npos || path[at] != L'.')
        return std::wstring();
    return path.substr(at);
}

std::wstring GxPath::ChangeExtension(const std::wstring& path, const std::wstring& extension)
{
    size_t at = path.find_last_of(L".\\/:");
    if (at == std::wstring::npos || path[at] != L'.')
        return path;
    return path.substr(0, at) + extension;
}

bool GxPath::HasExtension(const std::wstring& path, const std::wstring& extension)
{
    return GxString::CompareNoCase(GetExtension(path), extension) == 0;
}

std::wstring GxPath::GetFullPath(const std::wstring& path)
{
    if (path.empty())
        return std::wstring();
    std::wstring text = GxString::ReplaceChar(path, L'\\', L'/');
    if (text[0] != L'/')
    {
        std::wstring current = GetCurrentDir();
        if (current.empty())
            return std::wstring();
        text = current + text;
    }
    // Resolve "." and ".." in the text; ".." at the root stays at the root.
    std::vector<std::wstring> parts;
    size_t pos = 0;
    while (pos <= text.size())
    {
        size_t next = text.find(L'/', pos);
        if (next == std::wstring::npos)
            next = text.size();
        std::wstring part = text.substr(pos, next - pos);
        if (part == L"..")
        {
            if (!parts.empty())
                parts.pop_back();
        }
        else if (!part.empty() && part != L".")
            parts.push_back(part);
        pos = next + 1;
    }
    std::wstring full;
    for (const std::wstring& part : parts)
        full += L"/" + part;
    if (full.empty())
        full = L"/";
    // A trailing separator of the input is kept, as the system's full-path call keeps it.
    if (IsSeparator(path.back()) && full.back() != L'/')
        full += L'/';
    return full;
}
