#include "task/GxLayerContent.h"

#include "animation/GxNcCrammedImageSet.h"
#include "animation/GxNcCrammedImageSetFactory.h"
#include "animation/GxNcProjectEx.h"
#include "animation/GxNcProjectFactory.h"
#include "appdata/GxUserConfig.h"
#include "core/GxContentReaderBase.h"
#include "core/GxContentValueType.h"
#include "core/GxContentWriterBase.h"
#include "core/GxCore.h"
#include "core/GxLog.h"
#include "graphics/GxTexture.h"
#include "graphics/GxTextureFlex.h"
#include "graphics/GxTextureMovie.h"
#include "media/GxMovie.h"
#include "task/GxSubLayerContent.h"

GxLayerContent::~GxLayerContent()
{
    Clear();
    for (GxSubLayerContent* sub : m_pSubLayerList)
        delete sub;
}

bool GxLayerContent::Save(GxContentWriterBase* w)
{
    if (!w)
        return false;
    w->Write("m_ContentType", m_ContentType);
    w->Write("m_Alpha", m_Alpha);
    w->WriteString("m_ContentFileName", m_ContentFileName);
    w->Write("m_Width", m_Width);
    w->Write("m_Height", m_Height);
    w->WriteString("m_ImageName", m_ImageName);
    w->Write("m_PatternIndex", m_PatternIndex);
    w->Write("m_FrameCount", m_FrameCount);
    w->WriteString("m_MotionGroupName", m_MotionGroupName);
    w->WriteString("m_MotionName", m_MotionName);
    w->Write("m_MatWorld", &m_MatWorld);
    const GxFColor colour{m_SolidColor.x, m_SolidColor.y, m_SolidColor.z, m_SolidColor.w};
    w->Write("m_SolidColor", &colour);
    w->Write("m_MyChannel", m_MyChannel);
    w->Write("m_LoopCount", m_LoopCount);
    w->Write("m_LoopStartPos", m_LoopStartPos);
    w->Write("m_MovieCurrentTime", m_MovieCurrentTime);
    w->Write("m_MovieAutoDisappear", m_MovieAutoDisappear);
    w->ListBegin("m_pSubLayerList", "", static_cast<uint32_t>(m_pSubLayerList.size()));
    for (GxSubLayerContent* sub : m_pSubLayerList)
    {
        w->ListItemBegin();
        sub->Save(w);
        w->ListItemEnd();
    }
    w->ListEnd();
    return true;
}

bool GxLayerContent::Load(GxContentReaderBase* r)
{
    Clear();
    if (!r)
        return false;
    r->Read("m_ContentType", m_ContentType);
    r->Read("m_Alpha", m_Alpha);
    r->ReadString("m_ContentFileName", m_ContentFileName);
    r->Read("m_Width", m_Width);
    r->Read("m_Height", m_Height);
    r->ReadString("m_ImageName", m_ImageName);
    r->Read("m_PatternIndex", m_PatternIndex);
    r->Read("m_FrameCount", m_FrameCount);
    r->ReadString("m_MotionGroupName", m_MotionGroupName);
    r->ReadString("m_MotionName", m_MotionName);
    r->Read("m_MatWorld", m_MatWorld);
    GxFColor colour;
    r->Read("m_SolidColor", colour);
    m_SolidColor = GxVector4(colour.r, colour.g, colour.b, colour.a);
    r->Read("m_MyChannel", m_MyChannel);
    r->Read("m_LoopCount", m_LoopCount);
    r->Read("m_LoopStartPos", m_LoopStartPos);
    r->Read("m_MovieCurrentTime", m_MovieCurrentTime);
    r->Read("m_MovieAutoDisappear", m_MovieAutoDisappear);
    // A sub-layer stores five values; a count the bytes left cannot hold at their least size is refused.
    // Each sub-layer is made as it is read and the list ends at its first failed read, so a damaged
    // count costs no more than the bytes behind it.
    uint32_t count = 0;
    r->ListBegin("m_pSubLayerList", count,
                 r->LeastSize({g_ContentValueS32, g_ContentValueString, g_ContentValueS32, g_ContentValueS32,
                               g_ContentValueVector2}));
    SetSubLayerCount(0);
    for (uint32_t i = 0; i < count; ++i)
    {
        GxSubLayerContent* sub = new GxSubLayerContent();
        m_pSubLayerList.push_back(sub);
        r->ListItemBegin();
        const bool read = sub->Load(r);
        r->ListItemEnd();
        if (!read)
            break;
    }
    r->ListEnd();
    return true;
}

