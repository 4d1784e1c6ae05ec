#include "model/object_extents.h"
#include "model/hermite.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "planview/output_routing.h"
#include "planview/selection.h"

// ---------------------------------------------------------------------------------
// Growing

static bool RectIsEmptySentinel(const float* rect)
{
    return rect[kRectMinY] == kExtentEmpty && rect[kRectMinX] == kExtentEmpty &&
           rect[kRectMaxY] == -kExtentEmpty && rect[kRectMaxX] == -kExtentEmpty;
}

static bool BoxIsEmptySentinel(const float* box)
{
    return box[kBoxMinY] == kExtentEmpty && box[kBoxMinX] == kExtentEmpty &&
           box[kBoxMinZ] == kExtentEmpty && box[kBoxMaxY] == -kExtentEmpty &&
           box[kBoxMaxX] == -kExtentEmpty && box[kBoxMaxZ] == -kExtentEmpty;
}

static void GrowRange(float* minimum, float* maximum, float value)
{
    if (*minimum > value)
        *minimum = value;
    else if (*maximum < value)
        *maximum = value;
}

static void GrowRect(float* rect, float x, float y)
{
    if (RectIsEmptySentinel(rect)) {
        rect[kRectMinX] = rect[kRectMaxX] = x;
        rect[kRectMinY] = rect[kRectMaxY] = y;
        return;
    }
    GrowRange(&rect[kRectMinX], &rect[kRectMaxX], x);
    GrowRange(&rect[kRectMinY], &rect[kRectMaxY], y);
}

void GrowViewBoxByPoint(float x, float y, float z, float* rect)
{
    if (!rect)
        return;
    TransformPointToView(&x, &y, &z, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin,
                         viewOrigin.x, viewOrigin.y, viewOrigin.z, 1);
    if (perspectiveOn)
        ApplyPerspective(&x, &y, &z, viewerDistance, 0.0f, 0.0f, 0.0f);
    GrowRect(rect, x, y);
}

void GrowBox3DByPoint(float x, float y, float z, float* box)
{
    if (!box)
        return;
    if (BoxIsEmptySentinel(box)) {
        box[kBoxMinY] = box[kBoxMaxY] = y;
        box[kBoxMinX] = box[kBoxMaxX] = x;
        box[kBoxMinZ] = box[kBoxMaxZ] = z;
        return;
    }
    GrowRange(&box[kBoxMinY], &box[kBoxMaxY], y);
    GrowRange(&box[kBoxMinX], &box[kBoxMaxX], x);
    GrowRange(&box[kBoxMinZ], &box[kBoxMaxZ], z);
}

// A point of a line drawn with a wide pen covers the pen's width on either side.
static void GrowViewBoxByPenPoint(float x, float y, float z, float* rect, int16_t dx, int16_t dy)
{
    if (dx != 0 || dy != 0) {
        GrowViewBoxByPoint(x + dx, y + dy, z, rect);
        GrowViewBoxByPoint(x - dx, y - dy, z, rect);
    } else {
        GrowViewBoxByPoint(x, y, z, rect);
    }
}

// ---------------------------------------------------------------------------------
// Segments

static bool HasZeroSegmentTangents(const PlanVertex* a, const PlanVertex* b)
{
    return a->outTangent[0] == 0.0f && a->outTangent[1] == 0.0f && a->outTangent[2] == 0.0f &&
           b->inTangent[0] == 0.0f && b->inTangent[1] == 0.0f && b->inTangent[2] == 0.0f;
}

// Curve control points (kinds 2 and 4) are joined by straight lines in the plan.
static bool IsStraightSegment2D(const PlanVertex* a, const PlanVertex* b)
{
    if (a->kind == 2 || a->kind == 4 || b->kind == 2 || b->kind == 4)
        return true;
    return HasZeroSegmentTangents(a, b);
}

static uint16_t CurrentCurveSteps()
{
    return UsableCurveSteps(activeDocument ? activeDocument->settings : nullptr);
}

