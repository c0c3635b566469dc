#pragma once

#include "task/GxTaskNcEffect2D.h"

#include <cstdint>

class ZorTaskCamera;

// A one-shot effect placed at a point of the dungeon and drawn in screen space over the map, scaled with
// the camera's zoom. It plays like any 2D effect (sound keys included, one frame per step, then it kills
// itself) but is positioned in world units through the map camera, and draws nothing while its point
// projects outside -300..1324 by -300..1068. A motion of no frames counts as ended at once.
class ZorTaskNcEffectOverlay2D : public GxTaskNcEffect2D
{
public:
    ZorTaskNcEffectOverlay2D(GxTaskBase* parent, ZorTaskCamera* camera);
    ~ZorTaskNcEffectOverlay2D() override;

    // position is a world point; key is the draw key; size scales the picture per axis.
    void Setup(GxNcProjectEx* project, GxNcMotion* motion, const GxVector4& position, float key,
               const GxVector4& size);

    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;

    // Whether a screen point lies in the band where map overlays draw.
    static bool IsOnScreen(float x, float y);
    // The world position's screen point (needs a camera).
    GxVector3 GetScreenPos() const;

private:
    ZorTaskCamera* m_Camera;
    GxVector4 m_Size{1.0f, 1.0f, 1.0f, 0.0f};
};
