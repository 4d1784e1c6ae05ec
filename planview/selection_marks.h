#pragma once
#include <windows.h>
#include <stdint.h>

// XOR marks of the selection on the plan pane; drawing a mark twice removes it.

struct PlanObject;
struct PlanVertex;

// Point square of one selected vertex (and the caption of its owner's type).
void DrawPointMark(PlanVertex* vertex, uint8_t unused);
// Dotted box and handle squares of an object selected as a whole.
void DrawSelectionBox(PlanObject* object);
// Heavy outline of a selected door, window, pitch symbol, deck steps or stair.
void DrawObjectOutlineXor(PlanObject* object);
// The twelve edges of a 3D box (6 f32: least height, x, z, then the greatest), projected
// and dotted, in XOR: a second call erases them.
void DrawDottedBoundingBox(HDC dc, const float* box);
