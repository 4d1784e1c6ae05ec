#pragma once
#include <stdint.h>

// Move, scale, skew (shear) and rotate in the plane of the current view: view-plane
// mode 1 acts on (x, height), 2 (the plan) on (x, z), 3 on (z, height).
//
// The tree operations change the stored object (its selected vertices whose keep flag
// is clear), refresh its boxes and texture coordinates, mark it for rebuilding and carry
// the parts of fixture symbols along. The one-vertex drag operations transform a single
// vertex by the state of a mouse drag; the plan redraw uses them for previews.
// Every operation does nothing without an active document with settings or when a
// pointer argument is null.

struct PlanObject;
struct PlanVertex;

// Argument of the move, resize, skew and rotate operations (16 f32).
struct TransformRecord {
    float offset[3];    // move: x, y (height), z
    float scale[3];     // resize: factors x, y, z
    float angle;        // rotate: radians
    float centre[3];    // centre of scaling and rotation, anchor of a skew
    float grab[3];      // skew: grabbed point
    float drop[3];      // skew: where it was dragged to
};
static_assert(sizeof(TransformRecord) == 64, "a transform record is 16 floats");

// Preview state of a transform drag (11 f32).
struct DragTransform {
    float start[3];     // drag start x, y, z
    float current[3];   // current drag point x, y, z
    float centre[3];    // centre (scale, rotation) or anchor (skew)
    float startAngle;   // radians
    float currentAngle; // radians
};
static_assert(sizeof(DragTransform) == 44, "a drag transform is 11 floats");

// Draw flags the drag operations read.
enum DragTransformFlag : uint32_t {
    kDragSelectedOnly = 256,  // act only on a selected vertex whose keep flag is clear
    kDragConstrain = 512,     // move: keep the larger delta; scale: proportional
};

void MoveObjectTree(PlanObject* object, const TransformRecord* transform);
void ScaleObjectTree(PlanObject* object, const TransformRecord* transform);
void StretchObjectTree(PlanObject* object, const TransformRecord* transform);
void RotateObjectTree(PlanObject* object, const TransformRecord* transform);

void MoveVertexByDrag(PlanVertex* vertex, uint32_t flags, const DragTransform* drag);
void ScaleVertexByDrag(PlanVertex* vertex, uint32_t flags, const DragTransform* drag);
void StretchVertexByDrag(PlanVertex* vertex, uint32_t flags, const DragTransform* drag);
void RotateVertexByDrag(PlanVertex* vertex, uint32_t flags, const DragTransform* drag);

// Point arithmetic of the plane pair.
void TranslatePoint(float* x, float* y, float dx, float dy);
// b - a.
float FloatDifference(float a, float b);
// (p - c) * s + c per coordinate.
void ScalePointAbout(float* x, float* y, float centreX, float centreY, float sx, float sy);
// (to - centre) / (from - centre); 1.0 when from equals centre.
float ScaleRatio(float from, float to, float centre);
// Shears the point (x, y) by the drag from grab to drop about the anchor: the anchor
// line stays, the grabbed point follows the drag.
void ShearPoint(float grabX, float grabY, float dropX, float dropY, float* x, float* y,
                float anchorX, float anchorY);
// Turns the point about the centre; a positive angle turns counter-clockwise as the plan
// is seen.
void RotatePointAbout(float* x, float* y, float centreX, float centreY, float angle);
// b - a, each angle above pi first taken down by 2 pi.
float AngleDifference(float a, float b);

// The two coordinates (indexes into a position) of a view-plane mode; false for a mode
// other than 1, 2 and 3.
bool GetViewPlaneAxes(uint16_t viewPlane, int* first, int* second);
