#include "planview/plan_background.h"
#include "files/picture_files.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "planview/selection_marks_paint.h"
#include "render3d/render_window.h"
#include <cmath>

namespace {

const uint32_t kEndTextEditOperation = 8002;

PlanSettings* ActiveSettings()
{
    return activeDocument ? activeDocument->settings : nullptr;
}

COLORREF ColourOf(const ColourTriple& c)
{
    return RGB(c.red / 257, c.green / 257, c.blue / 257);
}

// View coordinates are rounded by adding 0.5 and truncating, as every plan drawer does.
// False for a value no DC can take.
bool RoundView(float v, int* out)
{
    if (!(std::fabs(v) < 1.0e9f))
        return false;
    *out = static_cast<int>(v + 0.5f);
    return true;
}

// The projected, rounded ends of a model segment.
bool ProjectEdge(float x1, float y1, float z1, float x2, float y2, float z2, POINT* a, POINT* b)
{
    ProjectSegmentToView(&x1, &y1, &z1, &x2, &y2, &z2, perspectiveOn);
    int ax, ay, bx, by;
    if (!RoundView(x1, &ax) || !RoundView(y1, &ay) || !RoundView(x2, &bx) || !RoundView(y2, &by))
        return false;
    a->x = ax;
    a->y = ay;
    b->x = bx;
    b->y = by;
    return true;
}

void DrawLine(HDC dc, POINT a, POINT b)
{
    MoveToEx(dc, a.x, a.y, nullptr);
    LineTo(dc, b.x, b.y);
}

enum ExtentIndex { Top, Left, Bottom, Right };

// The four border edges, in their order: top, bottom, left, right (height 0).
struct BorderEdges {
    POINT from[4];
    POINT to[4];
    bool valid[4];
};

BorderEdges ProjectBorder(const float* e)
{
    BorderEdges edges;
    edges.valid[0] = ProjectEdge(e[Left], 0, e[Top], e[Right], 0, e[Top], &edges.from[0], &edges.to[0]);
    edges.valid[1] = ProjectEdge(e[Left], 0, e[Bottom], e[Right], 0, e[Bottom], &edges.from[1], &edges.to[1]);
    edges.valid[2] = ProjectEdge(e[Left], 0, e[Top], e[Left], 0, e[Bottom], &edges.from[2], &edges.to[2]);
    edges.valid[3] = ProjectEdge(e[Right], 0, e[Top], e[Right], 0, e[Bottom], &edges.from[3], &edges.to[3]);
    return edges;
}

void DrawBorderEdges(HDC dc, const BorderEdges& edges)
{
    for (int i = 0; i < 4; ++i)
        if (edges.valid[i])
            DrawLine(dc, edges.from[i], edges.to[i]);
}

// The pane's client rectangle in logical units; only on the screen road.
bool ScreenClientRect(HDC dc, RECT* rect)
{
    if (planOutputMode != 0 || !activePlanPane || !GetClientRect(activePlanPane, rect))
        return false;
    DPtoLP(dc, reinterpret_cast<POINT*>(rect), 2);
    return true;
}

// Fills the client area outside the border with the brush, margin m around the edges.
void FillSurround(HDC dc, const BorderEdges& edges, int m, HBRUSH brush)
{
    RECT k;
    if (!brush || !ScreenClientRect(dc, &k))
        return;
    if (edges.valid[0]) {
        const POINT &p1 = edges.from[0], &p2 = edges.to[0];
        if (p2.y > k.top) {
            RECT r = {p1.x - m, k.top, p2.x + m + 1, p2.y - m};
            FillRect(dc, &r, brush);
        }
    }
    if (edges.valid[1]) {
        const POINT &p1 = edges.from[1], &p2 = edges.to[1];
        if (p1.y + 1 < k.bottom) {
            RECT r = {p1.x - m, p1.y + m + 1, p2.x + m + 1, k.bottom};
            FillRect(dc, &r, brush);
        }
    }
    if (edges.valid[2]) {
        const POINT& p2 = edges.to[2];
        if (p2.x > k.left) {
            RECT r = {k.left, k.top, p2.x - m, k.bottom};
            FillRect(dc, &r, brush);
        }
    }
    if (edges.valid[3]) {
        const POINT &p1 = edges.from[3], &p2 = edges.to[3];
        if (p2.x + 1 < k.right) {
            RECT r = {p1.x + m + 1, k.top, k.right, k.bottom};
            FillRect(dc, &r, brush);
        }
    }
}

// How many steps of size step fit into span, or -1 when the step cannot make a grid
// (zero, negative, not a number, or extents that are not numbers).
double GridSteps(float step, float span)
{
    if (!(step > 0.0f) || !std::isfinite(step) || !std::isfinite(span))
        return -1.0;
    double n = static_cast<double>(span) / static_cast<double>(step);
    return n < 0.0 ? 0.0 : std::floor(n);
}

// The lines (or points) of a grid; false when the grid must not be drawn.
struct GridPlan {
    double columns; // lines of constant x, without the edge lines
    double rows;    // lines of constant z
};

bool PlanGrid(float gx, float gy, const float* e, GridPlan* plan)
{
    double nx = GridSteps(gx, e[Right] - e[Left]);
    double ny = GridSteps(gy, e[Bottom] - e[Top]);
    if (nx < 0.0 || ny < 0.0)
        return false;
    plan->columns = nx + 1.0;
    plan->rows = ny + 1.0;
    return true;
}

bool IsOffEdge(float offset)
{
    return offset > 0.5f || offset < -0.5f;
}

// The grid lines of one axis: from start on, offset, one a step (as many as were counted
// and none past end), and the two edges as well when the grid is off them.
template <typename Line>
void DrawAxisGridLines(float start, float end, float offset, float step, long count, Line line)
{
    // Bounded by the counted steps, so that no step can keep the loop turning.
    for (long i = 0; i < count; ++i) {
        float v = start + offset + static_cast<float>(i) * step;
        if (!(v <= end))
            break;
        line(v);
    }
    if (IsOffEdge(offset)) {
        line(start);
        line(end);
    }
}

// One pass of the grid lines; shift moves lines of constant z down and lines of
// constant x to the right, in logical units.
void DrawGridLineSet(HDC dc, float gx, float gy, float ox, float oy, const float* e, float h, const GridPlan& plan,
                     int shift)
{
    POINT a, b;
    auto zLine = [&](float z) {
        if (ProjectEdge(e[Left], h, z, e[Right], h, z, &a, &b)) {
            a.y += shift;
            b.y += shift;
            DrawLine(dc, a, b);
        }
    };
    auto xLine = [&](float x) {
        if (ProjectEdge(x, h, e[Top], x, h, e[Bottom], &a, &b)) {
            a.x += shift;
            b.x += shift;
            DrawLine(dc, a, b);
        }
    };
    DrawAxisGridLines(e[Top], e[Bottom], oy, gy, static_cast<long>(plan.rows), zLine);
    DrawAxisGridLines(e[Left], e[Right], ox, gx, static_cast<long>(plan.columns), xLine);
}

// What both grids draw first: the plan border in the black pen and the grey surround.
// Returns the pen the black pen displaced.
HGDIOBJ DrawGridBorder(HDC dc, const float* extents)
{
    HGDIOBJ previous = SelectObject(dc, GetStockObject(BLACK_PEN));
    BorderEdges edges = ProjectBorder(extents);
    DrawBorderEdges(dc, edges);
    FillSurround(dc, edges, 0, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    return previous;
}

COLORREF PlanBackgroundColour()
{
    PlanSettings* settings = ActiveSettings();
    return settings ? ColourOf(settings->backgroundColour) : RGB(255, 255, 255);
}

} // namespace

void DrawGridLines(HDC dc, float gx, float gy, float ox, float oy, const float* extents, uint8_t colour, int16_t,
                   const float* reference, int16_t)
{
    if (!dc || !extents || !reference)
        return;
    HPEN penA = CreatePen(PS_SOLID, 1, colour ? RGB(192, 192, 192) : RGB(0, 0, 0));
    HPEN penB = CreatePen(PS_SOLID, 1, colour ? PlanBackgroundColour() : RGB(255, 255, 255));
    if (!penA || !penB) {
        if (penA)
            DeleteObject(penA);
        if (penB)
            DeleteObject(penB);
        return;
    }
    HGDIOBJ previous = DrawGridBorder(dc, extents);

    GridPlan plan;
    bool drawable = PlanGrid(gx, gy, extents, &plan) && plan.columns + plan.rows <= MaxGridLines;
    if (drawable) {
        SelectObject(dc, penA);
        DrawGridLineSet(dc, gx, gy, ox, oy, extents, reference[1], plan, 0);
    }
    SelectObject(dc, penB);
    DeleteObject(penA);
    if (drawable)
        DrawGridLineSet(dc, gx, gy, ox, oy, extents, reference[1], plan, 1);
    SelectObject(dc, previous);
    DeleteObject(penB);
}

void DrawGridPoints(HDC dc, float gx, float gy, float ox, float oy, const float* extents, uint8_t colour, int16_t,
                    const float* reference, int16_t)
{
    if (!dc || !extents || !reference)
        return;
    HPEN pen = CreatePen(PS_SOLID, 1, colour ? RGB(192, 192, 192) : RGB(0, 0, 0));
    if (!pen)
        return;
    HGDIOBJ previous = DrawGridBorder(dc, extents);

    GridPlan plan;
    if (PlanGrid(gx, gy, extents, &plan) && plan.columns * plan.rows <= MaxGridPoints) {
        SelectObject(dc, pen);
        RECT k;
        bool clip = ScreenClientRect(dc, &k);
        float h = reference[1];
        long columns = static_cast<long>(plan.columns), rows = static_cast<long>(plan.rows);
        for (long i = 0; i < columns; ++i) {
            float x = extents[Left] + ox + static_cast<float>(i) * gx;
            if (!(x <= extents[Right]))
                break;
            for (long j = 0; j < rows; ++j) {
                float z = extents[Top] + oy + static_cast<float>(j) * gy;
                if (!(z <= extents[Bottom]))
                    break;
                POINT p, unused;
                if (!ProjectEdge(x, h, z, x, h, z, &p, &unused))
                    continue;
                if (clip && !PtInRect(&k, p))
                    continue;
                MoveToEx(dc, p.x, p.y, nullptr);
                LineTo(dc, p.x + 1, p.y);
                MoveToEx(dc, p.x, p.y, nullptr);
                LineTo(dc, p.x, p.y + 1);
            }
        }
    }
    SelectObject(dc, previous);
    DeleteObject(pen);
}

void DrawPlanBorder(HDC dc, float, float, float, float, const float* extents, uint8_t, int16_t, const float*,
                    int16_t)
{
    PlanSettings* settings = ActiveSettings();
    if (!dc || !extents)
        return;
    HPEN pen = CreatePen(PS_SOLID, 1, settings ? ColourOf(settings->foregroundColour) : RGB(0, 0, 0));
    if (!pen)
        return;
    HGDIOBJ previous = SelectObject(dc, pen);
    BorderEdges edges = ProjectBorder(extents);
    DrawBorderEdges(dc, edges);
    HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW));
    FillSurround(dc, edges, ZoomInt(150), brush);
    SelectObject(dc, previous);
    DeleteObject(pen);
    if (brush)
        DeleteObject(brush);
}

