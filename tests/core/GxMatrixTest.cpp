#include "core/GxMatrix.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numbers>

namespace
{
constexpr float kHalfPi = std::numbers::pi_v<float> / 2.0f;
constexpr float kTolerance = 1e-5f;

GxVector3 Apply(const GxMatrix& m, float x, float y, float z)
{
    GxVector3 v(x, y, z);
    return v.TransformCoord(m);
}

void ExpectVector(const GxVector3& v, float x, float y, float z)
{
    EXPECT_NEAR(v.x, x, kTolerance);
    EXPECT_NEAR(v.y, y, kTolerance);
    EXPECT_NEAR(v.z, z, kTolerance);
    EXPECT_EQ(v.w, 0.0f);
}

void ExpectMatrix(const GxMatrix& a, const GxMatrix& b)
{
    for (int r = 0; r < 4; ++r)
    {
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(a.m[r][c], b.m[r][c], kTolerance) << "element " << r << "," << c;
    }
}
} // namespace

// Layout ---------------------------------------------------------------------------------------------

TEST(GxMatrix, LayoutIsRowByRowWithTranslationInRowThree)
{
    GxMatrix m;
    m.Set(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    EXPECT_EQ(m.m[0][1], 2.0f);
    EXPECT_EQ(m.m[1][0], 5.0f);
    EXPECT_EQ(m.m[3][0], 13.0f);
    // The storage itself is row by row: element 12 is the start of row 3.
    EXPECT_EQ((&m.m[0][0])[12], 13.0f);
    // The default is the identity.
    ExpectMatrix(GxMatrix(), m.Set(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1));
    m.Translation(10, 20, 30);
    EXPECT_EQ(m.m[3][0], 10.0f);
    EXPECT_EQ(m.m[3][1], 20.0f);
    EXPECT_EQ(m.m[3][2], 30.0f);
    EXPECT_EQ(m.m[0][3], 0.0f);
    ExpectVector(Apply(m, 1, 2, 3), 11, 22, 33);
    ExpectVector(Apply(GxMatrix().TranslationV(GxVector3(1, 2, 3)), 0, 0, 0), 1, 2, 3);
    // Left-handed sense for row vectors: a quarter turn about Z takes +X to +Y, about X takes +Y to +Z,
    // about Y takes +Z to +X.
    ExpectVector(Apply(GxMatrix().RotationZ(kHalfPi), 1, 0, 0), 0, 1, 0);
    ExpectVector(Apply(GxMatrix().RotationX(kHalfPi), 0, 1, 0), 0, 0, 1);
    ExpectVector(Apply(GxMatrix().RotationY(kHalfPi), 0, 0, 1), 1, 0, 0);
    ExpectVector(Apply(GxMatrix().RotationY(kHalfPi), 1, 0, 0), 0, 0, -1);
}

// Products --------------------------------------------------------------------------------------------

TEST(GxMatrix, ProductAppliesLeftFactorFirstAndMayWriteOverEitherFactor)
{
    GxMatrix move, scale, out;
    move.Translation(1, 0, 0);
    scale.Scaling(2, 2, 2);
    ExpectVector(Apply(move.Multiply(scale, out), 0, 0, 0), 2, 0, 0);
    ExpectVector(Apply(scale.Multiply(move, out), 0, 0, 0), 1, 0, 0);
    GxMatrix a, b, expected;
    a.Set(1, 2, 0, 0, 3, 4, 0, 0, 0, 0, 1, 0, 5, 6, 0, 1);
    b.Set(0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1);
    // Hand-computed a x b: swaps columns 0 and 1 of a and doubles column 2.
    expected.Set(2, 1, 0, 0, 4, 3, 0, 0, 0, 0, 2, 0, 6, 5, 0, 1);

    GxMatrix left = a;
    left.Multiply(b, left);
    ExpectMatrix(left, expected);

    GxMatrix right = b;
    a.Multiply(right, right);
    ExpectMatrix(right, expected);

    GxMatrix inPlace = a;
    ExpectMatrix(inPlace.MultiplyInPlace(b), expected);
}

TEST(GxMatrix, RotateAndPostScaleMultiplyOnTheRightAndZeroTurnsTouchNothing)
{
    GxMatrix m;
    m.Translation(0, 1, 0).RotateX(kHalfPi);
    // The translation is turned too: (0, 1, 0) about X lands on (0, 0, 1).
    ExpectVector(Apply(m, 0, 0, 0), 0, 0, 1);

    m.Translation(1, 2, 3).PostScale(2, 3, 4);
    ExpectVector(Apply(m, 0, 0, 0), 2, 6, 12);
    ExpectVector(Apply(m, 1, 1, 1), 4, 9, 16);

    m.Scaling(2, 2, 2).AddTranslation(1, 1, 1);
    ExpectVector(Apply(m, 1, 0, 0), 3, 1, 1);
    m.Set(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    const GxMatrix before = m;
    m.RotateX(0.0f).RotateY(0.0f);
    EXPECT_EQ(std::memcmp(&m, &before, sizeof m), 0);
}

// Composed transforms ---------------------------------------------------------------------------------

TEST(GxMatrix, ComposeSRTScalesAndTurnsAboutPivotXThenYThenZ)
{
    GxMatrix m;
    m.ComposeSRT(GxVector3(2, 2, 1), GxVector3(5, 6, 7), GxVector3(0, 0, 0), GxVector3(10, 0, 0));
    ExpectVector(Apply(m, 10, 0, 0), 15, 6, 7);
    // One unit right of the pivot becomes two units right of it.
    ExpectVector(Apply(m, 11, 0, 0), 17, 6, 7);
    ExpectVector(Apply(m, 10, 1, 0), 15, 8, 7);
    // It turns about the pivot too.
    m.ComposeSRT(GxVector3(1, 1, 1), GxVector3(0, 0, 0), GxVector3(0, 0, kHalfPi), GxVector3(10, 0, 0));
    ExpectVector(Apply(m, 10, 0, 0), 10, 0, 0);
    ExpectVector(Apply(m, 11, 0, 0), 10, 1, 0);
    // Rx x Ry x Rz, quarter turns, worked by hand:
    // (1,0,0) -Rx-> (1,0,0) -Ry-> (0,0,-1) -Rz-> (0,0,-1)
    // (0,1,0) -Rx-> (0,0,1) -Ry-> (1,0,0)  -Rz-> (0,1,0)
    m.ComposeSRT(GxVector3(1, 1, 1), GxVector3(0, 0, 0), GxVector3(kHalfPi, kHalfPi, kHalfPi), GxVector3());
    ExpectVector(Apply(m, 1, 0, 0), 0, 0, -1);
    ExpectVector(Apply(m, 0, 1, 0), 0, 1, 0);
}

TEST(GxMatrix, ComposeSpriteTurnsAboutZThenXThenYAndScalesAboutPivot)
{
    // Rz x Rx x Ry, quarter turns, worked by hand:
    // (1,0,0) -Rz-> (0,1,0)  -Rx-> (0,0,1)  -Ry-> (1,0,0)
    // (0,1,0) -Rz-> (-1,0,0) -Rx-> (-1,0,0) -Ry-> (0,0,1)
    GxMatrix m;
    m.ComposeSprite(GxVector3(0, 0, 0), GxVector3(kHalfPi, kHalfPi, kHalfPi), GxVector3(1, 1, 1), GxVector3());
    ExpectVector(Apply(m, 1, 0, 0), 1, 0, 0);
    ExpectVector(Apply(m, 0, 1, 0), 0, 0, 1);
    m.ComposeSprite(GxVector3(100, 50, 0), GxVector3(0, 0, kHalfPi), GxVector3(2, 3, 1), GxVector3(4, 4, 0));
    // The pivot stays put apart from the move.
    ExpectVector(Apply(m, 4, 4, 0), 104, 54, 0);
    // (5,4) is (1,0) from the pivot: scaled to (2,0), turned to (0,2).
    ExpectVector(Apply(m, 5, 4, 0), 104, 56, 0);
    // (4,5) is (0,1) from the pivot: scaled to (0,3), turned to (-3,0).
    ExpectVector(Apply(m, 4, 5, 0), 101, 54, 0);
}

// Views and projections -------------------------------------------------------------------------------

TEST(GxMatrix, LookAtIsRightHandedAndOrthoMapsNearToZeroAndFarToOne)
{
    GxMatrix m;
    m.LookAt(GxVector3(0, 0, 5), GxVector3(0, 0, 0), GxVector3(0, 1, 0));
    ExpectVector(Apply(m, 0, 0, 0), 0, 0, -5);
    ExpectVector(Apply(m, 1, 2, 0), 1, 2, -5);

    // Looking along -X with Y up, world +Z is on the viewer's left.
    m.LookAt(GxVector3(5, 0, 0), GxVector3(0, 0, 0), GxVector3(0, 2, 0));
    ExpectVector(Apply(m, 0, 0, 1), -1, 0, -5);
    ExpectVector(Apply(m, 5, 3, 0), 0, 3, 0);
    m.Ortho(1024, 768, 1, 11);
    ExpectVector(Apply(m, 512, 384, -1), 1, 1, 0);
    ExpectVector(Apply(m, -512, 0, -11), -1, 0, 1);
    EXPECT_EQ(m.m[3][3], 1.0f);
    EXPECT_EQ(m.m[2][3], 0.0f);
}

// Inverse ---------------------------------------------------------------------------------------------

TEST(GxMatrix, InverseUndoesAffineAndGeneralMatrices)
{
    GxMatrix m, expected, product;
    m.Scaling(2, 4, 5).AddTranslation(1, 2, 3);
    const GxMatrix original = m;
    // Hand-computed: T(-1,-2,-3) x S(1/2, 1/4, 1/5).
    expected.Scaling(0.5f, 0.25f, 0.2f).AddTranslation(-0.5f, -0.5f, -0.6f);
    EXPECT_NEAR(m.Inverse(), 40.0f, kTolerance);
    ExpectMatrix(m, expected);
    ExpectMatrix(original.Multiply(m, product), GxMatrix());
    // A general matrix: det = 2(12 - 0) - 0 + 1(1 - 0) = 25
    m.Set(2, 0, 1, 0, 1, 3, 0, 0, 0, 1, 4, 0, 7, -2, 5, 1);
    const GxMatrix general = m;
    EXPECT_NEAR(m.Inverse(), 25.0f, 1e-4f);
    ExpectMatrix(general.Multiply(m, product), GxMatrix());
    ExpectMatrix(m.Multiply(general, product), GxMatrix());
}

TEST(GxMatrix, InverseTreatsTinyDeterminantAsSingular)
{
    GxMatrix m;
    m.Scaling(0.01f, 0.01f, 0.01f); // determinant 0.000001
    EXPECT_EQ(m.Inverse(), 0.0f);
    ExpectMatrix(m, GxMatrix());

    m.Scaling(0.1f, 0.1f, 0.1f); // determinant 0.001
    EXPECT_NEAR(m.Inverse(), 0.001f, 1e-7f);
    ExpectMatrix(m, GxMatrix().Scaling(10, 10, 10));

    m.Set(1, 2, 3, 0, 2, 4, 6, 0, 0, 0, 1, 0, 0, 0, 0, 1); // two proportional rows
    EXPECT_EQ(m.Inverse(), 0.0f);
    ExpectMatrix(m, GxMatrix());
}
