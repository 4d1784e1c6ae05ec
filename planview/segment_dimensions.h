#pragma once
// Automatic dimensions along the segments of objects. With the dimension drawing flag
// on, walls get chained dimensions from opening to opening with each opening's size
// label and, past one opening, an overall dimension further out; fences, decks,
// railings, lots and areas get their lengths as texts beside each segment. The tools'
// live dimensions of openings and walls being placed come from here too. Every line
// and text goes through DrawDimensionLine.
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
// Where a wall segment's dimension starts and ends: the vertices for a centre-line
// dimension (or anything but a wall); for a surface dimension each end moved half the
// wall's thickness along the wall to the corner of the face on the dimension's side.
// Nothing is written unless every pointer is given and a document with settings is
// active.
void ComputeDimensionOffsets(PlanObject* object, PlanVertex* a, PlanVertex* b, float* sx,
                             float* sz, float* ex, float* ez);
// Live distances from an opening being placed at P (plan x, z) on the wall segment
// A -> B to its neighbours on both sides (other openings or the segment's ends); the
// moving opening itself, when given, is not counted.
void DrawOpeningDimensions(HDC dc, PlanObject* wall, PlanVertex* a, PlanVertex* b, uint16_t unused,
                           const float* position, PlanObject* moving);
// The label of a path: from the first to the last point of its walking surface.
void DrawPathLengthDimension(HDC dc, PlanObject* path);
// Live footprint (red) and dimension of a wall being drawn from A to B.
void DrawObjectDimensions(HDC dc, float ax, float ay, float az, float bx, float by, float bz,
                          float thickness);