// Calls `add` with every sample of the Hermite segment a -> b: t from 0 in steps of
// 1 / n while t <= 1.01, so t = 1 is reached despite the accumulated rounding.
template <typename AddPoint>
static void SampleSegment(const PlanVertex* a, const PlanVertex* b, AddPoint add)
{
    // Copies: an operation in progress may be rewriting the chain.
    PlanVertex first = *a;
    PlanVertex second = *b;
    float coefficients[3][4];
    ComputeVertexSegmentCoefficients(&first, &second, coefficients);
    uint16_t steps = CurrentCurveSteps();
    float step = 1.0f / (float)steps;
    for (float t = 0.0f; t <= 1.01f; t += step) {
        float p[3];
        EvaluateSegmentCoefficients(coefficients, t, p);
        add(p[0], p[1], p[2]);
    }
}

void AddCurveSegmentExtents2D(const PlanVertex* a, const PlanVertex* b, float* rect,
                              uint8_t pen, int16_t penDx, int16_t penDy)
{
    if (!a || !b || !rect)
        return;
    if (!pen)
        penDx = penDy = 0;
    SampleSegment(a, b, [&](float x, float y, float z) {
        GrowViewBoxByPenPoint(x, y, z, rect, penDx, penDy);
    });
}

void AddCurveSegmentExtents3D(const PlanVertex* a, const PlanVertex* b, float* box)
{
    if (!a || !b || !box)
        return;
    SampleSegment(a, b, [&](float x, float y, float z) { GrowBox3DByPoint(x, y, z, box); });
}

// ---------------------------------------------------------------------------------
// Vertex walks

static void PenOffsets(const PlanObject* object, uint8_t zoomed, int16_t* dx, int16_t* dy)
{
    *dx = 0;
    *dy = 0;
    int16_t width = GetObjectPenWidth(object, zoomed);
    if (width >= 2)
        GetPenCentreOffset(width, dx, dy);
}

void AddObjectVertexExtents2D(PlanObject* object, uint8_t selectedOnly, float* rect,
                              uint8_t verticesOnly, uint8_t pen)
{
    if (!object || !rect)
        return;
    int16_t dx = 0, dy = 0;
    if (pen)
        PenOffsets(object, 0, &dx, &dy);
    for (const PlanVertex* v = object->firstVertex; v; v = v->next) {
        if (selectedOnly && !v->selected)
            continue;
        const PlanVertex* previous = v->previous;
        if (!previous || verticesOnly || IsStraightSegment2D(previous, v))
            GrowViewBoxByPenPoint(v->position[0], v->position[1], v->position[2], rect, dx, dy);
        else
            AddCurveSegmentExtents2D(previous, v, rect, pen, dx, dy);
    }
    if (object->closed && !verticesOnly && object->firstVertex) {
        const PlanVertex* first = object->firstVertex;
        const PlanVertex* last = first;
        while (last->next)
            last = last->next;
        if ((!selectedOnly || first->selected) && !IsStraightSegment2D(last, first))
            AddCurveSegmentExtents2D(last, first, rect, pen, dx, dy);
    }
    for (PlanObject* child = object->firstChild; child; child = child->next)
        AddObjectVertexExtents2D(child, selectedOnly, rect, verticesOnly, pen);
}

void AddObjectVertexExtents3D(PlanObject* object, uint8_t selectedOnly, float* box,
                              uint8_t verticesOnly)
{
    if (!object || !box)
        return;
    for (const PlanVertex* v = object->firstVertex; v; v = v->next) {
        if (selectedOnly && !v->selected)
            continue;
        const PlanVertex* previous = v->previous;
        if (!previous || verticesOnly || HasZeroSegmentTangents(previous, v))
            GrowBox3DByPoint(v->position[0], v->position[1], v->position[2], box);
        else
            AddCurveSegmentExtents3D(previous, v, box);
    }
    if (object->closed && !verticesOnly && object->firstVertex) {
        const PlanVertex* first = object->firstVertex;
        const PlanVertex* last = first;
        while (last->next)
            last = last->next;
        if ((!selectedOnly || first->selected) && !HasZeroSegmentTangents(last, first))
            AddCurveSegmentExtents3D(last, first, box);
    }
    // Freehand-roof parts (type 58) stay out of the 3D box.
    for (PlanObject* child = object->firstChild; child; child = child->next)
        if (child->type != ObjFreehandRoofPart)
            AddObjectVertexExtents3D(child, selectedOnly, box, verticesOnly);
}

