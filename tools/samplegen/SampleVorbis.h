#pragma once

// Ogg Vorbis files for the sample game's music, background voice, voices and effects, encoded with
// libvorbisenc. The stream serial number is given, so the same samples always give the same bytes.

#include <cstdint>
#include <string>
#include <vector>

// The bytes of an Ogg Vorbis file of mono 16-bit samples at quality 0.3; empty when the encoder refuses.
std::string EncodeOggVorbis(const std::vector<int16_t>& samples, int sampleRate, int serial);
