#include "planview/output_routing.h"
#include <algorithm>
#include <vector>
#include "files/dxf_export.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "model/units.h"
#include "model/view_projection.h"
#include <cmath>

HDC planDC = nullptr;
unsigned char planOutputMode = 0;
float printScaleX = 1.0f;
float printScaleY = 1.0f;
uint8_t exportDxf2D = 0;
uint8_t exportDxf3D = 0;
uint16_t exportKind = 0;
uint32_t exportFileHandle = 0;
uint8_t interactiveRedraw = 0;
uint8_t dragFeedbackActive = 0;
HDC measureSurfaceDC = nullptr;
static HBITMAP measureSurfaceOldBitmap = nullptr;

// ---------------------------------------------------------------------------------
// Rounding and ranges

// Add a half and truncate toward zero (2.5 gives 3, -2.7 gives -2), keeping the low
// 16 bits: the screen road's coordinates are already inside +-30000.
static int16_t RoundScreen(float v)
{
    return static_cast<int16_t>(static_cast<int32_t>(v + 0.5f));
}

static bool InsideScreenRange(float v)
{
    // NaN fails both comparisons and is rejected with the rest.
    return v > -kScreenCoordinateLimit && v < kScreenCoordinateLimit;
}

// Printer and metafile coordinates: the same rounding, kept in 32 bits and held to the
// printing bound so no conversion can overflow.
static int32_t RoundPrint(double v)
{
    if (!(v > -kPrintCoordinateLimit))
        v = -kPrintCoordinateLimit;
    else if (v > kPrintCoordinateLimit)
        v = kPrintCoordinateLimit;
    return static_cast<int32_t>(v + 0.5);
}

// Liang-Barsky: cuts the segment to the rectangle; false when nothing of it is inside.
static bool ClipSegment(double* x1, double* y1, double* x2, double* y2, double left, double top,
                        double right, double bottom)
{
    double dx = *x2 - *x1, dy = *y2 - *y1;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {*x1 - left, right - *x1, *y1 - top, bottom - *y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0.0) {
            if (t > t1)
                return false;
            if (t > t0)
                t0 = t;
        } else {
            if (t < t0)
                return false;
            if (t < t1)
                t1 = t;
        }
    }
    double sx = *x1, sy = *y1;
    if (t1 < 1.0) {
        *x2 = sx + t1 * dx;
        *y2 = sy + t1 * dy;
    }
    if (t0 > 0.0) {
        *x1 = sx + t0 * dx;
        *y1 = sy + t0 * dy;
    }
    return true;
}

// The rectangle printed segments are cut to: the page (the DC's clip box, in logical
// units, grown by a margin) for a printer or a memory DC; the printing bound for a
// metafile, whose picture has no page.
static void GetPrintClipRect(double* left, double* top, double* right, double* bottom)
{
    *left = *top = -kPrintCoordinateLimit;
    *right = *bottom = kPrintCoordinateLimit;
    DWORD kind = GetObjectType(planDC);
    if (kind != OBJ_DC && kind != OBJ_MEMDC)
        return;
    RECT box;
    int region = GetClipBox(planDC, &box);
    if (region != SIMPLEREGION && region != COMPLEXREGION)
        return;
    *left = std::fmax(*left, box.left - kPrintClipMargin);
    *top = std::fmax(*top, box.top - kPrintClipMargin);
    *right = std::fmin(*right, box.right + kPrintClipMargin);
    *bottom = std::fmin(*bottom, box.bottom + kPrintClipMargin);
}

// ---------------------------------------------------------------------------------
// World lines

