#include "planview/selection_marks.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "planview/dimension_lines.h"
#include "planview/input_gdi.h"
#include "planview/labels_and_fills.h"
#include "planview/output_routing.h"
#include "shell/camera_presets.h"
#include <initializer_list>
#include <math.h>
#include <stdio.h>
#include <string.h>

namespace {

const float kPi = 3.14159265358979f;

PlanSettings* Settings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

long Rounded(float v)
{
    if (!(v > -32767.0f))
        v = -32767.0f;
    else if (v > 32767.0f)
        v = 32767.0f;
    return static_cast<long>(v + 0.5f);
}

// A caption length by the plan's unit system: feet and inches with one sign, or metres
// of the length in inches.
void FormatMarkLength(float units, const PlanSettings* settings, char* text, size_t size)
{
    FormatPlanLengthText(UnitsToPlanLength(units, settings, 0), settings, text, size, false,
                         nullptr, nullptr);
}

void ViewEdge(HDC dc, float x1, float y1, float z1, float x2, float y2, float z2)
{
    ProjectSegmentToView(&x1, &y1, &z1, &x2, &y2, &z2, perspectiveOn);
    MoveTo16(dc, static_cast<int16_t>(Rounded(x1)), static_cast<int16_t>(Rounded(y1)));
    LineTo(dc, Rounded(x2), Rounded(y2));
}

bool Differs(float a, float b)
{
    return static_cast<long>(a + 0.5f) != static_cast<long>(b + 0.5f);
}

} // namespace

void DrawHandleSquare(HDC dc, float x, float y, float z, uint8_t)
{
    if (!dc)
        return;
    TransformPointToView(&x, &y, &z, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin,
                         viewOrigin.x, viewOrigin.y, viewOrigin.z, 1);
    if (perspectiveOn)
        ApplyPerspective(&x, &y, &z, viewerDistance, 0.0f, 0.0f, 0.0f);
    const long cx = Rounded(x), cy = Rounded(y);
    RECT square = {cx - 3, cy - 3, cx + 4, cy + 4};
    InvertRect(dc, &square);
}

void DrawDottedBoundingBox(HDC dc, const float* box)
{
    if (!dc || !box)
        return;
    const int rop = SetROP2(dc, R2_NOTXORPEN);
    HPEN pen = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    HGDIOBJ previous = pen ? SelectObject(dc, pen) : nullptr;
    const float y0 = box[0], x0 = box[1], z0 = box[2], y1 = box[3], x1 = box[4], z1 = box[5];
    const bool top = GetCameraPresetCommand() == ViewTop;
    auto rectangle = [&](float ax, float ay, float az, float bx, float by, float bz, float cx,
                         float cy, float cz, float dx, float dy, float dz) {
        ViewEdge(dc, ax, ay, az, bx, by, bz);
        ViewEdge(dc, bx, by, bz, cx, cy, cz);
        ViewEdge(dc, cx, cy, cz, dx, dy, dz);
        ViewEdge(dc, dx, dy, dz, ax, ay, az);
    };
    if (top || !Differs(y0, y1)) {
        rectangle(x0, y0, z0, x1, y0, z0, x1, y0, z1, x0, y0, z1);
    } else if (!Differs(z0, z1)) {
        rectangle(x0, y0, z0, x1, y0, z0, x1, y1, z0, x0, y1, z0);
    } else if (!Differs(x0, x1)) {
        rectangle(x0, y0, z0, x0, y1, z0, x0, y1, z1, x0, y0, z1);
    } else {
        rectangle(x0, y0, z0, x1, y0, z0, x1, y0, z1, x0, y0, z1);
        rectangle(x0, y1, z0, x1, y1, z0, x1, y1, z1, x0, y1, z1);
        ViewEdge(dc, x0, y0, z0, x0, y1, z0);
        ViewEdge(dc, x1, y0, z0, x1, y1, z0);
        ViewEdge(dc, x1, y0, z1, x1, y1, z1);
        ViewEdge(dc, x0, y0, z1, x0, y1, z1);
    }
    if (previous)
        SelectObject(dc, previous);
    if (pen)
        DeleteObject(pen);
    SetROP2(dc, rop);
}

