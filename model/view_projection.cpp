#include "model/view_projection.h"
#include <cmath>
#include <math.h>
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/units.h"

float viewPitchDegrees = 90.0f;
float viewYawDegrees = 0.0f;
// Consistent with the top view until the first ApplyViewAngles.
float viewPitchCos = 0.0f;
float viewPitchSin = 1.0f;
float viewYawCos = 1.0f;
float viewYawSin = 0.0f;
ViewPoint viewOrigin = {0.0f, -96.0f, 0.0f};
uint8_t perspectiveOn = 0;
float viewerDistance = 600.0f;
float perspectiveScale = 6.0f;
float viewProjectionScale = 1.0f;
const float degreesToRadians = 0.017453292f;
PlaneEquation workPlane = {1.0f, 1.0f, 1.0f, 1.0f};

void RotatePointToView(float* x, float* y, float* z, float cosPitch, float sinPitch,
                       float cosYaw, float sinYaw, float originX, float originY, float originZ)
{
    if (!x || !y || !z)
        return;
    float px = *x, py = *y, pz = *z;
    if (perspectiveOn) {
        px *= perspectiveScale;
        py *= perspectiveScale;
        pz *= perspectiveScale;
        originX *= perspectiveScale;
        originY *= perspectiveScale;
        originZ *= perspectiveScale;
    }
    px -= originX;
    py -= originY;
    pz -= originZ;
    float a1 = cosYaw * px, a2 = sinYaw * pz;
    float viewX = a1 - a2;
    float b1 = sinYaw * px, b2 = cosYaw * pz;
    float u = b1 + b2;
    float c1 = cosPitch * py, c2 = sinPitch * u;
    float viewY = c1 + c2;
    float d1 = -sinPitch * py, d2 = cosPitch * u;
    float viewZ = d1 + d2;
    *x = viewX;
    *y = viewY;
    *z = viewZ;
}

void TransformPointToView(float* x, float* y, float* z, float cosPitch, float sinPitch,
                          float cosYaw, float sinYaw, float originX, float originY, float originZ,
                          uint8_t zoom)
{
    if (!x || !y || !z)
        return;
    if (zoom) {
        *x = ZoomFloat(*x);
        *y = ZoomFloat(*y);
        *z = ZoomFloat(*z);
    }
    RotatePointToView(x, y, z, cosPitch, sinPitch, cosYaw, sinYaw, originX, originY, originZ);
}

void ApplyPerspective(float* x, float* y, float* z, float d, float dx, float dy, float dz)
{
    if (!x || !y || !z)
        return;
    *x += dx;
    *y += dy;
    *z += dz;
    float ratio = *z / d;
    float w = 1.0f - ratio;
    if (w == 0.0f)
        w = 0.0001f;
    *x /= w;
    *y /= w;
    *z /= w;
}

void RemovePerspective(float* x, float* y, float* z, float d, float dx, float dy, float dz)
{
    if (!x || !y || !z)
        return;
    float sum = d + *z;
    float f = d / sum;
    *x *= f;
    *y *= f;
    *z *= f;
    *x -= dx;
    *y -= dy;
    *z -= dz;
}

void ProjectSegmentToView(float* x1, float* y1, float* z1, float* x2, float* y2, float* z2,
                          uint8_t perspective)
{
    if (!x1 || !y1 || !z1 || !x2 || !y2 || !z2)
        return;
    TransformPointToView(x1, y1, z1, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin,
                         viewOrigin.x, viewOrigin.y, viewOrigin.z, 1);
    TransformPointToView(x2, y2, z2, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin,
                         viewOrigin.x, viewOrigin.y, viewOrigin.z, 1);
    if (perspective) {
        ApplyPerspective(x1, y1, z1, viewerDistance, 0.0f, 0.0f, 0.0f);
        ApplyPerspective(x2, y2, z2, viewerDistance, 0.0f, 0.0f, 0.0f);
    }
}

void RotatePointByAngles(float* x, float* y, float* z, float cosPitch, float sinPitch,
                         float cosYaw, float sinYaw, float dx, float dy, float dz)
{
    if (!x || !y || !z)
        return;
    float viewX = *x, viewY = *y, viewZ = *z;
    float a1 = sinPitch * viewY, a2 = cosPitch * viewZ;
    float u = a1 + a2;
    float b1 = cosPitch * viewY, b2 = sinPitch * viewZ;
    float modelY = b1 - b2;
    float c1 = cosYaw * viewX, c2 = sinYaw * u;
    float modelX = c1 + c2;
    float d1 = cosYaw * u, d2 = sinYaw * viewX;
    float modelZ = d1 - d2;
    if (perspectiveOn) {
        modelX /= perspectiveScale;
        modelY /= perspectiveScale;
        modelZ /= perspectiveScale;
    }
    *x = modelX + dx;
    *y = modelY + dy;
    *z = modelZ + dz;
}

void ComputePlaneFromPoints(float x1, float y1, float z1, float x2, float y2, float z2,
                            float x3, float y3, float z3, float* a, float* b, float* c, float* d)
{
    if (!a || !b || !c || !d)
        return;
    float ux = x2 - x1, uy = y2 - y1, uz = z2 - z1;
    float vx = x3 - x1, vy = y3 - y1, vz = z3 - z1;
    float na = uy * vz - uz * vy;
    float nb = -(ux * vz - uz * vx);
    float nc = ux * vy - uy * vx;
    *a = na;
    *b = nb;
    *c = nc;
    *d = na * x1 + nb * y1 + nc * z1;
}