void DrawWorldLine(HDC dc, float x1, float y1, float z1, float x2, float y2, float z2,
                   uint8_t zoom)
{
    if (planOutputMode == 1) {
        PrintWorldLine(x1, y1, z1, x2, y2, z2);
        return;
    }
    if (!dc)
        return;
    if (zoom) {
        x1 = ZoomFloat(x1);
        y1 = ZoomFloat(y1);
        z1 = ZoomFloat(z1);
        x2 = ZoomFloat(x2);
        y2 = ZoomFloat(y2);
        z2 = ZoomFloat(z2);
    }
    ProjectSegmentToView(&x1, &y1, &z1, &x2, &y2, &z2, perspectiveOn);

    if (exportDxf2D || exportDxf3D) {
        // The export file takes the floats themselves: no device limit applies, so
        // only an end point that is not a number drops the segment.
        if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
            return;
        if (exportDxf2D) {
            EmitExportLine2D(x1, y1, x2, y2, exportKind, exportFileHandle);
            return;
        }
        if (!std::isfinite(z1) || !std::isfinite(z2))
            return;
        EmitExportLine3D(x1, y1, z1, x2, y2, z2, exportKind, exportFileHandle);
        return;
    }

    if (!InsideScreenRange(x1) || !InsideScreenRange(y1) || !InsideScreenRange(x2) ||
        !InsideScreenRange(y2))
        return;
    MoveTo16(dc, RoundScreen(x1), RoundScreen(y1));
    LineTo(dc, RoundScreen(x2), RoundScreen(y2));
}

// ---------------------------------------------------------------------------------
// Printed lines collected into one PolyPolyline. A printer driver sends the pen's colour
// with every stroke: a page of ten thousand lines drawn one stroke each made a PostScript
// file several times the size of its lines. While a batch is open for a pen, the lines
// drawn with that pen are kept and sent as one call when the batch grows large and when
// it closes; a line drawn with any other pen sends the batch first. The current position
// is left at each line's end, as drawing the line would leave it. Texts and black fills
// print in the lines' own black, so sending lines after them changes nothing on paper;
// a shape of another colour (a label's white box) covers what was drawn before it, so
// the lines it meets are sent before it (SendPrintLinesUnder).
bool printLinesInBatches = true;

namespace {

const size_t kPrintBatchPoints = 4096;

HDC printBatchDC = nullptr;
HGDIOBJ printBatchPen = nullptr;
// How far from a shape a line of the batch may lie and still share a device pixel with
// it: the width of the batch's pen and one unit.
LONG printBatchReach = 0;
std::vector<POINT> printBatchPoints;
std::vector<DWORD> printBatchCounts;

void SendPrintBatch()
{
    if (printBatchCounts.empty())
        return;
    HDC dc = printBatchDC;
    HGDIOBJ current = GetCurrentObject(dc, OBJ_PEN);
    if (current != printBatchPen)
        SelectObject(dc, printBatchPen);
    PolyPolyline(dc, printBatchPoints.data(), printBatchCounts.data(), static_cast<DWORD>(printBatchCounts.size()));
    if (current != printBatchPen)
        SelectObject(dc, current);
    printBatchPoints.clear();
    printBatchCounts.clear();
}

// True when the line went into the open batch.
bool AddToPrintBatch(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (!printBatchDC)
        return false;
    if (planDC != printBatchDC || GetCurrentObject(planDC, OBJ_PEN) != printBatchPen) {
        SendPrintBatch();
        return false;
    }
    if (printBatchPoints.size() >= kPrintBatchPoints)
        SendPrintBatch();
    // A line that starts where the last one ended continues its polyline.
    bool joined = !printBatchCounts.empty() && printBatchPoints.back().x == x1 && printBatchPoints.back().y == y1;
    if (joined) {
        ++printBatchCounts.back();
    } else {
        printBatchPoints.push_back(POINT{x1, y1});
        printBatchCounts.push_back(2);
    }
    printBatchPoints.push_back(POINT{x2, y2});
    MoveToEx(planDC, x2, y2, nullptr);
    return true;
}

// The width of a pen in the DC's units (a cosmetic pen of width 0 draws one), and its
// colour; false for the null pen.
bool PenInk(HGDIOBJ pen, LONG* width, COLORREF* colour)
{
    *width = 1;
    *colour = RGB(0, 0, 0);
    if (GetObjectType(pen) == OBJ_EXTPEN) {
        // The style array's length varies: room for a few of its entries.
        union {
            EXTLOGPEN pen;
            BYTE bytes[sizeof(EXTLOGPEN) + 16 * sizeof(DWORD)];
        } extended;
        if (!GetObjectA(pen, sizeof extended, &extended))
            return true;
        if ((extended.pen.elpPenStyle & PS_STYLE_MASK) == PS_NULL)
            return false;
        *width = std::max<LONG>(1, static_cast<LONG>(extended.pen.elpWidth));
        *colour = extended.pen.elpColor;
        return true;
    }
    LOGPEN logical;
    if (!GetObjectA(pen, sizeof logical, &logical))
        return true;
    if (logical.lopnStyle == PS_NULL)
        return false;
    *width = std::max<LONG>(1, logical.lopnWidth.x);
    *colour = logical.lopnColor;
    return true;
}

// Whether the segment comes within the reach of the convex polygon: no axis (the normal
// of the segment or of an edge of the polygon) parts them by more than the reach.
bool SegmentMeetsPolygon(const POINT& a, const POINT& b, const POINT* points, int count, double reach)
{
    auto parts = [&](double nx, double ny) {
        const double length = std::hypot(nx, ny);
        if (length == 0.0)
            return false;
        double low = HUGE_VAL, high = -HUGE_VAL;
        for (int i = 0; i < count; ++i) {
            const double p = (points[i].x * nx + points[i].y * ny) / length;
            low = std::fmin(low, p);
            high = std::fmax(high, p);
        }
        const double pa = (a.x * nx + a.y * ny) / length, pb = (b.x * nx + b.y * ny) / length;
        return std::fmax(pa, pb) < low - reach || std::fmin(pa, pb) > high + reach;
    };
    if (parts(static_cast<double>(b.y) - a.y, static_cast<double>(a.x) - b.x))
        return false;
    for (int i = 0; i < count; ++i) {
        const POINT& p = points[i];
        const POINT& q = points[(i + 1) % count];
        if (parts(static_cast<double>(q.y) - p.y, static_cast<double>(p.x) - q.x))
            return false;
    }
    return true;
}

// Whether a shape drawn with the DC's pen and brush prints nothing but the lines' black.
bool ShapeInLineBlack(HDC dc)
{
    LOGBRUSH brush;
    if (!GetObjectA(GetCurrentObject(dc, OBJ_BRUSH), sizeof brush, &brush))
        return false;
    if (brush.lbStyle != BS_NULL && !(brush.lbStyle == BS_SOLID && (brush.lbColor & 0xFFFFFF) == 0))
        return false;
    LONG width = 0;
    COLORREF colour = 0;
    return !PenInk(GetCurrentObject(dc, OBJ_PEN), &width, &colour) || (colour & 0xFFFFFF) == 0;
}

} // namespace

