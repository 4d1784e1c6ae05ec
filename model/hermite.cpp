#include "model/hermite.h"
#include <math.h>
#include <string.h>
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/view_projection.h"

HermiteScratch hermiteScratch;

// Segments per curve of the active plan; 10 when there is no document to ask.
static uint16_t CurrentCurveSteps()
{
    return UsableCurveSteps(activeDocument ? activeDocument->settings : nullptr);
}

void ComputeCubicCoefficients(float p0, float t0, float p1, float t1,
                              float* a, float* b, float* c, float* d)
{
    if (!a || !b || !c || !d)
        return;
    *a = 2.0f * p0 - 2.0f * p1 + t0 + t1;
    *b = -3.0f * p0 + 3.0f * p1 - 2.0f * t0 - t1;
    *c = t0;
    *d = p0;
}

void ComputeCubicCoefficientsByEnds(float p0, float p1, float t0, float t1,
                                    float* a, float* b, float* c, float* d)
{
    ComputeCubicCoefficients(p0, t0, p1, t1, a, b, c, d);
}

float EvaluateCubic(float a, float b, float c, float d, float t, float t2, float t3)
{
    return a * t3 + b * t2 + c * t + d;
}

void ComputeSegmentCoefficients(const float* p0, const float* t0, const float* p1, const float* t1,
                                float coefficients[3][4])
{
    for (int k = 0; k < 3; ++k)
        ComputeCubicCoefficients(p0[k], t0[k], p1[k], t1[k], &coefficients[k][0], &coefficients[k][1],
                                 &coefficients[k][2], &coefficients[k][3]);
}

void ComputeVertexSegmentCoefficients(const PlanVertex* a, const PlanVertex* b,
                                      float coefficients[3][4])
{
    ComputeSegmentCoefficients(a->position, a->outTangent, b->position, b->inTangent, coefficients);
}

void EvaluateSegmentCoefficients(const float coefficients[3][4], float t, float point[3])
{
    float t2 = t * t;
    float t3 = t2 * t;
    for (int k = 0; k < 3; ++k)
        point[k] = EvaluateCubic(coefficients[k][0], coefficients[k][1], coefficients[k][2],
                                 coefficients[k][3], t, t2, t3);
}

float EvaluateCubicDerivative(float a, float b, float c, float t, float t2)
{
    return 3.0f * a * t2 + 2.0f * b * t + c;
}

void ScaledDifference(float u, float v, float factor, float* out)
{
    if (out)
        *out = (v - u) * factor;
}

void ComputeArcHermiteHandles(float angle, float radius,
                              float* p0x, float* t0x, float* t1x, float* p1x,
                              float* p0y, float* t0y, float* t1y, float* p1y)
{
    if (!p0x || !t0x || !t1x || !p1x || !p0y || !t0y || !t1y || !p1y)
        return;
    // An angle that is no number makes no arc: it is taken as the zero angle below.
    double h = isfinite(angle) ? angle / 2.0 : 0.0;
    double cosH = cos(h), sinH = sin(h), tanH = tan(h);
    double along = 4.0 * radius * (1.0 - cosH);
    *p0x = (float)(radius * cosH);
    *p0y = (float)(-radius * sinH);
    *p1x = (float)(radius * cosH);
    *p1y = (float)(radius * sinH);
    *t0x = (float)along;
    *t1x = (float)-along;
    // A zero angle is a single point: give it zero tangents instead of dividing by 0.
    float across = tanH != 0.0 ? (float)(along / tanH) : 0.0f;
    if (tanH == 0.0) {
        *t0x = 0.0f;
        *t1x = 0.0f;
    }
    *t0y = across;
    *t1y = across;
}

static int16_t RoundClampedToShort(float value)
{
    if (value < -32767.0f)
        value = -32767.0f;
    if (value > 32767.0f)
        value = 32767.0f;
    if (value != value)
        value = 0.0f;
    return (int16_t)(int)(value + 0.5f);
}

void GetCurveSegmentViewBounds(float p0x, float t0x, float t1x, float p1x,
                               float p0y, float t0y, float t1y, float p1y,
                               float p0z, float t0z, float t1z, float p1z, RECT* bounds)
{
    if (!bounds)
        return;
    float points[4][3] = {
        {p0x, p0y, p0z},
        {p0x + t0x, p0y + t0y, p0z + t0z},
        {p1x - t1x, p1y - t1y, p1z - t1z},
        {p1x, p1y, p1z},
    };
    float minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (int i = 0; i < 4; ++i) {
        float* p = points[i];
        TransformPointToView(&p[0], &p[1], &p[2], viewPitchCos, viewPitchSin, viewYawCos,
                             viewYawSin, viewOrigin.x, viewOrigin.y, viewOrigin.z, 1);
        if (perspectiveOn)
            ApplyPerspective(&p[0], &p[1], &p[2], viewerDistance, 0.0f, 0.0f, 0.0f);
        if (i == 0 || p[0] < minX) minX = p[0];
        if (i == 0 || p[0] > maxX) maxX = p[0];
        if (i == 0 || p[1] < minY) minY = p[1];
        if (i == 0 || p[1] > maxY) maxY = p[1];
    }
    bounds->left = RoundClampedToShort(minX);
    bounds->top = RoundClampedToShort(minY);
    bounds->right = RoundClampedToShort(maxX);
    bounds->bottom = RoundClampedToShort(maxY);
}

