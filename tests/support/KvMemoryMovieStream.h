#pragma once
// A whole movie file held in memory, read through the byte stream the movie decoder takes.
#include "platform/PfMovieByteStream.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

class KvMemoryMovieStream : public PfMovieByteStream
{
public:
    explicit KvMemoryMovieStream(std::vector<uint8_t> bytes) : m_Bytes(std::move(bytes)) {}
    // The file's bytes; none when it cannot be read.
    static std::vector<uint8_t> ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool Empty() const { return m_Bytes.empty(); }
    PfResult SetPointer(int64_t position) override
    {
        if (position < 0 || position > (int64_t)m_Bytes.size())
            return kPfResultFalse;
        m_Position = (size_t)position;
        return S_OK;
    }
    PfResult Read(uint8_t* buffer, uint32_t bytes, bool, uint32_t* bytesRead) override
    {
        const size_t n = std::min<size_t>(bytes, m_Bytes.size() - m_Position);
        std::copy_n(m_Bytes.begin() + (ptrdiff_t)m_Position, n, buffer);
        m_Position += n;
        *bytesRead = (uint32_t)n;
        return n ? S_OK : kPfResultFalse;
    }
    int64_t Size(int64_t* available) override
    {
        if (available)
            *available = (int64_t)m_Bytes.size();
        return (int64_t)m_Bytes.size();
    }
    uint32_t Alignment() override { return 1; }
    void Lock() override { m_Lock.lock(); }
    void Unlock() override { m_Lock.unlock(); }

private:
    std::vector<uint8_t> m_Bytes;
    size_t m_Position = 0;
    std::mutex m_Lock;
};
