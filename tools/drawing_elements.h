#pragma once
#include <windows.h>
#include <stdint.h>

// What the drawing-shape, arc, wiring, sprinkler and curved-stair tools share: the two
// coordinates a view plane shows, whole-unit rounding, the quarter-ellipse box of a
// drag, the drawing element made from point arrays, and the pointer's place posted to
// the plan pane from the tools' own loops.

#include "model3d/array_objects.h"   // Point3f, PointArrays

struct PlanObject;

// The two coordinates the view plane shows: plane 1 (x, y), 3 (z, y), otherwise the
// plan (x, z).
void ToViewPlane(uint16_t viewPlane, const float* point, float* a, float* b);
// A point from (a, b) in the view plane; the third coordinate comes from `third`.
void FromViewPlane(uint16_t viewPlane, float a, float b, const float* third, float* point);
// The coordinate the view plane does not show: y in the plan, z in plane 1, x in plane 3.
float ThirdCoordinate(uint16_t viewPlane, const float* point);

// v + 0.5 truncated toward zero, as every tool rounds.
float RoundWhole(float value);
void RoundPoint(const float* point, float* rounded);
// True when the two points are one in whole units (x, y, z each rounded to 16 bits): a
// click without movement.
bool SameWholePoint(const float* a, const float* b);

// The box (top, left, bottom, right as ComputeArcPoints takes it) and start angle of the
// quarter ellipse dragged from s to q in (a, b): the rubber-band rectangle of the two
// (square with Shift in the modifiers) doubled away from the corner they span, so that
// the arc from the start angle over -90 degrees runs between s and q.
void ComputeQuarterArcBox(int16_t modifiers, float sA, float sB, float qA, float qB, float box[4],
                          float* startDegrees);

// The points, incoming and outgoing tangents (arrays 0, 1 and 2) of the open arc in a
// box, in the order ComputeArcPoints gives them, the first incoming and the last
// outgoing tangent zero. False when the arc has no point or memory runs out.
bool MakeArcArrays(HDC dc, const float box[4], float startDegrees, float sweepDegrees,
                   uint16_t viewPlane, float third, PointArrays* arrays, uint32_t* count);

// A drawing element (type 29) of the shape kind on the current floor with the plan's
// active category, closed or open; null without a current floor, when fewer than 2
// points (3 when closed) are given or when it cannot be made.
PlanObject* MakeDrawingElement(const Point3f* points, const Point3f* inTangents,
                               const Point3f* outTangents, int32_t count, uint32_t shapeKind,
                               uint8_t closed);

// A model point in the plan pane's logical units: turned into the view, zoomed, with
// the perspective divide when it is on, rounded.
POINT ProjectToPane(const float* point);

// Posts the pointer's place (pane logical units) to the plan pane as a plain mouse move,
// which the pane handles once messages flow again (it clears the hover and the help).
void PostPointerMoveToPane(POINT logical);
