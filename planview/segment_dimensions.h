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
