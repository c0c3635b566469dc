#include "media/GxSoundLoaderAcm.h"

#include "core/GxFile.h"
#include "core/GxLog.h"
#include "media/GxWaveFileHeader.h"

#include <algorithm>
#include <cstring>

GxSoundLoaderAcm::~GxSoundLoaderAcm()
{
    Close();
}

bool GxSoundLoaderAcm::Open(const std::wstring& name)
{
    Close();
    if (!GxFile::Open(m_File, name))
        return false;
    GxWaveFileHeader header;
    const GxWaveFileHeader::Result result = header.Read(m_File);
    if (result == GxWaveFileHeader::kNoRiff)
    {
        GxFile::Close(m_File);
        GxLog::SlightError(L"Error/GxSoundLoaderAcm::Open riffヘッダが見つかりません(%s)\n", name.c_str());
        return false;
    }
    if (result == GxWaveFileHeader::kNoData)
    {
        GxFile::Close(m_File);
        GxLog::SlightError(
            L"Error/GxSoundLoaderAcm::Open dataチャンクが見つかりません。ファイルが壊れているか未対応の形式です(%s)\n",
            name.c_str());
        return false;
    }
    // Zero frame sizes or rates are refused here too: every length below divides by them.
    if (!m_Converter.Setup(header.m_Format))
    {
        GxFile::Close(m_File);
        GxLog::SlightError(L"Error/GxSoundLoaderAcm::OpenStream 変換フォーマットが識別できません。未対応の形式です\n");
        return false;
    }
    // A cut-off file still plays the part it holds.
    if (header.m_DataCut)
        GxLog::SlightError(
            L"Error/GxSoundLoaderAcm::Open dataチャンクが途中で切れています。ファイルが壊れています(%s)\n",
            name.c_str());
    m_DataOffset = header.m_DataOffset;
    m_DataSize = header.m_DataSize;
    m_SourceLeft = m_DataSize;
    // The smallest whole number of source blocks above 16,383 bytes.
    const uint32_t unit = m_Converter.GetSourceUnit();
    m_Source.assign((16383 / unit + 1) * unit, 0);
    m_Output.assign(m_Converter.FramesFor(m_Source.size()) * m_Converter.GetOutputFormat().nBlockAlign, 0);
    const uint64_t length = m_Converter.FramesFor(m_DataSize);
    m_Length =
        static_cast<uint32_t>(std::min<uint64_t>(length, 0xFFFFFFFFu / m_Converter.GetOutputFormat().nBlockAlign));
    m_Produced = 0;
    m_End = false;
    m_SourceFill = 0;
    m_OutputOffset = 0;
    m_OutputAvailable = 0;
    return true;
}

void GxSoundLoaderAcm::Close()
{
    if (m_File.IsOpen())
        GxFile::Close(m_File);
    m_Converter = GxSoundAcmConverter();
    m_DataOffset = m_DataSize = m_SourceLeft = m_Length = 0;
    m_Produced = 0;
    m_End = false;
    m_Source.clear();
    m_Output.clear();
    m_SourceFill = m_OutputOffset = m_OutputAvailable = 0;
}

bool GxSoundLoaderAcm::Refill()
{
    const uint32_t room = static_cast<uint32_t>(m_Source.size()) - m_SourceFill;
    const uint32_t want = std::min(room, m_SourceLeft);
    if (want > 0)
    {
        const uint32_t got = GxFile::Read(m_Source.data() + m_SourceFill, want, m_File);
        m_SourceFill += got;
        m_SourceLeft -= got;
        if (got < want)
            m_SourceLeft = 0; // the file ended early
    }
    if (m_SourceFill == 0)
        return false;
    // Whole blocks while more follows; the last piece of the file goes in as it is.
    const uint32_t unit = m_Converter.GetSourceUnit();
    const uint32_t take = m_SourceLeft == 0 ? m_SourceFill : m_SourceFill / unit * unit;
    const uint32_t produced = m_Converter.Convert(m_Source.data(), take, m_Output.data());
    std::memmove(m_Source.data(), m_Source.data() + take, m_SourceFill - take);
    m_SourceFill -= take;
    m_OutputOffset = 0;
    m_OutputAvailable = produced;
    return produced > 0;
}

bool GxSoundLoaderAcm::Read(void* buffer, uint32_t bytes, uint32_t* bytesRead)
{
    if (bytesRead)
        *bytesRead = 0;
    if (!IsOpen())
        return false;
    uint8_t* out = static_cast<uint8_t*>(buffer);
    uint32_t delivered = 0;
    while (delivered < bytes)
    {
        if (m_OutputAvailable == 0 && !Refill())
            break;
        const uint32_t n = std::min(m_OutputAvailable, bytes - delivered);
        std::memcpy(out + delivered, m_Output.data() + m_OutputOffset, n);
        m_OutputOffset += n;
        m_OutputAvailable -= n;
        delivered += n;
    }
    m_Produced += delivered;
    if (delivered < bytes || (m_SourceLeft == 0 && m_SourceFill == 0 && m_OutputAvailable == 0))
        m_End = true;
    if (bytesRead)
        *bytesRead = delivered;
    return true;
}

bool GxSoundLoaderAcm::Seek(uint32_t frame)
{
    if (!IsOpen() || frame > m_Length)
        return false;
    // From the start of the block holding the frame, then the frames before it in that block dropped.
    const uint32_t perUnit = m_Converter.GetFramesPerBlock();
    const uint64_t offset = static_cast<uint64_t>(frame / perUnit) * m_Converter.GetSourceUnit();
    if (offset > m_DataSize || !GxFile::Seek(m_File, m_DataOffset + offset, 0))
    {
        GxLog::SlightError(L"Error/GxSoundLoaderAcm::Seek acmストリームのシークに失敗しました Offset=%d\n",
                           static_cast<int>(m_DataOffset + offset));
        return false;
    }
    m_SourceLeft = m_DataSize - static_cast<uint32_t>(offset);
    m_SourceFill = 0;
    m_OutputOffset = 0;
    m_OutputAvailable = 0;
    m_End = false;
    const uint32_t align = m_Converter.GetOutputFormat().nBlockAlign;
    const uint32_t skip = (frame % perUnit) * align;
    if (skip > 0 && Refill())
    {
        const uint32_t n = std::min(skip, m_OutputAvailable);
        m_OutputOffset += n;
        m_OutputAvailable -= n;
    }
    m_Produced = static_cast<uint64_t>(frame) * align;
    return true;
}

uint32_t GxSoundLoaderAcm::Tell() const
{
    if (!IsOpen())
        return 0;
    return static_cast<uint32_t>(m_Produced / m_Converter.GetOutputFormat().nBlockAlign);
}
