#include "model/units.h"

#include <math.h>

#include "model/object_extents.h"
#include "model/object_operations.h"
#include "model/plan_document.h"
#include "model/plan_object.h"
#include "model/plan_settings.h"
#include "planview/view_origin.h"
#include "tools/tool_state.h"

namespace {

constexpr double kInchesPerFoot = 12.0;
constexpr double kInchesPerYard = 36.0;
constexpr double kInchesPerMile = 63360.0;
constexpr double kInchesPerMillimetre = 0.03937;
constexpr double kInchesPerCentimetre = 0.3937;
constexpr double kInchesPerDecimetre = 3.937;
constexpr double kInchesPerMetre = 39.37;
constexpr double kPointsPerInch = 72.0;

// The zoomed plan must stay inside the 16-bit coordinates that GDI is given.
constexpr double kZoomedPlanLimit = 32000.0;

constexpr short kTextToolId = 203;

// Float to integer without undefined behaviour: saturates and maps NaN to 0.
int32_t TruncateToInt32(double v)
{
    if (v != v) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(v);
}

LONG ClampToInt16(int32_t v)
{
    if (v > 32767) return 32767;
    if (v < -32768) return -32768;
    return v;
}

// A zoom that scales at all: positive and finite, and not exactly 1.0.
bool IsZoomApplicable(float zoom)
{
    return zoom > 0.0f && zoom != 1.0f && isfinite(zoom);
}

// The active document's zoom, 1.0 when there is no document or settings.
float ActiveZoom()
{
    return UsableZoom(activeDocument ? activeDocument->settings : nullptr);
}

double InchesPerUnit(uint16_t unit)
{
    switch (unit) {
    case kUnitFoot: return kInchesPerFoot;
    case kUnitYard: return kInchesPerYard;
    case kUnitMile: return kInchesPerMile;
    case kUnitMillimetre: return kInchesPerMillimetre;
    case kUnitCentimetre: return kInchesPerCentimetre;
    case kUnitDecimetre: return kInchesPerDecimetre;
    case kUnitMetre: return kInchesPerMetre;
    default: return 0.0;  // inches, or a code that converts nothing
    }
}

float UnitToInches(float value, uint16_t unit)
{
    const double factor = InchesPerUnit(unit);
    if (factor == 0.0) return value;
    return static_cast<float>(static_cast<double>(value) * factor);
}

float InchesToUnit(float value, uint16_t unit)
{
    const double factor = InchesPerUnit(unit);
    if (factor == 0.0) return value;
    return static_cast<float>(static_cast<double>(value) / factor);
}

}  // namespace

float FeetToInches(float x) { return UnitToInches(x, kUnitFoot); }
float InchesToFeet(float x) { return InchesToUnit(x, kUnitFoot); }
float YardsToInches(float x) { return UnitToInches(x, kUnitYard); }
float InchesToYards(float x) { return InchesToUnit(x, kUnitYard); }
float MilesToInches(float x) { return UnitToInches(x, kUnitMile); }
float InchesToMiles(float x) { return InchesToUnit(x, kUnitMile); }
float MillimetresToInches(float x) { return UnitToInches(x, kUnitMillimetre); }
float InchesToMillimetres(float x) { return InchesToUnit(x, kUnitMillimetre); }
float CentimetresToInches(float x) { return UnitToInches(x, kUnitCentimetre); }
float InchesToCentimetres(float x) { return InchesToUnit(x, kUnitCentimetre); }
float DecimetresToInches(float x) { return UnitToInches(x, kUnitDecimetre); }
float InchesToDecimetres(float x) { return InchesToUnit(x, kUnitDecimetre); }
float MetresToInches(float x) { return UnitToInches(x, kUnitMetre); }
float InchesToMetres(float x) { return InchesToUnit(x, kUnitMetre); }
float InchesToPoints(float x) { return static_cast<float>(x * kPointsPerInch); }

float ConvertUnitsToInches(float value, const PlanSettings* settings)
{
    if (!settings) return value;
    return UnitToInches(value, settings->drawingUnit);
}

float ConvertInchesToUnits(float value, const PlanSettings* settings)
{
    if (!settings) return value;
    return InchesToUnit(value, settings->drawingUnit);
}

float ConvertPaperUnitsToInches(float value, const PlanSettings* settings)
{
    if (!settings) return value;
    return UnitToInches(value, settings->paperUnit);
}

float PlanLengthToUnits(float planLength, const PlanSettings* settings, int zoomFlag)
{
    if (!settings) return planLength;
    const float inches = static_cast<float>(static_cast<double>(planLength) / kPointsPerInch *
                                            UsableDrawingScale(settings));
    float result = ConvertInchesToUnits(inches, settings);
    if (zoomFlag) result = ZoomFloat(result);
    return result;
}

