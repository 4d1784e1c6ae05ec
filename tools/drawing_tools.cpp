#include "tools/drawing_tools.h"
#include <cmath>
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "planview/input_gdi.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "tools/cad_builders.h"
#include "tools/drawing_elements.h"
#include "tools/plan_mouse_state.h"
#include "tools/point_mapping.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"

namespace {

const double kPi = 3.14159265358979323846;
const uint32_t kPolygonShape = 3;
const uint32_t kMultigonShape = 4;
const uint32_t kLineShape = 6;
const uint32_t kCurveShape = 7;
const int16_t kCurveToolId = 7707;
// As many corners as the regular-polygon builder makes at most.
const int32_t kMostMultigonCorners = 1000;
// How near (pane units) the finishing click must come to the first corner to close the
// outline when the snap is off.
const float kClosingReach = 10.0f;

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

void DrawLine3(HDC dc, const float* p, const float* q)
{
    if (dc)
        DrawWorldLine(dc, p[0], p[1], p[2], q[0], q[1], q[2], 0);
}

// The line's two ends for the current point: Shift keeps it along one axis of the view
// plane, the centre-drawing flag makes the press its middle.
void LineEnds(const PlanSettings* settings, const float* q, float* start, float* end)
{
    const uint16_t plane = settings->viewPlane;
    const float* p = planMouseState.dragStart;
    float sA, sB, eA, eB;
    ToViewPlane(plane, p, &sA, &sB);
    ToViewPlane(plane, q, &eA, &eB);
    if (ShiftHeld()) {
        if (std::fabs(eA - sA) <= std::fabs(eB - sB))
            eA = sA;
        else
            eB = sB;
    }
    if (settings->centreDrawing) {
        sA -= eA - sA;
        sB -= eB - sB;
    }
    FromViewPlane(plane, sA, sB, p, start);
    FromViewPlane(plane, eA, eB, p, end);
}

int32_t MultigonCorners(const PlanSettings* settings)
{
    const int32_t sides = static_cast<int16_t>(settings->multigonSides);
    return sides > kMostMultigonCorners ? kMostMultigonCorners : sides;
}

// What a reported click or key does to the placement.
enum class Outcome { GoOn, Finish, Cancel };

// The polygon or curve being placed: a real outline on the current floor that grows with
// every click, until a finishing message; Escape before a second corner leaves it.
class PolygonPlacement {
public:
    PolygonPlacement(HDC dc, PlanSettings* settings, bool curve, POINT start)
        : dc(dc), settings(settings), curve(curve), start(start)
    {
    }
    // The element made, or null.
    PlanObject* Run(const float* first);
    // Ended by a press elsewhere, which is left queued for its own work.
    bool endedElsewhere = false;

private:
    PlanObject* Build(const float* point, int mode);
    void TrackPointer(POINT cursor);
    void DrawOutline();
    Outcome Take(const MSG& message, POINT cursor);
    Outcome LeaveForElsewhere();
    float ClosingTolerance() const;
    void CloseOnFirstCorner();
    PlanObject* MakeElement();

