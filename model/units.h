#pragma once
// Lengths meet in three kinds: the drawing unit of the plan (a LengthUnit of the
// settings), inches (defaults, storey heights, elevations) and plan coordinates, which
// are points of the printed page (1/72 inch) at the drawing scale. The plan view puts
// its zoom factor on top of the plan coordinates.
#include <windows.h>
#include <stdint.h>

#include "model/plan_settings.h"  // kMinimumZoom, the usable zoom

struct PlanVertex;

// `LengthUnit` codes of the settings' paper side (offset 148) and drawing (offset 150).
enum LengthUnit : uint16_t {
    kUnitInch = 1,
    kUnitFoot = 2,
    kUnitYard = 3,
    kUnitMile = 4,
    kUnitMillimetre = 5,
    kUnitCentimetre = 6,
    kUnitDecimetre = 7,
    kUnitMetre = 8,
};

// Fixed factors (inches per unit) as the program has always used them: 0.03937 for the
// millimetre, not 1/25.4, so metric plans keep their stored lengths.
float FeetToInches(float x);
float InchesToFeet(float x);
float YardsToInches(float x);
float InchesToYards(float x);
float MilesToInches(float x);
float InchesToMiles(float x);
float MillimetresToInches(float x);
float InchesToMillimetres(float x);
float CentimetresToInches(float x);
float InchesToCentimetres(float x);
float DecimetresToInches(float x);
float InchesToDecimetres(float x);
float MetresToInches(float x);
float InchesToMetres(float x);
float InchesToPoints(float x);

// By the drawing unit; unchanged without settings or for inches and unknown codes.
float ConvertUnitsToInches(float value, const PlanSettings* settings);
float ConvertInchesToUnits(float value, const PlanSettings* settings);
// By the paper-side unit.
float ConvertPaperUnitsToInches(float value, const PlanSettings* settings);

// Plan length <-> drawing units through the drawing scale (UsableDrawingScale: a scale
// that is not positive and finite counts as 36); with the zoom flag the result is also
// zoomed (ZoomFloat). Unchanged without settings.
float PlanLengthToUnits(float planLength, const PlanSettings* settings, int zoomFlag);
float UnitsToPlanLength(float length, const PlanSettings* settings, int zoomFlag);

// Zoom of the active document's plan view, as UsableZoom reads it (a stored zoom that is
// not positive and finite counts as 0.6). Each returns its input unchanged when there
// is no active document or settings, or when the zoom is exactly 1.0. Integers round by
// +0.5 and truncation toward zero.
int32_t ZoomInt(int32_t x);
int32_t UnzoomInt(int32_t x);
float ZoomFloat(float x);
float UnzoomFloat(float x);

// The same arithmetic with an explicit zoom factor; one that is not positive and finite
// changes nothing.
int32_t ZoomIntBy(int32_t x, float zoom);
int32_t UnzoomIntBy(int32_t x, float zoom);
float ZoomFloatBy(float x, float zoom);
float UnzoomFloatBy(float x, float zoom);

// Rectangles: each member zoomed; ZoomRect16 keeps the members within signed 16 bits.
// Nothing without an active document, for null or when the zoom is exactly 1.0.
void ZoomRect16(RECT* rect);
void ZoomRect(RECT* rect);
void ZoomFloatRect(float* rect);
void UnzoomFloatRect(float* rect);

// Zooms the x and y of the vertex position, and of each tangent when not zero.
void ZoomVertex(PlanVertex* vertex);

// Caps the zoom so that the zoomed plan extents stay within 32000 device units, never
// below kMinimumZoom; true when the zoom was lowered.
bool LimitZoom(PlanSettings* settings);
// That cap for the settings' extents (infinite without settings or usable extents).
float ZoomLimit(const PlanSettings* settings);

// After the caller stored a new zoom: places the view origin on the current plan pane
// and suspends or resumes the text editors.
void SetZoom(PlanSettings* settings, int32_t x, int32_t y, int centreFlag);
// Zooms (x, y), centres it in the pane when asked, clamps it to the zoomed plan
// extents and makes it the pane's window origin.
void ApplyZoomOrigin(HWND pane, PlanSettings* settings, int32_t x, int32_t y, int centreFlag);

// Fit the zoom to the drawing of all floors, or to the plan extents.
void ZoomToFitDrawing(HWND pane, PlanSettings* settings);
void ZoomToFitPlanExtents(HWND pane, PlanSettings* settings);

// Empty hooks the frame calls around the videos directory.
void NoOp2(int a, int b);
void NoOp();
