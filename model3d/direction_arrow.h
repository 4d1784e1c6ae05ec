#pragma once
#include <windows.h>

struct PlanObject;

// Two strokes at the first point marking the direction of the segment (view
// coordinates): on planDC, scaled, while printing; else on the DC.
void DrawDirectionArrow(HDC dc, PlanObject* object, float x1, float y1, float x2, float y2);