bool MarkCaptionText(const PlanObject* owner, const PlanVertex* vertex, char* text, size_t size)
{
    const PlanSettings* settings = Settings();
    if (!owner || !vertex || !text || size == 0 || !settings)
        return false;
    char value[kDimensionTextSize];
    switch (owner->type) {
    case ObjRoof:
        FormatMarkLength(owner->elevation, settings, value, sizeof value);
        snprintf(text, size, "Elev: %s", value);
        return true;
    case ObjFreehandRoof: {
        // The vertex at the same place in the chain of the roof's generated part; a
        // vertex beyond that chain has no caption.
        const PlanObject* generated = static_cast<const PlanObject*>(owner->link);
        const PlanVertex* match = generated ? generated->firstVertex : nullptr;
        for (const PlanVertex* v = owner->firstVertex; v && v != vertex && match; v = v->next)
            match = match->next;
        if (!match)
            return false;
        const float height = PlanLengthToUnits(fabsf(match->position[1]), settings, 0);
        FormatMarkLength(owner->winding != 0 ? owner->elevation - height : owner->elevation + height, settings,
                         value, sizeof value);
        snprintf(text, size, "Elev: %s", value);
        return true;
    }
    case ObjTopography:
        FormatPlanLengthText(owner->size, settings, value, sizeof value, false, nullptr, nullptr);
        snprintf(text, size, "%s%s", owner->size > 0.0f ? "Sali: " : "Scendi: ", value);
        return true;
    case ObjSlope:
        snprintf(text, size, "Discesa: %0.0fº", static_cast<double>(vertex->mainHeight));
        return true;
    default:
        return false;
    }
}

// The caption of the owner's kind at the vertex, in XOR with its point mark.
static void DrawMarkCaption(HDC dc, const PlanObject* owner, const PlanVertex* vertex)
{
    char text[kDimensionTextSize + 16];
    if (dc && MarkCaptionText(owner, vertex, text, sizeof text))
        DrawTextLabel(dc, text, vertex->position[0], vertex->position[2], 0.0f);
}

void DrawRoofElevationCaption(HDC dc, PlanObject* roof, PlanVertex* vertex)
{
    DrawMarkCaption(dc, roof, vertex);
}

void DrawFreehandRoofCaption(HDC dc, PlanObject* roof, PlanVertex* vertex)
{
    DrawMarkCaption(dc, roof, vertex);
}

void DrawTopographyCaption(HDC dc, PlanObject* topography, PlanVertex* vertex)
{
    DrawMarkCaption(dc, topography, vertex);
}

void DrawSlopeCaption(HDC dc, PlanObject* slope, PlanVertex* vertex)
{
    DrawMarkCaption(dc, slope, vertex);
}

void DrawPointMark(PlanVertex* vertex, uint8_t)
{
    if (!vertex || !activePlanPane)
        return;
    PlanPaneDC pane;
    if (!pane.dc)
        return;
    const int rop = SetROP2(pane.dc, R2_NOT);
    DrawHandleSquare(pane.dc, vertex->position[0], vertex->position[1], vertex->position[2], 0);
    SetROP2(pane.dc, rop);
    PlanObject* owner = vertex->owner;
    if (!owner)
        return;
    switch (owner->type) {
    case ObjFreehandRoof: DrawFreehandRoofCaption(pane.dc, owner, vertex); break;
    case ObjTopography: DrawTopographyCaption(pane.dc, owner, vertex); break;
    case ObjSlope: DrawSlopeCaption(pane.dc, owner, vertex); break;
    default: return;
    }
    SetROP2(pane.dc, rop);
}

