#include "model/object_transforms.h"
#include "model/object_copies.h"
#include "model/object_extents.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/texture_coords.h"
#include "planview/selection.h"
#include "render3d/ground_height_grid.h"
#include <math.h>
#include <string.h>

static const float kPi = 3.14159265358979323846f;

bool GetViewPlaneAxes(uint16_t viewPlane, int* first, int* second)
{
    switch (viewPlane) {
    case 1: *first = 0; *second = 1; return true;
    case 2: *first = 0; *second = 2; return true;
    case 3: *first = 2; *second = 1; return true;
    default: *first = 0; *second = 2; return false;
    }
}

// The plane pair of the active document's view plane; false when there is no document,
// no settings or no usable mode.
static bool ActivePlaneAxes(int* first, int* second)
{
    if (!activeDocument || !activeDocument->settings)
        return false;
    return GetViewPlaneAxes(activeDocument->settings->viewPlane, first, second);
}

// ---------------------------------------------------------------------------------
// Point arithmetic

void TranslatePoint(float* x, float* y, float dx, float dy)
{
    if (!x || !y)
        return;
    *x += dx;
    *y += dy;
}

float FloatDifference(float a, float b)
{
    return b - a;
}

void ScalePointAbout(float* x, float* y, float centreX, float centreY, float sx, float sy)
{
    if (!x || !y)
        return;
    *x = (*x - centreX) * sx + centreX;
    *y = (*y - centreY) * sy + centreY;
}

float ScaleRatio(float from, float to, float centre)
{
    if (from == centre)
        return 1.0f;
    return (to - centre) / (from - centre);
}

void ShearPoint(float grabX, float grabY, float dropX, float dropY, float* x, float* y,
                float anchorX, float anchorY)
{
    if (!x || !y)
        return;
    const float oldX = *x;
    const float oldY = *y;
    float dx = 0.0f;
    float dy = 0.0f;
    if (grabY != anchorY)
        dx = (oldY - anchorY) / (grabY - anchorY) * (dropX - grabX);
    if (grabX != anchorX)
        dy = (oldX - anchorX) / (grabX - anchorX) * (dropY - grabY);
    *x = oldX + dx;
    *y = oldY + dy;
}

void RotatePointAbout(float* x, float* y, float centreX, float centreY, float angle)
{
    if (!x || !y)
        return;
    float distance = 0.0f;
    const float direction = AngleBetweenPoints(centreX, centreY, *x, *y, &distance);
    // The turn is added in double after whole turns are taken off: in single precision a
    // large angle swallows the direction, and every point would land on one ray.
    const double turned = direction + fmod(static_cast<double>(angle), 2.0 * 3.14159265358979323846);
    *x = centreX + static_cast<float>(cos(turned) * distance);
    *y = centreY - static_cast<float>(sin(turned) * distance);
}

float AngleDifference(float a, float b)
{
    if (b > kPi)
        b -= 2.0f * kPi;
    if (a > kPi)
        a -= 2.0f * kPi;
    return b - a;
}

// ---------------------------------------------------------------------------------
// Vertex steps shared by the tree and drag operations

static bool TakesPart(const PlanVertex* vertex)
{
    return vertex->selected && !vertex->keepFlag;
}

// A tangent whose two plane components are both zero keeps a straight side straight.
static bool IsPlaneTangentZero(const float* tangent, int first, int second)
{
    return tangent[first] == 0.0f && tangent[second] == 0.0f;
}

static void ScaleVertex(PlanVertex* v, int first, int second, float cx, float cy, float sx, float sy)
{
    float* tangents[2] = {v->inTangent, v->outTangent};
    for (float* tangent : tangents)
        if (!IsPlaneTangentZero(tangent, first, second))
            ScalePointAbout(&tangent[first], &tangent[second], 0.0f, 0.0f, sx, sy);
    ScalePointAbout(&v->position[first], &v->position[second], cx, cy, sx, sy);
}

static void RotateVertex(PlanVertex* v, int first, int second, float cx, float cy, float angle)
{
    float* tangents[2] = {v->inTangent, v->outTangent};
    for (float* tangent : tangents)
        if (!IsPlaneTangentZero(tangent, first, second))
            RotatePointAbout(&tangent[first], &tangent[second], 0.0f, 0.0f, angle);
    RotatePointAbout(&v->position[first], &v->position[second], cx, cy, angle);
}

// The tangent end points (position + tangent) are sheared as points, then the position;
// each non-zero tangent becomes its sheared end point minus the new position.
static void ShearVertex(PlanVertex* v, int first, int second, const float* grab, const float* drop,
                        const float* anchor)
{
    float* tangents[2] = {v->inTangent, v->outTangent};
    float ends[2][2];
    bool curved[2];
    for (int i = 0; i < 2; ++i) {
        curved[i] = !IsPlaneTangentZero(tangents[i], first, second);
        ends[i][0] = v->position[first] + tangents[i][first];
        ends[i][1] = v->position[second] + tangents[i][second];
        if (curved[i])
            ShearPoint(grab[0], grab[1], drop[0], drop[1], &ends[i][0], &ends[i][1], anchor[0],
                       anchor[1]);
    }
    ShearPoint(grab[0], grab[1], drop[0], drop[1], &v->position[first], &v->position[second],
               anchor[0], anchor[1]);
    for (int i = 0; i < 2; ++i) {
        if (!curved[i])
            continue;
        tangents[i][first] = ends[i][0] - v->position[first];
        tangents[i][second] = ends[i][1] - v->position[second];
    }
}

// ---------------------------------------------------------------------------------
// Tree operations

enum TreeOperation { kTreeMove, kTreeScale, kTreeStretch, kTreeRotate };

