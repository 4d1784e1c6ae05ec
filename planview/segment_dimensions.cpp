#include "planview/segment_dimensions.h"

// Automatic dimensions are not built yet.
void DrawSegmentDimensions(HDC, PlanObject*) {}
void DrawPathLengthDimension(HDC, PlanObject*) {}
