#pragma once
#include <windows.h>
#include <stdint.h>

// The rectangle (7700) and oval (7701) tools of the drawing palette, and the shared
// routine that turns a box and two angles into the points and tangents of an elliptic
// arc (the oval, arc, curved-stair, rotate, sprinkler and wiring tools use it).

struct PlanObject;

// Dispatcher form: (window x, window y, model x, y, z, event).
void HandleRectangleTool(int32_t windowX, int32_t windowY, float x, float y, float z,
                         int16_t event);
// The same; returns the oval made by a release, else null (the fill tool uses it).
PlanObject* HandleOvalTool(int32_t windowX, int32_t windowY, float x, float y, float z,
                           int16_t event);

// The elliptic arc inscribed in box (up and across of the first corner, then of the
// second) from start over sweep degrees, in the view plane's two coordinates, the
// third being `fixed`: at most 45 degrees per Hermite segment. count receives the
// number of entries written into each given array (the last vertex left out when
// closed: a full ellipse gives 8). With draw, each segment is drawn on dc in its
// current mode. Nothing without dc, box or count; count 0 when no arc can be made.
void ComputeArcPoints(HDC dc, const float box[4], float startDegrees, float sweepDegrees,
                      uint16_t viewPlane, float fixed, float (*points)[3], float (*inTangents)[3],
                      float (*outTangents)[3], uint8_t draw, uint32_t* count, uint8_t closed);