static bool IsStraightSegment(const PlanVertex* a, const PlanVertex* b)
{
    return a->outTangent[0] == 0.0f && a->outTangent[1] == 0.0f && a->outTangent[2] == 0.0f &&
           b->inTangent[0] == 0.0f && b->inTangent[1] == 0.0f && b->inTangent[2] == 0.0f;
}

float ComputeSegmentCurveLength(const PlanObject* object, const PlanVertex* a, const PlanVertex* b)
{
    (void)object;
    if (!a || !b)
        return 0.0f;
    if (IsStraightSegment(a, b))
        return Distance2D(a->position[0], a->position[2], b->position[0], b->position[2]);
    uint16_t steps = CurrentCurveSteps();
    float coefficients[3][4];
    ComputeVertexSegmentCoefficients(a, b, coefficients);
    float step = 1.0f / (float)steps;
    float length = 0.0f;
    float previousX = 0.0f, previousZ = 0.0f;
    for (float t = 0.0f; t <= 1.01f; t += step) {
        float point[3];
        EvaluateSegmentCoefficients(coefficients, t, point);
        float x = point[0];
        float z = point[2];
        if (t > 0.0f)
            length += Distance2D(previousX, previousZ, x, z);
        previousX = x;
        previousZ = z;
    }
    return length;
}

float ComputeObjectCurveLength(const PlanObject* object)
{
    if (!object || object->rows != 1)
        return 0.0f;
    switch (object->type) {
    case 12: case 21: case 22: case 24: case 25: case 26: case 27: case 38: case 45:
        break;
    default:
        return 0.0f;
    }
    float length = 0.0f;
    const PlanVertex* first = object->firstVertex;
    const PlanVertex* last = first;
    for (const PlanVertex* v = first; v && v->next; v = v->next) {
        length += ComputeSegmentCurveLength(object, v, v->next);
        last = v->next;
    }
    if (object->closed && first)
        length += ComputeSegmentCurveLength(object, last, first);
    return length;
}

void EvaluateHermiteSegmentPoint(const PlanVertex* a, const PlanVertex* b, float t,
                                 float* x, float* y, float* z)
{
    if (!a || !b || !x || !y || !z)
        return;
    float coefficients[3][4];
    ComputeVertexSegmentCoefficients(a, b, coefficients);
    float point[3];
    EvaluateSegmentCoefficients(coefficients, t, point);
    *x = point[0];
    *y = point[1];
    *z = point[2];
}

// Patches.

void FillHermiteBasis(Matrix4 m)
{
    if (!m)
        return;
    static const float basis[4][4] = {
        {2.0f, -2.0f, 1.0f, 1.0f},
        {-3.0f, 3.0f, -2.0f, -1.0f},
        {0.0f, 0.0f, 1.0f, 0.0f},
        {1.0f, 0.0f, 0.0f, 0.0f},
    };
    memcpy(m, basis, sizeof basis);
}

void FillHermiteBasisTransposed(Matrix4 m)
{
    if (!m)
        return;
    static const float basis[4][4] = {
        {2.0f, -3.0f, 0.0f, 1.0f},
        {-2.0f, 3.0f, 0.0f, 0.0f},
        {1.0f, -2.0f, 1.0f, 0.0f},
        {1.0f, -1.0f, 0.0f, 0.0f},
    };
    memcpy(m, basis, sizeof basis);
}

void MultiplyMatrix4(const Matrix4 a, const Matrix4 b, Matrix4 out)
{
    if (!a || !b || !out)
        return;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            out[i][j] = 0.0f;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k)
                out[i][j] += a[i][k] * b[k][j];
}

void RowVectorTimesMatrix4(const float* v, const Matrix4 m, float* out)
{
    if (!v || !m || !out)
        return;
    float result[4];
    for (int j = 0; j < 4; ++j)
        result[j] = v[0] * m[0][j] + v[1] * m[1][j] + v[2] * m[2][j] + v[3] * m[3][j];
    memcpy(out, result, sizeof result);
}

float Dot4(const float* a, const float* b)
{
    if (!a || !b)
        return 0.0f;
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2] + a[3] * b[3];
}

void FillPowerVectors(float s, float t, float* sVector, float* tVector)
{
    if (sVector) {
        sVector[0] = s * s * s;
        sVector[1] = s * s;
        sVector[2] = s;
        sVector[3] = 1.0f;
    }
    if (tVector) {
        tVector[0] = t * t * t;
        tVector[1] = t * t;
        tVector[2] = t;
        tVector[3] = 1.0f;
    }
}

