#include "tools/undo.h"
#include <cmath>
#include "model/object_extents.h"
#include "model/object_operations.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "planview/plan_redraw.h"
#include "render3d/object_polygons.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_state.h"

uint32_t undoAvailable = 0;
PlanDocument* undoDocument = nullptr;
UndoRecord undoRecord = {0.0f, {0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.0f}};

namespace {

// The creation taken off its floor by the last undo; no list owns it meanwhile.
PlanObject* heldAside = nullptr;

void FreeHeldAside()
{
    if (!heldAside)
        return;
    if (pendingObject == heldAside)
        pendingObject = nullptr;
    FreeObject(heldAside);
    heldAside = nullptr;
}

// The view extents of the selection of every floor.
void SelectionViewExtents(PlanDocument* document, float* extents)
{
    ResetExtentRect(extents);
    GetAllFloorsViewExtents(document->firstFloor, 1, extents, 0, 1);
}

// The selection of every floor transformed by one operation, old and new places repainted.
void TransformSelection(PlanDocument* document, uint32_t operation, TransformRecord* record)
{
    float before[4], after[4];
    SelectionViewExtents(document, before);
    ForEachFloorObject(document->firstFloor, 1, operation, record);
    SelectionViewExtents(document, after);
    InvalidateViewExtents(before);
    InvalidateViewExtents(after);
    InvalidatePlanView();
}

// The other end of a line whose end was dragged: it is deselected for the move back so
// that only the dragged end returns.
PlanVertex* OtherEndOfDraggedLine()
{
    PlanMouseState& state = planMouseState;
    PlanObject* line = state.object;
    if (!line || line->type != ObjLine || !line->firstVertex)
        return nullptr;
    PlanVertex* dragged = nullptr;
    if (state.vertexHit && state.vertexA) {
        dragged = state.vertexA;
    } else if (state.boxHandleHit) {
        // The handle's corner of the line's box names the end it lies on.
        const int n = state.handleIndex;
        const bool maxX = ((n - 1) & 3) == 1 || ((n - 1) & 3) == 2;
        const bool maxY = ((n - 1) & 3) >= 2;
        const float cornerX = maxX ? line->box3D[kBoxMaxX] : line->box3D[kBoxMinX];
        const float cornerY = maxY ? line->box3D[kBoxMaxY] : line->box3D[kBoxMinY];
        PlanVertex* first = line->firstVertex;
        const bool onFirst =
            static_cast<int16_t>(static_cast<int32_t>(first->position[0] + 0.5f)) ==
                static_cast<int16_t>(static_cast<int32_t>(cornerX + 0.5f)) &&
            static_cast<int16_t>(static_cast<int32_t>(first->position[1] + 0.5f)) ==
                static_cast<int16_t>(static_cast<int32_t>(cornerY + 0.5f));
        dragged = onFirst ? first : first->next;
    }
    if (!dragged)
        return nullptr;
    PlanVertex* other = dragged->next ? dragged->next : dragged->previous;
    return (other && other->selected) ? other : nullptr;
}

void UndoMove(PlanDocument* document)
{
    PlanVertex* other = OtherEndOfDraggedLine();
    if (other) {
        other->selected = 0;
        planMouseState.vertexDeselected = 1;
    }
    TransformRecord record = {};
    const bool undo = document->lastEditUndone == 0;
    for (int i = 0; i < 3; ++i) {
        const float start = planMouseState.dragStart[i];
        const float end = planMouseState.dragEnd[i];
        record.offset[i] = undo ? start - end : end - start;
    }
    document->lastEditUndone = undo ? 1 : 0;
    TransformSelection(document, MoveBy, &record);
    if (other) {
        other->selected = 1;
        planMouseState.vertexDeselected = 0;
    }
}

bool UsableFactor(float factor)
{
    return std::isfinite(factor) && factor != 0.0f;
}

void UndoResize(PlanDocument* document)
{
    TransformRecord record = {};
    const bool undo = document->lastEditUndone == 0;
    for (int i = 0; i < 3; ++i) {
        const float factor = undoRecord.resizeFactors[i];
        // A flattened selection cannot be brought back: a factor of 0 is never applied.
        if (!UsableFactor(factor) || !UsableFactor(1.0f / factor))
            return;
        record.scale[i] = undo ? 1.0f / factor : factor;
        record.centre[i] = undoRecord.resizeFixedPoint[i];
    }
    document->lastEditUndone = undo ? 1 : 0;
    TransformSelection(document, Resize, &record);
}

void UndoRotate(PlanDocument* document)
{
    TransformRecord record = {};
    const bool undo = document->lastEditUndone == 0;
    // The turn back is about the centre the rotation used, not the one the turned
    // selection has now.
    record.angle = undo ? -undoRecord.rotateAngle : undoRecord.rotateAngle;
    for (int i = 0; i < 3; ++i)
        record.centre[i] = undoRecord.rotateCentre[i];
    document->lastEditUndone = undo ? 1 : 0;
    TransformSelection(document, Rotate, &record);
}

// A creation taken off or put back. What the object draws reaches beyond its extents (a
// wall's dimensions stand beside it), so the whole view is repainted, as after the
// undo of a transform.
void UndoCreation(PlanDocument* document)
{
    PlanObject* object = pendingObject;
    if (document->lastEditUndone == 0) {
        if (object && object->floor) {
            InvalidateObjectView(object);
            UnlinkObject(object);
            RemoveObjectPolygons(object);
            heldAside = object;
            InvalidatePlanView();
        }
        document->lastEditUndone = 1;
    } else {
        if (object && document->currentFloor && heldAside == object) {
            AttachObjectToFloor(object, document->currentFloor);
            heldAside = nullptr;
            InvalidateObjectView(object);
            RebuildObject3D(object);
            InvalidatePlanView();
        }
        document->lastEditUndone = 0;
    }
}

}  // namespace

bool UndoBelongsToActivePlan()
{
    return activeDocument && activeDocument == undoDocument;
}

void BeginUndoableGesture()
{
    FreeHeldAside();
    undoDocument = activeDocument;
}

void UndoLastEdit()
{
    PlanDocument* document = activeDocument;
    if (!document || !UndoBelongsToActivePlan())
        return;
    switch (document->lastEditKind) {
    case 7:
    case 8:
        if (planMouseState.object)
            UndoMove(document);
        return;
    case 9:
        if (planMouseState.object && document->firstFloor)
            UndoResize(document);
        return;
    case 11:
        if (planMouseState.object && document->firstFloor)
            UndoRotate(document);
        return;
    default:
        if (document->lastEditKind >= 13 && document->lastEditKind <= 21)
            UndoCreation(document);
        return;
    }
}

void CancelPendingObject()
{
    PlanDocument* document = activeDocument;
    if (!document)
        return;
    if (undoDocument && undoDocument != document) {
        // Another plan's undo state stays as it is; only this plan forgets its kind.
        document->lastEditKind = -1;
        document->lastEditUndone = 0;
        return;
    }
    FreeHeldAside();
    document->lastEditKind = -1;
    document->lastEditUndone = 0;
    undoAvailable = 0;
    pendingObject = nullptr;
    undoDocument = nullptr;
}

void ForgetPendingObject(const PlanObject* object)
{
    if (!object || pendingObject != object)
        return;
    pendingObject = nullptr;
    undoAvailable = 0;
}
