#include "tools/wall_merge.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/wall_openings.h"
#include "model3d/wall_rebuild.h"
#include "planview/plan_redraw.h"
#include "render3d/object_polygons.h"
#include "tools/tool_state.h"
#include "tools/undo.h"
#include "tools/wall_tool.h"

namespace {

const uint32_t kExteriorWall = 54;

bool IsWall(const PlanObject* object)
{
    return object && object->type == ObjWall;
}

PlanVertex* LastOf(PlanObject* wall)
{
    PlanVertex* v = wall->firstVertex;
    while (v && v->next)
        v = v->next;
    return v;
}

void Recount(PlanObject* wall)
{
    wall->vertexCount = static_cast<uint32_t>(CountVertexChain(wall));
    for (PlanVertex* v = wall->firstVertex; v; v = v->next)
        v->owner = wall;
}

// The chain after `keep`, cut off it: keep stays alone in its wall.
PlanVertex* CutAfter(PlanVertex* keep)
{
    PlanVertex* rest = keep->next;
    keep->next = nullptr;
    if (rest)
        rest->previous = nullptr;
    return rest;
}

// The chain before `keep` (its first vertex), cut off it.
PlanVertex* CutBefore(PlanObject* wall, PlanVertex* keep)
{
    PlanVertex* head = wall->firstVertex;
    if (head == keep)
        return nullptr;
    keep->previous->next = nullptr;
    keep->previous = nullptr;
    wall->firstVertex = keep;
    return head;
}

// A runs the other way now: vertex k takes the reversed data of the segment that
// ended at it (k - 1 -> k); the new last vertex gets the defaults.
void ReverseChainData(PlanVertex* last, PlanVertex* target)
{
    // target receives the data of the segment that ends at `last`; then down the chain.
    for (PlanVertex* v = last; v && v->previous; v = v->previous) {
        PlanVertex* to = (v == last) ? target : v;
        CopyReversedWallSegmentData(to, v->previous);
    }
}

void AppendChildren(PlanObject* from, PlanObject* to)
{
    MoveWallChildren(from, to);
}

}  // namespace

void ReparentWallOpenings(PlanObject* wallA, PlanVertex* oldVertex, PlanVertex* newVertex,
                          PlanObject* wallB)
{
    if (!IsWall(wallA) || !IsWall(wallB) || !oldVertex || !newVertex)
        return;
    for (PlanObject* child = wallA->firstChild; child; child = child->next) {
        child->owner = wallB;
        OpeningRecord* record = static_cast<OpeningRecord*>(child->link);
        if (!record || !IsOpeningType(child->type))
            continue;
        if (record->startVertex == oldVertex)
            record->startVertex = newVertex;
        if (record->endVertex == oldVertex)
            record->endVertex = newVertex;
    }
}

void ReverseWallOpenings(PlanObject* wall)
{
    if (!IsWall(wall))
        return;
    for (PlanObject* child = wall->firstChild; child; child = child->next) {
        OpeningRecord* record = static_cast<OpeningRecord*>(child->link);
        if (!record || !IsOpeningType(child->type))
            continue;
        PlanVertex* start = record->startVertex;
        record->startVertex = record->endVertex;
        record->endVertex = start;
        const float distance = record->distanceFromStart;
        record->distanceFromStart = record->distanceToEnd;
        record->distanceToEnd = distance;
        record->hingeSide = record->hingeSide == 0 ? 1 : 0;
    }
}

void MergeWallsAtEnds(PlanObject* wallA, PlanVertex* a, PlanObject* wallB, PlanVertex* b)
{
    if (!IsWall(wallA) || !IsWall(wallB) || !a || !b || wallA == wallB)
        return;
    const bool aFirst = wallA->firstVertex == a;
    const bool aLast = !a->next && LastOf(wallA) == a;
    const bool bFirst = wallB->firstVertex == b;
    const bool bLast = !b->next && LastOf(wallB) == b;
    if ((!aFirst && !aLast) || (!bFirst && !bLast))
        return;

    PlanObject* survivor = wallB;
    PlanObject* absorbed = wallA;
    if (aFirst && bFirst) {
        // B runs an .. a1, b0 .. bm: A's segments run the other way.
        ReparentWallOpenings(wallA, a, b, wallB);
        ReverseWallOpenings(wallA);
        AppendChildren(wallA, wallB);
        PlanVertex* last = LastOf(wallA);
        if (last != a)
            ReverseChainData(last, last);
        PlanVertex* rest = CutAfter(a);
        while (rest) {
            PlanVertex* next = rest->next;
            rest->previous = rest->next = nullptr;
            InsertObjectPoint(rest, wallB, nullptr);
            rest = next;
        }
    } else if (aFirst && bLast) {
        // B runs b0 .. bm, a1 .. an; bm carries the segment a0 -> a1.
        ReparentWallOpenings(wallA, a, b, wallB);
        AppendChildren(wallA, wallB);
        CopyWallSegmentData(b, a);
        PlanVertex* rest = CutAfter(a);
        while (rest) {
            PlanVertex* next = rest->next;
            rest->previous = rest->next = nullptr;
            AddObjectPoint(rest, wallB);
            rest = next;
        }
    } else if (aLast && bFirst) {
        // A runs a0 .. an, b1 .. bm; an carries the segment b0 -> b1.
        survivor = wallA;
        absorbed = wallB;
        ReparentWallOpenings(wallB, b, a, wallA);
        AppendChildren(wallB, wallA);
        CopyWallSegmentData(a, b);
        PlanVertex* rest = CutAfter(b);
        while (rest) {
            PlanVertex* next = rest->next;
            rest->previous = rest->next = nullptr;
            AddObjectPoint(rest, wallA);
            rest = next;
        }
    } else {
        // B runs b0 .. bm, a(n-1) .. a0: A's segments run the other way, the first of
        // them from bm.
        ReparentWallOpenings(wallA, a, b, wallB);
        ReverseWallOpenings(wallA);
        AppendChildren(wallA, wallB);
        ReverseChainData(a, b);
        PlanVertex* head = CutBefore(wallA, a);
        PlanVertex* after = b;
        // a(n-1) goes right after bm, then each earlier vertex after it.
        PlanVertex* tail = head;
        while (tail && tail->next)
            tail = tail->next;
        while (tail) {
            PlanVertex* previous = tail->previous;
            tail->previous = tail->next = nullptr;
            if (previous)
                previous->next = nullptr;
            InsertObjectPoint(tail, wallB, after);
            after = tail;
            tail = previous;
        }
        // The new last vertex (a0) ends the chain: no segment of its own.
        if (after != b)
            SetWallSegmentDefaults(after, 7051, after->mainHeight);
    }
    Recount(wallA);
    Recount(wallB);
    if (wallA->subType == kExteriorWall || wallB->subType == kExteriorWall) {
        wallA->subType = kExteriorWall;
        wallB->subType = kExteriorWall;
    }
    // A new wall merged away cannot be taken back.
    ForgetPendingObject(absorbed);
    FreeObject(absorbed);
    RebuildWall(survivor);
    FitWallOpenings(survivor);
    RebuildObject3D(survivor);
    InvalidatePlanView();
}
