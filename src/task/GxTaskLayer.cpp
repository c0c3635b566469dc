#include "task/GxTaskLayer.h"

#include "animation/GxNcCrammedImageSet.h"
#include "animation/GxNcCrammedImageSetFactory.h"
#include "animation/GxNcProjectEx.h"
#include "animation/GxNcProjectFactory.h"
#include "core/GxFile.h"
#include "core/GxLog.h"
#include "core/GxString.h"
#include "graphics/GxDisplaySettings.h"
#include "graphics/GxGDIFontMap.h"
#include "graphics/GxTexture.h"
#include "graphics/GxTextureFlex.h"
#include "graphics/GxTextureMovie.h"
#include "media/GxMovie.h"
#include "media/GxMoviePlayerFile.h"
#include "task/GxSubLayerContent.h"

GxTaskLayer::GxTaskLayer(GxTaskBase* parent, const wchar_t* globalName, const wchar_t* localName, int32_t localIndex)
    : GxTaskActor(parent, globalName, localName, localIndex)
{
    SetTypeCode(kTypeCode);
    AddTaskKind(GX_TASKKIND_LAYER);
    SetActionPause(false);
}

GxTaskLayer::~GxTaskLayer() = default;

GxLayerContent& GxTaskLayer::BeginSwitch()
{
    FinishActions(this);
    m_IndexPos = (m_IndexPos + 1) % 2;
    m_Contents[m_IndexPos].Clear();
    return m_Contents[m_IndexPos];
}

void GxTaskLayer::EndSwitch(int32_t transit)
{
    if (transit > 0)
    {
        m_LocalTransit.m_Transit = true;
        m_LocalTransit.m_TransitTimeLeft = transit;
        m_LocalTransit.m_TransitTimeTotal = transit;
        return;
    }
    m_LocalTransit.m_Transit = false;
    m_LocalTransit.m_TransitTimeLeft = 0;
    m_LocalTransit.m_TransitTimeTotal = 0;
    GetOtherContent().Clear();
}

bool GxTaskLayer::SetMotion(const std::wstring& projectFile, const std::wstring& imageSetName, std::wstring& groupName,
                            const std::wstring& motionName, int32_t startFrame, int32_t transit)
{
    // Taken before the switch clears the record: a project shown now and again is not unloaded and read anew.
    GxNcProjectEx* project = GxNcProjectFactory::GetInstance().Get(projectFile, imageSetName, true);
    GxLayerContent& c = BeginSwitch();
    if (!project)
        return false;
    if (groupName.empty())
    {
        if (project->m_MotionGroups.empty())
        {
            GxNcProjectFactory::GetInstance().Release(project);
            return false;
        }
        groupName = project->m_MotionGroups[0]->m_MotionGroupName;
    }
    else if (!project->FindMotionGroup(groupName))
    {
        GxNcProjectFactory::GetInstance().Release(project);
        return false;
    }
    c.m_ContentType = GxLayerContent::kMotion;
    c.m_pProject = project;
    c.m_FrameCount = startFrame;
    c.m_MotionGroupName = groupName;
    c.m_MotionName = motionName;
    c.m_ContentFileName = projectFile;
    c.m_ImageName = imageSetName;
    EndSwitch(transit);
    return true;
}

bool GxTaskLayer::SetImageSet(const std::wstring& file, const std::wstring& imageName, int32_t patternIndex,
                              int32_t transit)
{
    GxNcCrammedImageSet* set = GxNcCrammedImageSetFactory::GetInstance().GetCrammedImageSet(file, true);
    GxLayerContent& c = BeginSwitch();
    if (!set)
        return false;
    c.m_ContentType = GxLayerContent::kImageSet;
    c.m_pImageSet = set;
    c.m_ContentFileName = file;
    c.m_ImageName = GxString::ToLower(imageName);
    c.m_PatternIndex = patternIndex;
    c.m_pOriginImage = set->FindOriginImage(c.m_ImageName);
    // The index comes from the script: outside the pattern list the size stays 0 and the draw skips it.
    if (c.m_pOriginImage && c.m_pOriginImage->HasPattern(patternIndex))
    {
        c.m_Width = c.m_pOriginImage->m_Patterns[patternIndex].m_Width;
        c.m_Height = c.m_pOriginImage->m_Patterns[patternIndex].m_Height;
    }
    EndSwitch(transit);
    return c.m_pOriginImage != nullptr;
}