static bool IsFixtureWithParts(uint16_t type)
{
    switch (type) {
    case 68: case 69: case 71: case 72: case 79: case 80: case 81: case 82: case 88: case 98:
    case 110:
        return true;
    default:
        return false;
    }
}

static void ApplyTreeOperation(PlanObject* object, const TransformRecord* transform, TreeOperation operation);

// Boxes, texture coordinates and the rebuild mark after a change; fixture parts follow
// their symbol with the same record.
static void RefreshAfterTransform(PlanObject* object, const TransformRecord* transform, TreeOperation operation)
{
    UpdateObjectExtents(object);

    ComputeProjectionExtents(object);
    ComputeMeshTextureCoords(object);
    object->needsRebuild = 1;

    if (operation == kTreeMove && (object->type == ObjTopography || object->type == ObjSlope))
        AllocGroundHeightGrid();

    if (IsFixtureWithParts(object->type)) {
        for (PlanObject* part = object->firstPart; part; part = part->next) {
            // Every point of a part takes part, whatever its selection was.
            SetAllPointsSelected(part, 1);
            ApplyTreeOperation(part, transform, operation);
        }
    }
}

static void ApplyTreeOperation(PlanObject* object, const TransformRecord* transform, TreeOperation operation)
{
    int first, second;
    if (!object || !transform || !ActivePlaneAxes(&first, &second))
        return;
    const float cx = transform->centre[first];
    const float cy = transform->centre[second];
    const float grab[2] = {transform->grab[first], transform->grab[second]};
    const float drop[2] = {transform->drop[first], transform->drop[second]};
    const float anchor[2] = {cx, cy};
    for (PlanVertex* v = object->firstVertex; v; v = v->next) {
        if (!TakesPart(v))
            continue;
        switch (operation) {
        case kTreeMove:
            TranslatePoint(&v->position[first], &v->position[second], transform->offset[first],
                           transform->offset[second]);
            break;
        case kTreeScale:
            ScaleVertex(v, first, second, cx, cy, transform->scale[first], transform->scale[second]);
            break;
        case kTreeStretch:
            ShearVertex(v, first, second, grab, drop, anchor);
            break;
        case kTreeRotate:
            RotateVertex(v, first, second, cx, cy, transform->angle);
            break;
        }
    }
    RefreshAfterTransform(object, transform, operation);
}

void MoveObjectTree(PlanObject* object, const TransformRecord* transform)
{
    ApplyTreeOperation(object, transform, kTreeMove);
}

void ScaleObjectTree(PlanObject* object, const TransformRecord* transform)
{
    ApplyTreeOperation(object, transform, kTreeScale);
}

void StretchObjectTree(PlanObject* object, const TransformRecord* transform)
{
    ApplyTreeOperation(object, transform, kTreeStretch);
}

void RotateObjectTree(PlanObject* object, const TransformRecord* transform)
{
    ApplyTreeOperation(object, transform, kTreeRotate);
}

// ---------------------------------------------------------------------------------
// One-vertex drag previews

static bool RejectedByFlags(const PlanVertex* vertex, uint32_t flags)
{
    return (flags & kDragSelectedOnly) && !TakesPart(vertex);
}

void MoveVertexByDrag(PlanVertex* vertex, uint32_t flags, const DragTransform* drag)
{
    if (!vertex || !drag || !activeDocument || !activeDocument->settings)
        return;
    int first, second;
    float dFirst = 0.0f;
    float dSecond = 0.0f;
    bool known = GetViewPlaneAxes(activeDocument->settings->viewPlane, &first, &second);
    if (known) {
        dFirst = FloatDifference(drag->start[first], drag->current[first]);
        dSecond = FloatDifference(drag->start[second], drag->current[second]);
    }
    if (flags & kDragConstrain) {
        if (fabsf(dFirst) <= fabsf(dSecond))
            dFirst = 0.0f;
        else
            dSecond = 0.0f;
    }
    if (RejectedByFlags(vertex, flags) || !known)
        return;
    TranslatePoint(&vertex->position[first], &vertex->position[second], dFirst, dSecond);
}

void ScaleVertexByDrag(PlanVertex* vertex, uint32_t flags, const DragTransform* drag)
{
    int first, second;
    if (!vertex || !drag || !ActivePlaneAxes(&first, &second))
        return;
    float fFirst = ScaleRatio(drag->start[first], drag->current[first], drag->centre[first]);
    float fSecond = ScaleRatio(drag->start[second], drag->current[second], drag->centre[second]);
    if (flags & kDragConstrain)
        fSecond = fFirst;
    if ((fFirst == 1.0f && fSecond == 1.0f) || RejectedByFlags(vertex, flags))
        return;
    ScaleVertex(vertex, first, second, drag->centre[first], drag->centre[second], fFirst, fSecond);
}

void StretchVertexByDrag(PlanVertex* vertex, uint32_t flags, const DragTransform* drag)
{
    int first, second;
    if (!vertex || !drag || !ActivePlaneAxes(&first, &second) || RejectedByFlags(vertex, flags))
        return;
    const float grab[2] = {drag->start[first], drag->start[second]};
    const float drop[2] = {drag->current[first], drag->current[second]};
    const float anchor[2] = {drag->centre[first], drag->centre[second]};
    ShearVertex(vertex, first, second, grab, drop, anchor);
}

void RotateVertexByDrag(PlanVertex* vertex, uint32_t flags, const DragTransform* drag)
{
    int first, second;
    if (!vertex || !drag || !ActivePlaneAxes(&first, &second))
        return;
    float angle = AngleDifference(drag->startAngle, drag->currentAngle);
    if (angle == 0.0f || RejectedByFlags(vertex, flags))
        return;
    RotateVertex(vertex, first, second, drag->centre[first], drag->centre[second], angle);
}