void GxLayerContent::Clear()
{
    if (m_pProject)
        GxNcProjectFactory::GetInstance().Release(m_pProject);
    m_pProject = nullptr;
    if (m_pImageSet)
        GxNcCrammedImageSetFactory::GetInstance().Release(m_pImageSet);
    m_pImageSet = nullptr;
    delete m_pImage;
    m_pImage = nullptr;
    if (m_ContentType == kMovie)
    {
        // The slot's player writes into the texture: it goes first.
        GxMovie::Stop(static_cast<int>(m_MyChannel));
        GxMovie::Destroy(static_cast<int>(m_MyChannel));
    }
    delete m_pTexture;
    m_pTexture = nullptr;
    m_SnapShot.Clear();
    m_ContentType = kNone;
    m_Alpha = 255;
    m_ContentFileName.clear();
    m_Width = m_Height = 0;
    m_pOriginImage = nullptr;
    m_ImageName.clear();
    m_PatternIndex = 0;
    m_FrameCount = 0;
    m_MotionGroupName.clear();
    m_MotionName.clear();
    m_MatWorld.SetIdentity();
    m_SolidColor = GxVector4(1.0f, 1.0f, 1.0f, 1.0f);
    m_LoopCount = 0;
    m_LoopStartPos = 0.0;
    m_MovieCurrentTime = 0.0;
    m_MovieAutoDisappear = true;
    for (GxSubLayerContent* sub : m_pSubLayerList)
        sub->Clear();
}

bool GxLayerContent::Restore(GxCore* core)
{
    for (GxSubLayerContent* sub : m_pSubLayerList)
        sub->Restore();
    switch (m_ContentType)
    {
    case kMotion:
        m_pProject = GxNcProjectFactory::GetInstance().Get(m_ContentFileName, m_ImageName, true);
        return m_pProject != nullptr;
    case kImageSet:
        m_pImageSet = GxNcCrammedImageSetFactory::GetInstance().GetCrammedImageSet(m_ContentFileName, true);
        m_pOriginImage = m_pImageSet ? m_pImageSet->FindOriginImage(m_ImageName) : nullptr;
        return m_pImageSet != nullptr;
    case kImage:
        m_pImage = new GxTextureFlex();
        return m_pImage->CreateFromFile(m_ContentFileName, D3DFMT_UNKNOWN, 0);
    case kMovie:
    {
        // The channel comes from a save file: only a slot of the table may be opened.
        if (m_MyChannel >= static_cast<uint32_t>(GxMovie::kSlotCount))
        {
            GxLog::Error(L"GxLayerContent::Restore/ムービーチャンネルが範囲外です:%u %ls\n", m_MyChannel,
                         m_ContentFileName.c_str());
            return false;
        }
        GxTextureMovie* texture = new GxTextureMovie();
        m_pTexture = texture;
        texture->Create(m_ContentFileName, static_cast<uint32_t>(m_Width), static_cast<uint32_t>(m_Height),
                        D3DFMT_UNKNOWN, 0, false);
        const int slot = static_cast<int>(m_MyChannel);
        const bool opened = GxMovie::Open(slot, m_ContentFileName, texture, true, false);
        GxMovie::SetLoopPosition(slot, m_LoopStartPos);
        GxMovie::SetPosition(slot, m_MovieCurrentTime);
        const int32_t volume = (core && core->m_UserConfig) ? core->m_UserConfig->GetMovieVolume() : 0;
        GxMovie::Play(slot, m_LoopCount, volume);
        return opened;
    }
    case kBlankTexture:
    {
        GxTexture* texture = new GxTexture();
        m_pTexture = texture;
        return texture->CreateTexture(L"", static_cast<uint32_t>(m_Width), static_cast<uint32_t>(m_Height),
                                      D3DFMT_A8R8G8B8, 1);
    }
    case kTexture:
    {
        GxTexture* texture = new GxTexture();
        m_pTexture = texture;
        return texture->CreateFromFile(m_ContentFileName, D3DFMT_UNKNOWN, 1, 0, false);
    }
    default:
        return true;
    }
}

void GxLayerContent::SetSubLayerCount(int32_t count)
{
    for (GxSubLayerContent* sub : m_pSubLayerList)
        delete sub;
    m_pSubLayerList.clear();
    for (int32_t i = 0; i < count; ++i)
        m_pSubLayerList.push_back(new GxSubLayerContent());
}

GxSubLayerContent* GxLayerContent::GetSubLayer(int32_t index) const
{
    if (index < 0 || index >= GetSubLayerCount())
        return nullptr;
    return m_pSubLayerList[index];
}

bool GxLayerContent::HasSubLayerImage() const
{
    for (const GxSubLayerContent* sub : m_pSubLayerList)
    {
        if (sub->m_pImage && sub->m_pImage->GetTileCountX() != 0)
            return true;
    }
    return false;
}

const GxNcMotion* GxLayerContent::FindMotion() const
{
    return m_pProject ? m_pProject->FindMotion(m_MotionGroupName, m_MotionName) : nullptr;
}
