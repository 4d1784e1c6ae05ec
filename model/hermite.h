#pragma once
#include <windows.h>
#include <stdint.h>

// Cubic Hermite segments between consecutive vertices (position and outgoing tangent
// of the first, position and incoming tangent of the second; both tangents zero make
// a straight segment) and bicubic Hermite patches over four vertices.

struct PlanObject;
struct PlanVertex;

typedef float Matrix4[4][4];

// The one shared set of patch matrices: every patch caller passes these arrays, so
// only one patch is computed and evaluated at a time.
struct HermiteScratch {
    Matrix4 geometryX;
    Matrix4 geometryY;
    Matrix4 geometryZ;
    Matrix4 basis;            // M
    Matrix4 basisTransposed;  // MT
    Matrix4 product;
    Matrix4 coefficientsX;    // K = M x G x MT per coordinate
    Matrix4 coefficientsY;
    Matrix4 coefficientsZ;
    float s[4];               // [s^3, s^2, s, 1]
    float t[4];               // [t^3, t^2, t, 1]
};
extern HermiteScratch hermiteScratch;

// f(t) = a t^3 + b t^2 + c t + d from end values and end tangents.
void ComputeCubicCoefficients(float p0, float t0, float p1, float t1,
                              float* a, float* b, float* c, float* d);
void ComputeCubicCoefficientsByEnds(float p0, float p1, float t0, float t1,
                                    float* a, float* b, float* c, float* d);
// The caller passes t and its powers.
float EvaluateCubic(float a, float b, float c, float d, float t, float t2, float t3);
// The cubic coefficients [a, b, c, d] of each coordinate k of the segment that runs from
// p0 with tangent t0 to p1 with tangent t1 (three coordinates each).
void ComputeSegmentCoefficients(const float* p0, const float* t0, const float* p1, const float* t1,
                                float coefficients[3][4]);
// The same for the segment a -> b: a's position and outgoing tangent, b's position and
// incoming tangent.
void ComputeVertexSegmentCoefficients(const PlanVertex* a, const PlanVertex* b,
                                      float coefficients[3][4]);
// The point at t of a segment given by its coefficients.
void EvaluateSegmentCoefficients(const float coefficients[3][4], float t, float point[3]);
float EvaluateCubicDerivative(float a, float b, float c, float t, float t2);
// out = (v - u) * factor.
void ScaledDifference(float u, float v, float factor, float* out);

// End points and tangents of a circular arc of the given angle and radius, centred on
// the origin, running counter-clockwise from -angle/2 to +angle/2. The out order
// matches GetCurveSegmentViewBounds: the x group, then the y group, each p0, t0, t1, p1.
// A zero angle, or one that is not a number, gives the point (radius, 0) twice with zero
// tangents: a straight segment, never a division by tan 0.
void ComputeArcHermiteHandles(float angle, float radius,
                              float* p0x, float* t0x, float* t1x, float* p1x,
                              float* p0y, float* t0y, float* t1y, float* p1y);

// Screen rectangle of the segment's control polygon (p0, p0 + t0, p1 - t1, p1) in the
// current view, zoomed, clamped to +-32767.
void GetCurveSegmentViewBounds(float p0x, float t0x, float t1x, float p1x,
                               float p0y, float t0y, float t1y, float p1y,
                               float p0z, float t0z, float t1z, float p1z, RECT* bounds);

// Plan length (x and z) of the segment a -> b, curves sampled by the curve steps.
float ComputeSegmentCurveLength(const PlanObject* object, const PlanVertex* a, const PlanVertex* b);
// Plan length of the outline of a one-row wall, path, fence, stair or railing
// (types 12, 21, 22, 24..27, 38, 45); 0 for any other object.
float ComputeObjectCurveLength(const PlanObject* object);
// The point at t of the segment a -> b.
void EvaluateHermiteSegmentPoint(const PlanVertex* a, const PlanVertex* b, float t,
                                 float* x, float* y, float* z);

// Patches.
void FillHermiteBasis(Matrix4 m);
void FillHermiteBasisTransposed(Matrix4 m);
// Builds the geometry matrices of the four corner vertices (variant 0: rows Va->Vb and
// Vc->Vd of a mesh whose second row runs back; variant 1: t-derivatives from the
// vertices' extra vectors) and writes K = (M x G) x MT for x, y and z.
void ComputeHermitePatchCoefficients(Matrix4 gx, Matrix4 gy, Matrix4 gz, const Matrix4 m,
                                     const Matrix4 mt, Matrix4 product,
                                     Matrix4 kx, Matrix4 ky, Matrix4 kz,
                                     const PlanVertex* va, const PlanVertex* vb,
                                     const PlanVertex* vc, const PlanVertex* vd,
                                     uint8_t variant, float unused1, float unused2);
// Fills S and T from s and t, then each coordinate as S x K x T.
void EvaluateHermitePatchPoint(const Matrix4 kx, const Matrix4 ky, const Matrix4 kz,
                               float* sVector, float* tVector, float s, float t,
                               float* x, float* y, float* z);
void EvaluateHermitePatchPartials(const Matrix4 k, float s, float t, float* ds, float* dt);
// Normal (d/ds x d/dt, taken at s + 0.01, t + 0.01) turned into view space.
void ComputeHermitePatchNormal(const Matrix4 kx, const Matrix4 ky, const Matrix4 kz,
                               float s, float t, float* nx, float* ny, float* nz);

// out = a x b (out is cleared first; it must not be a or b).
void MultiplyMatrix4(const Matrix4 a, const Matrix4 b, Matrix4 out);
// out = v x m for a row vector v.
void RowVectorTimesMatrix4(const float* v, const Matrix4 m, float* out);
float Dot4(const float* a, const float* b);
// S = [s^3, s^2, s, 1], T = [t^3, t^2, t, 1].
void FillPowerVectors(float s, float t, float* sVector, float* tVector);
void CrossProduct3(const float* a, const float* b, float* out);
