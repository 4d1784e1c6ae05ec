#include "model/wall_openings.h"
#include "model/object_copies.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plane_geometry.h"
#include "openings3d/opening_models.h"
#include "shell/app_globals.h"
#include "shell/message_box.h"

namespace {

const float kHalfPi = 1.5707963267948966f;
// An opening keeps 5.0 clear inside the usable span, which itself starts 3.0 from
// each end of the segment.
const float kSegmentClearance = 8.0f;
const float kSpanClearance = 5.0f;
const float kMinimumDragWidth = 18.0f;

// The vertex at the index of the chain, added when the chain is shorter.
PlanVertex* VertexOrNew(PlanObject* object, int index)
{
    PlanVertex* v = object->firstVertex;
    for (int i = 0; i < index && v; ++i)
        v = v->next;
    if (v)
        return v;
    while (true) {
        int count = CountVertexChain(object);
        PlanVertex* added = NewVertexNode(1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, object);
        if (!added)
            return nullptr;
        AddObjectPoint(added, object);
        if (count == index)
            return added;
    }
}

// The plan point (x, z) at the distance from (x, z) in the direction of the angle.
void PointAlong(float x, float z, float angle, float distance, float* point)
{
    float dx = 0.0f;
    float dz = 0.0f;
    OffsetPointPolar(angle, distance, &dx, &dz);
    point[0] = x + dx;
    point[1] = z + dz;
}

void PlaceVertex(PlanVertex* vertex, const PlanVertex* from, float angle, float distance)
{
    if (!vertex)
        return;
    float point[2];
    PointAlong(from->position[0], from->position[2], angle, distance, point);
    vertex->position[0] = point[0];
    vertex->position[1] = 0.0f;
    vertex->position[2] = point[1];
}

} // namespace

bool IsVertexOfObject(const PlanObject* object, const PlanVertex* vertex)
{
    if (!object || !vertex)
        return false;
    for (const PlanVertex* v = object->firstVertex; v; v = v->next)
        if (v == vertex)
            return true;
    return false;
}

void OpeningSidePoint(const PlanVertex* segmentStart, const PlanVertex* segmentEnd,
                      float distance, uint8_t side, float offset, float* point)
{
    if (!segmentStart || !segmentEnd || !point)
        return;
    float length = 0.0f;
    const float angle = AngleBetweenPoints(segmentStart->position[0], segmentStart->position[2],
                                           segmentEnd->position[0], segmentEnd->position[2],
                                           &length);
    float centre[2];
    PointAlong(segmentStart->position[0], segmentStart->position[2], angle, distance, centre);
    PointAlong(centre[0], centre[1], side ? angle + kHalfPi : angle - kHalfPi, offset, point);
}

int16_t FitOneOpening(PlanObject* opening)
{
    if (!activeDocument || !activeDocument->settings || !opening)
        return 0;
    PlanObject* wall = opening->owner;
    if (!wall || !wall->floor || !IsOpeningType(opening->type) || !opening->link)
        return 0;
    OpeningRecord* record = static_cast<OpeningRecord*>(opening->link);
    // The segment ends are read only when they are still vertices of the owner.
    if (!IsVertexOfObject(wall, record->startVertex) || !IsVertexOfObject(wall, record->endVertex))
        return 0;
    const PlanVertex* start = record->startVertex;
    const PlanVertex* end = record->endVertex;
    float length = 0.0f;
    float angle = AngleBetweenPoints(start->position[0], start->position[2], end->position[0],
                                     end->position[2], &length);
    float w = record->width;
    float d = record->distanceFromStart;
    bool fits = d - w / 2.0f >= kSegmentClearance && d + w / 2.0f <= length - kSegmentClearance;
    if (!fits) {
        FreeObject(opening);
        return 1;
    }
    record->distanceFromStart = d;
    record->distanceToEnd = length - d;
    PlaceVertex(VertexOrNew(opening, 0), start, angle, d - w / 2.0f);
    PlaceVertex(VertexOrNew(opening, 1), start, angle, d + w / 2.0f);
    PlanVertex* third = opening->firstVertex && opening->firstVertex->next
                            ? opening->firstVertex->next->next
                            : nullptr;
    if (third) {
        float point[2];
        OpeningSidePoint(start, end, d, record->hingeSide, record->height, point);
        third->position[0] = point[0];
        third->position[1] = 0.0f;
        third->position[2] = point[1];
        opening->vertexCount = 3;
    } else {
        opening->vertexCount = 2;
    }
    UpdateObjectExtents(opening);
    BuildOpeningModel(opening);
    return 0;
}

