// A movie played from a file through the engine's file layer: the source stream over the file, the
// reader (demuxer and decoders), the renderer into a movie texture and the graph that runs them on a
// thread of its own (in a scripted run, driven by Update on the pass clock instead: see GxMovie). Everything
// here runs on the main thread; the graph's thread only decodes, waits and copies frames.
#pragma once

#include "media/GxMoviePlayerBase.h"
#include "media/GxMovieReader.h"

#include <memory>
#include <string>

class GxMovieGraph;
class GxMovieRenderer;
class GxMovieSourceFilterFile;
class GxTextureMovie;

class GxMoviePlayerFile : public GxMoviePlayerBase
{
public:
    GxMoviePlayerFile() = default;
    ~GxMoviePlayerFile() override;

    // texture: the one to draw into, or null to let the renderer make one of the video size; withSound:
    // the sound is decoded and played (else never decoded); dynamic: the renderer's own texture is dynamic.
    bool Open(const std::wstring& name, GxTextureMovie* texture, bool withSound, bool dynamic);

    void Close() override;
    bool Play(int32_t loopCount, int32_t volume) override;
    bool Stop() override;
    bool SetVolume(int32_t volume) override;
    bool SetRate(double rate) override;
    void SetLoopPosition(double seconds) override { m_LoopPosition = seconds; }
    double GetLoopPosition() override { return m_LoopPosition; }
    double GetStopTime() override;
    double GetDuration() override;
    double GetCurrentPosition() override;
    int32_t GetLoopCount() override { return m_Playing ? m_LoopCount : 0; }
    bool SetCurrentPosition(double seconds) override;
    void GetTextureScale(float* horizontal, float* vertical) override;
    int32_t GetVideoWidth() override { return m_VideoWidth; }
    int32_t GetVideoHeight() override { return m_VideoHeight; }
    int32_t GetVideoPitch() override { return m_VideoPitch; }
    bool GetEvent(int32_t* code, intptr_t* param1, intptr_t* param2, uint32_t timeoutMs) override;
    void Update() override;
    bool IsPlaying() override { return m_Playing; }
    PfGLTexture* GetD3DTexture() override;
    GxTextureMovie* GetTextureMovie() override;

    // The renderer, for those who check the frames' timing; null when closed.
    GxMovieRenderer* GetRenderer() const { return m_pRenderer; }
    bool HasSound() const;

private:
    GxMovieGraph* m_pGraph = nullptr;
    GxMovieRenderer* m_pRenderer = nullptr;
    GxMovieSubtype m_Subtype = GxMovieSubtype::None;
    GxMovieSourceFilterFile* m_pSource = nullptr;
    GxMovieReader* m_pReader = nullptr;
    bool m_Playing = false;
    int32_t m_LoopCount = 0;
    int32_t m_VideoWidth = 0;
    int32_t m_VideoHeight = 0;
    int32_t m_VideoPitch = 0;
    float m_ScaleX = 1.0f;
    float m_ScaleY = 1.0f;
    double m_LoopPosition = 0.0;
};
