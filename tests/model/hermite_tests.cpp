#include <gtest/gtest.h>
#include <math.h>
#include "model/hermite.h"
#include "geometry_fixtures.h"

using geometrytest::ScopedDocument;
using geometrytest::SetTangent;
using geometrytest::TestObject;
using geometrytest::ViewStateScope;

TEST(Hermite, CubicCoefficientsOfAStep)
{
    float a, b, c, d;
    ComputeCubicCoefficients(0.0f, 0.0f, 1.0f, 0.0f, &a, &b, &c, &d);
    EXPECT_EQ(-2.0f, a);
    EXPECT_EQ(3.0f, b);
    EXPECT_EQ(0.0f, c);
    EXPECT_EQ(0.0f, d);
    EXPECT_FLOAT_EQ(0.0f, EvaluateCubic(a, b, c, d, 0.0f, 0.0f, 0.0f));
    EXPECT_FLOAT_EQ(0.5f, EvaluateCubic(a, b, c, d, 0.5f, 0.25f, 0.125f));
    EXPECT_FLOAT_EQ(1.0f, EvaluateCubic(a, b, c, d, 1.0f, 1.0f, 1.0f));
    // The same coefficients with the ends given first.
    float a2, b2, c2, d2;
    ComputeCubicCoefficientsByEnds(0.0f, 1.0f, 0.0f, 0.0f, &a2, &b2, &c2, &d2);
    EXPECT_EQ(a, a2);
    EXPECT_EQ(b, b2);
    EXPECT_EQ(c, c2);
    EXPECT_EQ(d, d2);
}

TEST(Hermite, TangentsShapeTheCubic)
{
    // From 0 back to 0, leaving with slope 3 and arriving flat:
    // a = 3, b = -6, c = 3, d = 0; f(0.5) = 0.375 - 1.5 + 1.5.
    float a, b, c, d;
    ComputeCubicCoefficients(0.0f, 3.0f, 0.0f, 0.0f, &a, &b, &c, &d);
    EXPECT_EQ(3.0f, a);
    EXPECT_EQ(-6.0f, b);
    EXPECT_EQ(3.0f, c);
    EXPECT_EQ(0.0f, d);
    EXPECT_FLOAT_EQ(0.375f, EvaluateCubic(a, b, c, d, 0.5f, 0.25f, 0.125f));
    EXPECT_FLOAT_EQ(3.0f, EvaluateCubicDerivative(a, b, c, 0.0f, 0.0f));
    EXPECT_FLOAT_EQ(0.0f, EvaluateCubicDerivative(a, b, c, 1.0f, 1.0f));
    float out = 0.0f;
    ScaledDifference(2.0f, 10.0f, 0.5f, &out);
    EXPECT_FLOAT_EQ(4.0f, out);
}

TEST(Hermite, QuarterArcHandles)
{
    float p0x, t0x, t1x, p1x, p0y, t0y, t1y, p1y;
    ComputeArcHermiteHandles(3.14159265f / 2, 1.0f, &p0x, &t0x, &t1x, &p1x, &p0y, &t0y, &t1y, &p1y);
    EXPECT_NEAR(0.70711f, p0x, 1e-5);
    EXPECT_NEAR(-0.70711f, p0y, 1e-5);
    EXPECT_NEAR(0.70711f, p1x, 1e-5);
    EXPECT_NEAR(0.70711f, p1y, 1e-5);
    // 4 (1 - cos 45) = 1.17157 in both components; length 4 tan(pi/8) = 1.65685.
    EXPECT_NEAR(1.17157f, t0x, 1e-5);
    EXPECT_NEAR(1.17157f, t0y, 1e-5);
    EXPECT_NEAR(-1.17157f, t1x, 1e-5);
    EXPECT_NEAR(1.17157f, t1y, 1e-5);
    EXPECT_NEAR(1.65685f, hypotf(t0x, t0y), 1e-5);
}

