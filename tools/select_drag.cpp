#include "tools/select_drag.h"
#include <cmath>
#include "model/deck_parts.h"
#include "model/hermite.h"
#include "model/object_copies.h"
#include "model/object_extents.h"
#include "model/object_operations.h"
#include "model/object_transforms.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "model/wall_openings.h"
#include "model3d/wall_rebuild.h"
#include "planview/dimension_lines.h"
#include "planview/hit_testing.h"
#include "planview/plan_redraw.h"
#include "planview/segment_dimensions.h"
#include "planview/selection.h"
#include "planview/selection_marks.h"
#include "planview/output_routing.h"
#include "render3d/object_polygons.h"
#include "shell/camera_presets.h"
#include "shell/measurement_bar.h"
#include "tools/fixture_tools.h"
#include "tools/freehand_roof_tools.h"
#include "tools/opening_drag.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"
#include "tools/undo.h"
#include "tools/wall_merge.h"

namespace {

const float kDropReach = 10.0f;
const float kPutBackReach = 20.0f;
const float kMergeTolerance = 20.0f;
const float kLiveOffset = 30.0f;
const float kWrappedOffset = -15.0f;
const int16_t kWallToolId = 7051;
const uint32_t kWiringKind = 112;

// One drag, reset at each press.
struct SelectionDragState {
    float box[6];
    bool vertexDrag;
    bool endDrag;
    bool endIsFirst;
    PlanObject* draggedObject;
    PlanVertex* draggedVertex;
    PlanVertex* neighbourVertex;
    float savedEnd[3];
    float savedNeighbour[3];
    uint16_t savedViewPlane;
    bool ctrlDrag;
    PlanVertex* before;
    PlanVertex* start;
    PlanVertex* end;
    PlanVertex* after;
    int16_t wrap;
    bool axisLockDefault;
    bool lockInForce;
    float selectionRect[4];
} state;

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

bool IsWall(const PlanObject* object)
{
    return object && object->type == ObjWall;
}

// Types whose points are dragged one by one (the press rules), and types drawn as their
// displaced outline during the drag.
bool IsPressOutlineType(uint16_t type)
{
    switch (type) {
    case 8: case 12: case 13: case 21: case 22: case 24: case 25: case 26: case 27: case 29:
    case 30: case 38: case 45: case 48: case 50: case 51: case 57: case 62: case 114: case 116:
    case 117: case 129: case 130:
        return true;
    default:
        return false;
    }
}

bool IsImageOutlineType(uint16_t type)
{
    return type == ObjRoof || (type != 8 && IsPressOutlineType(type));
}

PlanVertex* LastVertexOf(PlanObject* object)
{
    PlanVertex* v = object ? object->firstVertex : nullptr;
    while (v && v->next)
        v = v->next;
    return v;
}

// The two coordinates (point indexes) the view plane shows.
void PlaneAxes(uint16_t plane, int* first, int* second)
{
    *first = plane == 3 ? 2 : 0;
    *second = plane == 2 ? 2 : 1;
}

double Whole(float value)
{
    return std::trunc(static_cast<double>(value));
}

void ShowObjectLength(PlanObject* object)
{
    ShowLengthReadout(0.0f);
    const float length = ComputeObjectCurveLength(object);
    if (length > 0.0f)
        ShowLengthReadout(PlanLengthToUnits(length, Settings(), 0));
}

// The vertices around a segment or a vertex whose lengths the drag shows; a missing
// neighbour of a chain of more than two points wraps round.
void SetDimensionVertices(PlanObject* object, PlanVertex* start, PlanVertex* end)
{
    state.start = start;
    state.end = end;
    state.before = start->previous;
    state.after = end->next;
    state.wrap = 0;
    if (CountVertexChain(object) <= 2)
        return;
    if (!state.before) {
        state.before = LastVertexOf(object);
        state.wrap = -1;
    } else if (!state.after) {
        state.after = object->firstVertex;
        state.wrap = 1;
    }
}

void Press(PlanObject* object)
{
    PlanDocument* document = activeDocument;
    PlanSettings* settings = document->settings;
    state = {};
    ResetExtentBox(state.box);
    GetAllFloorsExtents3D(document->currentFloor, 1, state.box, 0);
    ResetExtentRect(state.selectionRect);
    GetAllFloorsViewExtents(document->firstFloor, 1, state.selectionRect, 0, 1);
    state.ctrlDrag = CtrlHeld() && GetCameraPresetCommand() != ViewTop;
    if (state.ctrlDrag) {
        state.savedViewPlane = settings->viewPlane;
        settings->viewPlane = 1;
    }
    const PlanMouseState& hit = planMouseState;
    if (IsPressOutlineType(object->type)) {
        PlanVertex* vertex = hit.vertexHit ? hit.vertexA : nullptr;
        const bool grabVertex = vertex && (vertex->selected || (!IsWall(object) && AreAllPointsSelected(object)));
        if (grabVertex) {
            if (IsWall(object))
                ShowLengthReadout(0.0f);
            else
                ShowObjectLength(object);
            SetSelectionAllFloors(document->firstFloor, kSelectDeselect, 0);
            SelectPoint(vertex, kSelectSelect, 1);
            state.vertexDrag = true;
            if (!vertex->previous || !vertex->next) {
                state.endDrag = true;
                state.draggedObject = object;
                state.draggedVertex = vertex;
                state.neighbourVertex = vertex->previous ? vertex->previous : vertex->next;
                state.endIsFirst = !vertex->previous;
                if (IsWall(object) && state.neighbourVertex) {
                    for (int i = 0; i < 3; ++i) {
                        state.savedEnd[i] = vertex->position[i];
                        state.savedNeighbour[i] = state.neighbourVertex->position[i];
                    }
                }
            }
            SetDimensionVertices(object, vertex, vertex);
        } else if (!hit.segmentHit) {
            if (!IsWall(object))
                SelectObjectAndDrawHandles(object, kSelectSelect, 1);
        } else {
            const bool bothEnds = hit.vertexA && hit.vertexB;
            if (!IsWall(object))
                ShowObjectLength(object);
            if (object->type == ObjPicketFence && bothEnds) {
                if (hit.vertexA->kind == 6) {
                    SetSelectionAllFloors(document->firstFloor, kSelectDeselect, 1);
                    SelectPoint(hit.vertexA, kSelectSelect, 1);
                    SelectPoint(hit.vertexB, kSelectSelect, 1);
                } else {
                    SelectObjectAndDrawHandles(object, kSelectSelect, 1);
                }
            } else if (!IsWall(object) &&
                       !((object->type == ObjFloorSlab || object->type == ObjFreehandRoof) && bothEnds)) {
                SelectObjectAndDrawHandles(object, kSelectSelect, 1);
            }
            if (bothEnds && CountVertexChain(object) > 2)
                SetDimensionVertices(object, hit.vertexA, hit.vertexB);
        }
    }
    state.axisLockDefault =
        IsWall(object) && !(AreAllPointsSelected(object) && CountVertexChain(object) >= 3);
}

// The drag offset on the plane's two axes, with the axis lock.
void DragOffset(PlanObject* object, float* d1, float* d2)
{
    const PlanSettings* settings = Settings();
    int a1, a2;
    PlaneAxes(settings->viewPlane, &a1, &a2);
    const float* p = planMouseState.drag.start;
    const float* q = planMouseState.drag.current;
    *d1 = q[a1] - p[a1];
    *d2 = q[a2] - p[a2];
    if (state.ctrlDrag)
        *d1 = 0.0f;
    state.lockInForce = (ShiftHeld() && !IsWall(object)) || (state.axisLockDefault && !ShiftHeld());
    if (state.lockInForce) {
        if (std::fabs(*d1) <= std::fabs(*d2))
            *d1 = 0.0f;
        else
            *d2 = 0.0f;
    }
}

// Keeps the moved box inside the plan extents and on its side of a locked guide along
// one axis: the offset is corrected.
void LimitAxis(int axis, float* d)
{
    const PlanSettings* s = Settings();
    const float low = state.box[BoxMinSlotOfAxis(axis)];
    const float high = state.box[BoxMinSlotOfAxis(axis) + 3];
    if (axis == 1) {
        if (low + *d < s->extentTop)
            *d = s->extentTop - low;
    } else {
        const float least = axis == 0 ? s->extentLeft : s->extentTop;
        const float most = axis == 0 ? s->extentRight : s->extentBottom;
        if (low + *d < least)
            *d = least - low;
        else if (high + *d > most)
            *d = most - high;
    }
    const uint8_t locked = axis == 0 ? s->limitLockX : axis == 1 ? s->limitLockHeight : s->limitLockDepth;
    const float guide = axis == 0 ? s->referenceX : axis == 1 ? s->referenceHeight : s->referenceZ;
    if (!locked)
        return;
    if (Whole(high) <= Whole(guide) && Whole(high + *d) > Whole(guide))
        *d = guide - high;
    else if (Whole(low) >= Whole(guide) && Whole(low + *d) < Whole(guide))
        *d = guide - low;
}

// The offset applied: locked, limited, and written back into the drag's current point.
void ApplyLimits(PlanObject* object, float* d1, float* d2)
{
    DragOffset(object, d1, d2);
    int a1, a2;
    PlaneAxes(Settings()->viewPlane, &a1, &a2);
    if (!state.vertexDrag) {
        LimitAxis(a1, d1);
        LimitAxis(a2, d2);
        if (state.ctrlDrag)
            *d1 = 0.0f;
    }
    float* q = planMouseState.drag.current;
    const float* p = planMouseState.drag.start;
    q[a1] = p[a1] + *d1;
    q[a2] = p[a2] + *d2;
}

void DrawLiveDimension(HDC dc, PlanObject* object, PlanVertex* a, PlanVertex* b, float offset,
                       const float* shift, bool moveA, bool moveB)
{
    if (!dc || !a || !b)
        return;
    float sx = 0.0f, sz = 0.0f, ex = 0.0f, ez = 0.0f;
    ComputeDimensionOffsets(object, a, b, &sx, &sz, &ex, &ez);
    float ax = a->position[0], az = a->position[2], bx = b->position[0], bz = b->position[2];
    if (moveA) {
        ax += shift[0];
        az += shift[2];
    }
    if (moveB) {
        bx += shift[0];
        bz += shift[2];
    }
    halfInchToggle = 1;
    DrawDimensionLine(dc, ax, az, bx, bz, ax, az, bx, bz, 1, offset, 1, nullptr, nullptr, 0, 0, 0.0f, 1,
                      nullptr);
    // A slanted segment shows its two legs too.
    if (static_cast<int32_t>(ax) != static_cast<int32_t>(bx) &&
        static_cast<int32_t>(az) != static_cast<int32_t>(bz)) {
        halfInchToggle = 1;
        DrawDimensionLine(dc, ax, az, bx, az, ax, az, bx, az, 0, offset, 1, nullptr, nullptr, 0, 0, 0.0f, 1,
                          nullptr);
        halfInchToggle = 1;
        DrawDimensionLine(dc, bx, az, bx, bz, bx, az, bx, bz, 0, offset, 1, nullptr, nullptr, 0, 0, 0.0f, 1,
                          nullptr);
    }
}

void DrawFeedback(PlanObject* object, int16_t event, const float* shift)
{
    PlanDocument* document = activeDocument;
    if (!activePlanPane)
        return;
    HDC dc = GetDC(activePlanPane);
    if (!dc)
        return;
    const bool wiring = object->type == ObjDrawingElement && object->subType == kWiringKind;
    const bool complete = state.before && state.start && state.end && state.after;
    const float beforeOffset = (object->closed || !state.before || !state.after) ? kLiveOffset
                               : state.wrap == -1 ? kWrappedOffset : kLiveOffset;
    const float afterOffset = (object->closed || !state.before || !state.after) ? kLiveOffset
                              : state.wrap == 1 ? kWrappedOffset : kLiveOffset;
    if (IsWall(object) && state.endDrag) {
        const float* q = planMouseState.drag.current;
        if (state.neighbourVertex)
            ShowLengthReadout(PlanLengthToUnits(
                Distance2D(q[0], q[2], state.neighbourVertex->position[0], state.neighbourVertex->position[2]),
                Settings(), 0));
        DrawLiveDimension(dc, object, state.before, state.start, beforeOffset, shift, false, true);
        DrawLiveDimension(dc, object, state.start, state.after, afterOffset, shift, true, false);
    } else if (!wiring && (!state.vertexDrag) && CountVertexChain(object) > 2 && complete) {
        DrawLiveDimension(dc, object, state.before, state.start, beforeOffset, shift, false, true);
        DrawLiveDimension(dc, object, state.end, state.after, afterOffset, shift, true, false);
    } else if (!wiring && state.vertexDrag && state.start) {
        PlanVertex* v = state.start;
        for (int i = 0; i < 3; ++i)
            v->position[i] += shift[i];
        ShowObjectLength(object);
        for (int i = 0; i < 3; ++i)
            v->position[i] -= shift[i];
        DrawLiveDimension(dc, object, state.before, v, beforeOffset, shift, false, true);
        DrawLiveDimension(dc, object, v, state.after, afterOffset, shift, true, false);
    }

    const bool pointEditing = IsPointEditable(currentToolId, object);
    const int view = GetCameraPresetCommand();
    if (!IsImageOutlineType(object->type)) {
        if (!(pointEditing && view != ViewTop)) {
            float moved[6];
            for (int i = 0; i < 3; ++i) {
                const int axis = i == 0 ? 1 : i == 1 ? 0 : 2;   // box order: height, x, z
                moved[i] = state.box[i] + shift[axis];
                moved[i + 3] = state.box[i + 3] + shift[axis];
            }
            DrawDottedBoundingBox(dc, moved);
        }
    } else {
        bool skip = false;
        if (!pointEditing && object->type != ObjImage) {
            skip = true;
            for (int i = 0; i < 4; ++i)
                skip = skip && Whole(state.selectionRect[i]) == Whole(object->box2D[i]);
        }
        if (!skip) {
            RECT client;
            GetClientRect(activePlanPane, &client);
            DPtoLP(dc, reinterpret_cast<POINT*>(&client), 2);
            uint32_t flags = DrawSelectedOnly | DrawXorPreview | DrawPreviewMove | DrawPreviewSelectedPoints;
            if (event == kToolPress)
                flags |= DrawRed;
            if (state.lockInForce)
                flags |= DrawPreviewConstrain;
            RedrawPlan(dc, document->firstFloor, &client, flags, &planMouseState.drag);
        }
    }
    ReleaseDC(activePlanPane, dc);
}

// Every vertex of the wall's chain that is the closing wall's last, freed.
void DropLastVertex(PlanObject* wall, PlanVertex* last)
{
    if (last->previous)
        last->previous->next = nullptr;
    last->previous = nullptr;
    ReleaseRecord(last);
    wall->vertexCount = static_cast<uint32_t>(CountVertexChain(wall));
}

// The wall-end rules of a drop: join with another wall's free end, close the own chain,
// or put a too-short end back.
void DropWallEnd(PlanObject* wall)
{
    PlanDocument* document = activeDocument;
    PlanSettings* settings = document->settings;
    PlanVertex* dragged = state.draggedVertex;
    PlanVertex* neighbour = state.neighbourVertex;
    if (state.endIsFirst) {
        // The openings of the first segment keep their place in the plan.
        const float before = Distance2D(neighbour->position[0], neighbour->position[2], state.savedEnd[0],
                                        state.savedEnd[2]);
        const float after = Distance2D(neighbour->position[0], neighbour->position[2], dragged->position[0],
                                       dragged->position[2]);
        ShiftOpeningsOnSegment(wall, dragged, after - before);
    }
    // What lies under the dropped end, among the walls of the storey.
    float wx = dragged->position[0], wy = dragged->position[1], wz = dragged->position[2];
    TransformPointToView(&wx, &wy, &wz, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin,
                         viewOrigin.x, viewOrigin.y, viewOrigin.z, 1);
    PlanMouseState probe = {};
    probe.x = static_cast<int32_t>(wx + 0.5f);
    probe.y = static_cast<int32_t>(wy + 0.5f);
    const uint16_t tolerance = settings->pickTolerance;
    settings->pickTolerance = static_cast<uint16_t>(ZoomInt(static_cast<int32_t>(kMergeTolerance)));
    const int16_t wallType[1] = {ObjWall};
    PlanObject* other = nullptr;
    PlanVertex* otherVertex = nullptr;
    bool otherOnVertex = false;
    PlanVertex* ownOtherEnd = nullptr;
    for (PlanObject* object = document->currentFloor->firstObject; object; object = object->next) {
        PlanMouseState hit = probe;
        if (!PickObjectPart(object, &hit, 0, wallType, 1) || !IsWall(hit.object))
            continue;
        if (hit.object != wall) {
            other = hit.object;
            otherVertex = hit.vertexHit ? hit.vertexA : nullptr;
            otherOnVertex = otherVertex != nullptr;
            break;
        }
        // The own other end: only an open chain that keeps three points once closed.
        if (!ownOtherEnd && hit.vertexHit && hit.vertexA && !wall->closed &&
            CountVertexChain(wall) >= 4) {
            PlanVertex* v = hit.vertexA;
            if (v == dragged && v == wall->firstVertex) {
                PlanVertex* last = LastVertexOf(wall);
                if (HitTestVertexHandle(last, &probe))
                    ownOtherEnd = last;
            } else if (v != dragged && (!v->previous || !v->next)) {
                ownOtherEnd = v;
            }
        }
    }
    settings->pickTolerance = tolerance;

    if (otherOnVertex) {
        if (!wall->closed && !other->closed && (!otherVertex->previous || !otherVertex->next)) {
            MergeWallsAtEnds(wall, dragged, other, otherVertex);
            // Whichever wall survived, the move cannot be taken back any more.
            undoAvailable = 0;
            planMouseState.object = nullptr;
            state.draggedObject = nullptr;
            state.draggedVertex = nullptr;
        }
        InvalidatePlanView();
        return;
    }
    if (ownOtherEnd) {
        PlanVertex* first = wall->firstVertex;
        PlanVertex* last = LastVertexOf(wall);
        if (ownOtherEnd == last && dragged == first) {
            for (int i = 0; i < 3; ++i)
                first->position[i] = last->position[i];
            ReparentWallOpenings(wall, last, first, wall);
            DropLastVertex(wall, last);
        } else if (ownOtherEnd == first && dragged == last) {
            ReparentWallOpenings(wall, last, first, wall);
            DropLastVertex(wall, last);
            state.draggedVertex = nullptr;
        }
        wall->closed = 1;
        undoAvailable = 0;
        planMouseState.object = nullptr;
    } else if (neighbour &&
               Distance2D(dragged->position[0], dragged->position[2], neighbour->position[0],
                          neighbour->position[2]) < kPutBackReach) {
        for (int i = 0; i < 3; ++i) {
            dragged->position[i] = state.savedEnd[i];
            neighbour->position[i] = state.savedNeighbour[i];
        }
        undoAvailable = 0;
    }
    RebuildWall(wall);
    FitWallOpenings(wall);
    RebuildObject3D(wall);
    InvalidatePlanView();
}

void Release(PlanObject* object)
{
    PlanDocument* document = activeDocument;
    PlanSettings* settings = document->settings;
    float* p = planMouseState.drag.start;
    float* q = planMouseState.drag.current;
    const bool moved = p[0] != q[0] || p[1] != q[1] || p[2] != q[2];
    if (moved) {
        if (state.endDrag && state.neighbourVertex &&
            Distance2D(q[0], q[2], state.neighbourVertex->position[0], state.neighbourVertex->position[2]) <
                kDropReach) {
            q[0] = p[0];
            q[2] = p[2];
        }
        undoAvailable = 1;
        TransformRecord record = {};
        for (int i = 0; i < 3; ++i)
            record.offset[i] = q[i] - p[i];
        if (state.ctrlDrag) {
            record.offset[0] = 0.0f;
            record.offset[2] = 0.0f;
        }
        if (state.lockInForce) {
            int a1, a2;
            PlaneAxes(settings->viewPlane, &a1, &a2);
            if (std::fabs(record.offset[a1]) <= std::fabs(record.offset[a2]))
                record.offset[a1] = 0.0f;
            else
                record.offset[a2] = 0.0f;
        }
        // The undo moves back by what was applied.
        for (int i = 0; i < 3; ++i)
            planMouseState.dragEnd[i] = p[i] + record.offset[i];
        HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        ForEachFloorObject(document->firstFloor, 1, MoveBy, &record);
        if (settings->snapToGrid && IsWall(object))
            ForEachFloorObject(document->firstFloor, 1, SnapPointsToGrid, nullptr);
        SetCursor(previous);
        InvalidatePlanView();
    }
    dragFeedbackActive = 0;
    ReleaseToolCapture();
    if (object->type == ObjDrawingElement && object->subType == kWiringKind)
        RecomputeObject(object);
    if (returnToWallTool) {
        currentToolId = kWallToolId;
        returnToWallTool = 0;
    }
    if (state.ctrlDrag)
        settings->viewPlane = state.savedViewPlane;
    if (state.endDrag && state.neighbourVertex && state.draggedVertex && state.draggedObject &&
        IsWall(object) && document->currentFloor)
        DropWallEnd(object);
    if (state.endDrag) {
        ShowLengthReadout(0.0f);
        state.endDrag = false;
        state.neighbourVertex = nullptr;
    }
}

// Doors, windows, deck steps, wall elements and freehand-roof handles run their own
// drags at the press.
bool RunOwnTracker(PlanObject* object, float x, float y, int16_t event)
{
    switch (object->type) {
    case ObjDoor:
    case ObjWindow:
        if (event == kToolPress) {
            TrackWallOpeningDrag(x, y, kToolPress);
            ReleaseToolCapture();
        }
        return true;
    case ObjDeckSteps:
        if (event == kToolPress) {
            TrackKind53Drag(x, y, kToolPress);
            if (object->owner) {
                RebuildDeck(object->owner);
                RebuildObject3D(object->owner);
            }
            ReleaseToolCapture();
        }
        return true;
    case ObjWallElement:
        if (event == kToolPress) {
            TrackWallElementDrag();
            ReleaseToolCapture();
        }
        return true;
    case ObjFreehandRoofPart:
        if (event == kToolPress) {
            DragFreehandRoofArrow();
            ReleaseToolCapture();
        }
        return true;
    default:
        return false;
    }
}

}  // namespace

void DragSelection(float x, float y, float, int16_t event)
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings)
        return;
    dragFeedbackActive = 1;
    PlanObject* object = planMouseState.object;
    if (!object) {
        if (event == kToolRelease) {
            dragFeedbackActive = 0;
            ReleaseToolCapture();
        }
        return;
    }
    if (RunOwnTracker(object, x, y, event)) {
        if (event != kToolPress)
            dragFeedbackActive = 0;
        return;
    }
    if (event == kToolPress)
        Press(object);
    float d1 = 0.0f, d2 = 0.0f;
    ApplyLimits(object, &d1, &d2);
    float shift[3] = {0.0f, 0.0f, 0.0f};
    for (int i = 0; i < 3; ++i)
        shift[i] = planMouseState.drag.current[i] - planMouseState.drag.start[i];
    DrawFeedback(object, event, shift);
    if (event == kToolRelease)
        Release(object);
}