void DrawSelectionBox(PlanObject* object)
{
    if (!object || !activePlanPane)
        return;
    PlanPaneDC pane;
    if (!pane.dc)
        return;
    const bool top = GetCameraPresetCommand() == ViewTop;
    const int rop = SetROP2(pane.dc, R2_NOT);
    const float* b = object->box3D;
    const float y0 = b[0], x0 = b[1], z0 = b[2], y1 = b[3], x1 = b[4], z1 = b[5];
    const bool text = object->type == ObjTextFrame;
    if (!text)
        DrawDottedBoundingBox(pane.dc, b);
    const bool ex = Differs(x0, x1), ey = Differs(y0, y1), ez = Differs(z0, z1);
    float corners[8][3];
    int n = 0;
    auto add = [&](float x, float y, float z) {
        corners[n][0] = x;
        corners[n][1] = y;
        corners[n][2] = z;
        ++n;
    };
    if (ex && ez && ey) {
        if (!text) {
            add(x0, y0, z0);
            add(x1, y0, z0);
            if (!top) {
                add(x1, y1, z0);
                add(x0, y1, z0);
            }
            add(x0, y0, z1);
            add(x1, y0, z1);
            if (!top) {
                add(x1, y1, z1);
                add(x0, y1, z1);
            }
        }
    } else if (ex && ez) {
        add(x0, y0, z0);
        add(x1, y0, z0);
        add(x0, y0, z1);
        add(x1, y0, z1);
    } else if (ex) {
        add(x0, y0, z0);
        add(x1, y0, z0);
        add(x1, y1, z0);
        add(x0, y1, z0);
    } else {
        add(x0, y0, z0);
        add(x0, y1, z0);
        add(x0, y0, z1);
        add(x0, y1, z1);
    }
    for (int i = 0; i < n; ++i)
        DrawHandleSquare(pane.dc, corners[i][0], corners[i][1], corners[i][2], 0);
    if (object->type == ObjRoof)
        for (PlanVertex* v = object->firstVertex; v; v = v->next)
            DrawRoofElevationCaption(pane.dc, object, v);
    SetROP2(pane.dc, rop);
}

void DrawObjectOutlineXor(PlanObject* object)
{
    if (!object || !object->firstVertex || !activePlanPane)
        return;
    PlanPaneDC pane;
    if (!pane.dc)
        return;
    const bool pitch = object->type == ObjFreehandRoofPart;
    HPEN pen = CreatePen(PS_SOLID, pitch ? 5 : 1, RGB(0, 0, 0));
    HGDIOBJ previous = pen ? SelectObject(pane.dc, pen) : nullptr;
    const int rop = SetROP2(pane.dc, R2_NOTXORPEN);
    const PlanVertex* v = object->firstVertex;
    const PlanVertex* before = nullptr;
    const PlanVertex* end = v;
    for (; v->next; v = v->next) {
        DrawWorldLine(pane.dc, v->position[0], v->position[1], v->position[2], v->next->position[0],
                      v->next->position[1], v->next->position[2], 0);
        before = v;
        end = v->next;
    }
    if (object->closed && v != object->firstVertex) {
        DrawWorldLine(pane.dc, v->position[0], v->position[1], v->position[2],
                      object->firstVertex->position[0], object->firstVertex->position[1],
                      object->firstVertex->position[2], 0);
        before = v;
        end = object->firstVertex;
    }
    if (pitch && before) {
        // The arrow head at the end of the last segment.
        float distance = 0.0f;
        const float a = AngleBetweenPoints(end->position[0], end->position[2], before->position[0],
                                           before->position[2], &distance);
        for (float side : {kPi / 4.0f, -kPi / 4.0f}) {
            float dx = 0.0f, dz = 0.0f;
            OffsetPointPolar(a + side, 30.0f, &dx, &dz);
            DrawWorldLine(pane.dc, end->position[0] + dx, 0.0f, end->position[2] + dz, end->position[0],
                          0.0f, end->position[2], 0);
        }
    }
    SetROP2(pane.dc, rop);
    if (previous)
        SelectObject(pane.dc, previous);
    if (pen)
        DeleteObject(pen);
}
