#include "planview/labels_and_fills.h"
#include "files/dxf_export.h"
#include "model/outline_offsets.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "planview/dimension_lines.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "planview/run_fonts.h"
#include "planview/segment_dimensions.h"
#include "shell/app_globals.h"     // dimensionLogFont
#include "tools/tool_state.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

const uint32_t kExteriorWallGroup = 54;
const short kInteriorWallTool = 7051;
// A wall segment that carries neither automatic dimensions nor opening labels.
const uint32_t kNoSegmentDimensions = 1u | 2u;

COLORREF ToColorRef(const ColourTriple* colour)
{
    if (!colour)
        return RGB(0, 0, 0);
    return RGB(colour->red / 257, colour->green / 257, colour->blue / 257);
}

// +0.5 truncated toward zero, as the line roads round. The value is first held to the
// bound the printer road allows, so a damaged or far-off point can never overflow the
// conversion; NaN counts as the low bound.
LONG RoundDevice(double v)
{
    if (!(v > -kPrintCoordinateLimit))
        v = -kPrintCoordinateLimit;
    else if (v > kPrintCoordinateLimit)
        v = kPrintCoordinateLimit;
    return static_cast<LONG>(v + 0.5);
}

HBRUSH CreateFillBrush(int32_t fillStyle, COLORREF colour, bool* stock)
{
    *stock = false;
    switch (fillStyle) {
    case -1:
        *stock = true;
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case 1:
        return CreateHatchBrush(HS_BDIAGONAL, colour);
    case 2:
        return CreateHatchBrush(HS_FDIAGONAL, colour);
    default:
        return CreateSolidBrush(colour);
    }
}

} // namespace

void FillObjectArea(HDC dc, PlanObject* object, int penStyle, int penWidth,
                    const ColourTriple* penColour, const ColourTriple* fillColour, int32_t fillStyle)
{
    if (!object || !object->firstVertex || object->rows == 0)
        return;
    const bool printing = planOutputMode == 1 && planDC;
    HDC target = printing ? planDC : dc;
    if (!target)
        return;

    // The first row is the outline. The stored count is not trusted beyond the chain it
    // describes, so a damaged count cannot ask for more points than there are.
    uint32_t n = object->vertexCount / object->rows;
    uint32_t chain = 0;
    for (const PlanVertex* v = object->firstVertex; v && chain < n; v = v->next)
        ++chain;
    n = chain;
    if (n == 0)
        return;
    POINT* points = static_cast<POINT*>(calloc(static_cast<size_t>(n) + 1, sizeof(POINT)));
    float* viewX = static_cast<float*>(calloc(n, sizeof(float)));
    float* viewY = static_cast<float*>(calloc(n, sizeof(float)));
    float* viewZ = static_cast<float*>(calloc(n, sizeof(float)));
    if (!points || !viewX || !viewY || !viewZ) {
        free(points);
        free(viewX);
        free(viewY);
        free(viewZ);
        return;
    }

    const PlanVertex* v = object->firstVertex;
    for (uint32_t i = 0; i < n; ++i, v = v->next) {
        float x = v->position[0], y = v->position[1], z = v->position[2];
        TransformPointToView(&x, &y, &z, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin,
                             viewOrigin.x, viewOrigin.y, viewOrigin.z, 1);
        viewX[i] = x;
        viewY[i] = y;
        viewZ[i] = z;
        double px = x, py = y;
        if (printing) {
            px *= printScaleX;
            py *= printScaleY;
        }
        points[i].x = RoundDevice(px);
        points[i].y = RoundDevice(py);
    }
    points[n] = points[0];

    if (!printing && (exportDxf2D || exportDxf3D)) {
        for (uint32_t i = 0; i < n; ++i) {
            uint32_t j = (i + 1) % n;
            if (exportDxf2D)
                EmitExportLine2D(viewX[i], viewY[i], viewX[j], viewY[j], exportKind,
                                 exportFileHandle);
            else
                EmitExportLine3D(viewX[i], viewY[i], viewZ[i], viewX[j], viewY[j], viewZ[j],
                                 exportKind, exportFileHandle);
        }
    }
    free(viewX);
    free(viewY);
    free(viewZ);

    SetPolyFillMode(target, WINDING);
    HBRUSH brush;
    HPEN pen;
    bool stockBrush = false;
    if (printing) {
        // The page is black and white: every filled area prints black.
        brush = CreateSolidBrush(RGB(0, 0, 0));
        pen = CreatePen(penStyle, penWidth, RGB(0, 0, 0));
    } else {
        brush = CreateFillBrush(fillStyle, ToColorRef(fillColour), &stockBrush);
        pen = CreatePen(penStyle, penWidth, ToColorRef(penColour));
    }
    HGDIOBJ previousBrush = brush ? SelectObject(target, brush) : nullptr;
    HGDIOBJ previousPen = pen ? SelectObject(target, pen) : nullptr;
    Polygon(target, points, static_cast<int>(n + 1));
    if (previousPen)
        SelectObject(target, previousPen);
    if (previousBrush)
        SelectObject(target, previousBrush);
    if (pen)
        DeleteObject(pen);
    if (brush && !stockBrush)
        DeleteObject(brush);
    free(points);
}

