// The reading end of a movie: the demuxer and decoders over the movie's source stream. The subtype, taken
// from the file name's extension, picks the demuxer; when that fails the content decides once.
#pragma once

#include "platform/PfMovieDecoder.h"

#include <string>

class GxMovieSourceFilterFile;

enum class GxMovieSubtype
{
    None,
    Avi,
    MPEG1System,
    MPEG1Video,
    MPEG1VideoCD,
    QTMovie,
    MPEG1Audio,
    WAVE,
};

class GxMovieReader
{
public:
    // The subtype of a file name's extension (after the last dot, ASCII case ignored); None when unlisted.
    static GxMovieSubtype SubtypeOf(const std::wstring& name);
    // The libavformat demuxer of a subtype, null for None.
    static const char* DemuxerOf(GxMovieSubtype subtype);

    GxMovieReader(GxMovieSourceFilterFile* stream, GxMovieSubtype subtype);

    // Opens the demuxer and the decoders; false with the reason in error.
    bool Open(PfMovieSound sound, std::string* error);
    PfMovieDecoder& GetDecoder() { return m_Decoder; }
    GxMovieSubtype GetSubtype() const { return m_Subtype; }

private:
    GxMovieSourceFilterFile* m_pStream; // not owned
    GxMovieSubtype m_Subtype;
    PfMovieDecoder m_Decoder;
};
