#pragma once

#include "animation/GxNcMotionSnapShotEx.h"
#include "core/GxMatrix.h"
#include "core/GxVector4.h"

#include <cstdint>
#include <string>
#include <vector>

class GxContentReaderBase;
class GxContentWriterBase;
class GxCore;
class GxNcCrammedImageSet;
class GxNcProjectEx;
class GxSubLayerContent;
class GxTextureBase;
class GxTextureFlex;
struct GxNcOriginImage;

// What a layer shows: a motion, a pattern of an image set, a picture, a colour, a movie or a texture, with
// the names it was made from so a save can rebuild it. Live objects are never stored; Restore rebuilds them
// after Load. The record owns its live objects (the project and the image set through their factories).
class GxLayerContent
{
public:
    enum Kind : int32_t
    {
        kNone = 0,
        kMotion = 1,
        kImageSet = 2,
        kImage = 3,
        kEmpty = 4, // nothing to load, draws nothing
        kSolidColor = 5,
        kMovie = 6,
        kBlankTexture = 7,
        kTexture = 8,
    };

    GxLayerContent() = default;
    GxLayerContent(const GxLayerContent&) = delete;
    GxLayerContent& operator=(const GxLayerContent&) = delete;
    virtual ~GxLayerContent();

    virtual bool Save(GxContentWriterBase* writer);
    // Clears, then reads the stored fields and the sub-layers; the live objects wait for Restore.
    virtual bool Load(GxContentReaderBase* reader);
    // Live objects released (a movie's slot stopped and destroyed before its texture goes), every field
    // back to its default except m_MyChannel; sub-layers cleared, the list kept.
    void Clear();
    // Rebuilds the live objects from the stored fields; false when the content's object cannot be had.
    bool Restore(GxCore* core);
    void SetSubLayerCount(int32_t count);
    GxSubLayerContent* GetSubLayer(int32_t index) const;
    int32_t GetSubLayerCount() const { return static_cast<int32_t>(m_pSubLayerList.size()); }
    bool HasSubLayerImage() const;
    // The motion this content plays, or null.
    const GxNcMotion* FindMotion() const;

    int32_t m_ContentType = kNone;
    GxNcProjectEx* m_pProject = nullptr;
    GxNcCrammedImageSet* m_pImageSet = nullptr;
    GxTextureFlex* m_pImage = nullptr;
    GxTextureBase* m_pTexture = nullptr; // a GxTextureMovie (kind 6) or a GxTexture (kinds 7, 8)
    GxNcMotionSnapShotEx m_SnapShot;
    int32_t m_Alpha = 255; // stored, not drawn
    std::wstring m_ContentFileName;
    int32_t m_Width = 0;
    int32_t m_Height = 0;
    const GxNcOriginImage* m_pOriginImage = nullptr;
    std::wstring m_ImageName;
    int32_t m_PatternIndex = 0;
    int32_t m_FrameCount = 0;
    std::wstring m_MotionGroupName;
    std::wstring m_MotionName;
    GxMatrix m_MatWorld;
    GxVector4 m_SolidColor{1.0f, 1.0f, 1.0f, 1.0f};
    uint32_t m_MyChannel = 0;
    int32_t m_LoopCount = 0;
    double m_LoopStartPos = 0.0;
    double m_MovieCurrentTime = 0.0;
    bool m_MovieAutoDisappear = true;
    std::vector<GxSubLayerContent*> m_pSubLayerList;
};
