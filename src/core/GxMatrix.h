#pragma once

#include "core/GxVector3.h"

// A 4 x 4 float matrix in the layout the drawing code uploads as is: m[row][column], stored row by
// row, vectors multiplied from the left as rows (v' = v x M). Row 3 holds the translation and column 3
// is (0, 0, 0, 1) for affine matrices, so A x B applies A first. Angles are in radians.
//
// The constructors of particular matrices (Translation, RotationX, ComposeSRT, ...) overwrite the
// whole matrix and return it, so they can be chained onto a temporary.
class GxMatrix
{
public:
    GxMatrix() { SetIdentity(); }
    GxMatrix(const GxMatrix&) = default;
    GxMatrix& operator=(const GxMatrix&) = default;

    GxMatrix& SetIdentity();
    GxMatrix& Copy(const GxMatrix& src);
    // The 16 elements row by row.
    GxMatrix& Set(float m00, float m01, float m02, float m03, float m10, float m11, float m12, float m13, float m20,
                  float m21, float m22, float m23, float m30, float m31, float m32, float m33);

    GxMatrix& Translation(float x, float y, float z);
    GxMatrix& TranslationV(const GxVector3& v);
    GxMatrix& Scaling(float x, float y, float z);
    GxMatrix& RotationX(float a);
    GxMatrix& RotationY(float a);
    GxMatrix& RotationZ(float a);

    // T(-pivot) x S x Rx x Ry x Rz x T(pivot) x T(position): scaling and rotation about the pivot,
    // then the move. The transform of animation layers and widgets.
    GxMatrix& ComposeSRT(const GxVector3& scale, const GxVector3& position, const GxVector3& angles,
                         const GxVector3& pivot);
    // T(-pivot) x S x Rz x Rx x Ry x T(pivot) x T(position): the 2D sprite drawers' transform, which
    // turns in the screen plane first.
    GxMatrix& ComposeSprite(const GxVector3& position, const GxVector3& angles, const GxVector3& scale,
                            const GxVector3& pivot);

    // Right-handed view matrix looking from eye at target.
    GxMatrix& LookAt(const GxVector3& eye, const GxVector3& target, const GxVector3& up);
    // Right-handed orthographic projection mapping zNear to depth 0 and zFar to depth 1.
    GxMatrix& Ortho(float width, float height, float zNear, float zFar);

    // out = this x m; out may be this matrix or m.
    GxMatrix& Multiply(const GxMatrix& m, GxMatrix& out) const;
    GxMatrix& MultiplyInPlace(const GxMatrix& m);
    // this = this x RotationX(a) (or Y); an angle of exactly 0 leaves the matrix untouched.
    GxMatrix& RotateX(float a);
    GxMatrix& RotateY(float a);
    // this = this x Scaling(x, y, z).
    GxMatrix& PostScale(float x, float y, float z);
    GxMatrix& PostScaleV(const GxVector3& v);
    // Row 3 += (x, y, z): this = this x Translation(x, y, z) for an affine matrix.
    GxMatrix& AddTranslation(float x, float y, float z);

    // Inverts the matrix and returns its determinant. A matrix whose determinant lies strictly
    // between -0.00001 and 0.00001 counts as singular: it becomes the identity and 0 is returned.
    float Inverse();

    float m[4][4];

private:
    GxMatrix& RotateZ(float a);
};