void BeginPrintLineBatch(HDC dc, HGDIOBJ pen)
{
    EndPrintLineBatch();
    if (!printLinesInBatches || !dc || !pen)
        return;
    printBatchDC = dc;
    printBatchPen = pen;
    LONG width = 1;
    COLORREF colour = 0;
    PenInk(pen, &width, &colour);
    printBatchReach = width + 1;
}

void EndPrintLineBatch()
{
    SendPrintBatch();
    printBatchDC = nullptr;
    printBatchPen = nullptr;
}

void SendPrintLinesUnder(HDC dc, const POINT* points, int count)
{
    if (!dc || dc != printBatchDC || printBatchCounts.empty() || !points || count < 1 || ShapeInLineBlack(dc))
        return;
    // The shape's box, grown by the reach, sets aside most lines at little cost.
    LONG left = points[0].x, top = points[0].y, right = left, bottom = top;
    for (int i = 1; i < count; ++i) {
        left = std::min(left, points[i].x);
        right = std::max(right, points[i].x);
        top = std::min(top, points[i].y);
        bottom = std::max(bottom, points[i].y);
    }
    size_t at = 0;
    for (DWORD n : printBatchCounts) {
        for (size_t i = at + 1; i < at + n; ++i) {
            const POINT& a = printBatchPoints[i - 1];
            const POINT& b = printBatchPoints[i];
            if (std::max(a.x, b.x) < left - printBatchReach || std::min(a.x, b.x) > right + printBatchReach ||
                std::max(a.y, b.y) < top - printBatchReach || std::min(a.y, b.y) > bottom + printBatchReach)
                continue;
            if (SegmentMeetsPolygon(a, b, points, count, printBatchReach)) {
                SendPrintBatch();
                return;
            }
        }
        at += n;
    }
}

