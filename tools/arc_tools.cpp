#include "tools/arc_tools.h"
#include <cmath>
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "planview/input_gdi.h"
#include "planview/output_routing.h"
#include "tools/drawing_elements.h"
#include "tools/plan_mouse_state.h"
#include "tools/point_mapping.h"
#include "tools/shape_tools.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"

namespace {

const double kPi = 3.14159265358979323846;
const double kDegreesPerRadian = 57.29577951308232;
const float kQuarterSweep = -90.0f;
const uint32_t kArcShape = 5;

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

// A line between two view-plane points, the third coordinate from the drag start.
void DrawPlaneLine(HDC dc, uint16_t plane, float a1, float b1, float a2, float b2)
{
    float p[3], q[3];
    FromViewPlane(plane, a1, b1, planMouseState.dragStart, p);
    FromViewPlane(plane, a2, b2, planMouseState.dragStart, q);
    DrawWorldLine(dc, p[0], p[1], p[2], q[0], q[1], q[2], 0);
}

void CircleBox(float centreA, float centreB, float radius, float box[4])
{
    box[0] = centreB - radius;
    box[1] = centreA - radius;
    box[2] = centreB + radius;
    box[3] = centreA + radius;
}

// The element of an arc in the box; nothing for a click or without a current floor.
void CreateArcElement(HDC dc, const float box[4], float startDegrees, float sweepDegrees)
{
    PlanSettings* settings = ActiveSettings();
    PlanObject* element = nullptr;
    if (settings && !SameWholePoint(planMouseState.dragStart, planMouseState.dragEnd)) {
        const uint16_t plane = settings->viewPlane;
        PointArrays arrays;
        uint32_t count = 0;
        if (MakeArcArrays(dc, box, startDegrees, sweepDegrees, plane,
                          ThirdCoordinate(plane, planMouseState.dragStart), &arrays, &count))
            element = MakeDrawingElement(arrays.items[0], arrays.items[1], arrays.items[2],
                                         static_cast<int32_t>(count), kArcShape, 0);
    }
    CompleteCreation(element);
}

void QuarterArcTool(HDC dc, const PlanSettings* settings, const float* q, int16_t event)
{
    const uint16_t plane = settings->viewPlane;
    float sA, sB, qA, qB;
    ToViewPlane(plane, planMouseState.dragStart, &sA, &sB);
    ToViewPlane(plane, q, &qA, &qB);
    float box[4];
    float start = 0.0f;
    ComputeQuarterArcBox(static_cast<int16_t>(planMouseState.modifiers), sA, sB, qA, qB, box, &start);
    uint32_t count = 0;
    const float third = ThirdCoordinate(plane, planMouseState.dragStart);
    ComputeArcPoints(dc, box, start, kQuarterSweep, plane, third, nullptr, nullptr, nullptr, 1,
                     &count, 0);
    if (event == kToolRelease)
        CreateArcElement(dc, box, start, kQuarterSweep);
}

// The second phase of the circular arc: the preview follows the pointer until a left
// press (or a press off the pane, left for its own work); right presses and keys change nothing. Returns the last sweep (0 when the
// pointer never moved).
float TrackArcEnd(const float* centre, const float* first, float startAngle, float radius)
{
    PlanSettings* settings = ActiveSettings();
    const uint16_t plane = settings->viewPlane;
    float current[2] = {first[0], first[1]};
    // Until the pointer moves there is no arc to make, whatever the preview shows.
    float sweep = 0.0f;
    DrawArcPreviewXor(centre[0], centre[1], first[0], first[1], current[0], current[1], startAngle,
                      radius);
    // From the drag's end, the first read of the pointer a move (as the dimension's).
    POINT previousCursor = ProjectToPane(planMouseState.dragEnd);
    POINT cursor = GetCursorLogicalPos();
    // A press on the pane places where it was made; one elsewhere leaves it as it stands.
    for (bool placed = false, looked = false; !placed; looked = true) {
        if (!FollowPointer(&cursor, &previousCursor, looked, &placed))
            continue;
        float point[3] = {0.0f, 0.0f, 0.0f};
        MapPlanPointToModel(cursor.x, cursor.y, &point[0], &point[1], &point[2], 1, nullptr, 1);
        RoundPoint(point, point);
        float next[2];
        ToViewPlane(plane, point, &next[0], &next[1]);
        DrawArcPreviewXor(centre[0], centre[1], first[0], first[1], current[0], current[1],
                          startAngle, radius);
        PostPointerMoveToPane(cursor);
        RecordShiftKey();
        sweep = DrawArcPreviewXor(centre[0], centre[1], first[0], first[1], next[0], next[1],
                                  startAngle, radius);
        current[0] = next[0];
        current[1] = next[1];
    }
    DrawArcPreviewXor(centre[0], centre[1], first[0], first[1], current[0], current[1], startAngle,
                      radius);
    return sweep;
}

void CircularArcTool(HDC dc, const PlanSettings* settings, const float* q, int16_t event)
{
    const uint16_t plane = settings->viewPlane;
    float centre[2], qA, qB;
    ToViewPlane(plane, planMouseState.dragStart, &centre[0], &centre[1]);
    ToViewPlane(plane, q, &qA, &qB);
    const float r = Distance2D(centre[0], centre[1], qA, qB);
    float box[4];
    CircleBox(centre[0], centre[1], r, box);
    uint32_t count = 0;
    const float third = ThirdCoordinate(plane, planMouseState.dragStart);
    ComputeArcPoints(dc, box, 0.0f, 360.0f, plane, third, nullptr, nullptr, nullptr, 1, &count, 0);
    DrawPlaneLine(dc, plane, centre[0], centre[1], qA, qB);
    if (event != kToolRelease)
        return;
    if (SameWholePoint(planMouseState.dragStart, planMouseState.dragEnd)) {
        CompleteCreation(nullptr);
        return;
    }
    float pressed[3], released[3];
    RoundPoint(planMouseState.dragStart, pressed);
    RoundPoint(planMouseState.dragEnd, released);
    float pA, pB, first[2];
    ToViewPlane(plane, pressed, &pA, &pB);
    ToViewPlane(plane, released, &first[0], &first[1]);
    float radius = 0.0f;
    const float startAngle = AngleBetweenPoints(pA, pB, first[0], first[1], &radius);
    const float sweep = TrackArcEnd(centre, first, startAngle, radius);
    CircleBox(centre[0], centre[1], radius, box);
    CreateArcElement(dc, box, static_cast<float>(startAngle * kDegreesPerRadian), sweep);
}

}  // namespace

