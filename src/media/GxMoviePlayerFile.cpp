#include "media/GxMoviePlayerFile.h"

#include "core/GxLog.h"
#include "core/GxString.h"
#include "graphics/GxTextureMovie.h"
#include "media/GxMovie.h"
#include "media/GxMovieGraph.h"
#include "media/GxMovieRenderer.h"
#include "media/GxMovieSoundBuffer.h"
#include "media/GxMovieSourceFilterFile.h"

GxMoviePlayerFile::~GxMoviePlayerFile()
{
    Close();
}

bool GxMoviePlayerFile::Open(const std::wstring& name, GxTextureMovie* texture, bool withSound, bool dynamic)
{
    Close();
    m_Subtype = GxMovieReader::SubtypeOf(name);
    if (m_Subtype == GxMovieSubtype::None)
    {
        GxLog::Error(L"GxMoviePlayerFile::この形式は再生できません。再生可能なのはavi,mpgのみです (File=%s)\n",
                     name.c_str());
        return false;
    }
    m_pSource = new GxMovieSourceFilterFile(name, GxMovieSourceFilterFile::kUnlimitedRate);
    if (!m_pSource->IsOpen())
    {
        GxLog::Error(L"GxMoviePlayerFile::動画ファイルオープンに失敗 (File=%s)\n", name.c_str());
        Close();
        return false;
    }
    // The reader opens the demuxer here (by the subtype, else by the content): a file that does not demux
    // and decode its first picture is a file that did not open.
    m_pReader = new GxMovieReader(m_pSource, m_Subtype);
    // Without an open sound output the movie plays silent, timed by the process clock, and its sound is
    // never decoded.
    std::unique_ptr<GxMovieSoundOutput> sound = withSound ? GxMovieSoundBuffer::Create() : nullptr;
    std::string reason;
    if (!m_pReader->Open(sound ? PfMovieSound::Decode : PfMovieSound::Skip, &reason))
    {
        GxLog::Error(L"GxMoviePlayerFile::動画ファイルオープンに失敗 (File=%s)\n", name.c_str());
        GxLog::Debug(L"GxMoviePlayerFile::Open/%s (File=%s)\n", GxString::FromUtf8(reason).c_str(), name.c_str());
        Close();
        return false;
    }
    m_pGraph = new GxMovieGraph();
    m_pGraph->SetPassClock(GxMovie::GetPassClock());
    m_pGraph->AddReader(m_pReader);
    m_pRenderer = new GxMovieRenderer(texture, dynamic);
    m_pGraph->AddRenderer(m_pRenderer);
    PfMovieDecoder& decoder = m_pReader->GetDecoder();
    if (decoder.HasVideo())
    {
        const PfResult hr = m_pRenderer->SetMediaType((int32_t)decoder.GetWidth(), (int32_t)decoder.GetHeight());
        if (PfFailed(hr))
        {
            GxLog::Error(L"Could not connect pins!  hr=0x%x\n", (uint32_t)hr);
            Close();
            return false;
        }
    }
    if (sound && decoder.HasAudio())
        m_pGraph->SetSoundOutput(std::move(sound));
    m_pRenderer->GetVideoSize(&m_VideoWidth, &m_VideoHeight, &m_VideoPitch);
    GxTextureMovie* target = m_pRenderer->GetTexture();
    if (decoder.HasVideo() && target && target->GetWidth() > 0 && target->GetHeight() > 0)
    {
        m_ScaleX = (float)m_VideoWidth / (float)target->GetWidth();
        m_ScaleY = (float)m_VideoHeight / (float)target->GetHeight();
    }
    return true;
}

void GxMoviePlayerFile::Close()
{
    // The graph's thread is stopped and joined before anything it uses goes.
    if (m_pGraph)
    {
        m_pGraph->Stop();
        m_pGraph->Close();
    }
    delete m_pGraph;
    m_pGraph = nullptr;
    delete m_pRenderer;
    m_pRenderer = nullptr;
    delete m_pReader;
    m_pReader = nullptr;
    delete m_pSource;
    m_pSource = nullptr;
    m_LoopPosition = 0.0;
    m_Playing = false;
    m_LoopCount = 0;
    m_VideoWidth = m_VideoHeight = m_VideoPitch = 0;
    m_ScaleX = m_ScaleY = 1.0f;
}

bool GxMoviePlayerFile::Play(int32_t loopCount, int32_t volume)
{
    m_LoopCount = loopCount;
    if (!m_pGraph)
        return false;
    if (m_pGraph->HasSound())
        m_pGraph->SetVolume(volume);
    m_Playing = m_pGraph->Run();
    return m_Playing;
}

bool GxMoviePlayerFile::Stop()
{
    m_Playing = false;
    if (!m_pGraph)
        return false;
    m_pGraph->Stop();
    return true;
}

bool GxMoviePlayerFile::SetVolume(int32_t volume)
{
    if (!m_pGraph || !m_pGraph->HasSound())
        return false;
    m_pGraph->SetVolume(volume);
    return true;
}

bool GxMoviePlayerFile::SetRate(double rate)
{
    if (!m_pGraph || rate <= 0.0)
        return false;
    m_pGraph->SetRate(rate);
    return true;
}

double GxMoviePlayerFile::GetStopTime()
{
    return GetDuration();
}

double GxMoviePlayerFile::GetDuration()
{
    return m_pGraph ? m_pGraph->GetDuration() : 0.0;
}

double GxMoviePlayerFile::GetCurrentPosition()
{
    return m_pGraph ? m_pGraph->GetPosition() : 0.0;
}

bool GxMoviePlayerFile::SetCurrentPosition(double seconds)
{
    return m_pGraph && m_pGraph->SetPosition(seconds);
}

void GxMoviePlayerFile::GetTextureScale(float* horizontal, float* vertical)
{
    if (horizontal)
        *horizontal = m_ScaleX;
    if (vertical)
        *vertical = m_ScaleY;
}

bool GxMoviePlayerFile::GetEvent(int32_t* code, intptr_t* param1, intptr_t* param2, uint32_t timeoutMs)
{
    return m_pGraph && m_pGraph->GetEvent(code, param1, param2, timeoutMs);
}

void GxMoviePlayerFile::Update()
{
    if (!m_pGraph)
        return;
    m_pGraph->Pump();
    int32_t code = 0;
    intptr_t param1 = 0, param2 = 0;
    if (!m_pGraph->GetEvent(&code, &param1, &param2, 0) || code != GxMovieGraph::EC_COMPLETE)
        return;
    if (m_LoopCount == 0)
    {
        // Stopped before the seek, so the clock cannot run on past 0.0 in between.
        m_Playing = false;
        m_pGraph->Stop();
        m_pGraph->SetPosition(0.0);
        return;
    }
    m_pGraph->SetPosition(m_LoopPosition);
    m_pGraph->Run();
    if (m_LoopCount > 0)
        --m_LoopCount;
}

PfGLTexture* GxMoviePlayerFile::GetD3DTexture()
{
    GxTextureMovie* texture = GetTextureMovie();
    return texture ? texture->GetD3DTexture() : nullptr;
}

GxTextureMovie* GxMoviePlayerFile::GetTextureMovie()
{
    return m_pRenderer ? m_pRenderer->GetTexture() : nullptr;
}

bool GxMoviePlayerFile::HasSound() const
{
    return m_pGraph && m_pGraph->HasSound();
}