    HDC dc;
    PlanSettings* settings;
    bool curve;
    POINT start;
    PlanObject* outline = nullptr;
    float last[3] = {};
    float pointer[3] = {};
};

PlanObject* PolygonPlacement::Build(const float* point, int mode)
{
    PlanFloor* floor = activeDocument->currentFloor;
    if (curve)
        return BuildCadCurve(outline, point[0], point[1], point[2], floor, mode, 1, settings->viewPlane);
    return BuildCadPolyline(outline, point[0], point[1], point[2], floor, mode, 1);
}

void PolygonPlacement::TrackPointer(POINT cursor)
{
    RecordShiftKey();
    float point[3] = {0.0f, 0.0f, 0.0f};
    MapPlanPointToModel(cursor.x, cursor.y, &point[0], &point[1], &point[2], 1, nullptr, 1);
    ClampPlanPoint(last, point);
    if (ShiftHeld()) {
        // Only the coordinate that moved farther from the last corner follows the pointer.
        const uint16_t plane = settings->viewPlane;
        float lA, lB, pA, pB;
        ToViewPlane(plane, last, &lA, &lB);
        ToViewPlane(plane, point, &pA, &pB);
        if (std::fabs(pA - lA) >= std::fabs(pB - lB))
            pB = lB;
        else
            pA = lA;
        FromViewPlane(plane, pA, pB, point, point);
    }
    DrawLine3(dc, last, pointer);
    PostPointerMoveToPane(cursor);
    DrawLine3(dc, last, point);
    for (int i = 0; i < 3; ++i)
        pointer[i] = point[i];
}

void PolygonPlacement::DrawOutline()
{
    if (!dc || !activePlanPane)
        return;
    RECT client;
    GetClientRect(activePlanPane, &client);
    DPtoLP(dc, reinterpret_cast<POINT*>(&client), 2);
    DrawPlanObject(dc, outline, &client, DrawAllObjects, nullptr);
}

float PolygonPlacement::ClosingTolerance() const
{
    if (!settings->snapToGrid)
        return kClosingReach;
    const float step = settings->snapStepX < settings->snapStepY ? settings->snapStepX
                                                                   : settings->snapStepY;
    return UnitsToPlanLength(step, settings, 0) + 1.0f;
}

// The corner placed on the first one goes: the outline closes over it. Its last segment,
// drawn as the outline grew, is painted over in the paper's white.
void PolygonPlacement::CloseOnFirstCorner()
{
    PlanVertex* removed = outline->firstVertex;
    while (removed->next)
        removed = removed->next;
    PlanVertex* before = removed->previous;
    if (dc) {
        HPEN white = CreatePen(PS_SOLID, 0, RGB(255, 255, 255));
        if (white)
            SelectObject(dc, white);
        const int previousMode = SetROP2(dc, R2_COPYPEN);
        DrawObjectSegment(dc, outline, before, removed, DrawAllObjects, nullptr);
        SetROP2(dc, previousMode);
        SelectObject(dc, GetStockObject(BLACK_PEN));
        if (white)
            DeleteObject(white);
    }
    before->next = nullptr;
    ReleaseRecord(removed);
    outline->vertexCount = static_cast<uint32_t>(CountVertexChain(outline));
    outline->type = 8;
    outline->closed = 1;
}

Outcome PolygonPlacement::Take(const MSG& message, POINT cursor)
{
    if (message.message == WM_KEYDOWN && message.wParam == VK_SHIFT)
        return Outcome::GoOn;
    DrawLine3(dc, last, pointer);
    const float d = Distance2D(static_cast<float>(cursor.x), static_cast<float>(cursor.y),
                               static_cast<float>(start.x), static_cast<float>(start.y));
    const int32_t corners = CountVertexChain(outline);
    // Escape before a second corner is the way out, also where every point lands on the
    // same corner (a view scrolled off the plan); any other key adds the point.
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE && corners < 2)
        return Outcome::Cancel;
    if (message.message == WM_LBUTTONDOWN || corners < 2) {
        if (pointer[0] != last[0] || pointer[1] != last[1] || pointer[2] != last[2]) {
            Build(pointer, kCadAppend);
            for (int i = 0; i < 3; ++i)
                last[i] = pointer[i];
            DrawOutline();
        }
        return Outcome::GoOn;
    }
    outline->type = 9;
    outline->closed = 0;
    // Closing must leave a polygon: a finish on the first corner with fewer than three
    // other corners keeps the outline open as it stands.
    if (d < ClosingTolerance() && corners >= 4)
        CloseOnFirstCorner();
    Build(pointer, kCadFinish);
    return Outcome::Finish;
}

// A press off the pane ends the outline as it stands, open, without the pointer's point:
// kept from two corners on, as a finish would keep it.
Outcome PolygonPlacement::LeaveForElsewhere()
{
    endedElsewhere = true;
    DrawLine3(dc, last, pointer);
    if (CountVertexChain(outline) < 2)
        return Outcome::Cancel;
    outline->type = 9;
    outline->closed = 0;
    Build(last, kCadFinish);
    return Outcome::Finish;
}

PlanObject* PolygonPlacement::MakeElement()
{
    const int32_t count = CountVertexChain(outline);
    PointArrays arrays;
    if (count < 2 || !arrays.Allocate(count, 3))
        return nullptr;
    ChainToPointArrays(outline, arrays.items[0], arrays.items[1], arrays.items[2], count);
    PlanObject* element = MakeDrawingElement(arrays.items[0], arrays.items[1], arrays.items[2],
                                             count, curve ? kCurveShape : kPolygonShape,
                                             outline->closed);
    if (element)
        FreeObject(outline);
    return element;
}

PlanObject* PolygonPlacement::Run(const float* first)
{
    for (int i = 0; i < 3; ++i) {
        last[i] = first[i];
        pointer[i] = first[i];
    }
    outline = Build(first, kCadStart);
    if (!outline)
        return nullptr;
    POINT previousCursor = GetCursorLogicalPos();
    for (;;) {
        MSG message;
        const LoopClick click = PeekLoopClickOrKey(activePlanPane, &message);
        if (click == LoopClick::ScrollBar) {
            // The plan scrolls with the placement going on: the pane is painted at its
            // new origin with the outline so far, and the rubber line drawn again there.
            DrawLine3(dc, last, pointer);
            DispatchLoopPress(activePlanPane, message);
            DrawLine3(dc, last, pointer);
            continue;
        }
        if (click != LoopClick::None) {
            // A corner is put where its press was made.
            POINT at;
            if (click == LoopClick::Here && LoopClickPoint(activePlanPane, message, &at) &&
                (at.x != previousCursor.x || at.y != previousCursor.y)) {
                previousCursor = at;
                TrackPointer(at);
            }
            const Outcome outcome = click == LoopClick::Here ? Take(message, previousCursor) : LeaveForElsewhere();
            if (outcome == Outcome::Cancel) {
                // Nothing is made; the repaint clears what the placement drew.
                UnlinkObject(outline);
                FreeObject(outline);
                InvalidatePlanView();
                return nullptr;
            }
            if (outcome == Outcome::Finish)
                break;
            continue;
        }
        const POINT cursor = GetCursorLogicalPos();
        if (cursor.x == previousCursor.x && cursor.y == previousCursor.y && !ShiftKeyToggled())
            continue;
        previousCursor = cursor;
        TrackPointer(cursor);
    }
    return MakeElement();
}


}  // namespace

