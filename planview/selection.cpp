#include "planview/selection.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/object_extents.h"
#include "model/object_operations.h"
#include "model/object_transforms.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "planview/plan_redraw.h"
#include "planview/selection_marks.h"
#include "tools/point_mapping.h"
#include "tools/tool_state.h"

// Modes are u8 but compared as signed, so 128..255 count as "select".
static bool IsMarkMode(uint8_t mode)
{
    return static_cast<int8_t>(mode) >= 4;
}

// The selected value a mode below 4 asks for, given the current state.
static uint8_t SelectionTarget(uint8_t mode, bool currentlySelected)
{
    if (mode == kSelectDeselect)
        return 0;
    if (mode == kSelectToggle)
        return currentlySelected ? 0 : 1;
    return 1;
}

// Wall groups and decks are selected by their own outline: a selected opening or deck
// part does not make the host count as selected.
static bool SelectionFollowsChildren(const PlanObject* object)
{
    return object->type != ObjWall && object->type != ObjDeck;
}

// Objects whose selected state is shown by a heavy XOR outline.
static bool HasOutlineMark(uint16_t type)
{
    return type == ObjDoor || type == ObjWindow || type == ObjFreehandRoofPart ||
           type == ObjDeckSteps || type == ObjStair;
}

bool IsAnyPointSelected(const PlanObject* object)
{
    if (!object)
        return false;
    for (const PlanVertex* v = object->firstVertex; v; v = v->next)
        if (v->selected)
            return true;
    if (SelectionFollowsChildren(object))
        for (const PlanObject* child = object->firstChild; child; child = child->next)
            if (IsAnyPointSelected(child))
                return true;
    return false;
}

bool AreAllPointsSelected(const PlanObject* object)
{
    if (!object)
        return false;
    for (const PlanVertex* v = object->firstVertex; v; v = v->next)
        if (!v->selected)
            return false;
    if (SelectionFollowsChildren(object))
        for (const PlanObject* child = object->firstChild; child; child = child->next)
            if (!AreAllPointsSelected(child))
                return false;
    return true;
}

bool HasSelectedPoints(const PlanObject* object)
{
    if (!object)
        return false;
    for (const PlanVertex* v = object->firstVertex; v; v = v->next)
        if (v->selected)
            return true;
    for (const PlanObject* child = object->firstChild; child; child = child->next)
        if (IsAnyPointSelected(child))
            return true;
    return false;
}

bool IsPointEditable(int16_t toolId, const PlanObject* object)
{
    if (!object || toolId <= 0)
        return true;
    switch (object->type) {
    case 2: case 5: case 8: case 9: case 14: case 15: case 28: case 31: case 102:
    case 115: case 125: case 200: case 201: case 1000:
        return false;
    default:
        return true;
    }
}

void SetAllPointsSelected(PlanObject* object, uint8_t value)
{
    if (!object)
        return;
    for (PlanVertex* v = object->firstVertex; v; v = v->next)
        v->selected = value;
    for (PlanObject* child = object->firstChild; child; child = child->next)
        SetAllPointsSelected(child, value);
}

void SetAllPointsSelectable(PlanObject* object, uint8_t value)
{
    if (!object)
        return;
    for (PlanVertex* v = object->firstVertex; v; v = v->next)
        v->selectable = value;
    for (PlanObject* child = object->firstChild; child; child = child->next)
        SetAllPointsSelectable(child, value);
}

void SetAllPointsLock(PlanObject* object, uint8_t value)
{
    if (!object)
        return;
    for (PlanVertex* v = object->firstVertex; v; v = v->next)
        v->keepFlag = value;
    for (PlanObject* child = object->firstChild; child; child = child->next)
        SetAllPointsLock(child, value);
}

bool ApplySelectionMode(PlanObject* object, uint8_t mode)
{
    if (!object)
        return false;
    if (IsMarkMode(mode))
        return ApplyObjectMarkMode(object, mode);
    bool selected = IsAnyPointSelected(object);
    uint8_t target = SelectionTarget(mode, selected);
    if (target && HasUnselectableVertex(object))
        return false;
    if (selected == (target != 0))
        return false;
    SetAllPointsSelected(object, target);
    return true;
}

