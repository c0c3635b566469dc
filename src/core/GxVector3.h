#pragma once

class GxMatrix;

// Three floats with a fourth that pads the vector to 16 bytes; every operation here leaves w at 0, so
// a GxVector3 can be handed to code that reads four floats without picking up stale data.
class GxVector3
{
public:
    GxVector3() : x(0.0f), y(0.0f), z(0.0f), w(0.0f) {}
    GxVector3(float ax, float ay, float az) : x(ax), y(ay), z(az), w(0.0f) {}

    // Scales x, y and z to the given length. A vector shorter than 2^-23 has no usable direction and
    // becomes the zero vector.
    GxVector3& SetLength(float len);

    // (x, y, z, 1) times the matrix, keeping the first three results; there is no division by the
    // fourth, so this is meant for affine matrices.
    GxVector3& TransformCoord(const GxMatrix& m);
    GxVector3& TransformCoordTo(const GxMatrix& m, GxVector3& out) const;

    GxVector3& AddInPlace(const GxVector3& b);
    GxVector3& Add(const GxVector3& b, GxVector3& out) const;
    GxVector3& Subtract(const GxVector3& b, GxVector3& out) const;

    float x;
    float y;
    float z;
    float w;
};
