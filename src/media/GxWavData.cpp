#include "media/GxWavData.h"

#include "core/GxLog.h"
#include "core/GxString.h"
#include "media/GxSoundLoaderAcm.h"
#include "media/GxSoundLoaderOgg.h"
#include "platform/PfAudioDevice.h"

#include <cstring>
#include <new>

GxWavData::~GxWavData()
{
    Free();
}

void GxWavData::Reset()
{
    Free();
    m_LastUseTime->store(0, std::memory_order_relaxed);
    m_Name.clear();
    m_UseCount = 0;
    m_Resident = false;
}

void GxWavData::ReleaseUse()
{
    if (m_UseCount > 0)
        --m_UseCount;
}

void GxWavData::Free()
{
    m_Data.reset();
    m_Format = PfWaveFormat();
    m_DataSize = 0;
    m_Length = 0;
}

bool GxWavData::Allocate(const std::wstring& name, const PfWaveFormat& format, uint32_t bytes)
{
    Free();
    m_Format = format;
    if (bytes > kMaxBytes || format.nBlockAlign == 0)
    {
        GxLog::SlightError(L"Error/GxWavData::Create バッファの確保に失敗しました(%s)\n", name.c_str());
        return false;
    }
    m_Data.reset(new (std::nothrow) uint8_t[bytes ? bytes : 1]);
    if (!m_Data)
    {
        GxLog::SlightError(L"Error/GxWavData::Create バッファの確保に失敗しました(%s)\n", name.c_str());
        return false;
    }
    std::memset(m_Data.get(), 0, bytes ? bytes : 1);
    m_DataSize = bytes;
    m_Length = bytes / format.nBlockAlign;
    ++m_UseCount;
    m_Name = GxString::ToLower(name);
    Touch();
    return true;
}

bool GxWavData::Allocate(const std::string& name, const PfWaveFormat& format, uint32_t bytes)
{
    return Allocate(GxString::ToWide(name), format, bytes);
}

bool GxWavData::Create(const std::wstring& name)
{
    const size_t dot = name.rfind(L'.');
    const std::wstring extension = dot == std::wstring::npos ? L"" : name.substr(dot);
    std::unique_ptr<GxSoundLoaderBase> loader;
    bool opened = false;
    if (GxString::CompareNoCase(extension, L".wav") == 0)
    {
        auto acm = std::make_unique<GxSoundLoaderAcm>();
        opened = acm->Open(name);
        loader = std::move(acm);
    }
    else if (GxString::CompareNoCase(extension, L".ogg") == 0)
    {
        auto ogg = std::make_unique<GxSoundLoaderOgg>();
        opened = ogg->Open(name);
        loader = std::move(ogg);
    }
    else
    {
        GxLog::SlightError(L"Error/GxWavData::Create 未対応の形式です(%s)\n", name.c_str());
        return false;
    }
    if (!opened)
        return false;
    const PfWaveFormat format = loader->GetFormat();
    if (!Allocate(name, format, loader->GetDataSize()))
        return false;
    uint32_t got = 0;
    if (!loader->Read(m_Data.get(), m_DataSize, &got))
    {
        Free();
        return false;
    }
    // A cut or damaged file that decodes short keeps what it gave (whole frames of it).
    if (got < m_DataSize)
    {
        m_DataSize = got / format.nBlockAlign * format.nBlockAlign;
        m_Length = m_DataSize / format.nBlockAlign;
    }
    if (m_DataSize == 0)
    {
        GxLog::SlightError(L"Error/GxWavData::Create ファイルの読み込みに失敗しました(%s)\n", name.c_str());
        Free();
        return false;
    }
    return true;
}

bool GxWavData::Create(const std::string& name)
{
    return Create(GxString::ToWide(name));
}

uint32_t GxWavData::GetLengthMs() const
{
    if (m_Format.nSamplesPerSec == 0)
        return 0;
    return static_cast<uint32_t>(static_cast<uint64_t>(m_Length) * 1000 / m_Format.nSamplesPerSec);
}

bool GxWavData::GetSample(int16_t* left, int16_t* right, uint32_t frame) const
{
    if (!m_Data || frame >= m_Length || m_Format.nChannels == 0)
        return false;
    const uint8_t* p = m_Data.get() + static_cast<size_t>(frame) * m_Format.nBlockAlign;
    int16_t v[2] = {0, 0};
    for (int c = 0; c < 2 && c < m_Format.nChannels; ++c)
    {
        if (m_Format.wBitsPerSample == 8)
            v[c] = static_cast<int16_t>((static_cast<int>(p[c]) - 128) * 257);
        else
            std::memcpy(&v[c], p + 2 * c, 2);
    }
    if (m_Format.nChannels == 1)
        v[1] = v[0];
    if (left)
        *left = v[0];
    if (right)
        *right = v[1];
    return true;
}

void GxWavData::Touch()
{
    m_LastUseTime->store(PfAudioDevice::GetTimeMs(), std::memory_order_relaxed);
}