bool GxTaskLayer::SetImage(const std::wstring& file, int32_t transit, const std::wstring& fallback)
{
    GxLayerContent& c = BeginSwitch();
    const bool present = GxFile::Exists(file) != GxFile::kAbsent;
    m_ShowLabel = !present;
    // The label names the missing picture on screen; the log keeps it for a player who saw it pass.
    if (!present && !file.empty())
        GxLog::SlightError(L"Error/GxTaskLayer::SetImage ファイルが見つかりません(%s)\n", file.c_str());
    c.m_ContentType = GxLayerContent::kImage;
    c.m_ContentFileName = file;
    c.m_pImage = new GxTextureFlex();
    bool loaded = c.m_pImage->CreateFromFile(present ? file : fallback, D3DFMT_UNKNOWN, 0);
    // A damaged picture (its loader has logged why) shows as the fallback, labelled like a missing one.
    if (!loaded && present && !fallback.empty())
    {
        m_ShowLabel = true;
        loaded = c.m_pImage->CreateFromFile(fallback, D3DFMT_UNKNOWN, 0);
    }
    if (!loaded)
        return false;
    c.m_Width = static_cast<int32_t>(c.m_pImage->GetWidth());
    c.m_Height = static_cast<int32_t>(c.m_pImage->GetHeight());
    EndSwitch(transit);
    return true;
}

