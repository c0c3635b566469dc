#include "media/GxSoundLoaderWav.h"

#include "core/GxFile.h"
#include "core/GxLog.h"
#include "media/GxWaveFileHeader.h"

#include <algorithm>
#include <cstring>

GxSoundLoaderWav::~GxSoundLoaderWav()
{
    Close();
}

bool GxSoundLoaderWav::Open(const std::wstring& name)
{
    Close();
    if (!GxFile::Open(m_File, name))
        return false;
    GxWaveFileHeader header;
    const GxWaveFileHeader::Result result = header.Read(m_File);
    if (result == GxWaveFileHeader::kNoRiff)
    {
        GxFile::Close(m_File);
        GxLog::SlightError(L"Error/GxSoundLoaderWav::Open riffヘッダが見つかりません(%s)\n", name.c_str());
        return false;
    }
    std::memcpy(&m_Format, header.m_Format.data(), sizeof(m_Format));
    // A frame size or rate of 0 would divide by zero in every length and position.
    if (m_Format.wFormatTag != PF_WAVE_FORMAT_PCM || m_Format.nBlockAlign == 0 || m_Format.nSamplesPerSec == 0 ||
        m_Format.nAvgBytesPerSec == 0)
    {
        GxFile::Close(m_File);
        m_Format = PfWaveFormat();
        GxLog::SlightError(
            L"Error/GxSoundLoaderWav::Open PCMWAVEFORMATヘッダが読み込めませんでした。未対応の形式です(%s)\n",
            name.c_str());
        return false;
    }
    if (result == GxWaveFileHeader::kNoData)
    {
        GxFile::Close(m_File);
        m_Format = PfWaveFormat();
        GxLog::SlightError(L"Error/GxSoundLoaderWav::Open dataチャンクが見つかりません。ファイルが壊れています(%s)\n",
                           name.c_str());
        return false;
    }
    // A cut-off file still plays the part it holds.
    if (header.m_DataCut)
        GxLog::SlightError(
            L"Error/GxSoundLoaderWav::Open dataチャンクが途中で切れています。ファイルが壊れています(%s)\n",
            name.c_str());
    m_DataOffset = header.m_DataOffset;
    // Whole frames only: a cut file's last partial frame is not played.
    m_DataSize = header.m_DataSize / m_Format.nBlockAlign * m_Format.nBlockAlign;
    m_BytesLeft = m_DataSize;
    return true;
}

void GxSoundLoaderWav::Close()
{
    if (m_File.IsOpen())
        GxFile::Close(m_File);
    m_DataOffset = 0;
    m_DataSize = 0;
    m_BytesLeft = 0;
    m_Format = PfWaveFormat();
}

bool GxSoundLoaderWav::Read(void* buffer, uint32_t bytes, uint32_t* bytesRead)
{
    if (bytesRead)
        *bytesRead = 0;
    if (!IsOpen())
        return false;
    const uint32_t want = std::min(bytes, m_BytesLeft);
    const uint32_t got = want ? GxFile::Read(buffer, want, m_File) : 0;
    m_BytesLeft -= got;
    if (bytesRead)
        *bytesRead = got;
    // A file that ends early (shrunk while open) has nothing more to give.
    if (got < want)
        m_BytesLeft = 0;
    return true;
}

bool GxSoundLoaderWav::Seek(uint32_t frame)
{
    if (!IsOpen())
        return false;
    const uint64_t offset = static_cast<uint64_t>(frame) * m_Format.nBlockAlign;
    if (offset > m_DataSize || !GxFile::Seek(m_File, m_DataOffset + offset, 0))
        return false;
    m_BytesLeft = m_DataSize - static_cast<uint32_t>(offset);
    return true;
}

uint32_t GxSoundLoaderWav::Tell() const
{
    return IsOpen() ? (m_DataSize - m_BytesLeft) / m_Format.nBlockAlign : 0;
}

uint32_t GxSoundLoaderWav::GetLength() const
{
    return IsOpen() ? m_DataSize / m_Format.nBlockAlign : 0;
}

uint32_t GxSoundLoaderWav::GetLengthMs() const
{
    if (!IsOpen())
        return 0;
    return static_cast<uint32_t>(static_cast<uint64_t>(m_DataSize) * 1000 / m_Format.nBlockAlign /
                                 m_Format.nSamplesPerSec);
}
