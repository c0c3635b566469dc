#include "media/GxSoundLoaderFactory.h"

#include "core/GxFile.h"
#include "core/GxFileHandle.h"
#include "core/GxString.h"
#include "media/GxSoundLoaderAcm.h"
#include "media/GxSoundLoaderOgg.h"
#include "media/GxSoundLoaderWav.h"
#include "media/GxWaveFileHeader.h"
#include "platform/PfWaveFormat.h"

namespace
{
// True when the file is a WAVE whose format chunk names anything but plain PCM. A file that cannot be
// read at all stays with the plain decoder, which logs why it fails.
bool IsCompressedWave(const std::wstring& name)
{
    GxFileHandle file;
    if (!GxFile::Open(file, name))
        return false;
    GxWaveFileHeader header;
    const bool compressed = header.Read(file) != GxWaveFileHeader::kNoRiff && header.m_Format.size() >= 2 &&
                            (header.m_Format[0] | header.m_Format[1] << 8) != PF_WAVE_FORMAT_PCM;
    GxFile::Close(file);
    return compressed;
}
} // namespace

std::unique_ptr<GxSoundLoaderBase> GxSoundLoaderFactory::CreateForFile(const std::wstring& name)
{
    const size_t dot = name.rfind(L'.');
    const std::wstring extension = dot == std::wstring::npos ? L"" : name.substr(dot);
    if (GxString::CompareNoCase(extension, L".wav") == 0)
    {
        // Compressed WAVE (IMA or Microsoft ADPCM, A-law, mu-law) streams through the converter.
        if (IsCompressedWave(name))
            return std::make_unique<GxSoundLoaderAcm>();
        return std::make_unique<GxSoundLoaderWav>();
    }
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
    case GxSoundLoaderBase::kTypeAcm:
        return static_cast<GxSoundLoaderAcm&>(decoder).Open(name);
    case GxSoundLoaderBase::kTypeOgg:
        return static_cast<GxSoundLoaderOgg&>(decoder).Open(name);
    default:
        return false;
    }
}
