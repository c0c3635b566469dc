#pragma once

#include "core/GxVector3.h"
#include "task/GxTaskBase.h"

#include <cstdint>

class ZorTaskCamera;

// Finds the map block under the mouse cursor: the cursor's screen point is taken back through the
// camera's inverse world-to-screen transform and the ray met with the ground y = 0. The pick runs on
// mouse moves only; a camera move alone does not repeat it.
class ZorTaskMapPointing : public GxTaskBase
{
public:
    ZorTaskMapPointing(GxTaskBase* parent, const wchar_t* globalName, ZorTaskCamera* camera);
    ~ZorTaskMapPointing() override;

    void OnResume() override { Reset(); }
    void OnSuspend() override { Reset(); }
    void OnSequenceEnter() override { Reset(); }
    void OnSequenceLeave() override { Reset(); }
    int32_t OnMouseMove(const float* point, uint32_t keys) override;

    // Stores the position and picks; active says whether the application window has the focus.
    void Pick(float x, float y, bool active);
    void Reset();

    bool HasBlock() const { return m_BlockX >= 0; }
    int32_t GetBlockX() const { return m_BlockX; }
    int32_t GetBlockZ() const { return m_BlockZ; }
    const GxVector3& GetHitPoint() const { return m_Hit; }

private:
    ZorTaskCamera* m_Camera;
    int32_t m_BlockX = -1;
    int32_t m_BlockZ = -1;
    float m_LastX = -1.0f;
    float m_LastY = -1.0f;
    GxVector3 m_Hit;
};
