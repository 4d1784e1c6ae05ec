#pragma once
#include <windows.h>
#include <stdint.h>

// Builders that turn a few points into a plan object with its vertex chain, its look
// from the current defaults, its boxes and (for most) its place on a floor. The drawing
// tools build or preview what they make with them; the placement gesture builds its
// outlines with the polyline builder.
//
// The regular polygon, arc, text frame and dimension builders work in two coordinates
// (a, b) of a view plane: a goes to x, b to y, z takes the third coordinate (or 0). The
// arc is then turned into the view plane it is given, the dimension and its label into
// the settings' view plane (2 swaps y and z, 3 swaps x and z); the polygon and the text
// frame stay in (x, y) for their callers.

struct PlanFloor;
struct PlanObject;

// Words of a dimension label's part record: the current font words and flag.
extern uint16_t labelFontWord1;
extern uint16_t labelFontWord2;
extern uint8_t labelFontFlag;

// Modes of the point-by-point builders.
enum CadBuildMode {
    kCadStart = 1,      // a new open outline (type 9) with one point on the floor
    kCadAppend = 2,     // one more point, boxes refreshed
    kCadFinish = 3,     // boxes, one row, selected with its handles
};

// Model-coordinate outline builders. Return the object, or null without a floor, for
// a missing object in modes 2 and 3, or when creation fails. A point equal to the last
// one is still appended: the callers filter duplicates.
PlanObject* BuildCadPolyline(PlanObject* object, float x, float y, float z, PlanFloor* floor,
                             int mode, uint8_t useDefaults);
// The same; finishing also makes the outline a smooth curve in the view plane.
PlanObject* BuildCadCurve(PlanObject* object, float x, float y, float z, PlanFloor* floor,
                          int mode, uint8_t useDefaults, uint16_t viewPlane);

// Regular polygon (type 4, closed) of n corners around the centre, through the circle
// of the given point, which is its last corner; added to the floor. Null without a
// floor, for fewer than 3 corners or a point on the centre; the count is capped.
PlanObject* BuildCadRegularPolygon(float centreA, float centreB, float pointA, float pointB,
                                   PlanFloor* floor, int32_t corners, uint8_t useDefaults,
                                   float third);

// A temporary elliptic arc (type 5, open, on no floor) inscribed in the box
// (a1, b1)-(a2, b2), from start over sweep (degrees, as AngleBetweenPoints measures
// angles), cut into Hermite segments of at most largestSegment degrees: n + 1 vertices
// of kind 5 running from the end angle back to the start. A zero sweep gives an object
// without vertices. Null without settings, for a box with a side of zero length, for
// values that are not finite or for a largest segment that is not positive.
PlanObject* BuildArcObject(float a1, float b1, float a2, float b2, float startDegrees,
                           float sweepDegrees, float third, uint16_t viewPlane,
                           float largestSegmentDegrees);

// The frame of a text object (type 200) around a window rectangle (grown by 3), linked
// to its edit window, on the floor. Null without a rectangle, a window, a floor or an
// active document.
PlanObject* BuildTextFrameObject(const RECT* rect, HWND editWindow, PlanFloor* floor);

// A dimension line (type 102) from point 1 to point 2, offset toward point 3, with
// its label, on the floor: vertices point 2, point 2 + offset, point 1 + offset,
// point 1. Null without a floor or settings, or when points 1 and 2 coincide.
PlanObject* BuildDimensionObject(float a1, float b1, float a2, float b2, float a3, float b3,
                                 PlanFloor* floor);

// Gives the dimension its attachment record and, when asked, its 40 x 20 label
// centred on (labelA, labelB); then the pair becomes the selection (grouped when more
// is selected).
void AttachDimensionLabel(PlanObject* dimension, float labelA, float labelB, uint8_t withLabel);