void HandleLineTool(int32_t, int32_t, float x, float y, float z, int16_t event)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings)
        return;
    const float q[3] = {x, y, z};
    float start[3], end[3];
    LineEnds(settings, q, start, end);
    {
        PlanPaneDC pane;
        DrawLine3(pane.dc, start, end);
    }
    if (event != kToolRelease)
        return;
    PlanObject* element = nullptr;
    if (!SameWholePoint(planMouseState.dragStart, planMouseState.dragEnd)) {
        const Point3f points[2] = {{start[0], start[1], start[2]}, {end[0], end[1], end[2]}};
        const Point3f zero[2] = {};
        element = MakeDrawingElement(points, zero, zero, 2, kLineShape, 0);
    }
    CompleteCreation(element);
}

void HandleMultigonTool(int32_t, int32_t, float x, float y, float z, int16_t event)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings)
        return;
    const uint16_t plane = settings->viewPlane;
    const float* p = planMouseState.dragStart;
    const int32_t corners = MultigonCorners(settings);
    const float q[3] = {x, y, z};
    float pA, pB, qA, qB;
    ToViewPlane(plane, p, &pA, &pB);
    ToViewPlane(plane, q, &qA, &qB);
    if (corners >= 3) {
        PlanPaneDC pane;
        float r = 0.0f;
        const double startAngle = AngleBetweenPoints(pA, pB, qA, qB, &r);
        const double step = 2.0 * kPi / corners;
        float first[3] = {}, previous[3] = {};
        for (int32_t i = 1; i <= corners; ++i) {
            float dA = 0.0f, dB = 0.0f;
            OffsetPointPolar(static_cast<float>(startAngle + i * step), r, &dA, &dB);
            float corner[3];
            FromViewPlane(plane, pA + dA, pB + dB, p, corner);
            if (i == 1) {
                for (int k = 0; k < 3; ++k)
                    first[k] = corner[k];
            } else {
                DrawLine3(pane.dc, previous, corner);
            }
            for (int k = 0; k < 3; ++k)
                previous[k] = corner[k];
        }
        DrawLine3(pane.dc, previous, first);
    }
    if (event != kToolRelease)
        return;
    PlanObject* element = nullptr;
    PlanFloor* floor = activeDocument->currentFloor;
    if (corners >= 3 && floor && !SameWholePoint(p, planMouseState.dragEnd)) {
        float eA, eB;
        ToViewPlane(plane, planMouseState.dragEnd, &eA, &eB);
        PlanObject* polygon = BuildCadRegularPolygon(pA, pB, eA, eB, floor, corners, 1,
                                                     ThirdCoordinate(plane, p));
        const int32_t count = CountVertexChain(polygon);
        PointArrays arrays;
        if (polygon && count >= 3 && arrays.Allocate(count, 3)) {
            // The builder works in (a, b, third) as x, y, z: back into the view plane.
            int32_t i = 0;
            for (PlanVertex* v = polygon->firstVertex; v && i < count; v = v->next, ++i) {
                float corner[3];
                const float third[3] = {v->position[2], v->position[2], v->position[2]};
                FromViewPlane(plane, v->position[0], v->position[1], third, corner);
                arrays.items[0][i] = {corner[0], corner[1], corner[2]};
            }
            element = MakeDrawingElement(arrays.items[0], arrays.items[1], arrays.items[2], count,
                                         kMultigonShape, 1);
        }
        if (polygon)
            FreeObject(polygon);
    }
    CompleteCreation(element);
}

void HandlePolygonTool(int32_t windowX, int32_t windowY, float x, float y, float z, int16_t event)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings || event != kToolRelease)
        return;
    PlanObject* element = nullptr;
    if (activeDocument->currentFloor) {
        PlanPaneDC pane;
        const float first[3] = {x, y, z};
        const POINT start = {windowX, windowY};
        PolygonPlacement placement(pane.dc, settings, currentToolId == kCurveToolId, start);
        element = placement.Run(first);
        // No double click ended it there: the press must reach its window.
        if (!placement.endedElsewhere)
            SwallowInputForDoubleClickTime();
    }
    CompleteCreation(element);
}
