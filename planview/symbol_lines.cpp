#include "planview/symbol_lines.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/view_projection.h"
#include "planview/output_routing.h"

PlanPoint PolarFrom(PlanPoint p, float angle, float distance)
{
    float dx = 0.0f, dz = 0.0f;
    OffsetPointPolar(angle, distance, &dx, &dz);
    return {p.x + dx, p.z + dz};
}

float DirectionTo(PlanPoint from, PlanPoint to, float* distance)
{
    float d = 0.0f;
    const float angle = AngleBetweenPoints(from.x, from.z, to.x, to.z, &d);
    if (distance)
        *distance = d;
    return angle;
}

PlanPoint Midpoint(PlanPoint a, PlanPoint b)
{
    return {(a.x + b.x) / 2.0f, (a.z + b.z) / 2.0f};
}

void DrawPlanSegment(HDC dc, PlanPoint a, PlanPoint b)
{
    DrawWorldLine(dc, a.x, 0.0f, a.z, b.x, 0.0f, b.z, 0);
}

void ProjectPlanPoints(PlanPoint a, PlanPoint b, float* ax, float* ay, float* bx, float* by)
{
    float x1 = a.x, y1 = 0.0f, z1 = a.z, x2 = b.x, y2 = 0.0f, z2 = b.z;
    ProjectSegmentToView(&x1, &y1, &z1, &x2, &y2, &z2, perspectiveOn);
    *ax = x1;
    *ay = y1;
    *bx = x2;
    *by = y2;
}

HDC SymbolTargetDC(HDC dc)
{
    return (planOutputMode == 1 && planDC) ? planDC : dc;
}

COLORREF PlanBackgroundColour()
{
    if (planOutputMode == 1 && planDC)
        return RGB(255, 255, 255);
    const PlanSettings* settings = activeDocument ? activeDocument->settings : nullptr;
    if (!settings)
        return RGB(255, 255, 255);
    const ColourTriple& c = settings->backgroundColour;
    return RGB(c.red / 257, c.green / 257, c.blue / 257);
}

void DrawPlanPolygon(HDC dc, const PlanPoint* points, int count)
{
    if (!points || count < 3 || count > 8)
        return;
    float view[8][2];
    for (int i = 0; i + 1 < count; i += 2)
        ProjectPlanPoints(points[i], points[i + 1], &view[i][0], &view[i][1], &view[i + 1][0],
                          &view[i + 1][1]);
    if (count % 2)
        ProjectPlanPoints(points[count - 1], points[count - 1], &view[count - 1][0],
                          &view[count - 1][1], &view[count - 1][0], &view[count - 1][1]);
    DrawViewPolygon(dc, view, count);
}

ScopedPen::ScopedPen(HDC dc, int style, int width, COLORREF colour)
    : target(SymbolTargetDC(dc)), pen(nullptr), previous(nullptr)
{
    if (!target)
        return;
    pen = CreatePen(style, width, colour);
    if (pen)
        previous = SelectObject(target, pen);
}

ScopedPen::~ScopedPen()
{
    if (!pen)
        return;
    if (previous)
        SelectObject(target, previous);
    DeleteObject(pen);
}

ScopedBrush::ScopedBrush(HDC dc, COLORREF colour)
    : target(SymbolTargetDC(dc)), brush(nullptr), owned(true), previous(nullptr)
{
    if (!target)
        return;
    brush = CreateSolidBrush(colour);
    if (brush)
        previous = SelectObject(target, brush);
}

ScopedBrush::ScopedBrush(HDC dc, int stockBrush)
    : target(SymbolTargetDC(dc)), brush(static_cast<HBRUSH>(GetStockObject(stockBrush))),
      owned(false), previous(nullptr)
{
    if (target && brush)
        previous = SelectObject(target, brush);
}

ScopedBrush::~ScopedBrush()
{
    if (!brush || !target)
        return;
    if (previous)
        SelectObject(target, previous);
    if (owned)
        DeleteObject(brush);
}
