#include "tools/opening_drag.h"
#include "model/object_copies.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plane_geometry.h"
#include "model/wall_openings.h"
#include "openings3d/opening_models.h"
#include "planview/plan_redraw.h"
#include "planview/selection.h"
#include "render3d/object_polygons.h"
#include "tools/door_tool.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_framework.h"

namespace {

// The press on an opening: its end grabbed (a vertex hit) or the whole opening (an edge).
bool TrackOnSegment(PlanObject* opening, uint16_t typeCode)
{
    OpeningRecord* record = static_cast<OpeningRecord*>(opening->link);
    PlanObject* owner = opening->owner;
    PlanVertex* start = record->startVertex;
    PlanVertex* end = record->endVertex;
    // A record may outlive the segment it was placed on.
    if (!owner || !IsVertexOfObject(owner, start) || !IsVertexOfObject(owner, end))
        return false;
    const PlanMouseState& hit = planMouseState;
    const bool endDrag = hit.vertexHit && hit.vertexA;
    const bool wholeDrag = hit.segmentHit && hit.vertexA && hit.vertexB;
    if (!endDrag && !wholeDrag)
        return false;
    PlanVertex* v1 = opening->firstVertex;
    PlanVertex* v2 = v1 ? v1->next : nullptr;
    if (!v1 || !v2)
        return false;
    const uint8_t firstGrabbed = endDrag && hit.vertexA == v1 ? 1 : 0;
    const uint8_t secondGrabbed = endDrag && !firstGrabbed ? 1 : 0;
    float first[2] = {v1->position[0], v1->position[2]};
    float second[2] = {v2->position[0], v2->position[2]};
    float low = 0.0f, high = 0.0f;
    const float span = GetWallSectionSpan(0.0f, 0.0f, start, end, &low, &high);
    if (endDrag) {
        // A grabbed end may go as far as the opening's own half width beyond the span.
        low -= record->width / 2.0f;
        high += record->width / 2.0f;
    }
    const float parameters[3] = {record->width, record->height, record->elevation};
    if (!DrawOpeningPreviewXor(owner, start, end, parameters, span, low, high, hit.hitPoint[0],
                               hit.hitPoint[2], first, second, firstGrabbed, secondGrabbed, typeCode,
                               record, opening, 1))
        return false;
    if (endDrag)
        record->width = Distance2D(first[0], first[1], second[0], second[1]);
    const float length = Distance2D(start->position[0], start->position[2], end->position[0],
                                    end->position[2]);
    record->distanceFromStart =
        Distance2D(start->position[0], start->position[2], first[0], first[1]) + record->width / 2.0f;
    record->distanceToEnd = length - record->distanceFromStart;
    v1->position[0] = first[0];
    v1->position[2] = first[1];
    v2->position[0] = second[0];
    v2->position[2] = second[1];
    UpdateObjectExtents(opening);
    return true;
}

void SelectAlone(PlanObject* object)
{
    InvalidatePlanView();
    SetSelectionAllFloors(activeDocument->firstFloor, kSelectDeselect, 1);
    SelectObjectAndDrawHandles(object, kSelectSelect, 1);
}

PlanObject* PressedOpening(int16_t event, uint16_t type1, uint16_t type2)
{
    PlanObject* object = planMouseState.object;
    if (event != kToolPress || !activeDocument || !activeDocument->settings || !activePlanPane ||
        !object || (object->type != type1 && object->type != type2) || !object->link)
        return nullptr;
    const OpeningRecord* record = static_cast<const OpeningRecord*>(object->link);
    return record->startVertex && record->endVertex ? object : nullptr;
}

}  // namespace

void TrackWallOpeningDrag(float, float, int16_t event)
{
    PlanObject* opening = PressedOpening(event, ObjDoor, ObjWindow);
    if (!opening)
        return;
    if (TrackOnSegment(opening, opening->type)) {
        BuildOpeningModel(opening);
        RebuildObject3D(opening->owner);
    }
    SelectAlone(opening);
}

void TrackKind53Drag(float, float, int16_t event)
{
    PlanObject* steps = PressedOpening(event, ObjDeckSteps, ObjDeckSteps);
    if (!steps)
        return;
    TrackOnSegment(steps, ObjDeckSteps);
    SelectAlone(steps);
}
