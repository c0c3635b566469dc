// A compressed WAVE format decoded through libavcodec: MPEG layer 3 (format tag 0x55) and GSM 6.10
// (0x31, the 65-byte blocks of 320 samples). Compressed bytes go in as the file holds them, in pieces of
// any size; a parser cuts them into the codec's frames, and 16-bit interleaved samples come out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct AVCodecContext;
struct AVCodecParserContext;
struct AVFrame;
struct AVPacket;

class PfAudioCodec
{
public:
    PfAudioCodec() = default;
    ~PfAudioCodec();
    PfAudioCodec(const PfAudioCodec&) = delete;
    PfAudioCodec& operator=(const PfAudioCodec&) = delete;

    // True for the format tags this decodes.
    static bool Handles(uint16_t formatTag);
    // Opens the decoder for the WAVE format (its rate, channels and block align); false when the tag is
    // another, the values make no sense or libavcodec lacks the decoder. The first open loads FFmpeg
    // (PfFFmpeg); when it cannot be loaded, false with the reason in error.
    bool Open(uint16_t formatTag, uint32_t rate, uint16_t channels, uint16_t blockAlign, std::string* error = nullptr);
    void Close();
    bool IsOpen() const { return m_Context != nullptr; }

    // Decodes the bytes, appending the samples of every whole frame (channels interleaved, as many as the
    // format says); a damaged frame is dropped. With end set, what the parser and the decoder still hold
    // comes out too, and the codec starts afresh for the next bytes.
    void Decode(const uint8_t* data, size_t size, bool end, std::vector<int16_t>& out);
    // Forgets every byte and sample held (before decoding from another place of the stream).
    void Reset();

private:
    void SendPacket(const uint8_t* data, int size, std::vector<int16_t>& out);
    void Receive(std::vector<int16_t>& out);

    AVCodecContext* m_Context = nullptr;
    AVCodecParserContext* m_Parser = nullptr;
    AVPacket* m_Packet = nullptr;
    AVFrame* m_Frame = nullptr;
    uint16_t m_Channels = 0;
    int m_CodecId = 0;
};
