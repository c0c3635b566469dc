#pragma once

#include "task/GxLayerContent.h"
#include "task/GxTaskActor.h"
#include "task/GxTransitParam.h"

#include <cstdint>
#include <memory>
#include <string>

class GxCore;
class GxGDIFontMap;

// An actor that shows one content (picture, pattern, motion, movie, texture, colour) and cross-fades to a
// new one: it owns two content records, shows the current one, and a switch fills the other, makes it
// current and fades from the old over a local transition. It also shakes, clears a movie at its end and
// centres itself on the 1024 x 768 screen.
//
//   GxTaskLayer.cpp      construction, content switches, movie and shake operations
//   GxTaskLayerDraw.cpp  update, draw registration, draw, save and load
class GxMoviePlayerFile;

class GxTaskLayer : public GxTaskActor
{
public:
    static constexpr int32_t kTypeCode = 1;
    static constexpr int32_t kRenderLayer = 5;

    GxTaskLayer(GxTaskBase* parent, const wchar_t* globalName = nullptr, const wchar_t* localName = nullptr,
                int32_t localIndex = 0);
    ~GxTaskLayer() override;

    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    bool Save(GxContentWriterBase* writer) override;
    bool Load(GxContentReaderBase* reader) override;
    int32_t GetWidth() const override;
    int32_t GetHeight() const override;

    virtual int32_t GetLayerType() const { return m_LayerType; }
    virtual void SetLayerType(int32_t type) { m_LayerType = type; }
    // An empty group name is replaced, in the caller's string too, by the project's first group.
    virtual bool SetMotion(const std::wstring& projectFile, const std::wstring& imageSetName, std::wstring& groupName,
                           const std::wstring& motionName, int32_t startFrame, int32_t transit);
    virtual bool SetImageSet(const std::wstring& file, const std::wstring& imageName, int32_t patternIndex,
                             int32_t transit);
    // A file the file system does not have shows the fallback, labelled with the requested name.
    virtual bool SetImage(const std::wstring& file, int32_t transit, const std::wstring& fallback);
    virtual bool SetSolidColor(uint32_t argb, int32_t transit);
    virtual bool SetMovie(const std::wstring& file, int32_t width, int32_t height, int32_t loop, double loopStart,
                          int32_t volume, bool playNow, int32_t transit);
    virtual bool SetBlankTexture(int32_t width, int32_t height, int32_t transit);
    virtual bool SetTexture(const std::wstring& file, int32_t transit);
    virtual bool ClearContent(int32_t transit);
    virtual bool SetSubLayerImage(const std::wstring& file, int32_t index);
    virtual void ResetLayer();
    virtual GxLayerContent& GetCurrentContent() { return m_Contents[m_IndexPos]; }
    virtual void StopMovie();
    virtual bool PlayMovie(int32_t volume);
    // The movie slot's player of the current content's channel when that content is a movie, else null.
    virtual GxMoviePlayerFile* GetMoviePlayer() const;
    virtual bool IsMoviePlaying() const;
    virtual double GetMoviePosition() const;
    virtual void StartShake(const GxVector4& amplitude, int32_t ms);
    virtual void StopShake();
    virtual bool IsLocalTransiting() const { return m_LocalTransit.m_Transit; }
    virtual bool FinishLocalTransit();
    virtual void SetMovieAutoDisappearTime(int32_t ms) { m_MovieAutoDisappearTime = ms; }
    virtual int32_t GetMovieAutoDisappearTime() const { return m_MovieAutoDisappearTime; }
    virtual void SetLocalTransitMode(int32_t mode) { m_LocalTransitMode = mode; }
    virtual int32_t GetLocalTransitMode() const { return m_LocalTransitMode; }
    virtual void CenterOnScreen();

    GxLayerContent& GetOtherContent() { return m_Contents[1 - m_IndexPos]; }
    const GxLayerContent& GetContent(int32_t index) const { return m_Contents[index & 1]; }
    // The fade factors (incoming, outgoing) of the transition mode at progress p.
    static void GetTransitFactors(int32_t mode, float p, float& fin, float& fout);

    GxLayerContent m_Contents[2];
    int32_t m_LayerType = 0;
    int32_t m_IndexPos = 0;
    GxTransitParam m_LocalTransit;
    bool m_Shake = false;
    GxVector4 m_ShakeAmplitude;
    int32_t m_ShakeTimeLeft = 0;
    int32_t m_ShakeTimeTotal = 0;
    int32_t m_MovieAutoDisappearTime = 0;
    int32_t m_LocalTransitMode = 1;
    bool m_ShowLabel = false;                   // a missing picture's name is drawn over its fallback
    std::unique_ptr<GxGDIFontMap> m_pLabelFont; // made when a label is first drawn

private:
    // Steps 1 and 2 of every switch: actions finished, the other record made current and cleared.
    GxLayerContent& BeginSwitch();
    // Step 4: the transition of t ms, or the old record cleared at once.
    void EndSwitch(int32_t transit);
    void UpdateContent(GxLayerContent& content);
    void DrawContent(GxLayerContent& content, float factor);
};
