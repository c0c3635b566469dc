#include "core/GxPath.h"

#include "core/GxString.h"

#include <climits>
#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

std::string HomeDir()
{
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != 0)
        return home;
    struct passwd* entry = getpwuid(getuid());
    if (entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return std::string();
}

// The value of XDG_DOCUMENTS_DIR in user-dirs.dirs: a quoted path, absolute or starting with $HOME.
std::string XdgDocumentsDir(const std::string& home)
{
    std::string configHome;
    const char* xdgConfig = std::getenv("XDG_CONFIG_HOME");
    if (xdgConfig != nullptr && xdgConfig[0] == '/')
        configHome = xdgConfig;
    else
        configHome = home + "/.config";
    std::ifstream file(configHome + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(file, line))
    {
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0)
            continue;
        std::string value = line.substr(start + key.size());
        while (!value.empty() && (value.back() == '\r' || value.back() == ' ' || value.back() == '\t'))
            value.pop_back();
        if (value.size() < 2 || value.front() != '"' || value.back() != '"')
            continue;
        value = value.substr(1, value.size() - 2);
        if (value.compare(0, 5, "$HOME") == 0)
            value = home + value.substr(5);
        else if (value.empty() || value[0] != '/')
            continue;
        return value;
    }
    return std::string();
}

} // namespace

std::string GxPath::ToNative(const std::wstring& path)
{
    return GxString::ToUtf8(path);
}

std::wstring GxPath::GetCurrentDir()
{
    std::vector<char> buffer(PATH_MAX);
    if (::getcwd(buffer.data(), buffer.size()) == nullptr)
        return std::wstring();
    std::wstring dir = GxString::ReplaceChar(GxString::FromUtf8(buffer.data()), L'\\', L'/');
    if (dir.empty() || dir.back() != L'/')
        dir += L'/';
    return dir;
}

std::wstring GxPath::GetMyDocumentsDir()
{
    std::string home = HomeDir();
    if (home.empty())
        return std::wstring();
    std::string dir = XdgDocumentsDir(home);
    if (dir.empty())
        dir = home + "/Documents";
    std::wstring wide = GxString::ReplaceChar(GxString::FromUtf8(dir), L'\\', L'/');
    while (wide.size() > 1 && wide.back() == L'/')
        wide.pop_back();
    return wide;
}

bool GxPath::DirectoryExists(const std::wstring& path)
{
    struct stat info;
    std::string native = ToNative(path);
    return !native.empty() && ::stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool GxPath::CreateDirectory(const std::wstring& path)
{
    std::string native = ToNative(path);
    return !native.empty() && ::mkdir(native.c_str(), 0755) == 0;
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