float DrawArcPreviewXor(float centreA, float centreB, float firstA, float firstB, float currentA,
                        float currentB, float startAngle, float radius)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings)
        return 0.0f;
    PlanPaneDC pane;
    const uint16_t plane = settings->viewPlane;
    float box[4];
    CircleBox(centreA, centreB, radius, box);
    float distance = 0.0f;
    double endAngle = AngleBetweenPoints(centreA, centreB, currentA, currentB, &distance);
    double startDegrees = startAngle * kDegreesPerRadian;
    if (startDegrees < 0.0)
        startDegrees += 360.0;
    float dA = 0.0f, dB = 0.0f;
    OffsetPointPolar(static_cast<float>(endAngle), radius, &dA, &dB);
    double begin = startAngle;
    if (begin > kPi)
        begin -= 2.0 * kPi;
    if (endAngle > kPi)
        endAngle -= 2.0 * kPi;
    double sweep = (endAngle - begin) * kDegreesPerRadian;
    if (sweep < 0.0)
        sweep += 360.0;
    if (!ShiftHeld())
        sweep -= 360.0;
    if (pane.dc) {
        uint32_t count = 0;
        ComputeArcPoints(pane.dc, box, static_cast<float>(startDegrees), static_cast<float>(sweep),
                         plane, ThirdCoordinate(plane, planMouseState.dragStart), nullptr, nullptr,
                         nullptr, 1, &count, 0);
        DrawPlaneLine(pane.dc, plane, centreA, centreB, centreA + dA, centreB + dB);
        DrawPlaneLine(pane.dc, plane, centreA, centreB, firstA, firstB);
    }
    return static_cast<float>(sweep);
}

void HandleArcTool(int32_t, int32_t, float x, float y, float z, int16_t event, int16_t toolId)
{
    PlanSettings* settings = ActiveSettings();
    if (!settings)
        return;
    PlanPaneDC pane;
    const float q[3] = {x, y, z};
    if (!pane.dc) {
        if (event == kToolRelease)
            CompleteCreation(nullptr);
        return;
    }
    if (toolId == 7705)
        CircularArcTool(pane.dc, settings, q, event);
    else
        QuarterArcTool(pane.dc, settings, q, event);
}