void DrawWallGroupOutline(HDC dc, PlanObject* object, PlanObject* hostWall)
{
    if (!object || !hostWall || !activeDocument || !activeDocument->settings)
        return;
    PlanSettings* settings = activeDocument->settings;
    // The wall is its generated footprint, filled in the line colour.
    if (IsObjectInViewFilter(hostWall, settings->visibleCategories))
        FillObjectArea(dc, object, PS_SOLID, 1, &settings->foregroundColour,
                       &settings->foregroundColour, 0);

    PlanVertex* first = hostWall->firstVertex;
    if (!first || !first->next)
        return;
    int count = 0;
    for (PlanVertex* v = first; v && count < 3; v = v->next)
        ++count;
    int16_t winding = count > 2 ? GetPolygonWinding(hostWall) : -1;
    uint8_t side = winding == -1 ? 1 : 0;
    PlanVertex* last = first;
    for (PlanVertex* v = first; v->next; v = v->next) {
        if ((v->segmentFlags & kNoSegmentDimensions) != kNoSegmentDimensions)
            DrawSegmentAutoDimension(dc, hostWall, v, v->next, side);
        last = v->next;
    }
    if (hostWall->closed && (last->segmentFlags & kNoSegmentDimensions) != kNoSegmentDimensions)
        DrawSegmentAutoDimension(dc, hostWall, last, first, side);
}

void HighlightExteriorWallGroups(HDC dc, PlanFloor* firstFloor)
{
    // A screen aid of the interior-wall tool: which wall groups count as exterior.
    if (!firstFloor || planOutputMode == 1 || currentToolId != kInteriorWallTool)
        return;
    if (!activeDocument || !activeDocument->settings || !activeDocument->currentFloor)
        return;
    const uint32_t mask = activeDocument->settings->visibleCategories;
    const ColourTriple green = {0, 65535, 0};
    for (PlanObject* object = activeDocument->currentFloor->firstObject; object;
         object = object->next) {
        if (object->type == ObjWall && object->subType == kExteriorWallGroup &&
            IsObjectInViewFilter(object, mask))
            FillObjectArea(dc, object, PS_SOLID, 2, &green, &green, -1);
    }
}

// ---------------------------------------------------------------------------------
// Labels and captions

namespace {

const float kQuarterTurnRadians = 1.5707963267948966f;
const float kDegreesToRadians = 0.017453292519943295f;

// The short code a door's style adds to its size label; windows have none.
const char* DoorStyleCode(uint16_t style)
{
    switch (style) {
    case 500: return " AS";
    case 502: return " PS";
    case 503: return " PGB";
    case 504: case 505: case 506: case 507: return " Arco";
    case 508: return " PV";
    case 509: return " 9 luci";
    case 510: return " PSC";
    case 511: return " PL";
    default: return "";
    }
}

// A plan point (height 0) in the view, zoomed; with the perspective divide when asked
// and it is on.
void ProjectPlanPoint(float x, float z, bool perspective, float* vx, float* vy)
{
    float y = 0.0f;
    TransformPointToView(&x, &y, &z, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin,
                         viewOrigin.x, viewOrigin.y, viewOrigin.z, 1);
    if (perspective && perspectiveOn)
        ApplyPerspective(&x, &y, &z, viewerDistance, 0.0f, 0.0f, 0.0f);
    *vx = x;
    *vy = y;
}

} // namespace

