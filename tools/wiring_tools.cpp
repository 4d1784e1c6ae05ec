#include "tools/wiring_tools.h"
#include <cmath>
#include <cstdio>
#include "model/object_extents.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/view_projection.h"
#include "planview/dimension_lines.h"
#include "planview/input_gdi.h"
#include "planview/labels_and_fills.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "tools/arc_tools.h"
#include "tools/drawing_elements.h"
#include "tools/marquee.h"
#include "tools/plan_mouse_state.h"
#include "tools/point_mapping.h"
#include "tools/shape_tools.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"
#include "tools/undo.h"

namespace {

const uint16_t kPlanView = 2;
const float kQuarterSweep = -90.0f;
const double kDegreesPerRadian = 57.29577951308232;
const uint32_t kWiringShape = 112;
const uint32_t kElectricalCategory = 4;
const uint32_t kGardenCategory = 128;
// The spray-angle label stands this far above the sprinkler (plan z).
const float kLabelRise = 15.0f;
const float kRadiusDimensionOffset = 5.0f;

int16_t RoundTo16(float value)
{
    return static_cast<int16_t>(static_cast<int32_t>(value + 0.5f));
}

// The object made by a creation gesture becomes the one the undo takes back.
void MakePending(PlanObject* object)
{
    if (!object)
        return;
    pendingObject = object;
    undoAvailable = 1;
    InvalidatePlanView();
}

// The sprinkler's throw circle and radius from s to p, with the live radius dimension.
void DrawThrow(HDC dc, const float* s, const float* p, float box[4])
{
    const float r = Distance2D(s[0], s[2], p[0], p[2]);
    int32_t rect[4];
    ComputeBoxFromCorners(s[0], s[2], s[0] + r, s[2] + r, box, rect, 0, 1);
    uint32_t count = 0;
    ComputeArcPoints(dc, box, 0.0f, 360.0f, kPlanView, s[1], nullptr, nullptr, nullptr, 1, &count, 0);
    float x1 = s[0], y1 = s[1], z1 = s[2], x2 = p[0], y2 = p[1], z2 = p[2];
    ProjectSegmentToView(&x1, &y1, &z1, &x2, &y2, &z2, perspectiveOn);
    MoveTo16(dc, RoundTo16(x1), RoundTo16(y1));
    LineTo(dc, RoundTo16(x2), RoundTo16(y2));
    halfInchToggle = 1;
    DrawDimensionLine(dc, s[0], s[2], p[0], p[2], s[0], s[2], p[0], p[2], 0, kRadiusDimensionOffset,
                      1, nullptr, nullptr, 0, 0, kRadiusDimensionOffset, 0, nullptr);
}

// The arc of the spray angle to the current point with its label; a second call with the
// same point and Shift state erases both.
float DrawSprayPreview(HDC dc, const float* s, const float* first, const float* current,
                       float startAngle, float radius)
{
    const float sweep = DrawArcPreviewXor(s[0], s[2], first[0], first[1], current[0], current[1],
                                          startAngle, radius);
    char label[32];
    FormatSprayAngle(sweep, label, sizeof label);
    DrawTextLabel(dc, label, s[0], s[2] - kLabelRise, 0.0f);
    return sweep;
}

// The angle phase: the preview follows the pointer until a left press (or a press off the
// pane, left for its own work). Returns the sweep.
float TrackSprayAngle(HDC dc, const float* s, const float* first, float startAngle, float radius)
{
    float current[2] = {first[0], first[1]};
    // Until the pointer moves there is no angle: a click then makes nothing.
    float sweep = 0.0f;
    DrawSprayPreview(dc, s, first, current, startAngle, radius);
    // From the drag's end, the first read of the pointer a move (as the dimension's).
    POINT previousCursor = ProjectToPane(planMouseState.dragEnd);
    POINT cursor = GetCursorLogicalPos();
    // A press on the pane places where it was made; one elsewhere leaves it as it stands.
    for (bool placed = false, looked = false; !placed; looked = true) {
        if (!FollowPointer(&cursor, &previousCursor, looked, &placed))
            continue;
        float point[3] = {0.0f, 0.0f, 0.0f};
        MapPlanPointToModel(cursor.x, cursor.y, &point[0], &point[1], &point[2], 1, nullptr, 1);
        const float next[2] = {RoundWhole(point[0]), RoundWhole(point[2])};
        DrawSprayPreview(dc, s, first, current, startAngle, radius);
        RecordShiftKey();
        sweep = DrawSprayPreview(dc, s, first, next, startAngle, radius);
        current[0] = next[0];
        current[1] = next[1];
    }
    DrawSprayPreview(dc, s, first, current, startAngle, radius);
    return sweep;
}

PlanObject* MakeSprinkler(HDC dc, PlanDocument* document, const float* s, const float box[4],
                          float startDegrees, float sweep)
{
    PointArrays arrays;
    uint32_t count = 0;
    if (sweep == 0.0f ||
        !MakeArcArrays(dc, box, startDegrees, sweep, kPlanView, s[1], &arrays, &count))
        return nullptr;
    PlanObject* sprinkler =
        CreateSurfaceFromArrays(arrays.items[0], nullptr, arrays.items[1], arrays.items[2], nullptr,
                                nullptr, static_cast<int32_t>(count), document->currentFloor, 1);
    if (!sprinkler)
        return nullptr;
    PlanVertex* centre = NewVertexNode(1, 1, 0, 0.0f, 0.0f, 0.0f, s[0], s[1], s[2], 0.0f, 0.0f,
                                       0.0f, 0.0f, 0.0f, 0.0f, sprinkler);
    if (!centre) {
        FreeObject(sprinkler);
        return nullptr;
    }
    AddObjectPoint(centre, sprinkler);
    ResetExtentRect(sprinkler->box2D);
    GetObjectExtents2D(sprinkler, 0, sprinkler->box2D, 0, 0);
    ResetExtentBox(sprinkler->box3D);
    GetObjectExtents3D(sprinkler, 0, sprinkler->box3D, 0);
    sprinkler->type = ObjSprinkler;
    sprinkler->category = kGardenCategory;
    sprinkler->closed = 1;
    sprinkler->parameters[0] = std::fabs(sweep);
    return sprinkler;
}

}  // namespace

