#include "tools/shape_tools.h"
#include <cmath>
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "model3d/array_objects.h"
#include "planview/dimension_lines.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "shell/measurement_bar.h"
#include "tools/cad_builders.h"
#include "tools/plan_mouse_state.h"
#include "tools/tool_framework.h"
#include "tools/tool_state.h"

namespace {

const float kArcSegmentDegrees = 45.0f;

void CopyPoint(float (*target)[3], uint32_t index, const float* source)
{
    if (!target)
        return;
    target[index][0] = source[0];
    target[index][1] = source[1];
    target[index][2] = source[2];
}

void CopyVertex(const PlanVertex* vertex, uint32_t index, float (*points)[3],
                float (*inTangents)[3], float (*outTangents)[3])
{
    CopyPoint(points, index, vertex->position);
    CopyPoint(inTangents, index, vertex->inTangent);
    CopyPoint(outTangents, index, vertex->outTangent);
}

int16_t RoundTo16(float value)
{
    return static_cast<int16_t>(static_cast<int32_t>(value + 0.5f));
}

// One model edge projected into the view (with the plan's perspective) and drawn.
void DrawModelEdge(HDC dc, const float* a, const float* b)
{
    float x1 = a[0], y1 = a[1], z1 = a[2], x2 = b[0], y2 = b[1], z2 = b[2];
    ProjectSegmentToView(&x1, &y1, &z1, &x2, &y2, &z2, perspectiveOn);
    MoveTo16(dc, RoundTo16(x1), RoundTo16(y1));
    LineTo(dc, RoundTo16(x2), RoundTo16(y2));
}

bool SameRoundedPoint(const float* a, const float* b)
{
    for (int i = 0; i < 3; ++i)
        if (std::trunc(a[i] + 0.5f) != std::trunc(b[i] + 0.5f))
            return false;
    return true;
}

// The rectangle's corners between the drag start S and a point P as the view plane
// shows them: the rubber band's closed path, and the corners of the object made.
void RectangleOutline(uint16_t plane, const float* s, const float* p, float out[5][3])
{
    float path[5][3];
    switch (plane) {
    case 1:
        path[1][0] = s[0]; path[1][1] = p[1]; path[1][2] = s[2];
        path[2][0] = p[0]; path[2][1] = p[1]; path[2][2] = s[2];
        path[3][0] = p[0]; path[3][1] = s[1]; path[3][2] = s[2];
        break;
    case 3:
        path[1][0] = s[0]; path[1][1] = p[1]; path[1][2] = s[2];
        path[2][0] = s[0]; path[2][1] = p[1]; path[2][2] = p[2];
        path[3][0] = s[0]; path[3][1] = s[1]; path[3][2] = p[2];
        break;
    default:
        path[1][0] = s[0]; path[1][1] = s[1]; path[1][2] = p[2];
        path[2][0] = p[0]; path[2][1] = s[1]; path[2][2] = p[2];
        path[3][0] = p[0]; path[3][1] = s[1]; path[3][2] = s[2];
        break;
    }
    for (int i = 0; i < 3; ++i) {
        path[0][i] = s[i];
        path[4][i] = s[i];
    }
    for (int k = 0; k < 5; ++k)
        for (int i = 0; i < 3; ++i)
            out[k][i] = path[k][i];
}

// The drawing element (type 29) of a shape tool, on the current floor with the plan's
// category; null without a floor or when it cannot be made.
PlanObject* MakeShapeElement(const Point3f* points, const Point3f* in, const Point3f* out,
                             int32_t count, uint32_t shapeKind)
{
    PlanDocument* document = activeDocument;
    if (!document || !document->currentFloor)
        return nullptr;
    PlanObject* element =
        CreateSolidFromArrays(points, nullptr, in, out, nullptr, nullptr, count, document->currentFloor, 1);
    if (!element)
        return nullptr;
    element->type = ObjDrawingElement;
    element->subType = shapeKind;
    element->category = document->settings->activeCategory;
    return element;
}

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

// The oval's box: the first corner at S, the second across at P; up at P with Shift
// (an ellipse), else as far from S as across (a circle), toward P's side.
void OvalBox(uint16_t plane, const float* s, const float* p, bool free, float box[4])
{
    int across = 0, up = 2;
    if (plane == 1) {
        up = 1;
    } else if (plane == 3) {
        across = 2;
        up = 1;
    }
    box[0] = s[up];
    box[1] = s[across];
    box[3] = p[across];
    if (free) {
        box[2] = p[up];
    } else if (plane == 2) {
        const float d = p[0] - s[0];
        if (p[2] > s[2])
            box[2] = s[2] + std::fabs(d);
        else if (p[2] < s[2])
            box[2] = s[2] - std::fabs(d);
        else
            box[2] = s[2] + d;
    } else {
        box[2] = s[1] + (p[across] - s[across]);
    }
}

float OvalFixedCoordinate(uint16_t plane, const float* s)
{
    return plane == 1 ? s[2] : plane == 3 ? s[0] : s[1];
}

}  // namespace

