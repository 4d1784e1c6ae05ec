#include "tools/wall_tool.h"
#include <cmath>
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "model/wall_openings.h"
#include "model3d/array_objects.h"
#include "model3d/wall_rebuild.h"
#include "planview/hit_testing.h"
#include "planview/plan_redraw.h"
#include "planview/segment_dimensions.h"
#include "planview/selection.h"
#include "render3d/object_polygons.h"
#include "shell/measurement_bar.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"
#include "tools/undo.h"
#include "tools/wall_merge.h"

namespace {

const int16_t kRetainingWallTool = 7507;
const float kRetainingWallHeight = 36.0f;
const float kClickDistance = 20.0f;
const float kTrimReach = 20.0f;
const float kShortestTrim = 10.0f;
const float kNoCrossing = 32000.0f;
const uint32_t kExteriorWall = 54;
const uint32_t kWallTexture = 1700;
const uint32_t kWallSlots[3] = {2213, 2212, 2219};
const double kRadiansPerDegree = 0.017453292519943295;
const double kDegreesPerRadian = 57.29577951308232;

struct Point {
    float x, y, z;
};

// One drag of the tool, reset at each press.
struct WallDrag {
    PlanMouseState pressHit;
    PlanMouseState releaseHit;
    PlanVertex* startVertex;
    PlanObject* startWall;
    PlanVertex* endVertex;
    PlanObject* endWall;
    PlanObject* startSegmentWall;
    PlanVertex* startSegmentFrom;
    PlanVertex* startSegmentTo;
    PlanObject* endSegmentWall;
    PlanVertex* endSegmentFrom;
    PlanVertex* endSegmentTo;
    float previewThickness;
    HCURSOR savedCursor;
    Point end;           // the constrained end of the segment drawn
} drag;

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

Point PositionOf(const PlanVertex* v)
{
    return {v->position[0], v->position[1], v->position[2]};
}

float PlanDistance(const Point& a, const Point& b)
{
    return Distance2D(a.x, a.z, b.x, b.z);
}

// a moved by the distance along the direction a -> toward.
Point Toward(const Point& a, const Point& toward, float distance)
{
    float unused = 0.0f;
    const float angle = AngleBetweenPoints(a.x, a.z, toward.x, toward.z, &unused);
    float dx = 0.0f, dz = 0.0f;
    OffsetPointPolar(angle, distance, &dx, &dz);
    return {a.x + dx, a.y, a.z + dz};
}

PlanVertex* LastVertexOf(PlanObject* wall)
{
    PlanVertex* v = wall ? wall->firstVertex : nullptr;
    while (v && v->next)
        v = v->next;
    return v;
}

// The vertex is a free end of an open wall.
bool IsFreeEnd(const PlanObject* wall, const PlanVertex* v)
{
    return wall && v && wall->type == ObjWall && !wall->closed && (!v->previous || !v->next);
}

float WallThickness(const PlanObject* wall)
{
    return UnitsToPlanLength(wall->size, Settings(), 0);
}

// The point on the near face of the segment's wall: from the pointer toward the foot of
// its perpendicular, stopping half the thickness short of the centre line.
Point PointOnFace(const Point& pointer, const PlanVertex* from, const PlanVertex* to, float thickness)
{
    float fx = 0.0f, fz = 0.0f;
    FindPerpendicularFoot(from->position[0], from->position[2], to->position[0], to->position[2],
                          pointer.x, pointer.z, &fx, &fz);
    const Point foot = {fx, pointer.y, fz};
    return Toward(pointer, foot, PlanDistance(pointer, foot) - thickness / 2.0f);
}

bool RunsAlongZ(const Point& s, const Point& e)
{
    return e.x == s.x;
}

bool RunsAlongX(const Point& s, const Point& e)
{
    return e.z == s.z;
}

// Walls keep to the axes and the diagonals, or with Shift to steps of 15 degrees.
Point ConstrainEnd(const Point& s, Point e)
{
    if (!ShiftHeld()) {
        const float dx = std::fabs(e.x - s.x);
        const float dz = std::fabs(e.z - s.z);
        if (dx > dz / 2.0f && dz > dx / 2.0f)
            e.z = e.z - s.z < 0.0f ? s.z - dx : s.z + dx;
        else if (dx <= dz)
            e.x = s.x;
        else
            e.z = s.z;
        return e;
    }
    float length = 0.0f;
    const float angle = AngleBetweenPoints(s.x, s.z, e.x, e.z, &length);
    const int32_t steps = static_cast<int32_t>(angle * kDegreesPerRadian / 15.0 + 0.5);
    float dx = 0.0f, dz = 0.0f;
    OffsetPointPolar(static_cast<float>(steps * 15.0 * kRadiansPerDegree), length, &dx, &dz);
    return {s.x + dx, s.y, s.z + dz};
}

PlanVertex* NewWallVertex(const PlanVertex* model, const Point& at, PlanObject* owner)
{
    return NewVertexNode(model ? model->kind : 1, model ? model->selected : 0,
                         model ? model->keepFlag : 0, 0.0f, 0.0f, 0.0f, at.x, at.y, at.z, 0.0f, 0.0f,
                         0.0f, 0.0f, 0.0f, 0.0f, owner);
}

// A new vertex next to the free end, on the open side of the chain: before the first,
// after the last. Its marker alternates with the end's.
PlanVertex* AddVertexAtEnd(PlanObject* wall, PlanVertex* end, const Point& at, int16_t tool)
{
    PlanVertex* vertex = NewWallVertex(end, at, wall);
    if (!vertex)
        return nullptr;
    SetWallSegmentDefaults(vertex, tool, NewWallHeight(tool));
    vertex->alternationMarker = end->alternationMarker == 0 ? 1 : 0;
    if (!end->previous)
        InsertObjectPoint(vertex, wall, nullptr);
    else
        InsertObjectPoint(vertex, wall, end);
    return vertex;
}

// The closing drag along an axis keeps the closing segment on that axis: the end vertex
// slides along its own last segment until it is level with the start.
void AlignClosingVertex(PlanVertex* end, const Point& s, const Point& e)
{
    PlanVertex* neighbour = end->previous ? end->previous : end->next;
    if (!neighbour || ShiftHeld())
        return;
    const PlanVertex* start = drag.startVertex;
    float ax = start->position[0], az = start->position[2];
    float bx = ax, bz = az;
    if (RunsAlongZ(s, e))
        bz += 100.0f;
    else if (RunsAlongX(s, e))
        bx += 100.0f;
    else
        return;
    float x = 0.0f, z = 0.0f;
    IntersectLines(end->position[0], end->position[2], neighbour->position[0],
                   neighbour->position[2], ax, az, bx, bz, &x, &z);
    if (x == kNoCrossing && z == kNoCrossing)
        return;
    end->position[0] = x;
    end->position[2] = z;
}

// Without Shift an axis-aligned drag onto a free end moves that end level with the start.
void AlignEndWithStart(PlanVertex* end, const Point& s, const Point& e)
{
    if (ShiftHeld())
        return;
    if (RunsAlongZ(s, e))
        end->position[0] = s.x;
    else if (RunsAlongX(s, e))
        end->position[2] = s.z;
}

// The chain of `from` runs the other way: each vertex takes the reversed data of the
// segment that ended at it, the new last one the defaults.
void ReverseSegmentDataOfChain(PlanObject* wall, int16_t tool)
{
    PlanVertex* last = LastVertexOf(wall);
    for (PlanVertex* v = last; v && v->previous; v = v->previous)
        CopyReversedWallSegmentData(v, v->previous);
    if (wall->firstVertex) {
        SetWallSegmentDefaults(wall->firstVertex, tool, wall->firstVertex->mainHeight);
        wall->firstVertex->alternationMarker = 0;
    }
}

PlanVertex* DetachFirst(PlanObject* wall)
{
    PlanVertex* v = wall->firstVertex;
    if (!v)
        return nullptr;
    wall->firstVertex = v->next;
    if (v->next)
        v->next->previous = nullptr;
    v->previous = v->next = nullptr;
    return v;
}

PlanVertex* DetachLast(PlanObject* wall)
{
    PlanVertex* v = LastVertexOf(wall);
    if (!v)
        return nullptr;
    if (v->previous)
        v->previous->next = nullptr;
    else
        wall->firstVertex = nullptr;
    v->previous = v->next = nullptr;
    return v;
}

void Recount(PlanObject* wall)
{
    wall->vertexCount = static_cast<uint32_t>(CountVertexChain(wall));
    for (PlanVertex* v = wall->firstVertex; v; v = v->next)
        v->owner = wall;
}

// The drawn segment joins a free end of one wall to a free end of another: one chain.
void JoinWalls(PlanObject* startWall, PlanVertex* startVertex, PlanObject* endWall,
               PlanVertex* endVertex, const Point& s, const Point& e, int16_t tool)
{
    AlignEndWithStart(endVertex, s, e);
    const bool startFirst = !startVertex->previous;
    const bool endFirst = !endVertex->previous;
    const float elevation = Settings()->workingElevation;
    if (startFirst && !endFirst) {
        // The end wall's chain goes before the start wall's, in its own order.
        while (PlanVertex* v = DetachLast(endWall))
            InsertObjectPoint(v, startWall, nullptr);
        endVertex->segmentElevation = elevation;
    } else if (!startFirst && endFirst) {
        while (PlanVertex* v = DetachFirst(endWall))
            AddObjectPoint(v, startWall);
        startVertex->segmentElevation = elevation;
    } else {
        // Both first or both last: the end wall runs the other way in the joined chain.
        ReverseSegmentDataOfChain(endWall, tool);
        ReverseWallOpenings(endWall);
        if (startFirst) {
            while (PlanVertex* v = DetachFirst(endWall))
                InsertObjectPoint(v, startWall, nullptr);
            endVertex->segmentElevation = elevation;
        } else {
            while (PlanVertex* v = DetachLast(endWall))
                AddObjectPoint(v, startWall);
            startVertex->segmentElevation = elevation;
        }
    }
    Recount(startWall);
    Recount(endWall);
    MoveWallChildren(endWall, startWall);
    if (startWall->subType == kExteriorWall || endWall->subType == kExteriorWall) {
        startWall->subType = kExteriorWall;
        endWall->subType = kExteriorWall;
    }
    ForgetPendingObject(endWall);
    FreeObject(endWall);
    RebuildWall(startWall);
    InvalidatePlanView();
}

void SetNewWallDefaults(PlanObject* wall, int16_t tool)
{
    PlanSettings* settings = Settings();
    const bool retaining = tool == kRetainingWallTool;
    wall->type = ObjWall;
    wall->closed = 0;
    wall->size = settings->wallThickness;
    wall->colourA = settings->wallColour;
    wall->colourB = settings->doorColour;
    wall->colourM[0] = 1;
    wall->offsetSide = 0;
    wall->styleOrTexture = kWallTexture;
    wall->imageId1 = kWallSlots[0];
    wall->imageId2 = kWallSlots[1];
    wall->value3 = kWallSlots[2];
    const ColourTriple unset = {kColourChannelUnset, kColourChannelUnset, kColourChannelUnset};
    wall->colour3 = unset;
    wall->colour4 = unset;
    wall->colour5 = unset;
    // The group's own height is the storey's, as a reader gives a wall stored without one.
    PlanFloor* storey = activeDocument->currentFloor;
    wall->parameters[0] = storey ? storey->height : kDefaultFloorHeight;
    wall->parameters[1] = settings->studSpacing;
    wall->parameters[2] = 0.5f;
    wall->category = retaining ? kCategoryGarden : kCategoryFloorPlan;
    wall->subType = 0;
    const float height = NewWallHeight(tool);
    uint16_t marker = 0;
    for (PlanVertex* v = wall->firstVertex; v; v = v->next) {
        SetWallSegmentDefaults(v, tool, height);
        v->alternationMarker = marker;
        marker = marker ? 0 : 1;
    }
}

// A new wall of two points on the current storey.
PlanObject* MakeNewWall(const Point& s, const Point& e, int16_t tool)
{
    PlanFloor* storey = activeDocument->currentFloor;
    if (!storey)
        return nullptr;
    const Point3f points[2] = {{s.x, s.y, s.z}, {e.x, s.y, e.z}};
    const Point3f zero[2] = {};
    PlanObject* wall = CreateSurfaceFromArrays(points, nullptr, zero, zero, nullptr, nullptr, 2, storey, 1);
    if (!wall)
        return nullptr;
    SetNewWallDefaults(wall, tool);
    RebuildWall(wall);
    pendingObject = wall;
    undoAvailable = 1;
    InvalidatePlanView();
    ShowLengthReadout(PlanLengthToUnits(PlanDistance(s, e), Settings(), 0));
    return wall;
}

// A wall begun on a face whose start lies on another wall's free end joins that wall.
// True when the new wall was merged away.
bool MergeNewWallAtStart(PlanObject* wall)
{
    PlanFloor* storey = activeDocument->currentFloor;
    PlanVertex* first = wall->firstVertex;
    if (!storey || !first || !first->next)
        return false;
    float x = first->position[0], y = first->position[1], z = first->position[2];
    TransformPointToView(&x, &y, &z, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin,
                         viewOrigin.x, viewOrigin.y, viewOrigin.z, 1);
    PlanSettings* settings = Settings();
    const uint16_t tolerance = settings->pickTolerance;
    settings->pickTolerance = static_cast<uint16_t>(ZoomInt(tolerance));
    const int16_t wallType[1] = {ObjWall};
    PlanMouseState hit = {};
    bool found = false;
    for (PlanObject* object = storey->firstObject; object; object = object->next) {
        if (object == wall)
            continue;
        hit = {};
        hit.x = static_cast<int32_t>(x + 0.5f);
        hit.y = static_cast<int32_t>(y + 0.5f);
        if (PickObjectPart(object, &hit, 0, wallType, 1) && hit.object != wall) {
            found = true;
            break;
        }
    }
    settings->pickTolerance = tolerance;
    if (!found || !hit.vertexHit || !IsFreeEnd(hit.object, hit.vertexA))
        return false;
    TrimWallEndAtCrossing(wall, first, first->next, storey);
    MergeWallsAtEnds(wall, first, hit.object, hit.vertexA);
    return true;
}

void SelectClickedPart()
{
    PlanDocument* document = activeDocument;
    SetSelectionAllFloors(document->firstFloor, kSelectDeselect, 1);
    const PlanMouseState& hit = drag.pressHit;
    if (hit.segmentHit && hit.vertexA && hit.vertexB) {
        SelectPoint(hit.vertexA, kSelectSelect, 1);
        SelectPoint(hit.vertexB, kSelectSelect, 1);
    } else if (hit.vertexHit && hit.vertexA) {
        SelectPoint(hit.vertexA, kSelectSelect, 1);
    }
}

void FinishWall(PlanObject* wall, bool trimmed)
{
    if (!trimmed && wall->firstVertex && wall->firstVertex->next)
        TrimWallEndAtCrossing(wall, wall->firstVertex, wall->firstVertex->next,
                              activeDocument->currentFloor);
    // Every change of the chain (an extension and a closing too) gets its mesh again, so
    // that the next press finds the wall where it now is.
    RebuildWall(wall);
    RemoveCollinearWallPoints(wall);
    wall->buildFlag = 0;
    RebuildObject3D(wall);
    // An extension or a closing changes the plan as much as a new wall does: the pane
    // repaints the chain as it now is (and a closing's moved end where it was).
    InvalidatePlanView();
    SelectObjectAndDrawHandles(wall, kSelectDeselect, 1);
}

// The release's change of the plan; the result wall, or null.
PlanObject* CommitRelease(const Point& s, Point e, const Point& pointer, int16_t tool, bool* trimmed)
{
    PlanDocument* document = activeDocument;
    if (PlanDistance(s, pointer) < kClickDistance) {
        SelectClickedPart();
        return nullptr;
    }
    bool newWall = false;
    if (drag.startSegmentWall && drag.endSegmentWall) {
        // From a face to a face: the end stops on the near face of the wall it meets.
        drag.previewThickness = WallThickness(drag.endSegmentWall);
        float x = 0.0f, z = 0.0f;
        IntersectLines(s.x, s.z, e.x, e.z, drag.endSegmentFrom->position[0],
                       drag.endSegmentFrom->position[2], drag.endSegmentTo->position[0],
                       drag.endSegmentTo->position[2], &x, &z);
        if (!(x == kNoCrossing && z == kNoCrossing)) {
            const Point cross = {x, s.y, z};
            e = Toward(s, cross, PlanDistance(s, cross) - drag.previewThickness / 2.0f);
        }
        newWall = true;
    } else if (drag.startVertex) {
        PlanObject* wall = drag.startWall;
        if (drag.endVertex && drag.endWall == wall) {
            // Closing: only a chain of three or more points makes a closed wall.
            if (CountVertexChain(wall) < 3)
                return nullptr;
            AlignClosingVertex(drag.endVertex, s, e);
            wall->closed = 1;
            return wall;
        }
        if (drag.endVertex && IsFreeEnd(drag.endWall, drag.endVertex) &&
            IsFreeEnd(wall, drag.startVertex)) {
            JoinWalls(wall, drag.startVertex, drag.endWall, drag.endVertex, s, e, tool);
            return wall;
        }
        PlanVertex* added = AddVertexAtEnd(wall, drag.startVertex, e, tool);
        if (added) {
            TrimWallEndAtCrossing(wall, drag.startVertex, added, document->currentFloor);
            *trimmed = true;
        }
        return wall;
    } else if (drag.endVertex) {
        AlignEndWithStart(drag.endVertex, s, e);
        PlanObject* wall = drag.endWall;
        PlanVertex* added = AddVertexAtEnd(wall, drag.endVertex, s, tool);
        if (added) {
            TrimWallEndAtCrossing(wall, drag.endVertex, added, document->currentFloor);
            *trimmed = true;
        }
        return wall;
    } else {
        newWall = true;
    }
    if (!newWall)
        return nullptr;
    PlanObject* wall = MakeNewWall(s, e, tool);
    if (wall && drag.startSegmentWall && MergeNewWallAtStart(wall))
        return nullptr;
    return wall;
}

void TakePressHit(const Point& pointer)
{
    const PlanMouseState& hit = drag.pressHit;
    PlanObject* object = hit.hit ? hit.object : nullptr;
    if (hit.vertexHit && IsFreeEnd(object, hit.vertexA)) {
        drag.startVertex = hit.vertexA;
        drag.startWall = object;
        for (int i = 0; i < 3; ++i)
            planMouseState.dragStart[i] = hit.vertexA->position[i];
    } else if (hit.segmentHit && object && object->type == ObjWall && hit.vertexA && hit.vertexB) {
        drag.previewThickness = WallThickness(object);
        drag.startSegmentWall = object;
        drag.startSegmentFrom = hit.vertexA;
        drag.startSegmentTo = hit.vertexB;
        const Point start = PointOnFace(pointer, hit.vertexA, hit.vertexB, drag.previewThickness);
        planMouseState.dragStart[0] = start.x;
        planMouseState.dragStart[2] = start.z;
    }
}

void TakeReleaseHit(Point* pointer)
{
    drag.releaseHit = planMouseState;
    const PlanMouseState& hit = drag.releaseHit;
    PlanObject* object = hit.hit ? hit.object : nullptr;
    if (hit.vertexHit && IsFreeEnd(object, hit.vertexA) && hit.vertexA != drag.startVertex) {
        drag.endVertex = hit.vertexA;
        drag.endWall = object;
        *pointer = PositionOf(hit.vertexA);
    } else if (hit.segmentHit && object && object->type == ObjWall && hit.vertexA && hit.vertexB) {
        drag.endSegmentWall = object;
        drag.endSegmentFrom = hit.vertexA;
        drag.endSegmentTo = hit.vertexB;
    }
}

}  // namespace

