// The last stage of a movie: copies each decoded frame (bottom-up 24-bit rows) into a GxTextureMovie, on
// the movie's thread, under the texture's lock. Without a texture given it makes its own of the video
// size, 32-bit ARGB, opaque black, and deletes it with itself. It also keeps the last copy times against
// the movie clock, so the timing of the pictures can be checked.
#pragma once

#include "platform/PfD3DTypes.h"

#include <cstdint>
#include <mutex>
#include <vector>

class GxTextureMovie;

class GxMovieRenderer
{
public:
    struct CopyRecord
    {
        double FrameTime; // the frame's time in the movie, seconds
        double Clock;     // the movie clock when the copy finished, seconds
    };
    static constexpr size_t kCopyRecords = 1024;

    // texture: the one to draw into, or null to make one when the video size is known.
    GxMovieRenderer(GxTextureMovie* texture, bool dynamic);
    ~GxMovieRenderer();
    GxMovieRenderer(const GxMovieRenderer&) = delete;
    GxMovieRenderer& operator=(const GxMovieRenderer&) = delete;

    // The video size; the height may be negative (a top-down format) and is taken as its size. Makes the
    // renderer's own texture (main thread: it creates device textures). E_FAIL when that fails.
    PfResult SetMediaType(int32_t width, int32_t height);
    // Copies one frame of the video size with the row pitch of SetMediaType.
    PfResult DoRenderSample(const uint8_t* frame, double frameTime, double clock);
    void GetVideoSize(int32_t* width, int32_t* height, int32_t* pitch) const;
    GxTextureMovie* GetTexture() const { return m_pTexture; }
    bool OwnsTexture() const { return m_OwnTexture; }
    std::vector<CopyRecord> GetCopyRecords() const;

private:
    GxTextureMovie* m_pTexture;
    bool m_OwnTexture;
    bool m_Dynamic;
    int32_t m_VideoWidth = 0;
    int32_t m_VideoHeight = 0;
    int32_t m_VideoPitch = 0;
    mutable std::mutex m_RecordLock;
    std::vector<CopyRecord> m_Records; // a ring of kCopyRecords
    size_t m_RecordCount = 0;
};
