#pragma once

#include "core/GxFileHandle.h"
#include "media/GxSoundAcmConverter.h"
#include "media/GxSoundLoaderBase.h"
#include "platform/PfAudioCodec.h"

#include <string>
#include <vector>

// Any WAVE file the converter understands (PCM, IMA and Microsoft ADPCM, A-law, mu-law), decoded to PCM
// piece by piece: a source buffer of whole blocks from the file, converted into a PCM buffer that Read
// hands out. MPEG layer 3 (0x55) and GSM 6.10 (0x31) go through libavcodec instead (PfAudioCodec): the
// same buffers, the source cut into frames by the codec's parser; a seek decodes again from the data's
// start up to the frame, since those frames depend on the ones before them.
class GxSoundLoaderAcm : public GxSoundLoaderBase
{
public:
    ~GxSoundLoaderAcm() override;
    bool Open(const std::wstring& name);
    void Close() override;
    bool IsOpen() const override { return m_File.IsOpen(); }
    bool Read(void* buffer, uint32_t bytes, uint32_t* bytesRead) override;
    bool Seek(uint32_t frame) override;
    uint32_t Tell() const override;
    bool IsEnd() const override { return m_End; }
    PfWaveFormat GetFormat() const override { return m_UseCodec ? m_CodecFormat : m_Converter.GetOutputFormat(); }
    uint32_t GetLength() const override { return IsOpen() ? m_Length : 0; }
    int GetType() const override { return kTypeAcm; }

private:
    // Tops the source buffer up and converts it; false when nothing more comes out.
    bool Refill();
    bool RefillFromCodec();
    // Sets up the libavcodec path for a format the converter does not take; false when it cannot.
    bool SetupCodec(const std::vector<uint8_t>& formatChunk);
    uint16_t OutputAlign() const { return GetFormat().nBlockAlign; }

    GxFileHandle m_File;
    GxSoundAcmConverter m_Converter;
    uint32_t m_DataOffset = 0;
    uint32_t m_DataSize = 0;
    uint32_t m_SourceLeft = 0; // bytes of the file's data not yet read
    uint32_t m_Length = 0;     // frames
    uint64_t m_Produced = 0;   // PCM bytes handed out since the start (or the seek)
    bool m_End = false;
    std::vector<uint8_t> m_Source;
    uint32_t m_SourceFill = 0;
    std::vector<uint8_t> m_Output;
    uint32_t m_OutputOffset = 0;
    uint32_t m_OutputAvailable = 0;
    bool m_UseCodec = false;
    PfAudioCodec m_Codec;
    PfWaveFormat m_CodecFormat;
    std::vector<int16_t> m_Decoded;
};