float NewWallHeight(int16_t toolId)
{
    if (toolId == kRetainingWallTool)
        return kRetainingWallHeight;
    PlanFloor* storey = activeDocument ? activeDocument->currentFloor : nullptr;
    return storey ? storey->height : kDefaultFloorHeight;
}

void SetWallSegmentDefaults(PlanVertex* v, int16_t toolId, float height)
{
    PlanSettings* settings = Settings();
    if (!v || !settings)
        return;
    const bool retaining = toolId == kRetainingWallTool;
    v->faceTextureA = 0;
    v->faceTextureB = 0;
    v->faceColourA = settings->wallColour;
    v->faceColourB = settings->wallColour;
    v->segmentFlags = 0;
    v->faceFlagsA = retaining ? 0 : 3;
    v->faceFlagsB = retaining ? 0 : 3;
    v->segmentStyle = 0;
    v->segmentStyleExtra = 0;
    v->alternationMarker = 0;
    v->segmentElevation = settings->workingElevation;
    v->mainHeight = height;
    v->angleA = 10.0f;
    v->angleB = 10.0f;
    v->heightC = height * 1.25f;
    v->heightD = height * 1.75f;
}

void CopyWallSegmentData(PlanVertex* to, const PlanVertex* from)
{
    if (!to || !from || to == from)
        return;
    to->faceTextureA = from->faceTextureA;
    to->faceTextureB = from->faceTextureB;
    to->faceColourA = from->faceColourA;
    to->faceColourB = from->faceColourB;
    to->segmentElevation = from->segmentElevation;
    to->segmentStyle = from->segmentStyle;
    to->segmentStyleExtra = from->segmentStyleExtra;
    to->alternationMarker = from->alternationMarker;
    to->segmentFlags = from->segmentFlags;
    to->faceFlagsA = from->faceFlagsA;
    to->faceFlagsB = from->faceFlagsB;
    to->mainHeight = from->mainHeight;
    to->angleA = from->angleA;
    to->angleB = from->angleB;
    to->heightC = from->heightC;
    to->heightD = from->heightD;
}

