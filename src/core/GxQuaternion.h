#pragma once

// A rotation as (x, y, z, w); the default is no rotation.
class GxQuaternion
{
public:
    GxQuaternion() { SetIdentity(); }
    GxQuaternion(float ax, float ay, float az, float aw) : x(ax), y(ay), z(az), w(aw) {}

    GxQuaternion& SetIdentity()
    {
        x = y = z = 0.0f;
        w = 1.0f;
        return *this;
    }

    float x;
    float y;
    float z;
    float w;
};