void PrintWorldLine(float x1, float y1, float z1, float x2, float y2, float z2)
{
    if (!planDC || planOutputMode == 0)
        return;
    ProjectSegmentToView(&x1, &y1, &z1, &x2, &y2, &z2, perspectiveOn);
    double px1 = x1 * printScaleX, py1 = y1 * printScaleY;
    double px2 = x2 * printScaleX, py2 = y2 * printScaleY;
    if (!std::isfinite(px1) || !std::isfinite(py1) || !std::isfinite(px2) || !std::isfinite(py2))
        return;
    // Printing to scale at printer resolution puts most of the plan beyond any 16-bit
    // range: keep what falls on the page instead of dropping the line.
    double left, top, right, bottom;
    GetPrintClipRect(&left, &top, &right, &bottom);
    if (!ClipSegment(&px1, &py1, &px2, &py2, left, top, right, bottom))
        return;
    int32_t ax = RoundPrint(px1), ay = RoundPrint(py1), bx = RoundPrint(px2), by = RoundPrint(py2);
    if (AddToPrintBatch(ax, ay, bx, by))
        return;
    MoveToEx(planDC, ax, ay, nullptr);
    LineTo(planDC, bx, by);
}

void PrintMoveTo(float x, float y)
{
    if (!planDC || planOutputMode != 1)
        return;
    MoveToEx(planDC, RoundPrint(static_cast<double>(x * printScaleX)),
             RoundPrint(static_cast<double>(y * printScaleY)), nullptr);
}

void PrintLineTo(float x, float y)
{
    if (!planDC || planOutputMode != 1)
        return;
    LineTo(planDC, RoundPrint(static_cast<double>(x * printScaleX)),
           RoundPrint(static_cast<double>(y * printScaleY)));
}

void PrintLine(float x1, float y1, float x2, float y2)
{
    PrintMoveTo(x1, y1);
    PrintLineTo(x2, y2);
}

void DrawViewLine(HDC dc, float x1, float y1, float x2, float y2)
{
    if (planOutputMode == 1) {
        if (!planDC)
            return;
        double px1 = x1 * static_cast<double>(printScaleX), py1 = y1 * static_cast<double>(printScaleY);
        double px2 = x2 * static_cast<double>(printScaleX), py2 = y2 * static_cast<double>(printScaleY);
        if (!std::isfinite(px1) || !std::isfinite(py1) || !std::isfinite(px2) || !std::isfinite(py2))
            return;
        double left, top, right, bottom;
        GetPrintClipRect(&left, &top, &right, &bottom);
        if (!ClipSegment(&px1, &py1, &px2, &py2, left, top, right, bottom))
            return;
        MoveToEx(planDC, RoundPrint(px1), RoundPrint(py1), nullptr);
        LineTo(planDC, RoundPrint(px2), RoundPrint(py2));
        return;
    }
    if (!dc || !InsideScreenRange(x1) || !InsideScreenRange(y1) || !InsideScreenRange(x2) ||
        !InsideScreenRange(y2))
        return;
    MoveTo16(dc, RoundScreen(x1), RoundScreen(y1));
    LineTo(dc, RoundScreen(x2), RoundScreen(y2));
}

void DrawViewPolygon(HDC dc, const float (*points)[2], int count)
{
    const bool printing = planOutputMode == 1;
    HDC target = printing ? planDC : dc;
    if (!target || !points || count < 3 || count > 8)
        return;
    POINT device[8];
    for (int i = 0; i < count; ++i) {
        double x = points[i][0], y = points[i][1];
        if (printing) {
            x *= printScaleX;
            y *= printScaleY;
        }
        device[i].x = RoundPrint(x);
        device[i].y = RoundPrint(y);
    }
    if (printing)
        SendPrintLinesUnder(target, device, count);
    Polygon(target, device, count);
}

// ---------------------------------------------------------------------------------
// The plan pane's own DC

static int16_t PaneCoordinate(int16_t v, uint8_t zoom)
{
    return zoom ? static_cast<int16_t>(ZoomInt(v)) : v;
}

void PlanMoveTo(int16_t x, int16_t y, uint8_t zoom)
{
    if (!activePlanPane)
        return;
    HDC dc = GetDC(activePlanPane);
    if (!dc)
        return;
    MoveTo16(dc, PaneCoordinate(x, zoom), PaneCoordinate(y, zoom));
    ReleaseDC(activePlanPane, dc);
}

