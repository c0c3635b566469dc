#pragma once

#include "core/GxVector2.h"
#include "core/GxVector4.h"
#include "task/GxTaskBase.h"

#include <cstdint>
#include <string>

// A line of text that pops up on the screen, drifts with a velocity and an acceleration and removes itself
// after its life of update steps, fading over the last ten: the numbers and short notices over the map.
class GxTaskCastString2D : public GxTaskBase
{
public:
    static constexpr int32_t kTypeCode = 20;
    static constexpr int32_t kRenderLayer = 5;
    static constexpr int32_t kLife = 60;

    explicit GxTaskCastString2D(GxTaskBase* parent, const wchar_t* globalName = nullptr);

    // Life 60, font 3, no acceleration, scale 1.
    static void Setup(GxTaskCastString2D* task, const std::wstring& text, float x, float y, const GxVector4& velocity,
                      const GxVector4& colour, float depth);

    int32_t Update(int32_t step, int64_t elapsed) override;
    int32_t RegisterDraw(int32_t step, int64_t elapsed) override;
    int32_t Draw(int32_t param, int32_t layer) override;

    // The colour the text is drawn with: its alpha is life / 10 over the last ten steps.
    GxVector4 GetDrawColor() const;

    float m_DepthKey = 1000.0f;
    int32_t m_Delay = 0;
    int32_t m_Life = 0;
    GxVector4 m_Position;
    GxVector2 m_Scale{1.0f, 1.0f};
    GxVector4 m_Velocity;
    GxVector4 m_Acceleration;
    GxVector4 m_Color{1.0f, 1.0f, 1.0f, 1.0f};
    int32_t m_Font = 0;
    std::wstring m_Text;
};
