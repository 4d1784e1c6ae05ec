#pragma once
// Automatic dimensions along the segments of objects.
#include <windows.h>
#include <stdint.h>

struct PlanObject;
struct PlanVertex;

// Every segment of the object, while automatic dimensions are on.
void DrawSegmentDimensions(HDC dc, PlanObject* object);
// One segment A -> B of the object (a wall's chained dimensions and opening labels);
// side flag 1 puts the dimension on the first side.
void DrawSegmentAutoDimension(HDC dc, PlanObject* object, PlanVertex* a, PlanVertex* b,
                              uint8_t sideFlag);
// The length of a path.
void DrawPathLengthDimension(HDC dc, PlanObject* path);
// The live chained dimensions of the openings along the segment A -> B of a wall while
// an opening is placed or moved at the point (x, z); the moving one may be null.
void DrawOpeningDimensions(HDC dc, PlanObject* wall, PlanVertex* a, PlanVertex* b,
                           uint8_t unused, const float* position, PlanObject* moving);
