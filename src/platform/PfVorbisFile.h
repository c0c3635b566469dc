#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// An Ogg Vorbis stream decoded by libvorbisfile through callbacks of the caller's (the engine reads its
// files through its own file layer, packs included). Output is 16-bit signed little-endian PCM.
class PfVorbisFile
{
public:
    struct Callbacks
    {
        // As fread: items read.
        size_t (*read)(void* buffer, size_t size, size_t count, void* source);
        // whence 0, 1, 2 as SEEK_SET, SEEK_CUR, SEEK_END; 0 on success, -1 on failure.
        int (*seek)(void* source, int64_t offset, int whence);
        int (*close)(void* source);
        long (*tell)(void* source);
    };

    PfVorbisFile();
    ~PfVorbisFile();
    PfVorbisFile(const PfVorbisFile&) = delete;
    PfVorbisFile& operator=(const PfVorbisFile&) = delete;

    // False when the data is not an Ogg Vorbis stream; nothing is then held (close is not called).
    bool Open(void* source, const Callbacks& callbacks);
    // Over bytes in memory that must outlive the stream.
    bool OpenMemory(const void* data, size_t size);
    bool IsOpen() const { return m_Open; }
    bool IsSeekable();
    int GetChannels();
    long GetRate();
    // Total frames, or a negative value when unknown.
    int64_t GetPcmTotal();
    // Bytes decoded into buffer (at most bytes); 0 at the end, negative on a damaged stretch.
    long Read(void* buffer, int bytes);
    bool PcmSeek(int64_t frame);
    int64_t PcmTell();
    // Releases the stream (calling the close callback).
    void Clear();

private:
    struct State;
    std::unique_ptr<State> m_State;
    bool m_Open = false;
};
