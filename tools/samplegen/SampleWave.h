#pragma once

// Pure tones and the WAVE files that carry them: 16-bit PCM and IMA ADPCM (4 bits a sample), written by
// our own writer so every byte is fixed by the definition.

#include <cstdint>
#include <string>
#include <vector>

// A mono sine tone: frequency in Hz, length in ms, peak amplitude out of 32767, with 5 ms ramps at both
// ends so it starts and stops without a click.
std::vector<int16_t> SampleTone(double frequency, int milliseconds, int sampleRate, int amplitude);
// A RIFF WAVE file of mono 16-bit PCM samples.
std::string PcmWave(const std::vector<int16_t>& samples, int sampleRate);
// A RIFF WAVE file of mono IMA ADPCM (format 0x11) in blocks of 512 bytes, 1017 samples each, with its
// "fact" chunk; the last block is padded with silence.
std::string ImaAdpcmWave(const std::vector<int16_t>& samples, int sampleRate);