void CrossProduct3(const float* a, const float* b, float* out)
{
    if (!a || !b || !out)
        return;
    float x = a[1] * b[2] - a[2] * b[1];
    float y = -(a[0] * b[2] - a[2] * b[0]);
    float z = a[0] * b[1] - a[1] * b[0];
    out[0] = x;
    out[1] = y;
    out[2] = z;
}

static void FillGeometryMatrix(Matrix4 g, int k, const PlanVertex* va, const PlanVertex* vb,
                               const PlanVertex* vc, const PlanVertex* vd, uint8_t variant)
{
    g[0][0] = va->position[k];
    g[0][1] = vb->position[k];
    g[1][0] = vc->position[k];
    g[1][1] = vd->position[k];
    if (!variant) {
        g[0][2] = va->outTangent[k];
        g[0][3] = vb->inTangent[k];
        g[1][2] = -vc->inTangent[k];
        g[1][3] = -vd->outTangent[k];
        g[2][0] = -va->inTangent[k];
        g[2][1] = vb->outTangent[k];
        g[3][0] = -vc->outTangent[k];
        g[3][1] = vd->inTangent[k];
    } else {
        g[0][2] = va->extra[k];
        g[0][3] = vb->extra[k];
        g[1][2] = vc->extra[k];
        g[1][3] = vd->extra[k];
        g[2][0] = va->outTangent[k];
        g[2][1] = vb->outTangent[k];
        g[3][0] = vc->inTangent[k];
        g[3][1] = vd->inTangent[k];
    }
    // No twist terms.
    g[2][2] = g[2][3] = g[3][2] = g[3][3] = 0.0f;
}

void ComputeHermitePatchCoefficients(Matrix4 gx, Matrix4 gy, Matrix4 gz, const Matrix4 m,
                                     const Matrix4 mt, Matrix4 product,
                                     Matrix4 kx, Matrix4 ky, Matrix4 kz,
                                     const PlanVertex* va, const PlanVertex* vb,
                                     const PlanVertex* vc, const PlanVertex* vd,
                                     uint8_t variant, float unused1, float unused2)
{
    (void)unused1;
    (void)unused2;
    if (!gx || !gy || !gz || !m || !mt || !product || !kx || !ky || !kz ||
        !va || !vb || !vc || !vd)
        return;
    float (*geometry[3])[4] = {gx, gy, gz};
    float (*coefficients[3])[4] = {kx, ky, kz};
    for (int k = 0; k < 3; ++k) {
        FillGeometryMatrix(geometry[k], k, va, vb, vc, vd, variant);
        MultiplyMatrix4(m, geometry[k], product);
        MultiplyMatrix4(product, mt, coefficients[k]);
    }
}

// S x K x T for row vector S and column vector T.
static float RowMatrixColumn(const float* row, const Matrix4 k, const float* column)
{
    float left[4];
    RowVectorTimesMatrix4(row, k, left);
    return Dot4(left, column);
}

void EvaluateHermitePatchPoint(const Matrix4 kx, const Matrix4 ky, const Matrix4 kz,
                               float* sVector, float* tVector, float s, float t,
                               float* x, float* y, float* z)
{
    if (!kx || !ky || !kz || !sVector || !tVector || !x || !y || !z)
        return;
    FillPowerVectors(s, t, sVector, tVector);
    *x = RowMatrixColumn(sVector, kx, tVector);
    *y = RowMatrixColumn(sVector, ky, tVector);
    *z = RowMatrixColumn(sVector, kz, tVector);
}

void EvaluateHermitePatchPartials(const Matrix4 k, float s, float t, float* ds, float* dt)
{
    if (!k || !ds || !dt)
        return;
    float sPowers[4], tPowers[4];
    FillPowerVectors(s, t, sPowers, tPowers);
    float sDerivative[4] = {3.0f * s * s, 2.0f * s, 1.0f, 0.0f};
    float tDerivative[4] = {3.0f * t * t, 2.0f * t, 1.0f, 0.0f};
    *ds = RowMatrixColumn(sDerivative, k, tPowers);
    *dt = RowMatrixColumn(sPowers, k, tDerivative);
}

void ComputeHermitePatchNormal(const Matrix4 kx, const Matrix4 ky, const Matrix4 kz,
                               float s, float t, float* nx, float* ny, float* nz)
{
    if (!kx || !ky || !kz || !nx || !ny || !nz)
        return;
    s += 0.01f;
    t += 0.01f;
    float u[3], v[3];
    EvaluateHermitePatchPartials(kx, s, t, &u[0], &v[0]);
    EvaluateHermitePatchPartials(ky, s, t, &u[1], &v[1]);
    EvaluateHermitePatchPartials(kz, s, t, &u[2], &v[2]);
    float n[3];
    CrossProduct3(u, v, n);
    // A normal is a direction: it is turned with the view, never moved by the origin.
    TransformPointToView(&n[0], &n[1], &n[2], viewPitchCos, viewPitchSin, viewYawCos,
                         viewYawSin, 0.0f, 0.0f, 0.0f, 0);
    *nx = n[0];
    *ny = n[1];
    *nz = n[2];
}
