#pragma once
// Automatic dimensions along the segments of objects.
#include <windows.h>

struct PlanObject;

// Every segment of the object, while automatic dimensions are on.
void DrawSegmentDimensions(HDC dc, PlanObject* object);
// The length of a path.
void DrawPathLengthDimension(HDC dc, PlanObject* path);
