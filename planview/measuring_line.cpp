#include "planview/measuring_line.h"
#include "model/dialog_fields.h"
#include "model/plan_document.h"
#include "model/plan_settings.h"
#include "model/plane_geometry.h"
#include "model/units.h"
#include "model/view_projection.h"
#include "planview/input_gdi.h"
#include "planview/output_routing.h"
#include "planview/plan_redraw.h"
#include "planview/run_fonts.h"
#include "shell/measurement_bar.h"
#include "tools/point_mapping.h"
#include <initializer_list>
#include <math.h>
#include <stdio.h>
#include <string.h>

namespace {

const float kPi = 3.14159265358979f;
const float kQuarterTurn = kPi / 2.0f;
const double kRadiansToDegrees = 57.29577951308232;
// Plan units before zoom.
const float kBandWidth = 50.0f;
const float kHandleInset = 14.0f;
const float kHandleHalf = 7.0f;
const int32_t kLabelHeight = 28;
const float kShortTick = 7.0f;
const float kLongTick = 14.0f;
const float kEndBar = 10.0f;
const float kLabelOffset = 11.0f;
const float kShortestLine = 72.0f;
// The grid's rule: beyond this many ticks the ruler shows none.
const double kMostTicks = 10000.0;

struct ViewPt {
    float x, y;
};

ViewPt Polar(ViewPt p, float angle, float distance)
{
    float dx = 0.0f, dy = 0.0f;
    OffsetPointPolar(angle, distance, &dx, &dy);
    return {p.x + dx, p.y + dy};
}

LONG Round(float v)
{
    if (!(v > -1.0e7f))
        v = -1.0e7f;
    else if (v > 1.0e7f)
        v = 1.0e7f;
    return static_cast<LONG>(v + 0.5f);
}

void Line(HDC dc, ViewPt a, ViewPt b)
{
    MoveToEx(dc, Round(a.x), Round(a.y), nullptr);
    LineTo(dc, Round(b.x), Round(b.y));
}

// The line's ends in the view, its direction, and half the zoomed band width; false
// while the active document does not show it.
struct Ruler {
    ViewPt e1, e2;
    float a, b, length, halfWidth;
};

bool ShownRuler(Ruler* r)
{
    PlanDocument* document = activeDocument;
    if (!document || !document->settings || !document->measuringLineShown)
        return false;
    const float* ends = document->measuringLineEnds;
    float x1 = ends[0], y1 = 0.0f, z1 = ends[1], x2 = ends[2], y2 = 0.0f, z2 = ends[3];
    ProjectSegmentToView(&x1, &y1, &z1, &x2, &y2, &z2, perspectiveOn);
    r->e1 = {x1, y1};
    r->e2 = {x2, y2};
    r->a = AngleBetweenPoints(x1, y1, x2, y2, &r->length);
    float back = 0.0f;
    r->b = AngleBetweenPoints(x2, y2, x1, y1, &back);
    r->halfWidth = ZoomFloat(kBandWidth) / 2.0f;
    return true;
}

void BandPoints(const Ruler& r, POINT out[4])
{
    const ViewPt p[4] = {Polar(r.e1, r.a + kQuarterTurn, r.halfWidth),
                         Polar(r.e2, r.b - kQuarterTurn, r.halfWidth),
                         Polar(r.e2, r.b + kQuarterTurn, r.halfWidth),
                         Polar(r.e1, r.a - kQuarterTurn, r.halfWidth)};
    for (int i = 0; i < 4; ++i)
        out[i] = {Round(p[i].x), Round(p[i].y)};
}

void HandleRect(ViewPt end, float direction, RECT* rect)
{
    const ViewPt c = Polar(end, direction, ZoomFloat(kHandleInset));
    const float h = ZoomFloat(kHandleHalf);
    *rect = {Round(c.x - h), Round(c.y - h), Round(c.x + h), Round(c.y + h)};
}

void EndBars(HDC dc, const Ruler& r)
{
    const int rop = SetROP2(dc, R2_NOTXORPEN);
    HGDIOBJ pen = SelectObject(dc, GetStockObject(BLACK_PEN));
    const float bar = ZoomFloat(kEndBar);
    for (ViewPt end : {r.e1, r.e2}) {
        for (float side : {kQuarterTurn, -kQuarterTurn}) {
            Line(dc, Polar(end, r.a + side, r.halfWidth + bar), Polar(end, r.a + side, r.halfWidth));
        }
    }
    if (pen)
        SelectObject(dc, pen);
    SetROP2(dc, rop);
}

// The ghost of a drag: end bars and band, in the DC's exclusive-or mode.
void DrawGhost(HDC dc)
{
    Ruler r;
    if (!ShownRuler(&r))
        return;
    EndBars(dc, r);
    POINT band[4];
    BandPoints(r, band);
    Polygon(dc, band, 4);
}

float StoredLength(const PlanDocument* document)
{
    const float* e = document->measuringLineEnds;
    return Distance2D(e[0], e[1], e[2], e[3]);
}

} // namespace

