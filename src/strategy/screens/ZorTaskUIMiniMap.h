#pragma once

#include "core/GxFRect.h"
#include "core/GxMatrix.h"
#include "task/ui/GxTaskUIBase.h"

#include <cstdint>
#include <vector>

class GxTexture;
class ZorTaskCamera;
class ZorUserData;

// The defence screen's minimap: the 40 x 40 blocks as a tilted diamond, red dots for the invaders, alert
// icons on rooms and a frame around what the camera shows; a click or drag on it moves the camera.
//
// The block colours live in a CPU copy of the 256 x 256 texture (texel (bx, bz) for block (bx, bz); the
// rest stays transparent) that is uploaded after every refresh, so the picture survives a lost device
// and can be read back without one.
class ZorTaskUIMiniMap : public GxTaskUIBase
{
public:
    static constexpr uint32_t kTextureSize = 256;
    static constexpr uint32_t kColourDug = 0xFF50AFAF;   // block state 8
    static constexpr uint32_t kColourPath = 0xFFB04020;  // block state 7
    static constexpr uint32_t kColourOther = 0xFFFFFFFF; // any other state above 6
    static constexpr uint32_t kEnemyColour = 0xFFFF0000;
    static constexpr uint32_t kFrameColour = 0xB0FBFF5E;

    ZorTaskUIMiniMap(GxTaskBase* parent, const wchar_t* globalName, ZorTaskCamera* camera);
    ~ZorTaskUIMiniMap() override;

    void OnSequenceEnter() override;
    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;
    int32_t OnMouseMove(const float* point, uint32_t keys) override;
    int32_t OnMouseLeftDown(const float* point, uint32_t keys, int32_t dbl) override;
    int32_t OnMouseLeftUp(const float* point, uint32_t keys) override;

    // Colours the blocks of state above 6 into the CPU copy and uploads it; blocks at 6 or below keep
    // whatever they had.
    void DrawMapTexture(const ZorUserData* state);
    uint32_t GetTexel(uint32_t x, uint32_t y) const { return m_Texels[y * kTextureSize + x]; }
    // The device copy; null without a device.
    GxTexture* GetTexture() const { return m_Texture; }

    // The diamond's centre c and the world-to-minimap turn M: a world (x, z) lies at c + (x, z, 0) x M.
    GxVector3 GetCentre() const;
    void BuildMapMatrix(GxMatrix& out, float scale) const;
    GxVector3 WorldToMiniMap(float x, float z) const;
    // The view frame the camera shows (also stored as the last drawn frame).
    GxFRect ComputeViewFrame() const;
    const GxFRect& GetViewFrame() const { return m_ViewFrame; }
    bool InClientRect(float x, float y) const;
    bool IsDragging() const { return m_DragMap; }

private:
    GxVector3 ScreenToWorld(float x, float y) const;
    void Upload();

    ZorTaskCamera* m_Camera;
    std::vector<uint32_t> m_Texels;
    GxTexture* m_Texture = nullptr;
    bool m_TextureFailed = false;
    bool m_DragMap = false;
    float m_LastX = 0.0f;
    float m_LastY = 0.0f;
    float m_StartX = 0.0f;
    float m_StartY = 0.0f;
    GxFRect m_ViewFrame;
};
