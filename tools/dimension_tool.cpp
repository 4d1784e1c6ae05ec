#include "tools/dimension_tool.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "planview/input_gdi.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "planview/selection_marks_paint.h"
#include "shell/measurement_bar.h"
#include "tools/cad_builders.h"
#include "tools/drawing_elements.h"
#include "tools/plan_mouse_state.h"
#include "tools/point_mapping.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"

namespace {

const float kHalfPi = 1.5707963267948966f;
const float kSideProbe = 100.0f;
const float kExtensionGap = 5.0f;
const float kExtensionOvershoot = 7.0f;
// Shorter measures make no dimension.
const float kShortestMeasure = 6.0f;

int16_t Round16(float value)
{
    return static_cast<int16_t>(static_cast<int32_t>(value + 0.5f));
}

void DrawPreview(POINT a, POINT b, POINT c)
{
    DrawDimensionPreview(a.x, a.y, b.x, b.y, c.x, c.y, 0, 0);
}

// The second phase: the dimension line follows the pointer until a left press (or a
// press off the pane, left for its own work); right presses, double clicks and keys
// change nothing. Returns the model point of the last
// placement (the drag end when the pointer never moved).
void PlaceDimensionLine(POINT a, POINT b, float* offset)
{
    POINT c = b;
    DrawPreview(a, b, c);
    // The preview starts at the drag's end and the first read of the pointer is a move from
    // there: a loop that a busy machine starts late, with the pointer gone on and a press
    // elsewhere already queued, still follows the pointer to where it went.
    POINT previousCursor = b;
    POINT cursor = GetCursorLogicalPos();
    // A press on the pane places where it was made; one elsewhere leaves it as it stands.
    for (bool placed = false, looked = false; !placed; looked = true) {
        if (!FollowPointer(&cursor, &previousCursor, looked, &placed))
            continue;
        MapPlanPointToModel(cursor.x, cursor.y, &offset[0], &offset[1], &offset[2], 0, nullptr, 1);
        const POINT next = ProjectToPane(offset);
        DrawPreview(a, b, c);
        PostPointerMoveToPane(cursor);
        RecordShiftKey();
        DrawPreview(a, b, next);
        c = next;
    }
    DrawPreview(a, b, c);
}

void MakeDimension(PlanDocument* document, const float* first, const float* second,
                   const float* offset)
{
    PlanFloor* sheet = document->currentViewSheet;
    if (!sheet)
        return;
    const uint16_t plane = document->settings->viewPlane;
    float a1, b1, a2, b2, a3, b3;
    ToViewPlane(plane, first, &a1, &b1);
    ToViewPlane(plane, second, &a2, &b2);
    ToViewPlane(plane, offset, &a3, &b3);
    PlanObject* dimension = BuildDimensionObject(a1, b1, a2, b2, a3, b3, sheet);
    if (!dimension || !activePlanPane)
        return;
    PlanObject* shown = dimension->owner ? dimension->owner : dimension;
    HDC dc = GetDC(activePlanPane);
    if (!dc)
        return;
    RECT client;
    GetClientRect(activePlanPane, &client);
    DPtoLP(dc, reinterpret_cast<POINT*>(&client), 2);
    // The builder leaves the line marked: it selects the line, made unselected, with its
    // marks (the label, made selected, it deselects and selects again, which leaves none).
    // Grouped, the line is taken whole with its group and keeps no marks of its own: drawn
    // again before anything covers them, they go.
    if (shown != dimension)
        DrawObjectSelectionMarks(dimension, &client);
    DrawPlanObject(dc, shown, &client, DrawAllObjects, nullptr);
    ReleaseDC(activePlanPane, dc);
    DrawObjectSelectionMarks(shown, &client);
}

}  // namespace

void DrawDimensionPreview(int32_t ax, int32_t ay, int32_t bx, int32_t by, int32_t cx, int32_t cy,
                          int32_t, int32_t)
{
    const float fax = static_cast<float>(ax), fay = static_cast<float>(ay);
    const float fbx = static_cast<float>(bx), fby = static_cast<float>(by);
    const float fcx = static_cast<float>(cx), fcy = static_cast<float>(cy);
    float length = 0.0f;
    const float along = AngleBetweenPoints(fax, fay, fbx, fby, &length);
    float plusX = 0.0f, plusY = 0.0f, minusX = 0.0f, minusY = 0.0f;
    OffsetPointPolar(along + kHalfPi, kSideProbe, &plusX, &plusY);
    OffsetPointPolar(along - kHalfPi, kSideProbe, &minusX, &minusY);
    const float toPlus = Distance2D(fcx, fcy, fax + plusX, fay + plusY);
    const float toMinus = Distance2D(fcx, fcy, fax + minusX, fay + minusY);
    const float side = toPlus < toMinus ? along + kHalfPi : along - kHalfPi;
    float footX = 0.0f, footY = 0.0f;
    FindPerpendicularFoot(fax, fay, fbx, fby, fcx, fcy, &footX, &footY);
    const float d = Distance2D(fcx, fcy, footX, footY);

    float oX = 0.0f, oY = 0.0f, gX = 0.0f, gY = 0.0f, hX = 0.0f, hY = 0.0f;
    OffsetPointPolar(side, d, &oX, &oY);
    OffsetPointPolar(side, kExtensionGap, &gX, &gY);
    OffsetPointPolar(side, kExtensionOvershoot + d, &hX, &hY);
    const float g[2] = {static_cast<float>(Round16(gX)), static_cast<float>(Round16(gY))};
    const float h[2] = {static_cast<float>(Round16(hX)), static_cast<float>(Round16(hY))};
    PlanLine(Round16(fax + oX), Round16(fay + oY), Round16(fbx + oX), Round16(fby + oY), 0);
    PlanLine(Round16(fax + g[0]), Round16(fay + g[1]), Round16(fax + h[0]), Round16(fay + h[1]), 0);
    PlanLine(Round16(fbx + g[0]), Round16(fby + g[1]), Round16(fbx + h[0]), Round16(fby + h[1]), 0);
}

void HandleDimensionTool(float x, float y, float z, int16_t event)
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings)
        return;
    PlanSettings* settings = document->settings;
    const float* start = planMouseState.dragStart;
    ShowLengthReadout(PlanLengthToUnits(Distance2D(x, z, start[0], start[2]), settings, 0));
    const float point[3] = {x, y, z};
    const POINT a = ProjectToPane(start);
    const POINT p = ProjectToPane(point);
    PlanLine(static_cast<int16_t>(a.x), static_cast<int16_t>(a.y), static_cast<int16_t>(p.x),
             static_cast<int16_t>(p.y), 0);
    if (event != kToolRelease)
        return;
    const float* end = planMouseState.dragEnd;
    if (Distance3D(start[0], start[1], start[2], end[0], end[1], end[2]) >= kShortestMeasure) {
        float offset[3] = {end[0], end[1], end[2]};
        PlaceDimensionLine(a, ProjectToPane(end), offset);
        MakeDimension(document, start, end, offset);
    }
    ReleaseToolCapture();
    ShowLengthReadout(0.0f);
}
