#include "core/GxMatrix.h"

#include <cmath>
#include <cstring>

namespace
{
// Determinants closer to zero than this are treated as singular by Inverse.
constexpr float kSingularDeterminant = 0.00001f;

float Dot(const GxVector3& a, const GxVector3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

GxVector3 Cross(const GxVector3& a, const GxVector3& b)
{
    return GxVector3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}
} // namespace

GxMatrix& GxMatrix::SetIdentity()
{
    return Set(1.0f, 0.0f, 0.0f, 0.0f, //
               0.0f, 1.0f, 0.0f, 0.0f, //
               0.0f, 0.0f, 1.0f, 0.0f, //
               0.0f, 0.0f, 0.0f, 1.0f);
}

GxMatrix& GxMatrix::Copy(const GxMatrix& src)
{
    *this = src;
    return *this;
}

GxMatrix& GxMatrix::Set(float m00, float m01, float m02, float m03, float m10, float m11, float m12, float m13,
                        float m20, float m21, float m22, float m23, float m30, float m31, float m32, float m33)
{
    m[0][0] = m00, m[0][1] = m01, m[0][2] = m02, m[0][3] = m03;
    m[1][0] = m10, m[1][1] = m11, m[1][2] = m12, m[1][3] = m13;
    m[2][0] = m20, m[2][1] = m21, m[2][2] = m22, m[2][3] = m23;
    m[3][0] = m30, m[3][1] = m31, m[3][2] = m32, m[3][3] = m33;
    return *this;
}

GxMatrix& GxMatrix::Translation(float x, float y, float z)
{
    SetIdentity();
    m[3][0] = x;
    m[3][1] = y;
    m[3][2] = z;
    return *this;
}

GxMatrix& GxMatrix::TranslationV(const GxVector3& v)
{
    return Translation(v.x, v.y, v.z);
}

GxMatrix& GxMatrix::Scaling(float x, float y, float z)
{
    SetIdentity();
    m[0][0] = x;
    m[1][1] = y;
    m[2][2] = z;
    return *this;
}

GxMatrix& GxMatrix::RotationX(float a)
{
    const float c = std::cos(a), s = std::sin(a);
    return Set(1.0f, 0.0f, 0.0f, 0.0f, //
               0.0f, c, s, 0.0f,       //
               0.0f, -s, c, 0.0f,      //
               0.0f, 0.0f, 0.0f, 1.0f);
}

GxMatrix& GxMatrix::RotationY(float a)
{
    const float c = std::cos(a), s = std::sin(a);
    return Set(c, 0.0f, -s, 0.0f,      //
               0.0f, 1.0f, 0.0f, 0.0f, //
               s, 0.0f, c, 0.0f,       //
               0.0f, 0.0f, 0.0f, 1.0f);
}

GxMatrix& GxMatrix::RotationZ(float a)
{
    const float c = std::cos(a), s = std::sin(a);
    return Set(c, s, 0.0f, 0.0f,       //
               -s, c, 0.0f, 0.0f,      //
               0.0f, 0.0f, 1.0f, 0.0f, //
               0.0f, 0.0f, 0.0f, 1.0f);
}

GxMatrix& GxMatrix::ComposeSRT(const GxVector3& scale, const GxVector3& position, const GxVector3& angles,
                               const GxVector3& pivot)
{
    Translation(-pivot.x, -pivot.y, -pivot.z);
    PostScaleV(scale);
    RotateX(angles.x);
    RotateY(angles.y);
    RotateZ(angles.z);
    AddTranslation(pivot.x, pivot.y, pivot.z);
    return AddTranslation(position.x, position.y, position.z);
}

GxMatrix& GxMatrix::ComposeSprite(const GxVector3& position, const GxVector3& angles, const GxVector3& scale,
                                  const GxVector3& pivot)
{
    Translation(-pivot.x, -pivot.y, -pivot.z);
    PostScaleV(scale);
    RotateZ(angles.z);
    RotateX(angles.x);
    RotateY(angles.y);
    AddTranslation(pivot.x, pivot.y, pivot.z);
    return AddTranslation(position.x, position.y, position.z);
}

GxMatrix& GxMatrix::LookAt(const GxVector3& eye, const GxVector3& target, const GxVector3& up)
{
    GxVector3 u = up;
    u.SetLength(1.0f);
    GxVector3 z;
    eye.Subtract(target, z);
    z.SetLength(1.0f);
    GxVector3 x = Cross(u, z);
    x.SetLength(1.0f);
    GxVector3 y = Cross(z, x);
    y.SetLength(1.0f);
    return Set(x.x, y.x, z.x, 0.0f, //
               x.y, y.y, z.y, 0.0f, //
               x.z, y.z, z.z, 0.0f, //
               -Dot(x, eye), -Dot(y, eye), -Dot(z, eye), 1.0f);
}

GxMatrix& GxMatrix::Ortho(float width, float height, float zNear, float zFar)
{
    const float depth = zNear - zFar;
    return Set(2.0f / width, 0.0f, 0.0f, 0.0f,  //
               0.0f, 2.0f / height, 0.0f, 0.0f, //
               0.0f, 0.0f, 1.0f / depth, 0.0f,  //
               0.0f, 0.0f, zNear / depth, 1.0f);
}

GxMatrix& GxMatrix::Multiply(const GxMatrix& b, GxMatrix& out) const
{
    // Build the product aside: out may alias either factor.
    GxMatrix r;
    for (int i = 0; i < 4; ++i)
    {
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = m[i][0] * b.m[0][j] + m[i][1] * b.m[1][j] + m[i][2] * b.m[2][j] + m[i][3] * b.m[3][j];
    }
    out = r;
    return out;
}

GxMatrix& GxMatrix::MultiplyInPlace(const GxMatrix& b)
{
    return Multiply(b, *this);
}

GxMatrix& GxMatrix::RotateX(float a)
{
    if (a == 0.0f)
        return *this;
    return MultiplyInPlace(GxMatrix().RotationX(a));
}

GxMatrix& GxMatrix::RotateY(float a)
{
    if (a == 0.0f)
        return *this;
    return MultiplyInPlace(GxMatrix().RotationY(a));
}

GxMatrix& GxMatrix::RotateZ(float a)
{
    if (a == 0.0f)
        return *this;
    return MultiplyInPlace(GxMatrix().RotationZ(a));
}

GxMatrix& GxMatrix::PostScale(float x, float y, float z)
{
    for (auto& row : m)
    {
        row[0] *= x;
        row[1] *= y;
        row[2] *= z;
    }
    return *this;
}

GxMatrix& GxMatrix::PostScaleV(const GxVector3& v)
{
    return PostScale(v.x, v.y, v.z);
}

GxMatrix& GxMatrix::AddTranslation(float x, float y, float z)
{
    m[3][0] += x;
    m[3][1] += y;
    m[3][2] += z;
    return *this;
}

float GxMatrix::Inverse()
{
    // Cofactors of the transposed matrix (the adjugate), then one row of them against the matrix for
    // the determinant.
    float a[16];
    std::memcpy(a, m, sizeof(a));
    float inv[16];
    inv[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15] + a[9] * a[7] * a[14] +
             a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
    inv[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15] - a[8] * a[7] * a[14] -
             a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
    inv[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15] + a[8] * a[7] * a[13] +
             a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
    inv[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14] - a[8] * a[6] * a[13] -
              a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
    inv[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15] - a[9] * a[3] * a[14] -
             a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
    inv[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15] + a[8] * a[3] * a[14] +
             a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
    inv[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15] - a[8] * a[3] * a[13] -
             a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
    inv[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14] + a[8] * a[2] * a[13] +
              a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
    inv[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15] + a[5] * a[3] * a[14] +
             a[13] * a[2] * a[7] - a[13] * a[3] * a[6];
    inv[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15] - a[4] * a[3] * a[14] -
             a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
    inv[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15] + a[4] * a[3] * a[13] +
              a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
    inv[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14] - a[4] * a[2] * a[13] -
              a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
    inv[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11] - a[5] * a[3] * a[10] -
             a[9] * a[2] * a[7] + a[9] * a[3] * a[6];
    inv[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11] + a[4] * a[3] * a[10] +
             a[8] * a[2] * a[7] - a[8] * a[3] * a[6];
    inv[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11] - a[4] * a[3] * a[9] -
              a[8] * a[1] * a[7] + a[8] * a[3] * a[5];
    inv[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10] + a[4] * a[2] * a[9] + a[8] * a[1] * a[6] -
              a[8] * a[2] * a[5];

    const float det = a[0] * inv[0] + a[1] * inv[4] + a[2] * inv[8] + a[3] * inv[12];
    if (det > -kSingularDeterminant && det < kSingularDeterminant)
    {
        SetIdentity();
        return 0.0f;
    }
    const float invDet = 1.0f / det;
    for (int i = 0; i < 16; ++i)
        m[i / 4][i % 4] = inv[i] * invDet;
    return det;
}
