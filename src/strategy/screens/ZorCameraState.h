#pragma once

#include "core/GxVector4.h"

// One pose of the map camera: where it looks, its up vector, its turn about y and its slant (degrees),
// and its zoom (the orthographic view is 400 / zoom units wide).
struct ZorCameraState
{
    GxVector4 m_Target{0.0f, 0.0f, 0.0f, 0.0f};
    GxVector4 m_Up{0.0f, 1.0f, 0.0f, 0.0f};
    float m_Yaw = 45.0f;
    float m_Pitch = -30.0f;
    float m_Zoom = 2.0f;
};
