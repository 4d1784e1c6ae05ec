#include "planview/dimension_lines.h"

// Dimension objects are not built yet.
void SetObjectEndMarkBits(PlanObject*, uint32_t) {}
void DrawDimensionObject(HDC, PlanObject*, uint32_t, const DragTransform*) {}
