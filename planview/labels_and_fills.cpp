#include "planview/labels_and_fills.h"
#include "files/dxf_export.h"
#include "model/outline_offsets.h"
#include "model/plan_document.h"
#include "model/plan_floor.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/view_projection.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "planview/segment_dimensions.h"
#include "tools/tool_state.h"
#include <stdlib.h>

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

// Deck and sprinkler captions are not built yet: nothing is written.
void DrawDeckLabel(HDC, PlanObject*) {}
void DrawSprinklerLabel(HDC, PlanObject*) {}

// Not built yet: a live caption draws nothing.
void DrawTextLabel(HDC, const char*, float, float, float) {}