void CopyReversedWallSegmentData(PlanVertex* to, const PlanVertex* from)
{
    if (!to || !from)
        return;
    const PlanVertex source = *from;
    CopyWallSegmentData(to, &source);
    to->faceTextureA = source.faceTextureB;
    to->faceTextureB = source.faceTextureA;
    to->faceColourA = source.faceColourB;
    to->faceColourB = source.faceColourA;
    to->faceFlagsA = source.faceFlagsB;
    to->faceFlagsB = source.faceFlagsA;
    bool tradeEnds = false;
    switch (source.segmentStyle) {
    case 1: case 4: case 7: tradeEnds = true; break;
    case 2: to->segmentStyle = 3; break;
    case 3: to->segmentStyle = 2; break;
    case 5: to->segmentStyle = 6; tradeEnds = true; break;
    case 6: to->segmentStyle = 5; tradeEnds = true; break;
    case 8: to->segmentStyle = 10; break;
    case 10: to->segmentStyle = 8; break;
    case 9: to->segmentStyle = 11; break;
    case 11: to->segmentStyle = 9; break;
    default: break;
    }
    if (tradeEnds) {
        to->mainHeight = source.heightC;
        to->heightC = source.mainHeight;
        to->angleA = source.angleB;
        to->angleB = source.angleA;
    }
}

