// The byte stream of one movie file, read through the engine's file layer (a loose file or a pack entry),
// from which the movie reader demuxes. A data rate below the largest value makes the file behave like a
// stream arriving at that many bytes a millisecond; the player passes the largest value, which never
// sleeps.
#pragma once

#include "core/GxFileHandle.h"
#include "core/GxMutex.h"
#include "platform/PfMovieByteStream.h"

#include <cstdint>
#include <string>

class GxMovieSourceFilterFile : public PfMovieByteStream
{
public:
    static constexpr uint32_t kUnlimitedRate = 0xFFFFFFFFu;

    // Opens the file; IsOpen tells whether that worked.
    GxMovieSourceFilterFile(const std::wstring& name, uint32_t dataRate);
    ~GxMovieSourceFilterFile() override;

    bool IsOpen() const { return m_File.IsOpen(); }

    PfResult SetPointer(int64_t position) override;
    PfResult Read(uint8_t* buffer, uint32_t bytes, bool align, uint32_t* bytesRead) override;
    int64_t Size(int64_t* available) override;
    uint32_t Alignment() override { return 1; }
    void Lock() override { m_Lock.Lock(); }
    void Unlock() override { m_Lock.Unlock(); }

    // Milliseconds after the stream was made at which its first `end` bytes have all arrived: `end` over the
    // rate, rounded down; 0, at once, at the unlimited rate or 0. A read waits until then.
    static uint64_t ArrivalMs(uint64_t end, uint32_t dataRate);

private:
    GxMutex m_Lock;
    GxFileHandle m_File;
    int64_t m_Position = 0;
    uint32_t m_DataRate;
    uint64_t m_CreateTime; // ms of the process clock
};