void PlanLineTo(int16_t x, int16_t y, uint8_t zoom)
{
    if (!activePlanPane)
        return;
    HDC dc = GetDC(activePlanPane);
    if (!dc)
        return;
    LineTo(dc, PaneCoordinate(x, zoom), PaneCoordinate(y, zoom));
    ReleaseDC(activePlanPane, dc);
}

void PlanLine(int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint8_t zoom)
{
    if (!activePlanPane)
        return;
    HDC dc = GetDC(activePlanPane);
    if (!dc)
        return;
    MoveTo16(dc, PaneCoordinate(x1, zoom), PaneCoordinate(y1, zoom));
    LineTo(dc, PaneCoordinate(x2, zoom), PaneCoordinate(y2, zoom));
    ReleaseDC(activePlanPane, dc);
}

// ---------------------------------------------------------------------------------
// Pens

int16_t GetObjectPenWidth(const PlanObject* object, uint8_t zoom)
{
    if (!object)
        return 1;
    if (object->size > 0.0f) {
        float width = zoom ? ZoomFloat(object->size) : object->size;
        if (planOutputMode == 1)
            width *= printScaleX;
        float rounded = width + 0.5f;
        // A huge width at printer scale must not wrap to a negative pen.
        if (!(rounded < 32767.0f))
            return 32767;
        int16_t pixels = static_cast<int16_t>(static_cast<int32_t>(rounded));
        return pixels < 1 ? 1 : pixels;
    }
    return object->size < -0.1f ? 1 : 0;
}

void GetPenCentreOffset(int16_t width, int16_t* dx, int16_t* dy)
{
    if (width <= 1)
        return;
    int16_t offset = static_cast<int16_t>(-(width / 2));
    if (dx)
        *dx = offset;
    if (dy)
        *dy = offset;
}

// ---------------------------------------------------------------------------------
// Off-screen DCs

HDC CreateOffscreenDC(HWND window, HBITMAP* previousBitmap, uint8_t colour)
{
    if (!window || !previousBitmap || !activeDocument)
        return nullptr;
    HDC windowDC = GetDC(window);
    if (!windowDC)
        return nullptr;
    HDC memoryDC = CreateCompatibleDC(windowDC);
    if (!memoryDC) {
        ReleaseDC(window, windowDC);
        return nullptr;
    }
    RECT client;
    GetClientRect(window, &client);
    DPtoLP(windowDC, reinterpret_cast<POINT*>(&client), 2);
    SetWindowOrg16(memoryDC, client.left, client.top);
    int width = client.right - client.left;
    int height = client.bottom - client.top;
    HBITMAP bitmap = CreateCompatibleBitmap(colour ? windowDC : memoryDC, width, height);
    if (bitmap)
        *previousBitmap = static_cast<HBITMAP>(SelectObject(memoryDC, bitmap));
    ReleaseDC(window, windowDC);
    return memoryDC;
}

void DeleteOffscreenDC(HDC memoryDC, HBITMAP previousBitmap)
{
    if (!memoryDC)
        return;
    // Without a previous bitmap none of ours was selected: the DC's own stays.
    if (previousBitmap) {
        HGDIOBJ ours = SelectObject(memoryDC, previousBitmap);
        if (ours)
            DeleteObject(ours);
    }
    DeleteDC(memoryDC);
}

