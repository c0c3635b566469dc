#include "core/GxMath.h"

#include <cmath>
#include <limits>

float GxMath::Pow(float a, float b)
{
    return std::pow(a, b);
}

double GxMath::Sign(double x)
{
    if (x < 0.0)
        return -1.0;
    return x > 0.0 ? 1.0 : 0.0;
}

int64_t GxMath::Sign64(int64_t n)
{
    return (n > 0) - (n < 0);
}

int64_t GxMath::Abs64(int64_t n)
{
    // Negate in unsigned arithmetic: -INT64_MIN overflows, while 0 - 2^63 mod 2^64 is 2^63, which
    // converts back to INT64_MIN.
    return n < 0 ? static_cast<int64_t>(0 - static_cast<uint64_t>(n)) : n;
}

float GxMath::PlaneLineParam(const GxVector3& origin, const GxVector3& dir, const GxVector4& plane)
{
    const float denom = plane.x * dir.x + plane.y * dir.y + plane.z * dir.z;
    if (denom == 0.0f)
        return std::numeric_limits<float>::quiet_NaN();
    return -(plane.x * origin.x + plane.y * origin.y + plane.z * origin.z + plane.w) / denom;
}

bool GxMath::IntersectRayPlane(GxVector3& out, const GxVector3& origin, const GxVector3& dir, const GxVector4& plane,
                               float epsilon)
{
    const float t = PlaneLineParam(origin, dir, plane);
    // NaN (parallel) and infinity (so nearly parallel that t overflows) are no hit.
    if (!std::isfinite(t) || !(std::fabs(t) > epsilon))
        return false;
    out = GxVector3(origin.x + dir.x * t, origin.y + dir.y * t, origin.z + dir.z * t);
    return true;
}

namespace
{
// The curve's weight of (end - start) measured from the end for p > 0 and from the start otherwise.
float EaseWeight(float t, float p)
{
    return p > 0.0f ? std::pow(1.0f - t, 4.0f * p + 1.0f) : std::pow(t, 1.0f - 4.0f * p);
}

float EaseApply(float start, float end, float weight, float p)
{
    return p > 0.0f ? end - (end - start) * weight : start + (end - start) * weight;
}
} // namespace

float GxMath::EaseLerp(float start, float end, float t, float p)
{
    return EaseApply(start, end, EaseWeight(t, p), p);
}

GxVector3 GxMath::EaseLerpVec3(const GxVector3& start, const GxVector3& end, float t, float p)
{
    const float weight = EaseWeight(t, p);
    return GxVector3(EaseApply(start.x, end.x, weight, p), EaseApply(start.y, end.y, weight, p),
                     EaseApply(start.z, end.z, weight, p));
}