int16_t FitWallOpenings(PlanObject* wall)
{
    if (!wall || wall->type != ObjWall)
        return 0;
    int16_t removed = 0;
    PlanObject* child = wall->firstChild;
    while (child) {
        PlanObject* next = child->next;
        removed += FitOneOpening(child);
        child = next;
    }
    if (removed)
        ShowMessageBox(nullptr,
                       "Il muro non è abbastanza lungo perché vi si possano inserire tutti gli "
                       "oggetti: eliminare una o più finestre, porte o apparecchi "
                       "elettrici/idraulici.",
                       applicationTitle, MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
    return removed;
}

void FitFloorWallOpenings(PlanFloor* floor)
{
    ForEachShownFloorObject(floor, FitWallOpenings);
}

void FitAllWallOpenings(PlanFloor* firstFloor)
{
    for (PlanFloor* floor = firstFloor; floor; floor = floor->next)
        FitFloorWallOpenings(floor);
}

void ComputeOpeningPositions(const PlanVertex* segmentStart, const PlanVertex* segmentEnd,
                             float width, float spanStart, float spanEnd, float cursorX,
                             float cursorZ, float* firstEnd, float* secondEnd,
                             uint8_t secondEndGrabbed, uint8_t firstEndGrabbed)
{
    if (!segmentStart || !segmentEnd || !firstEnd || !secondEnd)
        return;
    float sx = segmentStart->position[0];
    float sz = segmentStart->position[2];
    float length = 0.0f;
    float angle =
        AngleBetweenPoints(sx, sz, segmentEnd->position[0], segmentEnd->position[2], &length);
    float c = Distance2D(sx, sz, cursorX, cursorZ);
    float first = c - width / 2.0f;
    float second = c + width / 2.0f;
    if (spanStart + kSpanClearance >= first) {
        first = spanStart + kSpanClearance;
        second = first + width;
    } else if (spanEnd - kSpanClearance <= second) {
        second = spanEnd - kSpanClearance;
        first = second - width;
    }
    if (!secondEndGrabbed) {
        if (firstEndGrabbed) {
            first += width / 2.0f;
            float limit = Distance2D(sx, sz, secondEnd[0], secondEnd[1]) - kMinimumDragWidth;
            if (first > limit)
                first = limit;
        }
        PointAlong(sx, sz, angle, first, firstEnd);
    }
    if (!firstEndGrabbed) {
        if (secondEndGrabbed) {
            second -= width / 2.0f;
            float limit = Distance2D(sx, sz, firstEnd[0], firstEnd[1]) + kMinimumDragWidth;
            if (second < limit)
                second = limit;
        }
        PointAlong(sx, sz, angle, second, secondEnd);
    }
}

void ShiftOpeningsOnSegment(PlanObject* wall, PlanVertex* segmentStart, float delta)
{
    if (!wall || wall->type != ObjWall || !segmentStart)
        return;
    for (PlanObject* child = wall->firstChild; child; child = child->next) {
        if (!IsOpeningType(child->type) || !child->link)
            continue;
        OpeningRecord* record = static_cast<OpeningRecord*>(child->link);
        if (record->startVertex == segmentStart)
            record->distanceFromStart += delta;
    }
}