void DrawOpeningSizeLabel(HDC dc, const OpeningRecord* record, float sx, float sz, float ex,
                          float ez, float px, float pz, uint8_t side, float offset)
{
    PlanSettings* settings = activeDocument ? activeDocument->settings : nullptr;
    if (!settings || !record || !dc || !settings->labelDrawing || !activePlanPane)
        return;
    float y1 = 0.0f, y2 = 0.0f;
    ProjectSegmentToView(&sx, &y1, &sz, &ex, &y2, &ez, perspectiveOn);
    float lx = 0.0f, ly = 0.0f;
    ProjectPlanPoint(px, pz, false, &lx, &ly);
    float distance = 0.0f;
    const float theta = AngleBetweenPoints(sx, y1, ex, y2, &distance);
    const float phi = side ? theta + kQuarterTurnRadians : theta - kQuarterTurnRadians;
    float dx = 0.0f, dy = 0.0f;
    OffsetPointPolar(phi, ZoomFloat(offset + 15.0f), &dx, &dy);
    lx += dx;
    ly += dy;

    bool flipped = false;
    const float degrees = ReadableTextDegrees(theta, &flipped);
    // Width by height, each by the length-text rules with plain rounding.
    char width[kDimensionTextSize], height[kDimensionTextSize], text[3 * kDimensionTextSize];
    FormatPlanLengthText(record->width, settings, width, sizeof width, false, nullptr, nullptr);
    FormatPlanLengthText(record->height, settings, height, sizeof height, false, nullptr, nullptr);
    snprintf(text, sizeof text, "%s x %s%s", width, height,
             record->typeCopy == ObjDoor ? DoorStyleCode(record->style) : "");

    HFONT font = AcquirePlanFont(dimensionLogFont, degrees);
    if (!font)
        return;
    uint16_t ascent = 0;
    MeasurePlanText(dc, dimensionLogFont, text, nullptr, &ascent, nullptr, nullptr);
    OffsetPointPolar(theta + kQuarterTurnRadians, static_cast<float>(ascent / 2), &dx, &dy);
    if (flipped)
        DrawPlanTextCentred(dc, font, text, lx + dx, ly + dy, PlanLineColour());
    else
        DrawPlanTextCentred(dc, font, text, lx - dx, ly - dy, PlanLineColour());
    ReleaseRunFont(font);
}

void DrawCaption(HDC dc, const char* text, float x, float z, float angleDegrees)
{
    if (!dc || !text || !activeDocument || !activeDocument->settings)
        return;
    float dx = 0.0f, dz = 0.0f;
    OffsetPointPolar(angleDegrees * kDegreesToRadians - kQuarterTurnRadians, 6.0f, &dx, &dz);
    float vx = 0.0f, vy = 0.0f;
    ProjectPlanPoint(x + dx, z + dz, true, &vx, &vy);
    HFONT font = AcquirePlanFont(dimensionLogFont, NudgePrintDegrees(angleDegrees));
    if (!font)
        return;
    DrawPlanTextCentred(dc, font, text, vx, vy, PlanLineColour());
    ReleaseRunFont(font);
}

void DrawTextLabel(HDC dc, const char* text, float x, float z, float angleDegrees)
{
    if (!dc || !text || !activeDocument || !activeDocument->settings)
        return;
    float vx = 0.0f, vy = 0.0f;
    ProjectPlanPoint(x, z, true, &vx, &vy);
    const float degrees = angleDegrees > 90.0f && angleDegrees <= 270.0f ? angleDegrees + 180.0f
                                                                         : angleDegrees;
    DrawLiveLabelText(dc, text, vx, vy - 7.0f, degrees);
}

void DrawDeckLabel(HDC dc, PlanObject* deck)
{
    if (!deck)
        return;
    DrawCaption(dc, "TERRAZZA", (deck->box3D[1] + deck->box3D[4]) / 2.0f,
                (deck->box3D[2] + deck->box3D[5]) / 2.0f, 0.0f);
}

void DrawSprinklerLabel(HDC dc, PlanObject* sprinkler)
{
    PlanSettings* settings = activeDocument ? activeDocument->settings : nullptr;
    if (!settings || !sprinkler || !settings->dimensionDrawing)
        return;
    const PlanObject* outline = static_cast<const PlanObject*>(sprinkler->link);
    if (!outline || !outline->firstVertex)
        return;
    const PlanVertex* first = outline->firstVertex;
    const PlanVertex* last = first;
    while (last->next)
        last = last->next;
    const float fx = first->position[0], fz = first->position[2];
    const float zx = last->position[0], zz = last->position[2];
    int32_t feet = 0, inches = 0;
    halfInchToggle = 1;
    // The radius, " R" after it, beside the radius line.
    DrawDimensionLine(dc, fx, fz, zx, zz, fx, fz, zx, zz, 1, 5.0f, 0, &feet, &inches, 0, 0, 0.0f,
                      1, " R");
    char caption[64];
    snprintf(caption, sizeof caption, "%0.0fº Sprinkler", static_cast<double>(sprinkler->parameters[0]));
    DrawCaption(dc, caption, zx, zz - 15.0f, 0.0f);
}
