#include "media/GxSoundLoaderOgg.h"

#include "core/GxFile.h"
#include "core/GxLog.h"
#include "platform/PfVorbisFile.h"

#include <algorithm>

namespace
{
size_t CallbackRead(void* buffer, size_t size, size_t count, void* source)
{
    GxFileHandle* file = static_cast<GxFileHandle*>(source);
    const uint64_t bytes = static_cast<uint64_t>(size) * count;
    if (size == 0 || bytes == 0)
        return 0;
    const uint32_t want = static_cast<uint32_t>(std::min<uint64_t>(bytes, 0x7FFFFFFF));
    return GxFile::Read(buffer, want, *file) / size;
}

int CallbackSeek(void* source, int64_t offset, int whence)
{
    if (whence < 0 || whence > 2)
        return -1;
    if (!GxFile::Seek(*static_cast<GxFileHandle*>(source), offset, whence))
    {
        GxLog::SlightError(L"Error/GxSoundLoaderOgg::CallbackSeek Failed\n");
        return -1;
    }
    return 0;
}

int CallbackClose(void* source)
{
    GxFileHandle* file = static_cast<GxFileHandle*>(source);
    if (!file->IsOpen())
        return -1;
    GxFile::Close(*file);
    return 0;
}

long CallbackTell(void* source)
{
    return static_cast<long>(GxFile::Tell(*static_cast<GxFileHandle*>(source)));
}

const PfVorbisFile::Callbacks kCallbacks = {CallbackRead, CallbackSeek, CallbackClose, CallbackTell};
} // namespace

GxSoundLoaderOgg::GxSoundLoaderOgg() : m_Vorbis(new PfVorbisFile) {}

GxSoundLoaderOgg::~GxSoundLoaderOgg()
{
    Close();
}

bool GxSoundLoaderOgg::IsOpen() const
{
    return m_Vorbis->IsOpen();
}

bool GxSoundLoaderOgg::Open(const std::wstring& name)
{
    Close();
    if (!GxFile::Open(m_File, name))
    {
        GxLog::SlightError(L"Error/GxSoundLoaderOgg::Open ファイルのオープンに失敗しました(%s)\n", name.c_str());
        return false;
    }
    if (!m_Vorbis->Open(&m_File, kCallbacks))
    {
        GxFile::Close(m_File);
        GxLog::SlightError(L"Error/GxSoundLoaderOgg::OpenStream ファイルのオープンに失敗しました(%s)\n", name.c_str());
        return false;
    }
    const int channels = m_Vorbis->GetChannels();
    const long rate = m_Vorbis->GetRate();
    const int64_t total = m_Vorbis->GetPcmTotal();
    if (!m_Vorbis->IsSeekable())
    {
        m_Vorbis->Clear();
        GxLog::SlightError(L"Error/GxSoundLoaderOgg::OpenStream シーク可能なファイルではありません(%s)\n", name.c_str());
        return false;
    }
    // Streams the sound buffers cannot take (more than two channels, rates out of range) open, and the
    // buffer refuses them with its own message.
    if (channels < 1 || channels > 255 || rate < 1 || total < 0)
    {
        m_Vorbis->Clear();
        GxLog::SlightError(L"Error/GxSoundLoaderOgg::OpenStream ファイルのオープンに失敗しました(%s)\n", name.c_str());
        return false;
    }
    m_Format.wFormatTag = PF_WAVE_FORMAT_PCM;
    m_Format.nChannels = static_cast<uint16_t>(channels);
    m_Format.nSamplesPerSec = static_cast<uint32_t>(rate);
    m_Format.wBitsPerSample = 16;
    m_Format.nBlockAlign = static_cast<uint16_t>(2 * channels);
    m_Format.nAvgBytesPerSec = m_Format.nSamplesPerSec * m_Format.nBlockAlign;
    m_Length = static_cast<uint32_t>(std::min<int64_t>(total, 0xFFFFFFFFu / m_Format.nBlockAlign));
    m_End = false;
    return true;
}

void GxSoundLoaderOgg::Close()
{
    // Clearing the stream closes the file through the close callback.
    m_Vorbis->Clear();
    if (m_File.IsOpen())
        GxFile::Close(m_File);
    m_Format = PfWaveFormat();
    m_Length = 0;
    m_End = false;
}

bool GxSoundLoaderOgg::Read(void* buffer, uint32_t bytes, uint32_t* bytesRead)
{
    if (bytesRead)
        *bytesRead = 0;
    if (!IsOpen())
        return false;
    uint8_t* out = static_cast<uint8_t*>(buffer);
    uint32_t done = 0;
    while (done < bytes)
    {
        const int chunk = static_cast<int>(std::min<uint32_t>(bytes - done, 0x10000));
        const long got = m_Vorbis->Read(out + done, chunk);
        if (got < 1)
        {
            m_End = true;
            break;
        }
        done += static_cast<uint32_t>(got);
    }
    if (bytesRead)
        *bytesRead = done;
    return true;
}

bool GxSoundLoaderOgg::Seek(uint32_t frame)
{
    if (!IsOpen() || !m_Vorbis->PcmSeek(frame))
        return false;
    m_End = false;
    return true;
}

uint32_t GxSoundLoaderOgg::Tell() const
{
    return IsOpen() ? static_cast<uint32_t>(m_Vorbis->PcmTell()) : 0;
}
