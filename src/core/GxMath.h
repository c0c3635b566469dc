#pragma once

#include "core/GxVector3.h"
#include "core/GxVector4.h"

#include <cstdint>

// Scalar helpers for the script's arithmetic, the easing curve of animation keys and the map camera,
// and the ray-plane test used for picking on the strategy map.
class GxMath
{
public:
    // a to the power b in single precision.
    static float Pow(float a, float b);
    // -1.0, 0.0 or 1.0.
    static double Sign(double x);
    static int64_t Sign64(int64_t n);
    // The absolute value; the smallest 64-bit value has none and is returned as itself.
    static int64_t Abs64(int64_t n);

    // The parameter t at which origin + dir t meets the plane (a, b, c, d). A line parallel to the plane
    // has no such parameter: NaN.
    static float PlaneLineParam(const GxVector3& origin, const GxVector3& dir, const GxVector4& plane);
    // Where the ray origin + dir t meets the plane. No hit when the ray runs parallel to the plane or
    // when |t| is not above epsilon (the origin lies on the plane); out is left alone then.
    static bool IntersectRayPlane(GxVector3& out, const GxVector3& origin, const GxVector3& dir, const GxVector4& plane,
                                  float epsilon);

    // Moves from start to end as t goes from 0 to 1. An ease p above 0 eases out (fast start):
    // end - (end - start)(1 - t)^(4p + 1); p at or below 0 eases in and is linear at 0:
    // start + (end - start) t^(1 - 4p).
    static float EaseLerp(float start, float end, float t, float p);
    // The same curve on x, y and z; w is 0.
    static GxVector3 EaseLerpVec3(const GxVector3& start, const GxVector3& end, float t, float p);
};
