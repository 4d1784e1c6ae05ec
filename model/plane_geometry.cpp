#include "model/plane_geometry.h"
#include <math.h>

// Every intermediate value is held in a float before it is used again, so results
// match the program's single-precision geometry everywhere.

static float SquaredF(float value)
{
    return (float)pow((double)value, 2.0);
}

float Distance2D(float x1, float y1, float x2, float y2)
{
    float dx2 = SquaredF(x2 - x1);
    float dy2 = SquaredF(y2 - y1);
    float sum = dx2 + dy2;
    return (float)sqrt((double)sum);
}

float Distance3D(float x1, float y1, float z1, float x2, float y2, float z2)
{
    float dx2 = SquaredF(x2 - x1);
    float dy2 = SquaredF(y2 - y1);
    float dz2 = SquaredF(z2 - z1);
    float sum = dx2 + dy2 + dz2;
    return (float)sqrt((double)sum);
}

float AngleBetweenPoints(float x1, float y1, float x2, float y2, float* distance)
{
    if (!distance)
        return 0.0f;
    float d = Distance2D(x1, y1, x2, y2);
    *distance = d;
    if (d == 0.0f)
        return 0.0f;
    // The rounded distance can fall a hair below |dx|; keep acos in its domain.
    float cosine = (x2 - x1) / d;
    if (cosine > 1.0f)
        cosine = 1.0f;
    else if (cosine < -1.0f)
        cosine = -1.0f;
    double a = acos((double)cosine);
    if (y2 > y1)
        return (float)(6.283185307179586 - a);
    return (float)a;
}

void OffsetPointPolar(float angle, float distance, float* dx, float* dy)
{
    if (!dx || !dy)
        return;
    *dx = (float)(cos((double)angle) * distance);
    *dy = (float)(sin((double)angle) * distance * -1.0);
}

void RadiansToCompassDegrees(float angle, uint16_t* degrees)
{
    if (!degrees)
        return;
    double g = angle * 57.29577951308232;
    if (g < 0.0)
        g += 360.0;
    double c = 90.0 - g;
    if (c < 0.0)
        c += 360.0;
    // Angles beyond one turn (or not a number) would leave c outside the u16 range.
    if (!(c >= 0.0 && c <= 360.0)) {
        c = fmod(c, 360.0);
        if (c < 0.0)
            c += 360.0;
        if (!(c >= 0.0))
            c = 0.0;
    }
    *degrees = (uint16_t)(unsigned)(c + 0.5);
}

float ComputeSlope(float x1, float y1, float x2, float y2)
{
    float dx = x2 - x1;
    if (truncf(dx + 0.5f) == 0.0f)
        return kVerticalSlope;
    float dy = y2 - y1;
    return dy / dx;
}

float ComputeSlopeExact(float x1, float y1, float x2, float y2)
{
    float dx = x2 - x1;
    if (dx == 0.0f)
        return kVerticalSlope;
    float dy = y2 - y1;
    return dy / dx;
}

float LineIntercept(float x, float y, float slope)
{
    float product = x * slope;
    return y - product;
}

// Shared tail of both intersections once the slopes are known and not parallel.
static void IntersectBySlopes(float x1, float y1, float m1, float x3, float y3, float m2,
                              float* outX, float* outY)
{
    if (m1 == kVerticalSlope) {
        float b2 = LineIntercept(x3, y3, m2);
        float product = m2 * x1;
        *outX = x1;
        *outY = product + b2;
    } else if (m2 == kVerticalSlope) {
        float b1 = LineIntercept(x1, y1, m1);
        float product = m1 * x3;
        *outX = x3;
        *outY = product + b1;
    } else {
        float b1 = LineIntercept(x1, y1, m1);
        float b2 = LineIntercept(x3, y3, m2);
        float divisor = m1 - m2;
        float numerator = b2 - b1;
        float x = numerator / divisor;
        float product = m1 * x;
        *outX = x;
        *outY = product + b1;
    }
}

void IntersectLines(float x1, float y1, float x2, float y2,
                    float x3, float y3, float x4, float y4, float* outX, float* outY)
{
    if (!outX || !outY)
        return;
    float m1 = ComputeSlope(x1, y1, x2, y2);
    float m2 = ComputeSlope(x3, y3, x4, y4);
    float difference = m1 - m2;
    if (difference > -0.001f && difference < 0.001f) {
        *outX = kNoIntersection;
        *outY = kNoIntersection;
        return;
    }
    IntersectBySlopes(x1, y1, m1, x3, y3, m2, outX, outY);
}

void IntersectLinesExact(float x1, float y1, float x2, float y2,
                         float x3, float y3, float x4, float y4, float* outX, float* outY)
{
    if (!outX || !outY)
        return;
    float m1 = ComputeSlopeExact(x1, y1, x2, y2);
    float m2 = ComputeSlopeExact(x3, y3, x4, y4);
    if (m1 == m2) {
        *outX = kNoIntersection;
        *outY = kNoIntersection;
        return;
    }
    IntersectBySlopes(x1, y1, m1, x3, y3, m2, outX, outY);
}

void FindPerpendicularFoot(float x1, float y1, float x2, float y2, float px, float py,
                           float* outX, float* outY)
{
    if (!outX || !outY)
        return;
    float m = ComputeSlope(x1, y1, x2, y2);
    if (m == kVerticalSlope) {
        *outX = x1;
        *outY = py;
        return;
    }
    if (m == 0.0f) {
        *outX = px;
        *outY = y1;
        return;
    }
    float inverse = 1.0f / m;
    float m2 = inverse * -1.0f;
    float b1 = LineIntercept(x1, y1, m);
    float b2 = LineIntercept(px, py, m2);
    float divisor = m - m2;
    float numerator = b2 - b1;
    float x = numerator / divisor;
    float product = m * x;
    *outX = x;
    *outY = product + b1;
}
