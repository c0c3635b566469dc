#pragma once

// Four floats: a homogeneous point, a plane (a, b, c, d) or a float colour (r, g, b, a in x, y, z, w).
class GxVector4
{
public:
    GxVector4() : x(0.0f), y(0.0f), z(0.0f), w(0.0f) {}
    GxVector4(float ax, float ay, float az, float aw) : x(ax), y(ay), z(az), w(aw) {}

    GxVector4& Add(const GxVector4& b, GxVector4& out) const
    {
        out = GxVector4(x + b.x, y + b.y, z + b.z, w + b.w);
        return out;
    }
    GxVector4& Subtract(const GxVector4& b, GxVector4& out) const
    {
        out = GxVector4(x - b.x, y - b.y, z - b.z, w - b.w);
        return out;
    }
    GxVector4& Scale(float s)
    {
        x *= s;
        y *= s;
        z *= s;
        w *= s;
        return *this;
    }
    // Component-wise product: a colour tinted by another.
    GxVector4& Modulate(const GxVector4& b)
    {
        x *= b.x;
        y *= b.y;
        z *= b.z;
        w *= b.w;
        return *this;
    }

    float x;
    float y;
    float z;
    float w;
};
