// The byte stream a movie is demuxed from. The engine hands in its own stream over its file layer, so the
// platform never opens a movie by name and a movie inside a pack plays like a loose one.
#pragma once

#include "platform/PfD3DTypes.h"

#include <cstdint>

// S_FALSE: the call did its work only in part (a read that reached the end, a refused position).
constexpr PfResult kPfResultFalse = 1;

class PfMovieByteStream
{
public:
    virtual ~PfMovieByteStream() = default;

    // Moves to an absolute byte position: S_OK, or kPfResultFalse (nothing moved) when the stream is not
    // open or the position is negative or past the size.
    virtual PfResult SetPointer(int64_t position) = 0;
    // Reads up to bytes at the position into buffer; *bytesRead says how many arrived. S_OK when some did,
    // kPfResultFalse at the end of the stream (nothing read).
    virtual PfResult Read(uint8_t* buffer, uint32_t bytes, bool align, uint32_t* bytesRead) = 0;
    // The total size; *available, when asked for, the part of it that may be read yet.
    virtual int64_t Size(int64_t* available) = 0;
    virtual uint32_t Alignment() = 0;
    // A position-and-read pair is made atomic by holding the stream's lock around it.
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
};