TEST(Hermite, HalfCircleMidpointLiesOnTheCircle)
{
    float p0x, t0x, t1x, p1x, p0y, t0y, t1y, p1y;
    ComputeArcHermiteHandles(3.14159265f, 2.0f, &p0x, &t0x, &t1x, &p1x, &p0y, &t0y, &t1y, &p1y);
    EXPECT_NEAR(0.0f, p0x, 1e-5);
    EXPECT_NEAR(-2.0f, p0y, 1e-5);
    EXPECT_NEAR(8.0f, t0x, 1e-5);
    EXPECT_NEAR(0.0f, t0y, 1e-5);
    EXPECT_NEAR(-8.0f, t1x, 1e-5);
    // f(0.5) = (p0 + p1) / 2 + (t0 - t1) / 8 = (2, 0).
    float a, b, c, d;
    ComputeCubicCoefficients(p0x, t0x, p1x, t1x, &a, &b, &c, &d);
    EXPECT_NEAR(2.0f, EvaluateCubic(a, b, c, d, 0.5f, 0.25f, 0.125f), 1e-5);
}

TEST(Hermite, ZeroArcIsAPointWithoutTangents)
{
    float p0x, t0x, t1x, p1x, p0y, t0y, t1y, p1y;
    ComputeArcHermiteHandles(0.0f, 3.0f, &p0x, &t0x, &t1x, &p1x, &p0y, &t0y, &t1y, &p1y);
    EXPECT_EQ(3.0f, p0x);
    EXPECT_EQ(3.0f, p1x);
    EXPECT_EQ(0.0f, t0x);
    EXPECT_EQ(0.0f, t0y);
    EXPECT_EQ(0.0f, t1x);
    EXPECT_EQ(0.0f, t1y);

    // An angle that is no number is the zero angle, not a NaN handle.
    ComputeArcHermiteHandles(NAN, 3.0f, &p0x, &t0x, &t1x, &p1x, &p0y, &t0y, &t1y, &p1y);
    EXPECT_EQ(3.0f, p0x);
    EXPECT_EQ(0.0f, p0y);
    EXPECT_EQ(3.0f, p1x);
    EXPECT_EQ(0.0f, p1y);
    EXPECT_EQ(0.0f, t0x);
    EXPECT_EQ(0.0f, t0y);
    EXPECT_EQ(0.0f, t1x);
    EXPECT_EQ(0.0f, t1y);
}

TEST(Hermite, SegmentPointAtStartMiddleAndEnd)
{
    TestObject shape(21);
    PlanVertex* a = shape.Add(0.0f, 5.0f, 0.0f);
    PlanVertex* b = shape.Add(10.0f, 5.0f, 0.0f);
    SetTangent(a->outTangent, 0.0f, 0.0f, 8.0f);
    SetTangent(b->inTangent, 0.0f, 0.0f, -8.0f);
    float x, y, z;
    EvaluateHermiteSegmentPoint(a, b, 0.0f, &x, &y, &z);
    EXPECT_FLOAT_EQ(0.0f, x);
    EXPECT_FLOAT_EQ(5.0f, y);
    EXPECT_FLOAT_EQ(0.0f, z);
    // z(0.5) = 0.125 x 8 - 0.125 x (-8) = 2.
    EvaluateHermiteSegmentPoint(a, b, 0.5f, &x, &y, &z);
    EXPECT_FLOAT_EQ(5.0f, x);
    EXPECT_FLOAT_EQ(5.0f, y);
    EXPECT_FLOAT_EQ(2.0f, z);
    EvaluateHermiteSegmentPoint(a, b, 1.0f, &x, &y, &z);
    EXPECT_FLOAT_EQ(10.0f, x);
    EXPECT_FLOAT_EQ(5.0f, y);
    EXPECT_FLOAT_EQ(0.0f, z);
}

TEST(Hermite, StraightSegmentLengthIgnoresHeight)
{
    ViewStateScope view;
    TestObject shape(21);
    PlanVertex* a = shape.Add(0.0f, 0.0f, 0.0f);
    PlanVertex* b = shape.Add(3.0f, 99.0f, 4.0f);
    EXPECT_FLOAT_EQ(5.0f, ComputeSegmentCurveLength(&shape.object, a, b));
}