void HandleRectangleTool(int32_t, int32_t, float x, float y, float z, int16_t event)
{
    PlanSettings* settings = ActiveSettings();
    HDC dc = (settings && activePlanPane) ? GetDC(activePlanPane) : nullptr;
    if (!dc)
        return;
    const float* s = planMouseState.dragStart;
    const float p[3] = {x, y, z};
    float path[5][3];
    RectangleOutline(settings->viewPlane, s, p, path);
    for (int k = 0; k < 4; ++k)
        DrawModelEdge(dc, path[k], path[k + 1]);
    ReleaseDC(activePlanPane, dc);
    if (event != kToolRelease)
        return;

    const float* e = planMouseState.dragEnd;
    if (SameRoundedPoint(e, s)) {
        ReleaseToolCapture();
        return;
    }
    // Corners from the release: the far corner, round through S, as the plane shows them.
    RectangleOutline(settings->viewPlane, s, e, path);
    Point3f corners[4];
    const int order[4] = {2, 3, 0, 1};
    for (int k = 0; k < 4; ++k)
        corners[k] = {path[order[k]][0], path[order[k]][1], path[order[k]][2]};
    const Point3f zero[4] = {};
    CompleteCreation(MakeShapeElement(corners, zero, zero, 4, 1));
}

PlanObject* HandleOvalTool(int32_t, int32_t, float x, float y, float z, int16_t event)
{
    PlanSettings* settings = ActiveSettings();
    HDC dc = (settings && activePlanPane) ? GetDC(activePlanPane) : nullptr;
    if (!dc)
        return nullptr;
    const uint16_t plane = settings->viewPlane;
    const float* s = planMouseState.dragStart;
    const float p[3] = {x, y, z};
    const bool free = ShiftHeld();
    float box[4];
    OvalBox(plane, s, p, free, box);
    const float fixed = OvalFixedCoordinate(plane, s);
    uint32_t count = 0;
    ComputeArcPoints(dc, box, 0.0f, 360.0f, plane, fixed, nullptr, nullptr, nullptr, 1, &count, 1);
    if (plane == 2) {
        ShowDiameterReadout(free ? 0.0f : PlanLengthToUnits(p[0] - s[0], settings, 0));
        const float middleZ = (box[0] + box[2]) / 2.0f;
        halfInchToggle = 1;
        DrawDimensionLine(dc, s[0], middleZ, p[0], middleZ, s[0], middleZ, p[0], middleZ, 0, 25.0f, 1,
                          nullptr, nullptr, 0, 0, 5.0f, 0, nullptr);
        if (free) {
            const float middleX = (box[1] + box[3]) / 2.0f;
            halfInchToggle = 1;
            DrawDimensionLine(dc, middleX, box[0], middleX, box[2], middleX, box[0], middleX, box[2], 0,
                              25.0f, 1, nullptr, nullptr, 0, 0, 5.0f, 0, nullptr);
        }
    }
    PlanObject* oval = nullptr;
    if (event == kToolRelease) {
        const float* e = planMouseState.dragEnd;
        if (!SameRoundedPoint(e, s)) {
            // The arrays are sized by the release box's own count; an ellipse of fewer
            // than 3 points (a box flat along one side) makes nothing.
            OvalBox(plane, s, e, free, box);
            ComputeArcPoints(dc, box, 0.0f, 360.0f, plane, fixed, nullptr, nullptr, nullptr, 0, &count, 1);
            if (count >= 3) {
                PointArrays arrays;
                if (arrays.Allocate(static_cast<int32_t>(count), 3)) {
                    ComputeArcPoints(dc, box, 0.0f, 360.0f, plane, fixed,
                                     reinterpret_cast<float(*)[3]>(arrays.items[0]),
                                     reinterpret_cast<float(*)[3]>(arrays.items[1]),
                                     reinterpret_cast<float(*)[3]>(arrays.items[2]), 0, &count, 1);
                    oval = MakeShapeElement(arrays.items[0], arrays.items[1], arrays.items[2],
                                            static_cast<int32_t>(count), 2);
                }
            }
        }
        CompleteCreation(oval);
        ShowDiameterReadout(0.0f);
    }
    ReleaseDC(activePlanPane, dc);
    return oval;
}

void ComputeArcPoints(HDC dc, const float box[4], float startDegrees, float sweepDegrees,
                      uint16_t viewPlane, float fixed, float (*points)[3], float (*inTangents)[3],
                      float (*outTangents)[3], uint8_t draw, uint32_t* count, uint8_t closed)
{
    if (!dc || !box || !count)
        return;
    *count = 0;
    PlanObject* arc = BuildArcObject(box[1], box[0], box[3], box[2], startDegrees, sweepDegrees,
                                     fixed, viewPlane, kArcSegmentDegrees);
    if (!arc)
        return;
    const uint32_t vertices = static_cast<uint32_t>(CountVertexChain(arc));
    *count = (closed && vertices > 0) ? vertices - 1 : vertices;
    uint32_t index = 0;
    PlanVertex* vertex = arc->firstVertex;
    for (; vertex && vertex->next; vertex = vertex->next, ++index) {
        CopyVertex(vertex, index, points, inTangents, outTangents);
        if (draw)
            DrawObjectSegment(dc, arc, vertex, vertex->next, DrawAllObjects, nullptr);
    }
    if (!closed && vertex)
        CopyVertex(vertex, index, points, inTangents, outTangents);
    FreeObject(arc);
}