int FillBackgroundRect(HWND, HDC dc, const RECT* rect, int)
{
    if (!dc || !rect)
        return 0;
    HBRUSH brush = nullptr;
    if (activeDocument && activeDocument->settings && !interactiveRedraw) {
        const ColourTriple& c = activeDocument->settings->backgroundColour;
        brush = CreateSolidBrush(RGB(c.red / 257, c.green / 257, c.blue / 257));
    }
    if (!brush)
        return FillRect(dc, rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    int result = FillRect(dc, rect, brush);
    DeleteObject(brush);
    return result;
}

// ---------------------------------------------------------------------------------
// Measuring surface

void CreateMeasureSurface()
{
    if (measureSurfaceDC)
        return;
    HDC screen = GetDC(nullptr);
    if (!screen)
        return;
    HDC dc = CreateCompatibleDC(screen);
    if (!dc) {
        ReleaseDC(nullptr, screen);
        return;
    }
    SetMapMode(dc, GetMapMode(screen));
    RECT area = {0, 0, measureSurfaceSize, measureSurfaceSize};
    DPtoLP(screen, reinterpret_cast<POINT*>(&area), 2);
    ReleaseDC(nullptr, screen);
    SetWindowOrgEx(dc, -(measureSurfaceSize / 2), -(measureSurfaceSize / 2), nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, area.right - area.left, area.bottom - area.top);
    measureSurfaceOldBitmap = nullptr;
    if (bitmap)
        measureSurfaceOldBitmap = static_cast<HBITMAP>(SelectObject(dc, bitmap));
    SetPolyFillMode(dc, WINDING);
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    SelectObject(dc, GetStockObject(NULL_PEN));
    measureSurfaceDC = dc;
}

void FillOffscreenWhite()
{
    if (!measureSurfaceDC)
        return;
    const int half = measureSurfaceSize / 2;
    RECT all = {-half, -half, half, half};
    FillRect(measureSurfaceDC, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

void DeleteMeasureSurface()
{
    if (!measureSurfaceDC)
        return;
    if (measureSurfaceOldBitmap) {
        HGDIOBJ ours = SelectObject(measureSurfaceDC, measureSurfaceOldBitmap);
        if (ours)
            DeleteObject(ours);
    }
    DeleteDC(measureSurfaceDC);
    measureSurfaceDC = nullptr;
    measureSurfaceOldBitmap = nullptr;
}

// ---------------------------------------------------------------------------------
// Blits

static BOOL BlitClientArea(HWND window, HDC destination, HDC source, HDC windowDC)
{
    RECT client;
    GetClientRect(window, &client);
    DPtoLP(windowDC, reinterpret_cast<POINT*>(&client), 2);
    return BitBlt(destination, client.left, client.top, client.right - client.left,
                  client.bottom - client.top, source, client.left, client.top, SRCCOPY);
}

BOOL BlitMemoryToWindow(HWND window, HDC windowDC, HDC memoryDC)
{
    if (!window || !windowDC || !memoryDC)
        return FALSE;
    return BlitClientArea(window, windowDC, memoryDC, windowDC);
}

BOOL BlitWindowToMemory(HWND window, HDC windowDC, HDC memoryDC)
{
    if (!window || !windowDC || !memoryDC)
        return FALSE;
    return BlitClientArea(window, memoryDC, windowDC, windowDC);
}

// ---------------------------------------------------------------------------------
// 16-bit GDI and f32 maths

BOOL MoveTo16(HDC dc, int16_t x, int16_t y)
{
    return MoveToEx(dc, x, y, nullptr);
}

BOOL OffsetWindowOrg16(HDC dc, int16_t x, int16_t y)
{
    return OffsetWindowOrgEx(dc, x, y, nullptr);
}

BOOL SetWindowExt16(HDC dc, int16_t x, int16_t y)
{
    return SetWindowExtEx(dc, x, y, nullptr);
}

float AbsF(float x) { return static_cast<float>(std::fabs(static_cast<double>(x))); }

float ModfF(float x, float* whole)
{
    double integral = 0.0;
    double fraction = std::modf(static_cast<double>(x), &integral);
    if (whole)
        *whole = static_cast<float>(integral);
    return static_cast<float>(fraction);
}

float SqrtF(float x) { return static_cast<float>(std::sqrt(static_cast<double>(x))); }
float PowF(float x, float y) { return static_cast<float>(std::pow(static_cast<double>(x), static_cast<double>(y))); }
float AcosF(float x) { return static_cast<float>(std::acos(static_cast<double>(x))); }
float SinF(float x) { return static_cast<float>(std::sin(static_cast<double>(x))); }
float CosF(float x) { return static_cast<float>(std::cos(static_cast<double>(x))); }
float Atan2F(float y, float x) { return static_cast<float>(std::atan2(static_cast<double>(y), static_cast<double>(x))); }
float FloorF(float x) { return static_cast<float>(std::floor(static_cast<double>(x))); }