void GetMeasuringBand(POINT* points)
{
    Ruler r;
    if (points && ShownRuler(&r))
        BandPoints(r, points);
}

void GetMeasuringHandle1(RECT* rect)
{
    Ruler r;
    if (rect && ShownRuler(&r))
        HandleRect(r.e1, r.a, rect);
}

void GetMeasuringHandle2(RECT* rect)
{
    Ruler r;
    if (rect && ShownRuler(&r))
        HandleRect(r.e2, r.b, rect);
}

void DrawMeasuringEndBars(HDC dc)
{
    Ruler r;
    if (dc && ShownRuler(&r))
        EndBars(dc, r);
}

void DrawMeasuringTicks(HDC dc)
{
    Ruler r;
    if (!dc || !ShownRuler(&r))
        return;
    const PlanSettings* settings = activeDocument->settings;
    const float snap = settings->snapStepX <= settings->snapStepY ? settings->snapStepX
                                                                  : settings->snapStepY;
    const float step = UnitsToPlanLength(snap, settings, 1);
    // No ticks for a step that is no length, or one that would give too many of them.
    if (!(step > 0.0f) || !isfinite(step) || r.length / step > kMostTicks)
        return;
    int index = 1;
    for (float t = step; t < r.length; t = step * static_cast<float>(++index)) {
        const ViewPt q = Polar(r.e1, r.a, t);
        const float k = ZoomFloat(index % 2 ? kShortTick : kLongTick);
        for (float side : {kQuarterTurn, -kQuarterTurn})
            Line(dc, Polar(q, r.a + side, r.halfWidth), Polar(q, r.a + side, r.halfWidth - k));
    }
}

void DrawMeasuringLabel(HDC dc)
{
    Ruler r;
    if (!dc || !ShownRuler(&r))
        return;
    PlanSettings* settings = activeDocument->settings;
    double degrees = r.a * kRadiansToDegrees;
    float offset = ZoomFloat(kLabelOffset);
    if (degrees > 90.0 && degrees < 270.0) {
        // Upright, on the other side of the band.
        degrees += 180.0;
        offset = -offset;
    }
    const ViewPt at = Polar({(r.e1.x + r.e2.x) / 2.0f, (r.e1.y + r.e2.y) / 2.0f},
                            r.a - kQuarterTurn, offset);

    char text[kLengthTextSize];
    const float length = PlanLengthToUnits(StoredLength(activeDocument), settings, 0);
    if (settings->unitSystem != kUnitSystemFeetInches)
        snprintf(text, sizeof text, "%0.2f m",
                 static_cast<double>(InchesToMetres(ConvertUnitsToInches(length, settings))));
    else
        FormatLength(length, text, settings, 1);

    LOGFONTA logFont = {};
    const int32_t height = ZoomInt(kLabelHeight);
    logFont.lfHeight = -(height < 1 ? 1 : height);
    logFont.lfEscapement = logFont.lfOrientation = static_cast<LONG>(degrees * 10.0 + 0.5);
    logFont.lfItalic = 1;
    logFont.lfPitchAndFamily = 52;
    strcpy(logFont.lfFaceName, "Arial");
    // Zoomed by the plan's zoom, which may be anything a file held.
    HFONT font = AcquireRunFont(MakeDrawableFont(logFont));
    if (!font)
        return;
    HGDIOBJ previous = SelectTextFont(dc, font);
    const int mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF colour = SetTextColor(dc, RGB(0, 0, 0));
    const UINT align = SetTextAlign(dc, TA_BASELINE | TA_CENTER);
    TextOutA(dc, Round(at.x), Round(at.y), text, static_cast<int>(strlen(text)));
    SetTextAlign(dc, align);
    SetTextColor(dc, colour);
    SetBkMode(dc, mode);
    RestoreTextFont(dc, previous);
    ReleaseRunFont(font);
}