TEST(Hermite, ObjectLengthOfSquares)
{
    ViewStateScope view;
    TestObject square(21, 1);
    square.Add(0.0f, 0.0f, 0.0f);
    square.Add(10.0f, 0.0f, 0.0f);
    square.Add(10.0f, 0.0f, 10.0f);
    square.Add(0.0f, 0.0f, 10.0f);
    EXPECT_FLOAT_EQ(40.0f, ComputeObjectCurveLength(&square.object));
    square.object.closed = 0;
    EXPECT_FLOAT_EQ(30.0f, ComputeObjectCurveLength(&square.object));
    // Plants are not outlines; two-row meshes are not either.
    square.object.type = 28;
    EXPECT_EQ(0.0f, ComputeObjectCurveLength(&square.object));
    square.object.type = 12;
    square.object.rows = 2;
    EXPECT_EQ(0.0f, ComputeObjectCurveLength(&square.object));
    EXPECT_EQ(0.0f, ComputeObjectCurveLength(nullptr));
}

// A curve leaving and returning to x = 0 along z = 0: x(t) = 8 t (1 - t), peak 2 at
// t = 0.5.
static void MakeBulge(TestObject& shape, PlanVertex** a, PlanVertex** b)
{
    *a = shape.Add(0.0f, 0.0f, 0.0f);
    *b = shape.Add(0.0f, 0.0f, 0.0f);
    SetTangent((*a)->outTangent, 8.0f, 0.0f, 0.0f);
    SetTangent((*b)->inTangent, -8.0f, 0.0f, 0.0f);
}

TEST(Hermite, CurvedLengthIsASumOfChordsByCurveSteps)
{
    ViewStateScope view;
    TestObject shape(21);
    PlanVertex *a, *b;
    MakeBulge(shape, &a, &b);
    ScopedDocument doc;
    // 8 steps sample the peak: up 2, down 2.
    doc.settings.curveSteps = 8;
    EXPECT_NEAR(4.0f, ComputeSegmentCurveLength(&shape.object, a, b), 1e-5);
    // 3 steps: samples 0, 16/9, 16/9, 0.
    doc.settings.curveSteps = 3;
    EXPECT_NEAR(32.0f / 9.0f, ComputeSegmentCurveLength(&shape.object, a, b), 1e-5);
}

TEST(Hermite, CurveStepsFromAFileAreMadeUsable)
{
    ViewStateScope view;
    TestObject shape(21);
    PlanVertex *a, *b;
    MakeBulge(shape, &a, &b);
    ScopedDocument doc;
    // 0 would be a step of 1/0: the default 8 is used, which samples the peak.
    doc.settings.curveSteps = 0;
    EXPECT_NEAR(4.0f, ComputeSegmentCurveLength(&shape.object, a, b), 1e-5);
    // A negative count as the signed word reads it: the default too.
    doc.settings.curveSteps = 0xFFFF;
    EXPECT_NEAR(4.0f, ComputeSegmentCurveLength(&shape.object, a, b), 1e-5);
}

TEST(Hermite, CurvedLengthWithoutDocumentUsesTenSteps)
{
    ViewStateScope view;
    TestObject shape(21);
    PlanVertex *a, *b;
    MakeBulge(shape, &a, &b);
    // 10 steps sample t = 0.5 too; with 5 the peak would be missed (x = 1.92).
    EXPECT_NEAR(4.0f, ComputeSegmentCurveLength(&shape.object, a, b), 1e-4);
}