void DrawCameraMarker(HDC dc)
{
    PlanSettings* settings = ActiveSettings();
    if (!dc || !settings)
        return;
    int previousRop = SetROP2(dc, R2_NOT);
    HGDIOBJ previousPen = SelectObject(dc, GetStockObject(NULL_PEN));
    HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));

    float px = settings->cameraX, py = 0.0f, pz = settings->cameraZ;
    TransformPointToView(&px, &py, &pz, viewPitchCos, viewPitchSin, viewYawCos, viewYawSin, viewOrigin.x,
                         viewOrigin.y, viewOrigin.z, 1);
    float heading = settings->cameraHeading;
    if (std::isfinite(px) && std::isfinite(py) && std::isfinite(heading) && std::fabs(px) < 1.0e9f &&
        std::fabs(py) < 1.0e9f) {
        const double toRadians = M_PI / 180.0;
        struct { float degrees, length; } corners[3] = {{90.0f, 20.0f}, {130.0f, 10.0f}, {50.0f, 10.0f}};
        POINT triangle[3];
        for (int i = 0; i < 3; ++i) {
            float dx = 0.0f, dy = 0.0f;
            OffsetPointPolar(static_cast<float>((heading + corners[i].degrees) * toRadians), corners[i].length, &dx,
                             &dy);
            triangle[i].x = static_cast<LONG>(px + dx);
            triangle[i].y = static_cast<LONG>(py + dy);
        }
        Polygon(dc, triangle, 3);
        int cx = static_cast<int>(px), cy = static_cast<int>(py);
        Ellipse(dc, cx - 5, cy - 5, cx + 5, cy + 5);
    }
    SelectObject(dc, previousBrush);
    SelectObject(dc, previousPen);
    SetROP2(dc, previousRop);
}

