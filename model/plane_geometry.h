#pragma once
#include <stdint.h>

// Free functions on single-precision points. Plan points are (x, y) pairs where y is
// the plan's second coordinate (a vertex's z) and grows downward, so angles run
// counter-clockwise as the plan is seen: 0 toward +x, pi/2 toward -y, pi toward -x.

// Slope of a line that counts as vertical. Callers compare against it exactly.
const float kVerticalSlope = 1234567.0f;
// Both coordinates of the "no intersection" result (parallel lines).
const float kNoIntersection = 32000.0f;

float Distance2D(float x1, float y1, float x2, float y2);
float Distance3D(float x1, float y1, float z1, float x2, float y2, float z2);

// Direction of the vector from point 1 to point 2, in [0, 2pi); writes the distance.
// Coincident points give 0. A null distance pointer makes it return 0 at once.
float AngleBetweenPoints(float x1, float y1, float x2, float y2, float* distance);

// Writes the offset (distance cos a, -distance sin a); the caller adds it to its point.
void OffsetPointPolar(float angle, float distance, float* dx, float* dy);

// Whole compass degrees (north 0, east 90, clockwise) of a plan direction in radians.
void RadiansToCompassDegrees(float angle, uint16_t* degrees);

// Slope of the line through the points, kVerticalSlope when -1.5 < dx < 0.5.
float ComputeSlope(float x1, float y1, float x2, float y2);
// The same with kVerticalSlope only for dx exactly 0.
float ComputeSlopeExact(float x1, float y1, float x2, float y2);
// The line's value at x = 0.
float LineIntercept(float x, float y, float slope);

// Crossing of the line (x1, y1)-(x2, y2) with the line (x3, y3)-(x4, y4), or
// (kNoIntersection, kNoIntersection) when their slopes differ by less than 0.001.
void IntersectLines(float x1, float y1, float x2, float y2,
                    float x3, float y3, float x4, float y4, float* outX, float* outY);
// The same with exact vertical and parallel tests.
void IntersectLinesExact(float x1, float y1, float x2, float y2,
                         float x3, float y3, float x4, float y4, float* outX, float* outY);

// Foot of the perpendicular from (px, py) onto the line (x1, y1)-(x2, y2).
void FindPerpendicularFoot(float x1, float y1, float x2, float y2, float px, float py,
                           float* outX, float* outY);
