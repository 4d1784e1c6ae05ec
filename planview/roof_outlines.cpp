#include "planview/roof_outlines.h"

// Roof outlines are not built yet.
void DrawRoofOutline(HDC, PlanObject*) {}
