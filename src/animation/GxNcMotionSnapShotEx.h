#pragma once

#include "animation/GxNcLayerSnapShotEx.h"
#include "core/GxVector4.h"

#include <cstdint>
#include <vector>

class GxMatrix;
class GxNcCallbackBase;
class GxNcMotion;
class GxNcProjectEx;

// A motion evaluated at a time into one layer snapshot per layer, ready to draw. The snapshot belongs to
// the task that plays the motion; the motion and its project are borrowed and must outlive every update and
// draw. The layer list grows to the largest motion played and never shrinks, so replaying allocates nothing.
class GxNcMotionSnapShotEx
{
public:
    static constexpr float kBoundsReset = 3.4028235e38f;

    GxNcMotionSnapShotEx();

    // Evaluates the whole motion at the time: tracks 1 to 10 of every layer, the layer tree's combined
    // matrices (parent: identity when null) and inherited blends, vertices with the motion colour and the
    // offset, nested motions while depth is above 0. With a callback, the sound and event keys found at
    // exactly the time are fired.
    void Update(const GxNcProjectEx* project, const GxNcMotion* motion, int32_t time, const GxVector4& offset,
                const GxMatrix* parent, const GxVector4& motionColour, int32_t depth, GxNcCallbackBase* callback);
    // The bounds of the current motion's vertices, nested snapshots included.
    void CalcBoundingBox();
    void Clear();

    // Screen draw through the 2D matrix: layers last to first (the first ends on top), one transformed quad
    // each. Overrides of 0 take each layer's blend and filter.
    static void Draw(const GxNcMotionSnapShotEx& snapshot, const GxMatrix& matrix, float alpha, const GxVector4& colour,
                     const GxVector4& specular, uint32_t blendOverride, uint32_t filterOverride,
                     GxNcCallbackBase* hook);
    // World draw: the vertices plus the position, through the device's world transform.
    static void DrawWorld(const GxNcMotionSnapShotEx& snapshot, const GxVector4& position, float alpha,
                          const GxVector4& colour, const GxVector4& specular, uint32_t blendOverride,
                          uint32_t filterOverride);

    // The layer snapshots of the current motion (the list may hold more, left from a larger motion).
    int32_t GetLayerCount() const;
    const GxNcLayerSnapShotEx& GetLayer(int32_t index) const { return m_Layers[index]; }
    const GxNcMotion* GetMotion() const { return m_pMotion; }

    int32_t m_Time = 0;
    int32_t m_LoopLength = 0;
    const GxNcMotion* m_pMotion = nullptr;
    GxVector4 m_BoundsMin;
    GxVector4 m_BoundsMax;
    GxVector4 m_Offset;
    std::vector<GxNcLayerSnapShotEx> m_Layers;

private:
    void EvaluateTracks(int32_t count);
    void CreateCombinedParam(const GxMatrix* parent);
    void BuildVertices(const GxNcProjectEx* project, int32_t index, const GxVector4& motionColour, int32_t depth,
                       GxNcCallbackBase* callback);
};