// ---------------------------------------------------------------------------------
// Per object

// A wall group is measured through its generated object; with selectedOnly the wall
// itself must have a selected point. Null when there is nothing to measure.
static PlanObject* WallMeasuredObject(PlanObject* wall, uint8_t selectedOnly)
{
    if (selectedOnly && !IsAnyPointSelected(wall))
        return nullptr;
    return static_cast<PlanObject*>(wall->link);
}

void GetObjectExtents2D(PlanObject* object, uint8_t selectedOnly, float* rect,
                        uint8_t verticesOnly, uint8_t pen)
{
    if (!object || !rect)
        return;
    if (object->type == ObjWall)
        object = WallMeasuredObject(object, selectedOnly);
    AddObjectVertexExtents2D(object, selectedOnly, rect, verticesOnly, pen);
}

void GetObjectExtents3D(PlanObject* object, uint8_t selectedOnly, float* box,
                        uint8_t verticesOnly)
{
    if (!object || !box)
        return;
    if (object->type == ObjWall)
        object = WallMeasuredObject(object, selectedOnly);
    AddObjectVertexExtents3D(object, selectedOnly, box, verticesOnly);
}

void AddObjectRenderExtents3D(PlanObject* object, uint8_t selectedOnly, float* box,
                              uint8_t verticesOnly)
{
    if (!object || !box)
        return;
    if (object->type == ObjWall) {
        AddObjectVertexExtents3D(WallMeasuredObject(object, selectedOnly), selectedOnly, box,
                                 verticesOnly);
        return;
    }
    if (object->type == ObjRoof || object->type == ObjFreehandRoof) {
        if (selectedOnly && !IsAnyPointSelected(object))
            return;
        for (PlanObject* part = static_cast<PlanObject*>(object->link); part; part = part->next)
            AddObjectVertexExtents3D(part, 0, box, verticesOnly);
        return;
    }
    AddObjectVertexExtents3D(object, selectedOnly, box, verticesOnly);
}

// Whether an object contributes its own stored box to the view and box extents.
// The selection is the one the user made: a wall's, not its generated object's.
static bool AddsOwnBox(const PlanObject* object, uint8_t selectedOnly)
{
    if (object->type == ObjGroup)
        return false;
    return !selectedOnly || IsAnyPointSelected(object);
}

// The object whose stored box and children stand for the object: a wall's generated
// object (null when it has none), any other object itself.
static PlanObject* StoredBoxObject(PlanObject* object)
{
    if (object->type == ObjWall)
        return static_cast<PlanObject*>(object->link);
    return object;
}

void AddObjectViewExtents(PlanObject* object, uint8_t selectedOnly, float* rect,
                          uint8_t reserved, uint8_t pen)
{
    if (!object || !rect)
        return;
    bool ownBox = AddsOwnBox(object, selectedOnly);
    object = StoredBoxObject(object);
    if (!object)
        return;
    int16_t dx = 0, dy = 0;
    if (pen)
        PenOffsets(object, 1, &dx, &dy);
    if (ownBox) {
        float box[6];
        for (int i = 0; i < 6; ++i)
            box[i] = object->box3D[i];
        if (dx != 0 || dy != 0) {
            // dx and dy are negative: the box widens by half the pen on each side.
            box[kBoxMinY] += dy;
            box[kBoxMinX] += dx;
            box[kBoxMaxY] -= dy;
            box[kBoxMaxX] -= dx;
        }
        const float zs[2] = {box[kBoxMinZ], box[kBoxMaxZ]};
        for (float z : zs) {
            GrowViewBoxByPoint(box[kBoxMinX], box[kBoxMinY], z, rect);
            GrowViewBoxByPoint(box[kBoxMaxX], box[kBoxMinY], z, rect);
            GrowViewBoxByPoint(box[kBoxMinX], box[kBoxMaxY], z, rect);
            GrowViewBoxByPoint(box[kBoxMaxX], box[kBoxMaxY], z, rect);
        }
    }
    for (PlanObject* child = object->firstChild; child; child = child->next)
        AddObjectViewExtents(child, selectedOnly, rect, reserved, pen);
}

