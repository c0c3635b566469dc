#include "core/GxVector3.h"

#include "core/GxMatrix.h"

#include <cmath>

namespace
{
// FLT_EPSILON: below this the length carries no direction worth keeping.
constexpr float kMinLength = 1.1920929e-7f;
} // namespace

GxVector3& GxVector3::SetLength(float len)
{
    const float l = std::sqrt(x * x + y * y + z * z);
    if (l >= kMinLength)
    {
        x = x * len / l;
        y = y * len / l;
        z = z * len / l;
    }
    else
    {
        x = y = z = 0.0f;
    }
    w = 0.0f;
    return *this;
}

GxVector3& GxVector3::TransformCoord(const GxMatrix& m)
{
    return TransformCoordTo(m, *this);
}

GxVector3& GxVector3::TransformCoordTo(const GxMatrix& m, GxVector3& out) const
{
    // Read everything before writing: out may be this vector.
    const float vx = x, vy = y, vz = z;
    out.x = vx * m.m[0][0] + vy * m.m[1][0] + vz * m.m[2][0] + m.m[3][0];
    out.y = vx * m.m[0][1] + vy * m.m[1][1] + vz * m.m[2][1] + m.m[3][1];
    out.z = vx * m.m[0][2] + vy * m.m[1][2] + vz * m.m[2][2] + m.m[3][2];
    out.w = 0.0f;
    return out;
}

GxVector3& GxVector3::AddInPlace(const GxVector3& b)
{
    return Add(b, *this);
}

GxVector3& GxVector3::Add(const GxVector3& b, GxVector3& out) const
{
    out.x = x + b.x;
    out.y = y + b.y;
    out.z = z + b.z;
    out.w = 0.0f;
    return out;
}

GxVector3& GxVector3::Subtract(const GxVector3& b, GxVector3& out) const
{
    out.x = x - b.x;
    out.y = y - b.y;
    out.z = z - b.z;
    out.w = 0.0f;
    return out;
}
