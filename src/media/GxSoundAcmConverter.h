#pragma once

#include "platform/PfWaveFormat.h"

#include <cstdint>
#include <vector>

// The conversion the compressed WAVE decoder needs, in place of the system's compression manager:
// PCM 8 or 16 bits (unchanged), IMA ADPCM (tag 0x11), Microsoft ADPCM (2), A-law (6) and mu-law (7) to
// 16-bit PCM at the source's rate and channel count.
//
// Source data comes in units: an ADPCM block (nBlockAlign bytes holding GetFramesPerBlock frames), or one
// frame for the sample-wise formats. The last block of a file may be cut short; what it holds decodes:
//   IMA ADPCM: per channel a 4-byte head (first sample, step index, reserved), then groups of 4 bytes
//              per channel in turn, 8 samples a group, low nibble first;
//   MS ADPCM:  predictor indices, deltas, then the second and the first sample of every channel (the
//              second goes out first), then nibbles high first, channels alternating.
class GxSoundAcmConverter
{
public:
    enum Codec
    {
        kCodecNone,
        kCodecPcm,
        kCodecImaAdpcm,
        kCodecMsAdpcm,
        kCodecALaw,
        kCodecMuLaw,
    };

    // False for a format it cannot convert (unknown tag, channel count, sizes that cannot hold a frame).
    bool Setup(const std::vector<uint8_t>& formatChunk);
    Codec GetCodec() const { return m_Codec; }
    const PfWaveFormat& GetSourceFormat() const { return m_Source; }
    const PfWaveFormat& GetOutputFormat() const { return m_Output; }
    uint32_t GetSourceUnit() const { return m_Unit; }
    uint32_t GetFramesPerBlock() const { return m_FramesPerUnit; }

    // Frames that bytes of source decode to: whole units plus what a cut-short last unit holds.
    uint64_t FramesFor(uint64_t sourceBytes) const;
    // Decodes bytes of source (whole units, the last one perhaps cut short) into FramesFor(bytes) frames
    // of output; returns the bytes written.
    uint32_t Convert(const uint8_t* source, uint32_t bytes, uint8_t* output);

private:
    uint32_t DecodeIma(const uint8_t* block, uint32_t bytes, int16_t* out) const;
    uint32_t DecodeMs(const uint8_t* block, uint32_t bytes, int16_t* out) const;

    Codec m_Codec = kCodecNone;
    PfWaveFormat m_Source;
    PfWaveFormat m_Output;
    uint32_t m_Unit = 0;
    uint32_t m_FramesPerUnit = 0;
    std::vector<int16_t> m_Coefficients; // MS ADPCM: pairs
};
