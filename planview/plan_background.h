#pragma once
#include "planview/view_origin.h"
// The layers of a plan pane's paint below and above the plan itself: background colour,
// tracing image, grid (lines or points) or plan border with its grey surround, the plan
// (RedrawPlan), the 3D viewpoint marker and the selection marks; and the scroll ranges
// of the pane's bars.
#include <windows.h>
#include <stdint.h>

// Flags value of PaintPlanView and DrawPlanBackground that keeps the background unfilled
// (the drag zoom paints over its own picture).
enum { PaintWithoutBackground = 1024 };

// A grid with more lines than this (both directions together) is not drawn: a step far
// too small for the extents would take for ever and show only grey.
enum { MaxGridLines = 10000 };
// The same for a grid of points, counted as points.
enum { MaxGridPoints = 1000000 };

// Paints the active plan pane through its own DC: the rectangle in logical units (null:
// the whole client area) and the draw flags of RedrawPlan. Nothing without a pane, an
// active document or its settings.
void PaintPlanView(const RECT* rect, uint32_t flags);
// Background, tracing image, grid or border, plan and viewpoint marker on dc.
void DrawPlanBackground(HDC dc, const RECT* rect, uint32_t flags);

// The three background drawers. Spacings and offsets are plan lengths; extents are the
// settings' plan extents (top, left, bottom, right); the grid lies at the reference
// point's height (reference[1]). The colour flag picks grey and the background colour
// (else black and white). The two words are not read.
void DrawGridLines(HDC dc, float gridX, float gridY, float offsetX, float offsetY, const float* extents,
                   uint8_t colour, int16_t unusedA, const float* reference, int16_t unusedB);
void DrawGridPoints(HDC dc, float gridX, float gridY, float offsetX, float offsetY, const float* extents,
                    uint8_t colour, int16_t unusedA, const float* reference, int16_t unusedB);
void DrawPlanBorder(HDC dc, float gridX, float gridY, float offsetX, float offsetY, const float* extents,
                    uint8_t colour, int16_t unusedA, const float* reference, int16_t unusedB);

// The 3D viewpoint marker of the settings' camera, inverted onto dc: a second call
// removes it.
void DrawCameraMarker(HDC dc);


// Ends the in-place text editing of the active document, if any.
void DeactivateDocumentChild();