void FormatSprayAngle(float sweepDegrees, char* text, int size)
{
    // "\xBA" is the degree sign of the resources' code page.
    snprintf(text, static_cast<size_t>(size), "%0.0f\xBA", std::fabs(static_cast<double>(sweepDegrees)));
}

void HandleWiringTool(int32_t, int32_t, float x, float, float z, int16_t event)
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings)
        return;
    PlanPaneDC pane;
    const float* s = planMouseState.dragStart;
    float box[4];
    float start = 0.0f;
    ComputeQuarterArcBox(static_cast<int16_t>(planMouseState.modifiers), s[0], s[2], x, z, box, &start);
    uint32_t count = 0;
    if (pane.dc)
        ComputeArcPoints(pane.dc, box, start, kQuarterSweep, kPlanView, s[1], nullptr, nullptr,
                         nullptr, 1, &count, 0);
    if (event != kToolRelease)
        return;
    if (pane.dc && document->currentFloor && !SameWholePoint(planMouseState.dragEnd, s)) {
        PointArrays arrays;
        if (MakeArcArrays(pane.dc, box, start, kQuarterSweep, kPlanView, s[1], &arrays, &count)) {
            PlanObject* wire =
                CreateSurfaceFromArrays(arrays.items[0], nullptr, arrays.items[1], arrays.items[2],
                                        nullptr, nullptr, static_cast<int32_t>(count),
                                        document->currentFloor, 1);
            if (wire) {
                wire->type = ObjDrawingElement;
                wire->subType = kWiringShape;
                wire->category = kElectricalCategory;
            }
            MakePending(wire);
        }
    }
    ReleaseToolCapture();
}

void HandleSprinklerTool(int32_t, int32_t, float x, float y, float z, int16_t event)
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings)
        return;
    PlanPaneDC pane;
    if (!pane.dc) {
        if (event == kToolRelease)
            ReleaseToolCapture();
        return;
    }
    const float* s = planMouseState.dragStart;
    const float p[3] = {x, y, z};
    float box[4];
    DrawThrow(pane.dc, s, p, box);
    if (event != kToolRelease)
        return;
    // A click sets no radius: there is no angle to ask for.
    if (document->currentFloor && !SameWholePoint(planMouseState.dragEnd, s)) {
        float distance = 0.0f;
        const float startAngle = AngleBetweenPoints(RoundWhole(s[0]), RoundWhole(s[2]),
                                                    RoundWhole(p[0]), RoundWhole(p[2]), &distance);
        const float first[2] = {RoundWhole(p[0]), RoundWhole(p[2])};
        const float radius = Distance2D(s[0], s[2], p[0], p[2]);
        const float sweep = TrackSprayAngle(pane.dc, s, first, startAngle, radius);
        MakePending(MakeSprinkler(pane.dc, document, s, box,
                                  static_cast<float>(startAngle * kDegreesPerRadian), sweep));
    }
    ReleaseToolCapture();
}
