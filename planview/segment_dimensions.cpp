#include "planview/segment_dimensions.h"

// Automatic dimensions are not built yet.
void DrawSegmentDimensions(HDC, PlanObject*) {}
void DrawSegmentAutoDimension(HDC, PlanObject*, PlanVertex*, PlanVertex*, uint8_t) {}
void DrawPathLengthDimension(HDC, PlanObject*) {}
void DrawOpeningDimensions(HDC, PlanObject*, PlanVertex*, PlanVertex*, uint8_t, const float*, PlanObject*) {}
