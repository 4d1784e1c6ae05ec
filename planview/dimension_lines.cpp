#include "planview/dimension_lines.h"

// Dimension objects are not built yet.
void SetObjectEndMarkBits(PlanObject*, uint32_t) {}
void DrawDimensionObject(HDC, PlanObject*, uint32_t, const DragTransform*) {}
uint8_t halfInchToggle = 0;
void DrawDimensionLine(HDC, float, float, float, float, float, float, float, float, uint8_t, float,
                       uint8_t, uint32_t*, uint32_t*, uint8_t, uint8_t, float, uint8_t, const char*)
{
}