float SolvePlaneForZ(float x, float y, float a, float b, float c, float d)
{
    float ax = a * x, by = b * y;
    float numerator = d - ax - by;
    if (c == 0.0f)
        return numerator;
    return numerator / c;
}

// The working plane of the settings' view-plane mode placed at `position`, turned
// with the given view and the current origin. False for an unknown mode.
static bool BuildWorkPlane(const PlanSettings* settings, float position, float cosPitch,
                           float sinPitch, float cosYaw, float sinYaw, uint8_t perspective,
                           PlaneEquation* plane)
{
    float minY = ZoomFloat(settings->extentTop);
    float minX = ZoomFloat(settings->extentLeft);
    float maxY = ZoomFloat(settings->extentBottom);
    float maxX = ZoomFloat(settings->extentRight);
    float p = ZoomFloat(position);
    float corner[3][3];
    switch (settings->viewPlane) {
    case 1:
        corner[0][0] = minX; corner[0][1] = minY; corner[0][2] = p;
        corner[1][0] = maxX; corner[1][1] = minY; corner[1][2] = p;
        corner[2][0] = maxX; corner[2][1] = maxY; corner[2][2] = p;
        break;
    case 2:
        corner[0][0] = minX; corner[0][1] = p; corner[0][2] = minY;
        corner[1][0] = maxX; corner[1][1] = p; corner[1][2] = minY;
        corner[2][0] = maxX; corner[2][1] = p; corner[2][2] = maxY;
        break;
    case 3:
        corner[0][0] = p; corner[0][1] = minY; corner[0][2] = minX;
        corner[1][0] = p; corner[1][1] = minY; corner[1][2] = maxX;
        corner[2][0] = p; corner[2][1] = maxY; corner[2][2] = maxX;
        break;
    default:
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        RotatePointToView(&corner[i][0], &corner[i][1], &corner[i][2], cosPitch, sinPitch,
                          cosYaw, sinYaw, viewOrigin.x, viewOrigin.y, viewOrigin.z);
        if (perspective)
            ApplyPerspective(&corner[i][0], &corner[i][1], &corner[i][2], viewerDistance,
                             0.0f, 0.0f, 0.0f);
    }
    ComputePlaneFromPoints(corner[0][0], corner[0][1], corner[0][2],
                           corner[1][0], corner[1][1], corner[1][2],
                           corner[2][0], corner[2][1], corner[2][2],
                           &plane->a, &plane->b, &plane->c, &plane->d);
    return true;
}

// The reference position of the plane that a view-plane mode works in.
static float WorkPlanePosition(const PlanSettings* settings)
{
    switch (settings->viewPlane) {
    case 1: return settings->referenceZ;
    case 2: return settings->referenceHeight;
    case 3: return settings->referenceX;
    default: return 0.0f;
    }
}

// The cosine and sine of an angle in degrees; whole quarter turns give exact 0 and 1, so
// that the plan and side views map whole points back to whole points (a cosine of 90
// degrees a little off zero would put a click on the grid line below it).
static void QuarterTurnExactTrig(float degrees, float* cosine, float* sine)
{
    const float turns = degrees / 90.0f;
    if (std::isfinite(turns) && turns == std::floor(turns) && std::fabs(turns) < 1.0e6f) {
        static const float cosines[4] = {1.0f, 0.0f, -1.0f, 0.0f};
        static const float sines[4] = {0.0f, 1.0f, 0.0f, -1.0f};
        const int quarter = static_cast<int>(std::fmod(std::fabs(turns), 4.0f));
        const int index = turns >= 0.0f ? quarter : (4 - quarter) % 4;
        *cosine = cosines[index];
        *sine = sines[index];
        return;
    }
    const float radians = degreesToRadians * degrees;
    *cosine = (float)cos((double)radians);
    *sine = (float)sin((double)radians);
}

void ApplyViewAngles(float pitchDegrees, float yawDegrees, float* cosPitch, float* sinPitch,
                     float* cosYaw, float* sinYaw, uint8_t perspective)
{
    if (!cosPitch || !sinPitch || !cosYaw || !sinYaw)
        return;
    float cp, sp, cy, sy;
    QuarterTurnExactTrig(pitchDegrees, &cp, &sp);
    QuarterTurnExactTrig(yawDegrees, &cy, &sy);
    *cosPitch = cp;
    *sinPitch = sp;
    *cosYaw = cy;
    *sinYaw = sy;
    if (!activeDocument || !activeDocument->settings)
        return;
    const PlanSettings* settings = activeDocument->settings;
    PlaneEquation plane;
    // An unknown view-plane mode keeps the previous working plane.
    if (BuildWorkPlane(settings, WorkPlanePosition(settings), cp, sp, cy, sy, perspective, &plane))
        workPlane = plane;
}

float GetWorkPlaneDepth(float viewX, float viewY, float h)
{
    if (!activeDocument || !activeDocument->settings)
        return 0.0f;
    PlaneEquation plane;
    if (!BuildWorkPlane(activeDocument->settings, h, viewPitchCos, viewPitchSin, viewYawCos,
                        viewYawSin, perspectiveOn, &plane))
        return 0.0f;
    return SolvePlaneForZ(viewX, viewY, plane.a, plane.b, plane.c, plane.d);
}
