#include "platform/PfVorbisFile.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>

struct PfVorbisFile::State
{
    OggVorbis_File file{};
    // Memory source
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t position = 0;
};

PfVorbisFile::PfVorbisFile() : m_State(new State) {}

PfVorbisFile::~PfVorbisFile()
{
    Clear();
}

bool PfVorbisFile::Open(void* source, const Callbacks& callbacks)
{
    Clear();
    ov_callbacks cb;
    cb.read_func = callbacks.read;
    cb.seek_func = reinterpret_cast<int (*)(void*, ogg_int64_t, int)>(callbacks.seek);
    cb.close_func = callbacks.close;
    cb.tell_func = callbacks.tell;
    if (ov_open_callbacks(source, &m_State->file, nullptr, 0, cb) != 0)
        return false;
    m_Open = true;
    return true;
}

bool PfVorbisFile::OpenMemory(const void* data, size_t size)
{
    Clear();
    m_State->data = static_cast<const uint8_t*>(data);
    m_State->size = size;
    m_State->position = 0;
    ov_callbacks cb;
    cb.read_func = [](void* buffer, size_t itemSize, size_t count, void* source) -> size_t
    {
        State* s = static_cast<State*>(source);
        if (itemSize == 0)
            return 0;
        const size_t n = std::min(count, (s->size - s->position) / itemSize);
        std::memcpy(buffer, s->data + s->position, n * itemSize);
        s->position += n * itemSize;
        return n;
    };
    cb.seek_func = [](void* source, ogg_int64_t offset, int whence) -> int
    {
        State* s = static_cast<State*>(source);
        const int64_t base = whence == 0   ? 0
                             : whence == 1 ? static_cast<int64_t>(s->position)
                                           : static_cast<int64_t>(s->size);
        const int64_t target = base + offset;
        if (whence < 0 || whence > 2 || target < 0 || target > static_cast<int64_t>(s->size))
            return -1;
        s->position = static_cast<size_t>(target);
        return 0;
    };
    cb.close_func = [](void*) -> int { return 0; };
    cb.tell_func = [](void* source) -> long { return static_cast<long>(static_cast<State*>(source)->position); };
    if (ov_open_callbacks(m_State.get(), &m_State->file, nullptr, 0, cb) != 0)
        return false;
    m_Open = true;
    return true;
}

bool PfVorbisFile::IsSeekable()
{
    return m_Open && ov_seekable(&m_State->file) != 0;
}

int PfVorbisFile::GetChannels()
{
    const vorbis_info* info = m_Open ? ov_info(&m_State->file, -1) : nullptr;
    return info ? info->channels : 0;
}

long PfVorbisFile::GetRate()
{
    const vorbis_info* info = m_Open ? ov_info(&m_State->file, -1) : nullptr;
    return info ? info->rate : 0;
}

int64_t PfVorbisFile::GetPcmTotal()
{
    return m_Open ? ov_pcm_total(&m_State->file, -1) : -1;
}

long PfVorbisFile::Read(void* buffer, int bytes)
{
    if (!m_Open)
        return -1;
    int section = 0;
    return ov_read(&m_State->file, static_cast<char*>(buffer), bytes, 0, 2, 1, &section);
}

bool PfVorbisFile::PcmSeek(int64_t frame)
{
    return m_Open && ov_pcm_seek(&m_State->file, frame) == 0;
}

int64_t PfVorbisFile::PcmTell()
{
    return m_Open ? ov_pcm_tell(&m_State->file) : 0;
}

void PfVorbisFile::Clear()
{
    if (m_Open)
        ov_clear(&m_State->file);
    m_Open = false;
}
