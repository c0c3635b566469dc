#include "media/GxMovieReader.h"

#include "core/GxPath.h"
#include "core/GxString.h"
#include "media/GxMovieSourceFilterFile.h"

namespace
{

struct SubtypeRow
{
    const wchar_t* Extension;
    GxMovieSubtype Subtype;
};

constexpr SubtypeRow kSubtypes[] = {
    {L".avi", GxMovieSubtype::Avi},          {L".mpg", GxMovieSubtype::MPEG1System},
    {L".mpeg", GxMovieSubtype::MPEG1System}, {L".mpv", GxMovieSubtype::MPEG1Video},
    {L".dat", GxMovieSubtype::MPEG1VideoCD}, {L".mov", GxMovieSubtype::QTMovie},
    {L".mpa", GxMovieSubtype::MPEG1Audio},   {L".wav", GxMovieSubtype::WAVE},
};

} // namespace

GxMovieSubtype GxMovieReader::SubtypeOf(const std::wstring& name)
{
    const std::wstring extension = GxString::ToLower(GxPath::GetExtension(name));
    for (const SubtypeRow& row : kSubtypes)
        if (extension == row.Extension)
            return row.Subtype;
    return GxMovieSubtype::None;
}

const char* GxMovieReader::DemuxerOf(GxMovieSubtype subtype)
{
    switch (subtype)
    {
    case GxMovieSubtype::Avi:
        return "avi";
    // A VideoCD ".dat" file is an MPEG-1 program stream behind a RIFF header the demuxer skips.
    case GxMovieSubtype::MPEG1System:
    case GxMovieSubtype::MPEG1VideoCD:
        return "mpeg";
    case GxMovieSubtype::MPEG1Video:
        return "mpegvideo";
    case GxMovieSubtype::QTMovie:
        return "mov";
    case GxMovieSubtype::MPEG1Audio:
        return "mp3";
    case GxMovieSubtype::WAVE:
        return "wav";
    case GxMovieSubtype::None:
        break;
    }
    return nullptr;
}

GxMovieReader::GxMovieReader(GxMovieSourceFilterFile* stream, GxMovieSubtype subtype)
    : m_pStream(stream), m_Subtype(subtype)
{
}

bool GxMovieReader::Open(PfMovieSound sound, std::string* error)
{
    const char* demuxer = DemuxerOf(m_Subtype);
    if (!m_pStream || !m_pStream->IsOpen() || !demuxer)
    {
        if (error)
            *error = "no stream";
        return false;
    }
    return m_Decoder.Open(m_pStream, demuxer, sound, error);
}