void AddObjectBoxExtents3D(PlanObject* object, uint8_t selectedOnly, float* box,
                           uint8_t reserved)
{
    if (!object || !box)
        return;
    bool ownBox = AddsOwnBox(object, selectedOnly);
    object = StoredBoxObject(object);
    if (!object)
        return;
    if (ownBox) {
        const float* stored = object->box3D;
        const float ys[2] = {stored[kBoxMinY], stored[kBoxMaxY]};
        const float xs[2] = {stored[kBoxMinX], stored[kBoxMaxX]};
        const float zs[2] = {stored[kBoxMinZ], stored[kBoxMaxZ]};
        for (float z : zs)
            for (float y : ys)
                for (float x : xs)
                    GrowBox3DByPoint(x, y, z, box);
    }
    for (PlanObject* child = object->firstChild; child; child = child->next)
        AddObjectBoxExtents3D(child, selectedOnly, box, reserved);
}

// ---------------------------------------------------------------------------------
// Floors

void GetFloorExtents2D(PlanFloor* floor, uint8_t selectedOnly, float* rect,
                       uint8_t verticesOnly, uint8_t pen)
{
    if (!rect)
        return;
    ForEachShownFloorObject(floor, [&](PlanObject* object) {
        GetObjectExtents2D(object, selectedOnly, rect, verticesOnly, pen);
    });
}

void GetAllFloorsExtents2D(PlanFloor* firstFloor, uint8_t selectedOnly, float* rect,
                           uint8_t verticesOnly, uint8_t pen)
{
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        GetFloorExtents2D(floor, selectedOnly, rect, verticesOnly, pen);
}

void GetFloorViewExtents(PlanFloor* floor, uint8_t selectedOnly, float* rect,
                         uint8_t reserved, uint8_t pen)
{
    if (!rect)
        return;
    ForEachShownFloorObject(floor, [&](PlanObject* object) {
        AddObjectViewExtents(object, selectedOnly, rect, reserved, pen);
    });
}

void GetAllFloorsViewExtents(PlanFloor* firstFloor, uint8_t selectedOnly, float* rect,
                             uint8_t reserved, uint8_t pen)
{
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        GetFloorViewExtents(floor, selectedOnly, rect, reserved, pen);
}

void GetFloorExtents3D(PlanFloor* floor, uint8_t selectedOnly, float* box, uint8_t verticesOnly)
{
    if (!box)
        return;
    ForEachShownFloorObject(floor, [&](PlanObject* object) {
        GetObjectExtents3D(object, selectedOnly, box, verticesOnly);
    });
}

void GetAllFloorsExtents3D(PlanFloor* firstFloor, uint8_t selectedOnly, float* box,
                           uint8_t verticesOnly)
{
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        GetFloorExtents3D(floor, selectedOnly, box, verticesOnly);
}

void GetFloorRenderExtents3D(PlanFloor* floor, uint8_t selectedOnly, float* box,
                             uint8_t verticesOnly)
{
    if (!box)
        return;
    ForEachShownFloorObject(floor, [&](PlanObject* object) {
        AddObjectRenderExtents3D(object, selectedOnly, box, verticesOnly);
    });
}

void GetAllFloorsRenderExtents3D(PlanFloor* firstFloor, uint8_t selectedOnly, float* box,
                                 uint8_t verticesOnly)
{
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        GetFloorRenderExtents3D(floor, selectedOnly, box, verticesOnly);
}

void GetFloorBoxExtents3D(PlanFloor* floor, uint8_t selectedOnly, float* box, uint8_t reserved)
{
    if (!box)
        return;
    ForEachShownFloorObject(floor, [&](PlanObject* object) {
        AddObjectBoxExtents3D(object, selectedOnly, box, reserved);
    });
}

void GetAllFloorsBoxExtents3D(PlanFloor* firstFloor, uint8_t selectedOnly, float* box,
                              uint8_t reserved)
{
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        GetFloorBoxExtents3D(floor, selectedOnly, box, reserved);
}