namespace {

// Four corners of a patch with hand-set tangents and extra vectors.
struct PatchCorners {
    PatchCorners() : shape(40)
    {
        va = shape.Add(0.0f, 0.0f, 0.0f);
        vb = shape.Add(10.0f, 0.0f, 0.0f);
        vc = shape.Add(0.0f, 0.0f, 10.0f);
        vd = shape.Add(10.0f, 2.0f, 10.0f);
    }
    void Compute(uint8_t variant)
    {
        HermiteScratch& h = hermiteScratch;
        FillHermiteBasis(h.basis);
        FillHermiteBasisTransposed(h.basisTransposed);
        ComputeHermitePatchCoefficients(h.geometryX, h.geometryY, h.geometryZ, h.basis,
                                        h.basisTransposed, h.product, h.coefficientsX,
                                        h.coefficientsY, h.coefficientsZ, va, vb, vc, vd,
                                        variant, 0.0f, 0.0f);
    }
    void Point(float s, float t, float* x, float* y, float* z)
    {
        HermiteScratch& h = hermiteScratch;
        EvaluateHermitePatchPoint(h.coefficientsX, h.coefficientsY, h.coefficientsZ, h.s, h.t,
                                  s, t, x, y, z);
    }
    TestObject shape;
    PlanVertex *va, *vb, *vc, *vd;
};

void ExpectPosition(const PlanVertex* v, float x, float y, float z)
{
    EXPECT_NEAR(v->position[0], x, 1e-4);
    EXPECT_NEAR(v->position[1], y, 1e-4);
    EXPECT_NEAR(v->position[2], z, 1e-4);
}

} // namespace

TEST(HermitePatch, CornersInBothVariants)
{
    for (uint8_t variant = 0; variant < 2; ++variant) {
        PatchCorners p;
        SetTangent(p.va->outTangent, 3.0f, 1.0f, 0.0f);
        SetTangent(p.va->inTangent, 0.0f, -2.0f, 5.0f);
        SetTangent(p.vd->outTangent, 1.0f, 1.0f, 1.0f);
        SetTangent(p.vc->extra, 0.0f, 4.0f, 0.0f);
        p.Compute(variant);
        float x, y, z;
        p.Point(0.0f, 0.0f, &x, &y, &z);
        ExpectPosition(p.va, x, y, z);
        p.Point(0.0f, 1.0f, &x, &y, &z);
        ExpectPosition(p.vb, x, y, z);
        p.Point(1.0f, 0.0f, &x, &y, &z);
        ExpectPosition(p.vc, x, y, z);
        p.Point(1.0f, 1.0f, &x, &y, &z);
        ExpectPosition(p.vd, x, y, z);
    }
}

TEST(HermitePatch, FlatPatchCentreIsTheCornerAverage)
{
    PatchCorners p;
    p.Compute(1);
    float x, y, z;
    p.Point(0.5f, 0.5f, &x, &y, &z);
    EXPECT_NEAR(5.0f, x, 1e-5);
    EXPECT_NEAR(0.5f, y, 1e-5);
    EXPECT_NEAR(5.0f, z, 1e-5);
    // The scratch vectors hold the powers of the last point.
    EXPECT_FLOAT_EQ(0.125f, hermiteScratch.s[0]);
    EXPECT_FLOAT_EQ(0.25f, hermiteScratch.t[1]);
    EXPECT_FLOAT_EQ(1.0f, hermiteScratch.t[3]);
}

TEST(HermitePatch, VariantOneTakesTDerivativesFromTheExtraVectors)
{
    // Along s = 0: y(t) = 0.125 E_a - 0.125 E_b at t = 0.5 (Hermite weights).
    PatchCorners p;
    SetTangent(p.va->extra, 0.0f, 8.0f, 0.0f);
    SetTangent(p.vb->extra, 0.0f, -8.0f, 0.0f);
    p.Compute(1);
    float x, y, z;
    p.Point(0.0f, 0.5f, &x, &y, &z);
    EXPECT_NEAR(5.0f, x, 1e-5);
    EXPECT_NEAR(2.0f, y, 1e-5);
    EXPECT_NEAR(0.0f, z, 1e-5);
    // Variant 0 ignores the extra vectors.
    p.Compute(0);
    p.Point(0.0f, 0.5f, &x, &y, &z);
    EXPECT_NEAR(0.0f, y, 1e-5);
}

