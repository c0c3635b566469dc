#include "media/GxSoundAcmConverter.h"

#include <algorithm>
#include <cstring>

namespace
{
const int kImaIndexTable[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};
const int kImaStepTable[89] = {7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
                               25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
                               88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
                               307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
                               1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
                               3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
                               12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
const int kMsAdaptation[16] = {230, 230, 230, 230, 307, 409, 512, 614, 768, 614, 512, 409, 307, 230, 230, 230};
const int16_t kMsStandardCoefficients[14] = {256, 0, 512, -256, 0, 0, 192, 64, 240, 0, 460, -208, 392, -232};

int16_t Clamp16(int v)
{
    return static_cast<int16_t>(std::clamp(v, -32768, 32767));
}

int16_t Le16(const uint8_t* p)
{
    return static_cast<int16_t>(p[0] | p[1] << 8);
}

int16_t ALawToLinear(uint8_t a)
{
    a ^= 0x55;
    int t = (a & 0x0F) << 4;
    const int segment = (a & 0x70) >> 4;
    t += 8;
    if (segment != 0)
        t = (t + 0x100) << (segment - 1);
    return static_cast<int16_t>((a & 0x80) ? t : -t);
}

int16_t MuLawToLinear(uint8_t u)
{
    u = static_cast<uint8_t>(~u);
    int t = ((u & 0x0F) << 3) + 0x84;
    t <<= (u & 0x70) >> 4;
    return static_cast<int16_t>((u & 0x80) ? 0x84 - t : t - 0x84);
}

struct ImaState
{
    int predictor;
    int index;
};

// Per step index and nibble: the signed difference ((2 x magnitude + 1) x step) / 8 (the exact form of
// the shifted sum of step fractions) and the next step index.
struct ImaTables
{
    int32_t diff[89][16];
    uint8_t next[89][16];
    ImaTables()
    {
        for (int index = 0; index < 89; ++index)
            for (int nibble = 0; nibble < 16; ++nibble)
            {
                const int d = ((2 * (nibble & 7) + 1) * kImaStepTable[index]) >> 3;
                diff[index][nibble] = (nibble & 8) ? -d : d;
                next[index][nibble] = static_cast<uint8_t>(std::clamp(index + kImaIndexTable[nibble], 0, 88));
            }
    }
};
const ImaTables s_Ima;

inline int16_t ImaNibble(ImaState& s, int nibble)
{
    s.predictor = std::clamp(s.predictor + s_Ima.diff[s.index][nibble], -32768, 32767);
    s.index = s_Ima.next[s.index][nibble];
    return static_cast<int16_t>(s.predictor);
}
} // namespace

bool GxSoundAcmConverter::Setup(const std::vector<uint8_t>& formatChunk)
{
    m_Codec = kCodecNone;
    if (formatChunk.size() < 16)
        return false;
    std::memcpy(&m_Source, formatChunk.data(), sizeof(m_Source));
    const PfWaveFormat& s = m_Source;
    if (s.nChannels < 1 || s.nChannels > 2 || s.nSamplesPerSec == 0 || s.nAvgBytesPerSec == 0 || s.nBlockAlign == 0)
        return false;
    const uint32_t ch = s.nChannels;
    Codec codec = kCodecNone;
    switch (s.wFormatTag)
    {
    case PF_WAVE_FORMAT_PCM:
        if ((s.wBitsPerSample != 8 && s.wBitsPerSample != 16) || s.nBlockAlign != ch * s.wBitsPerSample / 8)
            return false;
        codec = kCodecPcm;
        m_Unit = s.nBlockAlign;
        m_FramesPerUnit = 1;
        break;
    case PF_WAVE_FORMAT_ALAW:
    case PF_WAVE_FORMAT_MULAW:
        if (s.nBlockAlign != ch)
            return false;
        codec = s.wFormatTag == PF_WAVE_FORMAT_ALAW ? kCodecALaw : kCodecMuLaw;
        m_Unit = s.nBlockAlign;
        m_FramesPerUnit = 1;
        break;
    case PF_WAVE_FORMAT_IMA_ADPCM:
        if (s.wBitsPerSample != 4 || s.nBlockAlign < 8 * ch || (s.nBlockAlign - 4 * ch) % (4 * ch) != 0)
            return false;
        codec = kCodecImaAdpcm;
        m_Unit = s.nBlockAlign;
        m_FramesPerUnit = 1 + (s.nBlockAlign - 4 * ch) / (4 * ch) * 8;
        break;
    case PF_WAVE_FORMAT_ADPCM:
    {
        if (s.wBitsPerSample != 4 || s.nBlockAlign < 7 * ch)
            return false;
        codec = kCodecMsAdpcm;
        m_Unit = s.nBlockAlign;
        m_FramesPerUnit = 2 + (s.nBlockAlign - 7 * ch) * 2 / ch;
        m_Coefficients.assign(std::begin(kMsStandardCoefficients), std::end(kMsStandardCoefficients));
        // The extension: extra size, samples a block, coefficient count, then the pairs.
        if (formatChunk.size() >= 22)
        {
            const uint32_t count = static_cast<uint16_t>(Le16(formatChunk.data() + 20));
            if (count >= 1 && count <= 256 && formatChunk.size() >= 22 + count * 4)
            {
                m_Coefficients.resize(count * 2);
                for (uint32_t i = 0; i < count * 2; ++i)
                    m_Coefficients[i] = Le16(formatChunk.data() + 22 + i * 2);
            }
        }
        break;
    }
    default:
        return false;
    }
    m_Codec = codec;
    m_Output.wFormatTag = PF_WAVE_FORMAT_PCM;
    m_Output.nChannels = s.nChannels;
    m_Output.nSamplesPerSec = s.nSamplesPerSec;
    m_Output.wBitsPerSample = codec == kCodecPcm ? s.wBitsPerSample : 16;
    m_Output.nBlockAlign = static_cast<uint16_t>(ch * m_Output.wBitsPerSample / 8);
    m_Output.nAvgBytesPerSec = s.nSamplesPerSec * m_Output.nBlockAlign;
    return true;
}

uint64_t GxSoundAcmConverter::FramesFor(uint64_t bytes) const
{
    if (m_Codec == kCodecNone)
        return 0;
    const uint64_t whole = bytes / m_Unit * m_FramesPerUnit;
    const uint32_t rest = static_cast<uint32_t>(bytes % m_Unit);
    const uint32_t ch = m_Source.nChannels;
    if (m_Codec == kCodecImaAdpcm && rest >= 4 * ch)
        return whole + 1 + (rest - 4 * ch) / (4 * ch) * 8;
    if (m_Codec == kCodecMsAdpcm && rest >= 7 * ch)
        return whole + 2 + (rest - 7 * ch) * 2 / ch;
    return whole;
}

uint32_t GxSoundAcmConverter::Convert(const uint8_t* source, uint32_t bytes, uint8_t* output)
{
    switch (m_Codec)
    {
    case kCodecPcm:
    {
        const uint32_t n = bytes / m_Unit * m_Unit;
        std::memcpy(output, source, n);
        return n;
    }
    case kCodecALaw:
    case kCodecMuLaw:
    {
        const uint32_t n = bytes / m_Unit * m_Unit;
        int16_t* out = reinterpret_cast<int16_t*>(output);
        for (uint32_t i = 0; i < n; ++i)
            out[i] = m_Codec == kCodecALaw ? ALawToLinear(source[i]) : MuLawToLinear(source[i]);
        return n * 2;
    }
    case kCodecImaAdpcm:
    case kCodecMsAdpcm:
    {
        int16_t* out = reinterpret_cast<int16_t*>(output);
        uint32_t frames = 0;
        for (uint32_t offset = 0; offset < bytes; offset += m_Unit)
        {
            const uint32_t piece = std::min(m_Unit, bytes - offset);
            frames += m_Codec == kCodecImaAdpcm ? DecodeIma(source + offset, piece, out + frames * m_Source.nChannels)
                                                : DecodeMs(source + offset, piece, out + frames * m_Source.nChannels);
        }
        return frames * m_Output.nBlockAlign;
    }
    default:
        return 0;
    }
}

uint32_t GxSoundAcmConverter::DecodeIma(const uint8_t* block, uint32_t bytes, int16_t* out) const
{
    const uint32_t ch = m_Source.nChannels;
    if (bytes < 4 * ch)
        return 0;
    ImaState state[2];
    for (uint32_t c = 0; c < ch; ++c)
    {
        state[c].predictor = Le16(block + 4 * c);
        state[c].index = std::clamp<int>(block[4 * c + 2], 0, 88);
        out[c] = static_cast<int16_t>(state[c].predictor);
    }
    const uint32_t groups = (bytes - 4 * ch) / (4 * ch);
    const uint8_t* p = block + 4 * ch;
    for (uint32_t g = 0; g < groups; ++g)
    {
        for (uint32_t c = 0; c < ch; ++c)
        {
            int16_t* dst = out + (1 + g * 8) * ch + c;
            for (uint32_t k = 0; k < 4; ++k, ++p)
            {
                dst[(2 * k) * ch] = ImaNibble(state[c], *p & 0x0F);
                dst[(2 * k + 1) * ch] = ImaNibble(state[c], *p >> 4);
            }
        }
    }
    return 1 + groups * 8;
}

uint32_t GxSoundAcmConverter::DecodeMs(const uint8_t* block, uint32_t bytes, int16_t* out) const
{
    const uint32_t ch = m_Source.nChannels;
    if (bytes < 7 * ch)
        return 0;
    const uint32_t pairs = static_cast<uint32_t>(m_Coefficients.size() / 2);
    int c1[2], c2[2], delta[2], s1[2], s2[2];
    for (uint32_t c = 0; c < ch; ++c)
    {
        // A predictor index outside the table (a damaged block) takes the first pair.
        const uint32_t index = block[c] < pairs ? block[c] : 0;
        c1[c] = m_Coefficients[index * 2];
        c2[c] = m_Coefficients[index * 2 + 1];
        delta[c] = Le16(block + ch + 2 * c);
        s1[c] = Le16(block + 3 * ch + 2 * c);
        s2[c] = Le16(block + 5 * ch + 2 * c);
        out[c] = static_cast<int16_t>(s2[c]);
        out[ch + c] = static_cast<int16_t>(s1[c]);
    }
    const uint32_t nibbles = (bytes - 7 * ch) * 2 / ch * ch;
    const uint8_t* p = block + 7 * ch;
    int16_t* dst = out + 2 * ch;
    for (uint32_t n = 0; n < nibbles; ++n)
    {
        const uint32_t c = ch == 2 ? (n & 1) : 0;
        const int nibble = (n & 1) ? (p[n >> 1] & 0x0F) : (p[n >> 1] >> 4);
        const int signedNibble = nibble >= 8 ? nibble - 16 : nibble;
        const int predicted = (s1[c] * c1[c] + s2[c] * c2[c]) / 256 + signedNibble * delta[c];
        const int16_t sample = Clamp16(predicted);
        s2[c] = s1[c];
        s1[c] = sample;
        dst[n] = sample;
        // The step never falls below 16; the top keeps the product within 32 bits.
        delta[c] = std::clamp((kMsAdaptation[nibble] * delta[c]) >> 8, 16, 0x7FFFFFFF / 768);
    }
    return 2 + nibbles / ch;
}