void RelinkWallOpenings(PlanObject* wall, PlanVertex* removed, PlanVertex* newStart,
                        PlanVertex* newEnd)
{
    if (!wall || !removed)
        return;
    for (PlanObject* child = wall->firstChild; child; child = child->next) {
        OpeningRecord* record = IsOpeningType(child->type) ? static_cast<OpeningRecord*>(child->link) : nullptr;
        if (!record)
            continue;
        if (record->startVertex == removed)
            record->startVertex = newStart;
        if (record->endVertex == removed)
            record->endVertex = newEnd;
    }
}

void MoveWallChildren(PlanObject* from, PlanObject* to)
{
    if (!from || !to || from == to)
        return;
    while (PlanObject* child = from->firstChild) {
        from->firstChild = child->next;
        if (child->next)
            child->next->previous = nullptr;
        child->previous = child->next = nullptr;
        child->owner = to;
        child->floor = to->floor;
        AppendToObjectList(&to->firstChild, child);
    }
}

void TrimWallEndAtCrossing(PlanObject* wall, PlanVertex* a, PlanVertex* b, PlanFloor* storey)
{
    if (!wall || !a || !b || !storey || !Settings())
        return;
    const Point pa = PositionOf(a), pb = PositionOf(b);
    const float length = PlanDistance(pa, pb);
    float best = kNoCrossing;
    Point nearest = {};
    float nearestThickness = 0.0f;
    for (PlanObject* other = storey->firstObject; other; other = other->next) {
        if (other->type != ObjWall)
            continue;
        for (PlanVertex* p = other->firstVertex; p; p = p->next) {
            PlanVertex* q = p->next ? p->next : (other->closed && p != other->firstVertex ? other->firstVertex : nullptr);
            if (!q)
                break;
            float x = 0.0f, z = 0.0f;
            IntersectLines(pa.x, pa.z, pb.x, pb.z, p->position[0], p->position[2], q->position[0],
                           q->position[2], &x, &z);
            const Point cross = {x, pa.y, z};
            const float fromA = PlanDistance(pa, cross);
            const float segment = Distance2D(p->position[0], p->position[2], q->position[0], q->position[2]);
            if (fromA <= length + kTrimReach && PlanDistance(pb, cross) <= length && fromA < best &&
                Distance2D(p->position[0], p->position[2], x, z) < segment - 1.0f &&
                Distance2D(q->position[0], q->position[2], x, z) < segment - 1.0f) {
                best = fromA;
                nearest = cross;
                nearestThickness = WallThickness(other);
            }
        }
    }
    if (best == kNoCrossing)
        return;
    float distance = best - nearestThickness / 2.0f;
    if (distance < kShortestTrim)
        distance = kShortestTrim;
    const Point trimmed = Toward(pa, nearest, distance);
    // Axis-aligned walls stay exactly aligned.
    b->position[0] = std::fabs(pa.x - trimmed.x) < 1.0f ? pa.x : trimmed.x;
    b->position[2] = std::fabs(pa.z - trimmed.z) < 1.0f ? pa.z : trimmed.z;
}