void DrawMeasuringLine(HDC dc)
{
    // A ruler over the pane: never on paper or in an export file.
    Ruler r;
    if (!dc || planOutputMode == 1 || exportDxf2D || exportDxf3D || !ShownRuler(&r))
        return;
    HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
    HPEN black = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HGDIOBJ previousBrush = yellow ? SelectObject(dc, yellow) : GetCurrentObject(dc, OBJ_BRUSH);
    HGDIOBJ previousPen = black ? SelectObject(dc, black) : GetCurrentObject(dc, OBJ_PEN);
    EndBars(dc, r);
    POINT band[4];
    BandPoints(r, band);
    Polygon(dc, band, 4);
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    SelectObject(dc, GetStockObject(BLACK_PEN));
    if (yellow)
        DeleteObject(yellow);
    if (black)
        DeleteObject(black);
    RECT handle;
    HandleRect(r.e1, r.a, &handle);
    Ellipse(dc, handle.left, handle.top, handle.right, handle.bottom);
    HandleRect(r.e2, r.b, &handle);
    Ellipse(dc, handle.left, handle.top, handle.right, handle.bottom);
    DrawMeasuringLabel(dc);
    DrawMeasuringTicks(dc);
    if (previousBrush)
        SelectObject(dc, previousBrush);
    if (previousPen)
        SelectObject(dc, previousPen);
}

bool HitTestMeasuringLine(POINT point, uint8_t* part)
{
    Ruler r;
    if (!part || !ShownRuler(&r))
        return false;
    part[0] = 0;
    part[1] = 0;
    POINT band[4];
    BandPoints(r, band);
    HRGN region = CreatePolygonRgn(band, 4, ALTERNATE);
    if (region) {
        if (PtInRegion(region, point.x, point.y))
            part[0] = 1;
        DeleteObject(region);
    }
    // A handle wins over the band it lies on; handle 1 is asked first.
    RECT handle;
    HandleRect(r.e1, r.a, &handle);
    if (PtInRect(&handle, point)) {
        part[0] = 2;
    } else {
        HandleRect(r.e2, r.b, &handle);
        if (PtInRect(&handle, point))
            part[0] = 3;
    }
    return part[0] != 0;
}

void DragMeasuringLine(HDC dc, HWND window, uint8_t part)
{
    PlanDocument* document = activeDocument;
    if (!dc || !window || !document || !document->settings || !document->measuringLineShown)
        return;
    PlanSettings* settings = document->settings;
    float* ends = document->measuringLineEnds;
    if (settings->snapToGrid) {
        float unused = 0.0f;
        SnapFloatPointToGrid(settings, &ends[0], &unused, &ends[1]);
        SnapFloatPointToGrid(settings, &ends[2], &unused, &ends[3]);
    }
    const int rop = SetROP2(dc, R2_NOTXORPEN);
    HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    HGDIOBJ previousPen = SelectObject(dc, GetStockObject(NULL_PEN));

    POINT screen = {0, 0};
    CurrentInput().CursorPos(&screen);
    POINT logical = {0, 0};
    GetCursorLogicalPosInWindow(window, &logical);
    float start[3] = {0.0f, 0.0f, 0.0f};
    MapPlanPointToModel(logical.x, logical.y, &start[0], &start[1], &start[2], 1, nullptr, 1);
    const float startEnds[4] = {ends[0], ends[1], ends[2], ends[3]};

    ShowLengthReadout(0.0f);
    DrawGhost(dc);
    while (IsMouseButtonDown()) {
        POINT now = {0, 0};
        CurrentInput().CursorPos(&now);
        if (now.x == screen.x && now.y == screen.y)
            continue;
        screen = now;
        DrawGhost(dc);
        GetCursorLogicalPosInWindow(window, &logical);
        float k[3] = {start[0], start[1], start[2]};
        MapPlanPointToModel(logical.x, logical.y, &k[0], &k[1], &k[2], 1, nullptr, 1);
        const float dx = k[0] - start[0], dz = k[2] - start[2];
        if (part == 1 || part == 2) {
            ends[0] = startEnds[0] + dx;
            ends[1] = startEnds[1] + dz;
        }
        if (part == 1 || part == 3) {
            ends[2] = startEnds[2] + dx;
            ends[3] = startEnds[3] + dz;
        }
        DrawGhost(dc);
        ShowLengthReadout(PlanLengthToUnits(StoredLength(document), settings, 0));
    }
    DrawGhost(dc);
    SelectObject(dc, previousBrush);
    SelectObject(dc, previousPen);
    SetROP2(dc, rop);

    // A handle never leaves the line shorter than 72 plan units.
    if (StoredLength(document) < kShortestLine) {
        float unused = 0.0f;
        if (part == 2) {
            const float a = AngleBetweenPoints(ends[2], ends[3], ends[0], ends[1], &unused);
            float dx = 0.0f, dz = 0.0f;
            OffsetPointPolar(a, kShortestLine, &dx, &dz);
            ends[0] = ends[2] + dx;
            ends[1] = ends[3] + dz;
        } else if (part == 3) {
            const float a = AngleBetweenPoints(ends[0], ends[1], ends[2], ends[3], &unused);
            float dx = 0.0f, dz = 0.0f;
            OffsetPointPolar(a, kShortestLine, &dx, &dz);
            ends[2] = ends[0] + dx;
            ends[3] = ends[1] + dz;
        }
    }
    InvalidatePlanView();
}