float UnitsToPlanLength(float length, const PlanSettings* settings, int zoomFlag)
{
    if (!settings) return length;
    const double inches = ConvertUnitsToInches(length, settings);
    float result = static_cast<float>(inches / UsableDrawingScale(settings) * kPointsPerInch);
    if (zoomFlag) result = ZoomFloat(result);
    return result;
}

int32_t ZoomIntBy(int32_t x, float zoom)
{
    if (!IsZoomApplicable(zoom)) return x;
    return TruncateToInt32(static_cast<double>(x) * zoom + 0.5);
}

int32_t UnzoomIntBy(int32_t x, float zoom)
{
    if (!IsZoomApplicable(zoom)) return x;
    return TruncateToInt32(static_cast<double>(x) / zoom + 0.5);
}

float ZoomFloatBy(float x, float zoom)
{
    if (!IsZoomApplicable(zoom)) return x;
    return x * zoom;
}

float UnzoomFloatBy(float x, float zoom)
{
    if (!IsZoomApplicable(zoom)) return x;
    return x / zoom;
}

int32_t ZoomInt(int32_t x) { return ZoomIntBy(x, ActiveZoom()); }
int32_t UnzoomInt(int32_t x) { return UnzoomIntBy(x, ActiveZoom()); }
float ZoomFloat(float x) { return ZoomFloatBy(x, ActiveZoom()); }
float UnzoomFloat(float x) { return UnzoomFloatBy(x, ActiveZoom()); }

void ZoomRect16(RECT* rect)
{
    if (!rect || !IsZoomApplicable(ActiveZoom())) return;
    ZoomRect(rect);
    // Saturate rather than wrap, so a far-away rectangle never turns inside out.
    rect->left = ClampToInt16(rect->left);
    rect->top = ClampToInt16(rect->top);
    rect->right = ClampToInt16(rect->right);
    rect->bottom = ClampToInt16(rect->bottom);
}

void ZoomRect(RECT* rect)
{
    if (!rect || !IsZoomApplicable(ActiveZoom())) return;
    rect->left = ZoomInt(rect->left);
    rect->top = ZoomInt(rect->top);
    rect->right = ZoomInt(rect->right);
    rect->bottom = ZoomInt(rect->bottom);
}

void ZoomFloatRect(float* rect)
{
    if (!rect || !IsZoomApplicable(ActiveZoom())) return;
    for (int i = 0; i < 4; ++i) rect[i] = ZoomFloat(rect[i]);
}

void UnzoomFloatRect(float* rect)
{
    if (!rect || !IsZoomApplicable(ActiveZoom())) return;
    for (int i = 0; i < 4; ++i) rect[i] = UnzoomFloat(rect[i]);
}

void ZoomVertex(PlanVertex* vertex)
{
    if (!vertex) return;
    vertex->position[0] = ZoomFloat(vertex->position[0]);
    vertex->position[1] = ZoomFloat(vertex->position[1]);
    if (vertex->inTangent[0] != 0.0f || vertex->inTangent[1] != 0.0f) {
        vertex->inTangent[0] = ZoomFloat(vertex->inTangent[0]);
        vertex->inTangent[1] = ZoomFloat(vertex->inTangent[1]);
    }
    if (vertex->outTangent[0] != 0.0f || vertex->outTangent[1] != 0.0f) {
        vertex->outTangent[0] = ZoomFloat(vertex->outTangent[0]);
        vertex->outTangent[1] = ZoomFloat(vertex->outTangent[1]);
    }
}

float ZoomLimit(const PlanSettings* settings)
{
    if (!settings) return INFINITY;
    const double width = static_cast<double>(settings->extentRight) - settings->extentLeft;
    const double height = static_cast<double>(settings->extentBottom) - settings->extentTop;
    const double span = width > height ? width : height;
    // Empty or inverted extents give no limit.
    if (!(span > 0.0) || !isfinite(span)) return INFINITY;
    double limit = floor(kZoomedPlanLimit / span);
    if (limit < 1.0) {
        // A plan wider than the coordinate range: a whole-number limit would be zero and
        // every later division by the zoom would fail, so keep the exact fraction.
        limit = kZoomedPlanLimit / span;
        if (limit < kMinimumZoom) limit = kMinimumZoom;
    }
    return static_cast<float>(limit);
}