void RemoveCollinearWallPoints(PlanObject* wall)
{
    if (!wall || wall->type != ObjWall || CountVertexChain(wall) <= 2)
        return;
    bool removed = false;
    bool again = true;
    while (again) {
        again = false;
        const int32_t count = CountVertexChain(wall);
        // A closed wall keeps at least three points.
        if (count <= 2 || (wall->closed && count <= 3))
            break;
        for (PlanVertex* v = wall->firstVertex; v; v = v->next) {
            PlanVertex* before = v->previous ? v->previous : (wall->closed ? LastVertexOf(wall) : nullptr);
            PlanVertex* after = v->next ? v->next : (wall->closed ? wall->firstVertex : nullptr);
            if (!before || !after || before == v || after == v)
                continue;
            float unused = 0.0f;
            const float in = AngleBetweenPoints(before->position[0], before->position[2],
                                                v->position[0], v->position[2], &unused);
            const float out = AngleBetweenPoints(v->position[0], v->position[2], after->position[0],
                                                 after->position[2], &unused);
            const int32_t inDegrees = static_cast<int32_t>(in * kDegreesPerRadian + 0.5);
            const int32_t outDegrees = static_cast<int32_t>(out * kDegreesPerRadian + 0.5);
            if (inDegrees != outDegrees)
                continue;
            // The segment that started at v now starts at `before`: its openings keep their
            // place, measured from the new start.
            const float joined = Distance2D(before->position[0], before->position[2], v->position[0],
                                            v->position[2]);
            for (PlanObject* child = wall->firstChild; child; child = child->next) {
                OpeningRecord* record = IsOpeningType(child->type) ? static_cast<OpeningRecord*>(child->link) : nullptr;
                if (record && record->startVertex == v)
                    record->distanceFromStart += joined;
            }
            RelinkWallOpenings(wall, v, before, after);
            if (v->previous)
                v->previous->next = v->next;
            else
                wall->firstVertex = v->next;
            if (v->next)
                v->next->previous = v->previous;
            ReleaseRecord(v);
            wall->vertexCount = static_cast<uint32_t>(CountVertexChain(wall));
            removed = true;
            again = true;
            break;
        }
    }
    if (!removed)
        return;
    RebuildWall(wall);
    FitWallOpenings(wall);
    InvalidatePlanView();
}

