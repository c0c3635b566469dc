#include "media/GxSoundLoaderFactory.h"

#include "core/GxString.h"
#include "media/GxSoundLoaderOgg.h"
#include "media/GxSoundLoaderWav.h"

std::unique_ptr<GxSoundLoaderBase> GxSoundLoaderFactory::CreateForFile(const std::wstring& name)
{
    const size_t dot = name.rfind(L'.');
    const std::wstring extension = dot == std::wstring::npos ? L"" : name.substr(dot);
    if (GxString::CompareNoCase(extension, L".wav") == 0)
        return std::make_unique<GxSoundLoaderWav>();
    if (GxString::CompareNoCase(extension, L".ogg") == 0)
        return std::make_unique<GxSoundLoaderOgg>();
    return nullptr;
}

bool GxSoundLoaderFactory::Open(GxSoundLoaderBase& decoder, const std::wstring& name)
{
    switch (decoder.GetType())
    {
    case GxSoundLoaderBase::kTypeWav:
        return static_cast<GxSoundLoaderWav&>(decoder).Open(name);
    case GxSoundLoaderBase::kTypeOgg:
        return static_cast<GxSoundLoaderOgg&>(decoder).Open(name);
    default:
        return false;
    }
}