void DrawPlanBackground(HDC dc, const RECT* rect, uint32_t flags)
{
    PlanSettings* settings = ActiveSettings();
    if (!dc || !settings)
        return;
    ApplyViewAngles(viewPitchDegrees, viewYawDegrees, &viewPitchCos, &viewPitchSin, &viewYawCos, &viewYawSin,
                    perspectiveOn);
    if (flags != PaintWithoutBackground && rect)
        FillBackgroundRect(nullptr, dc, rect, 0);
    if (settings->tracingImageShown && UsableTracingImagePath(settings)[0])
        DrawTracingImage(activePlanPane, dc, UsableTracingImagePath(settings));

    float gx = UnitsToPlanLength(settings->gridSpacingX, settings, 0);
    float gy = UnitsToPlanLength(settings->gridSpacingY, settings, 0);
    // Offsets that centre the grid on the extents.
    const float extents[4] = {settings->extentTop, settings->extentLeft, settings->extentBottom,
                              settings->extentRight};
    float whole = 0.0f;
    float oy = ModfF(((extents[Bottom] - extents[Top]) / gy) / 2.0f, &whole) * gy;
    float ox = ModfF(((extents[Right] - extents[Left]) / gx) / 2.0f, &whole) * gx;
    const float reference[3] = {settings->referenceX, settings->referenceHeight, settings->referenceZ};
    if (settings->gridVisible) {
        // Offset 24 allows the grid to be drawn at all.
        if (settings->limitLockHeight) {
            if (settings->gridStyle == 1)
                DrawGridLines(dc, gx, gy, ox, oy, extents, 1, 2, reference, 0);
            else
                DrawGridPoints(dc, gx, gy, ox, oy, extents, 1, 2, reference, 0);
        }
    } else {
        DrawPlanBorder(dc, gx, gy, ox, oy, extents, 1, 2, reference, 0);
    }
    if (activeDocument->firstFloor)
        RedrawPlan(dc, activeDocument->firstFloor, rect, flags, nullptr);
    DrawCameraMarker(dc);
    if (renderWindow)
        RedrawWindow(renderWindow, nullptr, nullptr, RDW_INVALIDATE);
}