TEST(HermitePatch, PartialsAtTheCornersAreTheTangents)
{
    // Variant 0: d/dt at (0, 0) is Va's outgoing tangent, d/ds is minus its incoming
    // one; d/ds at (1, 1) is Vd's incoming tangent.
    PatchCorners p;
    SetTangent(p.va->outTangent, 3.0f, 0.0f, 0.0f);
    SetTangent(p.va->inTangent, 0.0f, 0.0f, -7.0f);
    SetTangent(p.vd->inTangent, 0.0f, 0.0f, 6.0f);
    p.Compute(0);
    float ds, dt;
    EvaluateHermitePatchPartials(hermiteScratch.coefficientsX, 0.0f, 0.0f, &ds, &dt);
    EXPECT_NEAR(3.0f, dt, 1e-5);
    EvaluateHermitePatchPartials(hermiteScratch.coefficientsZ, 0.0f, 0.0f, &ds, &dt);
    EXPECT_NEAR(7.0f, ds, 1e-5);
    EvaluateHermitePatchPartials(hermiteScratch.coefficientsZ, 1.0f, 1.0f, &ds, &dt);
    EXPECT_NEAR(6.0f, ds, 1e-5);
}

TEST(HermitePatch, MissingCornerLeavesTheCoefficientsAlone)
{
    PatchCorners p;
    HermiteScratch& h = hermiteScratch;
    h.coefficientsX[0][0] = 99.0f;
    FillHermiteBasis(h.basis);
    FillHermiteBasisTransposed(h.basisTransposed);
    ComputeHermitePatchCoefficients(h.geometryX, h.geometryY, h.geometryZ, h.basis,
                                    h.basisTransposed, h.product, h.coefficientsX,
                                    h.coefficientsY, h.coefficientsZ, p.va, p.vb, nullptr, p.vd,
                                    0, 0.0f, 0.0f);
    EXPECT_EQ(99.0f, h.coefficientsX[0][0]);
}

TEST(HermitePatch, NormalOfALevelPatchLiesAlongTheViewAxis)
{
    ViewStateScope view;
    // A level patch: t runs along x, s along z. At s = t = 0.01 both derivatives are
    // 10 x (6 x 0.01 - 6 x 0.0001) = 0.594; n = u x v = (0, 0.594^2, 0) in the model.
    PatchCorners p;
    p.vd->position[1] = 0.0f;
    p.Compute(1);
    // Top view, with an origin far from zero: a direction is not moved by it.
    viewOrigin = {0.0f, -96.0f, 0.0f};
    float nx, ny, nz;
    ComputeHermitePatchNormal(hermiteScratch.coefficientsX, hermiteScratch.coefficientsY,
                              hermiteScratch.coefficientsZ, 0.0f, 0.0f, &nx, &ny, &nz);
    EXPECT_NEAR(0.0f, nx, 1e-5);
    EXPECT_NEAR(0.0f, ny, 1e-5);
    EXPECT_NEAR(-0.352836f, nz, 1e-5);
}

TEST(Hermite, ViewBoundsOfTheControlPolygon)
{
    ViewStateScope view;
    // Top view: screen (x, z). Control points (0, 0), (10, 20), (30, 20), (30, 0).
    RECT r = {};
    GetCurveSegmentViewBounds(0.0f, 10.0f, 0.0f, 30.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                              0.0f, 20.0f, -20.0f, 0.0f, &r);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(30, r.right);
    EXPECT_EQ(20, r.bottom);
    // Far points clamp at 32767; -2.7 rounds toward zero after +0.5 to -2.
    GetCurveSegmentViewBounds(40000.0f, 0.0f, 0.0f, 1.2f, 0.0f, 0.0f, 0.0f, 0.0f,
                              -2.7f, 0.0f, 0.0f, 3.6f, &r);
    EXPECT_EQ(1, r.left);
    EXPECT_EQ(32767, r.right);
    EXPECT_EQ(-2, r.top);
    EXPECT_EQ(4, r.bottom);
}