bool GxTaskLayer::SetSolidColor(uint32_t argb, int32_t transit)
{
    GxLayerContent& c = BeginSwitch();
    c.m_ContentType = GxLayerContent::kSolidColor;
    c.m_SolidColor = GxVector4(((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
                               (argb >> 24) / 255.0f);
    c.m_Width = static_cast<int32_t>(GxDisplaySettings::Get().m_BackBufferWidth);
    c.m_Height = static_cast<int32_t>(GxDisplaySettings::Get().m_BackBufferHeight);
    EndSwitch(transit);
    return true;
}

bool GxTaskLayer::SetMovie(const std::wstring& file, int32_t width, int32_t height, int32_t loop, double loopStart,
                           int32_t volume, bool playNow, int32_t transit)
{
    GxLayerContent& c = BeginSwitch();
    c.m_ContentType = GxLayerContent::kMovie;
    GxTextureMovie* texture = new GxTextureMovie();
    c.m_pTexture = texture;
    const bool created =
        texture->Create(file, static_cast<uint32_t>(width), static_cast<uint32_t>(height), D3DFMT_UNKNOWN, 0, false);
    c.m_MyChannel = static_cast<uint32_t>(m_IndexPos + 1);
    c.m_ContentFileName = file;
    c.m_Width = width;
    c.m_Height = height;
    c.m_LoopCount = loop - 1;
    c.m_LoopStartPos = loopStart;
    c.m_MovieAutoDisappear = playNow;
    bool result = created;
    if (playNow)
    {
        const int slot = static_cast<int>(c.m_MyChannel);
        result = GxMovie::Open(slot, file, texture, true, false);
        GxMovie::SetLoopPosition(slot, loopStart);
        GxMovie::Play(slot, c.m_LoopCount, volume);
    }
    if (!result)
        return false;
    EndSwitch(transit);
    return true;
}

bool GxTaskLayer::SetBlankTexture(int32_t width, int32_t height, int32_t transit)
{
    GxLayerContent& c = BeginSwitch();
    c.m_ContentType = GxLayerContent::kBlankTexture;
    GxTexture* texture = new GxTexture();
    c.m_pTexture = texture;
    c.m_Width = width;
    c.m_Height = height;
    if (!texture->CreateTexture(L"", static_cast<uint32_t>(width), static_cast<uint32_t>(height), D3DFMT_A8R8G8B8, 1))
        return false;
    EndSwitch(transit);
    return true;
}

bool GxTaskLayer::SetTexture(const std::wstring& file, int32_t transit)
{
    GxLayerContent& c = BeginSwitch();
    c.m_ContentType = GxLayerContent::kTexture;
    GxTexture* texture = new GxTexture();
    c.m_pTexture = texture;
    c.m_ContentFileName = file;
    if (!texture->CreateFromFile(file, D3DFMT_UNKNOWN, 1, 0, false))
        return false;
    c.m_Width = static_cast<int32_t>(texture->GetImageWidth());
    c.m_Height = static_cast<int32_t>(texture->GetImageHeight());
    EndSwitch(transit);
    return true;
}

bool GxTaskLayer::ClearContent(int32_t transit)
{
    BeginSwitch();
    EndSwitch(transit);
    return true;
}

bool GxTaskLayer::SetSubLayerImage(const std::wstring& file, int32_t index)
{
    if (GxSubLayerContent* sub = GetCurrentContent().GetSubLayer(index))
        return sub->SetImage(file);
    GxLog::Error(L"GxTaskLayer:サブレイヤーに読み込めません。インデックスを超えている可能性があります:%ls index:%d\n",
                 file.c_str(), index);
    return false;
}

void GxTaskLayer::ResetLayer()
{
    StopShake();
    SetActionPause(false);
    m_MovieAutoDisappearTime = 0;
    m_ShowLabel = false;
    m_LocalTransitMode = 1;
    m_Contents[0].Clear();
    m_Contents[1].Clear();
}

void GxTaskLayer::StopMovie()
{
    const GxLayerContent& c = m_Contents[m_IndexPos];
    if (c.m_ContentType == GxLayerContent::kMovie)
        GxMovie::Stop(static_cast<int>(c.m_MyChannel));
}

bool GxTaskLayer::PlayMovie(int32_t volume)
{
    GxLayerContent& c = m_Contents[m_IndexPos];
    if (c.m_ContentType != GxLayerContent::kMovie || !c.m_pTexture)
        return false;
    const int slot = static_cast<int>(c.m_MyChannel);
    const bool opened =
        GxMovie::Open(slot, c.m_ContentFileName, static_cast<GxTextureMovie*>(c.m_pTexture), true, false);
    GxMovie::SetLoopPosition(slot, c.m_LoopStartPos);
    GxMovie::Play(slot, c.m_LoopCount, volume);
    return opened;
}

GxMoviePlayerFile* GxTaskLayer::GetMoviePlayer() const
{
    const GxLayerContent& c = m_Contents[m_IndexPos];
    if (c.m_ContentType != GxLayerContent::kMovie)
        return nullptr;
    return GxMovie::GetPlayer(static_cast<int>(c.m_MyChannel));
}

bool GxTaskLayer::IsMoviePlaying() const
{
    const GxLayerContent& c = m_Contents[m_IndexPos];
    if (!c.m_pTexture)
        return false;
    GxMoviePlayerFile* player = GetMoviePlayer();
    return player && player->IsPlaying();
}

double GxTaskLayer::GetMoviePosition() const
{
    const GxLayerContent& c = m_Contents[m_IndexPos];
    if (c.m_ContentType != GxLayerContent::kMovie || !c.m_pTexture)
        return 0.0;
    return GxMovie::GetPosition(static_cast<int>(c.m_MyChannel));
}

void GxTaskLayer::StartShake(const GxVector4& amplitude, int32_t ms)
{
    m_Shake = true;
    m_ShakeAmplitude = amplitude;
    m_ShakeTimeLeft = ms;
    m_ShakeTimeTotal = ms;
}

void GxTaskLayer::StopShake()
{
    m_Shake = false;
    m_ShakeAmplitude = GxVector4(0.0f, 0.0f, 0.0f, m_ShakeAmplitude.w);
    GetVisual().m_ShakeOffsetPos.x = 0.0f;
    GetVisual().m_ShakeOffsetPos.y = 0.0f;
    m_ShakeTimeLeft = 0;
    m_ShakeTimeTotal = 0;
}

bool GxTaskLayer::FinishLocalTransit()
{
    if (!m_LocalTransit.m_Transit)
        return false;
    m_LocalTransit.m_TransitTimeLeft = 0;
    m_LocalTransit.m_Transit = false;
    GetOtherContent().Clear();
    return true;
}

void GxTaskLayer::CenterOnScreen()
{
    SetPos(GxVector4(static_cast<float>(static_cast<int32_t>((1024 - GetWidth()) * 0.5f)),
                     static_cast<float>(static_cast<int32_t>((768 - GetHeight()) * 0.5f)), 0.0f, 0.0f));
}

int32_t GxTaskLayer::GetWidth() const
{
    const GxLayerContent& c = m_Contents[m_IndexPos];
    if (c.m_ContentType == GxLayerContent::kImage && c.m_pImage)
        return static_cast<int32_t>(c.m_pImage->GetWidth());
    if ((c.m_ContentType == GxLayerContent::kMovie || c.m_ContentType == GxLayerContent::kTexture) && c.m_pTexture)
        return static_cast<int32_t>(c.m_pTexture->GetWidth());
    return 0;
}

int32_t GxTaskLayer::GetHeight() const
{
    const GxLayerContent& c = m_Contents[m_IndexPos];
    if (c.m_ContentType == GxLayerContent::kImage && c.m_pImage)
        return static_cast<int32_t>(c.m_pImage->GetHeight());
    if ((c.m_ContentType == GxLayerContent::kMovie || c.m_ContentType == GxLayerContent::kTexture) && c.m_pTexture)
        return static_cast<int32_t>(c.m_pTexture->GetHeight());
    return 0;
}
