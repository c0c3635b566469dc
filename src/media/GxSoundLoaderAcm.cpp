#include "media/GxSoundLoaderAcm.h"

#include "core/GxFile.h"
#include "core/GxLog.h"
#include "media/GxWaveFileHeader.h"

#include <algorithm>
#include <cstring>

namespace
{
// The 16 bytes of the source format at the head of a format chunk (zeros when it is shorter).
PfWaveFormat CodecSource(const std::vector<uint8_t>& formatChunk)
{
    PfWaveFormat source;
    if (formatChunk.size() >= sizeof(source))
        std::memcpy(&source, formatChunk.data(), sizeof(source));
    return source;
}
} // namespace

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
    m_UseCodec = false;
    if (!m_Converter.Setup(header.m_Format) && !SetupCodec(header.m_Format))
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
    uint64_t length = 0;
    if (m_UseCodec)
    {
        // The source's samples a second x its data size / its bytes a second; the codec's frames may
        // end a little before or after that, and Read stops where the decode does.
        const PfWaveFormat source = CodecSource(header.m_Format);
        m_Source.assign(16384, 0);
        length = static_cast<uint64_t>(source.nSamplesPerSec) * m_DataSize / source.nAvgBytesPerSec;
    }
    else
    {
        const uint32_t unit = m_Converter.GetSourceUnit();
        m_Source.assign((16383 / unit + 1) * unit, 0);
        m_Output.assign(m_Converter.FramesFor(m_Source.size()) * m_Converter.GetOutputFormat().nBlockAlign, 0);
        length = m_Converter.FramesFor(m_DataSize);
    }
    m_Length = static_cast<uint32_t>(std::min<uint64_t>(length, 0xFFFFFFFFu / OutputAlign()));
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
    m_Codec.Close();
    m_UseCodec = false;
    m_CodecFormat = PfWaveFormat();
    m_Decoded.clear();
    m_DataOffset = m_DataSize = m_SourceLeft = m_Length = 0;
    m_Produced = 0;
    m_End = false;
    m_Source.clear();
    m_Output.clear();
    m_SourceFill = m_OutputOffset = m_OutputAvailable = 0;
}

bool GxSoundLoaderAcm::SetupCodec(const std::vector<uint8_t>& formatChunk)
{
    const PfWaveFormat source = CodecSource(formatChunk);
    if (!PfAudioCodec::Handles(source.wFormatTag) || source.nAvgBytesPerSec == 0)
        return false;
    std::string reason;
    if (!m_Codec.Open(source.wFormatTag, source.nSamplesPerSec, source.nChannels, source.nBlockAlign, &reason))
    {
        if (!reason.empty())
            GxLog::SlightError(L"Error/GxSoundLoaderAcm::SetupCodec %S\n", reason.c_str());
        return false;
    }
    m_UseCodec = true;
    m_CodecFormat = PfWaveFormat();
    m_CodecFormat.wFormatTag = PF_WAVE_FORMAT_PCM;
    m_CodecFormat.nChannels = source.nChannels;
    m_CodecFormat.nSamplesPerSec = source.nSamplesPerSec;
    m_CodecFormat.wBitsPerSample = 16;
    m_CodecFormat.nBlockAlign = static_cast<uint16_t>(source.nChannels * 2);
    m_CodecFormat.nAvgBytesPerSec = source.nSamplesPerSec * m_CodecFormat.nBlockAlign;
    return true;
}

// Source bytes in, decoded samples out: a piece of the file through the codec, the last piece with the
// end, so the codec gives what it still holds.
bool GxSoundLoaderAcm::RefillFromCodec()
{
    m_Decoded.clear();
    while (m_Decoded.empty())
    {
        const uint32_t want = std::min(static_cast<uint32_t>(m_Source.size()), m_SourceLeft);
        if (want == 0 && m_SourceFill == 0)
            return false;
        const uint32_t got = want > 0 ? GxFile::Read(m_Source.data(), want, m_File) : 0;
        m_SourceLeft = got < want ? 0 : m_SourceLeft - got;
        // m_SourceFill marks that the end has not yet been given to the codec.
        const bool end = m_SourceLeft == 0;
        m_Codec.Decode(m_Source.data(), got, end, m_Decoded);
        m_SourceFill = end ? 0 : 1;
        if (end && m_Decoded.empty())
            return false;
    }
    const size_t bytes = m_Decoded.size() * 2;
    m_Output.resize(bytes);
    std::memcpy(m_Output.data(), m_Decoded.data(), bytes);
    m_OutputOffset = 0;
    m_OutputAvailable = static_cast<uint32_t>(bytes);
    return true;
}

bool GxSoundLoaderAcm::Refill()
{
    if (m_UseCodec)
        return RefillFromCodec();
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
    if (m_UseCodec)
    {
        if (!GxFile::Seek(m_File, m_DataOffset, 0))
        {
            GxLog::SlightError(L"Error/GxSoundLoaderAcm::Seek acmストリームのシークに失敗しました Offset=%d\n",
                               static_cast<int>(m_DataOffset));
            return false;
        }
        m_Codec.Reset();
        m_SourceLeft = m_DataSize;
        m_SourceFill = 1;
        m_OutputOffset = m_OutputAvailable = 0;
        m_End = false;
        uint64_t skip = static_cast<uint64_t>(frame) * OutputAlign();
        while (skip > 0 && (m_OutputAvailable > 0 || Refill()))
        {
            const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(skip, m_OutputAvailable));
            m_OutputOffset += n;
            m_OutputAvailable -= n;
            skip -= n;
        }
        m_Produced = static_cast<uint64_t>(frame) * OutputAlign();
        return true;
    }
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
    return static_cast<uint32_t>(m_Produced / OutputAlign());
}
