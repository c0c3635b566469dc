#pragma once

#include <cstdint>
#include <vector>

class GxFileHandle;

// The RIFF WAVE layout both WAVE decoders read: "RIFF", size, "WAVE", then "fmt " first and a "data"
// chunk somewhere after it. Every size from the file is checked in 64 bits against the file's real
// size, so a damaged header can neither run the scan past the end nor promise data that is not there.
class GxWaveFileHeader
{
public:
    enum Result
    {
        kOk,
        kNoRiff, // the tags or the format chunk are not those of a WAVE file
        kNoData, // no "data" chunk inside the file
    };
    // Largest format chunk taken in whole; real ones are 16 to a few hundred bytes.
    static constexpr uint32_t kMaxFormatBytes = 65536;

    // Reads the header from the start of an open file and leaves the file at the data's start.
    Result Read(GxFileHandle& file);

    // Every byte of the format chunk (at least 16).
    std::vector<uint8_t> m_Format;
    uint32_t m_DataOffset = 0;
    // The "data" chunk's size, clamped to the bytes the file holds after its head (a cut file plays
    // what it has).
    uint32_t m_DataSize = 0;
    // The "data" chunk promised more bytes than the file holds (the file was cut off).
    bool m_DataCut = false;
};