void PaintPlanView(const RECT* rect, uint32_t flags)
{
    if (!activePlanPane || !ActiveSettings())
        return;
    HDC dc = GetDC(activePlanPane);
    if (!dc)
        return;
    RECT area;
    if (rect) {
        area = *rect;
    } else {
        GetClientRect(activePlanPane, &area);
        DPtoLP(dc, reinterpret_cast<POINT*>(&area), 2);
    }
    DrawPlanBackground(dc, &area, flags);
    DrawSelectionMarks(activeDocument->firstFloor, &area);
    ReleaseDC(activePlanPane, dc);
}

void UpdatePlanScrollBars(HWND horizontal, HWND vertical)
{
    PlanSettings* settings = ActiveSettings();
    if (!horizontal || !vertical || !activePlanPane || !settings)
        return;
    HDC dc = GetDC(activePlanPane);
    if (!dc)
        return;
    POINT origin;
    GetWindowOrgEx(dc, &origin);
    RECT window;
    GetWindowRect(activePlanPane, &window);
    int w = (window.right - window.left) - 2;
    int h = (window.bottom - window.top) - 2;
    auto r16 = [](float v) -> int {
        if (!(std::fabs(v) < 1.0e9f))
            return 0;
        return static_cast<int16_t>(static_cast<int>(v + 0.5f));
    };
    int ew = (r16(ZoomFloat(settings->extentRight)) - r16(ZoomFloat(settings->extentLeft))) * 2;
    int eh = (r16(ZoomFloat(settings->extentBottom)) - r16(ZoomFloat(settings->extentTop))) * 2;
    int rangeX = ew - w > 0 ? ew - w : 0;
    int rangeY = eh - h > 0 ? eh - h : 0;

    // A plan smaller than the pane is centred in it.
    DPtoLP(dc, reinterpret_cast<POINT*>(&window), 2);
    if (window.right > ew && window.right - window.left > ew + 2)
        origin.x = (window.left - window.right) / 2;
    if (window.bottom > eh && window.bottom - window.top > eh + 2)
        origin.y = (window.top - window.bottom) / 2;

    int positionX = rangeX ? r16(static_cast<float>(origin.x) - ZoomFloat(2.0f * settings->extentLeft)) : 0;
    int positionY = rangeY ? r16(static_cast<float>(origin.y) - ZoomFloat(2.0f * settings->extentTop)) : 0;
    SetScrollRange(horizontal, SB_CTL, 0, rangeX, FALSE);
    SetScrollPos(horizontal, SB_CTL, positionX, TRUE);
    SetScrollRange(vertical, SB_CTL, 0, rangeY, FALSE);
    SetScrollPos(vertical, SB_CTL, positionY, TRUE);
    SetWindowOrgEx(dc, origin.x, origin.y, nullptr);
    ReleaseDC(activePlanPane, dc);
}

void DeactivateDocumentChild()
{
    if (!activeDocument || !activeDocument->textEditChild)
        return;
    SendMessageA(activeDocument->textEditChild, WM_ACTIVATE, WA_INACTIVE, 0);
    if (activePlanPane)
        SendMessageA(activePlanPane, WM_ACTIVATE, WA_ACTIVE, 0);
    ForEachFloorSelection(activeDocument->firstFloor, kEndTextEditOperation, nullptr);
    activeDocument->textEditChild = nullptr;
}
