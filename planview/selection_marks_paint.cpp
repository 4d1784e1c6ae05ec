#include "planview/selection_marks_paint.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "planview/selection.h"
#include "planview/selection_marks.h"
#include "tools/tool_state.h"

void DrawFloorSelectionMarks(PlanFloor* floor, const RECT* rect)
{
    if (!floor || !rect || !floor->shown)
        return;
    for (PlanObject* object = floor->firstObject; object; object = object->next)
        DrawObjectSelectionMarks(object, rect);
}

void DrawSelectionMarks(PlanFloor* firstFloor, const RECT* rect)
{
    if (!rect)
        return;
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        DrawFloorSelectionMarks(floor, rect);
}

void DrawObjectSelectionMarks(PlanObject* object, const RECT* rect)
{
    if (!object)
        return;
    if (!IsPointEditable(currentToolId, object) && object->type != ObjLine) {
        // Taken whole: one box around it and its children.
        if (IsAnyPointSelected(object))
            DrawSelectionBox(object);
        return;
    }
    if (object->type != ObjDimensionLabel) {
        for (PlanVertex* vertex = object->firstVertex; vertex; vertex = vertex->next)
            if (vertex->selected)
                DrawPointMark(vertex, 0);
        if (IsAnyPointSelected(object)) {
            switch (object->type) {
            case ObjDoor: case ObjWindow: case ObjDeckSteps: case ObjFreehandRoofPart: case ObjStair:
                DrawObjectOutlineXor(object);
                break;
            default:
                break;
            }
        }
    }
    for (PlanObject* child = object->firstChild; child; child = child->next)
        DrawObjectSelectionMarks(child, rect);
}
