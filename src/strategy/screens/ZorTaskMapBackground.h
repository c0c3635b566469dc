#pragma once

#include "core/GxVector3.h"
#include "task/GxTaskFolder.h"

#include <cstdint>

class GxTexture;
class ZorTaskCamera;

// The backdrop behind the 3D map: a picture, and a grid scrolled with the camera's target. Both
// pictures are loaded on every entry into the screen and released on every exit.
class ZorTaskMapBackground : public GxTaskFolder
{
public:
    ZorTaskMapBackground(GxTaskBase* parent, const wchar_t* globalName, ZorTaskCamera* camera);
    ~ZorTaskMapBackground() override;

    void OnSequenceEnter() override;
    void OnSequenceLeave() override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;

    // The grid's scroll: (target.x, target.z, 0) turned like the minimap, at scale 1. The vertical
    // scroll takes the third component, not the second, as the backdrop always has.
    GxVector3 GetGridScroll() const;

private:
    void Release();

    ZorTaskCamera* m_Camera;
    GxTexture* m_Grid = nullptr;
    GxTexture* m_Picture = nullptr;
};
