// File names written without extension, completed by trying the extensions of their kind.
#include "appdata/GxSystemConfig.h"

#include "appdata/DBAvgChar.h"
#include "core/GxFile.h"

#include <initializer_list>

namespace
{

bool ResolveWithExtensions(std::wstring& path, std::initializer_list<const wchar_t*> extensions)
{
    if (GxFile::Exists(path) != GxFile::kAbsent)
        return true;
    for (const wchar_t* extension : extensions)
    {
        std::wstring candidate = path + extension;
        if (GxFile::Exists(candidate) != GxFile::kAbsent)
        {
            path = std::move(candidate);
            return true;
        }
    }
    return false;
}

} // namespace

bool GxSystemConfig::ResolveImagePath(std::wstring& path)
{
    return ResolveWithExtensions(path, {L".png", L".dds", L".tga", L".jpg", L".bmp"});
}

bool GxSystemConfig::ResolveSoundPath(std::wstring& path)
{
    return ResolveWithExtensions(path, {L".ogg", L".wav"});
}

bool GxSystemConfig::ResolveMoviePath(std::wstring& path)
{
    return ResolveWithExtensions(path, {L".mpg", L".avi"});
}

bool GxSystemConfig::ResolveGncPath(std::wstring& path)
{
    return ResolveWithExtensions(path, {L".gnc"});
}

int32_t GxSystemConfig::ResolveVoicePath(std::wstring& name)
{
    // Row 0 is the "none" character and is never tried.
    for (int32_t i = 1; i < g_DBAvgChar.GetCapacity(); ++i)
    {
        const std::wstring& folder = g_DBAvgChar.GetRow(i)->m_VoicePath;
        if (folder.empty() || folder == L"*")
            continue;
        std::wstring candidate = folder + name;
        if (ResolveWithExtensions(candidate, {L".ogg", L".wav"}))
        {
            name = std::move(candidate);
            return i;
        }
    }
    return 0;
}
