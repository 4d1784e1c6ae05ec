#pragma once
// The pieces the plan symbols (doors and windows, fixtures, stairs, roofs, the measuring
// line) draw with: plan points at height 0 and their polar offsets, one symbol line
// through the output routing (screen, printer or DXF), filled outlines, and pens and
// brushes selected where the lines go (planDC while printing) and put back afterwards.
#include <windows.h>
#include <stdint.h>

// A plan point: x across, z down the plan.
struct PlanPoint {
    float x, z;
};

// p + polar(angle, distance): the offset of OffsetPointPolar added to the point.
PlanPoint PolarFrom(PlanPoint p, float angle, float distance);
// The direction from one point to another (AngleBetweenPoints), with the distance.
float DirectionTo(PlanPoint from, PlanPoint to, float* distance = nullptr);
PlanPoint Midpoint(PlanPoint a, PlanPoint b);

// A plan segment at height 0 through DrawWorldLine.
void DrawPlanSegment(HDC dc, PlanPoint a, PlanPoint b);
// A plan segment at height 0 projected into the view (zoomed, with the perspective
// divide when it is on).
void ProjectPlanPoints(PlanPoint a, PlanPoint b, float* ax, float* ay, float* bx, float* by);

// Where a symbol's pens and fills go: planDC while printing, else the DC.
HDC SymbolTargetDC(HDC dc);
// Settings 132 on the screen, white while printing.
COLORREF PlanBackgroundColour();

// A polygon of plan points at height 0, projected in pairs, drawn with the target's
// current pen and brush: rounded on the screen, scaled to the page while printing.
void DrawPlanPolygon(HDC dc, const PlanPoint* points, int count);

// A pen created and selected into the target for the life of the object (none when it
// cannot be made: the shapes are drawn with what the DC holds).
class ScopedPen {
public:
    ScopedPen(HDC dc, int style, int width, COLORREF colour);
    ~ScopedPen();
    ScopedPen(const ScopedPen&) = delete;
    ScopedPen& operator=(const ScopedPen&) = delete;

private:
    HDC target;
    HPEN pen;
    HGDIOBJ previous;
};

// A solid brush of the colour, or a stock brush, selected the same way.
class ScopedBrush {
public:
    ScopedBrush(HDC dc, COLORREF colour);
    ScopedBrush(HDC dc, int stockBrush);
    ~ScopedBrush();
    ScopedBrush(const ScopedBrush&) = delete;
    ScopedBrush& operator=(const ScopedBrush&) = delete;

private:
    HDC target;
    HBRUSH brush;
    bool owned;
    HGDIOBJ previous;
};
