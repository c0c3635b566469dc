#pragma once

#include <cstdint>

// The 16-byte PCM wave format every sound buffer and decoder speaks: the layout of a WAVE file's "fmt "
// chunk up to the bits a sample, with the Windows field names kept so the byte layout is plain to see.
struct PfWaveFormat
{
    uint16_t wFormatTag = 0; // 1 for PCM
    uint16_t nChannels = 0;
    uint32_t nSamplesPerSec = 0;
    uint32_t nAvgBytesPerSec = 0;
    uint16_t nBlockAlign = 0; // bytes of one frame (a sample of every channel)
    uint16_t wBitsPerSample = 0;
};

static_assert(sizeof(PfWaveFormat) == 16, "the wave format is read from and written to files as 16 bytes");

// Format tags of the WAVE files the converter understands.
enum : uint16_t
{
    PF_WAVE_FORMAT_PCM = 1,
    PF_WAVE_FORMAT_ADPCM = 2, // Microsoft ADPCM
    PF_WAVE_FORMAT_ALAW = 6,
    PF_WAVE_FORMAT_MULAW = 7,
    PF_WAVE_FORMAT_IMA_ADPCM = 0x11,
    PF_WAVE_FORMAT_GSM610 = 0x31,     // decoded through libavcodec (PfAudioCodec)
    PF_WAVE_FORMAT_MPEGLAYER3 = 0x55, // decoded through libavcodec (PfAudioCodec)
};
