#pragma once
#include <stdint.h>

// The one projection from model space (x, y = height, z) into view space (x to the
// right, y downward on the screen, z depth): translate by the view origin, turn by the
// heading (yaw) about the vertical axis, then by the elevation (pitch), optionally
// zoom and divide for perspective. The top plan view is pitch 90, yaw 0.

struct ViewPoint {
    float x;
    float y;
    float z;
};

// View-space plane a x + b y + c z = d.
struct PlaneEquation {
    float a;
    float b;
    float c;
    float d;
};

extern float viewPitchDegrees;       // 90 at start
extern float viewYawDegrees;         // 0 at start
extern float viewPitchCos;           // kept by ApplyViewAngles
extern float viewPitchSin;
extern float viewYawCos;
extern float viewYawSin;
extern ViewPoint viewOrigin;         // model point subtracted before turning; y = -96 at start
extern uint8_t perspectiveOn;        // perspective divide active
extern float viewerDistance;         // eye distance of the perspective divide, 600
extern float perspectiveScale;       // point and origin factor while perspectiveOn, 6 at start
extern float viewProjectionScale;    // scale divisor of the view projection; the text tool resets it to 1.0
extern const float degreesToRadians; // pi/180 as f32
extern PlaneEquation workPlane;      // the working plane in view space

// Writes the cosines and sines of the two angles (degrees); with an active document
// it also recomputes workPlane from the settings' view plane, extents and reference
// point. The perspective flag applies the divide to the plane's corners.
void ApplyViewAngles(float pitchDegrees, float yawDegrees, float* cosPitch, float* sinPitch,
                     float* cosYaw, float* sinYaw, uint8_t perspective);

// Model -> view turn of a point in place (scaled by perspectiveScale while
// perspectiveOn is set).
void RotatePointToView(float* x, float* y, float* z, float cosPitch, float sinPitch,
                       float cosYaw, float sinYaw, float originX, float originY, float originZ);
// The same, the point first zoomed with ZoomFloat when the zoom flag is set.
void TransformPointToView(float* x, float* y, float* z, float cosPitch, float sinPitch,
                          float cosYaw, float sinYaw, float originX, float originY, float originZ,
                          uint8_t zoom);
// Adds the offset, then divides by w = 1 - z / d (0.0001 when w is exactly 0).
void ApplyPerspective(float* x, float* y, float* z, float d, float dx, float dy, float dz);
// The inverse of ApplyPerspective for z != d.
void RemovePerspective(float* x, float* y, float* z, float d, float dx, float dy, float dz);
// Both end points into view space with the current view, zoomed; with the flag the
// perspective divide follows.
void ProjectSegmentToView(float* x1, float* y1, float* z1, float* x2, float* y2, float* z2,
                          uint8_t perspective);
// View -> model: the exact inverse of RotatePointToView, then (dx, dy, dz) is added
// (callers pass the view origin).
void RotatePointByAngles(float* x, float* y, float* z, float cosPitch, float sinPitch,
                         float cosYaw, float sinYaw, float dx, float dy, float dz);

// Plane through three points: normal (p2 - p1) x (p3 - p1), d = normal . p1.
void ComputePlaneFromPoints(float x1, float y1, float z1, float x2, float y2, float z2,
                            float x3, float y3, float z3, float* a, float* b, float* c, float* d);
// (d - a x - b y) / c; the numerator when c is 0.
float SolvePlaneForZ(float x, float y, float a, float b, float c, float d);
// View-space depth, under (viewX, viewY), of the working plane placed at position h;
// 0 without an active document or settings.
float GetWorkPlaneDepth(float viewX, float viewY, float h);