bool ApplyObjectMarkMode(PlanObject* object, uint8_t mode)
{
    if (!object)
        return false;
    switch (mode) {
    case kSelectMakeSelectable:
        // Reported as no change: the selection itself stays as it was.
        SetAllPointsSelectable(object, 1);
        return false;
    case kSelectMakeUnselectable:
        if (!IsAnyPointSelected(object))
            return false;
        SetAllPointsSelected(object, 0);
        SetAllPointsSelectable(object, 0);
        return true;
    case kSelectSetKeep:
    case kSelectClearKeep:
        // The keep flag is no part of the selection: the object stays selected, so its
        // marks must not be toggled.
        if (IsAnyPointSelected(object))
            SetAllPointsLock(object, mode == kSelectSetKeep ? 1 : 0);
        return false;
    default:
        return false;
    }
}

bool SelectPoint(PlanVertex* vertex, uint8_t mode, uint8_t draw)
{
    if (!vertex)
        return false;
    if (IsMarkMode(mode))
        return ApplyPointMarkMode(vertex, mode, draw);
    uint8_t target = SelectionTarget(mode, vertex->selected != 0);
    if (target && !vertex->selectable)
        return false;
    if ((vertex->selected != 0) == (target != 0))
        return false;
    vertex->selected = target;
    if (draw)
        DrawPointMark(vertex, 0);
    return true;
}

bool ApplyPointMarkMode(PlanVertex* vertex, uint8_t mode, uint8_t draw)
{
    if (!vertex)
        return false;
    switch (mode) {
    case kSelectMakeSelectable:
        vertex->selectable = 1;
        return false;
    case kSelectMakeUnselectable:
        if (!vertex->selected)
            return false;
        SelectPoint(vertex, kSelectDeselect, draw);
        vertex->selectable = 0;
        return true;
    case kSelectSetKeep:
    case kSelectClearKeep:
        if (!vertex->selected)
            return false;
        // The mark goes off and on again around the change, as a deselect and reselect
        // would show it; the vertex stays selected even when it is not selectable.
        if (draw)
            DrawPointMark(vertex, 0);
        vertex->keepFlag = mode == kSelectSetKeep ? 1 : 0;
        if (draw)
            DrawPointMark(vertex, 0);
        return false;
    default:
        return false;
    }
}

// Point-by-point selection of an object and its children; with a filter mask, objects
// hidden under the mask are left alone.
static void SelectPointsFiltered(PlanObject* object, uint8_t mode, uint8_t draw,
                                 bool filtered, uint32_t mask)
{
    if (!object)
        return;
    if (filtered && !IsObjectInViewFilter(object, mask))
        return;
    uint8_t drawMarks = object->type == ObjDimensionLabel ? 0 : draw;
    bool outline = draw && HasOutlineMark(object->type);
    bool before = outline && IsAnyPointSelected(object);
    for (PlanVertex* v = object->firstVertex; v; v = v->next)
        SelectPoint(v, mode, drawMarks);
    if (outline && IsAnyPointSelected(object) != before)
        DrawObjectOutlineXor(object);
    for (PlanObject* child = object->firstChild; child; child = child->next)
        SelectPointsFiltered(child, mode, draw, filtered, mask);
}

void SelectObjectPoints(PlanObject* object, uint8_t mode, uint8_t draw)
{
    SelectPointsFiltered(object, mode, draw, false, 0);
}

void SelectVisibleObjectPoints(PlanObject* object, uint8_t mode, uint8_t draw, uint32_t mask)
{
    SelectPointsFiltered(object, mode, draw, true, mask);
}

static void SelectObjectFiltered(PlanObject* object, uint8_t mode, uint8_t draw,
                                 bool filtered, uint32_t mask)
{
    if (!object || !activePlanPane)
        return;
    if (filtered && !IsObjectInViewFilter(object, mask))
        return;
    if (!IsPointEditable(currentToolId, object) && object->type != ObjLine) {
        if (ApplySelectionMode(object, mode) && draw)
            DrawSelectionBox(object);
        return;
    }
    SelectPointsFiltered(object, mode, draw, filtered, mask);
}

void SelectObjectAndDrawHandles(PlanObject* object, uint8_t mode, uint8_t draw)
{
    SelectObjectFiltered(object, mode, draw, false, 0);
}

void SelectVisibleObject(PlanObject* object, uint8_t mode, uint8_t draw, uint32_t mask)
{
    SelectObjectFiltered(object, mode, draw, true, mask);
}