bool LimitZoom(PlanSettings* settings)
{
    if (!settings) return false;
    const double limit = ZoomLimit(settings);
    // A stored zoom that is no number is compared as the zoom it is used as.
    if (UsableZoom(settings) > limit) {
        settings->zoom = static_cast<float>(limit);
        return true;
    }
    return false;
}

void ApplyZoomOrigin(HWND pane, PlanSettings* settings, int32_t x, int32_t y, int centreFlag)
{
    if (!pane || !settings) return;
    x = ZoomInt(x);
    y = ZoomInt(y);
    if ((x != 0 || y != 0) && centreFlag) {
        RECT client = {};
        GetClientRect(pane, &client);
        x -= (client.right - client.left) / 2;
        y -= (client.bottom - client.top) / 2;
    }
    const int32_t left = TruncateToInt32(ZoomFloat(settings->extentLeft) + 0.5);
    const int32_t right = TruncateToInt32(ZoomFloat(settings->extentRight) + 0.5);
    const int32_t top = TruncateToInt32(ZoomFloat(settings->extentTop) + 0.5);
    const int32_t bottom = TruncateToInt32(ZoomFloat(settings->extentBottom) + 0.5);
    if (x < left) x = left;
    else if (x > right) x = right;
    if (y < top) y = top;
    else if (y > bottom) y = bottom;

    // The pane's class has its own device context, so the origin stays set.
    HDC dc = GetDC(pane);
    if (dc) {
        SetWindowOrgEx(dc, ClampToInt16(x), ClampToInt16(y), nullptr);
        ReleaseDC(pane, dc);
    }
    InvalidateRect(pane, nullptr, TRUE);
    if (activeDocument)
        UpdatePlanScrollBars(activeDocument->horizontalScrollBar, activeDocument->verticalScrollBar);
}

void SetZoom(PlanSettings* settings, int32_t x, int32_t y, int centreFlag)
{
    if (!settings || !activeDocument) return;
    ApplyZoomOrigin(activePlanPane, settings, x, y, centreFlag);
    // Text objects draw their own edit windows only near 100 %; at any other zoom the
    // plan draws the texts and the edit windows are put to sleep.
    const float zoom = UsableZoom(settings);
    if (zoom < 0.95f || zoom > 1.05f)
        ForEachFloorObject(activeDocument->firstFloor, 0, SuspendTextEditors, nullptr);
    else if (currentToolId == kTextToolId)
        ForEachFloorObject(activeDocument->firstFloor, 0, ResumeTextEditors, nullptr);
    if (activeDocument->measurementStrip)
        InvalidateRect(activeDocument->measurementStrip, nullptr, FALSE);
}

namespace {

// Fits the zoom to a rectangle (top, left, bottom, right) widened by 5.0 on every side
// and shows it from its rounded top-left corner.
void ZoomToFitRect(HWND pane, PlanSettings* settings, double top, double left, double bottom,
                   double right)
{
    RECT client = {};
    GetClientRect(pane, &client);
    top -= 5.0;
    left -= 5.0;
    const double width = right + 5.0 - left;
    const double height = bottom + 5.0 - top;
    if (!(width > 0.0) || !(height > 0.0)) return;
    const double zx = (client.right - client.left) / width;
    const double zy = (client.bottom - client.top) / height;
    double zoom = zx < zy ? zx : zy;
    // An empty pane would give a zoom of zero.
    if (!(zoom > 0.0)) return;
    // Below the minimum the zoom would be read back as the minimum anyway.
    if (zoom < kMinimumZoom) zoom = kMinimumZoom;
    settings->zoom = static_cast<float>(zoom);
    SetZoom(settings, TruncateToInt32(left + 0.5), TruncateToInt32(top + 0.5), 0);
}

}  // namespace

void ZoomToFitPlanExtents(HWND pane, PlanSettings* settings)
{
    if (!pane || !settings) return;
    ZoomToFitRect(pane, settings, settings->extentTop, settings->extentLeft,
                  settings->extentBottom, settings->extentRight);
}

void ZoomToFitDrawing(HWND pane, PlanSettings* settings)
{
    if (!pane || !settings || !activeDocument) return;
    ExtentRect rect;
    ResetExtentRect(rect);
    GetAllFloorsExtents2D(activeDocument->firstFloor, 0, rect, 0, 0);
    // Nothing measured: the sentinel is still there.
    if (rect[kRectMinY] > rect[kRectMaxY] || rect[kRectMinX] > rect[kRectMaxX]) return;
    ZoomToFitRect(pane, settings, rect[kRectMinY], rect[kRectMinX], rect[kRectMaxY],
                  rect[kRectMaxX]);
}

void NoOp2(int, int) {}
void NoOp() {}