void HandleWallTool(int32_t, int32_t, float x, float y, float z, int16_t event)
{
    PlanSettings* settings = Settings();
    if (!settings)
        return;
    const int16_t tool = currentToolId == kRetainingWallTool ? kRetainingWallTool : 7051;
    Point pointer = {x, y, z};
    if (event == kToolPress) {
        const HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
        drag = {};
        drag.savedCursor = SetCursor(cross);
        drag.previewThickness = UnitsToPlanLength(settings->wallThickness, settings, 0);
        drag.pressHit = planMouseState;
        TakePressHit(pointer);
    }
    if (event == kToolRelease)
        TakeReleaseHit(&pointer);
    if (event != kToolPress && drag.startSegmentWall) {
        const Point start = PointOnFace(pointer, drag.startSegmentFrom, drag.startSegmentTo,
                                        WallThickness(drag.startSegmentWall));
        planMouseState.dragStart[0] = start.x;
        planMouseState.dragStart[2] = start.z;
    }
    const Point s = {planMouseState.dragStart[0], planMouseState.dragStart[1], planMouseState.dragStart[2]};
    Point e = {pointer.x, s.y, pointer.z};
    if (!drag.startSegmentWall)
        e = ConstrainEnd(s, e);
    drag.end = e;
    ShowLengthReadout(PlanLengthToUnits(PlanDistance(s, e), settings, 0));
    if (activePlanPane) {
        HDC dc = GetDC(activePlanPane);
        if (dc) {
            DrawObjectDimensions(dc, s.x, s.y, s.z, e.x, e.y, e.z, drag.previewThickness);
            ReleaseDC(activePlanPane, dc);
        }
    }
    if (event != kToolRelease)
        return;

    bool trimmed = false;
    PlanObject* wall = CommitRelease(s, e, pointer, tool, &trimmed);
    if (wall)
        FinishWall(wall, trimmed);
    ReleaseToolCapture();
    SetCursor(drag.savedCursor);
}