static bool IsSelectableFloor(const PlanFloor* floor)
{
    return floor && floor->shown && floor->active;
}

// Only a shown, active floor gains a selection, but a deselect clears any floor: the
// edits walk the selection of every shown floor, so nothing may stay selected where the
// user cannot work. Marks are on the screen only for shown floors.
void SetFloorSelection(PlanFloor* floor, uint8_t mode, uint8_t draw)
{
    if (!floor || (mode != kSelectDeselect && !IsSelectableFloor(floor)))
        return;
    if (!floor->shown)
        draw = 0;
    for (PlanObject* object = floor->firstObject; object; object = object->next)
        SelectObjectAndDrawHandles(object, mode, draw);
}

void SetSelectionAllFloors(PlanFloor* firstFloor, uint8_t mode, uint8_t draw)
{
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        SetFloorSelection(floor, mode, draw);
}

void DrawFloorSelectionHandles(PlanFloor* floor, uint8_t mode, uint8_t draw, uint32_t mask)
{
    if (!IsSelectableFloor(floor))
        return;
    for (PlanObject* object = floor->firstObject; object; object = object->next)
        SelectVisibleObject(object, mode, draw, mask);
}

void DrawSelectionHandlesAllFloors(PlanFloor* firstFloor, uint8_t mode, uint8_t draw,
                                   uint32_t mask)
{
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        DrawFloorSelectionHandles(floor, mode, draw, mask);
}

// A click on a point selects that point only when the object is edited point by point
// on its own; members of groups, text frames, dimension labels and pictures are taken
// whole, through their outermost group.
bool SelectsPointsAlone(const PlanObject* object)
{
    return IsPointEditable(currentToolId, object) && !IsGroupedObject(object) &&
           object->type != ObjTextFrame && object->type != ObjDimensionLabel &&
           object->type != ObjMetafilePicture;
}

static void SelectWholeOwner(PlanObject* object, uint8_t mode, uint8_t draw)
{
    PlanObject* top = GetTopLevelObject(object);
    SelectObjectAndDrawHandles(top ? top : object, mode, draw);
}

void SelectPointOrObject(PlanVertex* vertex, PlanObject* object, uint8_t mode, uint8_t draw)
{
    if (!object || currentToolId == -1)
        return;
    if (SelectsPointsAlone(object))
        SelectPoint(vertex, mode, draw);
    else
        SelectWholeOwner(object, mode, draw);
}

void SelectSegmentOrObject(PlanVertex* a, PlanVertex* b, PlanObject* object, uint8_t mode,
                           uint8_t draw)
{
    if (!object || currentToolId == -1)
        return;
    if (!SelectsPointsAlone(object)) {
        SelectWholeOwner(object, mode, draw);
        return;
    }
    bool outline = draw && HasOutlineMark(object->type);
    bool before = outline && IsAnyPointSelected(object);
    SelectPoint(a, mode, draw);
    SelectPoint(b, mode, draw);
    if (outline && IsAnyPointSelected(object) != before)
        DrawObjectOutlineXor(object);
}

void SnapSelectionCornerToGrid(uint16_t command)
{
    PlanDocument* document = activeDocument;
    if (command < 5140 || command > 5143 || !document || !document->settings)
        return;
    float box[6];
    ResetExtentBox(box);
    GetAllFloorsExtents3D(document->firstFloor, 1, box, 0);
    if (box[kBoxMinX] > box[kBoxMaxX])
        return;   // nothing selected
    const bool right = command == 5141 || command == 5143;
    const bool bottom = command == 5142 || command == 5143;
    const float corner[3] = {right ? box[kBoxMaxX] : box[kBoxMinX], box[kBoxMinY],
                             bottom ? box[kBoxMaxZ] : box[kBoxMinZ]};
    float snapped[3] = {corner[0], corner[1], corner[2]};
    if (!SnapFloatPointToGrid(document->settings, &snapped[0], &snapped[1], &snapped[2]))
        return;
    TransformRecord move = {};
    move.offset[0] = snapped[0] - corner[0];
    move.offset[2] = snapped[2] - corner[2];
    if (move.offset[0] == 0.0f && move.offset[2] == 0.0f)
        return;
    ForEachFloorObject(document->firstFloor, 1, MoveBy, &move);
    InvalidatePlanView();
}
