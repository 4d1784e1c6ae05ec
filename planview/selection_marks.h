#pragma once
#include <windows.h>
#include <stdint.h>

// XOR marks of the selection on the plan pane's own DC, drawn over the finished plan:
// point squares on the selected vertices of point-edited objects, a dotted box with
// handle squares around objects selected as a whole, heavy outlines of selected doors,
// windows, pitch symbols, deck steps and stairs, and elevation captions beside selected
// vertices of freehand roofs, topography, slopes and roofs. Drawing a mark a second
// time removes it; none is printed.

struct PlanObject;
struct PlanVertex;

// Point square of one selected vertex (and the caption of its owner's type).
void DrawPointMark(PlanVertex* vertex, uint8_t unused);
// Inverts the 7 x 7 square around a projected model point.
void DrawHandleSquare(HDC dc, float x, float y, float z, uint8_t unused);
// Dotted box and handle squares of an object selected as a whole.
void DrawSelectionBox(PlanObject* object);
// The dotted edges of a 3D box (min y, x, z, max y, x, z) in XOR.
void DrawDottedBoundingBox(HDC dc, const float* box);
// Heavy outline of a selected door, window, pitch symbol, deck steps or stair.
void DrawObjectOutlineXor(PlanObject* object);
// The XOR captions at a vertex: a roof's elevation, a freehand roof's height there, a
// topography's rise or fall, a slope's descent.
void DrawRoofElevationCaption(HDC dc, PlanObject* roof, PlanVertex* vertex);
void DrawFreehandRoofCaption(HDC dc, PlanObject* roof, PlanVertex* vertex);
void DrawTopographyCaption(HDC dc, PlanObject* topography, PlanVertex* vertex);
void DrawSlopeCaption(HDC dc, PlanObject* slope, PlanVertex* vertex);
// The text of those captions by the owner's type (roof 14, freehand roof 57, topography
// 30, slope 62); false when the vertex has none.
bool MarkCaptionText(const PlanObject* owner, const PlanVertex* vertex, char* text, size_t size);
