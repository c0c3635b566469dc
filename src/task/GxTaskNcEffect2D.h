#pragma once

#include "animation/GxNcCallbackSystemSound.h"
#include "animation/GxNcMotionSnapShotEx.h"
#include "core/GxMatrix.h"
#include "core/GxVector2.h"
#include "core/GxVector4.h"
#include "task/GxTaskBase.h"

#include <cstdint>

class GxNcMotion;
class GxNcProjectEx;

// Plays one motion of a layered-animation project once at a screen position, one frame per update step, then
// kills itself. Sound keys of the motion play as one-shot sounds. The project and motion belong to somebody
// else (an effect of the effect pool, for example) and must outlive the task.
class GxTaskNcEffect2D : public GxTaskBase, public GxNcCallbackSystemSound
{
public:
    static constexpr int32_t kTypeCode = 20;
    static constexpr int32_t kRenderLayer = 5;

    explicit GxTaskNcEffect2D(GxTaskBase* parent, const wchar_t* globalName = nullptr);
    ~GxTaskNcEffect2D() override;

    void Setup(GxNcProjectEx* project, GxNcMotion* motion, float x, float y, float depthKey, const GxVector4& scale,
               const GxVector2& scale2, const GxVector4& velocity, const GxVector4& acceleration);

    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;

    // The steps the motion lasts: its m_EndTime, at least 1.
    int32_t GetLength() const;

    GxNcMotionSnapShotEx m_SnapShot;
    GxNcProjectEx* m_pProject = nullptr;
    GxNcMotion* m_pMotion = nullptr;
    float m_DepthKey = 1000.0f;
    int32_t m_StartDelay = 0; // update steps to wait before playing
    int32_t m_PlayFrame = 0;
    GxVector4 m_Position;
    GxVector4 m_Scale{1.0f, 1.0f, 1.0f, 0.0f};
    GxVector2 m_Scale2{1.0f, 1.0f};
    GxVector4 m_Velocity;
    GxVector4 m_Acceleration;
    GxMatrix m_Transform;

protected:
    // Everything but the project and motion back to the start.
    void ResetPlay(float x, float y, float depthKey, const GxVector4& scale);
};
